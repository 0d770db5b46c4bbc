#include "contact_format.h"

namespace FormatoContatos {

QList<QStringView> dividirLinhas(QStringView texto)
{
    QList<QStringView> linhas;
    const qsizetype n = texto.size();
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (texto[i] != u'\r')
            continue;
        linhas.append(texto.sliced(inicio, i - inicio));
        if (i + 1 < n && texto[i + 1] == u'\n')
            ++i;
        inicio = i + 1;
    }
    if (inicio < n)
        linhas.append(texto.sliced(inicio));
    return linhas;
}

bool linhaEmBranco(QStringView linha)
{
    for (const QChar c : linha) {
        if (c != u' ')
            return false;
    }
    return true;
}

ContactRecord registroDaLinha(QStringView linha)
{
    QStringView campos[3];
    qsizetype inicio = 0;
    for (int k = 0; k < 3; ++k) {
        const qsizetype fim = linha.indexOf(SEPARADOR, inicio);
        if (fim < 0) {
            campos[k] = linha.sliced(inicio);
            break;
        }
        campos[k] = linha.sliced(inicio, fim - inicio);
        inicio = fim + 1;
    }
    return {campos[0].toString(), campos[1].toString(), campos[2].toString()};
}

QList<ContactRecord> lerRegistros(QByteArrayView bytes)
{
    const Codificacao c = Codificacoes::detectar(bytes);
    const QString texto = Codificacoes::decodificar(bytes.sliced(Codificacoes::marca(c).size()), c);
    QList<ContactRecord> registros;
    for (const QStringView linha : dividirLinhas(texto)) {
        if (!linhaEmBranco(linha))
            registros.append(registroDaLinha(linha));
    }
    return registros;
}

QString linhaDoRegistro(const ContactRecord &r)
{
    return r.Nome + SEPARADOR + r.Telefone + SEPARADOR + r.Email;
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

QByteArray semLinhasVazias(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + 2);
    const qsizetype n = bytes.size();
    qsizetype inicio = 0;
    const auto fechar = [&](qsizetype fim) {
        if (fim > inicio) {
            out.append(bytes.sliced(inicio, fim - inicio));
            out.append("\r\n", 2);
        }
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (bytes[i] != '\r')
            continue;
        fechar(i);
        if (i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        inicio = i + 1;
    }
    fechar(n);
    return out;
}

QByteArray montarArquivo(const QStringList &linhas, Codificacao c)
{
    QString texto;
    qsizetype tamanho = 4;
    for (const QString &l : linhas)
        tamanho += l.size() + 2;
    texto.reserve(tamanho);
    for (const QString &l : linhas) {
        texto += l;
        texto += QLatin1String(FIM_DE_LINHA);
    }
    texto += QLatin1String("\r\n\r\n");
    return Codificacoes::marca(c).toByteArray() + Codificacoes::codificar(texto, c);
}

} // namespace FormatoContatos
