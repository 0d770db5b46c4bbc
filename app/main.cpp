#include "chrome/instancia_unica.h"
#include "chrome/traducao_qt.h"
#include "dialogs/avisos.h"
#include "main_window/kv_principal.h"
#include "model/locale_app.h"
#include "store/arquivo_contatos.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marvessa Fonelo"));
    QApplication::setOrganizationName(QStringLiteral("Marvessa Fonelo"));
    TraducaoQt::instalar();

    // A copy already running on this folder's file comes forward instead; a
    // busy one (a long import, a slow disk) is still the one running.
    const QString chave = InstanciaUnica::chave(ArquivoContatos::caminhoPadrao());
    auto resposta = InstanciaUnica::pedirParaMostrar(chave);
    InstanciaUnica instancia(chave);
    if (resposta == InstanciaUnica::Resposta::SemServidor ||
        resposta == InstanciaUnica::Resposta::Alheio) {
        // Two copies starting at once: the one that lost comes to the other.
        if (!instancia.escutar())
            resposta = InstanciaUnica::pedirParaMostrar(chave);
    }
    if (resposta == InstanciaUnica::Resposta::Atendido)
        return 0;
    if (resposta == InstanciaUnica::Resposta::Ocupado) {
        Avisos().MostrarAviso(nullptr, QStringLiteral("O Marvessa Fonelo já está aberto nesta "
                                                      "pasta!"));
        return 0;
    }

    OpcoesPrincipal opcoes;
    opcoes.locale = LocaleApp::efetivo();
    KV_Principal janela(std::move(opcoes));
    QObject::connect(&instancia, &InstanciaUnica::mostrarPedido, &janela, &KV_Principal::restaurar);
    janela.show();
    return app.exec();
}
