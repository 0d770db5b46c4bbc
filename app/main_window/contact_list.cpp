#include "contact_list.h"

#include <algorithm>
#include <numeric>
#include <vector>

QString MontarEntrada(const ContactRecord &r)
{
    return r.Nome + QLatin1String("\t\t\t\t") + r.Telefone + QLatin1Char('\t') + r.Email;
}

QString entradaAviso(const QString &aviso)
{
    return aviso + QLatin1String("\t\t\t\t\t");
}

ListaInicio::ListaInicio(const QLocale &locale) : m_collator(locale)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

void ListaInicio::definir(const QList<ContactRecord> &registros)
{
    const qsizetype n = registros.size();
    QList<Item> itens;
    itens.reserve(n);
    std::vector<QCollatorSortKey> chaves;
    chaves.reserve(n);
    for (const ContactRecord &r : registros) {
        itens.append({r, MontarEntrada(r)});
        chaves.push_back(m_collator.sortKey(itens.back().entrada));
    }
    std::vector<qsizetype> ordem(n);
    std::iota(ordem.begin(), ordem.end(), 0);
    std::stable_sort(ordem.begin(), ordem.end(),
                     [&](qsizetype a, qsizetype b) { return chaves[a].compare(chaves[b]) < 0; });
    m_itens.clear();
    m_itens.reserve(n);
    for (const qsizetype i : ordem)
        m_itens.append(std::move(itens[i]));
}

QStringList ListaInicio::entradas() const
{
    QStringList out;
    out.reserve(m_itens.size());
    for (const Item &i : m_itens)
        out.append(i.entrada);
    return out;
}
