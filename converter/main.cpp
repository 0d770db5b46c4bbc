#include "frm1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marvessa Fonelo Converter"));
    frm1 janela;
    janela.show();
    return app.exec();
}
