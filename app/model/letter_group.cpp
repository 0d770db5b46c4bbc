#include "model/letter_group.h"

using namespace Qt::Literals::StringLiterals;

namespace {

std::array<LetterGroup, NUM_GRUPOS> montarGrupos()
{
    const QString vazio = QStringLiteral("Nenhum contato cadastrado");
    const auto letras = [&](const char *aba, QStringList chars) {
        const QString inicial = chars.first();
        return LetterGroup{QString::fromLatin1(aba), std::move(chars), true, inicial, vazio};
    };
    return {
        letras("lblAB", {u"a"_s, u"à"_s, u"á"_s, u"â"_s, u"ã"_s, u"ä"_s, u"b"_s}),
        letras("lblCD", {u"c"_s, u"ç"_s, u"d"_s}),
        letras("lblEF", {u"e"_s, u"è"_s, u"é"_s, u"ê"_s, u"ë"_s, u"f"_s}),
        letras("lblGH", {u"g"_s, u"h"_s}),
        letras("lblIJ", {u"i"_s, u"ì"_s, u"í"_s, u"î"_s, u"ï"_s, u"j"_s}),
        letras("lblKL", {u"k"_s, u"l"_s}),
        letras("lblMN", {u"m"_s, u"n"_s, u"ñ"_s}),
        letras("lblOP", {u"o"_s, u"ò"_s, u"ó"_s, u"ô"_s, u"õ"_s, u"ö"_s, u"p"_s}),
        letras("lblQR", {u"q"_s, u"r"_s}),
        letras("lblST", {u"s"_s, u"t"_s}),
        letras("lblUV", {u"u"_s, u"ù"_s, u"ú"_s, u"û"_s, u"ü"_s, u"v"_s}),
        letras("lblWX", {u"w"_s, u"x"_s}),
        letras("lblYZ", {u"y"_s, u"z"_s}),
        LetterGroup{
            QStringLiteral("lbl09"),
            {u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s, u"9"_s, u"0"_s},
            false,
            QStringLiteral("0"),
            QStringLiteral("Nenhum cadastro com números")},
    };
}

} // namespace

const std::array<LetterGroup, NUM_GRUPOS> &GruposLetras()
{
    static const auto grupos = montarGrupos();
    return grupos;
}

int grupoPorInicial(QStringView inicial)
{
    const auto &grupos = GruposLetras();
    for (int i = 0; i < NUM_GRUPOS; ++i) {
        if (grupos[i].Inicial == inicial)
            return i;
    }
    return -1;
}

QString avisoRelistagem(const LetterGroup &grupo)
{
    return grupo.ComCaixa ? QStringLiteral("Nenhum cadastro com esta letra")
                          : QStringLiteral("Nenhum cadastro com números");
}
