#pragma once

#include "store/codificacao.h"
#include "store/contact_record.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <optional>
#include <utility>

// One change the user made to the contact file, kept so that it can be taken
// back and done again: the record lines it took out and put in, in the
// file's own bytes (a restored version also keeps both whole files, so that
// taking it back gives the very bytes it replaced).
struct MudancaContatos {
    enum class Tipo {
        Inclusao,
        Atualizacao,
        Exclusao,
        Importacao,
        Restauracao,
        Padronizacao,
        Juncao
    };
    Tipo tipo = Tipo::Inclusao;
    QString nome;   // the contact to show afterwards
    QString versao; // a restore: the version's date and time, as listed
    Codificacao codificacao = Codificacao::Windows1252;
    QList<QByteArray> antes, depois; // lines without their ends
    QByteArray arquivoAntes, arquivoDepois;

    MudancaContatos() = default;
    MudancaContatos(Tipo t, QString contato, Codificacao c)
        : tipo(t), nome(std::move(contato)), codificacao(c)
    {
    }

    // A restore from the two whole files: the lines one holds and the other
    // does not, when both are in one encoding.
    static MudancaContatos restauracao(const QByteArray &antes, const QByteArray &depois,
                                       const QString &versao);
    // A record as a line of a file in that encoding, without its end.
    static QByteArray linha(const ContactRecord &r, Codificacao c);

    // An update that changed the name: the name it leaves and the one it
    // gives, taken back (desfazer) or done again.
    std::optional<std::pair<QString, QString>> renomeacao(bool desfazer) const;

    // A merge: the name kept and the others, taken back (desfazer: none) or
    // done again.
    std::optional<std::pair<QString, QStringList>> juncao(bool desfazer) const;

    // "exclusão de Ana Souza", "importação de 212 contatos", "padronização de 3
    // telefones"
    QString descricao() const;
    // The bytes it holds, to bound the memory a long session keeps.
    qsizetype custo() const;

    struct Troca {
        enum class Estado {
            Pronta,   // bytes holds the new file
            Mudou,    // contato changed or went since
            Existe,   // contato would come back beside another of its name
            Invalida, // the file's encoding cannot hold what would come back
        };
        Estado estado = Estado::Pronta;
        QByteArray bytes;
        bool inteiro = false; // bytes are a whole file the change kept
        // The contact in the way; when Pronta, the one to show: the first
        // that comes back, else the first that goes.
        QString contato;
    };
    // The file with the change taken back (desfazer) or done again, touching
    // no other line; refused where one of its own lines is not as it left it.
    Troca trocar(const QByteArray &arquivo, const QLocale &locale, bool desfazer) const;
};
