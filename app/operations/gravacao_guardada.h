#pragma once

#include "model/modelo_principal.h"
#include "store/mudanca_contatos.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

// What a confirm click comes to, for the dialog to carry out in order: the
// notices, then its own steps. The file and the in-memory list are already
// rewritten and reloaded when it returns.
struct ResultadoEdicao {
    enum class Desfecho {
        Recusado,  // nothing written; the dialog stays open
        Relistado, // nothing written; the main window is to be relisted
        Gravado,   // written and reloaded; the main window is to be relisted
    };
    // The field a refusal is about: the dialog takes the keyboard back there.
    enum class Campo { Nenhum, Nome, Telefone, Email };
    Desfecho desfecho = Desfecho::Recusado;
    QStringList avisos;
    bool limparNome = false; // the add dialog empties its name field
    Campo campo = Campo::Nenhum;
};

// The one guarded way every change of the contact file takes. An operation
// states its own rules and hands over its lines and its undo record; this
// owns the rest, in order: a last read that failed, another program's change
// since (the list then shows the file as it is), the fields the file's
// encoding can hold, the write only while the file is unchanged and its
// read-back in that encoding, the list brought up to date and relisted, the
// change kept for undo, and the sync told of renames and merges.
class GravacaoGuardada {
public:
    explicit GravacaoGuardada(ModeloPrincipal &modelo) : m_modelo(modelo) {}

    // A change made from the in-memory list (update, delete, standardise,
    // merge), which must still be the file: false, with the notice in r,
    // where the last read failed, another program changed the file since
    // (the list is then read again, the first contact named still chosen),
    // or a contact named is no longer there.
    bool daLista(ResultadoEdicao &r, const QStringList &nomes);

    // The list as a file's bytes: each contact as its own bytes, or, where
    // troca says so, left out or replaced; the lines taken out and put in.
    struct Troca {
        enum class Tipo { Manter, Remover, Trocar };
        Tipo tipo = Tipo::Manter;
        ContactRecord novo;
    };
    struct Reescrita {
        QByteArray bytes;
        QList<QByteArray> antes, depois;
    };
    Reescrita reescrever(const std::function<Troca(qsizetype)> &troca) const;
    // A file's bytes as read, its empty lines dropped, with the records
    // appended, as the add leaves it.
    static QByteArray anexar(const ArquivoContatos::Leitura &atual, Codificacao cod,
                             const QList<ContactRecord> &novos);

    // Whether the file's encoding can hold the fields (one left as the file
    // holds it in guardados always can): else false, with the notice and the
    // first field that cannot in r.
    static bool gravaveis(ResultadoEdicao &r, const ContactRecord &c, Codificacao cod,
                          const QList<ContactRecord> &guardados = {});
    // Whether the fields can be written to a file in that encoding.
    static bool gravaveis(const ContactRecord &c, Codificacao cod,
                          const QList<ContactRecord> &guardados = {});

    // One change to write, and how the window follows it.
    struct Pedido {
        QByteArray bytes;
        Codificacao codificacao = Codificacao::Windows1252;
        // Bytes that are a whole file kept as it was (a version): written as
        // they are, whatever they read back as.
        bool comoEsta = false;
        ArquivoContatos::Assinatura base; // the file they were made from
        QString aviso;                    // the notice of success
        // The change for undo; none for an undo itself.
        std::optional<MudancaContatos> mudanca;
        // The list brought up to date by naLista alone, where it was read
        // from this very file; else read again.
        bool baseIntacta = false;
        std::function<void(ListaInicio &)> naLista;
        enum class Depois {
            AbaAB,        // the AB tab, as the add leaves it
            AbaEscolhida, // the tab chosen last, as the update and delete
            Contato,      // the contact mostrar, or at least its tab
        };
        Depois depois = Depois::AbaEscolhida;
        QString mostrar;
        std::optional<std::pair<QString, QString>> renomeacao;
        std::optional<std::pair<QString, QStringList>> juncao;
    };
    // Written, with r's notices after the success's own; or refused, the
    // old file intact, with the reason in r.
    ResultadoEdicao gravar(ResultadoEdicao r, const Pedido &p);

private:
    ModeloPrincipal &m_modelo;
};
