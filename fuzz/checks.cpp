#include "checks.h"

#include "conversao.h"
#include "main_window/model/classificador_grupos.h"
#include "main_window/model/lista_inicio.h"
#include "store/contatos_externos.h"
#include "store/formato_contatos.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void falha(const char *o_que)
{
    std::fprintf(stderr, "broken: %s\n", o_que);
    std::abort();
}

void externos(const ContatosExternos::Lidos &lidos, ContatosExternos::Formato formato)
{
    QList<ContactRecord> contatos;
    for (const ContactRecord &r : lidos.contatos) {
        for (const QString *campo : {&r.Nome, &r.Telefone, &r.Email}) {
            if (campo->contains(u'\r') || campo->contains(u'\n') ||
                campo->contains(FormatoContatos::SEPARADOR))
                falha("a contact's field holds CR, LF or the separator");
        }
        if (formato == ContatosExternos::Formato::VCard || r != ContactRecord{})
            contatos.append(r);
    }
    const auto deVolta =
        ContatosExternos::ler(ContatosExternos::escrever(contatos, formato)).contatos;
    if (deVolta != contatos)
        falha("the contacts written and read back differ");
}

} // namespace

namespace Verificacoes {

void vcard(QByteArrayView bytes)
{
    externos(ContatosExternos::lerVCard(bytes), ContatosExternos::Formato::VCard);
}

void csv(QByteArrayView bytes)
{
    externos(ContatosExternos::lerCsv(bytes), ContatosExternos::Formato::Csv);
}

bool porAlvo(const QString &alvo, QByteArrayView bytes)
{
    const std::pair<const char *, void (*)(QByteArrayView)> alvos[] = {
        {"leitor", leitor}, {"conversor", conversor}, {"vcard", vcard}, {"csv", csv}};
    for (const auto &[nome, verificar] : alvos) {
        if (alvo == QLatin1String(nome)) {
            verificar(bytes);
            return true;
        }
    }
    return false;
}

void leitor(QByteArrayView bytes)
{
    const Codificacao codificacao = Codificacoes::detectar(bytes);
    const QList<ContactRecord> registros = FormatoContatos::lerRegistros(bytes);
    QStringList linhas;
    for (const ContactRecord &r : registros) {
        for (const QString *campo : {&r.Nome, &r.Telefone, &r.Email}) {
            if (campo->contains(u'\r') || campo->contains(FormatoContatos::SEPARADOR))
                falha("a field holds CR or the separator");
        }
        linhas.append(FormatoContatos::linhaDoRegistro(r));
    }
    // In the file's own encoding; the writers refuse a Windows-1252 file
    // that would read back as UTF-8.
    const QByteArray escrito = FormatoContatos::montarArquivo(linhas, codificacao);
    if (Codificacoes::lidoDeVoltaIgual(escrito, codificacao) &&
        FormatoContatos::lerRegistros(escrito) != registros)
        falha("the records written and read back differ");

    static const QLocale locale(QLocale::Portuguese, QLocale::Brazil);
    static const ClassificadorGrupos grupos(locale);
    // Kept across inputs: each load replaces the whole list.
    static ListaInicio rapida(locale, grupos), simples(locale, grupos);
    rapida.carregar(bytes.toByteArray());
    simples.definir(registros, codificacao);
    if (rapida.entradas() != simples.entradas())
        falha("the main window's list differs from the reader");
}

void conversor(QByteArrayView bytes)
{
    const QByteArray um = Conversao::converter(bytes.toByteArray());
    if (um.contains('"') || um.contains('\xA7'))
        falha("a quote or a section sign is left");
    if (!um.endsWith("\r\n"))
        falha("the file does not end in CR LF");
    for (qsizetype i = 0; i < um.size(); ++i) {
        if (um[i] == '\r' && (i + 1 >= um.size() || um[i + 1] != '\n'))
            falha("a line ends in a lone CR");
    }
    if (Conversao::converter(um) != um + "\r\n")
        falha("converting again did more than add an empty line");
}

} // namespace Verificacoes
