#pragma once

#include "chrome/dialogo_deslizante.h"
#include "dialogs/avisos.h"
#include "helpers.h"
#include "main_window/arquivos_contatos.h"
#include "main_window/comandos_principal.h"
#include "main_window/dialogos_principal.h"
#include "main_window/kv_principal.h"
#include "main_window/vista_lista.h"
#include "operations/cofre_senhas.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace Teste {

// Records every notice instead of waiting for it.
class AvisosGravados : public Avisos {
public:
    void MostrarAviso(QWidget *, const QString &texto) override
    {
        if (aoMostrar)
            aoMostrar(texto);
        textos.append(texto);
    }
    QStringList textos;
    std::function<void(const QString &)> aoMostrar;
};

// A keychain that does not answer, as where there is none: the sync's
// password stays in memory, and no test reaches the system's own.
class CofreAusente : public CofreSenhas {
public:
    void ler(const QString &, std::function<void(Leitura, const QString &)> pronto) override
    {
        QTimer::singleShot(0, this, [pronto] { pronto(Leitura::SemCofre, {}); });
    }
    void gravar(const QString &, const QString &, std::function<void(bool)> pronto) override
    {
        QTimer::singleShot(0, this, [pronto] { pronto(false); });
    }
    void apagar(const QString &) override {}
};

// A keychain kept in the test's memory, shared by the windows it opens one
// after another, as the system's keeps a password between runs.
class CofreNaMemoria : public CofreSenhas {
public:
    explicit CofreNaMemoria(std::shared_ptr<QHash<QString, QString>> senhas)
        : m_senhas(std::move(senhas))
    {
    }
    void ler(const QString &chave, std::function<void(Leitura, const QString &)> pronto) override
    {
        const auto senha = m_senhas->constFind(chave);
        const bool achada = senha != m_senhas->cend();
        QTimer::singleShot(0, this, [pronto, achada, s = achada ? *senha : QString()] {
            pronto(achada ? Leitura::Lida : Leitura::Ausente, s);
        });
    }
    void gravar(const QString &chave, const QString &senha,
                std::function<void(bool)> pronto) override
    {
        m_senhas->insert(chave, senha);
        QTimer::singleShot(0, this, [pronto] { pronto(true); });
    }
    void apagar(const QString &chave) override { m_senhas->remove(chave); }

private:
    std::shared_ptr<QHash<QString, QString>> m_senhas;
};

// Runs passo on the modal dialog of type D, once it has slid open, every
// 20 ms until it says it is done; the dialog itself is opened by the caller.
template <typename D> class Passos : public QObject {
public:
    explicit Passos(std::function<bool(D *)> passo) : m_passo(std::move(passo))
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *d = qobject_cast<D *>(QApplication::activeModalWidget());
            if (d && !d->deslizamento().abrindo() && !d->deslizamento().fechando() && m_passo(d))
                m_timer.stop();
        });
        m_timer.start();
    }
    bool feito() const { return !m_timer.isActive(); }

private:
    std::function<bool(D *)> m_passo;
    QTimer m_timer;
};

// Typed key by key, whatever the characters.
inline void digitar(QWidget *w, const QString &texto)
{
    for (const QChar c : texto)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// An action the menu shows, by its objectName.
inline QAction *acaoDoMenu(const QMenu *menu, const QString &nome)
{
    for (QAction *a : menu->actions()) {
        if (a->objectName() == nome)
            return a;
    }
    return nullptr;
}

// Calls back with every object an event of the type reaches while it lives.
class AoEvento : public QObject {
public:
    AoEvento(QEvent::Type tipo, std::function<void(QObject *)> f) : m_tipo(tipo), m_f(std::move(f))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == m_tipo)
            m_f(o);
        return false;
    }

private:
    QEvent::Type m_tipo;
    std::function<void(QObject *)> m_f;
};

// A main window over a contact file in a temporary folder.
struct Principal {
    // abrirJa false: set the folder up first, then call abrir().
    explicit Principal(const QByteArray *conteudo = nullptr, bool abrirJa = true)
    {
        caminho = ArquivoContatos::caminhoNaPasta(dir.path());
        if (conteudo)
            gravar(caminho, *conteudo);
        if (abrirJa)
            abrir();
    }

    QString ini() const { return dir.filePath(QStringLiteral("config.ini")); }

    void abrir()
    {
        OpcoesPrincipal o;
        o.caminhoArquivo = caminho;
        o.locale = ptBR();
        o.avisos = &avisos;
        o.hoje = [] { return QDate(2026, 12, 6); };
        o.arquivoConfiguracoes = ini();
        if (!abridorReal)
            o.abrirEndereco = [this](const QUrl &u) { enderecos.append(u); };
        o.cofre = [this]() -> std::unique_ptr<CofreSenhas> {
            if (senhas)
                return std::make_unique<CofreNaMemoria>(senhas);
            return std::make_unique<CofreAusente>();
        };
        o.agora = agora;
        o.limitesVersoes = limites;
        o.progressoImpressaoMs = progressoImpressaoMs;
        if (!dialogosReais) {
            o.escolherImportacao = [this] { return importar; };
            o.escolherExportacao = [this](ContatosExternos::Formato &f) {
                f = formatoExportar;
                return exportar;
            };
            o.escolherPdf = [this] { return pdf; };
        }
        janela = std::make_unique<KV_Principal>(std::move(o));
    }

    template <typename T = QWidget> T *filho(const QString &nome) const
    {
        return janela->findChild<T *>(nome);
    }

    QTemporaryDir dir;
    QString caminho;
    AvisosGravados avisos;
    QList<QUrl> enderecos;
    // The desktop's own opener for links instead of enderecos.
    bool abridorReal = false;
    // The platform's file dialogs, or these answers of theirs.
    bool dialogosReais = false;
    QStringList importar;
    QString exportar;
    QString pdf; // where the list to print is saved
    int progressoImpressaoMs = 500;
    ContatosExternos::Formato formatoExportar = ContatosExternos::Formato::VCard;
    // A keychain that keeps the sync's password between the windows opened;
    // none: no keychain answers.
    std::shared_ptr<QHash<QString, QString>> senhas;
    // The clock and limits of the file's earlier versions.
    std::function<QDateTime()> agora;
    HistoricoVersoes::Limites limites;
    std::unique_ptr<KV_Principal> janela;
};

} // namespace Teste
