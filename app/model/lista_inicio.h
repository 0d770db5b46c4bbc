#pragma once

#include "model/classificador_grupos.h"
#include "store/codificacao.h"
#include "store/contact_record.h"

#include <QByteArray>
#include <QCollator>
#include <QList>
#include <QLocale>
#include <QString>
#include <array>
#include <functional>
#include <vector>

// The text that stands for a contact in the main window's lists: name, four
// TABs, telephone, TAB, e-mail.
QString MontarEntrada(const ContactRecord &registro);

// An entry as a screen reader says it: "Ana Souza, telefone (11) 1111,
// e-mail a@x.com", each field only where there is one.
QString entradaFalada(QStringView entrada);

// The placeholder entry of an empty group: the notice as a contact's name.
QString entradaAviso(const QString &aviso);

// The in-memory copy of the contact file (the main window's lstInicio): one
// entry per contact, sorted ascending by the whole entry text, letter case
// ignored, by the locale's collation; equal texts keep the file's order.
//
// Built for a lifetime of contacts: the fields stay in the file's own bytes
// (in the file's own encoding), only the names are decoded, each
// entry knows its letter group, and the editing operations change single
// entries instead of sorting anew.
class ListaInicio {
public:
    ListaInicio(const QLocale &locale, const ClassificadorGrupos &grupos);

    // Replaces the whole list, kept in the given encoding.
    void definir(const QList<ContactRecord> &registros,
                 Codificacao codificacao = Codificacao::Windows1252);
    // Replaces the whole list with the records of a contact file's bytes,
    // in the encoding the file is found in.
    void carregar(const QByteArray &bytes);
    Codificacao codificacao() const { return m_codificacao; }

    // A record appended to the file: placed after every equal entry.
    void inserir(const ContactRecord &registro);
    // Every entry named exactly so goes.
    qsizetype remover(QStringView nome);
    // Every entry named exactly so becomes the record, placed as the sorted
    // reading of a file rewritten in this list's order would place it.
    qsizetype substituir(QStringView nome, const ContactRecord &registro);

    qsizetype count() const { return qsizetype(m_itens.size()); }
    bool isEmpty() const { return m_itens.empty(); }
    QStringView nome(qsizetype i) const { return nomeDe(m_itens[size_t(i)]); }
    QString telefone(qsizetype i) const;
    QString email(qsizetype i) const;
    // Those fields as the file holds them, in its encoding.
    QByteArrayView telefoneBytes(qsizetype i) const
    {
        const Item &it = m_itens[size_t(i)];
        return QByteArrayView(m_bytes).sliced(it.fone, it.tamanho[1]);
    }
    // Every entry's name and fields with its place in the list, in the
    // order the list's bytes hold them (the file's, mostly): reading them so
    // reads memory in order, where the list's order would jump about.
    struct Pedaco {
        qint32 lista;
        QStringView nome;
        QByteArrayView telefone, email;
    };
    void paraCadaNaOrdemDosBytes(const std::function<void(const Pedaco &)> &f) const;
    QByteArrayView emailBytes(qsizetype i) const
    {
        const Item &it = m_itens[size_t(i)];
        return QByteArrayView(m_bytes).sliced(it.mail, it.tamanho[2]);
    }
    ContactRecord registro(qsizetype i) const;
    QString entrada(qsizetype i) const { return MontarEntrada(registro(i)); }
    // The record as a line of the file, in its own bytes.
    void anexarRegistro(qsizetype i, QByteArray &destino) const;
    // The letter group of the entry, or -1.
    int grupo(qsizetype i) const { return m_itens[size_t(i)].grupo; }
    QStringList entradas() const;

private:
    struct Item {
        qint32 nomeBytes;   // where the name starts in m_bytes
        qint32 nomeTexto;   // and in m_nomes
        qint32 nomeTamanho; // its length in m_nomes
        qint32 fone, mail;
        qint32 tamanho[3]; // lengths in m_bytes
        qint32 ordem;      // place in the file, for equal entries
        qint8 grupo;
        bool temPrefixo;
        // The first letters of the name as ranks of the collation's first
        // level, to order most names without asking the collator.
        quint64 prefixo[3];
    };
    static constexpr int PALAVRAS = 3;
    static constexpr int LETRAS = 9 * PALAVRAS;
    class Comparador;

    QStringView nomeDe(const Item &it) const
    {
        return QStringView(m_nomes).sliced(it.nomeTexto, it.nomeTamanho);
    }
    Item novoItem(const ContactRecord &r);
    void calcularPrefixo(Item &it);
    quint8 ordemPrimaria(QChar c) const;
    QString decodificar(qint32 inicio, qint32 tamanho) const;
    void prepararOrdem();
    void ordenarTudo();
    qsizetype posicao(const Item &it, const std::vector<qint32> *origem) const;

    QLocale m_locale;
    const ClassificadorGrupos &m_grupos;
    // Where names fold to base letters exactly as the collation weighs them
    // first, most entries are ordered by their names alone.
    bool m_porNome;
    // Each Windows-1252 byte's place in the collation's first-level order
    // once folded to its base letter; 0 where that is not certain.
    std::array<quint8, 256> m_ordemPrimaria{};
    bool m_ordemPronta = false;
    Codificacao m_codificacao = Codificacao::Windows1252;
    QByteArray m_bytes;
    QString m_nomes;
    std::vector<Item> m_itens;
};
