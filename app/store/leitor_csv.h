#pragma once

#include "store/contatos_lidos.h"

// CSV files of contacts as RFC 4180 quotes them, with commas or semicolons,
// each line in UTF-8 or Windows-1252, the columns recognised by their
// headers. A quote that never closes makes the file no CSV of contacts.
class LeitorCsv {
public:
    static ContatosLidos ler(QByteArrayView bytes, const ContatosLidos::Limites &limites);
};
