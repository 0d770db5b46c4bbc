#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The converter's one window: a description, a status line and the button.
class frm1 : public QWidget {
    Q_OBJECT
public:
    // caminho: the contact file; empty, "contatos.txt" beside the program.
    explicit frm1(const QString &caminho = QString());

    void cmdConverter_Click();
    QString caminho() const { return m_caminho; }

private:
    QString m_caminho;
    QPushButton *m_cmdConverter;
    QLabel *m_lblDescricao;
    QLabel *m_lblAviso;
};
