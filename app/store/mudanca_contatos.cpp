#include "store/mudanca_contatos.h"

#include "store/codificacoes.h"
#include "store/formato_contatos.h"

#include <QHash>
#include <QSet>

namespace {

bool utf8(Codificacao c)
{
    return c != Codificacao::Windows1252;
}

QString nomeDaLinha(QByteArrayView linha, Codificacao c)
{
    return Codificacoes::decodificar(FormatoContatos::campos(linha).nome, c);
}

// The line as a file in another encoding holds it; nothing when it cannot.
std::optional<QByteArray> recodificar(const QByteArray &linha, Codificacao de, Codificacao para)
{
    if (utf8(de) == utf8(para))
        return linha;
    const ContactRecord r = FormatoContatos::registroDaLinha(linha, de);
    for (const QString *campo : {&r.Nome, &r.Telefone, &r.Email}) {
        if (!Codificacoes::podeCodificar(*campo, para))
            return std::nullopt;
    }
    return MudancaContatos::linha(r, para);
}

// The non-empty lines of a file's bytes.
QList<QByteArray> linhas(const QByteArray &arquivo, Codificacao c)
{
    QList<QByteArray> out;
    FormatoContatos::paraCadaLinha(FormatoContatos::corpo(arquivo, c), [&](QByteArrayView l) {
        if (!FormatoContatos::linhaEmBranco(l))
            out.append(l.toByteArray());
    });
    return out;
}

// The lines of a that b lacks, each as often as it is missing.
QList<QByteArray> menos(const QList<QByteArray> &a, const QList<QByteArray> &b)
{
    QHash<QByteArray, qsizetype> contagem;
    for (const QByteArray &l : b)
        ++contagem[l];
    QList<QByteArray> out;
    for (const QByteArray &l : a) {
        auto it = contagem.find(l);
        if (it != contagem.end() && *it > 0)
            --*it;
        else
            out.append(l);
    }
    return out;
}

} // namespace

QByteArray MudancaContatos::linha(const ContactRecord &r, Codificacao c)
{
    QByteArray out;
    FormatoContatos::anexarRegistro(out, r, c);
    out.chop(2);
    return out;
}

MudancaContatos MudancaContatos::restauracao(const QByteArray &antes, const QByteArray &depois,
                                             const QString &versao)
{
    MudancaContatos m;
    m.tipo = Tipo::Restauracao;
    m.versao = versao;
    m.arquivoAntes = antes;
    m.arquivoDepois = depois;
    const Codificacao ca = Codificacoes::detectar(antes), cd = Codificacoes::detectar(depois);
    m.codificacao = cd;
    if (utf8(ca) == utf8(cd)) {
        const QList<QByteArray> la = linhas(antes, ca), ld = linhas(depois, cd);
        m.antes = menos(la, ld);
        m.depois = menos(ld, la);
        if (!m.depois.isEmpty())
            m.nome = nomeDaLinha(m.depois.front(), cd);
        else if (!m.antes.isEmpty())
            m.nome = nomeDaLinha(m.antes.front(), cd);
    }
    return m;
}

std::optional<std::pair<QString, QString>> MudancaContatos::renomeacao(bool desfazer) const
{
    if (tipo != Tipo::Atualizacao || antes.isEmpty() || depois.isEmpty())
        return std::nullopt;
    const QString a = FormatoContatos::registroDaLinha(antes.front(), codificacao).Nome;
    const QString d = FormatoContatos::registroDaLinha(depois.front(), codificacao).Nome;
    if (a == d)
        return std::nullopt;
    return desfazer ? std::pair(d, a) : std::pair(a, d);
}

std::optional<std::pair<QString, QStringList>> MudancaContatos::juncao(bool desfazer) const
{
    if (tipo != Tipo::Juncao || desfazer || depois.isEmpty())
        return std::nullopt;
    const QString mantido = nomeDaLinha(depois.front(), codificacao);
    QStringList outros;
    for (const QByteArray &l : antes) {
        const QString n = nomeDaLinha(l, codificacao);
        if (n != mantido && !outros.contains(n))
            outros.append(n);
    }
    return std::pair(mantido, outros);
}

QString MudancaContatos::descricao() const
{
    switch (tipo) {
    case Tipo::Inclusao:
        return QStringLiteral("inclusão de %1").arg(nome);
    case Tipo::Atualizacao:
        return QStringLiteral("atualização de %1").arg(nome);
    case Tipo::Exclusao:
        return QStringLiteral("exclusão de %1").arg(nome);
    case Tipo::Importacao:
        return depois.size() == 1 ? QStringLiteral("importação de 1 contato")
                                  : QStringLiteral("importação de %1 contatos").arg(depois.size());
    case Tipo::Restauracao:
        return QStringLiteral("restauração da versão de %1").arg(versao);
    case Tipo::Padronizacao:
        return depois.size() == 1
                   ? QStringLiteral("padronização de 1 telefone")
                   : QStringLiteral("padronização de %1 telefones").arg(depois.size());
    case Tipo::Juncao:
        return QStringLiteral("junção de %1 contatos em %2").arg(antes.size()).arg(nome);
    }
    return {};
}

qsizetype MudancaContatos::custo() const
{
    qsizetype n = arquivoAntes.size() + arquivoDepois.size() + nome.size() * 2;
    for (const auto *lista : {&antes, &depois}) {
        for (const QByteArray &l : *lista)
            n += l.size() + 32;
    }
    return n;
}

MudancaContatos::Troca MudancaContatos::trocar(const QByteArray &arquivo, const QLocale &locale,
                                               bool desfazer) const
{
    using Estado = Troca::Estado;
    Troca t;
    // The very file the restore left (or replaced) goes back whole.
    if (tipo == Tipo::Restauracao && arquivo == (desfazer ? arquivoDepois : arquivoAntes)) {
        t.bytes = desfazer ? arquivoAntes : arquivoDepois;
        t.inteiro = true;
        t.contato = nome;
        return t;
    }
    const Codificacao cod = Codificacoes::detectar(arquivo);
    if (tipo == Tipo::Restauracao &&
        utf8(Codificacoes::detectar(arquivoAntes)) != utf8(Codificacoes::detectar(arquivoDepois))) {
        // Another encoding on each side: line by line is no way back.
        t.estado = Estado::Mudou;
        t.contato = nome;
        return t;
    }
    QList<QByteArray> tirar, por;
    for (const auto &[de, para] : {std::pair{desfazer ? &depois : &antes, &tirar},
                                   std::pair{desfazer ? &antes : &depois, &por}}) {
        for (const QByteArray &l : *de) {
            const auto r = recodificar(l, codificacao, cod);
            if (!r) {
                t.estado = Estado::Invalida;
                t.contato = nomeDaLinha(l, codificacao);
                return t;
            }
            para->append(*r);
        }
    }
    // Which of the file's lines are the change's own, each taken once.
    QHash<QByteArray, QList<qsizetype>> aTirar;
    for (qsizetype i = tirar.size() - 1; i >= 0; --i)
        aTirar[tirar[i]].append(i);
    QList<QByteArrayView> mantidas;
    QList<std::pair<qsizetype, qsizetype>> lugares; // (line kept before it, tirar index)
    const QByteArrayView corpo = FormatoContatos::corpo(arquivo, cod);
    FormatoContatos::paraCadaLinha(corpo, [&](QByteArrayView l) {
        if (FormatoContatos::linhaEmBranco(l))
            return;
        if (!aTirar.isEmpty()) {
            auto it = aTirar.find(l.toByteArray());
            if (it != aTirar.end()) {
                lugares.append({mantidas.size(), it->takeLast()});
                if (it->isEmpty())
                    aTirar.erase(it);
                return;
            }
        }
        mantidas.append(l);
    });
    if (!aTirar.isEmpty()) {
        t.estado = Estado::Mudou;
        t.contato = nomeDaLinha(tirar[aTirar.begin()->front()], cod);
        return t;
    }
    // Nothing comes back beside another contact of its name.
    if (!por.isEmpty()) {
        QHash<QString, QString> chaves;
        for (const QByteArray &l : por) {
            const QString n = nomeDaLinha(l, cod);
            chaves.insert(FormatoContatos::chaveDoNome(locale, FormatoContatos::aparar(n)), n);
        }
        QSet<QString> tiradas;
        for (const QByteArray &l : tirar)
            tiradas.insert(
                FormatoContatos::chaveDoNome(locale, FormatoContatos::aparar(nomeDaLinha(l, cod))));
        for (const QByteArrayView l : mantidas) {
            const QString k =
                FormatoContatos::chaveDoNome(locale, FormatoContatos::aparar(nomeDaLinha(l, cod)));
            if (chaves.contains(k) && !tiradas.contains(k)) {
                t.estado = Estado::Existe;
                t.contato = chaves.value(k);
                return t;
            }
        }
    }
    // An update's lines go back where they stand; others at the end.
    const bool noLugar = tirar.size() == por.size();
    QByteArray &out = t.bytes;
    out = Codificacoes::marca(cod).toByteArray();
    out.reserve(arquivo.size() + 64 * por.size() + 8);
    qsizetype proximo = 0;
    for (qsizetype i = 0; i <= mantidas.size(); ++i) {
        for (; proximo < lugares.size() && lugares[proximo].first == i; ++proximo) {
            if (noLugar)
                FormatoContatos::anexarLinha(out, por[lugares[proximo].second]);
        }
        if (i < mantidas.size())
            FormatoContatos::anexarLinha(out, mantidas[i]);
    }
    if (!noLugar) {
        for (const QByteArray &l : por)
            FormatoContatos::anexarLinha(out, l);
    }
    FormatoContatos::fecharArquivo(out);
    if (!por.isEmpty())
        t.contato = nomeDaLinha(por.front(), cod);
    else if (!tirar.isEmpty())
        t.contato = nomeDaLinha(tirar.front(), cod);
    return t;
}
