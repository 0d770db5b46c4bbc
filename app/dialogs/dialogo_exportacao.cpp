#include "dialogs/dialogo_exportacao.h"

#include <QFileDialog>
#include <QFileInfo>

namespace DialogoExportacao {

QString escolher(QWidget *pai, ContatosExternos::Formato &formato)
{
    const QString vcf = QStringLiteral("vCard (*.vcf)"), csv = QStringLiteral("CSV (*.csv)");
    QFileDialog d(pai, QStringLiteral("Exportar contatos"), QString(),
                  vcf + QLatin1String(";;") + csv);
    d.setObjectName(QStringLiteral("dialogoExportar"));
    d.setAccessibleName(QStringLiteral("Exportar contatos"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setDefaultSuffix(QStringLiteral("vcf"));
    d.selectFile(QStringLiteral("contatos.vcf"));
    QObject::connect(&d, &QFileDialog::filterSelected, &d, [&d, csv](const QString &filtro) {
        d.setDefaultSuffix(filtro == csv ? QStringLiteral("csv") : QStringLiteral("vcf"));
    });
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return QString();
    const QString caminho = d.selectedFiles().constFirst();
    const QString tipo = QFileInfo(caminho).suffix().toLower();
    const bool ehCsv = tipo == u"csv" || (tipo != u"vcf" && d.selectedNameFilter() == csv);
    formato = ehCsv ? ContatosExternos::Formato::Csv : ContatosExternos::Formato::VCard;
    return caminho;
}

} // namespace DialogoExportacao
