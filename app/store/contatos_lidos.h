#pragma once

#include "store/contact_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The contacts read from another program's file (a vCard or a CSV), or why
// there are none; what each reader gives back.
struct ContatosLidos {
    // Far beyond any real export; past them a file is refused whole, before
    // it can freeze the program or fill its memory.
    struct Limites {
        qint64 bytes = qint64(128) << 20;     // the file
        qsizetype linha = qsizetype(1) << 20; // a vCard line kept, unfolded
        qsizetype campo = qsizetype(1) << 20; // a CSV field, in characters
        qsizetype colunas = 4096;             // a CSV row's fields
        qsizetype contatos = 1'000'000;       // cards or rows
    };

    enum class Falha {
        Nenhuma,
        NaoLido,        // no regular file that could be read whole
        NaoReconhecido, // no card, and no CSV header naming a known column
        AspasAbertas,   // a CSV quote that never closes; linha says where it opened
        Grande,         // past a limit
    };

    Falha falha = Falha::NaoReconhecido;
    qsizetype linha = 0; // 1 for the file's first line
    QList<ContactRecord> contatos;
    // Contacts left out: a field holds what no contact file can (the field
    // separator), or a card's character set is unknown here.
    int rejeitados = 0;
    bool ok() const { return falha == Falha::Nenhuma; }

    // A contact read: line breaks inside its fields become spaces, spaces
    // around them go unless it is exact; one whose field holds the separator
    // is left out, and counted.
    void acrescentar(ContactRecord r, bool exato);

    // UTF-16 (with or without its mark, as the Mac's address book writes it)
    // as UTF-8; anything else as it is, its UTF-8 mark dropped.
    static QByteArray semUtf16(QByteArrayView bytes);
};
