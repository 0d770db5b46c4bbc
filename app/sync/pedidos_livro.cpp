#include "sync/pedidos_livro.h"

namespace {

QByteArray escaparXml(const QString &t)
{
    return t.toHtmlEscaped().toUtf8();
}

} // namespace

QByteArray PedidosLivro::corpoPropfind(const QByteArray &props)
{
    return R"(<?xml version="1.0" encoding="utf-8"?>)"
           R"(<d:propfind xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:carddav" )"
           R"(xmlns:cs="http://calendarserver.org/ns/"><d:prop>)" +
           props + "</d:prop></d:propfind>";
}

QByteArray PedidosLivro::corpoMudancas(const QString &token)
{
    return R"(<?xml version="1.0" encoding="utf-8"?><d:sync-collection xmlns:d="DAV:"><d:sync-token>)" +
           escaparXml(token) +
           "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
           "</d:sync-collection>";
}

QByteArray PedidosLivro::corpoMultiget(const QStringList &hrefs)
{
    QByteArray corpo = R"(<?xml version="1.0" encoding="utf-8"?>)"
                       R"(<c:addressbook-multiget xmlns:d="DAV:" )"
                       R"(xmlns:c="urn:ietf:params:xml:ns:carddav">)"
                       "<d:prop><d:getetag/><c:address-data/></d:prop>";
    for (const QString &h : hrefs)
        corpo += "<d:href>" + escaparXml(h) + "</d:href>";
    return corpo + "</c:addressbook-multiget>";
}

QString PedidosLivro::palavras(const QByteArray &corpo)
{
    return QString::fromUtf8(corpo.left(2000)).simplified().left(200);
}

void PedidosLivro::xml(const QByteArray &metodo, const QUrl &url, int profundidade,
                       const QByteArray &corpo, std::function<void(const Resposta &)> pronto)
{
    m_cliente->pedir(metodo, url, corpo,
                     {{"Depth", QByteArray::number(profundidade)},
                      {"Content-Type", "application/xml; charset=utf-8"}},
                     std::move(pronto));
}

void PedidosLivro::propfind(const QUrl &url, int profundidade, const QByteArray &props,
                            std::function<void(const Multistatus::Leitura &, const QUrl &)> pronto)
{
    xml("PROPFIND", url, profundidade, corpoPropfind(props),
        [this, pronto = std::move(pronto)](const Resposta &r) {
            if (const auto m = multistatus(r, Falha::Endereco))
                pronto(*m, r.url);
        });
}

bool PedidosLivro::falhou(const Resposta &r)
{
    switch (r.erro) {
    case ClienteDav::Erro::Nenhum:
        break;
    case ClienteDav::Erro::SemConexao:
        falhar(Falha::SemConexao, r.detalhe);
        return true;
    case ClienteDav::Erro::Certificado:
        falhar(Falha::Certificado, r.detalhe);
        return true;
    case ClienteDav::Erro::Inseguro:
        falhar(Falha::Inseguro);
        return true;
    case ClienteDav::Erro::Grande:
    case ClienteDav::Erro::Desvio:
        falhar(Falha::Servidor, r.url.toDisplayString());
        return true;
    }
    if (r.status == 401 || r.status == 403) {
        falhar(Falha::Senha, palavras(r.corpo));
        return true;
    }
    if (r.status == 404 || r.status == 410) {
        falhar(Falha::Endereco, r.url.toDisplayString());
        return true;
    }
    if (r.status >= 400) {
        falhar(Falha::Servidor, QString::number(r.status) + u' ' + palavras(r.corpo));
        return true;
    }
    return false;
}

std::optional<Multistatus::Leitura> PedidosLivro::multistatus(const Resposta &r, Falha senao)
{
    if (falhou(r))
        return std::nullopt;
    auto m = Multistatus::ler(r.corpo);
    if (r.status != 207 || !m) {
        falhar(senao, senao == Falha::Endereco ? r.url.toDisplayString() : palavras(r.corpo));
        return std::nullopt;
    }
    return m;
}
