#include "layouts/layout_dialogos.h"

#include "layouts/fontes.h"
#include "layouts/twips.h"

#include <QWidget>

namespace LayoutDialogos {

namespace {

using T = TipoControle;
constexpr QRgb BRANCO = 0xFFFFFF;

constexpr Controle kAdiciona[] = {
    {"txtMail", T::Campo, 60, 1215, 2300, 245},
    {"txtFone", T::Campo, 60, 730, 2300, 245},
    {"txtNome", T::Campo, 60, 240, 2300, 245},
    {"Label2", T::Rotulo, 680, 1015, 735, 255, u"(max: 40)", COR_DICA},
    {"Label1", T::Rotulo, 915, 545, 735, 255, u"(max: 40)", COR_DICA},
    {"Label3", T::Rotulo, 645, 60, 735, 255, u"(max: 40)", COR_DICA},
    {"lblSim", T::Botao, 360, 1635, 860, 555, u"Adicionar", COR_BOTAO, true, true, u" Adicionar "},
    {"lblNao", T::Botao, 1315, 1635, 860, 555, u"Fechar", COR_BOTAO, true, true, u" Fechar "},
    forma("Shape2", 60, 715, 2325, 30, COR_LINHA),
    forma("Shape3", 60, 1200, 2325, 30, COR_LINHA),
    forma("Shape1", 60, 245, 2330, 30, COR_LINHA),
    {"lblEmail", T::Rotulo, 100, 1015, 615, 195, u"E-mail", BRANCO, true},
    {"lblTelefone", T::Rotulo, 100, 545, 855, 195, u"Telefone", BRANCO, true},
    {"lblNome", T::Rotulo, 100, 60, 615, 195, u"Nome", BRANCO, true},
    forma("shpSim", 360, 1560, 860, 795, COR_FACE, RAIO_FACE),
    forma("shpNao", 1315, 1560, 860, 795, COR_FACE, RAIO_FACE),
};

constexpr Controle kAtualiza[] = {
    {"txtNome", T::Campo, 60, 255, 2300, 245},
    {"txtFone", T::Campo, 60, 730, 2300, 245},
    {"txtMail", T::Campo, 60, 1230, 2300, 245},
    {"Label2", T::Rotulo, 680, 1015, 735, 255, u"(max: 40)", COR_DICA},
    {"Label1", T::Rotulo, 915, 545, 735, 255, u"(max: 40)", COR_DICA},
    {"Label3", T::Rotulo, 645, 60, 735, 255, u"(max: 40)", COR_DICA},
    {"lblNao", T::Botao, 1315, 1635, 855, 555, u" Fechar ", COR_BOTAO, true, true, u" Fechar "},
    {"lblSim", T::Botao, 330, 1635, 855, 555, u" Atualizar ", COR_BOTAO, true, true,
     u" Atualizar "},
    forma("Shape1", 60, 240, 2325, 30, COR_LINHA),
    forma("Shape3", 60, 1215, 2325, 30, COR_LINHA),
    forma("Shape2", 60, 715, 2325, 30, COR_LINHA),
    {"lblEmail", T::Rotulo, 100, 1015, 615, 195, u"E-mail", BRANCO, true},
    {"lblTelefone", T::Rotulo, 100, 545, 855, 195, u"Telefone", BRANCO, true},
    {"lblNome", T::Rotulo, 100, 60, 615, 195, u"Nome", BRANCO, true},
    forma("shpNao", 1315, 1560, 855, 795, COR_FACE, RAIO_FACE),
    forma("shpSim", 360, 1560, 855, 795, COR_FACE, RAIO_FACE),
};

constexpr Controle kContDel[] = {
    {"lblNao", T::Botao, 1290, 1475, 570, 560, u" NÃO ", COR_BOTAO, true, true, u" NÃO "},
    {"lblSim", T::Botao, 675, 1475, 570, 560, u" SIM ", COR_BOTAO, true, true, u" SIM "},
    forma("shpNao", 1290, 1400, 570, 795, COR_FACE, RAIO_FACE),
    forma("shpSim", 675, 1400, 570, 795, COR_FACE, RAIO_FACE),
    {"Label1", T::Rotulo, 90, 360, 2295, 855, u"Deseja realmente deletar esse contato?", BRANCO,
     true, true},
};

constexpr Controle kAbout[] = {
    {"Label5", T::Rotulo, 765, 290, 1635, 495, u"Fonelo Agenda Versão 1.3", BRANCO, false, true},
    {"Image1", T::Imagem, 10, 10, 720, 720, u"sobre"},
    {"lblVelquist", T::Botao, 105, 960, 2055, 285, u"", BRANCO, true},
    {"Label2", T::Rotulo, 105, 775, 735, 285, u"Autor:", BRANCO, true},
    {"Label4", T::Titulo, 750, 0, 2025, 195, u"Marvessa FONELO", COR_SOBRE, true},
    {"Label3", T::Rotulo, 700, 775, 1455, 255, u"", BRANCO},
    {"lblFree", T::Rotulo, 105, 1445, 1500, 435, u"Este programa é gratuito!", COR_SOBRE},
    {"lblNao", T::Botao, 1620, 1445, 690, 555, u" Fechar ", COR_BOTAO, true, true, u" Fechar "},
    forma("shpNao", 1650, 1395, 690, 795, COR_FACE, RAIO_FACE),
    {"Shape3", T::Quadro, 0, 0, 750, 750, u"", COR_SOBRE},
};

// Connected, the book's name, the last sync and "Sincronizar agora" take the
// places of the fields.
constexpr Controle kSincroniza[] = {
    {"txtSenha", T::Campo, 60, 1215, 2300, 245},
    {"txtUsuario", T::Campo, 60, 730, 2300, 245},
    {"txtEndereco", T::Campo, 60, 240, 2300, 245},
    {"txtLivro", T::Campo, 60, 240, 2300, 245},
    {"lblEstado", T::Rotulo, 60, 730, 2330, 400, u"", BRANCO},
    {"lblMemoria", T::Rotulo, 60, 1130, 2330, 195, u"", COR_DICA},
    {"lblDicaSenha", T::Rotulo, 660, 1015, 1740, 255, u"", COR_DICA},
    {"lblAgora", T::Botao, 60, 1330, 2330, 225, u"Sincronizar agora", BRANCO, true, true,
     u" Sincronizar agora "},
    {"lblSim", T::Botao, 360, 1635, 860, 555, u" Conectar ", COR_BOTAO, true, true, u" Conectar "},
    {"lblNao", T::Botao, 1315, 1635, 860, 555, u" Fechar ", COR_BOTAO, true, true, u" Fechar "},
    forma("Shape2", 60, 715, 2325, 30, COR_LINHA),
    forma("Shape3", 60, 1200, 2325, 30, COR_LINHA),
    forma("Shape1", 60, 245, 2330, 30, COR_LINHA),
    {"lblSenha", T::Rotulo, 100, 1015, 615, 195, u"Senha", BRANCO, true},
    {"lblUsuario", T::Rotulo, 100, 545, 855, 195, u"Usuário", BRANCO, true},
    {"lblEndereco", T::Rotulo, 100, 60, 855, 195, u"Endereço", BRANCO, true},
    {"lblLivro", T::Rotulo, 100, 60, 855, 195, u"Catálogo", BRANCO, true},
    {"lblUltima", T::Rotulo, 100, 545, 2200, 195, u"Última sincronização", BRANCO, true},
    forma("shpSim", 360, 1560, 860, 795, COR_FACE, RAIO_FACE),
    forma("shpNao", 1315, 1560, 860, 795, COR_FACE, RAIO_FACE),
};

// The versions, newest first, two lines each: when, and what restoring it
// would change.
constexpr Controle kVersoes[] = {
    {"lstVersoes", T::Lista, 60, 300, 2310, 1005},
    {"lblServidor", T::Rotulo, 60, 1320, 2330, 300, u"", COR_DICA},
    {"lblSim", T::Botao, 120, 1635, 1100, 555, u" Restaurar ", COR_BOTAO, true, true,
     u" Restaurar "},
    {"lblNao", T::Botao, 1315, 1635, 860, 555, u" Fechar ", COR_BOTAO, true, true, u" Fechar "},
    forma("Shape1", 60, 245, 2330, 30, COR_LINHA),
    {"lblVersoes", T::Rotulo, 100, 60, 2200, 195, u"Versões anteriores", BRANCO, true},
    forma("shpSim", 120, 1560, 1100, 795, COR_FACE, RAIO_FACE),
    forma("shpNao", 1315, 1560, 860, 795, COR_FACE, RAIO_FACE),
};

// One field, and under it the contacts found as it is typed.
constexpr Controle kProcura[] = {
    {"txtProcura", T::Campo, 60, 240, 2300, 245},
    {"lstAchados", T::Lista, 60, 560, 2310, 885},
    {"lblMais", T::Rotulo, 60, 1440, 2330, 195, u"", COR_DICA},
    {"lblSim", T::Botao, 360, 1635, 860, 555, u" Mostrar ", COR_BOTAO, true, true, u" Mostrar "},
    {"lblNao", T::Botao, 1315, 1635, 860, 555, u" Fechar ", COR_BOTAO, true, true, u" Fechar "},
    forma("Shape1", 60, 245, 2330, 30, COR_LINHA),
    {"lblProcura", T::Rotulo, 100, 60, 2200, 195, u"Procurar", BRANCO, true},
    forma("shpSim", 360, 1560, 860, 795, COR_FACE, RAIO_FACE),
    forma("shpNao", 1315, 1560, 860, 795, COR_FACE, RAIO_FACE),
};

// The style, and under it every telephone it would change, each checked.
constexpr Controle kPadroniza[] = {
    {"optNacional", T::Opcao, 60, 285, 2310, 210, u"(11) 98765-4321", BRANCO},
    {"optInternacional", T::Opcao, 60, 495, 2310, 210, u"+55 11 98765-4321", BRANCO},
    {"lstTelefones", T::Escolhas, 60, 720, 2310, 720},
    {"lblQuantos", T::Rotulo, 60, 1440, 2330, 195, u"", COR_DICA},
    {"lblSim", T::Botao, 230, 1635, 990, 555, u" Padronizar ", COR_BOTAO, true, true,
     u" Padronizar os marcados "},
    {"lblNao", T::Botao, 1315, 1635, 860, 555, u" Fechar ", COR_BOTAO, true, true, u" Fechar "},
    forma("Shape1", 60, 245, 2330, 30, COR_LINHA),
    {"lblPadroniza", T::Rotulo, 100, 60, 2200, 195, u"Padronizar telefones", BRANCO, true},
    forma("shpSim", 230, 1560, 990, 795, COR_FACE, RAIO_FACE),
    forma("shpNao", 1315, 1560, 860, 795, COR_FACE, RAIO_FACE),
};

// One group of contacts that may be one person at a time: what to keep of
// each field, what would not be kept, and the answers.
constexpr Controle kDuplicados[] = {
    {"lblGrupo", T::Legenda, 60, 285, 2330, 195, u"", COR_DICA},
    {"lstEscolhas", T::Escolhas, 60, 480, 2310, 690},
    {"lblPerde", T::Legenda, 60, 1170, 2330, 195, u"", COR_DICA},
    {"lblDistintos", T::Legenda, 60, 1365, 2330, 195, u"Não são a mesma pessoa", BRANCO, true,
     false, u" Não são a mesma pessoa: este grupo não é mostrado de novo ", FonteControle::Padrao,
     0, QPalette::NoRole, true},
    {"lblSim", T::Botao, 360, 1635, 860, 555, u" Juntar ", COR_BOTAO, true, true,
     u" Juntar num só contato "},
    {"lblNao", T::Botao, 1315, 1635, 860, 555, u" Fechar ", COR_BOTAO, true, true, u" Fechar "},
    {"lblAnterior", T::Botao, 1440, 20, 240, 225, u"\u2039", BRANCO, true, true,
     u" Grupo anterior "},
    {"lblQuantos", T::Legenda, 1680, 60, 450, 195, u"", BRANCO, false, true},
    {"lblProximo", T::Botao, 2130, 20, 240, 225, u"\u203A", BRANCO, true, true, u" Próximo grupo "},
    forma("Shape1", 60, 245, 2330, 30, COR_LINHA),
    {"lblDuplicados", T::Rotulo, 100, 60, 1300, 195, u"Duplicados", BRANCO, true},
    forma("shpSim", 360, 1560, 860, 795, COR_FACE, RAIO_FACE),
    forma("shpNao", 1315, 1560, 860, 795, COR_FACE, RAIO_FACE),
};

// A sync stopped before deleting: what it would delete, and three answers,
// keeping everything first.
constexpr Controle kConfirmaSincronizacao[] = {
    {"lblSim", T::Botao, 90, 1475, 700, 560, u" Manter ", COR_BOTAO, true, true,
     u" Manter: nada é apagado, o que falta volta "},
    {"lblApagar", T::Botao, 865, 1475, 700, 560, u" Apagar ", COR_BOTAO, true, true,
     u" Apagar dos dois lados "},
    {"lblNao", T::Botao, 1640, 1475, 700, 560, u" Depois ", COR_BOTAO, true, true,
     u" Decidir depois: nada muda "},
    forma("shpSim", 90, 1400, 700, 795, COR_FACE, RAIO_FACE),
    forma("shpApagar", 865, 1400, 700, 795, COR_FACE, RAIO_FACE),
    forma("shpNao", 1640, 1400, 700, 795, COR_FACE, RAIO_FACE),
    {"Label1", T::Rotulo, 90, 90, 2250, 1260, u"", BRANCO, true, true},
};

// What to print: whose contacts, in how many columns, with e-mails or not;
// then save it, or open it in the system's viewer to print from there.
constexpr Controle kImprime[] = {
    {"optTodos", T::Opcao, 60, 285, 2310, 210, u"Todos os contatos", BRANCO},
    {"optAba", T::Opcao, 60, 495, 2310, 210, u"Só a aba mostrada", BRANCO},
    {"lblColunas", T::Legenda, 60, 735, 720, 195, u"Colunas:", BRANCO},
    {"optColunas1", T::Opcao, 780, 720, 420, 210, u"1", BRANCO},
    {"optColunas2", T::Opcao, 1260, 720, 420, 210, u"2", BRANCO},
    {"optColunas3", T::Opcao, 1740, 720, 420, 210, u"3", BRANCO},
    {"chkEmails", T::Marca, 60, 945, 2310, 210, u"Com os e-mails", BRANCO},
    {"lblPapel", T::Legenda, 60, 1170, 2330, 195, u"", COR_DICA},
    {"lblSim", T::Botao, 60, 1475, 960, 560, u" Salvar PDF ", COR_BOTAO, true, true,
     u" Salvar a lista num arquivo PDF "},
    {"lblAbrir", T::Botao, 1080, 1475, 600, 560, u" Abrir ", COR_BOTAO, true, true,
     u" Abrir a lista para imprimir "},
    {"lblNao", T::Botao, 1740, 1475, 640, 560, u" Fechar ", COR_BOTAO, true, true, u" Fechar "},
    forma("Shape1", 60, 245, 2330, 30, COR_LINHA),
    {"lblImprime", T::Rotulo, 100, 60, 2200, 195, u"Lista para imprimir", BRANCO, true},
    forma("shpSim", 60, 1400, 960, 795, COR_FACE, RAIO_FACE),
    forma("shpAbrir", 1080, 1400, 600, 795, COR_FACE, RAIO_FACE),
    forma("shpNao", 1740, 1400, 640, 795, COR_FACE, RAIO_FACE),
};

// Where Tab goes in each window.
constexpr const char *tContato[] = {"txtNome", "txtFone", "txtMail", "lblSim", "lblNao"};
constexpr const char *tSincroniza[] = {"txtEndereco", "txtUsuario", "txtSenha",
                                       "lblAgora",    "lblSim",     "lblNao"};
constexpr const char *tVersoes[] = {"lstVersoes", "lblSim", "lblNao"};
constexpr const char *tProcura[] = {"txtProcura", "lblSim", "lblNao"};
constexpr const char *tConfirmaSincronizacao[] = {"lblSim", "lblApagar", "lblNao"};
constexpr const char *tPadroniza[] = {"optNacional", "optInternacional", "lstTelefones", "lblSim",
                                      "lblNao"};
constexpr const char *tImprime[] = {"optTodos",    "optAba",      "optColunas1",
                                    "optColunas2", "optColunas3", "chkEmails",
                                    "lblSim",      "lblAbrir",    "lblNao"};
constexpr const char *tDuplicados[] = {"lstEscolhas", "lblDistintos", "lblSim",
                                       "lblNao",      "lblAnterior",  "lblProximo"};

constexpr Controle kContAd[] = {
    {"Label1", T::Rotulo, 60, 600, 2385, 1215, u"Contato Inserido!", BRANCO, true, true},
};

} // namespace

const Janela Adiciona{"KV_Adiciona",        2430,    1905, QPalette::HighlightedText, 0, kAdiciona,
                      u"Adicionar contato", tContato};
const Janela Atualiza{"KV_Atualiza",        2430,    1905, QPalette::HighlightedText, 0, kAtualiza,
                      u"Atualizar contato", tContato};
const Janela ContDel{"KV_ContDel",      2430, 1905, QPalette::NoRole, 0xF9F8F0, kContDel,
                     u"Deletar contato"};
const Janela About{
    "KV_About", 2430, 1905, QPalette::NoRole, 0xF9F8F0, kAbout, u"Sobre o Marvessa Fonelo"};
const Janela Sincroniza{"KV_Sincroniza",           2430,       1905,
                        QPalette::HighlightedText, 0,          kSincroniza,
                        u"Sincronização",          tSincroniza};
const Janela Versoes{"KV_Versoes",          2430,    1905, QPalette::HighlightedText, 0, kVersoes,
                     u"Versões anteriores", tVersoes};
const Janela Procura{"KV_Procura",        2430,    1905, QPalette::HighlightedText, 0, kProcura,
                     u"Procurar contato", tProcura};
const Janela ConfirmaSincronizacao{"KV_ConfirmaSincronizacao",
                                   2430,
                                   1905,
                                   QPalette::NoRole,
                                   0xF9F8F0,
                                   kConfirmaSincronizacao,
                                   u"Sincronização",
                                   tConfirmaSincronizacao};
const Janela Padroniza{
    "KV_Padroniza",          2430,      1905, QPalette::HighlightedText, 0, kPadroniza,
    u"Padronizar telefones", tPadroniza};
const Janela Duplicados{"KV_Duplicados", 2430,          1905,       QPalette::HighlightedText, 0,
                        kDuplicados,     u"Duplicados", tDuplicados};
const Janela Imprime{"KV_Imprime",           2430,    1905, QPalette::HighlightedText, 0, kImprime,
                     u"Lista para imprimir", tImprime};
const Janela ContAd{"KV_ContAd", 2430, 1935, QPalette::NoRole, 0xF9F8F0, kContAd};

void prepararJanela(const Janela &janela, QWidget *w)
{
    w->setObjectName(QLatin1String(janela.nome));
    w->setWindowTitle(QString::fromUtf16(janela.titulo));
    w->setFont(Fontes::padrao());
    w->resize(Twips::px(janela.largura), Twips::px(janela.altura));
}

QColor corDeFundo(const Janela &janela, const QWidget *w)
{
    return janela.papelFundo == QPalette::NoRole ? QColor(janela.corFundo)
                                                 : w->palette().color(janela.papelFundo);
}

} // namespace LayoutDialogos
