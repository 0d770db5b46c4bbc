#include "store/formato_contatos.h"

#include "store/codificacoes.h"

#include <algorithm>

namespace FormatoContatos {

namespace {
constexpr char FIM_DE_LINHA[] = "\r\n";
}

QByteArrayView corpo(QByteArrayView arquivo, Codificacao c)
{
    return arquivo.sliced(Codificacoes::marca(c).size());
}

qsizetype maximoDeLinhas(QByteArrayView bytes)
{
    return std::count(bytes.begin(), bytes.end(), '\r') + 1;
}

QString aparar(QStringView texto)
{
    qsizetype ini = 0, fim = texto.size();
    while (ini < fim && texto[ini] == u' ')
        ++ini;
    while (fim > ini && texto[fim - 1] == u' ')
        --fim;
    return texto.sliced(ini, fim - ini).toString();
}

bool primeiroProibido(QStringView nome)
{
    static const QString proibidos = QStringLiteral(".,:;<>=()'+\\/@&*|{}-[]!?_ \"");
    return !nome.isEmpty() && proibidos.contains(nome.front());
}

QString chaveDoNome(const QLocale &locale, QStringView nome)
{
    return locale.toUpper(nome.toString().normalized(QString::NormalizationForm_C));
}

bool linhaEmBranco(QByteArrayView linha)
{
    for (const char c : linha) {
        if (c != ' ')
            return false;
    }
    return true;
}

Campos campos(QByteArrayView linha)
{
    const char *d = linha.data();
    const qsizetype n = linha.size();
    // Missing fields are empty, at the line's end.
    QByteArrayView partes[3] = {{d + n, 0}, {d + n, 0}, {d + n, 0}};
    qsizetype inicio = 0;
    for (int k = 0; k < 3; ++k) {
        const auto *sep =
            static_cast<const char *>(std::memchr(d + inicio, SEPARADOR_BYTE, size_t(n - inicio)));
        const qsizetype fim = sep ? sep - d : n;
        partes[k] = QByteArrayView(d + inicio, fim - inicio);
        if (!sep)
            break;
        inicio = fim + 1;
    }
    return {partes[0], partes[1], partes[2]};
}

ContactRecord registro(const Campos &f, Codificacao c)
{
    return {Codificacoes::decodificar(f.nome, c), Codificacoes::decodificar(f.telefone, c),
            Codificacoes::decodificar(f.email, c)};
}

QList<ContactRecord> lerRegistros(QByteArrayView arquivo)
{
    const Codificacao c = Codificacoes::detectar(arquivo);
    QList<ContactRecord> registros;
    paraCadaRegistro(corpo(arquivo, c), [&](const Campos &f) { registros.append(registro(f, c)); });
    return registros;
}

bool campoGravavel(QStringView texto, Codificacao c)
{
    for (const QChar q : texto) {
        const char16_t u = q.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0))
            return false;
    }
    return Codificacoes::podeCodificar(texto, c);
}

void anexarRegistro(QByteArray &destino, QByteArrayView nome, QByteArrayView telefone,
                    QByteArrayView email)
{
    destino.append(nome);
    destino.append(SEPARADOR_BYTE);
    destino.append(telefone);
    destino.append(SEPARADOR_BYTE);
    destino.append(email);
    destino.append(FIM_DE_LINHA);
}

void anexarRegistro(QByteArray &destino, const ContactRecord &r, Codificacao c)
{
    anexarLinha(destino, Codificacoes::codificar(linhaDoRegistro(r), c));
}

void anexarLinha(QByteArray &destino, QByteArrayView linha)
{
    destino.append(linha);
    destino.append(FIM_DE_LINHA);
}

void fecharArquivo(QByteArray &destino)
{
    destino.append(FIM_DE_LINHA);
    destino.append(FIM_DE_LINHA);
}

QByteArray arquivoVazio()
{
    QByteArray a;
    fecharArquivo(a);
    return a;
}

QString linhaDoRegistro(const ContactRecord &r)
{
    return r.Nome + SEPARADOR + r.Telefone + SEPARADOR + r.Email;
}

QByteArray semLinhasVazias(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + 2);
    paraCadaLinha(bytes, [&](QByteArrayView linha) {
        if (!linha.isEmpty())
            anexarLinha(out, linha);
    });
    return out;
}

QByteArray montarArquivo(const QStringList &linhas, Codificacao c)
{
    QByteArray out = Codificacoes::marca(c).toByteArray();
    for (const QString &l : linhas)
        anexarLinha(out, Codificacoes::codificar(l, c));
    fecharArquivo(out);
    return out;
}

} // namespace FormatoContatos
