#include "model/navegacao_contatos.h"

#include <algorithm>

NavegacaoContatos::NavegacaoContatos(const ListaInicio &lstInicio) : m_lstInicio(lstInicio) {}

void NavegacaoContatos::limpar()
{
    lstContatos.clear();
    indicesPagina.clear();
    selecionado = -1;
    txtFone.clear();
    txtMail.clear();
}

void NavegacaoContatos::mostrarPagina(qsizetype de, qsizetype ate)
{
    lstContatos.clear();
    indicesPagina.clear();
    selecionado = -1;
    for (qsizetype i = de; i < ate && i < lstPorLetra.size(); ++i) {
        indicesPagina.append(lstPorLetra[i]);
        lstContatos.append(m_lstInicio.entrada(lstPorLetra[i]));
    }
}

void NavegacaoContatos::ListarGrupo(int grupo, const QString &aviso)
{
    const qsizetype n = m_lstInicio.count();
    lblInicioAvanca = 0;
    imgAvancaVisivel = imgRetornaVisivel = false;
    limpar();
    lstPorLetra.clear();
    this->grupo = grupo;
    for (qsizetype i = 0; i < n; ++i) {
        if (m_lstInicio.grupo(i) == grupo)
            lstPorLetra.append(i);
    }
    FimPagina = TAMANHO_PAGINA;
    if (lstPorLetra.size() > TAMANHO_PAGINA) {
        imgAvancaVisivel = true;
        lblInicioAvanca = TAMANHO_PAGINA;
    }
    mostrarPagina(0, TAMANHO_PAGINA);
    if (!lstContatos.isEmpty())
        selecionar(0);
    if (lstPorLetra.isEmpty()) {
        lstContatos.append(entradaAviso(aviso));
        indicesPagina.append(-1);
        lstContatosHabilitada = false;
    } else {
        lstContatosHabilitada = true;
    }
}

void NavegacaoContatos::AvancarPagina()
{
    if (imgAvancaVisivel)
        mostrarPaginaEm(lblInicioAvanca);
}

void NavegacaoContatos::mostrarPaginaEm(qsizetype i)
{
    const qsizetype n = lstPorLetra.size();
    FimPagina = i + TAMANHO_PAGINA;
    limpar();
    mostrarPagina(i, FimPagina);
    lblInicioAvanca = FimPagina;
    lblInicioRetorna = FimPagina - TAMANHO_PAGINA;
    if (FimPagina >= n)
        imgAvancaVisivel = false;
    if (n > TAMANHO_PAGINA)
        imgRetornaVisivel = true;
}

void NavegacaoContatos::RetornarPagina()
{
    if (!imgRetornaVisivel)
        return;
    const qsizetype r = lblInicioRetorna;
    limpar();
    mostrarPagina(qMax<qsizetype>(0, r - TAMANHO_PAGINA), r);
    FimPagina = r;
    lblInicioAvanca = FimPagina;
    lblInicioRetorna = FimPagina - TAMANHO_PAGINA;
    imgAvancaVisivel = true;
    if (FimPagina <= TAMANHO_PAGINA) {
        lblInicioAvanca = TAMANHO_PAGINA;
        lblInicioRetorna = 0;
        imgRetornaVisivel = false;
    }
}

bool NavegacaoContatos::mostrarEntrada(qsizetype indice)
{
    const auto it = std::lower_bound(lstPorLetra.cbegin(), lstPorLetra.cend(), indice);
    if (it == lstPorLetra.cend() || *it != indice)
        return false;
    const qsizetype posicao = it - lstPorLetra.cbegin();
    // Pages start at multiples of ten, as the next-page arrow leaves them.
    const qsizetype inicio = posicao / TAMANHO_PAGINA * TAMANHO_PAGINA;
    if (inicio > 0)
        mostrarPaginaEm(inicio);
    selecionar(int(posicao - inicio));
    return true;
}

void NavegacaoContatos::selecionar(int linha)
{
    if (linha < 0 || linha >= indicesPagina.size() || indicesPagina[linha] < 0) {
        selecionado = -1;
        return;
    }
    selecionado = linha;
    // The stored fields, not the entry split at TAB: a hand-edited field may
    // hold a TAB and would shift the parts.
    const qsizetype i = indicesPagina[linha];
    txtFone = m_lstInicio.telefone(i);
    txtMail = m_lstInicio.email(i);
}
