#pragma once

#include "store/codificacao.h"

#include <QByteArray>
#include <QList>
#include <QStringView>
#include <string_view>
#include <vector>

class ListaInicio;

// Finding contacts by any part: every word typed must start a word of the
// name, or be part of the e-mail, or (a word with digits) have its digits
// in the telephone's digits. Letter case and accents count for nothing. Kept
// as one block of folded text beside the list, in the list's order, so that
// a key is a scan of that block and nothing is decoded.
class IndiceBusca {
public:
    // Where a contact matched, best first.
    enum class Onde : quint8 {
        InicioDoNome, // the name starts with the first word, every word in it
        Nome,         // every word starts a word of the name
        Outro,        // some word only in the telephone or the e-mail
    };
    struct Achado {
        qsizetype indice; // in the list
        Onde onde;
        bool peloTelefone; // a word only the telephone holds
        bool peloEmail;    // a word only the e-mail holds
    };
    struct Resultado {
        QList<Achado> achados; // at most the number asked for, best first
        qsizetype total = 0;   // every contact that matched
    };

    void construir(const ListaInicio &lista);
    qsizetype count() const { return qsizetype(m_entradas.size()); }
    // The memory the block takes, for the benchmark.
    qsizetype bytes() const;

    // Not to be called from two threads at once.
    Resultado procurar(QStringView consulta, qsizetype maximo = 100) const;

    // Text as the find compares it: letters without accents, in lower case,
    // as UTF-8.
    static QByteArray dobrar(QStringView texto);

private:
    // In the order the list's bytes hold the contacts (which is the file's,
    // mostly), so that building and searching both read memory in order.
    struct Entrada {
        qint32 lista;                 // the contact's place in the list
        qint32 nome, mail, fone, fim; // where each part starts in m_texto
    };
    std::string_view parte(qsizetype i, int qual) const;

    QByteArray m_texto;
    std::vector<Entrada> m_entradas;
    // The last search's words and every entry it matched: a search that
    // only adds to them (the next key) looks among those alone.
    mutable QList<QByteArray> m_ultimas;
    mutable std::vector<qint32> m_casaram;
    mutable bool m_temUltima = false;
};
