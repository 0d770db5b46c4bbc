#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

// One tab of the main window and the first characters it lists.
struct LetterGroup {
    QString Aba; // objectName of the tab image
    QStringList Caracteres;
    bool ComCaixa; // letters match in both cases; digits as they are
    QString Inicial;
    QString AvisoVazio;
};

inline constexpr int NUM_GRUPOS = 14;
// The first tab: shown at start-up, and relisted by an add.
inline constexpr int GRUPO_AB = 0;

// The fourteen groups in tab order: AB ... YZ, 09.
const std::array<LetterGroup, NUM_GRUPOS> &GruposLetras();

// Index in GruposLetras of the group whose Inicial is exactly the text, or -1.
int grupoPorInicial(QStringView inicial);

// The placeholder an editing dialog's relisting shows for an empty group.
QString avisoRelistagem(const LetterGroup &grupo);
