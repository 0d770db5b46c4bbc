#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QTimer;

// The notice: one message over the main window for a moment, closed only by
// its own timer; no click or key closes it earlier.
class KV_ContAd : public QDialog {
    Q_OBJECT
public:
    static constexpr int DURACAO_MS = 1500;

    KV_ContAd(QWidget *principal, const QString &texto, int duracaoMs = DURACAO_MS);

    void reject() override;

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void Timer1_Timer();

    QLabel *m_label1;
    QTimer *m_timer1;
    bool m_expirado = false;
};
