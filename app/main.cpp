#include "locale_app.h"
#include "main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marvessa Fonelo"));
    QApplication::setOrganizationName(QStringLiteral("Marvessa Fonelo"));

    OpcoesPrincipal opcoes;
    opcoes.locale = LocaleApp::efetivo();
    KV_Principal janela(std::move(opcoes));
    janela.show();
    return app.exec();
}
