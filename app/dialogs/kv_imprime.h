#pragma once

#include "chrome/dialogo_deslizante.h"
#include "printing/impressao_contatos.h"

#include <functional>

class Avisos;
class ModeloPrincipal;
class QButtonGroup;
class QCheckBox;
class QSettings;
class QUrl;

// "Lista para imprimir...": all contacts or the tab shown, in one, two or
// three columns, with or without the e-mails, as a PDF; " Salvar PDF "
// asks where, " Abrir " hands it to the system's viewer to print from
// there. A long list shows its progress, and can be stopped.
class KV_Imprime : public DialogoDeslizante {
    Q_OBJECT
public:
    struct Ligacoes {
        // The file to save to; null: the platform's file dialog.
        std::function<QString()> escolherArquivo;
        // The PDF handed to the system's viewer; false when none took it.
        std::function<bool(const QUrl &)> abrir;
        // Where the choices are remembered.
        std::function<std::unique_ptr<QSettings>()> configuracoes;
        // How long the making of the list runs before its progress shows.
        int progressoMs = 500;
    };

    KV_Imprime(QWidget *principal, ModeloPrincipal &modelo, Avisos &avisos, Ligacoes ligacoes);

    ImpressaoContatos::Escolha escolha() const;
    void lblSim_Click();
    void lblAbrir_Click();
    void reject() override { lblNao_Click(); }

private:
    // Runs the making of the PDF under a progress dialog that shows when it
    // takes long; its notice, or nothing when stopped.
    template <typename F> auto comProgresso(F fazer);
    void concluir(const QString &aviso);

    ModeloPrincipal &m_modelo;
    Avisos &m_avisos;
    Ligacoes m_ligacoes;
    QButtonGroup *m_quais;
    QButtonGroup *m_colunas;
    QCheckBox *m_emails;
};
