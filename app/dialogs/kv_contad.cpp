#include "dialogs/kv_contad.h"

#include "chrome/construtor_controles.h"

#include "layouts/imagens.h"
#include "layouts/layout_dialogos.h"
#include "layouts/twips.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace {

// Screen readers learn that the notice is an alert, and read it as it shows.
QAccessibleInterface *acessivelDoAviso(const QString &classe, QObject *objeto)
{
    if (classe == QLatin1String(KV_ContAd::staticMetaObject.className()) && objeto->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(objeto), QAccessible::AlertMessage);
    return nullptr;
}

} // namespace

KV_ContAd::KV_ContAd(QWidget *principal, const QString &texto, int duracaoMs)
    : QDialog(principal, Qt::Dialog | Qt::FramelessWindowHint)
{
    static const bool fabrica = [] {
        QAccessible::installFactory(acessivelDoAviso);
        return true;
    }();
    Q_UNUSED(fabrica);
    LayoutDialogos::prepararJanela(LayoutDialogos::ContAd, this);
    setFixedSize(size());
    setModal(true);
    m_label1 = qobject_cast<QLabel *>(
        ConstrutorControles::construir(LayoutDialogos::ContAd.controles, this)
            .value(QStringLiteral("Label1")));
    m_label1->setText(texto);
    setAccessibleName(texto);

    // Form_Load: over the upper part of the main window's list, wherever it is.
    if (principal)
        move(principal->pos() + Twips::ponto(245, 600));

    m_timer1 = new QTimer(this);
    m_timer1->setSingleShot(true);
    m_timer1->setTimerType(Qt::PreciseTimer);
    m_timer1->setInterval(duracaoMs);
    connect(m_timer1, &QTimer::timeout, this, &KV_ContAd::Timer1_Timer);
    m_timer1->start();
}

void KV_ContAd::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    QAccessibleEvent alerta(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alerta);
}

void KV_ContAd::Timer1_Timer()
{
    m_expirado = true;
    done(QDialog::Accepted);
}

void KV_ContAd::reject()
{
    if (m_expirado)
        QDialog::reject();
}

void KV_ContAd::keyPressEvent(QKeyEvent *e)
{
    e->accept();
}

void KV_ContAd::closeEvent(QCloseEvent *e)
{
    if (m_expirado)
        e->accept();
    else
        e->ignore();
}

void KV_ContAd::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), LayoutDialogos::corDeFundo(LayoutDialogos::ContAd, this));
    p.drawPixmap(0, 0, Imagens::imagem(QStringLiteral("fundoDialogo")));
}
