#pragma once

#include "model/letter_group.h"

#include <QLocale>
#include <QString>
#include <QStringView>
#include <array>

// Membership by first character, precomputed for one locale: the lower- and
// upper-case forms of each group character by that locale's rules, compared
// by exact code; no other folding.
class ClassificadorGrupos {
public:
    explicit ClassificadorGrupos(const QLocale &locale);

    bool PertenceAoGrupo(QStringView entrada, int grupo) const;
    // Index of the group the entry belongs to, or -1.
    int grupoDe(QStringView entrada) const;

private:
    std::array<QString, NUM_GRUPOS> m_caracteres;
    // The group of each first character below 256, for lists of many.
    std::array<qint8, 256> m_porCaractere;
};
