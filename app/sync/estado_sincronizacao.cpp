#include "sync/estado_sincronizacao.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

namespace {

constexpr qint64 TAMANHO_MAXIMO = qint64(1) << 30;
const QString FORMATO = QStringLiteral("Marvessa Fonelo sincronização 1");

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
    const qint64 limite = agora - qint64(DIAS_APAGADOS) * 24 * 3600 * 1000;
    apagados.removeIf([limite](const Apagado &a) { return a.quando < limite; });
    qsizetype bytes = 0;
    for (const Apagado &a : std::as_const(apagados))
        bytes += a.cartao.bytes.size();
    while (!apagados.isEmpty() && bytes > BYTES_APAGADOS) {
        bytes -= apagados.front().cartao.bytes.size();
        apagados.removeFirst();
    }
}

QString EstadoSincronizacao::caminhoAoLado(const QString &caminhoContatos)
{
    return QFileInfo(caminhoContatos).absolutePath() + QLatin1Char('/') + QLatin1String(NOME);
}

EstadoSincronizacao EstadoSincronizacao::ler(const QString &caminho)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly) || f.size() > TAMANHO_MAXIMO)
        return {};
    const QCborMap m = QCborValue::fromCbor(f.readAll()).toMap();
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
    for (const QCborValue &v : m.value(QLatin1String("cartoes")).toArray()) {
        const QCborMap c = v.toMap();
        const QString href = c.value(QLatin1String("href")).toString();
        if (!href.isEmpty())
            e.cartoes.insert(href, deCbor(c));
    }
    QList<Apagado> apagados;
    for (const QCborValue &v : m.value(QLatin1String("apagados")).toArray()) {
        const QCborMap c = v.toMap();
        const QString href = c.value(QLatin1String("href")).toString();
        // One an older version kept without its time counts from now.
        if (!href.isEmpty() && c.contains(QStringLiteral("local")))
            apagados.append({href, deCbor(c), c.value(QLatin1String("quando")).toInteger()});
    }
    e.guardarApagados(apagados, QDateTime::currentMSecsSinceEpoch());
    const QCborValue deixados = m.value(QLatin1String("deixados"));
    if (deixados.isMap()) {
        // An older state kept their ETags only: their bytes come at the next
        // sync.
        const QCborMap d = deixados.toMap();
        for (auto it = d.begin(); it != d.end(); ++it)
            e.deixados.insert(it.key().toString(), Cartao{it.value().toByteArray(), {}, {}, {}});
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
    return e;
}

bool EstadoSincronizacao::gravar(const QString &caminho) const
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
    const QByteArray bytes = m.toCborValue().toCbor();
    QSaveFile f(caminho);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
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

// One more entry of a bounded list of the state beside the contact file,
// where there is a state that agrees on cards (connected); the oldest goes
// first. False when it could not be written.
template <typename T>
bool acrescentarAoLado(const QString &caminhoContatos, QList<T> EstadoSincronizacao::*lista,
                       qsizetype maximo, const T &valor)
{
    const QString caminho = EstadoSincronizacao::caminhoAoLado(caminhoContatos);
    if (!QFile::exists(caminho))
        return true;
    EstadoSincronizacao e = EstadoSincronizacao::ler(caminho);
    if (e.cartoes.isEmpty())
        return true;
    if ((e.*lista).size() >= maximo)
        (e.*lista).removeFirst();
    (e.*lista).append(valor);
    return e.gravar(caminho);
}

} // namespace

bool EstadoSincronizacao::renomear(const QString &caminhoContatos, const QString &de,
                                   const QString &para)
{
    return acrescentarAoLado(caminhoContatos, &EstadoSincronizacao::renomeados, RENOMEADOS,
                             QPair<QString, QString>(de, para));
}

bool EstadoSincronizacao::juntar(const QString &caminhoContatos, const Juncao &juncao)
{
    return acrescentarAoLado(caminhoContatos, &EstadoSincronizacao::juntados, JUNTADOS, juncao);
}

QString EstadoSincronizacao::semCredenciais(const QString &endereco)
{
    const QUrl u = QUrl::fromEncoded(endereco.toUtf8());
    if (u.userInfo().isEmpty())
        return endereco;
    return QString::fromUtf8(u.adjusted(QUrl::RemoveUserInfo).toEncoded());
}
