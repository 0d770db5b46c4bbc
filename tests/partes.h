#pragma once

// A long test program that ctest runs as several tests at once: one for
// each group of its functions, named on the command line, and one for all
// the others, which MARVESSA_FORA leaves out (tests/CMakeLists.txt,
// marvessa_partes). A function added later runs with the others.

#include <QCoreApplication>
#include <QMetaMethod>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace Teste {

inline int executar(QObject &teste, int argc, char **argv)
{
    QStringList argumentos;
    for (int i = 0; i < argc; ++i)
        argumentos.append(QString::fromLocal8Bit(argv[i]));
    const QStringList fora = qEnvironmentVariable("MARVESSA_FORA").split(u' ', Qt::SkipEmptyParts);
    if (!fora.isEmpty()) {
        const qsizetype dados = argumentos.size();
        static const QStringList sempre = {u"initTestCase"_s, u"cleanupTestCase"_s, u"init"_s,
                                           u"cleanup"_s};
        const QMetaObject *m = teste.metaObject();
        for (int i = m->methodOffset(); i < m->methodCount(); ++i) {
            const QMetaMethod f = m->method(i);
            const QString nome = QString::fromLatin1(f.name());
            if (f.methodType() == QMetaMethod::Slot && f.access() == QMetaMethod::Private &&
                f.parameterCount() == 0 && !nome.endsWith(u"_data") && !sempre.contains(nome) &&
                !fora.contains(nome))
                argumentos.append(nome);
        }
        // Nothing left on this platform: the parts ran everything.
        if (argumentos.size() == dados)
            return 0;
    }
    return QTest::qExec(&teste, argumentos);
}

} // namespace Teste

#define MARVESSA_TEST_MAIN(Classe, Aplicacao)                                                      \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        Aplicacao app(argc, argv);                                                                 \
        QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);                                     \
        Classe teste;                                                                              \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return Teste::executar(teste, argc, argv);                                                 \
    }
