#include "store/arquivo_contatos.h"

#include "store/formato_contatos.h"
#include "store/historico_versoes.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

ArquivoContatos::Assinatura ArquivoContatos::Leitura::assinatura() const
{
    return {estado, bytes.size(), estado == Estado::Lido ? qHash(bytes, 0) : 0};
}

ArquivoContatos::ArquivoContatos(QString caminho) : m_caminho(std::move(caminho)) {}

QString ArquivoContatos::caminhoPadrao()
{
    return caminhoNaPasta(QCoreApplication::applicationDirPath());
}

QString ArquivoContatos::caminhoNaPasta(const QString &pasta)
{
    return pasta + QLatin1Char('/') + QLatin1String(NOME);
}

ArquivoContatos::Leitura ArquivoContatos::lerBytes() const
{
    const QFileInfo info(m_caminho);
    if (!info.exists() && !info.isSymLink())
        return {Estado::Ausente, {}};
    if (info.isDir())
        return {Estado::Falhou, {}};
    QFile f(m_caminho);
    if (!f.open(QIODevice::ReadOnly))
        return {Estado::Falhou, {}};
    // One buffer of the file's size: growing it as it fills would copy and
    // touch more memory than the file holds.
    QByteArray bytes(qMax<qint64>(f.size(), 0), Qt::Uninitialized);
    const qint64 lidos = f.read(bytes.data(), bytes.size());
    if (lidos < 0)
        return {Estado::Falhou, {}};
    bytes.truncate(lidos);
    bytes += f.readAll(); // a file that grew meanwhile, or one with no size
    if (f.error() != QFileDevice::NoError)
        return {Estado::Falhou, {}};
    return {Estado::Lido, std::move(bytes)};
}

ArquivoContatos::Registros ArquivoContatos::LerContatos() const
{
    const Leitura l = lerBytes();
    Registros r;
    r.estado = l.estado;
    r.assinatura = l.assinatura();
    if (l.estado == Estado::Lido)
        r.registros = FormatoContatos::lerRegistros(l.bytes);
    return r;
}

bool ArquivoContatos::CriarArquivoSeAusente() const
{
    const QFileInfo info(m_caminho);
    if (info.exists() || info.isSymLink())
        return true;
    QFile f(m_caminho);
    // NewOnly: never truncate a file that appeared in the meantime.
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    const QByteArray vazio = FormatoContatos::arquivoVazio();
    return f.write(vazio) == vazio.size() && f.flush();
}

bool ArquivoContatos::gravar(const QByteArray &conteudo) const
{
    QSaveFile f(m_caminho);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(conteudo) != conteudo.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

ArquivoContatos::Gravacao ArquivoContatos::gravarSeInalterado(const Assinatura &lida,
                                                              const QByteArray &conteudo) const
{
    if (lerBytes().assinatura() != lida)
        return Gravacao::Alterado;
    HistoricoVersoes historico(m_caminho);
    if (m_relogio)
        historico.setRelogio(m_relogio);
    historico.setLimites(m_limites);
    const std::optional<QString> versao = historico.guardar();
    m_semVersao = !versao;
    if (!gravar(conteudo)) {
        // Still the current content: not a version yet.
        if (versao && !versao->isEmpty())
            QFile::remove(*versao);
        return Gravacao::Falhou;
    }
    if (versao)
        historico.podar();
    return Gravacao::Gravado;
}
