#pragma once

#include "model/modelo_principal.h"
#include "operations/gravacao_guardada.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// A contact's telephone to be written anew (the standardisation).
struct TrocaTelefone {
    QString nome, antes, depois;
};

// The editing operations over the main window's model: each states its own
// rules and hands what it changes to the one guarded write.
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
    // Every contact of the list named exactly so.
    QList<ContactRecord> guardados(const QString &nome) const;
    // The list with every contact named exactly nome replaced by novo, or
    // left out where there is none, written the guarded way.
    ResultadoEdicao reescrever(ResultadoEdicao r, const QString &nome,
                               const std::optional<ContactRecord> &novo,
                               GravacaoGuardada::Pedido p);

    ModeloPrincipal &m_modelo;
};
