#include "operations/agenda.h"

#include "operations/conta_sincronizacao.h"
#include "operations/desfazer_edicoes.h"
#include "operations/duplicados.h"
#include "operations/intercambio_contatos.h"
#include "operations/mensagens.h"
#include "store/arquivo_contatos.h"

#include <QFileInfo>
#include <QSettings>
#include <QTimer>

namespace {

QString caminhoOuPadrao(const QString &caminho)
{
    return caminho.isEmpty() ? ArquivoContatos::caminhoPadrao() : caminho;
}

} // namespace

Agenda::Agenda(const OpcoesAgenda &opcoes, QObject *parent)
    : QObject(parent), m_opcoes(opcoes),
      m_modelo(caminhoOuPadrao(m_opcoes.caminhoArquivo), m_opcoes.locale)
{
    m_modelo.arquivo().setHistorico(m_opcoes.agora, m_opcoes.limitesVersoes);
    // What goes out of the program never goes over its settings, where
    // they are a file.
    if (const auto c = configuracoes(); QFileInfo(c->fileName()).isAbsolute())
        m_modelo.arquivo().setArquivosDoPrograma({c->fileName()});
    m_modelo.iniciarLeitura();
}

Agenda::~Agenda() = default;

void Agenda::iniciar()
{
    m_modelo.concluirInicio(hoje());
    agendarMeiaNoite();
    m_sincronizacao = std::make_unique<ContaSincronizacao>(
        m_modelo.arquivo().caminho(), [this] { return configuracoes(); }, nullptr,
        m_opcoes.cofre ? m_opcoes.cofre() : nullptr);
    m_sincronizacao->acompanhar(m_modelo);
    // A notice is a window of its own: shown once the sync has ended.
    connect(m_sincronizacao.get(), &ContaSincronizacao::aviso, this, &Agenda::aviso,
            Qt::QueuedConnection);
    // After the window has shown.
    QTimer::singleShot(0, m_sincronizacao.get(), &ContaSincronizacao::iniciar);
    m_desfazer = std::make_unique<DesfazerEdicoes>(m_modelo);
    if (!m_modelo.avisoInicial().isEmpty()) {
        // The notice stands over the window, so it waits until the window shows.
        QTimer::singleShot(0, this, [this] { Q_EMIT aviso(m_modelo.avisoInicial()); });
    }
}

std::unique_ptr<QSettings> Agenda::configuracoes() const
{
    if (!m_opcoes.arquivoConfiguracoes.isEmpty())
        return std::make_unique<QSettings>(m_opcoes.arquivoConfiguracoes, QSettings::IniFormat);
    return std::make_unique<QSettings>(QStringLiteral("Marvessa Fonelo"),
                                       QStringLiteral("Marvessa Fonelo"));
}

QDate Agenda::hoje() const
{
    return m_opcoes.hoje ? m_opcoes.hoje() : QDate::currentDate();
}

QStringList Agenda::reler()
{
    QStringList avisos;
    if (!m_modelo.reler(hoje()))
        avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
    m_sincronizacao->controle().pedir(ControleSincronizacao::Motivo::Releitura);
    return avisos;
}

QStringList Agenda::importar(const QStringList &caminhos)
{
    const ListaInicio &lista = m_modelo.lstInicio();
    QSet<QString> antes;
    antes.reserve(lista.count());
    for (qsizetype i = 0; i < lista.count(); ++i)
        antes.insert(lista.nome(i).toString());
    QStringList avisos = IntercambioContatos(m_modelo).importar(caminhos);
    // The new ones that look like contacts already here are counted, for the
    // user to look at in the duplicates' dialog.
    QSet<QString> novos;
    for (qsizetype i = 0; i < lista.count(); ++i) {
        const QString nome = lista.nome(i).toString();
        if (!antes.contains(nome))
            novos.insert(nome);
    }
    if (!novos.isEmpty()) {
        const auto grupos = Duplicados::procurar(lista, Duplicados::distintos(*configuracoes()));
        if (const qsizetype n = Duplicados::parecidos(grupos, novos))
            avisos.append(Mensagens::parecidos(n));
    }
    return avisos;
}

QString Agenda::exportar(const QString &caminho, ContatosExternos::Formato formato)
{
    return IntercambioContatos(m_modelo).exportar(caminho, formato);
}

QStringList Agenda::desfazer()
{
    return m_desfazer->desfazer().avisos;
}

QStringList Agenda::refazer()
{
    return m_desfazer->refazer().avisos;
}

void Agenda::editar(const std::function<void()> &abrir)
{
    ControleSincronizacao &controle = m_sincronizacao->controle();
    controle.setEdicaoAberta(true);
    abrir();
    controle.setEdicaoAberta(false);
}

void Agenda::agendarMeiaNoite()
{
    // The date label renews itself when the day changes, not only on refresh.
    if (!m_meiaNoite) {
        m_meiaNoite = new QTimer(this);
        m_meiaNoite->setSingleShot(true);
        m_meiaNoite->setTimerType(Qt::VeryCoarseTimer);
        connect(m_meiaNoite, &QTimer::timeout, this, [this] {
            m_modelo.atualizarData(hoje());
            agendarMeiaNoite();
        });
    }
    const QDateTime agora = QDateTime::currentDateTime();
    const QDateTime proxima(agora.date().addDays(1), QTime(0, 0, 1));
    m_meiaNoite->start(int(qBound(qint64(1000), agora.msecsTo(proxima), qint64(86'400'000))));
}
