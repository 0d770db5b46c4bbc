#include "store/leitor_csv.h"

#include "store/codificacoes.h"
#include "store/colunas_csv.h"

#include <QStringList>
#include <optional>
#include <utility>

using Falha = ContatosLidos::Falha;
using Lidos = ContatosLidos;
using Limites = ContatosLidos::Limites;

namespace {

// The separator of the header line: a semicolon where it has more of them
// than commas.
QChar separador(QStringView t)
{
    int virgulas = 0, pontosEVirgulas = 0;
    bool aspas = false;
    for (const QChar c : t) {
        if (c == u'"')
            aspas = !aspas;
        else if (!aspas && (c == u'\r' || c == u'\n'))
            break;
        else if (!aspas && c == u',')
            ++virgulas;
        else if (!aspas && c == u';')
            ++pontosEVirgulas;
    }
    return pontosEVirgulas > virgulas ? u';' : u',';
}

// Rows of fields, one at a time; a quote inside an unquoted field is an
// ordinary character.
class Linhas {
public:
    Linhas(QStringView t, QChar sep, const Limites &lim) : m_t(t), m_sep(sep), m_lim(lim) {}

    // The next row, or nothing at the end or on a failure (falha()).
    std::optional<QStringList> proxima();
    Falha falha() const { return m_falha; }
    qsizetype linhaDaFalha() const { return m_linhaFalha; }

private:
    std::optional<QStringList> falhar(Falha f, qsizetype linha)
    {
        m_falha = f;
        m_linhaFalha = linha;
        return std::nullopt;
    }

    QStringView m_t;
    QChar m_sep;
    const Limites &m_lim;
    qsizetype m_i = 0;
    qsizetype m_linha = 1; // the line m_i is on
    Falha m_falha = Falha::Nenhuma;
    qsizetype m_linhaFalha = 0;
};

std::optional<QStringList> Linhas::proxima()
{
    const qsizetype n = m_t.size();
    if (m_i >= n)
        return std::nullopt;
    QStringList linha;
    QString campo;
    bool aspas = false, citado = false;
    qsizetype abertaEm = 0;
    const auto fecharCampo = [&]() {
        linha.append(std::exchange(campo, {}));
        citado = false;
        return linha.size() <= m_lim.colunas;
    };
    for (; m_i < n; ++m_i) {
        const QChar c = m_t[m_i];
        if (campo.size() > m_lim.campo) {
            // A quote left open makes one field of the rest of the file.
            return aspas ? falhar(Falha::AspasAbertas, abertaEm) : falhar(Falha::Grande, m_linha);
        }
        if (c == u'\n' || (c == u'\r' && !(m_i + 1 < n && m_t[m_i + 1] == u'\n')))
            ++m_linha;
        if (aspas) {
            if (c != u'"')
                campo.append(c);
            else if (m_i + 1 < n && m_t[m_i + 1] == u'"')
                campo.append(m_t[++m_i]);
            else
                aspas = false;
        } else if (c == u'"' && campo.isEmpty() && !citado) {
            aspas = citado = true;
            abertaEm = m_linha;
        } else if (c == m_sep) {
            if (!fecharCampo())
                return falhar(Falha::Grande, m_linha);
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && m_i + 1 < n && m_t[m_i + 1] == u'\n') {
                ++m_i;
                ++m_linha;
            }
            ++m_i;
            if (!fecharCampo())
                return falhar(Falha::Grande, m_linha);
            return linha;
        } else {
            campo.append(c);
        }
    }
    if (aspas)
        return falhar(Falha::AspasAbertas, abertaEm);
    if (!campo.isEmpty() || !linha.isEmpty() || citado)
        linha.append(campo);
    if (linha.size() > m_lim.colunas)
        return falhar(Falha::Grande, m_linha);
    return linha;
}

} // namespace

Lidos LeitorCsv::ler(QByteArrayView original, const Limites &lim)
{
    const QString texto = Codificacoes::decodificarMisto(ContatosLidos::semUtf16(original));
    Linhas linhas(texto, separador(texto), lim);
    Lidos l;
    const auto falhou = [&]() {
        l.falha = linhas.falha();
        l.linha = linhas.linhaDaFalha();
        l.contatos.clear();
        return std::move(l);
    };
    const std::optional<QStringList> cabecalho = linhas.proxima();
    if (!cabecalho)
        return linhas.falha() == Falha::Nenhuma ? l : falhou();
    const ColunasCsv colunas(*cabecalho);
    if (!colunas.reconhecidas())
        return l;
    l.falha = Falha::Nenhuma;
    while (const std::optional<QStringList> linha = linhas.proxima()) {
        bool vazia = true;
        for (const QString &campo : *linha)
            vazia = vazia && campo.isEmpty();
        if (vazia)
            continue;
        if (l.contatos.size() + l.rejeitados >= lim.contatos)
            return {Falha::Grande, 0, {}, 0};
        l.acrescentar(colunas.registro(*linha), colunas.propria());
    }
    return linhas.falha() == Falha::Nenhuma ? std::move(l) : falhou();
}
