#include "sync/descoberta_livro.h"

namespace DescobertaLivro {

namespace {

bool ehLivro(const Multistatus::Resposta &r)
{
    const auto *t = r.propriedade(Multistatus::DAV, u"resourcetype");
    return t && t->filhos.contains(Multistatus::chave(Multistatus::CARDDAV, u"addressbook"));
}

} // namespace

QString nomeExibido(const Multistatus::Resposta &r)
{
    const auto *nome = r.propriedade(Multistatus::DAV, u"displayname");
    return nome ? nome->texto.simplified().left(200) : QString();
}

Passo seguir(const Multistatus::Leitura &m, const QUrl &onde)
{
    using T = Passo::Tipo;
    for (const auto &r : m.respostas) {
        if (ehLivro(r))
            return {T::Livro, onde, nomeExibido(r)};
        if (const auto *c = r.propriedade(Multistatus::CARDDAV, u"addressbook-home-set");
            c && !c->hrefs.isEmpty())
            return {T::Casa, onde.resolved(QUrl(c->hrefs.first())), {}};
        if (const auto *p = r.propriedade(Multistatus::DAV, u"current-user-principal");
            p && !p->hrefs.isEmpty())
            return {T::Principal, onde.resolved(QUrl(p->hrefs.first())), {}};
    }
    return {};
}

Passo escolher(const Multistatus::Leitura &m, const QUrl &onde)
{
    Passo escolhido;
    for (const auto &r : m.respostas) {
        if (!ehLivro(r) || r.hrefs.isEmpty())
            continue;
        const QUrl u = onde.resolved(QUrl(r.hrefs.first()));
        if (u.host().compare(onde.host(), Qt::CaseInsensitive) != 0)
            continue;
        const QString ultimo = u.path().section(u'/', -2, -2).toLower();
        const QString nome = nomeExibido(r);
        const QString exibido = nome.toLower();
        const bool preferido = ultimo == u"contacts" || ultimo == u"default" ||
                               exibido == u"contacts" || exibido == u"default";
        if (escolhido.tipo == Passo::Tipo::Nada || preferido) {
            escolhido = {Passo::Tipo::Livro, u, nome};
            if (preferido)
                break;
        }
    }
    return escolhido;
}

} // namespace DescobertaLivro
