#include "model/modelo_principal.h"

#include "model/locale_app.h"
#include "store/codificacoes.h"

#include <utility>

ModeloPrincipal::ModeloPrincipal(const QString &caminhoArquivo, const QLocale &locale)
    : m_arquivo(caminhoArquivo), m_locale(locale), m_grupos(locale), m_lstInicio(locale, m_grupos),
      m_navegacao(m_lstInicio), m_busca(m_lstInicio, locale)
{
}

ModeloPrincipal::Lote::Lote(ModeloPrincipal &modelo) : m_modelo(modelo)
{
    ++m_modelo.m_lotes;
}

ModeloPrincipal::Lote::~Lote()
{
    if (--m_modelo.m_lotes > 0)
        return;
    const bool tudo = std::exchange(m_modelo.m_mudouTudo, false);
    const bool detalhes = std::exchange(m_modelo.m_mudouDetalhes, false);
    if (tudo)
        Q_EMIT m_modelo.mudou();
    else if (detalhes)
        Q_EMIT m_modelo.detalhesMudaram();
}

void ModeloPrincipal::notificar(bool tudo)
{
    if (m_lotes > 0) {
        (tudo ? m_mudouTudo : m_mudouDetalhes) = true;
        return;
    }
    if (tudo)
        Q_EMIT mudou();
    else
        Q_EMIT detalhesMudaram();
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
    listaMudou();
    return true;
}

bool ModeloPrincipal::iniciar(const QDate &hoje)
{
    iniciarLeitura();
    return concluirInicio(hoje);
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

bool ModeloPrincipal::concluirInicio(const QDate &hoje)
{
    // The rest is the refresh, with the file already read.
    const Lote lote(*this);
    m_avisoInicial = m_leitura.valid() ? m_leitura.get() : QString();
    atualizarData(hoje);
    m_navegacao.limpar();
    m_navegacao.lblLetraInicial = GruposLetras()[GRUPO_AB].Inicial;
    m_navegacao.ListarGrupo(GRUPO_AB, GruposLetras()[GRUPO_AB].AvisoVazio);
    notificar(true);
    return m_avisoInicial != AVISO_FALHA_LEITURA;
}

bool ModeloPrincipal::reler(const QDate &hoje)
{
    const Lote lote(*this);
    atualizarData(hoje);
    m_navegacao.limpar();
    m_navegacao.lblLetraInicial = GruposLetras()[GRUPO_AB].Inicial;
    const bool ok = lerParaLista();
    m_navegacao.ListarGrupo(GRUPO_AB, GruposLetras()[GRUPO_AB].AvisoVazio);
    notificar(true);
    return ok;
}

void ModeloPrincipal::escolherAba(int grupo)
{
    const LetterGroup &g = GruposLetras()[grupo];
    m_navegacao.ListarGrupo(grupo, g.AvisoVazio);
    m_navegacao.lblLetraInicial = g.Inicial;
    notificar(true);
}

void ModeloPrincipal::avancarPagina()
{
    // Only while its arrow is shown, whatever asks.
    if (!m_navegacao.imgAvancaVisivel)
        return;
    m_navegacao.AvancarPagina();
    notificar(true);
}

void ModeloPrincipal::retornarPagina()
{
    // Only while its arrow is shown, whatever asks.
    if (!m_navegacao.imgRetornaVisivel)
        return;
    m_navegacao.RetornarPagina();
    notificar(true);
}

void ModeloPrincipal::selecionar(int linha)
{
    m_navegacao.selecionar(linha);
    notificar(false);
}

void ModeloPrincipal::abaVizinha(int passo)
{
    escolherAba((m_navegacao.grupo + passo + NUM_GRUPOS) % NUM_GRUPOS);
}

ModeloPrincipal::Busca ModeloPrincipal::buscar(BuscaContato::Efeito efeito)
{
    if (efeito == BuscaContato::Efeito::Nenhum)
        return Busca::Ignorada;
    if (efeito == BuscaContato::Efeito::Vazio)
        return Busca::Feita;
    const qsizetype i = m_busca.primeiro(m_busca.prefixo());
    if (i < 0)
        return Busca::SemContato;
    mostrarEntrada(i);
    return Busca::Feita;
}

bool ModeloPrincipal::mostrarEntrada(qsizetype i)
{
    if (i < 0 || i >= m_lstInicio.count() || m_lstInicio.grupo(i) < 0)
        return false;
    const Lote lote(*this);
    escolherAba(m_lstInicio.grupo(i));
    m_navegacao.mostrarEntrada(i);
    return true;
}

void ModeloPrincipal::prepararBusca()
{
    if (!m_indiceAtual) {
        m_indice.construir(m_lstInicio);
        m_indiceAtual = true;
    }
}

IndiceBusca::Resultado ModeloPrincipal::procurar(QStringView consulta, qsizetype maximo)
{
    prepararBusca();
    return m_indice.procurar(consulta, maximo);
}

ModeloPrincipal::Busca ModeloPrincipal::digitar(QChar c, qint64 agoraMs)
{
    return buscar(m_busca.digitar(c, agoraMs));
}

ModeloPrincipal::Busca ModeloPrincipal::apagarBusca(qint64 agoraMs)
{
    return buscar(m_busca.apagar(agoraMs));
}

ModeloPrincipal::Busca ModeloPrincipal::limparBusca()
{
    return buscar(m_busca.limpar());
}

bool ModeloPrincipal::RecarregarLista()
{
    const bool ok = lerParaLista();
    notificar(true);
    return ok;
}

void ModeloPrincipal::relistarGrupo(int grupo)
{
    m_navegacao.ListarGrupo(grupo, avisoRelistagem(GruposLetras()[grupo]));
    notificar(true);
}

void ModeloPrincipal::AtualizarAba()
{
    const int grupo = grupoPorInicial(m_navegacao.lblLetraInicial);
    if (grupo >= 0)
        relistarGrupo(grupo);
}

bool ModeloPrincipal::mostrarContato(QStringView nome)
{
    const Lote lote(*this);
    for (qsizetype i = 0; i < m_lstInicio.count(); ++i) {
        if (m_lstInicio.nome(i) == nome && m_lstInicio.grupo(i) >= 0) {
            relistarGrupo(m_lstInicio.grupo(i));
            return m_navegacao.mostrarEntrada(i);
        }
    }
    AtualizarAba();
    return false;
}

bool ModeloPrincipal::relerMantendoSelecao()
{
    const auto selecionado = contatoSelecionado();
    if (!RecarregarLista())
        return false;
    if (selecionado)
        mostrarContato(selecionado->Nome);
    else
        AtualizarAba();
    return true;
}

void ModeloPrincipal::listaMudou()
{
    // The find's index is made again when next asked for.
    m_indiceAtual = false;
    atualizarTotal();
}

void ModeloPrincipal::atualizarTotal()
{
    m_lblTotalContatos = QString::number(m_lstInicio.count());
}

void ModeloPrincipal::atualizarData(const QDate &hoje)
{
    m_lblDataHoje = LocaleApp::TextoDataHoje(hoje, m_locale);
    notificar(true);
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
    Q_EMIT gravou();
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
    listaMudou();
    notificar(true);
    return true;
}

void ModeloPrincipal::limparDetalhes()
{
    m_navegacao.txtFone.clear();
    m_navegacao.txtMail.clear();
    notificar(false);
}
