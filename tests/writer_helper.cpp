// Rewrites the contact file of the folder it is given over and over, in
// turns with two different contents, as the editing operations do, until it
// is killed; with "versoes", each rewrite keeps the old content as a version
// first.
#include "store/arquivo_contatos.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const bool versoes = argc > 2 && qstrcmp(argv[2], "versoes") == 0;
    const ArquivoContatos arquivo(ArquivoContatos::caminhoNaPasta(QString::fromLocal8Bit(argv[1])));
    const QByteArray conteudos[2] = {QByteArray(1 << 20, 'a') + "\r\n\r\n",
                                     QByteArray(600 << 10, 'b') + "\r\n\r\n"};
    for (unsigned i = 0;; ++i) {
        if (versoes)
            arquivo.gravarSeInalterado(arquivo.lerBytes().assinatura(), conteudos[i % 2]);
        else
            arquivo.gravar(conteudos[i % 2]);
    }
}
