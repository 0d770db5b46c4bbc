#include "main_model.h"

#include "locale_app.h"

namespace {
constexpr int GRUPO_AB = 0;
}

ModeloPrincipal::ModeloPrincipal(const QString &caminhoArquivo, const QLocale &locale)
    : m_arquivo(caminhoArquivo), m_locale(locale), m_grupos(locale), m_lstInicio(locale, m_grupos),
      m_navegacao(m_lstInicio)
{
    lblTotalContatos = QStringLiteral("0");
}

bool ModeloPrincipal::lerParaLista()
{
    const ArquivoContatos::Leitura lida = m_arquivo.lerBytes();
    m_ultimaLeituraFalhou = lida.estado == ArquivoContatos::Estado::Falhou;
    if (m_ultimaLeituraFalhou)
        return false;
    m_assinatura = lida.assinatura();
    m_lstInicio.carregar(lida.bytes);
    // The total follows the list, after every read.
    atualizarTotal();
    return true;
}

bool ModeloPrincipal::Form_Load(const QDate &hoje)
{
    iniciarLeitura();
    return concluirForm_Load(hoje);
}

void ModeloPrincipal::iniciarLeitura()
{
    // Only start-up creates a missing file.
    m_leitura = std::async(std::launch::async, [this] {
        const bool criado = m_arquivo.CriarArquivoSeAusente();
        const bool lido = lerParaLista();
        return lido ? (criado ? QString() : AVISO_FALHA_CRIACAO) : AVISO_FALHA_LEITURA;
    });
}

bool ModeloPrincipal::concluirForm_Load(const QDate &hoje)
{
    // The rest is the refresh, with the file already read.
    m_avisoInicial = m_leitura.valid() ? m_leitura.get() : QString();
    atualizarData(hoje);
    m_navegacao.limpar();
    m_navegacao.lblLetraInicial = GruposLetras()[GRUPO_AB].Inicial;
    m_navegacao.ListarGrupo(GRUPO_AB, GruposLetras()[GRUPO_AB].AvisoVazio);
    return m_avisoInicial != AVISO_FALHA_LEITURA;
}

bool ModeloPrincipal::imgRefresh_Click(const QDate &hoje)
{
    atualizarData(hoje);
    m_navegacao.limpar();
    m_navegacao.lblLetraInicial = GruposLetras()[GRUPO_AB].Inicial;
    const bool ok = lerParaLista();
    m_navegacao.ListarGrupo(GRUPO_AB, GruposLetras()[GRUPO_AB].AvisoVazio);
    return ok;
}

void ModeloPrincipal::clicarAba(int grupo)
{
    const LetterGroup &g = GruposLetras()[grupo];
    m_navegacao.ListarGrupo(grupo, g.AvisoVazio);
    m_navegacao.lblLetraInicial = g.Inicial;
}

bool ModeloPrincipal::RecarregarLista()
{
    return lerParaLista();
}

void ModeloPrincipal::relistarGrupo(int grupo)
{
    m_navegacao.ListarGrupo(grupo, avisoRelistagem(GruposLetras()[grupo]));
}

void ModeloPrincipal::AtualizarAba()
{
    const int grupo = grupoPorInicial(m_navegacao.lblLetraInicial);
    if (grupo >= 0)
        relistarGrupo(grupo);
}

bool ModeloPrincipal::mostrarContato(QStringView nome)
{
    for (qsizetype i = 0; i < m_lstInicio.count(); ++i) {
        if (m_lstInicio.nome(i) == nome && m_lstInicio.grupo(i) >= 0) {
            relistarGrupo(m_lstInicio.grupo(i));
            return m_navegacao.mostrarEntrada(i);
        }
    }
    AtualizarAba();
    return false;
}

void ModeloPrincipal::atualizarTotal()
{
    lblTotalContatos = QString::number(m_lstInicio.count());
}

void ModeloPrincipal::atualizarData(const QDate &hoje)
{
    lblDataHoje = LocaleApp::TextoDataHoje(hoje, m_locale);
}

std::optional<ContactRecord> ModeloPrincipal::contatoSelecionado() const
{
    const NavegacaoContatos &nav = m_navegacao;
    if (nav.selecionado < 0 || nav.selecionado >= nav.indicesPagina.size())
        return std::nullopt;
    const qsizetype i = nav.indicesPagina[nav.selecionado];
    if (i < 0 || i >= m_lstInicio.count())
        return std::nullopt;
    return m_lstInicio.registro(i);
}

bool ModeloPrincipal::recarregarAposGravar(const QByteArray &escrito, bool baseIntacta,
                                           const std::function<void(ListaInicio &)> &mudanca)
{
    const ArquivoContatos::Leitura lida = m_arquivo.lerBytes();
    const ArquivoContatos::Leitura esperada{ArquivoContatos::Estado::Lido, escrito};
    // A file whose encoding reads otherwise now (a UTF-8 file left plain
    // ASCII) is read again, so that the list follows what the file is.
    if (!baseIntacta || lida.estado != ArquivoContatos::Estado::Lido ||
        lida.bytes.size() != escrito.size() || lida.bytes != escrito ||
        Codificacoes::detectar(escrito) != m_lstInicio.codificacao())
        return RecarregarLista();
    m_ultimaLeituraFalhou = false;
    m_assinatura = esperada.assinatura();
    mudanca(m_lstInicio);
    atualizarTotal();
    return true;
}

void ModeloPrincipal::limparDetalhes()
{
    m_navegacao.txtFone.clear();
    m_navegacao.txtMail.clear();
}
