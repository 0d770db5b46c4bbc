// One sync of a contact file, for the kill test: the process that is killed.
// Further arguments: "apagar", the deletes it would ask about are confirmed;
// "morrer=N", the process ends at once, as if killed, once N writes to the
// server are done (and kept).
#include "model/classificador_grupos.h"
#include "sync/sincronizador.h"

#include <QCoreApplication>
#include <cstdlib>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 5)
        return 2;
    Sincronizador s(a[1]);
    // The program's rule for names no tab lists, as the test's own syncs.
    const QLocale locale(QLocale::Portuguese, QLocale::Brazil);
    const ClassificadorGrupos grupos(locale);
    s.setLocale(locale);
    s.setListavel([&](QStringView nome) { return grupos.grupoDe(nome) >= 0; });
    int codigo = 1;
    QObject::connect(&s, &Sincronizador::terminou, &app, [&](const ResultadoSincronizacao &r) {
        codigo = r.ok() ? 0 : 1;
        app.quit();
    });
    Sincronizador::Decisao decisao;
    for (const QString &arg : a.mid(5)) {
        if (arg == u"apagar")
            decisao = {Sincronizador::Decisao::Tipo::Apagar, 1 << 30, 1 << 30};
        if (arg.startsWith(u"morrer=")) {
            const int n = arg.mid(7).toInt();
            QObject::connect(&s, &Sincronizador::progresso, &app, [n](int feitas, int) {
                if (feitas >= n)
                    std::_Exit(9);
            });
        }
    }
    s.sincronizar({QUrl(a[2]), a[3], a[4]}, decisao);
    app.exec();
    return codigo;
}
