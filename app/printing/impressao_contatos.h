#pragma once

#include "printing/folhas_contatos.h"

#include <QLocale>
#include <QString>

class ModeloPrincipal;
class QSettings;

// "Lista para imprimir...": the contacts of every tab, or of the tab shown,
// as the PDF the user prints, saved where the user says or opened in the
// system's viewer. What goes out is what the file holds now, by the
// export's rules: never over the contact file, and written whole or not at
// all.
class ImpressaoContatos {
public:
    struct Escolha {
        bool soAbaMostrada = false;
        int colunas = 2;
        bool comEmail = true;
    };
    // A's and B's, C's and D's, ... in the tab order, names in the list's,
    // and last the names no tab lists, so that nobody is left off the paper.
    static QList<FolhasContatos::Grupo> grupos(const ModeloPrincipal &modelo, bool soAbaMostrada);
    // The columns and e-mails chosen last, read as untrusted: only what
    // makes sense, else the defaults; every contact, always.
    static Escolha lembrada(const QSettings &configuracoes);
    static void lembrar(QSettings &configuracoes, const Escolha &escolha);
    // US Letter where the system's locale measures in inches, A4 elsewhere.
    static QPageSize::PageSizeId papel(const QLocale &sistema);
    // A group's heading, as its tab says it ("A e B"); NUM_GRUPOS for the
    // names no tab lists.
    static QString titulo(int grupo);

    explicit ImpressaoContatos(ModeloPrincipal &modelo, QLocale sistema = QLocale::system())
        : m_modelo(modelo), m_sistema(std::move(sistema))
    {
    }

    // The notice to show; nothing when the user stopped it.
    QString salvar(const QString &caminho, const Escolha &escolha,
                   const FolhasContatos::Progresso &progresso = {});
    // The PDF as a new file of the folder given, for the system's viewer:
    // its path, or empty with the notice why not (none when stopped).
    struct Temporario {
        QString caminho, aviso;
    };
    Temporario temporario(const QString &pasta, const Escolha &escolha,
                          const FolhasContatos::Progresso &progresso = {});

private:
    // The PDF, or the notice why not in aviso (none when stopped).
    std::optional<QByteArray> gerar(const Escolha &escolha,
                                    const FolhasContatos::Progresso &progresso, QString &aviso);

    ModeloPrincipal &m_modelo;
    QLocale m_sistema;
};
