#include "pictures.h"

#include <QFile>
#include <QFont>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kTexto(0xE8, 0xE6, 0xE3);
const QColor kFundoEscuro(0x26, 0x27, 0x2B);

QImage nova(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QFont fonte(int px, bool negrito)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(px);
    f.setBold(negrito);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QImage fundoPrincipal()
{
    QImage img(196, 300, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 300);
    g.setColorAt(0, QColor(0x3A, 0x3C, 0x42));
    g.setColorAt(0.5, kFundoEscuro);
    g.setColorAt(1, QColor(0x18, 0x19, 0x1C));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x55, 0x58, 0x60), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 195, 299), 7, 7);
    p.setPen(QColor(255, 255, 255, 40));
    p.drawLine(8, 2, 188, 2);
    return img;
}

QImage painel()
{
    QImage img = nova(168, 136);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x12, 0x13, 0x16));
    p.setPen(QPen(QColor(0x5E, 0x62, 0x6B), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 167, 135), 5, 5);
    return img;
}

QImage padraoLista()
{
    QImage img(180, 259, QImage::Format_RGB32);
    img.fill(QColor(0x1B, 0x1D, 0x22));
    QPainter p(&img);
    p.setPen(QColor(0x23, 0x26, 0x2C));
    for (int y = 0; y < 259; y += 13)
        p.drawLine(0, y, 179, y);
    p.setPen(QColor(0x21, 0x23, 0x29));
    for (int x = -259; x < 180; x += 9)
        p.drawLine(x, 258, x + 259, 0);
    return img;
}

QImage marca()
{
    QImage img = nova(93, 24);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setBrush(QColor(0x4F, 0x9D, 0xDE));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(1, 5, 14, 14));
    p.setPen(Qt::white);
    p.setFont(fonte(9, true));
    p.drawText(QRectF(1, 5, 14, 14), Qt::AlignCenter, QStringLiteral("M"));
    p.setPen(kTexto);
    p.setFont(fonte(11, true));
    p.drawText(QRectF(19, 0, 74, 24), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Fonelo"));
    return img;
}

QImage aba(const QString &letras)
{
    QImage img = nova(22, 13);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x3A, 0x3D, 0x44));
    p.setPen(QPen(QColor(0x6A, 0x6E, 0x78), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 21, 12), 3, 3);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(kTexto);
    p.setFont(fonte(9, true));
    p.drawText(QRect(0, 0, 22, 13), Qt::AlignCenter, letras);
    return img;
}

QImage seta(bool avanca, bool habilitada)
{
    QImage img = nova(25, 14);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor cor = habilitada ? QColor(0x4F, 0x9D, 0xDE) : QColor(0x48, 0x4B, 0x52);
    p.setBrush(cor);
    p.setPen(Qt::NoPen);
    QPainterPath t;
    if (avanca) {
        t.moveTo(7, 1.5);
        t.lineTo(19, 7);
        t.lineTo(7, 12.5);
    } else {
        t.moveTo(18, 1.5);
        t.lineTo(6, 7);
        t.lineTo(18, 12.5);
    }
    t.closeSubpath();
    p.drawPath(t);
    return img;
}

QImage botao16(const QString &nome)
{
    QImage img = nova(16, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPen caneta(kTexto, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (nome == QLatin1String("imgAdiciona")) {
        caneta.setColor(QColor(0x6C, 0xC0, 0x5A));
        p.setPen(caneta);
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
    } else if (nome == QLatin1String("imgAtualiza")) {
        caneta.setColor(QColor(0xE8, 0xB9, 0x4A));
        p.setPen(caneta);
        p.drawLine(QPointF(4, 12), QPointF(12, 4));
        p.drawLine(QPointF(3, 13), QPointF(5, 13));
    } else if (nome == QLatin1String("imgDeleta")) {
        caneta.setColor(QColor(0xE0, 0x5A, 0x50));
        p.setPen(caneta);
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    } else if (nome == QLatin1String("imgRefresh")) {
        caneta.setWidthF(1.6);
        caneta.setColor(QColor(0x8F, 0xC8, 0xF0));
        p.setPen(caneta);
        p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x8F, 0xC8, 0xF0));
        QPainterPath ponta;
        ponta.moveTo(9, 0.5);
        ponta.lineTo(13.5, 3.5);
        ponta.lineTo(9, 6.5);
        ponta.closeSubpath();
        p.drawPath(ponta);
    } else if (nome == QLatin1String("imgAbout")) {
        p.setPen(QPen(QColor(0x8F, 0xC8, 0xF0), 1.4));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x8F, 0xC8, 0xF0));
        p.drawEllipse(QRectF(7, 4, 2, 2));
        p.drawRect(QRectF(7, 7, 2, 5));
    }
    return img;
}

QImage janela(bool fechar)
{
    QImage img = nova(20, 27);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(fechar ? QColor(0x8E, 0x2F, 0x2A) : QColor(0x3A, 0x3D, 0x44));
    p.setPen(QPen(QColor(0x6A, 0x6E, 0x78), 1));
    p.drawRoundedRect(QRectF(0.5, 4.5, 19, 18), 4, 4);
    p.setPen(QPen(kTexto, 1.8, Qt::SolidLine, Qt::RoundCap));
    if (fechar) {
        p.drawLine(QPointF(6.5, 9.5), QPointF(13.5, 16.5));
        p.drawLine(QPointF(13.5, 9.5), QPointF(6.5, 16.5));
    } else {
        p.drawLine(QPointF(6, 16), QPointF(14, 16));
    }
    return img;
}

QImage fundoDialogo()
{
    QImage img(180, 259, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 140);
    g.setColorAt(0, QColor(0x2F, 0x4E, 0x6B));
    g.setColorAt(1, QColor(0x1C, 0x31, 0x47));
    p.fillRect(img.rect(), g);
    p.setPen(QColor(255, 255, 255, 25));
    for (int y = 3; y < 259; y += 6)
        p.drawLine(0, y, 179, y);
    return img;
}

QImage desenhar(const QString &nome)
{
    if (nome == QLatin1String("fundo"))
        return fundoPrincipal();
    if (nome == QLatin1String("imgPainel"))
        return painel();
    if (nome == QLatin1String("Image1"))
        return padraoLista();
    if (nome == QLatin1String("imMarca"))
        return marca();
    if (nome == QLatin1String("fundoDialogo"))
        return fundoDialogo();
    if (nome == QLatin1String("imgFecha") || nome == QLatin1String("imgMinimiza"))
        return janela(nome == QLatin1String("imgFecha"));
    if (nome.startsWith(QLatin1String("imgAvanca")) || nome.startsWith(QLatin1String("imgRetorna")))
        return seta(nome.startsWith(QLatin1String("imgAvanca")),
                    !nome.endsWith(QLatin1String("Disable")));
    if (nome.startsWith(QLatin1String("lbl")) && nome.size() == 5)
        return aba(nome.mid(3));
    const QImage b = botao16(nome);
    return b;
}

} // namespace

namespace Imagens {

QPixmap imagem(const QString &nome)
{
    static QHash<QString, QPixmap> cache;
    auto it = cache.constFind(nome);
    if (it != cache.constEnd())
        return *it;
    QPixmap pm = QPixmap::fromImage(desenhar(nome));
    cache.insert(nome, pm);
    return pm;
}

} // namespace Imagens
