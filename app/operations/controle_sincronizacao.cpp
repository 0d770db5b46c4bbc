#include "operations/controle_sincronizacao.h"

#include "model/classificador_grupos.h"

#include <QStringList>

using Falha = ResultadoSincronizacao::Falha;
using Decisao = Sincronizador::Decisao;

namespace {

// What the user must act on; anything else is retried at the next turn.
bool exigeAcao(Falha f)
{
    return f == Falha::Senha || f == Falha::Certificado || f == Falha::Endereco ||
           f == Falha::Inseguro || f == Falha::Arquivo || f == Falha::Leitura ||
           f == Falha::Confirmar;
}

// "1 contato", "3 contatos"
QString quantos(int n, const char *um, const char *varios)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? um : varios));
}

} // namespace

ControleSincronizacao::ControleSincronizacao(const QString &caminhoContatos, QObject *parent)
    : QObject(parent), m_sinc(caminhoContatos)
{
    m_aposEscrita.setSingleShot(true);
    setLocale(QLocale());
    setEsperas(2000, 5 * 60 * 1000);
    connect(&m_aposEscrita, &QTimer::timeout, this, [this] { pedir(Motivo::Periodo); });
    connect(&m_periodo, &QTimer::timeout, this, [this] { pedir(Motivo::Periodo); });
    connect(&m_sinc, &Sincronizador::terminou, this, &ControleSincronizacao::concluido);
}

void ControleSincronizacao::setConta(const Sincronizador::Conta &conta)
{
    m_conta = conta;
    m_decisao = {};
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
    // The import's rule: a name no tab lists stays out of the file.
    m_sinc.setListavel([grupos = std::make_shared<ClassificadorGrupos>(locale)](QStringView nome) {
        return grupos->grupoDe(nome) >= 0;
    });
}

void ControleSincronizacao::renomear(const QString &de, const QString &para)
{
    // Also while the password waits to be typed again: the sync's state is
    // there, and the next sync must know.
    m_sinc.renomear(de, para);
}

void ControleSincronizacao::decidir(const Sincronizador::Decisao &decisao)
{
    if (decisao.tipo == Decisao::Tipo::Perguntar || !conectado())
        return;
    m_decisao = decisao;
    pedir(Motivo::Pedido);
}

void ControleSincronizacao::autorizar(int apagarLa)
{
    if (!conectado() || apagarLa <= 0)
        return;
    m_decisao = {Decisao::Tipo::Apagar, 0, apagarLa};
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
    m_sinc.sincronizar(m_conta, std::exchange(m_decisao, {}));
}

void ControleSincronizacao::setEdicaoAberta(bool aberta)
{
    m_edicaoAberta = aberta;
    m_sinc.reter(aberta);
}

QString ControleSincronizacao::texto(const ResultadoSincronizacao &r)
{
    switch (r.falha) {
    case Falha::Nenhuma: {
        QString t = QStringLiteral("Sincronizado: ") +
                    quantos(r.recebidos, "recebido", "recebidos") + QStringLiteral(", ") +
                    quantos(r.enviados, "enviado", "enviados");
        if (r.apagadosAqui > 0)
            t += QStringLiteral(", ") + quantos(r.apagadosAqui, "apagado aqui", "apagados aqui");
        if (r.apagadosLa > 0)
            t += QStringLiteral(", ") +
                 quantos(r.apagadosLa, "apagado no servidor", "apagados no servidor");
        t += u'.';
        if (r.naoLidos > 0)
            t += QStringLiteral(" %1 do servidor não %2 e %3 para a próxima vez.")
                     .arg(quantos(r.naoLidos, "cartão", "cartões"),
                          r.naoLidos == 1 ? QStringLiteral("veio") : QStringLiteral("vieram"),
                          r.naoLidos == 1 ? QStringLiteral("fica") : QStringLiteral("ficam"));
        return t;
    }
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
    case Falha::Leitura:
        return r.detalhe == u"ausente"
                   ? QStringLiteral("O arquivo contatos.txt não existe: nada foi sincronizado!")
                   : QStringLiteral(
                         "Não foi possível ler o arquivo contatos.txt: nada foi sincronizado!");
    case Falha::Arquivo:
        return QStringLiteral("Não foi possível gravar o arquivo contatos.txt!");
    case Falha::Confirmar:
        return pergunta(r) + QStringLiteral(" Nada foi apagado: aperte F5 para decidir.");
    }
    return {};
}

QString ControleSincronizacao::pergunta(const ResultadoSincronizacao &r)
{
    using Vazio = ResultadoSincronizacao::Vazio;
    const ProtecaoApagar::Pergunta &p = r.pergunta;
    QString t;
    if (p.vazio == Vazio::Aqui) {
        t = (p.contatosAqui == 0
                 ? QStringLiteral("O arquivo contatos.txt está vazio.")
                 : QStringLiteral("O arquivo contatos.txt não tem mais nenhum dos contatos "
                                  "sincronizados.")) +
            QStringLiteral(" Sincronizar apagaria %1 no servidor.")
                .arg(quantos(p.la, "contato", "contatos"));
    } else if (p.vazio == Vazio::La) {
        t = (p.cartoesLa == 0
                 ? QStringLiteral("O catálogo do servidor está vazio.")
                 : QStringLiteral("O catálogo do servidor não tem mais nenhum dos contatos "
                                  "sincronizados.")) +
            QStringLiteral(" Sincronizar apagaria %1 aqui.")
                .arg(quantos(p.aqui, "contato", "contatos"));
    } else {
        QStringList partes;
        if (p.aqui > 0)
            partes.append(
                QStringLiteral("%1 dos %2 contatos daqui").arg(p.aqui).arg(p.contatosAqui));
        if (p.la > 0)
            partes.append(
                QStringLiteral("%1 dos %2 contatos do servidor").arg(p.la).arg(p.cartoesLa));
        t = QStringLiteral("Sincronizar apagaria %1.").arg(partes.join(QStringLiteral(" e ")));
    }
    // How many are merges, and how many went already in the day.
    QStringList mais;
    if (p.juncoes > 0)
        mais.append(p.juncoes == 1 ? QStringLiteral("1 juntado")
                                   : QStringLiteral("%1 juntados").arg(p.juncoes));
    if (p.hojeAqui + p.hojeLa > 0)
        mais.append(QStringLiteral("mais %1 já apagados hoje").arg(p.hojeAqui + p.hojeLa));
    if (!mais.isEmpty())
        t.insert(t.size() - 1, QStringLiteral(" (%1)").arg(mais.join(QStringLiteral("; "))));
    return t;
}

QString ControleSincronizacao::manter(const ResultadoSincronizacao &r)
{
    return r.pergunta.juncoes > 0 ? QStringLiteral("Manter: volta o apagado; o juntado fica junto.")
                                  : QStringLiteral("Manter traz tudo de volta.");
}

void ControleSincronizacao::concluido(const ResultadoSincronizacao &r)
{
    const QString hora = m_relogio().toString(QStringLiteral("HH:mm"));
    Q_EMIT dica(r.ok() ? QStringLiteral("Marvessa Fonelo - sincronizado às %1").arg(hora)
                : r.falha == Falha::Confirmar
                    ? QStringLiteral("Marvessa Fonelo - sincronização parada às %1").arg(hora)
                    : QStringLiteral("Marvessa Fonelo - sincronização falhou às %1").arg(hora));
    if (r.recebidos + r.apagadosAqui > 0)
        Q_EMIT contatosMudaram();
    if (m_pedidoEmCurso && r.falha == Falha::Confirmar) {
        // Asked for: asked at once, not told.
        m_ultimaAvisada = r.falha;
        Q_EMIT confirmar(r);
    } else if (m_pedidoEmCurso) {
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
