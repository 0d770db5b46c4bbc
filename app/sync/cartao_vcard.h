#pragma once

#include "store/contact_record.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One card of an address book, changed in place: a change of the name, the
// telephone or the e-mail touches only FN and N, the one TEL or EMAIL the
// phone book shows (its parameters kept), or adds or removes that one line.
// Every other line stays byte for byte.
class CartaoVCard {
public:
    // Past this a card is left as it is on the server.
    static constexpr qsizetype TAMANHO_MAXIMO = qsizetype(8) << 20;

    // Nothing unless the bytes hold exactly one card the reader takes.
    static std::optional<CartaoVCard> ler(const QByteArray &bytes);
    // A new vCard 3.0 card of the contact.
    static CartaoVCard novo(const ContactRecord &contato, const QString &uid);

    // The contact as the import reads the card.
    const ContactRecord &registro() const { return m_registro; }
    QByteArray bytes() const;

    // The card showing the contact's fields; false, the card unchanged,
    // when it would not read back with them.
    [[nodiscard]] bool aplicar(const ContactRecord &contato);
    // Keeps a value that lost a conflict on the card, as one more line.
    void acrescentarTelefone(const QString &telefone);
    void acrescentarEmail(const QString &email);
    void acrescentarNota(const QString &nota);
    // Another card of the same person, merged here: its telephones, e-mails
    // and other lines this card lacks, added at its end (its name, UID and
    // version not); the contact this card shows stays the same.
    void acrescentarCartao(const CartaoVCard &outro);

private:
    struct Linha {
        QByteArray bruta;      // as it stands, folds and line end included
        QByteArray desdobrada; // unfolded, without its line end
        QByteArray nome;       // upper-case, without its group
        bool doCartao = false; // of the card itself, not of one inside it
    };

    CartaoVCard() = default;
    bool analisar();
    qsizetype mostrada(const QByteArray &nome) const;
    qsizetype primeira(const QByteArray &nome) const;
    qsizetype fim() const;
    QByteArray montar(QByteArrayView prefixo, const QString &valor) const;
    // A whole unfolded line folded at 75 octets, never before its value.
    QByteArray dobrar(const QByteArray &inteira, qsizetype prefixo) const;
    void trocar(qsizetype i, const QString &valor);
    void inserir(qsizetype antes, QByteArrayView prefixo, const QString &valor);
    void trocarCampo(const QByteArray &nome, const QString &valor);
    void trocarN(const QString &nome);
    void reler();

    QList<Linha> m_linhas;
    QByteArray m_fimDeLinha = "\r\n";
    QByteArray m_versao;
    ContactRecord m_registro;
};
