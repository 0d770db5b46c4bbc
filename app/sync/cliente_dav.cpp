#include "sync/cliente_dav.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <memory>

namespace {
constexpr int DESVIOS_MAXIMOS = 5;
}

ClienteDav::ClienteDav(QUrl origem, QString usuario, QString senha, QObject *parent)
    : QObject(parent), m_rede(new QNetworkAccessManager(this)), m_origem(std::move(origem))
{
    // No login, no credentials sent at all.
    if (!usuario.isEmpty())
        m_autorizacao = "Basic " + (usuario + u':' + senha).toUtf8().toBase64();
    m_rede->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    m_rede->setCookieJar(nullptr);
}

bool ClienteDav::seguro(const QUrl &url)
{
    const QString esquema = url.scheme().toLower();
    if (esquema == QLatin1String("https"))
        return !url.host().isEmpty();
    if (esquema != QLatin1String("http"))
        return false;
    const QString host = url.host().toLower();
    if (host == QLatin1String("localhost"))
        return true;
    const QHostAddress a(host);
    return !a.isNull() && a.isLoopback();
}

bool ClienteDav::mesmoHost(const QUrl &url) const
{
    return url.host().compare(m_origem.host(), Qt::CaseInsensitive) == 0;
}

bool ClienteDav::mesmaOrigem(const QUrl &url) const
{
    const auto porta = [](const QUrl &u) {
        return u.port(u.scheme().toLower() == QLatin1String("https") ? 443 : 80);
    };
    return mesmoHost(url) && url.scheme().compare(m_origem.scheme(), Qt::CaseInsensitive) == 0 &&
           porta(url) == porta(m_origem);
}

void ClienteDav::cancelar()
{
    ++m_geracao;
    const auto replies = m_rede->findChildren<QNetworkReply *>();
    for (QNetworkReply *r : replies)
        r->abort();
}

void ClienteDav::pedir(const QByteArray &metodo, const QUrl &url, const QByteArray &corpo,
                       const Cabecalhos &cabecalhos, std::function<void(Resposta)> pronto)
{
    enviar(metodo, url, corpo, cabecalhos, 0, std::move(pronto));
}

void ClienteDav::enviar(const QByteArray &metodo, const QUrl &url, const QByteArray &corpo,
                        const Cabecalhos &cabecalhos, int desvios,
                        std::function<void(Resposta)> pronto)
{
    if (!seguro(url)) {
        Resposta r;
        r.erro = Erro::Inseguro;
        r.url = url;
        pronto(r);
        return;
    }
    QNetworkRequest pedido(url);
    pedido.setTransferTimeout(SEM_PROGRESSO_MS);
    pedido.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    pedido.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    pedido.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    // The password goes to the very server it was given for: another port
    // of the same host may be another program.
    if (!m_autorizacao.isEmpty() && mesmaOrigem(url))
        pedido.setRawHeader("Authorization", m_autorizacao);
    for (const auto &[nome, valor] : cabecalhos)
        pedido.setRawHeader(nome, valor);
    if (!corpo.isEmpty() || metodo == "PUT")
        pedido.setHeader(QNetworkRequest::ContentLengthHeader, corpo.size());
    ++m_pedidos;
    QNetworkReply *reply = m_rede->sendCustomRequest(pedido, metodo, corpo);
    auto grande = std::make_shared<bool>(false);
    connect(reply, &QNetworkReply::downloadProgress, reply,
            [reply, grande](qint64 recebidos, qint64 total) {
                if (recebidos > CORPO_MAXIMO || total > CORPO_MAXIMO) {
                    *grande = true;
                    reply->abort();
                }
            });
    const quint64 geracao = m_geracao;
    connect(reply, &QNetworkReply::finished, this, [=, this, pronto = std::move(pronto)]() mutable {
        reply->deleteLater();
        if (geracao != m_geracao)
            return;
        Resposta r;
        r.url = url;
        r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        r.etag = reply->rawHeader("ETag");
        const auto e = reply->error();
        if (*grande) {
            r.erro = Erro::Grande;
        } else if (e == QNetworkReply::SslHandshakeFailedError) {
            r.erro = Erro::Certificado;
            r.detalhe = reply->errorString();
        } else if (r.status == 0 || (e > QNetworkReply::NoError && e < 200) ||
                   e == QNetworkReply::ProtocolFailure) {
            // Refused, cut halfway, or no progress in time: what came
            // is not the whole answer.
            r.erro = Erro::SemConexao;
            r.detalhe = reply->errorString();
        } else {
            r.corpo = reply->readAll();
            if (r.corpo.size() > CORPO_MAXIMO) {
                r.erro = Erro::Grande;
                r.corpo.clear();
            }
        }
        if (r.erro == Erro::Nenhum && r.status >= 300 && r.status < 400 && r.status != 304) {
            const QUrl destino = url.resolved(QUrl::fromEncoded(reply->rawHeader("Location")));
            // Only within the same host, and never from HTTPS down to
            // HTTP.
            const bool rebaixa = url.scheme().toLower() == QLatin1String("https") &&
                                 destino.scheme().toLower() != QLatin1String("https");
            if (desvios >= DESVIOS_MAXIMOS || !destino.isValid() || !mesmoHost(destino) ||
                rebaixa) {
                r.erro = Erro::Desvio;
                r.url = destino;
                pronto(r);
                return;
            }
            enviar(metodo, destino, corpo, cabecalhos, desvios + 1, std::move(pronto));
            return;
        }
        pronto(r);
    });
}
