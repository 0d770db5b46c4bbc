#include "operations/conta_sincronizacao.h"

#include "model/modelo_principal.h"
#include "operations/mensagens.h"
#include "sync/estado_sincronizacao.h"

#include <QDateTime>
#include <QFile>
#include <QScopeGuard>
#include <QSettings>

namespace {

const QString ENDERECO = QStringLiteral("Endereço");
const QString USUARIO = QStringLiteral("Usuário");
// The settings store is read as untrusted: nothing longer than this is an
// address or a user name.
constexpr qsizetype TAMANHO_MAXIMO = 2048;

} // namespace

ContaSincronizacao::ContaSincronizacao(const QString &caminhoContatos,
                                       std::function<std::unique_ptr<QSettings>()> configuracoes,
                                       QObject *parent, std::unique_ptr<CofreSenhas> cofre)
    : QObject(parent), m_caminho(caminhoContatos), m_configuracoes(std::move(configuracoes)),
      m_cofre(cofre ? std::move(cofre) : std::make_unique<CofreSenhas>()),
      m_controle(caminhoContatos)
{
    // Nothing more is told of a sync that ends after a disconnection.
    connect(&m_controle, &ControleSincronizacao::aviso, this, [this](const QString &texto) {
        if (m_conectado || m_conectando)
            Q_EMIT aviso(texto);
    });
    connect(&m_controle, &ControleSincronizacao::terminou, this, &ContaSincronizacao::terminou);
}

void ContaSincronizacao::acompanhar(ModeloPrincipal &modelo)
{
    connect(&modelo, &ModeloPrincipal::gravou, this,
            [this] { m_controle.pedir(ControleSincronizacao::Motivo::Escrita); });
    connect(&modelo, &ModeloPrincipal::renomeado, &m_controle, &ControleSincronizacao::renomear);
    connect(&modelo, &ModeloPrincipal::juntados, &m_controle, &ControleSincronizacao::juntar);
    m_controle.setLocale(modelo.locale());
    connect(&m_controle, &ControleSincronizacao::contatosMudaram, &modelo,
            &ModeloPrincipal::relerMantendoSelecao);
}

QUrl ContaSincronizacao::url(const QString &endereco)
{
    QString texto = endereco.trimmed();
    if (!texto.contains(QLatin1String("://")))
        texto.prepend(QLatin1String("https://"));
    const QUrl u(texto, QUrl::StrictMode);
    if (!u.isValid() || u.host().isEmpty() ||
        (u.scheme() != QLatin1String("https") && u.scheme() != QLatin1String("http")))
        return {};
    return u;
}

void ContaSincronizacao::iniciar()
{
    // Decided once nothing is left to wait for: the keychain's answer, when
    // it is asked.
    bool perguntou = false;
    const auto decidido = qScopeGuard([this, &perguntou] { m_iniciada = !perguntou; });
    const auto s = m_configuracoes();
    s->beginGroup(SECAO);
    const QVariant endereco = s->value(ENDERECO);
    const QVariant usuario = s->value(USUARIO);
    if (endereco.typeId() != QMetaType::QString || url(endereco.toString()).isEmpty() ||
        endereco.toString().size() > TAMANHO_MAXIMO)
        return;
    m_endereco = endereco.toString().trimmed();
    m_usuario = usuario.typeId() == QMetaType::QString ? usuario.toString().left(TAMANHO_MAXIMO)
                                                       : QString();
    // An older version kept a password typed into the address as it was
    // typed: it goes from the settings store now.
    if (const auto partes = separar(m_endereco); partes.endereco != m_endereco) {
        m_endereco = partes.endereco;
        if (m_usuario.isEmpty())
            m_usuario = partes.usuario;
        s->setValue(ENDERECO, m_endereco);
        s->setValue(USUARIO, m_usuario);
    }
    if (m_usuario.isEmpty()) {
        // A server that asks no login: nothing to ask, nothing sent.
        usar({});
        return;
    }
    perguntou = true;
    m_cofre->ler(chave(), [this](CofreSenhas::Leitura leitura, const QString &senha) {
        m_iniciada = true;
        // Connected or disconnected by hand meanwhile.
        if (m_conectando || m_conectado || m_endereco.isEmpty())
            return;
        if (leitura == CofreSenhas::Leitura::Lida) {
            usar(senha);
            return;
        }
        m_faltaSenha = true;
        Q_EMIT aviso(Mensagens::SENHA_DE_NOVO);
        Q_EMIT mudou();
    });
}

ContaSincronizacao::Partes ContaSincronizacao::separar(const QString &endereco)
{
    const QUrl u = url(endereco);
    if (u.isEmpty() || u.userInfo().isEmpty())
        return {endereco.trimmed(), {}, {}};
    return {u.adjusted(QUrl::RemoveUserInfo).toString(), u.userName(), u.password()};
}

void ContaSincronizacao::usar(const QString &senha)
{
    m_senha = senha;
    m_conectado = true;
    m_faltaSenha = false;
    m_controle.setConta({url(m_endereco), m_usuario, senha});
    m_controle.pedir(ControleSincronizacao::Motivo::Inicio);
    Q_EMIT mudou();
}

void ContaSincronizacao::conectar(const QString &endereco, const QString &usuario,
                                  const QString &senha)
{
    const QUrl u = url(endereco);
    if (u.isEmpty() || endereco.size() > TAMANHO_MAXIMO || usuario.size() > TAMANHO_MAXIMO) {
        Q_EMIT aviso(Mensagens::ENDERECO_INVALIDO);
        return;
    }
    if (m_conectando || m_conectado)
        return;
    // A user and password typed into the address go into their own fields;
    // the password is never kept with the address.
    const Partes partes = separar(endereco);
    if ((!partes.usuario.isEmpty() && !usuario.isEmpty() && partes.usuario != usuario) ||
        (!partes.senha.isEmpty() && !senha.isEmpty() && partes.senha != senha)) {
        Q_EMIT aviso(Mensagens::OUTRO_USUARIO);
        return;
    }
    m_endereco = partes.endereco;
    m_usuario = usuario.isEmpty() ? partes.usuario : usuario;
    m_senha = m_usuario.isEmpty() ? QString() : (senha.isEmpty() ? partes.senha : senha);
    m_conectando = true;
    m_controle.setConta({url(m_endereco), m_usuario, m_senha});
    m_controle.pedir(ControleSincronizacao::Motivo::Pedido);
    Q_EMIT mudou();
}

void ContaSincronizacao::terminou(const ResultadoSincronizacao &r)
{
    m_ultima = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm")) +
               QLatin1String(" - ") + ControleSincronizacao::texto(r);
    if (!r.livro.isEmpty())
        m_livro = r.livro;
    if (std::exchange(m_esquecerAoTerminar, false))
        esquecerEstado();
    if (std::exchange(m_conectando, false)) {
        // A sync that stopped to ask the user reached the book all right.
        if (r.ok() || r.falha == ResultadoSincronizacao::Falha::Confirmar) {
            m_conectado = true;
            m_faltaSenha = false;
            const auto s = m_configuracoes();
            s->beginGroup(SECAO);
            s->setValue(ENDERECO, m_endereco);
            s->setValue(USUARIO, m_usuario);
            if (!m_usuario.isEmpty()) {
                m_cofre->gravar(chave(), m_senha, [this](bool guardada) {
                    m_soNaMemoria = !guardada;
                    Q_EMIT mudou();
                });
            }
        } else {
            // Not connected: the user corrects what was typed and tries again.
            m_controle.setConta({});
            m_senha.clear();
        }
    }
    Q_EMIT mudou();
}

void ContaSincronizacao::desconectar()
{
    if (!m_usuario.isEmpty())
        m_cofre->apagar(chave());
    m_controle.setConta({});
    const auto s = m_configuracoes();
    s->remove(SECAO);
    m_endereco.clear();
    m_usuario.clear();
    m_senha.clear();
    m_livro.clear();
    m_ultima.clear();
    m_conectado = m_conectando = m_faltaSenha = m_soNaMemoria = false;
    // A sync under way writes its state as it ends: forgotten then.
    if (m_controle.ocupado())
        m_esquecerAoTerminar = true;
    else
        esquecerEstado();
    Q_EMIT mudou();
}

void ContaSincronizacao::esquecerEstado()
{
    QFile::remove(EstadoSincronizacao::caminhoAoLado(m_caminho));
}
