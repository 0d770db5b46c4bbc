#include "chrome/instancia_unica.h"
#include "main_window/kv_principal.h"
#include "main_window/model/locale_app.h"
#include "store/arquivo_contatos.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marvessa Fonelo"));
    QApplication::setOrganizationName(QStringLiteral("Marvessa Fonelo"));

    // A copy already running on this folder's file comes forward instead.
    const QString chave = InstanciaUnica::chave(ArquivoContatos::caminhoPadrao());
    const auto resposta = InstanciaUnica::pedirParaMostrar(chave);
    if (resposta == InstanciaUnica::Resposta::Atendido)
        return 0;
    InstanciaUnica instancia(chave);
    if (!instancia.escutar(resposta == InstanciaUnica::Resposta::SemServidor) &&
        InstanciaUnica::pedirParaMostrar(chave) == InstanciaUnica::Resposta::Atendido)
        return 0;

    OpcoesPrincipal opcoes;
    opcoes.locale = LocaleApp::efetivo();
    KV_Principal janela(std::move(opcoes));
    QObject::connect(&instancia, &InstanciaUnica::mostrarPedido, &janela, &KV_Principal::restaurar);
    janela.show();
    return app.exec();
}
