#pragma once

#include <QString>

// The texts of the notices the operations give: editing, undo, versions,
// import and export, the sync account. A sync's result is put into words by
// ControleSincronizacao::texto, which knows its every outcome.
namespace Mensagens {
inline const QString SELECIONE = QStringLiteral("É preciso selecionar um contato primeiro!");
inline const QString PROIBIDO =
    QStringLiteral("Nomes só podem começar com caracteres alfanuméricos!");
inline const QString VAZIO = QStringLiteral("O campo NOME não pode ficar vazio!");
inline const QString ESTE_EXISTE = QStringLiteral("Este nome já existe!");
inline const QString ESSE_EXISTE = QStringLiteral("Esse nome já existe!");
inline const QString INSERIDO = QStringLiteral("Contato inserido com sucesso!");
inline const QString ATUALIZADO = QStringLiteral("Contato atualizado com sucesso!");
inline const QString DELETADO = QStringLiteral("Contato deletado com sucesso!");
inline const QString FALHA_GRAVACAO =
    QStringLiteral("Não foi possível gravar o arquivo contatos.txt!");
inline const QString SEM_VERSOES =
    QStringLiteral("Não foi possível guardar as versões anteriores do arquivo contatos.txt!");
inline const QString INVALIDOS = QStringLiteral("Há caracteres que não podem ser gravados!");
inline const QString ALTERADA =
    QStringLiteral("A lista foi alterada por outro programa. Confira e tente novamente!");
inline const QString NAO_EXISTE = QStringLiteral("Este contato não existe mais na lista!");
inline QString naoReconhecido(const QString &arquivo)
{
    return QStringLiteral("O arquivo %1 não é um vCard nem um CSV de contatos!").arg(arquivo);
}
inline QString naoLido(const QString &arquivo)
{
    return QStringLiteral("Não foi possível ler o arquivo %1!").arg(arquivo);
}
inline QString naoGravado(const QString &arquivo)
{
    return QStringLiteral("Não foi possível gravar o arquivo %1!").arg(arquivo);
}
inline QString aspasAbertas(const QString &arquivo, qsizetype linha)
{
    return QStringLiteral("O arquivo %1 não é um CSV de contatos: as aspas abertas na linha %2 "
                          "não se fecham!")
        .arg(arquivo)
        .arg(linha);
}
inline QString grandeDemais(const QString &arquivo)
{
    return QStringLiteral("O arquivo %1 é grande demais para ser importado!").arg(arquivo);
}
inline QString desfeita(const QString &descricao, bool desfazer)
{
    QString s = descricao + (desfazer ? QStringLiteral(" desfeita!") : QStringLiteral(" refeita!"));
    s[0] = s[0].toUpper();
    return s;
}
inline QString naoDesfeita(const QString &contato, bool desfazer)
{
    const QString acao = desfazer ? QStringLiteral("desfazer") : QStringLiteral("refazer");
    if (contato.trimmed().isEmpty())
        return QStringLiteral("Não foi possível %1: a lista foi alterada depois!").arg(acao);
    return QStringLiteral("Não foi possível %1: o contato %2 foi alterado depois!")
        .arg(acao, contato);
}
inline QString jaExiste(const QString &contato, bool desfazer)
{
    return QStringLiteral("Não foi possível %1: já existe outro contato %2!")
        .arg(desfazer ? QStringLiteral("desfazer") : QStringLiteral("refazer"), contato);
}
inline QString versaoNaoLida(const QString &quando)
{
    return QStringLiteral("Não foi possível ler a versão de %1!").arg(quando);
}
inline const QString VERSAO_IGUAL = QStringLiteral("Esta versão é igual à lista atual!");
inline QString restaurada(const QString &quando)
{
    return QStringLiteral("Versão de %1 restaurada!").arg(quando);
}
inline const QString EXPORTADOS = QStringLiteral("Contatos exportados!");
inline const QString EXPORTAR_SOBRE =
    QStringLiteral("Os contatos não podem ser exportados sobre o próprio arquivo contatos.txt!");
inline const QString ARQUIVO_DO_PROGRAMA =
    QStringLiteral("Este arquivo é do próprio Marvessa Fonelo: escolha outro nome!");
inline QString importados(qsizetype n, qsizetype ignorados)
{
    return QStringLiteral("Contatos importados: %1. Ignorados: %2.").arg(n).arg(ignorados);
}
inline const QString SENHA_DE_NOVO = QStringLiteral("Digite de novo a senha da sincronização!");
inline const QString ENDERECO_INVALIDO = QStringLiteral("O endereço não é válido!");
inline const QString OUTRO_USUARIO = QStringLiteral("O endereço traz outro usuário ou senha!");
inline QString padronizados(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 telefone padronizado!")
                  : QStringLiteral("%1 telefones padronizados!").arg(n);
}
inline QString juntados(qsizetype n, const QString &nome)
{
    return QStringLiteral("%1 contatos juntados em %2!").arg(n).arg(nome);
}
inline QString parecidos(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 contato importado parece um que já estava aqui: "
                                   "veja em Duplicados... (Ctrl+Shift+D).")
                  : QStringLiteral("%1 contatos importados parecem outros que já estavam aqui: "
                                   "veja em Duplicados... (Ctrl+Shift+D).")
                        .arg(n);
}
inline const QString NAO_DISCAVEL = QStringLiteral("Este telefone não pode ser discado!");
inline const QString SEM_WHATSAPP =
    QStringLiteral("Este telefone não tem código de área para o WhatsApp!");
inline const QString SEM_PAIS_WHATSAPP =
    QStringLiteral("Este telefone não tem o código do país (+1, +351...) para o WhatsApp!");
inline const QString EMAIL_INVALIDO = QStringLiteral("Este e-mail não é um endereço válido!");
inline const QString LISTA_SALVA = QStringLiteral("Lista para imprimir salva!");
inline const QString NADA_A_IMPRIMIR = QStringLiteral("Não há contatos para imprimir!");
inline const QString SEM_VISUALIZADOR =
    QStringLiteral("Não há neste computador um programa que abra arquivos PDF!");
inline const QString NADA_ABRE =
    QStringLiteral("Não há neste computador um programa que abra este endereço!");
} // namespace Mensagens
