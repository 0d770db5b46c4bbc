#pragma once

#include "dialogs/avisos.h"
#include "helpers.h"
#include "main_window/kv_principal.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>

namespace Teste {

// Records every notice instead of waiting for it.
class AvisosGravados : public Avisos {
public:
    void MostrarAviso(QWidget *, const QString &texto) override
    {
        if (aoMostrar)
            aoMostrar(texto);
        textos.append(texto);
    }
    QStringList textos;
    std::function<void(const QString &)> aoMostrar;
};

// A main window over a contact file in a temporary folder.
struct Principal {
    // abrirJa false: set the folder up first, then call abrir().
    explicit Principal(const QByteArray *conteudo = nullptr, bool abrirJa = true)
    {
        caminho = ArquivoContatos::caminhoNaPasta(dir.path());
        if (conteudo)
            gravar(caminho, *conteudo);
        if (abrirJa)
            abrir();
    }

    QString ini() const { return dir.filePath(QStringLiteral("config.ini")); }

    void abrir()
    {
        OpcoesPrincipal o;
        o.caminhoArquivo = caminho;
        o.locale = ptBR();
        o.avisos = &avisos;
        o.hoje = [] { return QDate(2026, 12, 6); };
        o.arquivoConfiguracoes = ini();
        o.abrirEndereco = [this](const QUrl &u) { enderecos.append(u); };
        if (!dialogosReais) {
            o.escolherImportacao = [this] { return importar; };
            o.escolherExportacao = [this](ContatosExternos::Formato &f) {
                f = formatoExportar;
                return exportar;
            };
        }
        janela = std::make_unique<KV_Principal>(std::move(o));
    }

    template <typename T = QWidget> T *filho(const QString &nome) const
    {
        return janela->findChild<T *>(nome);
    }

    QTemporaryDir dir;
    QString caminho;
    AvisosGravados avisos;
    QList<QUrl> enderecos;
    // The platform's file dialogs, or these answers of theirs.
    bool dialogosReais = false;
    QStringList importar;
    QString exportar;
    ContatosExternos::Formato formatoExportar = ContatosExternos::Formato::VCard;
    std::unique_ptr<KV_Principal> janela;
};

} // namespace Teste
