#pragma once

#include "store/contatos_externos.h"

// vCard 2.1, 3.0 and 4.0, read line by line as phones and address books
// write them: lines unfolded as bytes before they are decoded (a fold may
// split a character), each value in the character set it declares, a card
// without its END ended by the next BEGIN.
class LeitorVCard {
public:
    static ContatosExternos::Lidos ler(QByteArrayView bytes,
                                       const ContatosExternos::Limites &limites);
};
