#include "operations/edicao_contatos.h"

#include "operations/mensagens.h"
#include "store/codificacoes.h"
#include "store/formato_contatos.h"

#include <QFileInfo>
#include <QSet>
#include <array>
#include <utility>

namespace {

constexpr qsizetype IMPORTAR_UM_A_UM = 16;

using FormatoContatos::chaveDoNome;

// Whether a list's names equal a name by chaveDoNome. Most names are told
// apart by their first letter alone, so the whole comparison runs only for
// those that share it (or whose first letter carries a combining mark).
class MesmoNome {
public:
    MesmoNome(const QLocale &locale, const QString &nome)
        : m_locale(locale), m_chave(chaveDoNome(locale, nome))
    {
        for (int c = 0; c < 256; ++c) {
            const QString u = locale.toUpper(QString(QChar(c)));
            m_primeira[size_t(c)] = u.isEmpty() ? 0 : u.front().unicode();
        }
    }

    bool operator()(QStringView nome) const
    {
        if (nome.isEmpty() || m_chave.isEmpty())
            return nome.isEmpty() && m_chave.isEmpty();
        const char16_t c = nome.front().unicode();
        const bool marcada = nome.size() > 1 && nome[1].isMark();
        if (c < 256 && !marcada && m_primeira[c] != m_chave.front().unicode())
            return false;
        return chaveDoNome(m_locale, nome) == m_chave;
    }

private:
    const QLocale &m_locale;
    QString m_chave;
    std::array<char16_t, 256> m_primeira;
};

} // namespace

bool EdicaoContatos::PrimeiroProibido(QStringView nome)
{
    return FormatoContatos::primeiroProibido(nome);
}

QString EdicaoContatos::aparar(QStringView texto)
{
    return FormatoContatos::aparar(texto);
}

ResultadoEdicao EdicaoContatos::adicionar(const QString &nome, const QString &fone,
                                          const QString &mail)
{
    using Campo = ResultadoEdicao::Campo;
    // The windows see the outcome once, not each step.
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    if (PrimeiroProibido(nome)) {
        r.avisos.append(Mensagens::PROIBIDO);
        r.campo = Campo::Nome;
        return r;
    }
    const ContactRecord novo{aparar(nome), aparar(fone), aparar(mail)};
    const auto relistar = [&] {
        m_modelo.RecarregarLista();
        m_modelo.relistarGrupo(GRUPO_AB);
        if (r.desfecho == ResultadoEdicao::Desfecho::Recusado)
            r.desfecho = ResultadoEdicao::Desfecho::Relistado;
        return r;
    };
    if (novo.Nome.isEmpty()) {
        r.avisos.append(Mensagens::VAZIO);
        r.campo = Campo::Nome;
        return relistar();
    }
    // The stored name is trimmed, so the comparison is too: "Ana " is "Ana".
    const MesmoNome mesmo(m_modelo.locale(), novo.Nome);
    const ListaInicio &lista = m_modelo.lstInicio();
    for (qsizetype i = 0; i < lista.count(); ++i) {
        if (mesmo(lista.nome(i))) {
            r.avisos.append(Mensagens::ESTE_EXISTE);
            r.limparNome = true;
            r.campo = Campo::Nome;
        }
    }
    if (r.limparNome)
        return relistar();
    // Appended to the file as it is now, in its encoding, its empty lines
    // dropped.
    const ArquivoContatos::Leitura atual = m_modelo.arquivo().lerBytes();
    const Codificacao cod = atual.estado == ArquivoContatos::Estado::Lido
                                ? Codificacoes::detectar(atual.bytes)
                                : m_modelo.lstInicio().codificacao();
    if (!GravacaoGuardada::gravaveis(r, novo, cod))
        return r;
    if (m_modelo.ultimaLeituraFalhou()) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return relistar();
    }
    if (atual.estado == ArquivoContatos::Estado::Falhou) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return r;
    }
    GravacaoGuardada::Pedido p;
    p.bytes = GravacaoGuardada::anexar(atual, cod, {novo});
    p.codificacao = cod;
    p.base = atual.assinatura();
    p.aviso = Mensagens::INSERIDO;
    // The list was read from this very file, so only the new record is new.
    p.baseIntacta = atual.assinatura() == m_modelo.assinaturaLida();
    p.naLista = [&](ListaInicio &l) { l.inserir(novo); };
    p.depois = GravacaoGuardada::Pedido::Depois::AbaAB;
    p.mudanca = MudancaContatos(MudancaContatos::Tipo::Inclusao, novo.Nome, cod);
    p.mudanca->depois.append(MudancaContatos::linha(novo, cod));
    return GravacaoGuardada(m_modelo).gravar(r, p);
}

ResultadoEdicao EdicaoContatos::importar(const QList<ContactRecord> &contatos,
                                         qsizetype jaIgnorados)
{
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    if (m_modelo.ultimaLeituraFalhou()) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return r;
    }
    const ArquivoContatos::Leitura atual = m_modelo.arquivo().lerBytes();
    if (atual.estado == ArquivoContatos::Estado::Falhou) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return r;
    }
    // Names are taken by what the file holds now, another program's
    // additions included.
    if (atual.assinatura() != m_modelo.assinaturaLida())
        m_modelo.RecarregarLista();
    const ListaInicio &lista = m_modelo.lstInicio();
    const Codificacao cod = atual.estado == ArquivoContatos::Estado::Lido
                                ? Codificacoes::detectar(atual.bytes)
                                : lista.codificacao();
    // The names taken, as the add compares them.
    const QLocale &loc = m_modelo.locale();
    QSet<QString> tomados;
    tomados.reserve(lista.count() + contatos.size());
    for (qsizetype i = 0; i < lista.count(); ++i)
        tomados.insert(chaveDoNome(loc, lista.nome(i)));
    QList<ContactRecord> aceitos;
    qsizetype ignorados = jaIgnorados;
    for (const ContactRecord &novo : contatos) {
        // The fields as the reader gave them: another program's layout
        // already trimmed, this program's own export exact. A name that no
        // tab could show would be imported out of the user's reach.
        const QString aparado = aparar(novo.Nome);
        const QString chave = chaveDoNome(loc, aparado);
        if (aparado.isEmpty() || PrimeiroProibido(novo.Nome) ||
            m_modelo.grupos().grupoDe(novo.Nome) < 0 || !GravacaoGuardada::gravaveis(novo, cod) ||
            tomados.contains(chave)) {
            ++ignorados;
            continue;
        }
        tomados.insert(chave);
        aceitos.append(novo);
    }
    const QString aviso = Mensagens::importados(aceitos.size(), ignorados);
    if (aceitos.isEmpty()) {
        r.avisos.append(aviso);
        m_modelo.relistarGrupo(GRUPO_AB);
        r.desfecho = ResultadoEdicao::Desfecho::Relistado;
        return r;
    }
    GravacaoGuardada::Pedido p;
    p.bytes = GravacaoGuardada::anexar(atual, cod, aceitos);
    p.codificacao = cod;
    p.base = atual.assinatura();
    p.aviso = aviso;
    // A few go into the sorted list one by one; many are sorted in anew.
    p.baseIntacta =
        atual.assinatura() == m_modelo.assinaturaLida() && aceitos.size() <= IMPORTAR_UM_A_UM;
    p.naLista = [&](ListaInicio &l) {
        for (const ContactRecord &a : aceitos)
            l.inserir(a);
    };
    p.depois = GravacaoGuardada::Pedido::Depois::AbaAB;
    p.mudanca = MudancaContatos(MudancaContatos::Tipo::Importacao, aceitos.front().Nome, cod);
    for (const ContactRecord &a : aceitos)
        p.mudanca->depois.append(MudancaContatos::linha(a, cod));
    return GravacaoGuardada(m_modelo).gravar(r, p);
}

ResultadoEdicao EdicaoContatos::atualizar(const QString &nomeOriginal, const QString &nome,
                                          const QString &fone, const QString &mail)
{
    using Campo = ResultadoEdicao::Campo;
    // The windows see the outcome once, not each step.
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    const QString aparado = aparar(nome);
    if (aparado.isEmpty()) {
        r.avisos.append(Mensagens::VAZIO);
        r.campo = Campo::Nome;
        return r;
    }
    if (PrimeiroProibido(nome)) {
        r.avisos.append(Mensagens::PROIBIDO);
        r.campo = Campo::Nome;
        return r;
    }
    // A name changed only in letter case or by surrounding spaces is never a
    // duplicate; otherwise any other contact of that name is.
    const QLocale &loc = m_modelo.locale();
    if (chaveDoNome(loc, aparado) != chaveDoNome(loc, nomeOriginal)) {
        const MesmoNome mesmo(loc, aparado);
        const ListaInicio &lista = m_modelo.lstInicio();
        for (qsizetype i = 0; i < lista.count(); ++i) {
            if (mesmo(lista.nome(i))) {
                r.avisos.append(Mensagens::ESSE_EXISTE);
                r.campo = Campo::Nome;
                return r;
            }
        }
    }
    // Written as typed, untrimmed.
    const ContactRecord novo{nome, fone, mail};
    if (!GravacaoGuardada::gravaveis(r, novo, m_modelo.lstInicio().codificacao(),
                                     guardados(nomeOriginal)))
        return r;
    GravacaoGuardada::Pedido p;
    p.aviso = Mensagens::ATUALIZADO;
    p.baseIntacta = true;
    p.naLista = [&](ListaInicio &l) { l.substituir(nomeOriginal, novo); };
    p.mudanca = MudancaContatos(MudancaContatos::Tipo::Atualizacao, novo.Nome,
                                m_modelo.lstInicio().codificacao());
    p.renomeacao = std::pair(nomeOriginal, novo.Nome);
    return reescrever(r, nomeOriginal, novo, p);
}

ResultadoEdicao EdicaoContatos::deletar(const QString &nome)
{
    // The windows see the outcome once, not each step.
    const ModeloPrincipal::Lote lote(m_modelo);
    GravacaoGuardada::Pedido p;
    p.aviso = Mensagens::DELETADO;
    p.baseIntacta = true;
    p.naLista = [&](ListaInicio &l) { l.remover(nome); };
    p.mudanca =
        MudancaContatos(MudancaContatos::Tipo::Exclusao, nome, m_modelo.lstInicio().codificacao());
    return reescrever({}, nome, std::nullopt, p);
}

ResultadoEdicao EdicaoContatos::reescrever(ResultadoEdicao r, const QString &nome,
                                           const std::optional<ContactRecord> &novo,
                                           GravacaoGuardada::Pedido p)
{
    GravacaoGuardada g(m_modelo);
    if (!g.daLista(r, {nome}))
        return r;
    using Troca = GravacaoGuardada::Troca;
    const ListaInicio &lista = m_modelo.lstInicio();
    const auto feita = g.reescrever([&](qsizetype i) {
        if (lista.nome(i) != nome)
            return Troca{};
        return novo ? Troca{Troca::Tipo::Trocar, *novo} : Troca{Troca::Tipo::Remover, {}};
    });
    p.bytes = feita.bytes;
    p.codificacao = lista.codificacao();
    p.base = m_modelo.assinaturaLida();
    p.mudanca->antes = feita.antes;
    p.mudanca->depois = feita.depois;
    return g.gravar(r, p);
}

QList<ContactRecord> EdicaoContatos::guardados(const QString &nome) const
{
    QList<ContactRecord> out;
    const ListaInicio &lista = m_modelo.lstInicio();
    for (qsizetype i = 0; i < lista.count(); ++i) {
        if (lista.nome(i) == nome)
            out.append(lista.registro(i));
    }
    return out;
}

ResultadoEdicao EdicaoContatos::trocarTelefones(const QList<TrocaTelefone> &trocas)
{
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    GravacaoGuardada g(m_modelo);
    if (trocas.isEmpty() || !g.daLista(r, {trocas.constFirst().nome}))
        return r;
    QHash<QString, QHash<QString, QString>> novos; // name -> telephone now -> new one
    for (const TrocaTelefone &t : trocas)
        novos[t.nome].insert(t.antes, t.depois);
    const ListaInicio &lista = m_modelo.lstInicio();
    const Codificacao cod = lista.codificacao();
    bool gravaveis = true;
    using Troca = GravacaoGuardada::Troca;
    const auto feita = g.reescrever([&](qsizetype i) {
        const auto porNome = novos.constFind(lista.nome(i).toString());
        // Null where the contact is not one to change.
        const QString novo =
            porNome == novos.cend() ? QString() : porNome->value(lista.telefone(i));
        if (novo.isNull())
            return Troca{};
        const ContactRecord antes = lista.registro(i);
        const ContactRecord depois{antes.Nome, novo, antes.Email};
        gravaveis = gravaveis && GravacaoGuardada::gravaveis(depois, cod, {antes});
        return Troca{Troca::Tipo::Trocar, depois};
    });
    if (!gravaveis) {
        r.avisos.append(Mensagens::INVALIDOS);
        return r;
    }
    if (feita.depois.isEmpty()) {
        r.avisos.append(Mensagens::NAO_EXISTE);
        return r;
    }
    GravacaoGuardada::Pedido p;
    p.bytes = feita.bytes;
    p.codificacao = cod;
    p.base = m_modelo.assinaturaLida();
    p.aviso = Mensagens::padronizados(feita.depois.size());
    p.mudanca = MudancaContatos(MudancaContatos::Tipo::Padronizacao, trocas.constFirst().nome, cod);
    p.mudanca->antes = feita.antes;
    p.mudanca->depois = feita.depois;
    return g.gravar(r, p);
}

ResultadoEdicao EdicaoContatos::juntar(const QStringList &nomes, const ContactRecord &mantido)
{
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    GravacaoGuardada g(m_modelo);
    if (!nomes.contains(mantido.Nome) || !g.daLista(r, nomes))
        return r;
    const ListaInicio &lista = m_modelo.lstInicio();
    const Codificacao cod = lista.codificacao();
    QList<ContactRecord> juntados;
    for (const QString &n : nomes)
        juntados += guardados(n);
    if (juntados.size() < 2 || !GravacaoGuardada::gravaveis(r, mantido, cod, juntados))
        return r;
    // The one kept takes the place of the first of them; the others go.
    const QSet<QString> deles(nomes.begin(), nomes.end());
    bool primeiro = true;
    using Troca = GravacaoGuardada::Troca;
    const auto feita = g.reescrever([&](qsizetype i) {
        if (!deles.contains(lista.nome(i).toString()))
            return Troca{};
        return std::exchange(primeiro, false) ? Troca{Troca::Tipo::Trocar, mantido}
                                              : Troca{Troca::Tipo::Remover, {}};
    });
    GravacaoGuardada::Pedido p;
    p.bytes = feita.bytes;
    p.codificacao = cod;
    p.base = m_modelo.assinaturaLida();
    p.aviso = Mensagens::juntados(feita.antes.size(), mantido.Nome);
    p.mudanca = MudancaContatos(MudancaContatos::Tipo::Juncao, mantido.Nome, cod);
    p.mudanca->antes = feita.antes;
    p.mudanca->depois = feita.depois;
    p.depois = GravacaoGuardada::Pedido::Depois::Contato;
    p.mostrar = mantido.Nome;
    p.juncao = p.mudanca->juncao(false);
    return g.gravar(r, p);
}

ResultadoEdicao EdicaoContatos::restaurar(const QString &caminhoVersao, const QString &quando)
{
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    const ArquivoContatos::Leitura versao =
        QFileInfo(caminhoVersao).size() > HistoricoVersoes::TAMANHO_MAXIMO
            ? ArquivoContatos::Leitura{}
            : ArquivoContatos(caminhoVersao).lerBytes();
    if (versao.estado != ArquivoContatos::Estado::Lido) {
        r.avisos.append(Mensagens::versaoNaoLida(quando));
        return r;
    }
    const ArquivoContatos::Leitura atual = m_modelo.arquivo().lerBytes();
    if (atual.estado == ArquivoContatos::Estado::Falhou) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return r;
    }
    if (atual.estado == ArquivoContatos::Estado::Lido && atual.bytes == versao.bytes) {
        r.avisos.append(Mensagens::VERSAO_IGUAL);
        return r;
    }
    // Its bytes, encoding and byte-order mark as they were kept.
    GravacaoGuardada::Pedido p;
    p.bytes = versao.bytes;
    p.comoEsta = true;
    p.base = atual.assinatura();
    p.aviso = Mensagens::restaurada(quando);
    p.mudanca = MudancaContatos::restauracao(atual.bytes, versao.bytes, quando);
    p.depois = GravacaoGuardada::Pedido::Depois::Contato;
    p.mostrar = p.mudanca->nome;
    return GravacaoGuardada(m_modelo).gravar(r, p);
}

ResultadoEdicao EdicaoContatos::aplicar(const MudancaContatos &mudanca, bool desfazer)
{
    const ModeloPrincipal::Lote lote(m_modelo);
    ResultadoEdicao r;
    const ArquivoContatos::Leitura atual = m_modelo.arquivo().lerBytes();
    if (atual.estado == ArquivoContatos::Estado::Falhou) {
        r.avisos.append(ModeloPrincipal::AVISO_FALHA_LEITURA);
        return r;
    }
    using Estado = MudancaContatos::Troca::Estado;
    const MudancaContatos::Troca t = mudanca.trocar(atual.bytes, m_modelo.locale(), desfazer);
    switch (t.estado) {
    case Estado::Pronta:
        break;
    case Estado::Mudou:
        r.avisos.append(Mensagens::naoDesfeita(t.contato, desfazer));
        return r;
    case Estado::Existe:
        r.avisos.append(Mensagens::jaExiste(t.contato, desfazer));
        return r;
    case Estado::Invalida:
        r.avisos.append(Mensagens::INVALIDOS);
        return r;
    }
    GravacaoGuardada::Pedido p;
    p.bytes = t.bytes;
    p.codificacao = Codificacoes::detectar(t.inteiro ? t.bytes : atual.bytes);
    p.base = atual.assinatura();
    p.aviso = Mensagens::desfeita(mudanca.descricao(), desfazer);
    p.depois = GravacaoGuardada::Pedido::Depois::Contato;
    p.mostrar = t.contato;
    p.renomeacao = mudanca.renomeacao(desfazer);
    p.juncao = mudanca.juncao(desfazer);
    return GravacaoGuardada(m_modelo).gravar(r, p);
}
