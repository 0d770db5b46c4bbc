#pragma once

#include <QLocale>
#include <QStringList>

class QTranslator;

// Qt's own words (the file dialogs, their questions, the standard buttons)
// in the program's language: Debian's translations of Qt where Qt finds
// them, and on Windows those shipped in "translations" beside the program.
namespace TraducaoQt {

// The catalogues to try, best first: Portugal's Portuguese for a system in
// Portuguese of any country but Brazil, Brazil's for every other system.
QStringList catalogos(const QLocale &sistema);

// "translations" beside the program, then Qt's own folder.
QStringList pastas();

// Every catalogue found, installed in the application (which owns them) so
// that a word the best one lacks comes from the next; none found, and Qt's
// words stay English.
QList<QTranslator *> instalar(const QLocale &sistema = QLocale::system(),
                              const QStringList &onde = pastas());

} // namespace TraducaoQt
