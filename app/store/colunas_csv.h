#pragma once

#include "store/contact_record.h"

#include <QList>
#include <QString>
#include <QStringList>

// The columns of a CSV of contacts, recognised by what their headers mean
// in Portuguese, English, Spanish, French and German, as desktop and web
// address books write them: the name whole or in parts, the telephones in
// the order one is chosen (mobile first), the e-mails.
class ColunasCsv {
public:
    explicit ColunasCsv(const QStringList &cabecalho);

    // Some column gives a name.
    bool reconhecidas() const;
    // The header this program writes: its fields are kept exactly, and a
    // leading apostrophe that kept a spreadsheet from reading a formula goes.
    bool propria() const { return m_propria; }

    ContactRecord registro(const QStringList &linha) const;

    // The header text as it is compared: no case, accents, spaces or
    // punctuation ("E-mail Address" and "e-mail address" are "emailaddress").
    static QString normalizar(QStringView cabecalho);

private:
    struct Coluna {
        int indice;
        // Google's columns hold several values as "a ::: b".
        bool varios;
    };
    QString valor(const QStringList &linha, const Coluna &c) const;
    QString primeiro(const QStringList &linha, const QList<Coluna> &colunas) const;

    QList<Coluna> m_completo, m_dado, m_meio, m_familia;
    QList<Coluna> m_telefones, m_emails;
    bool m_propria = false;
};
