#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

class QSettings;

// Where the main window opens: the place it was closed at, kept in the
// per-user settings as twips in decimal text, or at first the bottom right
// of the screen, just above the usual place of the taskbar.
class PosicaoJanela {
public:
    static inline const QString GRUPO = QStringLiteral("Posições");
    static inline const QString TOPO = QStringLiteral("Posição-Topo");
    static inline const QString ESQUERDA = QStringLiteral("Posição-Esquerda");

    // Left and top in twips.
    struct Twips {
        double esquerda;
        double topo;
        friend bool operator==(const Twips &, const Twips &) = default;
    };

    // screen width - (window width + 15), screen height - (window height + 530).
    static Twips padrao(const QRect &telaPrimaria, int larguraTwips, int alturaTwips);

    // A stored text as a whole number of twips: the regional decimal
    // separator or a point, rounded halves to even ("1234.5" gives 1234,
    // "1235.5" 1236). Nothing when it is no number.
    static std::optional<double> lerNumero(const QString &texto);

    // The stored place, or the default when a value is missing or no number,
    // or when the window would lie wholly off every screen (in pixels). A
    // window partly off-screen stays where the user left it.
    static Twips ler(QSettings &s, const Twips &padrao, const QList<QRect> &telas,
                     QSize tamanhoPixels);

    static void gravar(QSettings &s, const Twips &posicao);

    // One window's place while it is open: read when it opens, saved when it
    // closes. A place in twips falls between pixels, so it is saved back as
    // it was read unless the window has moved since.
    PosicaoJanela(int larguraTwips, int alturaTwips);
    // Where the window opens, in pixels; the primary screen first.
    QPoint abrir(QSettings &s, const QList<QRect> &telas, QSize tamanhoPixels);
    Twips em(QPoint pixels) const;
    void fechar(QSettings &s, QPoint pixels) const { gravar(s, em(pixels)); }

private:
    int m_largura, m_altura;
    Twips m_lida{0, 0};
    QPoint m_pixels;
};
