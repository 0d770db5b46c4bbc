#include "dialogs/controle_sincronizacao.h"

using Falha = ResultadoSincronizacao::Falha;

namespace {

// What the user must act on; anything else is retried at the next turn.
bool exigeAcao(Falha f)
{
    return f == Falha::Senha || f == Falha::Certificado || f == Falha::Endereco ||
           f == Falha::Inseguro || f == Falha::Arquivo;
}

} // namespace

ControleSincronizacao::ControleSincronizacao(const QString &caminhoContatos, QObject *parent)
    : QObject(parent), m_sinc(caminhoContatos)
{
    m_aposEscrita.setSingleShot(true);
    setEsperas(2000, 5 * 60 * 1000);
    connect(&m_aposEscrita, &QTimer::timeout, this, [this] { pedir(Motivo::Periodo); });
    connect(&m_periodo, &QTimer::timeout, this, [this] { pedir(Motivo::Periodo); });
    connect(&m_sinc, &Sincronizador::terminou, this, &ControleSincronizacao::concluido);
}

void ControleSincronizacao::setConta(const Sincronizador::Conta &conta)
{
    m_conta = conta;
    m_ultimaAvisada = Falha::Nenhuma;
    if (conectado()) {
        m_periodo.start();
    } else {
        m_periodo.stop();
        m_aposEscrita.stop();
        m_outra = m_outraPedida = false;
    }
}

void ControleSincronizacao::setLocale(const QLocale &locale)
{
    m_sinc.setLocale(locale);
}

void ControleSincronizacao::setEsperas(int aposEscritaMs, int periodoMs)
{
    m_aposEscrita.setInterval(aposEscritaMs);
    m_periodo.setInterval(periodoMs);
}

void ControleSincronizacao::pedir(Motivo motivo)
{
    if (!conectado())
        return;
    if (motivo == Motivo::Escrita) {
        // Several edits in a row make one sync.
        m_aposEscrita.start();
        return;
    }
    const bool doUsuario = motivo == Motivo::Pedido || motivo == Motivo::Releitura;
    if (m_sinc.ocupado()) {
        m_outra = true;
        m_outraPedida = m_outraPedida || doUsuario;
        return;
    }
    m_pedidoEmCurso = doUsuario;
    iniciar();
}

void ControleSincronizacao::iniciar()
{
    m_aposEscrita.stop();
    m_sinc.reter(m_edicaoAberta);
    m_sinc.sincronizar(m_conta);
}

void ControleSincronizacao::setEdicaoAberta(bool aberta)
{
    m_edicaoAberta = aberta;
    m_sinc.reter(aberta);
}

QString ControleSincronizacao::texto(const ResultadoSincronizacao &r)
{
    switch (r.falha) {
    case Falha::Nenhuma:
        return QStringLiteral("Sincronizado: %1 recebidos, %2 enviados.")
            .arg(r.recebidos + r.apagadosAqui)
            .arg(r.enviados + r.apagadosLa);
    case Falha::Inseguro:
        return QStringLiteral("O endereço precisa começar com https://!");
    case Falha::SemConexao:
        return QStringLiteral("Não foi possível conectar ao servidor!");
    case Falha::Certificado:
        return QStringLiteral("O certificado do servidor foi recusado!");
    case Falha::Endereco:
        return QStringLiteral("Não há catálogo de endereços neste endereço!");
    case Falha::Senha:
        return QStringLiteral("Usuário ou senha incorretos!");
    case Falha::Servidor:
        return r.detalhe.isEmpty()
                   ? QStringLiteral("O servidor respondeu com um erro!")
                   : QStringLiteral("O servidor respondeu com um erro: %1").arg(r.detalhe);
    case Falha::Arquivo:
        return QStringLiteral("Não foi possível gravar o arquivo contatos.txt!");
    }
    return {};
}

void ControleSincronizacao::concluido(const ResultadoSincronizacao &r)
{
    const QString hora = m_relogio().toString(QStringLiteral("HH:mm"));
    Q_EMIT dica(r.ok() ? QStringLiteral("Marvessa Fonelo - sincronizado às %1").arg(hora)
                       : QStringLiteral("Marvessa Fonelo - sincronização falhou às %1").arg(hora));
    if (r.recebidos + r.apagadosAqui > 0)
        Q_EMIT contatosMudaram();
    if (m_pedidoEmCurso) {
        Q_EMIT aviso(texto(r));
        m_ultimaAvisada = r.falha;
    } else if (r.ok()) {
        m_ultimaAvisada = Falha::Nenhuma;
    } else if (exigeAcao(r.falha) && r.falha != m_ultimaAvisada) {
        // Once, not at every turn, until it changes.
        Q_EMIT aviso(texto(r));
        m_ultimaAvisada = r.falha;
    }
    Q_EMIT terminou(r);
    // Not after a disconnection meanwhile.
    if (std::exchange(m_outra, false) && conectado()) {
        m_pedidoEmCurso = std::exchange(m_outraPedida, false);
        iniciar();
    }
}
