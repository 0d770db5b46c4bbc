#include "model/classificador_grupos.h"

ClassificadorGrupos::ClassificadorGrupos(const QLocale &locale)
{
    const auto &grupos = GruposLetras();
    for (int g = 0; g < NUM_GRUPOS; ++g) {
        QString &s = m_caracteres[g];
        for (const QString &c : grupos[g].Caracteres) {
            if (grupos[g].ComCaixa) {
                s += locale.toLower(c);
                s += locale.toUpper(c);
            } else {
                s += c;
            }
        }
    }
    m_porCaractere.fill(-1);
    for (int g = NUM_GRUPOS - 1; g >= 0; --g) {
        for (const QChar c : m_caracteres[g]) {
            if (c.unicode() < 256)
                m_porCaractere[c.unicode()] = qint8(g);
        }
    }
}

bool ClassificadorGrupos::PertenceAoGrupo(QStringView entrada, int grupo) const
{
    // An empty entry, or one starting with TAB (no name), belongs nowhere.
    if (entrada.isEmpty() || entrada.front() == u'\t')
        return false;
    return m_caracteres[grupo].contains(entrada.front());
}

int ClassificadorGrupos::grupoDe(QStringView entrada) const
{
    if (entrada.isEmpty())
        return -1;
    if (entrada.front().unicode() < 256)
        return m_porCaractere[entrada.front().unicode()];
    for (int g = 0; g < NUM_GRUPOS; ++g) {
        if (PertenceAoGrupo(entrada, g))
            return g;
    }
    return -1;
}
