#include "sync/fusao.h"

#include "store/codificacoes.h"
#include "store/formato_contatos.h"
#include "sync/cartao_vcard.h"

#include <QSet>
#include <QUrl>
#include <algorithm>
#include <list>

namespace Fusao {

namespace {

using Cartao = EstadoSincronizacao::Cartao;
constexpr QString ContactRecord::*CAMPOS[] = {&ContactRecord::Nome, &ContactRecord::Telefone,
                                              &ContactRecord::Email};

class Fusao {
    // A card not agreed on yet, read (by the listing, or here into
    // m_lidosAqui), with its name's key.
    struct Novo {
        const CartaoVCard *cartao = nullptr;
        QString chave;
    };

public:
    explicit Fusao(const Entrada &e) : m_e(e), m_locais(*e.locais), m_usado(m_locais.size())
    {
        // The first contact of each name is the one synced; another of the
        // same name (by the add's rule) is left as the file holds it.
        for (qsizetype i = 0; i < m_locais.size(); ++i) {
            const QString k = chave(m_locais[i].Nome);
            if (m_chaves.contains(k)) {
                m_usado[i] = true;
                continue;
            }
            m_chaves.insert(k);
            m_porChave.insert(k, i);
            m_porNome.insert(m_locais[i].Nome, i);
        }
        const auto &apagados = m_e.base->apagados;
        for (qsizetype a = 0; a < apagados.size(); ++a) {
            if (apagados[a].cartao.local)
                m_apagadosPorNome[apagados[a].cartao.local->Nome].append(a);
        }
        m_para = destinosDasJuncoes();
    }

    Plano fundir()
    {
        const auto &base = m_e.base->cartoes;
        const auto &servidor = *m_e.servidor;
        QStringList hrefs = base.keys();
        for (auto it = servidor.begin(); it != servidor.end(); ++it) {
            if (!base.contains(it.key()))
                hrefs.append(it.key());
        }
        std::sort(hrefs.begin(), hrefs.end());
        // The contacts the last sync agreed: renamed here, then found by
        // name, then, for a change another program made, renamed with their
        // telephone and e-mail unchanged.
        QHash<QString, qsizetype> localDe;
        const QHash<QString, QString> destino = renomeacoes();
        for (const QString &h : hrefs) {
            const auto b = base.constFind(h);
            if (b == base.cend() || !b->local)
                continue;
            const auto d = destino.constFind(b->local->Nome);
            const qsizetype i = d == destino.cend() ? -1 : m_porNome.value(*d, -1);
            if (i >= 0 && !m_usado[i]) {
                localDe.insert(h, i);
                m_usado[i] = true;
            }
        }
        QStringList perdidos;
        for (const QString &h : hrefs) {
            const auto b = base.constFind(h);
            if (b == base.cend() || !b->local || localDe.contains(h))
                continue;
            const qsizetype i = m_porNome.value(b->local->Nome, -1);
            if (i >= 0 && !m_usado[i]) {
                localDe.insert(h, i);
                m_usado[i] = true;
            } else {
                perdidos.append(h);
            }
        }
        for (const QString &h : perdidos) {
            const ContactRecord b = *base.value(h).local;
            if (b.Telefone.isEmpty() && b.Email.isEmpty())
                continue;
            qsizetype achado = -1, quantos = 0;
            for (qsizetype i = 0; i < m_locais.size(); ++i) {
                if (!m_usado[i] && m_locais[i].Telefone == b.Telefone &&
                    m_locais[i].Email == b.Email) {
                    achado = i;
                    ++quantos;
                }
            }
            // Never a deleted contact and a new one whose names share nothing.
            if (quantos == 1 && compartilhamPalavra(b.Nome, m_locais[achado].Nome)) {
                localDe.insert(h, achado);
                m_usado[achado] = true;
            }
        }
        for (const QString &h : hrefs) {
            const auto b = base.constFind(h);
            if (b == base.cend() || !b->local)
                continue;
            ++m_p.acordados;
            m_p.acordadosAqui += localDe.contains(h);
            m_p.acordadosLa +=
                servidor.contains(h) || (m_e.desconhecidos && m_e.desconhecidos->contains(h));
        }
        // Cards this phone book has not agreed on yet, read once, by name:
        // one may take over a contact whose card went.
        QStringList novos;
        for (const QString &h : hrefs) {
            const auto b = base.constFind(h);
            const auto s = servidor.constFind(h);
            if ((b == base.cend() || !b->local) && s != servidor.cend()) {
                novos.append(h);
                Novo n;
                if (s->lido) {
                    n.cartao = s->cartao ? &*s->cartao : nullptr;
                } else if (auto c = CartaoVCard::ler(s->bytes)) {
                    m_lidosAqui.push_back(std::move(*c));
                    n.cartao = &m_lidosAqui.back();
                }
                if (n.cartao) {
                    n.chave = chave(n.cartao->registro().Nome);
                    m_novosPorChave[n.chave].append(h);
                }
                m_novos.insert(h, n);
            }
        }
        for (const QString &h : hrefs) {
            if (m_e.desconhecidos && m_e.desconhecidos->contains(h))
                continue;
            const auto b = base.constFind(h);
            const auto s = servidor.constFind(h);
            if (b == base.cend() || !b->local) {
                if (s == servidor.cend())
                    m_p.alvos.insert(h, std::nullopt);
                continue;
            }
            conhecido(h, *b, s == servidor.cend() ? nullptr : &*s, localDe.value(h, -1));
        }
        for (const QString &h : novos) {
            if (!m_tomados.contains(h))
                doServidor(h, *servidor.constFind(h), m_novos.value(h));
        }
        for (qsizetype i = 0; i < m_locais.size(); ++i) {
            if (!m_usado[i])
                daqui(m_locais[i]);
        }
        juntarCartoes();
        return std::move(m_p);
    }

private:
    QString chave(const QString &nome) const
    {
        return FormatoContatos::chaveDoNome(m_e.locale, FormatoContatos::aparar(nome));
    }

    bool cabe(const ContactRecord &r) const
    {
        return !FormatoContatos::aparar(r.Nome).isEmpty() &&
               !FormatoContatos::primeiroProibido(r.Nome) &&
               std::all_of(std::begin(CAMPOS), std::end(CAMPOS), [&](auto campo) {
                   return FormatoContatos::campoGravavel(r.*campo, m_e.codificacao);
               });
    }

    // A name from the server the file may take: one a tab lists, unless it
    // is the name the file holds already.
    bool cabeDeLa(const ContactRecord &r, const QString &nomeAqui = {}) const
    {
        return cabe(r) && (r.Nome == nomeAqui || !m_e.listavel || m_e.listavel(r.Nome));
    }

    void deixar(const QString &h, const CartaoServidor &s)
    {
        m_p.deixados.insert(h, Cartao{s.etag, s.bytes, {}, {}});
    }

    // Each first name of the base renamed here to the name it has now.
    QHash<QString, QString> renomeacoes() const
    {
        QHash<QString, QString> destino, origem;
        for (const auto &[de, para] : m_e.base->renomeados) {
            const QString primeiro = origem.contains(de) ? origem.take(de) : de;
            destino.insert(primeiro, para);
            origem.insert(para, primeiro);
        }
        return destino;
    }

    // The words of a name, case and accents aside.
    static QSet<QString> palavrasDe(const QString &nome)
    {
        QString plano;
        for (const QChar c : nome.normalized(QString::NormalizationForm_D)) {
            if (!c.isMark())
                plano += c.isLetterOrNumber() ? c : QChar(u' ');
        }
        const QStringList p = plano.toCaseFolded().split(u' ', Qt::SkipEmptyParts);
        return {p.begin(), p.end()};
    }

    static bool compartilhamPalavra(const QString &a, const QString &b)
    {
        return palavrasDe(a).intersects(palavrasDe(b));
    }

    // A card not agreed on yet whose name is the contact's: it takes over
    // when the contact's own card goes.
    QString sucessor(const QString &nome)
    {
        for (const QString &h : m_novosPorChave.value(chave(nome))) {
            if (!m_tomados.contains(h))
                return h;
        }
        return {};
    }

    void local(const QString &h, OperacaoLocal::Tipo t, const QString &nome, const ContactRecord &r)
    {
        m_p.locais.append({t, nome, r, h});
    }

    void remota(OperacaoServidor::Tipo t, const QString &h, const QByteArray &etag,
                const QByteArray &bytes, bool juncao = false)
    {
        m_p.remotas.append({t, h, etag, bytes, {}, juncao});
    }

    // The contact a name was merged into here, while that one is still in
    // the file; nothing for a name merged into none, or into a contact
    // since deleted (its card then goes as any other).
    QString juntadoEm(const QString &nome) const
    {
        const auto d = m_para.constFind(nome);
        if (d == m_para.cend() || d->first.isEmpty() || !m_porNome.contains(d->first))
            return {};
        return d->first;
    }

    // A card the last sync agreed on.
    void conhecido(const QString &h, const Cartao &b, const CartaoServidor *s, qsizetype i)
    {
        if (!s) {
            if (i < 0) {
                m_p.alvos.insert(h, std::nullopt);
                return;
            }
            // Another card of the name on the server: the contact stays, and
            // that card is its own from now on.
            if (const QString h2 = sucessor(m_locais[i].Nome); !h2.isEmpty()) {
                m_tomados.insert(h2);
                m_p.alvos.insert(h, std::nullopt);
                const CartaoVCard *cartao = m_novos.value(h2).cartao;
                juntar(h2, *m_e.servidor->constFind(h2), cartao, cartao->registro(), m_locais[i],
                       b.servidor, *b.local);
                return;
            }
            if (m_locais[i] == *b.local && !m_e.semApagar) {
                local(h, OperacaoLocal::Tipo::Remover, m_locais[i].Nome, {});
                m_p.alvos.insert(h, std::nullopt);
                ++m_p.apagadosAqui;
                return;
            }
            // Changed here (or kept), deleted there: it comes back there, whole.
            auto c = CartaoVCard::ler(b.bytes);
            if (!c || !c->aplicar(m_locais[i]))
                c = CartaoVCard::novo(m_locais[i], m_e.novoUid());
            remota(OperacaoServidor::Tipo::Criar, h, {}, c->bytes());
            m_p.alvos.insert(h, Cartao{{}, c->bytes(), c->registro(), m_locais[i]});
            ++m_p.enviados;
            return;
        }
        const bool mudouLa = s->bytes != b.bytes;
        std::optional<CartaoVCard> cartao;
        if (mudouLa) {
            cartao = s->ler();
            if (!cartao) {
                deixar(h, *s);
                return;
            }
        }
        const ContactRecord sr = cartao ? cartao->registro() : b.servidor;
        if (i < 0 && !juntadoEm(b.local->Nome).isEmpty()) {
            // Merged here into another: deleted there once that one holds its
            // lines, whatever it holds now and whatever was decided about
            // deletes, so that a merge is never undone by itself.
            remota(OperacaoServidor::Tipo::Apagar, h, s->etag, {}, true);
            m_p.alvos.insert(h, std::nullopt);
            m_p.apagados.append({h, mudouLa ? Cartao{s->etag, s->bytes, sr, b.local} : b});
            ++m_p.apagadosLa;
            return;
        }
        if (i < 0) {
            if (!mudouLa && !m_e.semApagar) {
                remota(OperacaoServidor::Tipo::Apagar, h, s->etag, {});
                m_p.alvos.insert(h, std::nullopt);
                m_p.apagados.append({h, b});
                ++m_p.apagadosLa;
            } else if (cabeDeLa(sr) && !m_chaves.contains(chave(sr.Nome))) {
                // Deleted here, changed (or kept) there: it comes back here.
                m_chaves.insert(chave(sr.Nome));
                local(h, OperacaoLocal::Tipo::Acrescentar, {}, sr);
                m_p.alvos.insert(h, Cartao{s->etag, s->bytes, sr, sr});
                ++m_p.recebidos;
            } else {
                // Left there as a card of no contact of the file.
                m_p.alvos.insert(h, std::nullopt);
                deixar(h, *s);
            }
            return;
        }
        juntar(h, *s, cartao ? &*cartao : nullptr, sr, m_locais[i], b.servidor, *b.local);
    }

    // The contact of the file and the card of the server, each against what
    // the last sync agreed (with nothing agreed, as on a first sync, an
    // empty field takes the other side's value).
    void juntar(const QString &h, const CartaoServidor &s, const CartaoVCard *lido,
                const ContactRecord &sr, const ContactRecord &l, const ContactRecord &bs,
                const ContactRecord &bl)
    {
        ContactRecord r = l;
        QList<QString ContactRecord::*> perdidos;
        for (auto campo : CAMPOS) {
            const bool aqui = l.*campo != bl.*campo, la = sr.*campo != bs.*campo;
            if (la && !aqui) {
                // A name the server writes only in another case or normal
                // form that the file cannot hold: the file's spelling stays.
                if (campo != &ContactRecord::Nome ||
                    FormatoContatos::campoGravavel(sr.Nome, m_e.codificacao) ||
                    chave(sr.Nome) != chave(l.Nome))
                    r.*campo = sr.*campo;
            } else if (la && aqui && l.*campo != sr.*campo) {
                if (!(sr.*campo).isEmpty() &&
                    (campo != &ContactRecord::Nome || chave(sr.Nome) != chave(l.Nome)))
                    perdidos.append(campo);
                if (!(sr.*campo).isEmpty())
                    ++m_p.conflitos;
            }
        }
        if (r != l) {
            const bool mesmoNome = chave(r.Nome) == chave(l.Nome);
            if (!cabeDeLa(r, l.Nome) || (!mesmoNome && m_chaves.contains(chave(r.Nome)))) {
                deixar(h, s);
                return;
            }
            m_chaves.insert(chave(r.Nome));
            local(h, OperacaoLocal::Tipo::Trocar, l.Nome, r);
            ++m_p.recebidos;
        }
        // A field goes to the server when the merge changed it there; one
        // that only reads differently on each side (a card of another program
        // read without its spaces) is not sent again.
        const bool enviar = std::any_of(std::begin(CAMPOS), std::end(CAMPOS), [&](auto campo) {
            return r.*campo != sr.*campo && r.*campo != bl.*campo;
        });
        if (enviar || !perdidos.isEmpty()) {
            auto cartao = lido ? std::optional(*lido) : s.ler();
            if (!cartao || !cartao->aplicar(r)) {
                deixar(h, s);
                return;
            }
            for (auto campo : perdidos) {
                if (campo == &ContactRecord::Telefone)
                    cartao->acrescentarTelefone(sr.Telefone);
                else if (campo == &ContactRecord::Email)
                    cartao->acrescentarEmail(sr.Email);
                else
                    cartao->acrescentarNota(sr.Nome);
            }
            remota(OperacaoServidor::Tipo::Alterar, h, s.etag, cartao->bytes());
            m_p.alvos.insert(h, Cartao{{}, cartao->bytes(), cartao->registro(), r});
            ++m_p.enviados;
        } else {
            m_p.alvos.insert(h, Cartao{s.etag, s.bytes, sr, r});
        }
    }

    // A card this phone book has not agreed on yet: the contact of that name
    // if there is one (nothing deleted), else a new contact.
    void doServidor(const QString &h, const CartaoServidor &s, const Novo &novo)
    {
        const CartaoVCard *cartao = novo.cartao;
        if (!cartao) {
            deixar(h, s);
            return;
        }
        const ContactRecord &sr = cartao->registro();
        const QString &k = novo.chave;
        const qsizetype i = m_porChave.value(k, -1);
        if (i >= 0 && !m_usado[i]) {
            m_usado[i] = true;
            juntar(h, s, cartao, sr, m_locais[i], {sr.Nome, {}, {}}, {m_locais[i].Nome, {}, {}});
            return;
        }
        if (!cabeDeLa(sr) || m_chaves.contains(k)) {
            deixar(h, s);
            return;
        }
        m_chaves.insert(k);
        local(h, OperacaoLocal::Tipo::Acrescentar, {}, sr);
        m_p.alvos.insert(h, Cartao{s.etag, s.bytes, sr, sr});
        ++m_p.recebidos;
    }

    // Where each merged name went, a merge of a merge followed to its end;
    // nothing for a name that went round to itself.
    QHash<QString, std::pair<QString, qsizetype>> destinosDasJuncoes() const
    {
        QHash<QString, std::pair<QString, qsizetype>> para; // name -> (kept, merge)
        const auto &juntados = m_e.base->juntados;
        for (qsizetype j = 0; j < juntados.size(); ++j) {
            para.remove(juntados[j].mantido);
            for (const QString &o : juntados[j].outros) {
                if (o != juntados[j].mantido)
                    para.insert(o, {juntados[j].mantido, j});
            }
        }
        for (auto it = para.begin(); it != para.end(); ++it) {
            QString d = it->first;
            for (int passos = 0; para.contains(d) && passos <= para.size(); ++passos)
                d = para.value(d).first;
            it->first = para.contains(d) ? QString() : d;
        }
        return para;
    }

    // The cards of contacts merged here into one: the kept contact's card
    // takes every line of theirs it lacks (every telephone and e-mail among
    // them, its own old ones too where the merge chose another's to show),
    // and theirs go only once it is written. Where it needs no write, it
    // holds all of them already: they go at once. Where it cannot (a card
    // of the kept contact this sync cannot change), they stay there for the
    // next sync.
    void juntarCartoes()
    {
        const auto &juntados = m_e.base->juntados;
        m_p.juncoesVistas = juntados.size();
        if (juntados.isEmpty())
            return;
        QHash<QString, QString> hrefDoNome;
        for (auto it = m_p.alvos.cbegin(); it != m_p.alvos.cend(); ++it) {
            if (*it && (*it)->local)
                hrefDoNome.insert((*it)->local->Nome, it.key());
        }
        using Tipo = OperacaoServidor::Tipo;
        QHash<QString, QList<qsizetype>> porDestino; // kept card -> delete operations
        QSet<QString> mudados;                       // kept cards the merge changed here
        QSet<qsizetype> manter;                      // deletes not done this time
        for (const EstadoSincronizacao::Juncao &j : juntados) {
            const QString hk = hrefDoNome.value(j.mantido);
            if (!hk.isEmpty() && std::any_of(m_p.remotas.cbegin(), m_p.remotas.cend(),
                                             [&](const auto &o) { return o.href == hk; }))
                mudados.insert(hk);
        }
        for (qsizetype k = 0; k < m_p.remotas.size(); ++k) {
            const OperacaoServidor &op = m_p.remotas[k];
            if (!op.juncao)
                continue;
            const auto d = m_para.constFind(m_e.base->cartoes.value(op.href).local->Nome);
            m_p.juncoesEsperando[d->second].append(op.href);
            const QString hk = hrefDoNome.value(d->first);
            if (hk.isEmpty())
                manter.insert(k);
            else
                porDestino[hk].append(k);
        }
        for (const QString &hk : std::as_const(mudados))
            porDestino.insert(hk, porDestino.value(hk));
        for (auto it = porDestino.cbegin(); it != porDestino.cend(); ++it) {
            const QString &hk = it.key();
            const Cartao alvo = **m_p.alvos.constFind(hk);
            auto cartao = CartaoVCard::ler(alvo.bytes);
            if (!cartao) {
                for (qsizetype k : *it)
                    manter.insert(k);
                continue;
            }
            // The card as it stands there now, or as last agreed.
            const auto ate = [this](const QString &h) {
                const auto s = m_e.servidor->constFind(h);
                return s != m_e.servidor->cend() ? s->bytes : m_e.base->cartoes.value(h).bytes;
            };
            if (const auto proprio = CartaoVCard::ler(ate(hk)))
                cartao->acrescentarCartao(*proprio);
            for (qsizetype k : *it) {
                if (const auto outro = CartaoVCard::ler(ate(m_p.remotas[k].href)))
                    cartao->acrescentarCartao(*outro);
            }
            if (cartao->bytes() == alvo.bytes)
                continue;
            for (qsizetype k : *it)
                m_p.remotas[k].depoisDe = hk;
            auto op = std::find_if(m_p.remotas.begin(), m_p.remotas.end(), [&](const auto &o) {
                return o.href == hk && o.tipo != Tipo::Apagar;
            });
            if (op != m_p.remotas.end()) {
                op->bytes = cartao->bytes();
            } else {
                remota(Tipo::Alterar, hk, m_e.servidor->value(hk).etag, cartao->bytes());
                ++m_p.enviados;
            }
            m_p.alvos.insert(hk, Cartao{{}, cartao->bytes(), cartao->registro(), alvo.local});
        }
        // Those kept stay as the last sync agreed; the others wait at the end
        // for the card they went into.
        QList<OperacaoServidor> remotas, depois;
        for (qsizetype k = 0; k < m_p.remotas.size(); ++k) {
            const OperacaoServidor &op = m_p.remotas[k];
            if (manter.contains(k)) {
                m_p.alvos.insert(op.href, m_e.base->cartoes.value(op.href));
                m_p.apagados.removeIf([&](const auto &a) { return a.href == op.href; });
                --m_p.apagadosLa;
            } else {
                (op.depoisDe.isEmpty() ? remotas : depois).append(op);
            }
        }
        m_p.remotas = remotas + depois;
    }

    // A card's place the merge has not given to another.
    bool livre(const QString &h) const
    {
        return !m_e.servidor->contains(h) && !m_e.base->cartoes.contains(h) &&
               !m_p.alvos.contains(h);
    }

    // A contact the server has not seen: a new card; or, where it is exactly
    // one this phone book deleted there, that card again, whole.
    void daqui(const ContactRecord &l)
    {
        const QString k = chave(l.Nome);
        const auto &apagados = m_e.base->apagados;
        const QList<qsizetype> mesmos = m_apagadosPorNome.value(l.Nome);
        for (auto j = mesmos.crbegin(); j != mesmos.crend(); ++j) {
            const auto a = apagados.cbegin() + *j;
            if (a->cartao.local != l || !livre(a->href) || m_p.devolvidos.contains(a->href))
                continue;
            m_p.devolvidos.insert(a->href);
            m_p.pendentes.insert(k, a->href);
            remota(OperacaoServidor::Tipo::Criar, a->href, {}, a->cartao.bytes);
            m_p.alvos.insert(a->href, Cartao{{}, a->cartao.bytes, a->cartao.servidor, l});
            ++m_p.enviados;
            return;
        }
        // The place a sync that was cut short sent it to, if it is free.
        QString h = m_e.base->pendentes.value(k);
        if (h.isEmpty() || !h.startsWith(m_e.colecao) || !h.endsWith(QLatin1String(".vcf")) ||
            !livre(h))
            h = m_e.colecao + m_e.novoUid() + QLatin1String(".vcf");
        const QString uid = h.mid(m_e.colecao.size()).chopped(4);
        m_p.pendentes.insert(k, h);
        const CartaoVCard c = CartaoVCard::novo(l, QUrl::fromPercentEncoding(uid.toUtf8()));
        remota(OperacaoServidor::Tipo::Criar, h, {}, c.bytes());
        m_p.alvos.insert(h, Cartao{{}, c.bytes(), c.registro(), l});
        ++m_p.enviados;
    }

    const Entrada &m_e;
    const QList<ContactRecord> &m_locais;
    QList<bool> m_usado;
    QSet<QString> m_chaves;
    QHash<QString, qsizetype> m_porChave;
    QHash<QString, qsizetype> m_porNome;
    QHash<QString, QList<qsizetype>> m_apagadosPorNome;
    QHash<QString, Novo> m_novos;
    std::list<CartaoVCard> m_lidosAqui;
    QHash<QString, QStringList> m_novosPorChave;
    QSet<QString> m_tomados;
    // Where each merged name went: the kept name and its merge.
    QHash<QString, std::pair<QString, qsizetype>> m_para;
    Plano m_p;
};

} // namespace

Plano fundir(const Entrada &e)
{
    return Fusao(e).fundir();
}

Efeito efeitoNoServidor(const EstadoSincronizacao &base, QByteArrayView arquivo,
                        const QLocale &locale)
{
    const QList<ContactRecord> locais = FormatoContatos::lerRegistros(arquivo);
    QHash<QString, CartaoServidor> servidor;
    for (auto it = base.cartoes.begin(); it != base.cartoes.end(); ++it)
        servidor.insert(it.key(), {it->etag, it->bytes, false, std::nullopt});
    for (auto it = base.deixados.begin(); it != base.deixados.end(); ++it)
        servidor.insert(it.key(), {it->etag, it->bytes, false, std::nullopt});
    Entrada e;
    e.base = &base;
    e.servidor = &servidor;
    e.locais = &locais;
    e.codificacao = Codificacoes::detectar(arquivo);
    e.locale = locale;
    e.novoUid = [] { return QString(); };
    Efeito r;
    for (const OperacaoServidor &op : fundir(e).remotas) {
        if (op.tipo == OperacaoServidor::Tipo::Apagar)
            ++r.apagar;
        else if (op.tipo == OperacaoServidor::Tipo::Alterar)
            ++r.alterar;
    }
    return r;
}

QByteArray reescrever(QByteArrayView arquivo, Codificacao c, const QList<OperacaoLocal> &ops)
{
    QHash<QString, const OperacaoLocal *> porNome;
    for (const OperacaoLocal &op : ops) {
        if (op.tipo != OperacaoLocal::Tipo::Acrescentar)
            porNome.insert(op.nome, &op);
    }
    QByteArray out = Codificacoes::marca(c).toByteArray();
    out.reserve(arquivo.size() + ops.size() * 64 + 8);
    FormatoContatos::paraCadaLinha(FormatoContatos::corpo(arquivo, c), [&](QByteArrayView linha) {
        if (FormatoContatos::linhaEmBranco(linha))
            return;
        if (!porNome.isEmpty()) {
            const QString nome = Codificacoes::decodificar(FormatoContatos::campos(linha).nome, c);
            // Only the first line of a name is the contact synced.
            if (const OperacaoLocal *op = porNome.take(nome)) {
                if (op->tipo == OperacaoLocal::Tipo::Trocar)
                    FormatoContatos::anexarRegistro(out, op->registro, c);
                return;
            }
        }
        FormatoContatos::anexarLinha(out, linha);
    });
    for (const OperacaoLocal &op : ops) {
        if (op.tipo == OperacaoLocal::Tipo::Acrescentar)
            FormatoContatos::anexarRegistro(out, op.registro, c);
    }
    FormatoContatos::fecharArquivo(out);
    return out;
}

} // namespace Fusao
