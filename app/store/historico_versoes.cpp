#include "store/historico_versoes.h"

#include "store/codificacoes.h"
#include "store/formato_contatos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <unistd.h>
#endif

namespace {

const QString FORMATO = QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz");
const QString SUFIXO = QStringLiteral(".txt");
const QString PROVISORIO = QStringLiteral(".provisorio");

bool ligar(const QString &origem, const QString &destino)
{
#ifdef Q_OS_WIN
    return CreateHardLinkW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(destino).utf16()),
                           reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(origem).utf16()),
                           nullptr);
#else
    return ::link(QFile::encodeName(origem).constData(), QFile::encodeName(destino).constData()) ==
           0;
#endif
}

// A whole copy under a provisional name, then renamed: never half a version.
bool copiar(const QString &origem, const QString &destino)
{
    const QString provisorio = destino + PROVISORIO;
    QFile::remove(provisorio);
    if (!QFile::copy(origem, provisorio))
        return false;
    if (QFile::rename(provisorio, destino))
        return true;
    QFile::remove(provisorio);
    return false;
}

} // namespace

HistoricoVersoes::HistoricoVersoes(const QString &caminhoContatos)
    : m_contatos(caminhoContatos), m_pasta(pastaAoLado(caminhoContatos))
{
}

QString HistoricoVersoes::pastaAoLado(const QString &caminhoContatos)
{
    return QFileInfo(caminhoContatos).absolutePath() + QLatin1Char('/') + QLatin1String(PASTA);
}

std::optional<QString> HistoricoVersoes::guardar() const
{
    // The file itself, where the contact file is a link to it.
    const QFileInfo info(m_contatos);
    if (!info.exists())
        return QString();
    const QString origem = info.canonicalFilePath();
    if (origem.isEmpty() || !QDir().mkpath(m_pasta))
        return std::nullopt;
    const QString nome = m_relogio().toString(FORMATO);
    QString destino = m_pasta + QLatin1Char('/') + nome + SUFIXO;
    for (int n = 2; QFileInfo::exists(destino) && n < 1000; ++n)
        destino =
            m_pasta + QLatin1Char('/') + nome + QLatin1Char('_') + QString::number(n) + SUFIXO;
    if (ligar(origem, destino) || copiar(origem, destino))
        return destino;
    return std::nullopt;
}

QList<HistoricoVersoes::Versao> HistoricoVersoes::versoes() const
{
    QList<Versao> out;
    const QFileInfoList arquivos =
        QDir(m_pasta).entryInfoList({QLatin1Char('*') + SUFIXO}, QDir::Files, QDir::Name);
    for (const QFileInfo &f : arquivos) {
        const QDateTime quando =
            QDateTime::fromString(f.completeBaseName().left(FORMATO.size()), FORMATO);
        if (quando.isValid())
            out.append({f.absoluteFilePath(), quando, f.size()});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Versao &a, const Versao &b) { return a.quando > b.quando; });
    return out;
}

QList<qsizetype> HistoricoVersoes::aApagar(const QList<Versao> &versoes, const QDateTime &agora,
                                           const Limites &limites)
{
    const QDate hoje = agora.date();
    QSet<QDate> diasVistos;
    QList<qsizetype> apagar;
    qint64 total = 0;
    for (qsizetype i = 0; i < versoes.size(); ++i) {
        const Versao &v = versoes[i];
        const QDate dia = v.quando.date();
        const bool doDia =
            dia.daysTo(hoje) < limites.dias && dia <= hoje && !diasVistos.contains(dia);
        diasVistos.insert(dia);
        bool manter = i < limites.recentes || doDia;
        if (manter && i >= limites.minimo && total + v.tamanho > limites.bytes)
            manter = false;
        if (manter)
            total += v.tamanho;
        else
            apagar.append(i);
    }
    return apagar;
}

void HistoricoVersoes::podar() const
{
    const QList<Versao> todas = versoes();
    for (const qsizetype i : aApagar(todas, m_relogio(), m_limites))
        QFile::remove(todas[i].caminho);
    // Copies a kill cut short.
    for (const QString &resto :
         QDir(m_pasta).entryList({QLatin1Char('*') + PROVISORIO}, QDir::Files))
        QFile::remove(m_pasta + QLatin1Char('/') + resto);
}

HistoricoVersoes::Diferenca HistoricoVersoes::diferenca(const QList<ContactRecord> &versao,
                                                        const QList<ContactRecord> &atual)
{
    // Contacts of the same name are paired in file order; the rest of
    // either side is what one has and the other lacks.
    QHash<QString, QList<const ContactRecord *>> porNome;
    for (const ContactRecord &r : atual)
        porNome[r.Nome].append(&r);
    Diferenca d;
    for (const ContactRecord &r : versao) {
        auto it = porNome.find(r.Nome);
        if (it == porNome.end() || it->isEmpty()) {
            ++d.mais;
            continue;
        }
        const ContactRecord *par = it->takeFirst();
        if (par->Telefone != r.Telefone || par->Email != r.Email)
            ++d.alterados;
    }
    for (const auto &restantes : std::as_const(porNome))
        d.menos += restantes.size();
    return d;
}

QString HistoricoVersoes::Diferenca::texto() const
{
    return QStringLiteral("+%1 \u2212%2 ~%3").arg(mais).arg(menos).arg(alterados);
}

HistoricoVersoes::Resumo HistoricoVersoes::resumir(const QByteArray &versao,
                                                   const QByteArray &atual)
{
    const Codificacao cv = Codificacoes::detectar(versao), ca = Codificacoes::detectar(atual);
    const auto linhas = [](const QByteArray &arquivo, Codificacao c) {
        QList<QByteArrayView> out;
        out.reserve(FormatoContatos::maximoDeLinhas(arquivo));
        FormatoContatos::paraCadaLinha(FormatoContatos::corpo(arquivo, c), [&](QByteArrayView l) {
            if (!FormatoContatos::linhaEmBranco(l))
                out.append(l);
        });
        return out;
    };
    const QList<QByteArrayView> lv = linhas(versao, cv), la = linhas(atual, ca);
    QHash<QByteArrayView, qsizetype> restantes;
    restantes.reserve(la.size());
    if ((cv == Codificacao::Windows1252) == (ca == Codificacao::Windows1252)) {
        for (const QByteArrayView l : la)
            ++restantes[l];
    }
    const auto registro = FormatoContatos::registroDaLinha;
    QList<ContactRecord> soNaVersao, soNoAtual;
    for (const QByteArrayView l : lv) {
        auto it = restantes.find(l);
        if (it != restantes.end() && *it > 0)
            --*it;
        else
            soNaVersao.append(registro(l, cv));
    }
    for (const QByteArrayView l : la) {
        auto it = restantes.find(l);
        if (it == restantes.end())
            soNoAtual.append(registro(l, ca));
        else if (*it > 0) {
            --*it;
            soNoAtual.append(registro(l, ca));
        }
    }
    return {lv.size(), diferenca(soNaVersao, soNoAtual)};
}
