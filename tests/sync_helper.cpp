// One sync of a contact file, for the kill test: the process that is killed.
#include "model/classificador_grupos.h"
#include "sync/sincronizador.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 5)
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
    s.sincronizar({QUrl(a[2]), a[3], a[4]});
    app.exec();
    return codigo;
}
