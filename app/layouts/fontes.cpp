#include "layouts/fontes.h"

#include <QStringList>

namespace {

QFont montar(const QStringList &familias, bool negrito)
{
    QFont f(familias.first());
    f.setFamilies(familias);
    f.setPixelSize(11);
    f.setWeight(negrito ? QFont::Bold : QFont::Normal);
    return f;
}

} // namespace

namespace Fontes {

QFont padrao(bool negrito)
{
    return montar({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                   QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                   QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")},
                  negrito);
}

QFont tahoma(bool negrito)
{
    return montar({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")},
                  negrito);
}

} // namespace Fontes
