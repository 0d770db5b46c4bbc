#include "chrome/deslizamento.h"

#include <QtMath>

void Deslizamento::carregar(double T)
{
    Topo = T;
    Altura = 0;
    m_abrindo = true;
    m_fechando = false;
}

Deslizamento::Geometria Deslizamento::antesDoPrimeiroTick(double T) const
{
    return {T + m_c.topoAntes, m_c.alturaAntes};
}

Deslizamento::Geometria Deslizamento::tickAbertura(double T)
{
    Limite = qRound(T - 1960);
    Topo -= PASSO;
    Altura += PASSO;
    if (Topo <= Limite)
        m_abrindo = false;
    return {Topo + 2590, Altura - 45};
}

void Deslizamento::IniciarFechamento(double T, int alturaAtual, int D)
{
    m_abrindo = false;
    Topo = T + alturaAtual - D;
    m_fechando = true;
}

std::optional<Deslizamento::Geometria> Deslizamento::tickFechamento()
{
    Topo += PASSO;
    Altura -= PASSO;
    if (Altura <= 50) {
        m_fechando = false;
        return std::nullopt;
    }
    return Geometria{Topo + m_c.K, Altura};
}
