#pragma once

#include <QObject>
#include <QStringList>

class Agenda;
class DialogosPrincipal;
class QWidget;
struct OpcoesPrincipal;

// The contacts that come in and go out as other programs' files: imported
// from the files chosen or dropped on the window (every contact of them, or
// none when one is no vCard or CSV or cannot be read), exported to the file
// chosen in the format chosen.
class ArquivosContatos : public QObject {
    Q_OBJECT
public:
    ArquivosContatos(QWidget &janela, Agenda &agenda, DialogosPrincipal &dialogos,
                     const OpcoesPrincipal &opcoes);

    // The files asked for, then imported; the file asked for, then exported.
    void importar();
    void exportar();
    void importarArquivos(const QStringList &caminhos);

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    QWidget &m_janela;
    Agenda &m_agenda;
    DialogosPrincipal &m_dialogos;
    const OpcoesPrincipal &m_opcoes;
};
