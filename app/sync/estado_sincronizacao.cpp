#include "sync/estado_sincronizacao.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr qint64 TAMANHO_MAXIMO = qint64(1) << 30;
const QString FORMATO = QStringLiteral("Marvessa Fonelo sincronização 1");

// A number as the file holds it; a float there (Qt converts it without a
// range check) counts as none.
qint64 inteiro(const QCborValue &v)
{
    return v.isInteger() ? v.toInteger() : 0;
}

QCborArray campos(const ContactRecord &r)
{
    return {r.Nome, r.Telefone, r.Email};
}

ContactRecord registro(const QCborValue &v)
{
    const QCborArray a = v.toArray();
    return {a.at(0).toString(), a.at(1).toString(), a.at(2).toString()};
}

QCborMap paraCbor(const QString &href, const EstadoSincronizacao::Cartao &k)
{
    QCborMap c;
    c.insert(QLatin1String("href"), href);
    c.insert(QLatin1String("etag"), k.etag);
    c.insert(QLatin1String("bytes"), k.bytes);
    c.insert(QLatin1String("servidor"), campos(k.servidor));
    if (k.local)
        c.insert(QLatin1String("local"), campos(*k.local));
    return c;
}

EstadoSincronizacao::Cartao deCbor(const QCborMap &c)
{
    EstadoSincronizacao::Cartao k;
    k.etag = c.value(QLatin1String("etag")).toByteArray();
    k.bytes = c.value(QLatin1String("bytes")).toByteArray();
    k.servidor = registro(c.value(QLatin1String("servidor")));
    if (c.contains(QStringLiteral("local")))
        k.local = registro(c.value(QLatin1String("local")));
    return k;
}

} // namespace

void EstadoSincronizacao::guardarApagados(const QList<Apagado> &novos, qint64 agora)
{
    for (Apagado a : novos) {
        if (a.quando == 0)
            a.quando = agora;
        apagados.append(std::move(a));
    }
    // A time past now (a clock that ran ahead, and came back) is now.
    for (Apagado &a : apagados)
        a.quando = std::min(a.quando, agora);
    const qint64 limite = agora - qint64(DIAS_APAGADOS) * DIA_MS;
    apagados.removeIf([limite](const Apagado &a) { return a.quando < limite; });
    qsizetype bytes = 0;
    for (const Apagado &a : std::as_const(apagados))
        bytes += a.cartao.bytes.size();
    while (!apagados.isEmpty() && bytes > BYTES_APAGADOS) {
        bytes -= apagados.front().cartao.bytes.size();
        apagados.removeFirst();
    }
}

qint64 EstadoSincronizacao::agora(qint64 parede) const
{
    if (parede < 0)
        parede = QDateTime::currentMSecsSinceEpoch();
    if (relogio <= 0)
        return parede;
    return relogio + std::clamp(parede - relogio, qint64(0), DIA_MS);
}

void EstadoSincronizacao::contarApagamentos(int aqui, int la, qint64 agora)
{
    if (aqui > 0 || la > 0)
        apagamentos.append({agora, std::max(aqui, 0), std::max(la, 0)});
    for (Apagamento &a : apagamentos)
        a.quando = std::min(a.quando, agora);
    apagamentos.removeIf([agora](const Apagamento &a) { return a.quando <= agora - DIA_MS; });
    while (apagamentos.size() > APAGAMENTOS)
        apagamentos.removeFirst();
}

EstadoSincronizacao::Apagamento EstadoSincronizacao::apagadosNoDia(qint64 agora) const
{
    Apagamento soma{agora, 0, 0};
    for (const Apagamento &a : apagamentos) {
        if (a.quando > agora - DIA_MS) {
            soma.aqui += a.aqui;
            soma.la += a.la;
        }
    }
    return soma;
}

void EstadoSincronizacao::acrescentarRenomeacao(const QString &de, const QString &para)
{
    if (renomeados.size() >= RENOMEADOS)
        renomeados.removeFirst();
    renomeados.append({de, para});
    // A merge waits on the kept contact's card, whatever its name now.
    for (Juncao &j : juntados) {
        if (j.mantido == de)
            j.mantido = para;
    }
}

void EstadoSincronizacao::acrescentarJuncao(const Juncao &juncao)
{
    if (juntados.size() >= JUNTADOS)
        juntados.removeFirst();
    juntados.append(juncao);
}

QString EstadoSincronizacao::caminhoAoLado(const QString &caminhoContatos)
{
    return QFileInfo(caminhoContatos).absolutePath() + QLatin1Char('/') + QLatin1String(NOME);
}

namespace {

// Each note is framed so that one torn by a stop halfway is told from the
// rest, and what was noted after it is still found: the self-describing
// CBOR tag, then the note's own bytes with their checksum.
const QByteArray MARCA("\xd9\xd9\xf7", 3);

// The note at the start of bytes and its size, or nothing where none is.
std::optional<std::pair<QCborMap, qsizetype>> lerNota(QByteArrayView bytes)
{
    QCborParserError erro;
    const QCborValue v =
        QCborValue::fromCbor(QByteArray::fromRawData(bytes.data(), bytes.size()), &erro);
    if (erro.error != QCborError::NoError || !v.isTag() ||
        v.tag() != QCborTag(QCborKnownTags::Signature))
        return std::nullopt;
    const QCborArray a = v.taggedValue().toArray();
    if (a.size() != 2 || !a.at(0).isInteger() || !a.at(1).isByteArray())
        return std::nullopt;
    const QByteArray dentro = a.at(1).toByteArray();
    if (inteiro(a.at(0)) != qChecksum(dentro))
        return std::nullopt;
    QCborParserError erroDentro;
    const QCborValue m = QCborValue::fromCbor(dentro, &erroDentro);
    if (erroDentro.error != QCborError::NoError || !m.isMap())
        return std::nullopt;
    return std::pair(m.toMap(), qsizetype(erro.offset));
}

QString texto(const QCborMap &m, const char *chave)
{
    return m.value(QLatin1String(chave)).toString();
}

// One note read over the state; anything of another shape is passed over.
void aplicar(EstadoSincronizacao &e, const QCborMap &n)
{
    const QString tipo = texto(n, "t");
    const QString href = texto(n, "href");
    const qint64 quando = inteiro(n.value(QLatin1String("quando")));
    if (tipo == u"renomeado") {
        const QString de = texto(n, "de"), para = texto(n, "para");
        if (n.value(QLatin1String("de")).isString() && n.value(QLatin1String("para")).isString())
            e.acrescentarRenomeacao(de, para);
    } else if (tipo == u"juntado") {
        EstadoSincronizacao::Juncao j;
        for (const QCborValue &v : n.value(QLatin1String("nomes")).toArray()) {
            if (v.isString() && j.outros.size() < EstadoSincronizacao::JUNTADOS)
                j.outros.append(v.toString());
        }
        if (j.outros.size() >= 2) {
            j.mantido = j.outros.takeFirst();
            e.acrescentarJuncao(j);
        }
    } else if (tipo == u"cartao" && !href.isEmpty()) {
        e.cartoes.insert(href, deCbor(n.value(QLatin1String("cartao")).toMap()));
        e.deixados.remove(href);
        e.pendentes.removeIf([&](const auto &it) { return it.value() == href; });
        if (n.value(QLatin1String("devolvido")).toBool())
            e.apagados.removeIf([&](const auto &a) { return a.href == href; });
    } else if (tipo == u"apagado" && !href.isEmpty()) {
        e.cartoes.remove(href);
        const QCborMap copia = n.value(QLatin1String("copia")).toMap();
        if (copia.contains(QLatin1String("local")))
            e.apagados.append({href, deCbor(copia), quando});
        if (n.value(QLatin1String("contado")).toBool())
            e.apagamentos.append({quando, 0, 1});
    } else if (tipo == u"apagamentos") {
        const qint64 aqui = inteiro(n.value(QLatin1String("aqui")));
        if (aqui > 0 && aqui < std::numeric_limits<int>::max())
            e.apagamentos.append({quando, int(aqui), 0});
    }
}

} // namespace

EstadoSincronizacao EstadoSincronizacao::ler(const QString &caminho, qint64 parede, bool *notado)
{
    if (notado)
        *notado = false;
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly) || f.size() > TAMANHO_MAXIMO)
        return {};
    return deBytes(f.readAll(), parede, notado);
}

EstadoSincronizacao EstadoSincronizacao::deBytes(const QByteArray &bytes, qint64 parede,
                                                 bool *notado)
{
    if (notado)
        *notado = false;
    if (bytes.size() > TAMANHO_MAXIMO)
        return {};
    QCborParserError erro;
    const QCborValue lido = QCborValue::fromCbor(bytes, &erro);
    // A torn map is not read at all: Qt 6.4 reads past one left with a key
    // and no value.
    if (erro.error != QCborError::NoError)
        return {};
    const QCborMap m = lido.toMap();
    if (m.value(QLatin1String("formato")).toString() != FORMATO)
        return {};
    EstadoSincronizacao e;
    // Written by an older version, an address may hold a password: it goes.
    e.endereco = semCredenciais(m.value(QLatin1String("endereco")).toString());
    e.usuario = m.value(QLatin1String("usuario")).toString();
    e.colecao = semCredenciais(m.value(QLatin1String("colecao")).toString());
    e.nome = m.value(QLatin1String("nome")).toString().left(200);
    e.syncToken = m.value(QLatin1String("token")).toString();
    e.ctag = m.value(QLatin1String("ctag")).toString();
    e.semSyncCollection = m.value(QLatin1String("semSync")).toBool();
    e.relogio = std::max<qint64>(inteiro(m.value(QLatin1String("relogio"))), 0);
    for (const QCborValue &v : m.value(QLatin1String("cartoes")).toArray()) {
        const QCborMap c = v.toMap();
        const QString href = c.value(QLatin1String("href")).toString();
        if (!href.isEmpty())
            e.cartoes.insert(href, deCbor(c));
    }
    for (const QCborValue &v : m.value(QLatin1String("apagados")).toArray()) {
        const QCborMap c = v.toMap();
        const QString href = c.value(QLatin1String("href")).toString();
        if (!href.isEmpty() && c.contains(QStringLiteral("local")))
            e.apagados.append({href, deCbor(c), inteiro(c.value(QLatin1String("quando")))});
    }
    for (const QCborValue &v : m.value(QLatin1String("apagamentos")).toArray()) {
        const QCborArray a = v.toArray();
        if (a.size() == 3 && e.apagamentos.size() < APAGAMENTOS)
            e.apagamentos.append({inteiro(a.at(0)),
                                  int(std::clamp<qint64>(inteiro(a.at(1)), 0, 1 << 30)),
                                  int(std::clamp<qint64>(inteiro(a.at(2)), 0, 1 << 30))});
    }
    const QCborValue deixados = m.value(QLatin1String("deixados"));
    if (deixados.isMap()) {
        // An older state kept their ETags only: their bytes come at the next
        // sync.
        const QCborMap d = deixados.toMap();
        for (auto it = d.begin(); it != d.end(); ++it) {
            if (!it.key().toString().isEmpty())
                e.deixados.insert(it.key().toString(),
                                  Cartao{it.value().toByteArray(), {}, {}, {}});
        }
    }
    for (const QCborValue &v : deixados.toArray()) {
        const QCborMap c = v.toMap();
        const QString href = c.value(QLatin1String("href")).toString();
        if (!href.isEmpty())
            e.deixados.insert(href, deCbor(c));
    }
    for (const QCborValue &v : m.value(QLatin1String("renomeados")).toArray()) {
        const QCborArray par = v.toArray();
        if (par.size() == 2 && par.at(0).isString() && par.at(1).isString() &&
            e.renomeados.size() < RENOMEADOS)
            e.renomeados.append({par.at(0).toString(), par.at(1).toString()});
    }
    for (const QCborValue &v : m.value(QLatin1String("juntados")).toArray()) {
        const QCborArray j = v.toArray();
        if (j.size() < 2 || e.juntados.size() >= JUNTADOS)
            continue;
        Juncao juncao;
        for (const QCborValue &n : j) {
            if (n.isString() && juncao.outros.size() < JUNTADOS)
                juncao.outros.append(n.toString());
        }
        if (juncao.outros.size() >= 2) {
            juncao.mantido = juncao.outros.takeFirst();
            e.juntados.append(juncao);
        }
    }
    const QCborMap pendentes = m.value(QLatin1String("pendentes")).toMap();
    for (auto it = pendentes.begin(); it != pendentes.end(); ++it)
        e.pendentes.insert(it.key().toString(), it.value().toString());
    // What was noted since, in order; past a torn note, the next one found.
    qsizetype i = qsizetype(erro.offset);
    while (i < bytes.size()) {
        if (const auto n = lerNota(QByteArrayView(bytes).sliced(i))) {
            aplicar(e, n->first);
            if (notado)
                *notado = true;
            i += n->second;
            continue;
        }
        if (notado)
            *notado = true;
        i = bytes.indexOf(MARCA, i + 1);
        if (i < 0)
            break;
    }
    const qint64 agora = e.agora(parede);
    // One an older version kept without its time counts from now.
    for (Apagado &a : e.apagados) {
        if (a.quando == 0)
            a.quando = agora;
    }
    e.guardarApagados({}, agora);
    e.contarApagamentos(0, 0, agora);
    return e;
}

bool EstadoSincronizacao::gravar(const QString &caminho, qint64 parede)
{
    relogio = agora(parede);
    const QByteArray bytes = emBytes();
    QSaveFile f(caminho);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

QByteArray EstadoSincronizacao::nota(const QCborMap &nota)
{
    const QByteArray dentro = QCborValue(nota).toCbor();
    const QCborArray a{qChecksum(dentro), dentro};
    return QCborValue(QCborKnownTags::Signature, a).toCbor();
}

QByteArray EstadoSincronizacao::emBytes() const
{
    QCborMap m;
    m.insert(QLatin1String("formato"), FORMATO);
    m.insert(QLatin1String("endereco"), endereco);
    m.insert(QLatin1String("usuario"), usuario);
    m.insert(QLatin1String("colecao"), colecao);
    m.insert(QLatin1String("nome"), nome);
    m.insert(QLatin1String("token"), syncToken);
    m.insert(QLatin1String("ctag"), ctag);
    m.insert(QLatin1String("semSync"), semSyncCollection);
    m.insert(QLatin1String("relogio"), relogio);
    QCborArray lista;
    for (auto it = cartoes.begin(); it != cartoes.end(); ++it)
        lista.append(paraCbor(it.key(), *it));
    m.insert(QLatin1String("cartoes"), lista);
    QCborArray mortos;
    for (const Apagado &a : apagados) {
        QCborMap c = paraCbor(a.href, a.cartao);
        c.insert(QLatin1String("quando"), a.quando);
        mortos.append(c);
    }
    m.insert(QLatin1String("apagados"), mortos);
    QCborArray contados;
    for (const Apagamento &a : apagamentos)
        contados.append(QCborArray{a.quando, a.aqui, a.la});
    m.insert(QLatin1String("apagamentos"), contados);
    QCborArray d;
    for (auto it = deixados.begin(); it != deixados.end(); ++it)
        d.append(paraCbor(it.key(), *it));
    m.insert(QLatin1String("deixados"), d);
    QCborArray r;
    for (const auto &[de, para] : renomeados)
        r.append(QCborArray{de, para});
    m.insert(QLatin1String("renomeados"), r);
    QCborArray js;
    for (const Juncao &j : juntados) {
        QCborArray a{j.mantido};
        for (const QString &o : j.outros)
            a.append(o);
        js.append(a);
    }
    m.insert(QLatin1String("juntados"), js);
    QCborMap pendentes;
    for (auto it = this->pendentes.begin(); it != this->pendentes.end(); ++it)
        pendentes.insert(it.key(), it.value());
    m.insert(QLatin1String("pendentes"), pendentes);
    return m.toCborValue().toCbor();
}

void EstadoSincronizacao::esquecerRenomeacoesFeitas()
{
    QSet<QString> nomes;
    for (const Cartao &c : std::as_const(cartoes)) {
        if (c.local)
            nomes.insert(c.local->Nome);
    }
    // A rename of a rename is kept with the first while that one is.
    QList<QPair<QString, QString>> pendentes;
    for (const auto &par : std::as_const(renomeados)) {
        if (nomes.contains(par.first)) {
            pendentes.append(par);
            nomes.insert(par.second);
        }
    }
    renomeados = std::move(pendentes);
}

void EstadoSincronizacao::deixar(const QHash<QString, Cartao> &agora, const QSet<QString> &naoLidos)
{
    QHash<QString, Cartao> novos = agora;
    for (const QString &h : naoLidos) {
        if (deixados.contains(h))
            novos.insert(h, deixados.value(h));
    }
    for (auto it = novos.begin(); it != novos.end();) {
        if (cartoes.contains(it.key()))
            it = novos.erase(it);
        else
            ++it;
    }
    deixados = std::move(novos);
}

namespace {

bool notar(const QString &caminhoContatos, const QCborMap &n)
{
    const QString caminho = EstadoSincronizacao::caminhoAoLado(caminhoContatos);
    // Not connected: nothing to keep.
    if (!QFile::exists(caminho))
        return true;
    const QByteArray bytes = EstadoSincronizacao::nota(n);
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly | QIODevice::Append) && f.write(bytes) == bytes.size() &&
           f.flush();
}

} // namespace

bool EstadoSincronizacao::renomear(const QString &caminhoContatos, const QString &de,
                                   const QString &para)
{
    return notar(caminhoContatos, {{QLatin1String("t"), QLatin1String("renomeado")},
                                   {QLatin1String("de"), de},
                                   {QLatin1String("para"), para}});
}

bool EstadoSincronizacao::juntar(const QString &caminhoContatos, const Juncao &juncao)
{
    QCborArray nomes{juncao.mantido};
    for (const QString &o : juncao.outros)
        nomes.append(o);
    return notar(caminhoContatos,
                 {{QLatin1String("t"), QLatin1String("juntado")}, {QLatin1String("nomes"), nomes}});
}

bool EstadoSincronizacao::notarCartao(const QString &caminhoContatos, const QString &href,
                                      const Cartao &cartao, bool devolvido)
{
    return notar(caminhoContatos, {{QLatin1String("t"), QLatin1String("cartao")},
                                   {QLatin1String("href"), href},
                                   {QLatin1String("cartao"), paraCbor(href, cartao)},
                                   {QLatin1String("devolvido"), devolvido}});
}

bool EstadoSincronizacao::notarApagado(const QString &caminhoContatos, const QString &href,
                                       const std::optional<Apagado> &copia, bool contado,
                                       qint64 agora)
{
    QCborMap n{{QLatin1String("t"), QLatin1String("apagado")},
               {QLatin1String("href"), href},
               {QLatin1String("contado"), contado},
               {QLatin1String("quando"), copia ? copia->quando : agora}};
    if (copia && copia->cartao.local)
        n.insert(QLatin1String("copia"), paraCbor(href, copia->cartao));
    return notar(caminhoContatos, n);
}

bool EstadoSincronizacao::notarApagamentos(const QString &caminhoContatos, int aqui, qint64 agora)
{
    if (aqui <= 0)
        return true;
    return notar(caminhoContatos, {{QLatin1String("t"), QLatin1String("apagamentos")},
                                   {QLatin1String("aqui"), aqui},
                                   {QLatin1String("quando"), agora}});
}

QString EstadoSincronizacao::semCredenciais(const QString &endereco)
{
    const QUrl u = QUrl::fromEncoded(endereco.toUtf8());
    if (u.userInfo().isEmpty())
        return endereco;
    return QString::fromUtf8(u.adjusted(QUrl::RemoveUserInfo).toEncoded());
}
