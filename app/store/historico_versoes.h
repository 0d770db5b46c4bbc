#pragma once

#include "store/contact_record.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

// The contact file's earlier versions, in a folder beside it: before each
// rewrite, the content it replaces is kept as one plain file named by the
// time it was kept. A hard link where the file system allows (the rewrite
// puts a new file in its place, so the link keeps the old one at no cost),
// else a copy; either way a version appears whole or not at all.
class HistoricoVersoes {
public:
    static constexpr const char *PASTA = "contatos.historico";
    // A larger file in the folder is none this program kept: not read.
    static constexpr qint64 TAMANHO_MAXIMO = qint64(512) * 1024 * 1024;

    struct Limites {
        int recentes = 20;                 // the last ones, always
        int dias = 30;                     // and the newest of each of these days
        qint64 bytes = 50LL * 1024 * 1024; // but no more than this in all...
        int minimo = 3;                    // ...except the last few, whatever their size
    };

    struct Versao {
        QString caminho;
        QDateTime quando;
        qint64 tamanho = 0;
    };

    explicit HistoricoVersoes(const QString &caminhoContatos);
    static QString pastaAoLado(const QString &caminhoContatos);

    void setRelogio(std::function<QDateTime()> relogio) { m_relogio = std::move(relogio); }
    void setLimites(const Limites &limites) { m_limites = limites; }

    // Keeps the contact file as it is now. The version's path (empty when
    // there is no file to keep), or nothing when it could not be kept.
    std::optional<QString> guardar() const;
    // Deletes the versions the limits no longer keep.
    void podar() const;
    // Newest first.
    QList<Versao> versoes() const;

    // What a version holds that the current file does not (mais), what it
    // lacks (menos), and the contacts of the same name whose telephone or
    // e-mail differ (alterados): what restoring it would change.
    struct Diferenca {
        qsizetype mais = 0, menos = 0, alterados = 0;
        friend bool operator==(const Diferenca &, const Diferenca &) = default;
        // "+2 −1 ~3"
        QString texto() const;
    };
    static Diferenca diferenca(const QList<ContactRecord> &versao,
                               const QList<ContactRecord> &atual);

    // A version as the list of versions shows it: how many contacts it
    // holds and what restoring it would change, from both files' bytes
    // (lines alike on both sides are one contact unchanged; only the others
    // are read).
    struct Resumo {
        qsizetype contatos = 0;
        Diferenca diferenca;
    };
    static Resumo resumir(const QByteArray &versao, const QByteArray &atual);

    // Of versions listed newest first, the indexes of those to delete.
    static QList<qsizetype> aApagar(const QList<Versao> &versoes, const QDateTime &agora,
                                    const Limites &limites);

private:
    QString m_contatos;
    QString m_pasta;
    Limites m_limites;
    std::function<QDateTime()> m_relogio = [] { return QDateTime::currentDateTime(); };
};
