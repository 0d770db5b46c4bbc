#pragma once

#include "model/lista_inicio.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringView>

// Finding a contact by typing the first letters of its name, as list boxes
// do: the letters typed so far (keys less than a second apart make one
// prefix) and the search for them in lstInicio's sorted order, at the
// collation's first level, so that case and accents do not count.
class BuscaContato {
public:
    static constexpr qint64 PAUSA_MS = 1000;

    BuscaContato(const ListaInicio &lista, const QLocale &locale);

    // What a key did to the prefix.
    enum class Efeito {
        Nenhum, // not a key of the search: it is the window's
        Mudou,  // the prefix is new, longer or shorter: look again
        Vazio,  // the prefix is gone: nothing to look for
    };
    // A typed character, at a moment of a steady clock in milliseconds. A
    // letter or a digit starts a prefix; while one is alive any printable
    // character (a space, a hyphen) extends it.
    Efeito digitar(QChar c, qint64 agoraMs);
    // Backspace shortens the prefix, Escape drops it.
    Efeito apagar(qint64 agoraMs);
    Efeito limpar();
    const QString &prefixo() const { return m_prefixo; }

    // The first entry of lstInicio, in list order, whose name starts with
    // the prefix at the collation's first level and that a tab can show;
    // -1 when there is none. A binary search, then a walk over the names
    // that sort as starting so but are not to be shown.
    qsizetype primeiro(QStringView prefixo) const;

private:
    bool vivo(qint64 agoraMs) const;
    bool pesamIgual(QStringView a, QStringView b) const;
    bool comecaCom(QStringView nome, QStringView prefixo) const;

    const ListaInicio &m_lista;
    QCollator m_colacao;
    QString m_teto; // weighs more than anything after a prefix; empty if none
    QString m_prefixo;
    qint64 m_ultima = 0;
};
