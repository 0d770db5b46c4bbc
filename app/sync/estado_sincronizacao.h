#pragma once

#include "store/contact_record.h"

#include <QByteArray>
#include <QCborMap>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

// What the last sync agreed with the server, kept in one file beside the
// contact file and rewritten atomically after it. Without it every sync
// would be a first one.
struct EstadoSincronizacao {
    // One card of the address book as the last sync left it.
    struct Cartao {
        QByteArray etag;
        QByteArray bytes;       // the card as last seen
        ContactRecord servidor; // the card's fields, as the import reads them
        // The fields last agreed with the contact file; none while the card
        // has not reached it yet.
        std::optional<ContactRecord> local;
        friend bool operator==(const Cartao &, const Cartao &) = default;
    };

    QString endereco; // as the user gave it
    QString usuario;
    QString colecao; // the address book's URL, once found
    QString nome;    // its name as the server shows it, or empty
    QString syncToken;
    QString ctag;
    bool semSyncCollection = false; // the server has no sync-collection report
    QHash<QString, Cartao> cartoes; // by href, the path of the card's URL
    // Cards the contact file cannot hold, or whose name another card holds
    // here, by href, with their ETag and bytes (no local fields): left on the
    // server as they are, and merged again at every sync, so that one takes
    // over when the card that holds its name goes.
    QHash<QString, Cartao> deixados;
    // New cards being sent, by the contact's name as the duplicate rule
    // compares it: kept before they are sent, so that a sync killed while a
    // card was on its way sends it again to the same place, never twice.
    QHash<QString, QString> pendentes;
    // Cards deleted on the server because their contact was deleted here,
    // oldest first: a contact that comes back exactly as it was (an undo, a
    // version restored) goes back as the same card, whole. Not bounded by a
    // count, so that a whole book deleted at once can come back: within
    // BYTES_APAGADOS of them, and DIAS_APAGADOS of the state's own clock, as
    // long as the file's earlier versions are kept.
    struct Apagado {
        QString href;
        Cartao cartao;
        qint64 quando = 0; // when deleted, by the state's clock
        friend bool operator==(const Apagado &, const Apagado &) = default;
    };
    QList<Apagado> apagados;
    static constexpr qsizetype BYTES_APAGADOS = qsizetype(32) << 20;
    static constexpr int DIAS_APAGADOS = 30;
    // Those deleted now (agora, by the state's clock) kept with the others;
    // a time past agora counts as agora.
    void guardarApagados(const QList<Apagado> &novos, qint64 agora);

    // The state's own clock, in ms since the epoch: the wall clock, but
    // never before the time the state last kept, and never more than a day
    // past it at one reading. A clock set a month ahead (or back) ages the
    // cards' copies and the deletions counted by one day at most.
    qint64 relogio = 0;
    static constexpr qint64 DIA_MS = qint64(24) * 3600 * 1000;
    qint64 agora(qint64 parede) const;

    // Deletions done without a question, on each side, for the guard to add
    // up over a day (one a user confirmed is not counted again).
    struct Apagamento {
        qint64 quando = 0;
        int aqui = 0, la = 0;
        friend bool operator==(const Apagamento &, const Apagamento &) = default;
    };
    QList<Apagamento> apagamentos;
    static constexpr qsizetype APAGAMENTOS = 10'000;
    void contarApagamentos(int aqui, int la, qint64 agora);
    // Those of the last day before agora: on each side.
    Apagamento apagadosNoDia(qint64 agora) const;

    // Contacts renamed here since the last sync, oldest first: the card of
    // the first name follows the second, whatever else changed. Kept until
    // a sync has agreed the new name.
    QList<QPair<QString, QString>> renomeados;
    static constexpr qsizetype RENOMEADOS = 10'000;
    // After a sync: the renames its cards show now are forgotten.
    void esquecerRenomeacoesFeitas();
    // Contacts merged here into one since the last sync: the card of the one
    // kept takes the others' telephones, e-mails and other lines before their
    // cards are deleted. Kept until a sync has done it.
    struct Juncao {
        QString mantido;
        QStringList outros;
        friend bool operator==(const Juncao &, const Juncao &) = default;
    };
    QList<Juncao> juntados;
    static constexpr qsizetype JUNTADOS = 10'000;
    // A rename kept, and followed by the merges whose kept contact it was.
    void acrescentarRenomeacao(const QString &de, const QString &para);
    void acrescentarJuncao(const Juncao &juncao);
    // After a sync: the cards it left out, and those of the last that it
    // could not read (naoLidos) as they were; none the state agrees on.
    void deixar(const QHash<QString, Cartao> &agora, const QSet<QString> &naoLidos);

    static constexpr const char *NOME = "contatos.sincronizacao";
    static QString caminhoAoLado(const QString &caminhoContatos);

    // Nothing when the file is missing; an empty state when it is unreadable
    // or not a state of this program (the next sync is then a first one,
    // which deletes nothing). What was noted after the state was last
    // written whole is read over it (notado: whether anything was). agora:
    // the wall clock (ms since the epoch); none: the system's.
    static EstadoSincronizacao ler(const QString &caminho, qint64 agora = -1,
                                   bool *notado = nullptr);
    // The whole state, what was noted included; its clock brought to agora.
    bool gravar(const QString &caminho, qint64 agora = -1);
    // The same, from and to the file's bytes.
    static EstadoSincronizacao deBytes(const QByteArray &bytes, qint64 agora = -1,
                                       bool *notado = nullptr);
    QByteArray emBytes() const;
    // A note as the file holds it, for tests and fuzzers: appended to a
    // state's bytes, read over it.
    static QByteArray nota(const QCborMap &nota);

    // One thing done, noted at once by an append to the state file beside
    // the contact file, where there is one (connected), so that a sync or a
    // program stopped anywhere loses none of it; ler() reads it over the
    // state. False when it could not be written.
    // A rename, and a merge, made here.
    static bool renomear(const QString &caminhoContatos, const QString &de, const QString &para);
    static bool juntar(const QString &caminhoContatos, const Juncao &juncao);
    // A card written on the server whose contact here agrees with it (devolvido:
    // one of the cards' copies, sent back).
    static bool notarCartao(const QString &caminhoContatos, const QString &href,
                            const Cartao &cartao, bool devolvido);
    // A card deleted on the server, with the copy kept of it (none: nothing
    // to keep); contado: deleted without a question.
    static bool notarApagado(const QString &caminhoContatos, const QString &href,
                             const std::optional<Apagado> &copia, bool contado, qint64 agora);
    // Contacts deleted here by a sync without a question.
    static bool notarApagamentos(const QString &caminhoContatos, int aqui, qint64 agora);

    // The address as kept and compared: never with a user or password in it.
    static QString semCredenciais(const QString &endereco);

    friend bool operator==(const EstadoSincronizacao &, const EstadoSincronizacao &) = default;
};
