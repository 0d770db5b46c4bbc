#pragma once

#include "operations/edicao_contatos.h"
#include "store/mudanca_contatos.h"

#include <QList>
#include <QObject>

// The user's changes of this run, to take back and do again in order: each
// one the model reports is kept (a new one forgets what was undone), the
// last LIMITE of them within MEMORIA bytes, and never fewer than the last.
class DesfazerEdicoes : public QObject {
    Q_OBJECT
public:
    static constexpr int LIMITE = 100;
    static constexpr qsizetype MEMORIA = qsizetype(128) * 1024 * 1024;

    explicit DesfazerEdicoes(ModeloPrincipal &modelo, QObject *parent = nullptr);

    bool podeDesfazer() const { return !m_desfazer.isEmpty(); }
    bool podeRefazer() const { return !m_refazer.isEmpty(); }
    // "Desfazer exclusão de Ana Souza", or "Desfazer" with nothing to undo.
    QString textoDesfazer() const;
    QString textoRefazer() const;
    qsizetype quantos() const { return m_desfazer.size(); }

    // The notices say what came of it; a refused change stays where it was.
    ResultadoEdicao desfazer();
    ResultadoEdicao refazer();

Q_SIGNALS:
    void mudou();

private:
    void guardar(const MudancaContatos &m);
    ResultadoEdicao mover(QList<MudancaContatos> &de, QList<MudancaContatos> &para, bool desfazer);

    ModeloPrincipal &m_modelo;
    QList<MudancaContatos> m_desfazer, m_refazer;
};
