#include "operations/intercambio_contatos.h"

#include "operations/edicao_contatos.h"
#include "operations/mensagens.h"

#include <QFileInfo>

using ContatosExternos::Falha;

QString IntercambioContatos::recusa(const ContatosExternos::Lidos &lidos,
                                    const QString &nomeArquivo)
{
    switch (lidos.falha) {
    case Falha::Nenhuma:
        return QString();
    case Falha::NaoLido:
        return Mensagens::naoLido(nomeArquivo);
    case Falha::NaoReconhecido:
        return Mensagens::naoReconhecido(nomeArquivo);
    case Falha::AspasAbertas:
        return Mensagens::aspasAbertas(nomeArquivo, lidos.linha);
    case Falha::Grande:
        return Mensagens::grandeDemais(nomeArquivo);
    }
    return Mensagens::naoReconhecido(nomeArquivo);
}

bool IntercambioContatos::importaveis(const QList<QUrl> &enderecos)
{
    for (const QUrl &u : enderecos) {
        const QString sufixo = QFileInfo(u.toLocalFile()).suffix().toLower();
        if (!u.isLocalFile() || (sufixo != u"vcf" && sufixo != u"csv"))
            return false;
    }
    return true;
}

QStringList IntercambioContatos::importar(const QStringList &caminhos,
                                          const ContatosExternos::Limites &limites)
{
    QList<ContactRecord> contatos;
    qsizetype rejeitados = 0;
    for (const QString &c : caminhos) {
        const ContatosExternos::Lidos lidos = ContatosExternos::lerArquivo(c, limites);
        if (!lidos.ok())
            return {recusa(lidos, QFileInfo(c).fileName())};
        contatos += lidos.contatos;
        rejeitados += lidos.rejeitados;
    }
    return EdicaoContatos(m_modelo).importar(contatos, rejeitados).avisos;
}

bool IntercambioContatos::ehOArquivoDeContatos(const QString &caminho) const
{
    const QString alvo = QFileInfo(caminho).canonicalFilePath();
    const QString contatos = QFileInfo(m_modelo.arquivo().caminho()).canonicalFilePath();
    // A name that does not exist yet cannot be the contact file.
    if (alvo.isEmpty() || contatos.isEmpty())
        return false;
#ifdef Q_OS_WIN
    return alvo.compare(contatos, Qt::CaseInsensitive) == 0;
#else
    return alvo == contatos;
#endif
}

QString IntercambioContatos::lerAgora()
{
    // A list whose read failed is no list of the contacts, and another
    // program's changes since go out too.
    if (m_modelo.ultimaLeituraFalhou() ||
        m_modelo.arquivo().lerBytes().assinatura() != m_modelo.assinaturaLida()) {
        const ModeloPrincipal::Lote lote(m_modelo);
        if (!m_modelo.RecarregarLista())
            return ModeloPrincipal::AVISO_FALHA_LEITURA;
        m_modelo.AtualizarAba();
    }
    return QString();
}

QString IntercambioContatos::gravarFora(const QString &caminho, const QByteArray &conteudo) const
{
    if (ehOArquivoDeContatos(caminho))
        return Mensagens::EXPORTAR_SOBRE;
    return ArquivoContatos(caminho).gravar(conteudo)
               ? QString()
               : Mensagens::naoGravado(QFileInfo(caminho).fileName());
}

QString IntercambioContatos::exportar(const QString &caminho, ContatosExternos::Formato formato)
{
    if (ehOArquivoDeContatos(caminho))
        return Mensagens::EXPORTAR_SOBRE;
    if (const QString falha = lerAgora(); !falha.isEmpty())
        return falha;
    const ListaInicio &lista = m_modelo.lstInicio();
    QList<ContactRecord> contatos;
    contatos.reserve(lista.count());
    for (qsizetype i = 0; i < lista.count(); ++i)
        contatos.append(lista.registro(i));
    const QString falha = gravarFora(caminho, ContatosExternos::escrever(contatos, formato));
    return falha.isEmpty() ? Mensagens::EXPORTADOS : falha;
}
