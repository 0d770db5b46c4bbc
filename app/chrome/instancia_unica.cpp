#include "chrome/instancia_unica.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h, whose types it uses.
#include <sddl.h>
#else
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QByteArray PEDIDO = QByteArrayLiteral("MarvessaFonelo 1 mostrar\n");
const QByteArray RESPOSTA = QByteArrayLiteral("MarvessaFonelo 1 ok\n");
// A connection that does not send the request in this time is dropped.
constexpr int PRAZO_PEDIDO_MS = 2000;

#ifdef Q_OS_WIN

// The SID of the user running us, as text; empty when it cannot be had.
QString sidDoUsuario(HANDLE processo)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(processo, TOKEN_QUERY, &token))
        return QString();
    QString texto;
    DWORD tamanho = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &tamanho);
    QByteArray info(qsizetype(tamanho), Qt::Uninitialized);
    LPWSTR sid = nullptr;
    if (tamanho > 0 && GetTokenInformation(token, TokenUser, info.data(), tamanho, &tamanho) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER *>(info.data())->User.Sid, &sid)) {
        texto = QString::fromWCharArray(sid);
        LocalFree(sid);
    }
    CloseHandle(token);
    return texto;
}

// Whether the process serving the pipe runs as the same user.
bool doMesmoUsuario(QLocalSocket &s)
{
    ULONG pid = 0;
    if (!GetNamedPipeServerProcessId(reinterpret_cast<HANDLE>(s.socketDescriptor()), &pid))
        return false;
    HANDLE processo = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!processo)
        return false;
    const QString dele = sidDoUsuario(processo);
    CloseHandle(processo);
    return !dele.isEmpty() && dele == sidDoUsuario(GetCurrentProcess());
}

#else

// A folder of the user's own that no one else can put anything in: the
// runtime folder, or one in the home folder.
QString pastaPrivada()
{
    QString pasta = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (pasta.isEmpty()) {
        pasta = QDir::homePath() + QStringLiteral("/.marvessa-fonelo");
        QDir().mkpath(pasta);
    }
    struct stat st {};
    if (::lstat(QFile::encodeName(pasta).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != ::geteuid() || (st.st_mode & 077) != 0)
        return QString();
    return pasta;
}

bool doMesmoUsuario(QLocalSocket &s)
{
    struct ucred credenciais {};
    socklen_t tamanho = sizeof credenciais;
    return ::getsockopt(int(s.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credenciais,
                        &tamanho) == 0 &&
           credenciais.uid == ::geteuid();
}

#endif

} // namespace

QString InstanciaUnica::chave(const QString &caminhoArquivo)
{
    // The file's own path, links resolved: two ways to one file are one key.
    const QFileInfo arquivo(caminhoArquivo);
    QString caminho = arquivo.canonicalFilePath();
    if (caminho.isEmpty()) {
        const QString pasta = QFileInfo(arquivo.absolutePath()).canonicalFilePath();
        caminho = (pasta.isEmpty() ? arquivo.absolutePath() : pasta) + QLatin1Char('/') +
                  arquivo.fileName();
    }
#ifdef Q_OS_WIN
    caminho = caminho.toLower(); // one file, however its path is spelt
#endif
    const QString resumo = QString::fromLatin1(
        QCryptographicHash::hash(caminho.toUtf8(), QCryptographicHash::Sha256).toHex().left(24));
#ifdef Q_OS_WIN
    const QString sid = sidDoUsuario(GetCurrentProcess());
    if (sid.isEmpty())
        return QString();
    return QStringLiteral("MarvessaFonelo-") + sid + QLatin1Char('-') + resumo;
#else
    const QString pasta = pastaPrivada();
    if (pasta.isEmpty())
        return QString();
    return pasta + QStringLiteral("/MarvessaFonelo-") + resumo;
#endif
}

InstanciaUnica::Resposta InstanciaUnica::pedirParaMostrar(const QString &chave,
                                                          int esperaRespostaMs)
{
    QLocalSocket s;
    s.connectToServer(chave);
    if (!s.waitForConnected(ESPERA_CONEXAO_MS))
        return Resposta::SemServidor;
    if (!doMesmoUsuario(s))
        return Resposta::Alheio;
    const QDeadlineTimer prazo(esperaRespostaMs);
    s.write(PEDIDO);
    QByteArray resposta;
    while (resposta.size() < RESPOSTA.size() && !prazo.hasExpired()) {
        if (s.bytesAvailable() == 0 && !s.waitForReadyRead(int(prazo.remainingTime())))
            break;
        resposta += s.read(RESPOSTA.size() - resposta.size());
    }
    return resposta == RESPOSTA ? Resposta::Atendido : Resposta::Ocupado;
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

bool InstanciaUnica::escutar()
{
    if (m_chave.isEmpty())
        return false;
    if (m_servidor->listen(m_chave))
        return true;
    if (m_servidor->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Only a socket that nobody accepts on, or another user's, is taken
    // over: a copy of ours that started at the same moment keeps its own.
    QLocalSocket sonda;
    sonda.connectToServer(m_chave);
    if (sonda.waitForConnected(100) && doMesmoUsuario(sonda))
        return false;
    sonda.abort();
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
