#pragma once

#include "model/letter_group.h"
#include "model/lista_inicio.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the main window shows of one letter group: the group's entries
// (lstPorLetra), the page of at most ten in the visible list (lstContatos),
// the arrows, the selection and the detail fields, and the paging marks.
class NavegacaoContatos {
public:
    static constexpr int TAMANHO_PAGINA = 10;

    explicit NavegacaoContatos(const ListaInicio &lstInicio);

    // Lists the group's first page and selects its first entry.
    void ListarGrupo(int grupo, const QString &aviso);
    void AvancarPagina();
    void RetornarPagina();
    // After ListarGrupo: shows the page that holds the lstInicio entry, as
    // the next-page arrow would reach it, and selects it. False when the
    // group shown does not hold it.
    bool mostrarEntrada(qsizetype indice);
    // The user selected a row of the page (lstContatos_Click); -1 for none.
    void selecionar(int linha);
    // Empties the visible list and the detail fields.
    void limpar();
    // The page shown, from 1, and how many the group has (at least one).
    qsizetype pagina() const
    {
        return qMax<qsizetype>(1, (FimPagina + TAMANHO_PAGINA - 1) / TAMANHO_PAGINA);
    }
    qsizetype paginas() const
    {
        return qMax<qsizetype>(1, (lstPorLetra.size() + TAMANHO_PAGINA - 1) / TAMANHO_PAGINA);
    }

    // The group shown (listed last), and the indexes into lstInicio of its
    // entries, in list order.
    int grupo = 0;
    QList<qsizetype> lstPorLetra;
    // The page shown: entry texts, and each row's index into lstInicio
    // (-1 for the placeholder).
    QStringList lstContatos;
    QList<qsizetype> indicesPagina;
    bool lstContatosHabilitada = false;
    int selecionado = -1;
    bool imgAvancaVisivel = false;
    bool imgRetornaVisivel = false;
    QString txtFone;
    QString txtMail;

    QString lblLetraInicial = QStringLiteral("a");
    qsizetype lblInicioAvanca = 0;
    qsizetype lblInicioRetorna = 0;
    qsizetype FimPagina = 0;

private:
    void mostrarPagina(qsizetype de, qsizetype ate);
    // The page starting at entry i of the group, nothing selected.
    void mostrarPaginaEm(qsizetype i);

    const ListaInicio &m_lstInicio;
};
