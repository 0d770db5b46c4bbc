#pragma once

#include <QByteArray>
#include <QList>
#include <QPageSize>
#include <QString>
#include <functional>
#include <optional>

// The phone list on paper, as a PDF: a header and a page count on every
// page, the groups one after another down the columns, each under its
// heading, each contact whole on one page, and every word as text that a
// viewer can find and read aloud.
class FolhasContatos {
public:
    struct Contato {
        QString nome, telefone, email;
    };
    struct Grupo {
        QString titulo;
        QList<Contato> contatos;
    };
    struct Opcoes {
        int colunas = 2; // 1 to 3
        bool comEmail = true;
        QPageSize::PageSizeId papel = QPageSize::A4;
        QString cabecalho; // at the top left of every page
        QString data;      // and at its right
    };
    // How far it got, of total; false stops it.
    using Progresso = std::function<bool(qsizetype feito, qsizetype total)>;

    // The PDF; nothing when stopped.
    static std::optional<QByteArray> gerar(const QList<Grupo> &grupos, const Opcoes &opcoes,
                                           const Progresso &progresso = {});
};
