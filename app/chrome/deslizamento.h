#pragma once

#include <optional>

// The slide of the small dialogs over the main window's list: they unroll
// upwards from a fixed bottom edge, 100 twips a tick, and roll down again
// when closed. Pure arithmetic in twips, stepped by the dialog's timers, so
// that it can be checked tick by tick. T is the main window's top, read anew
// where the steps say so.
struct ConstantesDeslizamento {
    int topoAntes;   // Top before the first tick, relative to T
    int alturaAntes; // Height before the first tick
    int K;           // Top = Topo + K while closing
};

namespace Deslizantes {
inline constexpr ConstantesDeslizamento About{-1000, 50, 1590};
inline constexpr ConstantesDeslizamento Adiciona{0, 150, 1600};
inline constexpr ConstantesDeslizamento Atualiza{-1000, 50, 1575};
inline constexpr ConstantesDeslizamento ContDel{-1000, 50, 1590};
// Not of the original windows: it slides as the add dialog does.
inline constexpr ConstantesDeslizamento Sincroniza = Adiciona;
inline constexpr ConstantesDeslizamento Versoes = Adiciona;
inline constexpr ConstantesDeslizamento Procura = Adiciona;
inline constexpr ConstantesDeslizamento Padroniza = Adiciona;
inline constexpr ConstantesDeslizamento Duplicados = Adiciona;
inline constexpr ConstantesDeslizamento Imprime = Adiciona;
inline constexpr ConstantesDeslizamento ConfirmaSincronizacao = ContDel;
} // namespace Deslizantes

class Deslizamento {
public:
    static constexpr int INTERVALO_MS = 10;
    static constexpr int PASSO = 100;
    static constexpr int D_FECHAR = 3030;    // the close label
    static constexpr int D_CONCLUIDO = 3000; // after a successful add or update

    struct Geometria {
        double top;
        int height;
        friend bool operator==(const Geometria &, const Geometria &) = default;
    };

    explicit Deslizamento(ConstantesDeslizamento c) : m_c(c) {}

    // Load: the running top starts at T and the opening begins.
    void carregar(double T);
    // Where the opener puts the dialog until the first tick.
    Geometria antesDoPrimeiroTick(double T) const;
    // One opening tick; abrindo() turns false on the last.
    Geometria tickAbertura(double T);
    // Starts closing from the dialog's current height; any opening still
    // running stops first, so that the two never undo each other. The dialog
    // has height 0 until the first closing tick.
    void IniciarFechamento(double T, int alturaAtual, int D);
    // One closing tick; nothing once the dialog is to be hidden and unloaded.
    std::optional<Geometria> tickFechamento();

    bool abrindo() const { return m_abrindo; }
    bool fechando() const { return m_fechando; }

    double Topo = 0;
    int Altura = 0;
    int Limite = 0;

private:
    ConstantesDeslizamento m_c;
    bool m_abrindo = false;
    bool m_fechando = false;
};
