#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// The locale the phone book works in: the system's, except where the system
// has no language at all (the C locale, as on many servers), which would sort
// by code point and name the weekdays in English. The interface is
// Portuguese, so Brazilian Portuguese stands in then.
namespace LocaleApp {

QLocale efetivo(const QLocale &sistema = QLocale::system());

// The locale's date separator: the first non-letter of its short date format.
QString separadorData(const QLocale &locale);

// "dddd, dd/mm/yy" with the locale's separator, first character upper-cased:
// "Domingo, 06/12/26".
QString TextoDataHoje(const QDate &data, const QLocale &locale);

} // namespace LocaleApp
