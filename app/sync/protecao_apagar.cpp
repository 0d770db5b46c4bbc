#include "sync/protecao_apagar.h"

namespace ProtecaoApagar {

namespace {

// Deletions of one side, with those of the last day, too many for a side
// that held so many before them.
bool muitos(int agora, int hoje, qsizetype lado)
{
    if (agora <= 0)
        return false;
    const qint64 soma = qint64(agora) + hoje;
    return soma > MUITOS || (soma > POUCOS && soma * 10 > qint64(lado) + hoje);
}

} // namespace

std::optional<Pergunta> avaliar(const Fusao::Plano &plano, qsizetype contatosAqui,
                                qsizetype cartoesLa, const EstadoSincronizacao::Apagamento &hoje,
                                const DecisaoSincronizacao &decisao)
{
    int aqui = 0, la = 0, juncoes = 0;
    for (const auto &op : plano.locais)
        aqui += op.tipo == Fusao::OperacaoLocal::Tipo::Remover;
    for (const auto &op : plano.remotas) {
        if (op.tipo == Fusao::OperacaoServidor::Tipo::Apagar) {
            ++la;
            juncoes += op.juncao;
        }
    }
    // Nothing left on one side of what both agreed on, and the other would
    // follow it.
    const bool vazioAqui = plano.acordados > 0 && plano.acordadosAqui == 0 && la > juncoes;
    const bool vazioLa = plano.acordados > 0 && plano.acordadosLa == 0 && aqui > 0;
    if (!vazioAqui && !vazioLa && !muitos(aqui, hoje.aqui, contatosAqui) &&
        !muitos(la - juncoes, hoje.la, cartoesLa))
        return std::nullopt;
    if (decisao.tipo == DecisaoSincronizacao::Tipo::Apagar && aqui <= decisao.aqui &&
        la <= decisao.la)
        return std::nullopt;
    return Pergunta{aqui,           la,
                    juncoes,        hoje.aqui,
                    hoje.la,        int(contatosAqui),
                    int(cartoesLa), vazioAqui ? Vazio::Aqui : vazioLa ? Vazio::La : Vazio::Nenhum};
}

} // namespace ProtecaoApagar
