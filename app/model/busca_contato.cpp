#include "model/busca_contato.h"

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
    // The character that weighs most after a prefix, by the collator at
    // hand: ICU gives U+FFFF the last weight of all, Windows leaves it out.
    // Tried against letters, digits and signs of the scripts names use.
    static const char16_t *const depois[] = {
        u"z",      u"zz",     u"\u00FF", u"\u00DF", u"\u03C9", u"\u044F", u"\u05EA", u"\u0649",
        u"\u0E2E", u"\u4E00", u"\u9FA5", u"\uAC00", u"\uD7A3", u"9",      u"~",      u"\U0001F600"};
    for (const char16_t *teto :
         {u"\uFFFF", u"\U0002FA1D", u"\U0002A6D6", u"\uFFE6", u"\u9FFF", u"\uD7A3", u"\u4DB5"}) {
        const QString t = QLatin1Char('a') + QStringView(teto).toString();
        bool pesaMais = m_colacao.compare(t, QStringLiteral("b")) < 0;
        for (const char16_t *d : depois)
            pesaMais =
                pesaMais && m_colacao.compare(QLatin1Char('a') + QStringView(d).toString(), t) < 0;
        if (pesaMais) {
            m_teto = QStringView(teto).toString();
            break;
        }
    }
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
    const QString teto = p + m_teto;
    for (qsizetype i = de; i < m_lista.count(); ++i) {
        const QStringView nome = m_lista.nome(i);
        const bool comeca = comecaCom(nome, p);
        // Without a character that weighs most, the first name that does
        // not start so ends the search.
        if (m_teto.isEmpty() ? !comeca : m_colacao.compare(nome, teto) >= 0)
            return -1;
        if (comeca && m_lista.grupo(i) >= 0)
            return i;
    }
    return -1;
}
