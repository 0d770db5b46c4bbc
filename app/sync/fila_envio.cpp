#include "sync/fila_envio.h"

namespace {
constexpr int EM_CURSO = 4;
}

void FilaEnvio::enviar(const QList<Fusao::OperacaoServidor> &ops, const QUrl &colecao, Feita feita,
                       std::function<void()> pronta)
{
    m_ops = ops;
    m_colecao = colecao;
    m_feita = std::move(feita);
    m_pronta = std::move(pronta);
    m_ativa = true;
    m_proxima = 0;
    m_emCurso = 0;
    m_feitas.clear();
    m_repetir.clear();
    for (int i = 0; i < EM_CURSO && m_ativa; ++i)
        proxima();
}

void FilaEnvio::proxima()
{
    if (!m_ativa)
        return;
    if (m_proxima >= m_ops.size()) {
        if (m_emCurso == 0) {
            m_ativa = false;
            m_pronta();
        }
        return;
    }
    // A card merged into another waits for the writes under way, and stays
    // when that one failed.
    if (const QString &antes = m_ops[m_proxima].depoisDe;
        !antes.isEmpty() && !m_feitas.contains(antes)) {
        if (m_emCurso > 0)
            return;
        ++m_proxima;
        proxima();
        return;
    }
    const Fusao::OperacaoServidor op = m_ops[m_proxima++];
    ++m_emCurso;
    using Tipo = Fusao::OperacaoServidor::Tipo;
    ClienteDav::Cabecalhos cab;
    if (op.tipo == Tipo::Criar)
        cab.append(qMakePair(QByteArray("If-None-Match"), QByteArray("*")));
    else
        cab.append(qMakePair(QByteArray("If-Match"), op.etag));
    if (op.tipo != Tipo::Apagar)
        cab.append(qMakePair(QByteArray("Content-Type"), QByteArray("text/vcard; charset=utf-8")));
    const QUrl url = m_colecao.resolved(QUrl::fromEncoded(op.href.toUtf8()));
    m_pedidos.cliente().pedir(
        op.tipo == Tipo::Apagar ? "DELETE" : "PUT", url, op.bytes, cab,
        [this, op](const PedidosLivro::Resposta &r) {
            if (!m_ativa)
                return;
            --m_emCurso;
            if (r.erro == ClienteDav::Erro::Nenhum &&
                (r.status == 412 || (op.tipo != Tipo::Criar && r.status == 404))) {
                // Changed or gone since it was read: read again, merge again.
                if (!(op.tipo == Tipo::Apagar && r.status == 404)) {
                    m_repetir.append(op.href);
                    proxima();
                    return;
                }
            } else if (m_pedidos.falhou(r)) {
                return;
            }
            m_feitas.insert(op.href);
            if (!m_feita(op, r.etag)) {
                m_ativa = false;
                return;
            }
            proxima();
        });
}
