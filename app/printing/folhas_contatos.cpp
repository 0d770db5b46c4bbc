#include "printing/folhas_contatos.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <array>
#include <vector>

namespace {

// Device units: tenths of a point.
constexpr int DPI = 720;
constexpr qreal pt(qreal p)
{
    return p * DPI / 72.0;
}

enum Estilo : quint8 { Nome, Telefone, Email, Titulo, Cabecalho, Data, Rodape, NUM_ESTILOS };

struct Peca {
    QString texto;
    QPointF base; // the baseline's start, from the block's top left
    Estilo estilo;
};

struct Bloco {
    qsizetype primeira = 0, fim = 0; // its pieces
    qreal altura = 0;
    qreal espacoAntes = 0; // left out at the top of a column
    bool titulo = false;
    qint32 grupo = -1; // a heading's, in m_titulos
    bool resto = false; // the rest of a contact cut at a column's foot
    // A dotted line from the name to the telephone on the same line.
    qreal pontoDe = 0, pontoAte = 0, pontoY = 0;
    int pagina = 0, coluna = 0;
    qreal y = 0;
};

// Control characters print as nothing or as boxes: a space stands for each.
QString limpo(const QString &s)
{
    QString out = s;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u == 0x2028 || u == 0x2029)
            c = u' ';
    }
    return out;
}

class Paginas {
public:
    Paginas(QPdfWriter &pdf, const FolhasContatos::Opcoes &o);

    bool montar(const QList<FolhasContatos::Grupo> &grupos, const FolhasContatos::Progresso &p,
                qsizetype total);
    bool pintar(const FolhasContatos::Progresso &p, qsizetype total);

private:
    Bloco titulo(qint32 grupo, bool continuacao);
    void contato(const FolhasContatos::Contato &c);
    void fechar(Bloco b);
    QStringList quebrar(const QString &texto, Estilo e, qreal largura) const;
    void paginar();
    void usar(QPainter &p, Estilo e);
    void cabecalho(QPainter &p, int pagina);
    void desenhar(QPainter &p, const Bloco &b);

    QPdfWriter &m_pdf;
    const FolhasContatos::Opcoes &m_opcoes;
    std::array<QFont, NUM_ESTILOS> m_fontes;
    std::vector<QFontMetricsF> m_metricas;
    qreal m_largura = 0, m_altura = 0; // the page inside its margins
    qreal m_topo = 0, m_base = 0;      // of the columns
    qreal m_coluna = 0, m_entre = 0;   // a column's width, the space between two
    std::vector<Peca> m_pecas;
    std::vector<Bloco> m_blocos;
    QStringList m_titulos;
    int m_paginas = 1;
    int m_estilo = -1;
};

Paginas::Paginas(QPdfWriter &pdf, const FolhasContatos::Opcoes &o) : m_pdf(pdf), m_opcoes(o)
{
    const QStringList familias = {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                  QStringLiteral("Helvetica"), QStringLiteral("Nimbus Sans"),
                                  QStringLiteral("DejaVu Sans")};
    const std::array<std::pair<qreal, bool>, NUM_ESTILOS> tamanhos = {{{9.5, false},
                                                                       {9.5, false},
                                                                       {8.5, false},
                                                                       {10.5, true},
                                                                       {12, true},
                                                                       {9, false},
                                                                       {8, false}}};
    for (int e = 0; e < NUM_ESTILOS; ++e) {
        QFont &f = m_fontes[size_t(e)];
        f.setFamilies(familias);
        f.setPointSizeF(tamanhos[size_t(e)].first);
        f.setBold(tamanhos[size_t(e)].second);
        f.setKerning(false);
        m_metricas.emplace_back(f, &pdf);
    }
    const QRect area = pdf.pageLayout().paintRectPixels(DPI);
    m_largura = area.width();
    m_altura = area.height();
    m_topo = m_metricas[Cabecalho].lineSpacing() + pt(10);
    m_base = m_altura - m_metricas[Rodape].lineSpacing() - pt(8);
    const int colunas = std::clamp(o.colunas, 1, 3);
    m_entre = pt(18);
    m_coluna = (m_largura - (colunas - 1) * m_entre) / colunas;
}

QStringList Paginas::quebrar(const QString &texto, Estilo e, qreal largura) const
{
    if (texto.isEmpty())
        return {};
    if (m_metricas[e].horizontalAdvance(texto) <= largura)
        return {texto};
    QTextLayout layout(texto, m_fontes[e], &m_pdf);
    QTextOption opcao;
    opcao.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(opcao);
    QStringList linhas;
    layout.beginLayout();
    for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
        l.setLineWidth(largura);
        linhas.append(texto.mid(l.textStart(), l.textLength()));
    }
    layout.endLayout();
    return linhas;
}

// A group's heading; again at the top of a column where the group goes on.
Bloco Paginas::titulo(qint32 grupo, bool continuacao)
{
    Bloco b;
    b.titulo = true;
    b.grupo = grupo;
    b.primeira = qsizetype(m_pecas.size());
    const QFontMetricsF &fm = m_metricas[Titulo];
    qreal y = pt(2);
    const QString texto =
        m_titulos[grupo] + (continuacao ? QStringLiteral(" (continuação)") : QString());
    for (const QString &l : quebrar(limpo(texto), Titulo, m_coluna - pt(6))) {
        m_pecas.push_back({l, {pt(3), y + fm.ascent()}, Titulo});
        y += fm.lineSpacing();
    }
    b.altura = y + pt(2) + pt(4);
    b.espacoAntes = pt(8);
    b.fim = qsizetype(m_pecas.size());
    return b;
}

void Paginas::contato(const FolhasContatos::Contato &c)
{
    Bloco b;
    b.primeira = qsizetype(m_pecas.size());
    const QFontMetricsF &fn = m_metricas[Nome], &ff = m_metricas[Telefone];
    qreal y = 0, fimNome = 0;
    const QStringList nome = quebrar(limpo(c.nome), Nome, m_coluna);
    for (const QString &l : nome) {
        m_pecas.push_back({l, {0, y + fn.ascent()}, Nome});
        fimNome = fn.horizontalAdvance(l);
        y += fn.lineSpacing();
    }
    const QString fone = limpo(c.telefone);
    if (!fone.isEmpty()) {
        const qreal largura = ff.horizontalAdvance(fone);
        if (nome.isEmpty() || fimNome + pt(8) + largura <= m_coluna) {
            // Right of the name's last line, dots leading to it.
            const qreal base = nome.isEmpty() ? ff.ascent() : y - fn.lineSpacing() + fn.ascent();
            m_pecas.push_back({fone, {m_coluna - largura, base}, Telefone});
            if (!nome.isEmpty()) {
                b.pontoDe = fimNome + pt(3);
                b.pontoAte = m_coluna - largura - pt(3);
                b.pontoY = base;
            }
            if (nome.isEmpty())
                y += ff.lineSpacing();
        } else {
            for (const QString &l : quebrar(fone, Telefone, m_coluna)) {
                m_pecas.push_back(
                    {l, {m_coluna - ff.horizontalAdvance(l), y + ff.ascent()}, Telefone});
                y += ff.lineSpacing();
            }
        }
    }
    if (m_opcoes.comEmail) {
        const QFontMetricsF &fe = m_metricas[Email];
        const qreal recuo = pt(10);
        for (const QString &l : quebrar(limpo(c.email), Email, m_coluna - recuo)) {
            m_pecas.push_back({l, {recuo, y + fe.ascent()}, Email});
            y += fe.lineSpacing();
        }
    }
    b.altura = std::max(y, fn.lineSpacing()) + pt(2.5);
    fechar(b);
}

// A block taller than a column, which only text nobody types makes, is cut
// between its lines; every other stays whole.
void Paginas::fechar(Bloco b)
{
    b.fim = qsizetype(m_pecas.size());
    const qreal coluna = m_base - m_topo;
    if (b.altura <= coluna || b.fim - b.primeira < 2) {
        m_blocos.push_back(b);
        return;
    }
    Bloco parte = b;
    parte.pontoAte = parte.pontoDe = 0;
    qreal topo = 0;
    for (qsizetype i = b.primeira; i < b.fim; ++i) {
        Peca &p = m_pecas[size_t(i)];
        const QFontMetricsF &fm = m_metricas[p.estilo];
        if (i > parte.primeira && p.base.y() + fm.descent() - topo > coluna) {
            parte.fim = i;
            parte.altura = p.base.y() - fm.ascent() - topo;
            m_blocos.push_back(parte);
            parte.primeira = i;
            parte.espacoAntes = 0;
            parte.resto = true;
            topo = p.base.y() - fm.ascent();
        }
        p.base.ry() -= topo;
    }
    parte.fim = b.fim;
    parte.altura = b.altura - topo;
    m_blocos.push_back(parte);
}

bool Paginas::montar(const QList<FolhasContatos::Grupo> &grupos,
                     const FolhasContatos::Progresso &progresso, qsizetype total)
{
    qsizetype feito = 0;
    for (const FolhasContatos::Grupo &g : grupos) {
        m_titulos.append(g.titulo);
        fechar(titulo(qint32(m_titulos.size() - 1), false));
        for (const FolhasContatos::Contato &c : g.contatos) {
            contato(c);
            if (++feito % 256 == 0 && progresso && !progresso(feito, total))
                return false;
        }
    }
    paginar();
    return true;
}

void Paginas::paginar()
{
    const qreal coluna = m_base - m_topo;
    const int colunas = std::clamp(m_opcoes.colunas, 1, 3);
    std::vector<Bloco> postos;
    postos.reserve(m_blocos.size() + m_blocos.size() / 8);
    int pagina = 0, col = 0;
    qint32 grupo = -1;
    qreal y = 0;
    const auto por = [&](Bloco b, qreal antes) {
        b.pagina = pagina;
        b.coluna = col;
        b.y = y + antes;
        y = b.y + b.altura;
        postos.push_back(b);
    };
    for (size_t i = 0; i < m_blocos.size(); ++i) {
        const Bloco &b = m_blocos[i];
        if (b.titulo)
            grupo = b.grupo;
        // A heading goes with the first contact under it.
        const qreal precisa =
            b.altura + (b.titulo && i + 1 < m_blocos.size() ? m_blocos[i + 1].altura : 0);
        qreal antes = y > 0 ? b.espacoAntes : 0;
        if (y > 0 && y + antes + precisa > coluna) {
            if (++col == colunas) {
                col = 0;
                ++pagina;
            }
            y = antes = 0;
            if (!b.titulo && !b.resto && grupo >= 0) {
                const Bloco c = titulo(grupo, true);
                if (c.altura + b.altura <= coluna)
                    por(c, 0);
            }
        }
        por(b, antes);
    }
    m_blocos = std::move(postos);
    m_paginas = pagina + 1;
}

void Paginas::usar(QPainter &p, Estilo e)
{
    if (m_estilo == e)
        return;
    m_estilo = e;
    p.setFont(m_fontes[e]);
    p.setPen(e == Email || e == Data || e == Rodape ? QColor(0x44, 0x44, 0x44) : Qt::black);
}

void Paginas::cabecalho(QPainter &p, int pagina)
{
    const QFontMetricsF &fc = m_metricas[Cabecalho];
    usar(p, Cabecalho);
    p.drawText(QPointF(0, fc.ascent()), limpo(m_opcoes.cabecalho));
    usar(p, Data);
    const QString data = limpo(m_opcoes.data);
    p.drawText(QPointF(m_largura - m_metricas[Data].horizontalAdvance(data), fc.ascent()), data);
    const qreal linha = fc.lineSpacing() + pt(2);
    p.setPen(QPen(Qt::black, pt(0.5)));
    p.drawLine(QPointF(0, linha), QPointF(m_largura, linha));
    m_estilo = -1;
    usar(p, Rodape);
    const QString rodape = QStringLiteral("página %1 de %2").arg(pagina + 1).arg(m_paginas);
    p.drawText(QPointF((m_largura - m_metricas[Rodape].horizontalAdvance(rodape)) / 2,
                       m_altura - m_metricas[Rodape].descent()),
               rodape);
}

void Paginas::desenhar(QPainter &p, const Bloco &b)
{
    const QPointF origem(b.coluna * (m_coluna + m_entre), m_topo + b.y);
    if (b.titulo) {
        p.fillRect(QRectF(origem, QSizeF(m_coluna, b.altura - pt(4))), QColor(0xE4, 0xE4, 0xE4));
    } else if (b.pontoAte - b.pontoDe > pt(6)) {
        p.setPen(QPen(QColor(0x88, 0x88, 0x88), pt(0.7), Qt::DotLine));
        p.drawLine(origem + QPointF(b.pontoDe, b.pontoY), origem + QPointF(b.pontoAte, b.pontoY));
        m_estilo = -1;
    }
    for (qsizetype i = b.primeira; i < b.fim; ++i) {
        const Peca &peca = m_pecas[size_t(i)];
        usar(p, peca.estilo);
        p.drawText(origem + peca.base, peca.texto);
    }
}

bool Paginas::pintar(const FolhasContatos::Progresso &progresso, qsizetype total)
{
    QPainter p(&m_pdf);
    size_t i = 0;
    qsizetype feito = total / 2;
    for (int pagina = 0; pagina < m_paginas; ++pagina) {
        if (pagina > 0)
            m_pdf.newPage();
        m_estilo = -1;
        cabecalho(p, pagina);
        for (; i < m_blocos.size() && m_blocos[i].pagina == pagina; ++i) {
            desenhar(p, m_blocos[i]);
            if (!m_blocos[i].titulo && ++feito % 256 == 0 && progresso &&
                !progresso(std::min(feito, total), total)) {
                p.end();
                return false;
            }
        }
    }
    return p.end();
}

} // namespace

std::optional<QByteArray> FolhasContatos::gerar(const QList<Grupo> &grupos, const Opcoes &opcoes,
                                                const Progresso &progresso)
{
    qsizetype contatos = 0;
    for (const Grupo &g : grupos)
        contatos += g.contatos.size();
    // Laying out and drawing take about as long as each other.
    const qsizetype total = 2 * contatos;
    QByteArray bytes;
    // About what the pages take, so that the PDF is not copied as it grows.
    bytes.reserve(64 * 1024 + contatos * (opcoes.comEmail ? 120 : 80));
    QBuffer destino(&bytes);
    destino.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&destino);
    pdf.setResolution(DPI);
    pdf.setPageLayout(QPageLayout(QPageSize(opcoes.papel), QPageLayout::Portrait,
                                  QMarginsF(14, 12, 14, 12), QPageLayout::Millimeter));
    pdf.setTitle(QStringLiteral("Lista de contatos"));
    pdf.setCreator(opcoes.cabecalho);
    Paginas paginas(pdf, opcoes);
    if (!paginas.montar(grupos, progresso, total) || !paginas.pintar(progresso, total))
        return std::nullopt;
    if (progresso)
        progresso(total, total);
    destino.close();
    return bytes;
}
