#include "printing/impressao_contatos.h"

#include "layouts/layout_principal.h"
#include "model/modelo_principal.h"
#include "operations/intercambio_contatos.h"
#include "operations/mensagens.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

QString ImpressaoContatos::titulo(int grupo)
{
    if (grupo < 0 || grupo >= NUM_GRUPOS)
        return QStringLiteral("Outros");
    const QString aba = GruposLetras()[size_t(grupo)].Aba;
    for (const Controle &c : LayoutPrincipal::CONTROLES) {
        if (QLatin1String(c.nome) == aba)
            return QString::fromUtf16(c.texto);
    }
    return GruposLetras()[size_t(grupo)].Inicial;
}

QList<FolhasContatos::Grupo> ImpressaoContatos::grupos(const ModeloPrincipal &modelo,
                                                       bool soAbaMostrada)
{
    const ListaInicio &lista = modelo.lstInicio();
    const int mostrado = modelo.navegacao().grupo;
    QList<FolhasContatos::Grupo> grupos(NUM_GRUPOS + 1);
    for (qsizetype i = 0; i < lista.count(); ++i) {
        const int g = lista.grupo(i);
        if (soAbaMostrada && g != mostrado)
            continue;
        grupos[g < 0 ? NUM_GRUPOS : g].contatos.append(
            {lista.nome(i).toString(), lista.telefone(i), lista.email(i)});
    }
    for (int g = 0; g <= NUM_GRUPOS; ++g)
        grupos[g].titulo = titulo(g);
    grupos.removeIf([](const FolhasContatos::Grupo &g) { return g.contatos.isEmpty(); });
    return grupos;
}

namespace {

const QString CHAVE_COLUNAS = QStringLiteral("impressao/colunas");
const QString CHAVE_EMAILS = QStringLiteral("impressao/emails");

} // namespace

ImpressaoContatos::Escolha ImpressaoContatos::lembrada(const QSettings &configuracoes)
{
    Escolha e;
    const QVariant c = configuracoes.value(CHAVE_COLUNAS), m = configuracoes.value(CHAVE_EMAILS);
    if (c.typeId() == QMetaType::QString && c.toString().size() == 1 &&
        c.toString().front() >= u'1' && c.toString().front() <= u'3')
        e.colunas = c.toString().toInt();
    if (m.typeId() == QMetaType::QString && (m.toString() == u"true" || m.toString() == u"false"))
        e.comEmail = m.toString() == u"true";
    return e;
}

void ImpressaoContatos::lembrar(QSettings &configuracoes, const Escolha &escolha)
{
    configuracoes.setValue(CHAVE_COLUNAS, QString::number(escolha.colunas));
    configuracoes.setValue(CHAVE_EMAILS,
                           escolha.comEmail ? QStringLiteral("true") : QStringLiteral("false"));
}

QPageSize::PageSizeId ImpressaoContatos::papel(const QLocale &sistema)
{
    return sistema.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                    : QPageSize::A4;
}

std::optional<QByteArray> ImpressaoContatos::gerar(const Escolha &escolha,
                                                   const FolhasContatos::Progresso &progresso,
                                                   QString &aviso)
{
    aviso = IntercambioContatos(m_modelo).lerAgora();
    if (!aviso.isEmpty())
        return std::nullopt;
    const QList<FolhasContatos::Grupo> g = grupos(m_modelo, escolha.soAbaMostrada);
    if (g.isEmpty()) {
        aviso = Mensagens::NADA_A_IMPRIMIR;
        return std::nullopt;
    }
    FolhasContatos::Opcoes o;
    o.colunas = escolha.colunas;
    o.comEmail = escolha.comEmail;
    o.papel = papel(m_sistema);
    o.cabecalho = QStringLiteral("Marvessa Fonelo");
    o.data = m_modelo.lblDataHoje();
    return FolhasContatos::gerar(g, o, progresso);
}

QString ImpressaoContatos::salvar(const QString &caminho, const Escolha &escolha,
                                  const FolhasContatos::Progresso &progresso)
{
    IntercambioContatos intercambio(m_modelo);
    if (const QString recusa = intercambio.recusaDestino(caminho); !recusa.isEmpty())
        return recusa;
    QString aviso;
    const auto pdf = gerar(escolha, progresso, aviso);
    if (!pdf)
        return aviso;
    aviso = intercambio.gravarFora(caminho, *pdf);
    return aviso.isEmpty() ? Mensagens::LISTA_SALVA : aviso;
}

ImpressaoContatos::Temporario
ImpressaoContatos::temporario(const QString &pasta, const Escolha &escolha,
                              const FolhasContatos::Progresso &progresso)
{
    Temporario t;
    const auto pdf = gerar(escolha, progresso, t.aviso);
    if (!pdf)
        return t;
    QDir dir(pasta);
    // The lists opened before are no longer needed; one a viewer still
    // holds open stays until next time.
    if (dir.mkpath(QStringLiteral("."))) {
        for (const QFileInfo &f : dir.entryInfoList({QStringLiteral("*.pdf")}, QDir::Files)) {
            if (f.lastModified().secsTo(QDateTime::currentDateTime()) > 24 * 60 * 60)
                QFile::remove(f.filePath());
        }
    }
    // A new name each time: a viewer may keep the last one locked.
    const QString base = QStringLiteral("Lista de contatos ") +
                         QDateTime::currentDateTime().toString(u"yyyy-MM-dd HH-mm-ss");
    QString nome = base + QStringLiteral(".pdf");
    for (int n = 2; dir.exists(nome) && n < 100; ++n)
        nome = base + QStringLiteral(" (%1).pdf").arg(n);
    const QString caminho = dir.filePath(nome);
    t.aviso = IntercambioContatos(m_modelo).gravarFora(caminho, *pdf);
    if (t.aviso.isEmpty())
        t.caminho = caminho;
    return t;
}
