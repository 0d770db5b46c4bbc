#include "chrome/instancia_unica.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <memory>

namespace {

const QByteArray PEDIDO = QByteArrayLiteral("MarvessaFonelo 1 mostrar\n");
const QByteArray RESPOSTA = QByteArrayLiteral("MarvessaFonelo 1 ok\n");
// A connection that does not send the request in this time is dropped.
constexpr int PRAZO_PEDIDO_MS = 2000;

} // namespace

QString InstanciaUnica::chave(const QString &caminhoArquivo)
{
    const QFileInfo arquivo(caminhoArquivo);
    QString pasta = QFileInfo(arquivo.absolutePath()).canonicalFilePath();
    if (pasta.isEmpty())
        pasta = arquivo.absolutePath();
    QString caminho = pasta + QLatin1Char('/') + arquivo.fileName();
#ifdef Q_OS_WIN
    caminho = caminho.toLower(); // one file, however its path is spelt
#endif
    // The home folder tells users apart, who may run from one shared folder.
    const QByteArray resumo = QCryptographicHash::hash(
        (QDir::homePath() + QLatin1Char('\n') + caminho).toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("MarvessaFonelo-") + QString::fromLatin1(resumo.toHex().left(32));
}

InstanciaUnica::Resposta InstanciaUnica::pedirParaMostrar(const QString &chave, int esperaMs)
{
    const QDeadlineTimer prazo(esperaMs);
    QLocalSocket s;
    s.connectToServer(chave);
    if (!s.waitForConnected(int(prazo.remainingTime())))
        return Resposta::SemServidor;
    s.write(PEDIDO);
    QByteArray resposta;
    while (resposta.size() < RESPOSTA.size() && !prazo.hasExpired()) {
        if (s.bytesAvailable() == 0 && !s.waitForReadyRead(int(prazo.remainingTime())))
            break;
        resposta += s.read(RESPOSTA.size() - resposta.size());
    }
    return resposta == RESPOSTA ? Resposta::Atendido : Resposta::SemResposta;
}

InstanciaUnica::InstanciaUnica(QString chave, QObject *parent)
    : QObject(parent), m_chave(std::move(chave)), m_servidor(new QLocalServer(this))
{
    m_servidor->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_servidor, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = m_servidor->nextPendingConnection())
            atender(s);
    });
}

bool InstanciaUnica::escutando() const
{
    return m_servidor->isListening();
}

bool InstanciaUnica::escutar(bool removerAbandonado)
{
    if (m_servidor->listen(m_chave))
        return true;
    if (!removerAbandonado || m_servidor->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Only a socket that nobody accepts on is abandoned: a copy that started
    // at the same moment keeps its own.
    QLocalSocket sonda;
    sonda.connectToServer(m_chave);
    if (sonda.waitForConnected(100))
        return false;
    QLocalServer::removeServer(m_chave);
    return m_servidor->listen(m_chave);
}

void InstanciaUnica::atender(QLocalSocket *s)
{
    connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
    QTimer::singleShot(PRAZO_PEDIDO_MS, s, [s] { s->abort(); });
    auto lido = std::make_shared<QByteArray>();
    connect(s, &QLocalSocket::readyRead, this, [this, s, lido] {
        // Never more than the request's length is read, and it is answered once.
        if (lido->size() == PEDIDO.size())
            return;
        *lido += s->read(PEDIDO.size() - lido->size());
        if (!PEDIDO.startsWith(*lido)) {
            s->abort();
            return;
        }
        if (lido->size() < PEDIDO.size())
            return;
        s->write(RESPOSTA);
        s->flush();
        s->disconnectFromServer();
        Q_EMIT mostrarPedido();
    });
}
