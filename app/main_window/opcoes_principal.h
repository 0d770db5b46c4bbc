#pragma once

#include "operations/agenda.h"

#include <QUrl>
#include <functional>

class Avisos;

// What the main window needs from outside, beside what the program is
// built from; tests give their own.
struct OpcoesPrincipal : OpcoesAgenda {
    Avisos *avisos = nullptr; // null: real notices of 1.5 s
    // Opens the About window's link, and a contact's (tel:, WhatsApp,
    // mailto:); null: the desktop's own programs.
    std::function<void(const QUrl &)> abrirEndereco;
    // The files to import, and the file to export to with its format;
    // null: the platform's file dialogs.
    std::function<QStringList()> escolherImportacao;
    std::function<QString(ContatosExternos::Formato &)> escolherExportacao;
    // The PDF to save the list to print as; null: the platform's dialog.
    std::function<QString()> escolherPdf;
    // How long the making of the list to print runs before its progress
    // shows.
    int progressoImpressaoMs = 500;
};
