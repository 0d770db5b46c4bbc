#include "operations/cofre_senhas.h"

#include <QTimer>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <wincred.h>
#else
#include <qt6keychain/keychain.h>
#endif

CofreSenhas::CofreSenhas(QObject *parent) : QObject(parent) {}

#ifdef Q_OS_WIN

// The Credential Manager answers at once; the answer still comes through the
// event loop, as on the other systems.
namespace {

std::wstring alvo(const QString &chave)
{
    return (QLatin1String(CofreSenhas::SERVICO) + QLatin1Char('/') + chave).toStdWString();
}

} // namespace

void CofreSenhas::ler(const QString &chave, std::function<void(Leitura, const QString &)> pronto)
{
    PCREDENTIALW c = nullptr;
    Leitura leitura = Leitura::SemCofre;
    QString senha;
    const std::wstring nome = alvo(chave);
    if (CredReadW(nome.c_str(), CRED_TYPE_GENERIC, 0, &c)) {
        senha = QString::fromUtf8(reinterpret_cast<const char *>(c->CredentialBlob),
                                  qsizetype(c->CredentialBlobSize));
        CredFree(c);
        leitura = Leitura::Lida;
    } else if (GetLastError() == ERROR_NOT_FOUND) {
        leitura = Leitura::Ausente;
    }
    QTimer::singleShot(0, this,
                       [pronto = std::move(pronto), leitura, senha] { pronto(leitura, senha); });
}

void CofreSenhas::gravar(const QString &chave, const QString &senha,
                         std::function<void(bool)> pronto)
{
    QByteArray bytes = senha.toUtf8();
    std::wstring nome = alvo(chave);
    CREDENTIALW c{};
    c.Type = CRED_TYPE_GENERIC;
    c.TargetName = nome.data();
    c.CredentialBlobSize = DWORD(bytes.size());
    c.CredentialBlob = reinterpret_cast<LPBYTE>(bytes.data());
    c.Persist = CRED_PERSIST_LOCAL_MACHINE;
    const bool ok = CredWriteW(&c, 0);
    bytes.fill('\0');
    QTimer::singleShot(0, this, [pronto = std::move(pronto), ok] { pronto(ok); });
}

void CofreSenhas::apagar(const QString &chave)
{
    CredDeleteW(alvo(chave).c_str(), CRED_TYPE_GENERIC, 0);
}

#else

void CofreSenhas::ler(const QString &chave, std::function<void(Leitura, const QString &)> pronto)
{
    auto *job = new QKeychain::ReadPasswordJob(QLatin1String(SERVICO), this);
    job->setKey(chave);
    connect(job, &QKeychain::Job::finished, this, [pronto = std::move(pronto)](QKeychain::Job *j) {
        const auto *r = static_cast<QKeychain::ReadPasswordJob *>(j);
        if (r->error() == QKeychain::NoError)
            pronto(Leitura::Lida, r->textData());
        else
            pronto(r->error() == QKeychain::EntryNotFound ? Leitura::Ausente : Leitura::SemCofre,
                   {});
    });
    job->start();
}

void CofreSenhas::gravar(const QString &chave, const QString &senha,
                         std::function<void(bool)> pronto)
{
    auto *job = new QKeychain::WritePasswordJob(QLatin1String(SERVICO), this);
    job->setKey(chave);
    job->setTextData(senha);
    connect(job, &QKeychain::Job::finished, this, [pronto = std::move(pronto)](QKeychain::Job *j) {
        pronto(j->error() == QKeychain::NoError);
    });
    job->start();
}

void CofreSenhas::apagar(const QString &chave)
{
    auto *job = new QKeychain::DeletePasswordJob(QLatin1String(SERVICO), this);
    job->setKey(chave);
    job->start();
}

#endif
