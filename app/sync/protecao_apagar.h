#pragma once

#include "sync/estado_sincronizacao.h"
#include "sync/fusao.h"

#include <optional>

// What the user decided about the deletes a sync stopped before.
struct DecisaoSincronizacao {
    enum class Tipo {
        Perguntar, // stop before deleting more than a few, or a side emptied
        // Delete nothing: what one side lacks comes back from the other;
        // contacts merged here stay merged, their cards joined there too.
        Manter,
        Apagar, // delete, up to these many on each side
    };
    Tipo tipo = Tipo::Perguntar;
    int aqui = 0, la = 0;
};

// The deletes a sync does not do by itself. A side that holds nothing of
// what the last sync agreed is more likely a file moved away or a book made
// anew than a user who deleted everything. Deletions add up over a day, so
// that many syncs each deleting a little ask as one deleting much would:
// past POUCOS and a tenth of a side, or past MUITOS whatever the share, it
// is far beyond a day's pruning. Merges the user made here are no such
// accident: they are told, never asked about.
namespace ProtecaoApagar {

inline constexpr int POUCOS = 5;
inline constexpr int MUITOS = 50;

// The side that holds nothing of what was agreed.
enum class Vazio { Nenhum, Aqui, La };

struct Pergunta {
    int aqui = 0, la = 0;                // what the plan would delete on each side, merges included
    int juncoes = 0;                     // of those there, cards of contacts merged here
    int hojeAqui = 0, hojeLa = 0;        // deleted already in the last day, unasked
    int contatosAqui = 0, cartoesLa = 0; // on each side now
    Vazio vazio = Vazio::Nenhum;
};

// What to ask before the plan is carried out, or nothing when it may go on
// (nothing to ask, or no more than the user allowed). hoje: the deletions
// of the last day that went unasked.
std::optional<Pergunta> avaliar(const Fusao::Plano &plano, qsizetype contatosAqui,
                                qsizetype cartoesLa, const EstadoSincronizacao::Apagamento &hoje,
                                const DecisaoSincronizacao &decisao);

} // namespace ProtecaoApagar
