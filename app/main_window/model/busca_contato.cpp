#include "main_window/model/busca_contato.h"

namespace {

// Letter case and accents out: what the collation weighs first.
QString semCaixaNemAcento(QStringView s)
{
    const QString d = s.toString().normalized(QString::NormalizationForm_D);
    QString r;
    r.reserve(d.size());
    for (const QChar c : d) {
        if (c.category() != QChar::Mark_NonSpacing)
            r.append(c.toCaseFolded());
    }
    return r;
}

} // namespace

BuscaContato::BuscaContato(const ListaInicio &lista, const QLocale &locale)
    : m_lista(lista), m_colacao(locale)
{
    m_colacao.setCaseSensitivity(Qt::CaseInsensitive);
}

bool BuscaContato::vivo(qint64 agoraMs) const
{
    return !m_prefixo.isEmpty() && agoraMs - m_ultima < PAUSA_MS;
}

BuscaContato::Efeito BuscaContato::digitar(QChar c, qint64 agoraMs)
{
    if (vivo(agoraMs) ? !c.isPrint() : !c.isLetterOrNumber())
        return Efeito::Nenhum;
    if (!vivo(agoraMs))
        m_prefixo.clear();
    m_prefixo.append(c);
    m_ultima = agoraMs;
    return Efeito::Mudou;
}

BuscaContato::Efeito BuscaContato::apagar(qint64 agoraMs)
{
    if (!vivo(agoraMs)) {
        m_prefixo.clear();
        return Efeito::Nenhum;
    }
    m_prefixo.chop(1);
    m_ultima = agoraMs;
    return m_prefixo.isEmpty() ? Efeito::Vazio : Efeito::Mudou;
}

BuscaContato::Efeito BuscaContato::limpar()
{
    if (m_prefixo.isEmpty())
        return Efeito::Nenhum;
    m_prefixo.clear();
    return Efeito::Vazio;
}

bool BuscaContato::pesamIgual(QStringView a, QStringView b) const
{
    // Alike at the first level: a letter after them then decides.
    const auto com = [](QStringView s, char16_t letra) { return s.toString() + QChar(letra); };
    return m_colacao.compare(com(a, u'b'), com(b, u'a')) > 0 &&
           m_colacao.compare(com(a, u'a'), com(b, u'b')) < 0;
}

bool BuscaContato::comecaCom(QStringView nome, QStringView prefixo) const
{
    // Some first letters of the name weigh as the prefix: however many
    // characters they take (a letter and its combining accent are two).
    const qsizetype ate = std::min(nome.size(), 4 * prefixo.size() + 4);
    for (qsizetype k = 1; k <= ate; ++k) {
        if (pesamIgual(nome.first(k), prefixo))
            return true;
    }
    return false;
}

qsizetype BuscaContato::primeiro(QStringView prefixo) const
{
    // Without case or accents the prefix weighs least among the names that
    // start with it, so they all come at or after the first name not
    // before it, and before the prefix followed by the character that
    // weighs most. A name in between may still not be one to show (it
    // belongs to no tab, or starts with a letter that weighs as two, like
    // Æ), so the search goes on past it to the end of that range.
    const QString p = semCaixaNemAcento(prefixo);
    if (p.isEmpty())
        return -1;
    qsizetype de = 0, ate = m_lista.count();
    while (de < ate) {
        const qsizetype meio = de + (ate - de) / 2;
        if (m_colacao.compare(m_lista.nome(meio), p) < 0)
            de = meio + 1;
        else
            ate = meio;
    }
    const QString teto = p + QChar(0xFFFF);
    for (qsizetype i = de; i < m_lista.count() && m_colacao.compare(m_lista.nome(i), teto) < 0;
         ++i) {
        if (m_lista.grupo(i) >= 0 && comecaCom(m_lista.nome(i), p))
            return i;
    }
    return -1;
}
