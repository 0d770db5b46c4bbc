#pragma once

#include "store/contact_record.h"
#include "store/historico_versoes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// "contatos.txt" on disk: reading it whole, creating it when missing, and
// rewriting it atomically.
class ArquivoContatos {
public:
    enum class Estado {
        Lido,    // read completely
        Ausente, // no file of that name
        Falhou,  // exists but could not be read (a folder, no permission, I/O error)
    };

    // What one read saw: enough to tell later whether the file has changed.
    struct Assinatura {
        Estado estado = Estado::Ausente;
        qint64 tamanho = 0;
        size_t hash = 0;
        friend bool operator==(const Assinatura &, const Assinatura &) = default;
    };

    struct Leitura {
        Estado estado = Estado::Ausente;
        QByteArray bytes;
        Assinatura assinatura() const;
    };

    struct Registros {
        Estado estado = Estado::Ausente;
        QList<ContactRecord> registros;
        Assinatura assinatura;
        bool ok() const { return estado != Estado::Falhou; }
    };

    static constexpr const char *NOME = "contatos.txt";

    explicit ArquivoContatos(QString caminho);

    // The file beside the running program.
    static QString caminhoPadrao();
    // The file in a given folder.
    static QString caminhoNaPasta(const QString &pasta);

    const QString &caminho() const { return m_caminho; }

    Leitura lerBytes() const;

    // Every record of the file; a missing file gives none.
    Registros LerContatos() const;

    // Creates the file as two empty lines when there is none; an existing file
    // is never touched. False when it was missing and could not be created.
    bool CriarArquivoSeAusente() const;

    // Replaces the whole content through a temporary file, so that a failed
    // write leaves the old file intact.
    bool gravar(const QByteArray &conteudo) const;

    enum class Gravacao {
        Gravado,
        Alterado, // the file is no longer what was read: nothing written
        Falhou,   // could not be written: the old file is intact
    };
    // The one write of a rewrite made from what was read: refused when
    // another program (or another copy) changed the file since, whose change
    // would otherwise be lost. The content it replaces is kept as a version
    // first (HistoricoVersoes); a version that cannot be kept never stops it.
    Gravacao gravarSeInalterado(const Assinatura &lida, const QByteArray &conteudo) const;
    // The clock that names the versions and the limits that prune them;
    // tests set their own.
    void setHistorico(std::function<QDateTime()> relogio, const HistoricoVersoes::Limites &limites)
    {
        m_relogio = std::move(relogio);
        m_limites = limites;
    }
    // Other files the program keeps (the sync's state, the settings where
    // they are a file): with the contact file and its versions, never
    // written over by what goes out of the program.
    void setArquivosDoPrograma(QStringList caminhos) { m_doPrograma = std::move(caminhos); }
    const QStringList &arquivosDoPrograma() const { return m_doPrograma; }
    // The last write went on without keeping a version.
    bool semVersao() const { return m_semVersao; }
    // True once, after the first such write: the user is told once.
    bool avisarSemVersao() const { return m_semVersao && !std::exchange(m_avisadoSemVersao, true); }

private:
    QString m_caminho;
    mutable bool m_semVersao = false;
    mutable bool m_avisadoSemVersao = false;
    std::function<QDateTime()> m_relogio;
    HistoricoVersoes::Limites m_limites;
    QStringList m_doPrograma;
};
