#pragma once

#include "sync/fusao.h"

#include <optional>

// What the user decided about the deletes a sync stopped before.
struct DecisaoSincronizacao {
    enum class Tipo {
        Perguntar, // stop before deleting more than a few, or a side emptied
        Manter,    // delete nothing: what one side lacks comes back from the other
        Apagar,    // delete, up to these many on each side
    };
    Tipo tipo = Tipo::Perguntar;
    int aqui = 0, la = 0;
};

// The deletes a sync does not do by itself. A side that holds nothing of
// what the last sync agreed is more likely a file moved away or a book made
// anew than a user who deleted everything; a delete of more than POUCOS
// contacts and more than a third of a side is far beyond a day's pruning.
namespace ProtecaoApagar {

inline constexpr int POUCOS = 5;

// The side that holds nothing.
enum class Vazio { Nenhum, Aqui, La };

struct Pergunta {
    int aqui = 0, la = 0;                // what the plan would delete on each side
    int contatosAqui = 0, cartoesLa = 0; // of how many
    Vazio vazio = Vazio::Nenhum;
};

// What to ask before the plan is carried out, or nothing when it may go on
// (nothing to ask, or no more than the user allowed).
std::optional<Pergunta> avaliar(const Fusao::Plano &plano, qsizetype contatosAqui,
                                qsizetype cartoesLa, const DecisaoSincronizacao &decisao);

} // namespace ProtecaoApagar
