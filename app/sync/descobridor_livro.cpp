#include "sync/descobridor_livro.h"

void DescobridorLivro::descobrir(const QUrl &endereco, Achado achado)
{
    m_endereco = endereco;
    m_achado = std::move(achado);
    const QByteArray props = DescobertaLivro::PROPRIEDADES;
    m_pedidos.xml("PROPFIND", endereco, 0, PedidosLivro::corpoPropfind(props),
                  [this, props](const PedidosLivro::Resposta &r) {
                      if (r.erro != ClienteDav::Erro::Nenhum || r.status == 401 ||
                          r.status == 403 || r.status >= 500) {
                          m_pedidos.falhou(r);
                          return;
                      }
                      const auto m = Multistatus::ler(r.corpo);
                      if (r.status == 207 && m && seguir(DescobertaLivro::seguir(*m, r.url)))
                          return;
                      // A server's own address: its well-known place.
                      m_pedidos.propfind(
                          m_endereco.resolved(QUrl(QStringLiteral("/.well-known/carddav"))), 0,
                          props, [this](const auto &m2, const QUrl &onde) {
                              if (!seguir(DescobertaLivro::seguir(m2, onde)))
                                  m_pedidos.falhar(PedidosLivro::Falha::Endereco,
                                                   m_endereco.toDisplayString());
                          });
                  });
}

bool DescobridorLivro::seguir(const DescobertaLivro::Passo &passo)
{
    using T = DescobertaLivro::Passo::Tipo;
    switch (passo.tipo) {
    case T::Nada:
        return false;
    case T::Livro:
        m_achado(passo.url, passo.nome);
        return true;
    case T::Casa:
        m_pedidos.propfind(passo.url, 1, "<d:resourcetype/><d:displayname/>",
                           [this](const auto &m, const QUrl &onde) {
                               if (!seguir(DescobertaLivro::escolher(m, onde)))
                                   m_pedidos.falhar(PedidosLivro::Falha::Endereco,
                                                    onde.toDisplayString());
                           });
        return true;
    case T::Principal:
        m_pedidos.propfind(
            passo.url, 0, "<c:addressbook-home-set/>", [this](const auto &m, const QUrl &onde) {
                const auto proximo = DescobertaLivro::seguir(m, onde);
                if (proximo.tipo != T::Casa || !seguir(proximo))
                    m_pedidos.falhar(PedidosLivro::Falha::Endereco, onde.toDisplayString());
            });
        return true;
    }
    return false;
}
