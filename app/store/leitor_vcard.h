#pragma once

#include "store/contatos_lidos.h"

#include <optional>

// vCard 2.1, 3.0 and 4.0, read line by line as phones and address books
// write them: lines unfolded as bytes before they are decoded (a fold may
// split a character), each value in the character set it declares, a card
// without its END ended by the next BEGIN.
class LeitorVCard {
public:
    static ContatosLidos ler(QByteArrayView bytes, const ContatosLidos::Limites &limites);

    // One unfolded property line as the reader takes it, for changing a card
    // in place: its name (upper-case, without its group), whether it is
    // marked preferred or a cell phone or a URI, and its text (nothing when its
    // character set is unknown here).
    struct Linha {
        QByteArray nome;
        bool pref = false;
        bool celular = false;
        bool uri = false;    // VALUE=uri: a TEL's number follows "tel:"
        bool base64 = false; // a picture's value, which the reader passes over
        QByteArray valor;    // as it stands
        std::optional<QString> texto;
    };
    static std::optional<Linha> linha(QByteArrayView desdobrada);
};
