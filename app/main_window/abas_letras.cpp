#include "main_window/abas_letras.h"

#include "chrome/rotulo_clicavel.h"
#include "model/letter_group.h"

#include <QWidget>

AbasLetras::AbasLetras(QWidget &janela, std::function<void(int)> escolher)
    : QObject(&janela), m_janela(janela)
{
    for (int g = 0; g < NUM_GRUPOS; ++g) {
        RotuloClicavel *a = aba(g);
        a->tornarBotao(QAccessible::PageTab);
        a->usarTeclado(Qt::TabFocus);
        connect(a, &RotuloClicavel::clicked, this, [escolher, g] { escolher(g); });
    }
}

RotuloClicavel *AbasLetras::aba(int grupo) const
{
    return m_janela.findChild<RotuloClicavel *>(GruposLetras()[grupo].Aba,
                                                Qt::FindDirectChildrenOnly);
}

void AbasLetras::mostrar(int grupo)
{
    for (int g = 0; g < NUM_GRUPOS; ++g)
        aba(g)->definirSelecionado(g == grupo);
}

QString AbasLetras::letras(int grupo) const
{
    return aba(grupo)->accessibleName();
}
