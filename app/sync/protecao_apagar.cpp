#include "sync/protecao_apagar.h"

namespace ProtecaoApagar {

std::optional<Pergunta> avaliar(const Fusao::Plano &plano, qsizetype contatosAqui,
                                qsizetype cartoesLa, const DecisaoSincronizacao &decisao)
{
    int aqui = 0, la = 0;
    for (const auto &op : plano.locais)
        aqui += op.tipo == Fusao::OperacaoLocal::Tipo::Remover;
    for (const auto &op : plano.remotas)
        la += op.tipo == Fusao::OperacaoServidor::Tipo::Apagar;
    const bool vazioAqui = contatosAqui == 0 && la > 0;
    const bool vazioLa = cartoesLa == 0 && aqui > 0;
    const bool muitos =
        (aqui > POUCOS && aqui * 3 > contatosAqui) || (la > POUCOS && la * 3 > cartoesLa);
    if (!vazioAqui && !vazioLa && !muitos)
        return std::nullopt;
    if (decisao.tipo == DecisaoSincronizacao::Tipo::Apagar && aqui <= decisao.aqui &&
        la <= decisao.la)
        return std::nullopt;
    return Pergunta{aqui, la, int(contatosAqui), int(cartoesLa),
                    vazioAqui ? Vazio::Aqui
                    : vazioLa ? Vazio::La
                              : Vazio::Nenhum};
}

} // namespace ProtecaoApagar
