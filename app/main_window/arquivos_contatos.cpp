#include "main_window/arquivos_contatos.h"

#include "dialogs/dialogo_exportacao.h"
#include "main_window/dialogos_principal.h"
#include "main_window/opcoes_principal.h"
#include "operations/agenda.h"
#include "operations/intercambio_contatos.h"

#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QTimer>

ArquivosContatos::ArquivosContatos(QWidget &janela, Agenda &agenda, DialogosPrincipal &dialogos,
                                   const OpcoesPrincipal &opcoes)
    : QObject(&janela), m_janela(janela), m_agenda(agenda), m_dialogos(dialogos), m_opcoes(opcoes)
{
    // Contact files dropped anywhere on the window are imported.
    janela.setAcceptDrops(true);
    janela.installEventFilter(this);
}

void ArquivosContatos::importarArquivos(const QStringList &caminhos)
{
    // The list is shown as it is now, then the notices over it.
    m_dialogos.avisar(m_agenda.importar(caminhos));
}

void ArquivosContatos::importar()
{
    const QStringList arquivos =
        m_opcoes.escolherImportacao
            ? m_opcoes.escolherImportacao()
            : QFileDialog::getOpenFileNames(&m_janela, QStringLiteral("Importar contatos"), {},
                                            QStringLiteral("Contatos (*.vcf *.csv)"));
    if (!arquivos.isEmpty())
        importarArquivos(arquivos);
}

void ArquivosContatos::exportar()
{
    auto formato = ContatosExternos::Formato::VCard;
    const QString caminho = m_opcoes.escolherExportacao
                                ? m_opcoes.escolherExportacao(formato)
                                : DialogoExportacao::escolher(&m_janela, formato);
    if (!caminho.isEmpty())
        m_dialogos.avisar({m_agenda.exportar(caminho, formato)});
}

bool ArquivosContatos::eventFilter(QObject *o, QEvent *e)
{
    if (o != &m_janela || (e->type() != QEvent::DragEnter && e->type() != QEvent::Drop))
        return false;
    auto *d = static_cast<QDropEvent *>(e);
    if (!d->mimeData()->hasUrls() || !IntercambioContatos::importaveis(d->mimeData()->urls()))
        return false;
    d->acceptProposedAction();
    if (e->type() == QEvent::Drop) {
        QStringList caminhos;
        for (const QUrl &u : d->mimeData()->urls())
            caminhos.append(u.toLocalFile());
        // After the drop has ended: a notice is a modal window of its own.
        QTimer::singleShot(0, this, [this, caminhos] { importarArquivos(caminhos); });
    }
    return true;
}
