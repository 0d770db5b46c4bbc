#include "operations/desfazer_edicoes.h"

namespace {

// A menu names the contact, not a line's worth of it.
QString texto(const QString &acao, const QList<MudancaContatos> &pilha)
{
    if (pilha.isEmpty())
        return acao;
    QString d = pilha.back().descricao();
    constexpr qsizetype MAXIMO = 60;
    if (d.size() > MAXIMO)
        d = d.left(MAXIMO - 1) + QChar(0x2026);
    return acao + QLatin1Char(' ') + d;
}

} // namespace

DesfazerEdicoes::DesfazerEdicoes(ModeloPrincipal &modelo, QObject *parent)
    : QObject(parent), m_modelo(modelo)
{
    connect(&modelo, &ModeloPrincipal::mudancaFeita, this, &DesfazerEdicoes::guardar);
}

QString DesfazerEdicoes::textoDesfazer() const
{
    return texto(QStringLiteral("Desfazer"), m_desfazer);
}

QString DesfazerEdicoes::textoRefazer() const
{
    return texto(QStringLiteral("Refazer"), m_refazer);
}

void DesfazerEdicoes::guardar(const MudancaContatos &m)
{
    m_refazer.clear();
    m_desfazer.append(m);
    qsizetype custo = 0;
    for (const MudancaContatos &k : m_desfazer)
        custo += k.custo();
    while (m_desfazer.size() > 1 && (m_desfazer.size() > LIMITE || custo > MEMORIA)) {
        custo -= m_desfazer.front().custo();
        m_desfazer.removeFirst();
    }
    Q_EMIT mudou();
}

ResultadoEdicao DesfazerEdicoes::desfazer()
{
    return mover(m_desfazer, m_refazer, true);
}

ResultadoEdicao DesfazerEdicoes::refazer()
{
    return mover(m_refazer, m_desfazer, false);
}

ResultadoEdicao DesfazerEdicoes::mover(QList<MudancaContatos> &de, QList<MudancaContatos> &para,
                                       bool desfazer)
{
    if (de.isEmpty())
        return {};
    ResultadoEdicao r = EdicaoContatos(m_modelo).aplicar(de.back(), desfazer);
    if (r.desfecho == ResultadoEdicao::Desfecho::Gravado) {
        para.append(de.takeLast());
        Q_EMIT mudou();
    }
    return r;
}
