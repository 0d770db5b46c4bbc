#pragma once

#include "model/modelo_principal.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// What a confirm click comes to, for the dialog to carry out in order: the
// notices, then its own steps. The file and the in-memory list are already
// rewritten and reloaded when it returns.
struct ResultadoEdicao {
    enum class Desfecho {
        Recusado,  // nothing written; the dialog stays open
        Relistado, // nothing written; the main window is to be relisted
        Gravado,   // written and reloaded; the main window is to be relisted
    };
    Desfecho desfecho = Desfecho::Recusado;
    QStringList avisos;
    bool limparNome = false; // the add dialog empties its name field
};

// A contact's telephone to be written anew (the standardisation).
struct TrocaTelefone {
    QString nome, antes, depois;
};

// The add, update and delete operations over the main window's model.
class EdicaoContatos {
public:
    static constexpr int TAMANHO_MAXIMO = 40;

    explicit EdicaoContatos(ModeloPrincipal &modelo) : m_modelo(modelo) {}

    // The 27 characters a name may not begin with.
    static bool PrimeiroProibido(QStringView nome);
    // Removes leading and trailing spaces (0x20) only.
    static QString aparar(QStringView texto);

    // The add dialog's confirm: name rules, duplicates by the trimmed name,
    // the record appended to the file as read. Relists AB afterwards.
    ResultadoEdicao adicionar(const QString &nome, const QString &fone, const QString &mail);

    // The update dialog's confirm for the contact named nomeOriginal. Relists
    // the tab chosen last afterwards.
    ResultadoEdicao atualizar(const QString &nomeOriginal, const QString &nome, const QString &fone,
                              const QString &mail);

    // The delete dialog's confirm: every contact named exactly so goes.
    ResultadoEdicao deletar(const QString &nome);

    // Contacts from other programs' files, each by the add's rules (its
    // fields as the reader gave them; a name empty, starting with a
    // forbidden character, in no tab, or already in the list or earlier in
    // the import, or a field the file cannot hold, leaves it out, counted
    // with those already left out), all appended in one write to the file as
    // it is now. Relists AB afterwards.
    ResultadoEdicao importar(const QList<ContactRecord> &contatos, qsizetype jaIgnorados = 0);

    // Telephones written anew as one change: each contact of that name whose
    // telephone is still the one shown gets the new one, its other fields as
    // they are. Refused, nothing written, where the file changed since it was
    // read. The tab shown stays.
    ResultadoEdicao trocarTelefones(const QList<TrocaTelefone> &trocas);

    // Contacts that are one person, merged: the first of them in the list
    // becomes the record kept (its name one of theirs), the others go, as one
    // change. Refused, nothing written, where the file changed since it was
    // read or one of them is no longer there. The sync is told which names
    // went into which, so that their cards' other lines are kept.
    ResultadoEdicao juntar(const QStringList &nomes, const ContactRecord &mantido);

    // A version of the file, kept in its history, written back as it is
    // (its bytes, encoding and byte-order mark); quando names it.
    ResultadoEdicao restaurar(const QString &caminhoVersao, const QString &quando);

    // A change taken back (desfazer) or done again, touching only its own
    // contacts: refused, nothing written, where one of them has changed
    // since. The list shows the contact it touched.
    ResultadoEdicao aplicar(const MudancaContatos &mudanca, bool desfazer);

private:
    // Every contact of the list named exactly so; as lines of the file.
    QList<ContactRecord> guardados(const QString &nome) const;
    QList<QByteArray> linhas(const QString &nome) const;
    // Refusals shared by update and delete of the contact named so before
    // rewriting from the list: a last read that failed, a file changed since
    // it, or no such contact left.
    bool podeReescrever(ResultadoEdicao &r, const QString &nome);
    // The success of a write (r holds the notices of the write itself): the
    // list brought up to date by the change.
    ResultadoEdicao gravado(ResultadoEdicao r, const QString &aviso, const QByteArray &escrito,
                            bool baseIntacta, const std::function<void(ListaInicio &)> &mudanca);
    // Writes a whole file's bytes, unless they would read back in another
    // encoding or the file is no longer the one they were made from (base):
    // the bytes written, or nothing, with the reason in r (the old file is
    // then intact).
    std::optional<QByteArray> gravar(QByteArray bytes, Codificacao cod,
                                     const ArquivoContatos::Assinatura &base, ResultadoEdicao &r);
    // The same for bytes that are a whole file already (a version): written
    // as they are.
    std::optional<QByteArray> escrever(QByteArray bytes, const ArquivoContatos::Assinatura &base,
                                       ResultadoEdicao &r);
    // After a write of another shape than the dialogs': the list read anew,
    // the contact of that name shown, or at least its tab.
    void mostrarDepois(const QString &nome);
    // Appends the records to the file's bytes as read now (their empty lines
    // dropped) and writes it: the bytes written, or nothing, with the reason
    // in r, when the write failed (the old file is then intact).
    std::optional<QByteArray> anexar(const ArquivoContatos::Leitura &atual, Codificacao cod,
                                     const QList<ContactRecord> &novos, ResultadoEdicao &r);
    // Rewrites the file from the in-memory list, every contact named exactly
    // nome replaced by novo (left out when there is none): the bytes written,
    // or nothing, with the reason in r, when the write failed (the old file is
    // then intact).
    std::optional<QByteArray> GravarContatos(const QString &nome,
                                             const std::optional<ContactRecord> &novo,
                                             ResultadoEdicao &r);

    ModeloPrincipal &m_modelo;
};
