#include "frm1.h"

#include "conversao.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

// Twips to pixels, 15 a pixel.
QRect pixels(int left, int top, int width, int height)
{
    return {qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0)};
}

// "MS Sans Serif" 8.25 point, or the nearest sans serif where it is missing.
QFont fonteJanela(bool negrito)
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                   QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(11);
    f.setBold(negrito);
    return f;
}

} // namespace

frm1::frm1(const QString &caminho)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_caminho(caminho.isEmpty()
                    ? QCoreApplication::applicationDirPath() + QStringLiteral("/contatos.txt")
                    : caminho)
{
    setObjectName(QStringLiteral("frm1"));
    setWindowTitle(QStringLiteral("Marvessa Fonelo Converter"));
    setWindowIcon(QIcon(QStringLiteral(":/conversor/conversor.ico")));
    setFont(fonteJanela(false));
    setFixedSize(pixels(0, 0, 3870, 2070).size());

    m_cmdConverter = new QPushButton(QStringLiteral("Converter!"), this);
    m_cmdConverter->setObjectName(QStringLiteral("cmdConverter"));
    m_cmdConverter->setGeometry(pixels(360, 1320, 3135, 375));

    m_lblDescricao = new QLabel(
        QStringLiteral("Este programa converte a lista de contatos das versões anteriores do "
                       "Marvessa Fonelo para a versão 1.2 em diante."),
        this);
    m_lblDescricao->setObjectName(QStringLiteral("lblDescricao"));
    m_lblDescricao->setGeometry(pixels(360, 120, 3135, 735));
    m_lblDescricao->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lblDescricao->setWordWrap(true);

    m_lblAviso = new QLabel(this);
    m_lblAviso->setObjectName(QStringLiteral("lblAviso"));
    m_lblAviso->setGeometry(pixels(360, 960, 3135, 255));
    m_lblAviso->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lblAviso->setFont(fonteJanela(true));

    connect(m_cmdConverter, &QPushButton::clicked, this, &frm1::cmdConverter_Click);
    m_cmdConverter->setFocus();

    // Form_Load: only looks; nothing is read.
    m_lblAviso->setText(Conversao::existe(m_caminho)
                            ? Conversao::DETECTADA
                            : Conversao::mensagem(Conversao::Resultado::NaoEncontrada));

    if (const QScreen *tela = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(0, 0), size());
        r.moveCenter(tela->availableGeometry().center());
        move(r.topLeft());
    }
}

void frm1::cmdConverter_Click()
{
    m_lblAviso->setText(Conversao::mensagem(Conversao::converterArquivo(m_caminho)));
}
