#include "operations/versoes_anteriores.h"

#include "operations/conta_sincronizacao.h"
#include "sync/estado_sincronizacao.h"

VersoesAnteriores::VersoesAnteriores(ModeloPrincipal &modelo, ContaSincronizacao *conta)
    : m_modelo(modelo), m_conta(conta && conta->conectado() ? conta : nullptr),
      m_versoes(HistoricoVersoes(modelo.arquivo().caminho()).versoes())
{
    if (m_versoes.isEmpty())
        return;
    // Each version read against the file as it is now, newest first; and,
    // connected, against what the last sync agreed with the server.
    m_resumos.resize(m_versoes.size());
    m_efeitos.resize(m_versoes.size());
    const QByteArray atual = modelo.arquivo().lerBytes().bytes;
    QStringList caminhos;
    for (const HistoricoVersoes::Versao &v : std::as_const(m_versoes))
        caminhos.append(v.tamanho <= HistoricoVersoes::TAMANHO_MAXIMO ? v.caminho : QString());
    const QString estado =
        m_conta ? EstadoSincronizacao::caminhoAoLado(modelo.arquivo().caminho()) : QString();
    m_trabalho =
        std::async(std::launch::async, [this, atual, caminhos, estado, locale = modelo.locale()] {
            const EstadoSincronizacao base =
                estado.isEmpty() ? EstadoSincronizacao{} : EstadoSincronizacao::ler(estado);
            for (qsizetype i = 0; i < caminhos.size() && !m_cancelar; ++i) {
                const ArquivoContatos::Leitura l = caminhos[i].isEmpty()
                                                       ? ArquivoContatos::Leitura{}
                                                       : ArquivoContatos(caminhos[i]).lerBytes();
                std::optional<HistoricoVersoes::Resumo> r;
                std::optional<Fusao::Efeito> efeito;
                if (l.estado == ArquivoContatos::Estado::Lido) {
                    r = HistoricoVersoes::resumir(l.bytes, atual);
                    if (!base.cartoes.isEmpty())
                        efeito = Fusao::efeitoNoServidor(base, l.bytes, locale);
                }
                const std::lock_guard trava(m_mutex);
                m_resumos[i] = r.value_or(HistoricoVersoes::Resumo{-1, {}});
                m_efeitos[i] = efeito;
            }
        });
}

VersoesAnteriores::~VersoesAnteriores()
{
    m_cancelar = true;
    if (m_trabalho.valid())
        m_trabalho.wait();
}

QString VersoesAnteriores::quando(const QDateTime &d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QList<HistoricoVersoes::Resumo> VersoesAnteriores::novos(qsizetype desde)
{
    QList<HistoricoVersoes::Resumo> r;
    const std::lock_guard trava(m_mutex);
    for (qsizetype i = desde; i < m_resumos.size() && m_resumos[i]; ++i)
        r.append(*m_resumos[i]);
    return r;
}

std::optional<Fusao::Efeito> VersoesAnteriores::efeito(qsizetype versao)
{
    if (!m_conta || versao < 0 || versao >= m_efeitos.size())
        return std::nullopt;
    const std::lock_guard trava(m_mutex);
    return m_efeitos[versao];
}

ResultadoEdicao VersoesAnteriores::restaurar(qsizetype versao)
{
    if (versao < 0 || versao >= m_versoes.size())
        return {};
    const HistoricoVersoes::Versao v = m_versoes[versao];
    std::optional<Fusao::Efeito> e;
    bool pronto = false;
    if (m_conta) {
        const std::lock_guard trava(m_mutex);
        pronto = m_resumos[versao].has_value();
        e = m_efeitos[versao];
    }
    if (m_conta && !pronto) {
        // Restored before the other thread came to it.
        const ArquivoContatos::Leitura l = ArquivoContatos(v.caminho).lerBytes();
        const EstadoSincronizacao base = EstadoSincronizacao::ler(
            EstadoSincronizacao::caminhoAoLado(m_modelo.arquivo().caminho()));
        if (l.estado == ArquivoContatos::Estado::Lido && !base.cartoes.isEmpty())
            e = Fusao::efeitoNoServidor(base, l.bytes, m_modelo.locale());
    }
    const ResultadoEdicao r = EdicaoContatos(m_modelo).restaurar(v.caminho, quando(v.quando));
    // The user saw what it deletes there: the sync does it without asking.
    if (e && r.desfecho == ResultadoEdicao::Desfecho::Gravado)
        m_conta->controle().autorizar(e->apagar);
    return r;
}
