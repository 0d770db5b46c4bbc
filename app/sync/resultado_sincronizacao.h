#pragma once

#include "sync/protecao_apagar.h"

#include <QString>

// What one sync came to, for the window to show.
struct ResultadoSincronizacao {
    enum class Falha {
        Nenhuma,
        Inseguro,    // plain HTTP to another machine: nothing was sent
        SemConexao,  // no connection, or it was cut, or no answer in time
        Certificado, // the server's certificate was refused
        Endereco,    // nothing there, or no address book
        Senha,       // wrong user or password, or no permission
        Servidor,    // an error of the server, or an answer that makes no sense
        Leitura,     // contatos.txt is missing or could not be read: nothing was sent
        Arquivo,     // contatos.txt could not be written
        Confirmar,   // it would delete what the user must confirm: nothing was written
    };
    Falha falha = Falha::Nenhuma;
    QString detalhe;      // the server's own words, where it gave any
    int recebidos = 0;    // contacts added or changed here
    int enviados = 0;     // cards added or changed there
    int apagadosAqui = 0; // contacts deleted here
    int apagadosLa = 0;   // cards deleted there
    int conflitos = 0;    // fields changed on both sides, merged
    int deixados = 0;     // cards the contact file cannot hold, left as they are
    int naoLidos = 0;     // cards listed but not delivered: they wait for the next sync
    int pedidos = 0;      // requests sent
    // Confirmar: what it would have deleted on each side, of how many.
    using Vazio = ProtecaoApagar::Vazio;
    ProtecaoApagar::Pergunta pergunta;
    QString livro; // the address book's name, once found
    bool ok() const { return falha == Falha::Nenhuma; }
};
