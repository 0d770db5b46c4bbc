#include "model/locale_app.h"

namespace LocaleApp {

QLocale efetivo(const QLocale &sistema)
{
    if (sistema.language() == QLocale::C || sistema.language() == QLocale::AnyLanguage)
        return QLocale(QLocale::Portuguese, QLocale::Brazil);
    return sistema;
}

QString separadorData(const QLocale &locale)
{
    const QString formato = locale.dateFormat(QLocale::ShortFormat);
    bool entreAspas = false;
    for (const QChar c : formato) {
        if (c == u'\'') {
            entreAspas = !entreAspas;
            continue;
        }
        if (!entreAspas && !c.isLetter())
            return QString(c);
    }
    return QStringLiteral("/");
}

QString TextoDataHoje(const QDate &data, const QLocale &locale)
{
    const QString sep = separadorData(locale);
    const auto doisDigitos = [](int n) {
        return QStringLiteral("%1").arg(n % 100, 2, 10, QChar(u'0'));
    };
    QString texto = locale.dayName(data.dayOfWeek(), QLocale::LongFormat) + QStringLiteral(", ") +
                    doisDigitos(data.day()) + sep + doisDigitos(data.month()) + sep +
                    doisDigitos(data.year());
    if (!texto.isEmpty())
        texto = locale.toUpper(texto.left(1)) + texto.mid(1);
    return texto;
}

} // namespace LocaleApp
