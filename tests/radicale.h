#pragma once

// A real CardDAV server for the sync tests: Radicale, started on a free
// loopback port with its own storage folder and one htpasswd user, stopped
// when the object goes. A phone's writes are plain HTTP requests to it.

#include "sync/multistatus.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

class Radicale {
public:
    static constexpr const char *USUARIO = "ana";
    static constexpr const char *SENHA = "s3nh@ é";

    struct Resposta {
        int status = 0;
        QByteArray corpo;
        QByteArray etag;
    };

    // With TLS, a certificate made here that nothing trusts.
    explicit Radicale(bool tls = false) : m_tls(tls) { iniciar(); }
    ~Radicale() { parar(); }

#ifdef Q_OS_WIN
    // Under Wine, Radicale, openssl and the shell are the Linux ones,
    // reached through drive Z:, the Linux root. Wine starts them but never
    // sees them end, so the shell leaves a mark when it is done.
    static constexpr char16_t RAIZ[] = u"Z:";
#else
    static constexpr char16_t RAIZ[] = u"";
#endif

    static bool disponivel()
    {
        return QFile::exists(QString::fromUtf16(RAIZ) + u"/usr/bin/radicale"_s);
    }

    // Started, unless it is serving already (a second one would find the
    // port taken, end, and leave its number in place of the first's).
    bool iniciar()
    {
        // A busy machine may take long to answer; a closed port answers at
        // once.
        if (m_porta != 0 && atendendo(3000))
            return true;
        if (m_porta == 0) {
            QTcpServer s;
            s.listen(QHostAddress::LocalHost);
            m_porta = s.serverPort();
        }
        const QString d = m_dir.path();
        const QByteArray ld = d.mid(QStringView(RAIZ).size()).toUtf8();
        QFile u(d + QStringLiteral("/usuarios"));
        u.open(QIODevice::WriteOnly);
        u.write(QByteArray(USUARIO) + ':' + QByteArray(SENHA) + '\n');
        u.close();
        QByteArray conf = "[server]\nhosts = 127.0.0.1:" + QByteArray::number(m_porta) + "\n";
        if (m_tls) {
            shell("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 -keyout " +
                  ld + "/chave.pem -out " + ld + "/cert.pem >/dev/null 2>&1");
            conf += "ssl = True\ncertificate = " + ld + "/cert.pem\nkey = " + ld + "/chave.pem\n";
        }
        conf += "[auth]\ntype = htpasswd\nhtpasswd_filename = " + ld +
                "/usuarios\nhtpasswd_encryption = plain\n[rights]\ntype = owner_only\n"
                "[storage]\nfilesystem_folder = " +
                ld + "/colecoes\n[logging]\nlevel = warning\n";
        QFile c(d + QStringLiteral("/config"));
        c.open(QIODevice::WriteOnly);
        c.write(conf);
        c.close();
        shell("/usr/bin/radicale --config " + ld + "/config >/dev/null 2>&1 & echo $! >" + ld +
              "/pid");
        for (int i = 0; i < 200; ++i) {
            if (atendendo())
                return true;
            QThread::msleep(25);
        }
        return false;
    }

    void parar()
    {
        const QByteArray pid = m_dir.path().mid(QStringView(RAIZ).size()).toUtf8() + "/pid";
        if (!QFile::exists(m_dir.path() + u"/pid"_s))
            return;
        // Stopped once its port is closed (a stopped process may stay a
        // zombie where nothing reaps it).
        shell("kill $(cat " + pid + ")");
        for (int i = 0; i < 200 && atendendo(); ++i)
            QThread::msleep(25);
        shell("kill -9 $(cat " + pid + "); rm " + pid);
    }

    bool atendendo(int ms = 100) const
    {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, m_porta);
        return s.waitForConnected(ms);
    }

    // A command of the Linux shell, waited for by the mark it leaves.
    void shell(const QByteArray &comando)
    {
        const QString marca = m_dir.path() + u"/feito"_s + QString::number(++m_comandos);
        const QByteArray ld = marca.mid(QStringView(RAIZ).size()).toUtf8();
        QProcess::startDetached(
            QString::fromUtf16(RAIZ) + u"/bin/sh"_s,
            {u"-c"_s, QString::fromUtf8("(" + comando + ") 2>/dev/null; touch " + ld)});
        for (int i = 0; i < 1200 && !QFile::exists(marca); ++i)
            QThread::msleep(25);
    }

    QUrl raiz() const
    {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2/")
                        .arg(m_tls ? QStringLiteral("https") : QStringLiteral("http"))
                        .arg(m_porta));
    }
    QUrl livro() const
    {
        return raiz().resolved(QUrl(QStringLiteral("/ana/contacts/")));
    }

    // A request as another client would send it.
    Resposta pedir(const QByteArray &metodo, const QUrl &url, const QByteArray &corpo = {},
                   const QList<QPair<QByteArray, QByteArray>> &cab = {})
    {
        QNetworkRequest r(url);
        r.setRawHeader("Authorization",
                       "Basic " + (QByteArray(USUARIO) + ':' + QByteArray(SENHA)).toBase64());
        for (const auto &[k, v] : cab)
            r.setRawHeader(k, v);
        QNetworkReply *reply = m_rede.sendCustomRequest(r, metodo, corpo);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        Resposta out{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                     reply->readAll(), reply->rawHeader("ETag")};
        reply->deleteLater();
        return out;
    }

    // The address book "contacts" of the user, as a phone's app makes it.
    bool criarLivro()
    {
        const QByteArray corpo =
            R"(<?xml version="1.0" encoding="utf-8"?><d:mkcol xmlns:d="DAV:" )"
            R"(xmlns:c="urn:ietf:params:xml:ns:carddav"><d:set><d:prop><d:resourcetype>)"
            R"(<d:collection/><c:addressbook/></d:resourcetype><d:displayname>contacts)"
            R"(</d:displayname></d:prop></d:set></d:mkcol>)";
        return pedir("MKCOL", livro(), corpo).status == 201;
    }

    // The server as new, for the next test: started again if it was
    // stopped, the book made again empty.
    bool limpar()
    {
        if (!atendendo(3000) && !iniciar())
            return false;
        const int s = apagar({}).status;
        return (s < 300 || s == 404) && criarLivro();
    }

    Resposta put(const QString &nome, const QByteArray &cartao, const QByteArray &etag = {})
    {
        QList<QPair<QByteArray, QByteArray>> cab{{"Content-Type", "text/vcard"}};
        if (!etag.isEmpty())
            cab.append({"If-Match", etag});
        return pedir("PUT", livro().resolved(QUrl(nome)), cartao, cab);
    }
    Resposta get(const QString &href)
    {
        return pedir("GET", livro().resolved(QUrl(href)));
    }
    Resposta apagar(const QString &href)
    {
        return pedir("DELETE", livro().resolved(QUrl(href)));
    }

    // Every card of the book, by href, in one request.
    QMap<QString, QByteArray> cartoes()
    {
        const Resposta r = pedir(
            "REPORT", livro(),
            R"(<?xml version="1.0"?><c:addressbook-query xmlns:d="DAV:" )"
            R"(xmlns:c="urn:ietf:params:xml:ns:carddav"><d:prop><d:getetag/><c:address-data/>)"
            R"(</d:prop></c:addressbook-query>)",
            {{"Depth", "1"}});
        QMap<QString, QByteArray> out;
        const auto m = Multistatus::ler(r.corpo);
        for (const auto &resp : m ? m->respostas : QList<Multistatus::Resposta>{}) {
            const auto *d = resp.propriedade(Multistatus::CARDDAV, u"address-data");
            if (d && !resp.hrefs.isEmpty())
                out.insert(resp.hrefs.first().section(u'/', -1),
                           d->texto.toUtf8().replace("\r\n", "\n").replace("\n", "\r\n"));
        }
        return out;
    }

private:
    bool m_tls;
    quint16 m_porta = 0;
#ifdef Q_OS_WIN
    QTemporaryDir m_dir{u"Z:/tmp/marvessa-radicale-XXXXXX"_s};
#else
    QTemporaryDir m_dir;
#endif
    int m_comandos = 0;
    QNetworkAccessManager m_rede;
};
