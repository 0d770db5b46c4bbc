#include "sync/sincronizador.h"

#include "store/codificacoes.h"
#include "store/formato_contatos.h"

#include <QFile>
#include <QUuid>
#include <functional>
#include <utility>

namespace {
constexpr int RODADAS = 3;
}

Sincronizador::Sincronizador(QString caminhoContatos, QObject *parent)
    : QObject(parent), m_caminho(std::move(caminhoContatos)),
      m_pedidos([this](Falha f, const QString &detalhe) { falhar(f, detalhe); })
{
}

void Sincronizador::renomear(const QString &de, const QString &para)
{
    if (de == para)
        return;
    // Noted at once, whatever stops the program before the next sync ends;
    // and merged again in this sync if it reads the file again.
    EstadoSincronizacao::renomear(m_caminho, de, para);
    if (ocupado())
        m_estado.acrescentarRenomeacao(de, para);
}

void Sincronizador::juntar(const QString &mantido, const QStringList &outros)
{
    const EstadoSincronizacao::Juncao j{mantido, outros};
    EstadoSincronizacao::juntar(m_caminho, j);
    if (ocupado())
        m_estado.acrescentarJuncao(j);
}

bool Sincronizador::sincronizar(const Conta &conta, const Decisao &decisao)
{
    if (ocupado())
        return false;
    m_fase = Fase::Lendo;
    m_conta = conta;
    // A password in the address goes nowhere but where it is asked for.
    m_conta.endereco = conta.endereco.adjusted(QUrl::RemoveUserInfo);
    m_decisao = decisao;
    m_r = {};
    m_rodada = 0;
    m_contadosAqui = m_contadosLa = 0;
    m_cliente = new ClienteDav(m_conta.endereco, conta.usuario, conta.senha, this);
    m_pedidos.usar(m_cliente);
    // Refused before any request, the password with it.
    if (!ClienteDav::seguro(m_conta.endereco)) {
        falhar(Falha::Inseguro);
        return true;
    }
    m_estado =
        EstadoSincronizacao::ler(EstadoSincronizacao::caminhoAoLado(m_caminho), -1, &m_compactar);
    const QString endereco = m_conta.endereco.toString(QUrl::FullyEncoded);
    if (m_estado.endereco != endereco || m_estado.usuario != conta.usuario) {
        // Another book: what was agreed with the other does not hold here.
        m_estado = {};
        m_estado.endereco = endereco;
        m_estado.usuario = conta.usuario;
        m_compactar = true;
    }
    if (m_estado.colecao.isEmpty())
        m_descobridor.descobrir(m_conta.endereco, std::bind_front(&Sincronizador::listar, this));
    else
        listar(QUrl::fromEncoded(m_estado.colecao.toUtf8()), m_estado.nome);
    return true;
}

void Sincronizador::falhar(Falha f, const QString &detalhe)
{
    if (!ocupado())
        return;
    // What it did on the server is in the state already, noted as it was
    // done.
    m_fase = Fase::Parada;
    m_fila.parar();
    m_r.falha = f;
    m_r.detalhe = detalhe;
    m_r.pedidos = m_cliente->pedidos();
    m_cliente->cancelar();
    m_cliente->deleteLater();
    m_cliente = nullptr;
    Q_EMIT terminou(m_r);
}

void Sincronizador::listar(const QUrl &colecao, const QString &nome)
{
    m_colecao = colecao;
    if (!m_colecao.path().endsWith(u'/'))
        m_colecao.setPath(m_colecao.path() + u'/');
    m_estado.colecao = QString::fromUtf8(m_colecao.toEncoded());
    m_estado.nome = nome;
    m_r.livro = !nome.isEmpty()
                    ? nome
                    : QUrl::fromPercentEncoding(
                          m_colecao.path(QUrl::FullyEncoded).section(u'/', -2, -2).toUtf8());
    m_leitor.ler(m_colecao, m_estado, [this] { ler(); });
}

void Sincronizador::ler()
{
    if (m_fase != Fase::Lendo)
        return;
    m_local = ArquivoContatos(m_caminho).lerBytes();
    // A file missing (a folder moved, a drive not there) is not an empty
    // book: nothing is sent.
    if (m_local.estado != ArquivoContatos::Estado::Lido) {
        falhar(Falha::Leitura, m_local.estado == ArquivoContatos::Estado::Ausente
                                   ? QStringLiteral("ausente")
                                   : QString());
        return;
    }
    const Codificacao cod = Codificacoes::detectar(m_local.bytes);
    const QList<ContactRecord> locais = FormatoContatos::lerRegistros(m_local.bytes);
    Fusao::Entrada e;
    e.base = &m_estado;
    LeitorLivro::Livro &livro = m_leitor.livro();
    e.servidor = &livro.cartoes;
    e.locais = &locais;
    e.codificacao = cod;
    e.locale = m_locale;
    e.colecao = m_colecao.path(QUrl::FullyEncoded);
    e.novoUid = [] { return QUuid::createUuid().toString(QUuid::WithoutBraces); };
    e.listavel = m_listavel;
    e.desconhecidos = &livro.desconhecidos;
    e.semApagar = livro.primeira || m_decisao.tipo == Decisao::Tipo::Manter;
    m_plano = Fusao::fundir(e);
    // Cards not delivered this time are there all the same.
    const auto hoje = m_estado.apagadosNoDia(m_estado.agora(-1));
    if (const auto p = ProtecaoApagar::avaliar(m_plano, locais.size(),
                                               livro.cartoes.size() + livro.desconhecidos.size(),
                                               hoje, m_decisao)) {
        m_r.pergunta = *p;
        falhar(Falha::Confirmar);
        return;
    }
    executar();
}

void Sincronizador::executar()
{
    m_fase = Fase::Enviando;
    m_etagsNovas.clear();
    m_comLocal.clear();
    for (const auto &op : m_plano.locais)
        m_comLocal.insert(op.href);
    if (!m_plano.remotas.isEmpty()) {
        // New cards are named in the state before they are sent, and the
        // state is whole on disk before what is done there is noted after it.
        const QString estado = EstadoSincronizacao::caminhoAoLado(m_caminho);
        if (!m_plano.pendentes.isEmpty() || m_compactar || !QFile::exists(estado)) {
            m_estado.pendentes.insert(m_plano.pendentes);
            if (!m_estado.gravar(estado)) {
                falhar(Falha::Arquivo);
                return;
            }
            m_compactar = false;
        }
        Q_EMIT enviando();
    }
    m_fila.enviar(
        m_plano.remotas, m_colecao,
        [this](const Fusao::OperacaoServidor &op, const QByteArray &etag) {
            return feita(op, etag);
        },
        [this] { gravarLocal(); });
}

bool Sincronizador::feita(const Fusao::OperacaoServidor &op, const QByteArray &etag)
{
    QHash<QString, Fusao::CartaoServidor> &servidor = m_leitor.livro().cartoes;
    const qint64 agora = m_estado.agora(-1);
    bool notado = true;
    if (op.tipo == Fusao::OperacaoServidor::Tipo::Apagar) {
        servidor.remove(op.href);
        ++m_r.apagadosLa;
        // A merge, or a delete the user confirmed, is not counted again.
        const bool contado = !op.juncao && m_decisao.tipo != Decisao::Tipo::Apagar;
        m_contadosLa += contado;
        std::optional<EstadoSincronizacao::Apagado> copia;
        for (const auto &a : std::as_const(m_plano.apagados)) {
            if (a.href == op.href)
                copia = EstadoSincronizacao::Apagado{a.href, a.cartao, agora};
        }
        notado = EstadoSincronizacao::notarApagado(m_caminho, op.href, copia, contado, agora);
    } else {
        servidor.insert(op.href, {etag, op.bytes, false, std::nullopt});
        m_etagsNovas.insert(op.href, etag);
        ++m_r.enviados;
        // Agreed once the contact here holds the same: at once where
        // nothing here changes with it.
        const auto alvo = m_plano.alvos.constFind(op.href);
        if (!m_comLocal.contains(op.href) && alvo != m_plano.alvos.cend() && alvo->has_value()) {
            EstadoSincronizacao::Cartao c = **alvo;
            c.etag = etag;
            notado = EstadoSincronizacao::notarCartao(m_caminho, op.href, c,
                                                      m_plano.devolvidos.contains(op.href));
        }
    }
    // What cannot be kept is not done any further.
    if (!notado) {
        falhar(Falha::Arquivo);
        return false;
    }
    Q_EMIT progresso(int(m_fila.feitas().size()), int(m_plano.remotas.size()));
    return true;
}

void Sincronizador::reter(bool retido)
{
    m_retido = retido;
    if (!retido && m_fase == Fase::Retida)
        gravarLocal();
}

void Sincronizador::gravarLocal()
{
    if (m_fase != Fase::Enviando && m_fase != Fase::Retida)
        return;
    if (m_retido && !m_plano.locais.isEmpty()) {
        m_fase = Fase::Retida;
        return;
    }
    m_fase = Fase::Gravando;
    const qint64 agora = m_estado.agora(-1);
    bool escrito = m_plano.locais.isEmpty();
    if (!escrito) {
        const Codificacao cod = Codificacoes::detectar(m_local.bytes);
        const QByteArray novo = Fusao::reescrever(m_local.bytes, cod, m_plano.locais);
        if (!Codificacoes::lidoDeVoltaIgual(novo, cod)) {
            falhar(Falha::Arquivo);
            return;
        }
        switch (ArquivoContatos(m_caminho).gravarSeInalterado(m_local.assinatura(), novo)) {
        case ArquivoContatos::Gravacao::Gravado: {
            escrito = true;
            int removidos = 0;
            for (const auto &op : m_plano.locais) {
                if (op.tipo == Fusao::OperacaoLocal::Tipo::Remover)
                    ++removidos;
                else
                    ++m_r.recebidos;
            }
            m_r.apagadosAqui += removidos;
            m_r.conflitos += m_plano.conflitos;
            if (m_decisao.tipo != Decisao::Tipo::Apagar && removidos > 0) {
                m_contadosAqui += removidos;
                EstadoSincronizacao::notarApagamentos(m_caminho, removidos, agora);
            }
            break;
        }
        case ArquivoContatos::Gravacao::Alterado:
            break; // another program wrote it meanwhile: read it again, merge again
        case ArquivoContatos::Gravacao::Falhou:
            falhar(Falha::Arquivo);
            return;
        }
    } else {
        m_r.conflitos += m_plano.conflitos;
    }
    // A card's agreement holds once each of its operations is done.
    const QSet<QString> &feitas = m_fila.feitas();
    QSet<QString> comRemota;
    for (const auto &op : m_plano.remotas)
        comRemota.insert(op.href);
    for (auto it = m_plano.alvos.begin(); it != m_plano.alvos.end(); ++it) {
        if ((m_comLocal.contains(it.key()) && !escrito) ||
            (comRemota.contains(it.key()) && !feitas.contains(it.key())))
            continue;
        if (!it.value()) {
            m_estado.cartoes.remove(it.key());
            continue;
        }
        EstadoSincronizacao::Cartao c = *it.value();
        if (m_etagsNovas.contains(it.key()))
            c.etag = m_etagsNovas.value(it.key());
        m_estado.cartoes.insert(it.key(), c);
    }
    // A card deleted there is kept once deleted; one sent back, forgotten.
    QList<EstadoSincronizacao::Apagado> apagados;
    for (const auto &a : std::as_const(m_plano.apagados)) {
        if (feitas.contains(a.href))
            apagados.append(a);
    }
    m_estado.apagados.removeIf([this, &feitas](const EstadoSincronizacao::Apagado &a) {
        return m_plano.devolvidos.contains(a.href) && feitas.contains(a.href);
    });
    m_estado.guardarApagados(apagados, agora);
    if ((!escrito || !m_fila.repetir().isEmpty()) && ++m_rodada < RODADAS) {
        m_fase = Fase::Lendo;
        m_leitor.buscar(m_fila.repetir(), [this] { ler(); });
        return;
    }
    concluir(escrito);
}

void Sincronizador::concluir(bool escrito)
{
    const LeitorLivro::Livro &livro = m_leitor.livro();
    const QSet<QString> &feitas = m_fila.feitas();
    m_estado.deixar(m_plano.deixados, livro.desconhecidos);
    m_estado.esquecerRenomeacoesFeitas();
    // A merge is done once every card it waited on is deleted; those told
    // while this sync ran wait for the next.
    QList<EstadoSincronizacao::Juncao> juntados;
    for (qsizetype j = 0; j < m_estado.juntados.size(); ++j) {
        const QStringList hrefs = m_plano.juncoesEsperando.value(j);
        if (j >= m_plano.juncoesVistas ||
            std::any_of(hrefs.begin(), hrefs.end(),
                        [&feitas](const QString &h) { return !feitas.contains(h); }))
            juntados.append(m_estado.juntados[j]);
    }
    m_estado.juntados = std::move(juntados);
    // The server's token holds only once every change it listed is merged
    // and written here.
    if (escrito && m_fila.repetir().isEmpty() && livro.desconhecidos.isEmpty()) {
        if (!livro.tokenNovo.isEmpty())
            m_estado.syncToken = livro.tokenNovo;
        if (!livro.ctagNova.isEmpty())
            m_estado.ctag = livro.ctagNova;
    }
    m_r.deixados = int(m_estado.deixados.size());
    m_r.naoLidos = int(livro.desconhecidos.size());
    m_estado.pendentes = m_plano.pendentes;
    for (auto it = m_estado.pendentes.begin(); it != m_estado.pendentes.end();) {
        if (m_estado.cartoes.contains(it.value()))
            it = m_estado.pendentes.erase(it);
        else
            ++it;
    }
    m_estado.contarApagamentos(m_contadosAqui, m_contadosLa, m_estado.agora(-1));
    if (!m_estado.gravar(EstadoSincronizacao::caminhoAoLado(m_caminho))) {
        falhar(Falha::Arquivo);
        return;
    }
    m_compactar = false;
    // Another program kept changing the file: what the server sent waits
    // for the next sync, and this one says so.
    if (!escrito) {
        falhar(Falha::Arquivo, QStringLiteral("O arquivo contatos.txt foi alterado durante a "
                                              "sincronização."));
        return;
    }
    m_fase = Fase::Parada;
    m_r.pedidos = m_cliente->pedidos();
    m_cliente->deleteLater();
    m_cliente = nullptr;
    Q_EMIT terminou(m_r);
}
