#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

// The sync's password in the system's keychain: the Secret Service (GNOME
// Keyring, KWallet) through QtKeychain elsewhere, the Credential Manager on
// Windows. Answers come later, through the event loop, as the keychains
// answer.
class CofreSenhas : public QObject {
    Q_OBJECT
public:
    static constexpr const char *SERVICO = "Marvessa Fonelo";

    enum class Leitura {
        Lida,    // the password is there
        Ausente, // the keychain answered: there is none
        SemCofre // no keychain answered
    };

    explicit CofreSenhas(QObject *parent = nullptr);

    // chave names whose password it is.
    virtual void ler(const QString &chave,
                     std::function<void(Leitura, const QString &senha)> pronto);
    // False when no keychain took it.
    virtual void gravar(const QString &chave, const QString &senha,
                        std::function<void(bool)> pronto);
    virtual void apagar(const QString &chave);
};
