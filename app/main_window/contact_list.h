#pragma once

#include "contact_record.h"

#include <QCollator>
#include <QList>
#include <QLocale>
#include <QString>

// The text that stands for a contact in the main window's lists: name, four
// TABs, telephone, TAB, e-mail.
QString MontarEntrada(const ContactRecord &registro);

// The placeholder entry of an empty group: the notice as a contact's name.
QString entradaAviso(const QString &aviso);

// The in-memory copy of the contact file (the main window's lstInicio): one
// entry per contact, sorted ascending by the whole entry text, letter case
// ignored, by the locale's collation; equal texts keep the file's order.
// Each entry keeps its record, so rewrites use the fields as stored.
class ListaInicio {
public:
    explicit ListaInicio(const QLocale &locale);

    // Replaces the whole list; sorting builds keys once and sorts them.
    void definir(const QList<ContactRecord> &registros);

    qsizetype count() const { return m_itens.size(); }
    bool isEmpty() const { return m_itens.isEmpty(); }
    const QString &entrada(qsizetype i) const { return m_itens[i].entrada; }
    const ContactRecord &registro(qsizetype i) const { return m_itens[i].registro; }
    QStringList entradas() const;

private:
    struct Item {
        ContactRecord registro;
        QString entrada;
    };
    QCollator m_collator;
    QList<Item> m_itens;
};
