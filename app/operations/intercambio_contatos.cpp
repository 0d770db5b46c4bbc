#include "operations/intercambio_contatos.h"

#include "operations/edicao_contatos.h"
#include "operations/mensagens.h"
#include "sync/estado_sincronizacao.h"

#include <QFileInfo>

QString IntercambioContatos::recusa(const ContatosExternos::Lidos &lidos,
                                    const QString &nomeArquivo)
{
    switch (lidos.falha) {
    case ContatosExternos::Falha::Nenhuma:
        return QString();
    case ContatosExternos::Falha::NaoLido:
        return Mensagens::naoLido(nomeArquivo);
    case ContatosExternos::Falha::NaoReconhecido:
        return Mensagens::naoReconhecido(nomeArquivo);
    case ContatosExternos::Falha::AspasAbertas:
        return Mensagens::aspasAbertas(nomeArquivo, lidos.linha);
    case ContatosExternos::Falha::Grande:
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

namespace {

// A path as the file system would take it: links followed, where it exists
// or only its folder does; the trailing dots and spaces Windows drops
// dropped.
QString comoODisco(const QString &caminho)
{
    const QFileInfo f(caminho);
    QString real = f.canonicalFilePath();
    if (real.isEmpty()) {
        const QString pasta = QFileInfo(f.absolutePath()).canonicalFilePath();
        QString nome = f.fileName();
        while (nome.endsWith(u'.') || nome.endsWith(u' '))
            nome.chop(1);
        real = (pasta.isEmpty() ? f.absolutePath() : pasta) + u'/' + nome;
    }
    return real;
}

bool mesmo(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString IntercambioContatos::recusaDestino(const QString &caminho) const
{
    const ArquivoContatos &arquivo = m_modelo.arquivo();
    const QString alvo = comoODisco(caminho);
    if (mesmo(alvo, comoODisco(arquivo.caminho())))
        return Mensagens::EXPORTAR_SOBRE;
    QStringList doPrograma = arquivo.arquivosDoPrograma();
    doPrograma.append(EstadoSincronizacao::caminhoAoLado(arquivo.caminho()));
    for (const QString &c : std::as_const(doPrograma)) {
        if (mesmo(alvo, comoODisco(c)))
            return Mensagens::ARQUIVO_DO_PROGRAMA;
    }
    // The versions' folder, and anything in it.
    const QString versoes = comoODisco(HistoricoVersoes::pastaAoLado(arquivo.caminho()));
    if (mesmo(alvo, versoes) || alvo.startsWith(versoes + u'/', Qt::CaseInsensitive))
        return Mensagens::ARQUIVO_DO_PROGRAMA;
    return {};
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
    if (const QString recusa = recusaDestino(caminho); !recusa.isEmpty())
        return recusa;
    return ArquivoContatos(caminho).gravar(conteudo)
               ? QString()
               : Mensagens::naoGravado(QFileInfo(caminho).fileName());
}

QString IntercambioContatos::exportar(const QString &caminho, ContatosExternos::Formato formato)
{
    if (const QString recusa = recusaDestino(caminho); !recusa.isEmpty())
        return recusa;
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
