// Draws every picture of the phone book and its converter and writes them
// as PNG files (binary transparency, ready for GIF) and ICO files. Run by
// app/layouts/gerar_imagens.sh, which turns the PNGs into GIF and JPEG.
#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kTexto(0xE8, 0xE6, 0xE3);
const QColor kFundoEscuro(0x26, 0x27, 0x2B);

// Pixels per point of the pictures being drawn: 1, or 2 for the @2x set that
// Qt picks on screens of more pixels per point. Every picture is drawn in
// points; a painter on an image of ratio 2 doubles it.
int escala = 1;

QImage nova(int w, int h, QImage::Format formato = QImage::Format_ARGB32_Premultiplied)
{
    QImage img(w * escala, h * escala, formato);
    img.setDevicePixelRatio(escala);
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
    QImage img = nova(196, 300, QImage::Format_RGB32);
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
    QImage img = nova(180, 259, QImage::Format_RGB32);
    img.fill(QColor(0x1B, 0x1D, 0x22));
    QPainter p(&img);
    p.setPen(QColor(0x23, 0x26, 0x2C));
    for (int y = 0; y < 259; y += 13)
        p.fillRect(QRectF(0, y, 180, 1), QColor(0x23, 0x26, 0x2C));
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
    // Dark behind the white captions and notices at the top, light at the
    // bottom behind the About window's blue notice.
    QImage img = nova(180, 259, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 259);
    g.setColorAt(0, QColor(0x2F, 0x4E, 0x6B));
    g.setColorAt(85.0 / 259, QColor(0x1C, 0x31, 0x47));
    g.setColorAt(112.0 / 259, QColor(0xC9, 0xD9, 0xE6));
    g.setColorAt(1, QColor(0xE4, 0xEC, 0xF2));
    p.fillRect(img.rect(), g);
    p.setPen(QColor(255, 255, 255, 25));
    for (int y = 3; y < 259; y += 6)
        p.drawLine(0, y, 179, y);
    return img;
}

// The hand pointer: a white glove with a dark outline, index finger up.
QImage mao()
{
    QImage img = nova(32, 32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath m;
    m.addRoundedRect(QRectF(9, 1, 5, 16), 2.5, 2.5);      // index finger
    m.addRoundedRect(QRectF(13.5, 8, 4.5, 10), 2.2, 2.2); // middle
    m.addRoundedRect(QRectF(17.5, 9, 4.5, 10), 2.2, 2.2); // ring
    m.addRoundedRect(QRectF(21.5, 10.5, 4, 9), 2, 2);     // little
    m.addRoundedRect(QRectF(9, 13, 16.5, 13), 5, 5);      // palm
    QPainterPath polegar;
    polegar.moveTo(10, 18);
    polegar.lineTo(5, 13.5);
    polegar.quadTo(2.5, 13.5, 3.5, 16.5);
    polegar.lineTo(10, 25);
    polegar.closeSubpath();
    m = m.united(polegar).simplified();
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::black, 1.2));
    p.drawPath(m);
    return img;
}

// The About picture: the brand's round mark, large.
QImage sobre()
{
    QImage img = nova(48, 48, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(18, 16), 30);
    g.setColorAt(0, QColor(0x7F, 0xBE, 0xF0));
    g.setColorAt(1, QColor(0x19, 0x51, 0xB9));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(3, 3, 42, 42));
    p.setPen(Qt::white);
    p.setFont(fonte(26, true));
    p.drawText(QRectF(3, 3, 42, 42), Qt::AlignCenter, QStringLiteral("M"));
    return img;
}

// The phone book's icon: a dark rounded device with the round mark. The
// Linux menu's scalable icon, packaging/linux/icons/hicolor/scalable/apps/
// marvessa-fonelo.svg, draws the same shapes: change both.
QImage icone(int lado)
{
    QImage img = nova(lado, lado);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = lado / 64.0;
    p.scale(s, s);
    p.setBrush(QColor(0x2B, 0x2D, 0x33));
    p.setPen(QPen(QColor(0x6A, 0x6E, 0x78), 2));
    p.drawRoundedRect(QRectF(10, 2, 44, 60), 8, 8);
    p.setBrush(QColor(0x12, 0x13, 0x16));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(16, 10, 32, 30), 3, 3);
    p.setBrush(QColor(0x4F, 0x9D, 0xDE));
    p.drawEllipse(QRectF(22, 14, 20, 20));
    p.setPen(Qt::white);
    p.setFont(fonte(14, true));
    p.drawText(QRectF(22, 14, 20, 20), Qt::AlignCenter, QStringLiteral("M"));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xB0, 0xB4, 0xBC));
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(QRectF(18 + i * 10, 46, 8, 5), 1.5, 1.5);
    return img;
}

// The side picture of the Windows setup's first and last pages, at the size
// its pages take: the icon and the name on the panel's colour.
QImage faixaInstalador()
{
    QImage img(164, 314, QImage::Format_RGB32);
    img.fill(kFundoEscuro);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(QPoint(18, 48), icone(128));
    p.setPen(kTexto);
    p.setFont(fonte(20, true));
    p.drawText(QRectF(0, 196, 164, 60), Qt::AlignCenter, QStringLiteral("Marvessa\nFonelo"));
    return img;
}

// The converter's icon: a page and an arrow into a newer page.
QImage iconeConversor(int lado)
{
    QImage img = nova(lado, lado);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = lado / 48.0;
    p.scale(s, s);
    p.setPen(QPen(QColor(0x55, 0x58, 0x60), 1.5));
    p.setBrush(QColor(0xE8, 0xE6, 0xE3));
    p.drawRect(QRectF(3, 4, 20, 26));
    p.setBrush(QColor(0x4F, 0x9D, 0xDE));
    p.drawRect(QRectF(25, 18, 20, 26));
    p.setPen(QPen(QColor(0x2B, 0x6C, 0x2A), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(12, 36), QPointF(20, 36));
    p.drawLine(QPointF(17, 32), QPointF(21, 36));
    p.drawLine(QPointF(17, 40), QPointF(21, 36));
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
    if (nome == QLatin1String("mao"))
        return mao();
    if (nome == QLatin1String("sobre"))
        return sobre();
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

// GIF keeps a pixel or drops it: half-covered edges are laid over the colour
// the picture stands on, the rest becomes transparent.
QImage binarizar(const QImage &origem, const QColor &fosco)
{
    QImage img = origem.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto *linha = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = linha[x];
            const int a = qAlpha(c);
            if (a < 110) {
                linha[x] = qRgba(0, 0, 0, 0);
                continue;
            }
            const auto mistura = [a](int cor, int fundo) {
                return (cor * a + fundo * (255 - a)) / 255;
            };
            linha[x] = qRgb(mistura(qRed(c), fosco.red()), mistura(qGreen(c), fosco.green()),
                            mistura(qBlue(c), fosco.blue()));
        }
    }
    return img;
}

// An ICO file holding each size twice: 256 colours (a DIB with a mask) and
// 32-bit colour (PNG).
QByteArray montarIco(const QList<QImage> &imagens)
{
    QList<QByteArray> dados;
    QList<QPair<int, int>> tipo; // side, bits
    for (const QImage &origem : imagens) {
        const int lado = origem.width();
        // 8 bits: palette, pixels bottom-up, then the 1-bit AND mask.
        const QImage argb = origem.convertToFormat(QImage::Format_ARGB32);
        QImage idx = binarizar(argb, QColor(0x2B, 0x2D, 0x33))
                         .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        QByteArray dib;
        QDataStream d(&dib, QIODevice::WriteOnly);
        d.setByteOrder(QDataStream::LittleEndian);
        d << quint32(40) << qint32(lado) << qint32(lado * 2) << quint16(1) << quint16(8)
          << quint32(0) << quint32(0) << qint32(0) << qint32(0) << quint32(256) << quint32(0);
        const QList<QRgb> paleta = idx.colorTable();
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < paleta.size() ? paleta[i] : 0;
            d << quint8(qBlue(c)) << quint8(qGreen(c)) << quint8(qRed(c)) << quint8(0);
        }
        const int linhaPixels = (lado + 3) & ~3;
        for (int y = lado - 1; y >= 0; --y) {
            for (int x = 0; x < linhaPixels; ++x)
                d << quint8(x < lado ? idx.pixelIndex(x, y) : 0);
        }
        const int linhaMascara = ((lado + 31) / 32) * 4;
        for (int y = lado - 1; y >= 0; --y) {
            QByteArray bits(linhaMascara, 0);
            for (int x = 0; x < lado; ++x) {
                if (qAlpha(argb.pixel(x, y)) < 110)
                    bits[x / 8] = char(bits[x / 8] | (0x80 >> (x % 8)));
            }
            d.writeRawData(bits.constData(), bits.size());
        }
        dados.append(dib);
        tipo.append({lado, 8});

        QByteArray png;
        QBuffer b(&png);
        b.open(QIODevice::WriteOnly);
        argb.save(&b, "PNG");
        dados.append(png);
        tipo.append({lado, 32});
    }
    QByteArray ico;
    QDataStream d(&ico, QIODevice::WriteOnly);
    d.setByteOrder(QDataStream::LittleEndian);
    d << quint16(0) << quint16(1) << quint16(dados.size());
    quint32 deslocamento = 6 + 16 * dados.size();
    for (int i = 0; i < dados.size(); ++i) {
        const int lado = tipo[i].first;
        d << quint8(lado >= 256 ? 0 : lado) << quint8(lado >= 256 ? 0 : lado) << quint8(0)
          << quint8(0) << quint16(1) << quint16(tipo[i].second) << quint32(dados[i].size())
          << deslocamento;
        deslocamento += dados[i].size();
    }
    for (const QByteArray &x : dados)
        d.writeRawData(x.constData(), x.size());
    return ico;
}

bool gravar(const QString &caminho, const QByteArray &bytes)
{
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        qWarning("usage: gerar_imagens <png folder> <ico folder of the converter>");
        return 2;
    }
    const QDir png(QString::fromLocal8Bit(argv[1]));
    const QDir conversor(QString::fromLocal8Bit(argv[2]));

    // Each picture and the colour it stands on, for its edges.
    const QColor fundo(0x2A, 0x2B, 0x30);
    const QList<QPair<QString, QColor>> imagens = {
        {QStringLiteral("fundo"), fundo},
        {QStringLiteral("imgPainel"), fundo},
        {QStringLiteral("imMarca"), QColor(0x38, 0x3A, 0x40)},
        {QStringLiteral("Image1"), fundo},
        {QStringLiteral("fundoDialogo"), fundo},
        {QStringLiteral("imgAdiciona"), fundo},
        {QStringLiteral("imgAtualiza"), fundo},
        {QStringLiteral("imgDeleta"), fundo},
        {QStringLiteral("imgRefresh"), QColor(0x1A, 0x1B, 0x1E)},
        {QStringLiteral("imgAbout"), QColor(0x1A, 0x1B, 0x1E)},
        {QStringLiteral("imgFecha"), QColor(0x38, 0x3A, 0x40)},
        {QStringLiteral("imgMinimiza"), QColor(0x38, 0x3A, 0x40)},
        {QStringLiteral("imgAvanca"), fundo},
        {QStringLiteral("imgAvancaDisable"), fundo},
        {QStringLiteral("imgRetorna"), fundo},
        {QStringLiteral("imgRetornaDisable"), fundo},
        {QStringLiteral("mao"), Qt::white},
        {QStringLiteral("sobre"), Qt::white},
    };
    bool ok = true;
    for (const int e : {1, 2}) {
        escala = e;
        const QString sufixo = e == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png");
        for (const auto &[nome, fosco] : imagens) {
            // The pointer keeps the system's size.
            if (e == 1 || nome != QLatin1String("mao"))
                ok &= binarizar(desenhar(nome), fosco).save(png.filePath(nome + sufixo));
        }
        for (const char *aba :
             {"AB", "CD", "EF", "GH", "IJ", "KL", "MN", "OP", "QR", "ST", "UV", "WX", "YZ", "09"}) {
            const QString nome = QStringLiteral("lbl") + QLatin1String(aba);
            ok &= binarizar(desenhar(nome), Qt::black).save(png.filePath(nome + sufixo));
        }
    }

    // The icons hold their sizes themselves.
    escala = 1;
    QList<QImage> tamanhos;
    for (int lado : {16, 24, 32, 48, 64})
        tamanhos.append(icone(lado));
    ok &= gravar(png.filePath(QStringLiteral("marvessa.ico")), montarIco(tamanhos));
    QList<QImage> doConversor;
    for (int lado : {16, 24, 32, 48})
        doConversor.append(iconeConversor(lado));
    ok &= gravar(conversor.filePath(QStringLiteral("conversor.ico")), montarIco(doConversor));

    // For the packages: the icon in the sizes a Linux desktop takes, and the
    // setup's side picture.
    ok &= png.mkpath(QStringLiteral("pacotes"));
    for (int lado : {48, 256}) {
        ok &= icone(lado).save(
            png.filePath(QStringLiteral("pacotes/marvessa-fonelo-%1.png").arg(lado)));
    }
    ok &= faixaInstalador().save(png.filePath(QStringLiteral("pacotes/instalador.png")));
    return ok ? 0 : 1;
}
