#include "main_window/dialogos_principal.h"

#include "dialogs/avisos.h"
#include "dialogs/kv_about.h"
#include "dialogs/kv_adiciona.h"
#include "dialogs/kv_atualiza.h"
#include "dialogs/kv_contdel.h"
#include "dialogs/kv_duplicados.h"
#include "dialogs/kv_imprime.h"
#include "dialogs/kv_padroniza.h"
#include "dialogs/kv_procura.h"
#include "dialogs/kv_sincroniza.h"
#include "dialogs/kv_versoes.h"
#include "main_window/opcoes_principal.h"
#include "operations/agenda.h"
#include "operations/mensagens.h"

#include <QDesktopServices>
#include <QSettings>

DialogosPrincipal::DialogosPrincipal(QWidget &janela, Agenda &agenda, Avisos &avisos,
                                     const OpcoesPrincipal &opcoes)
    : m_janela(janela), m_agenda(agenda), m_avisos(avisos), m_opcoes(opcoes)
{
}

void DialogosPrincipal::editar(DialogoDeslizante &&dialogo)
{
    m_agenda.editar([&dialogo] { dialogo.abrir(); });
}

void DialogosPrincipal::adicionar()
{
    editar(KV_Adiciona(&m_janela, m_agenda.modelo(), m_avisos));
}

void DialogosPrincipal::atualizar()
{
    if (!m_agenda.modelo().contatoSelecionado())
        return avisar({Mensagens::SELECIONE});
    editar(KV_Atualiza(&m_janela, m_agenda.modelo(), m_avisos));
}

void DialogosPrincipal::deletar()
{
    if (!m_agenda.modelo().contatoSelecionado())
        return avisar({Mensagens::SELECIONE});
    editar(KV_ContDel(&m_janela, m_agenda.modelo(), m_avisos));
}

void DialogosPrincipal::procurar()
{
    editar(KV_Procura(&m_janela, m_agenda.modelo(), m_avisos));
}

void DialogosPrincipal::padronizar()
{
    editar(KV_Padroniza(&m_janela, m_agenda.modelo(), m_avisos));
}

void DialogosPrincipal::duplicados()
{
    editar(KV_Duplicados(&m_janela, m_agenda, m_avisos));
}

void DialogosPrincipal::versoes()
{
    editar(KV_Versoes(&m_janela, m_agenda.modelo(), m_avisos, &m_agenda.sincronizacao()));
}

void DialogosPrincipal::sincronizacao()
{
    KV_Sincroniza(&m_janela, m_agenda.sincronizacao()).abrir();
}

void DialogosPrincipal::imprimir()
{
    KV_Imprime(&m_janela, m_agenda.modelo(), m_avisos,
               {m_opcoes.escolherPdf, [this](const QUrl &l) { return abrir(l); },
                [this] { return m_agenda.configuracoes(); }, m_opcoes.progressoImpressaoMs})
        .abrir();
}

void DialogosPrincipal::sobre()
{
    KV_About(&m_janela, m_opcoes.abrirEndereco).abrir();
}

void DialogosPrincipal::avisar(const QStringList &avisos)
{
    for (const QString &aviso : avisos)
        m_avisos.MostrarAviso(&m_janela, aviso);
}

bool DialogosPrincipal::abrir(const QUrl &link) const
{
    if (!m_opcoes.abrirEndereco)
        return QDesktopServices::openUrl(link);
    m_opcoes.abrirEndereco(link);
    return true;
}
