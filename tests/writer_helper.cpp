// Rewrites the contact file of the folder it is given over and over, in
// turns with two different contents, as the editing operations do, until it
// is killed.
#include "store/arquivo_contatos.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const ArquivoContatos arquivo(ArquivoContatos::caminhoNaPasta(QString::fromLocal8Bit(argv[1])));
    const QByteArray conteudos[2] = {QByteArray(1 << 20, 'a') + "\r\n\r\n",
                                     QByteArray(600 << 10, 'b') + "\r\n\r\n"};
    for (unsigned i = 0;; ++i)
        arquivo.gravar(conteudos[i % 2]);
}
