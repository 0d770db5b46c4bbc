#pragma once

#include "model/modelo_principal.h"
#include "store/contatos_externos.h"

#include <QString>
#include <QStringList>
#include <QUrl>

// Contacts in and out through other programs' files, over the main
// window's model: the import reads every file first and adds their contacts
// by the add's rules in one write; the export writes what the contact file
// holds now, and never over that file.
class IntercambioContatos {
public:
    explicit IntercambioContatos(ModeloPrincipal &modelo) : m_modelo(modelo) {}

    // The notices to show, in order. Nothing is imported when one file
    // cannot be read, is no vCard or CSV of contacts, or is past the limits.
    QStringList importar(const QStringList &caminhos,
                         const ContatosExternos::Limites &limites = {});
    // The notice to show.
    QString exportar(const QString &caminho, ContatosExternos::Formato formato);

    // Files dropped are imported when every one is a local vCard or CSV.
    static bool importaveis(const QList<QUrl> &enderecos);

    // Why a file's contacts cannot be imported, or nothing when they can.
    static QString recusa(const ContatosExternos::Lidos &lidos, const QString &nomeArquivo);

    // What goes out of the program (an export, the list to print) comes
    // from what the file holds now: the list read again where another
    // program changed the file. The notice why it could not be, or nothing.
    QString lerAgora();
    // Why nothing may be written there: the contact file itself, or another
    // file the program keeps (the versions, the sync's state, the settings),
    // by any path or link and in any letter case; nothing where it may.
    QString recusaDestino(const QString &caminho) const;
    // Bytes written whole, through a temporary file, to a file that is none
    // of the program's own: the notice why not, or nothing.
    QString gravarFora(const QString &caminho, const QByteArray &conteudo) const;

private:
    ModeloPrincipal &m_modelo;
};
