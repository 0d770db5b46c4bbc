#pragma once

#include "operations/edicao_contatos.h"

#include <QString>
#include <QUrl>
#include <optional>

class ListaInicio;

// A telephone field read as people in Brazil write it: with or without +55,
// the long-distance 0 and a carrier's code, the area code in brackets or
// not, the ninth digit of a mobile or not, and text after the number
// ("ramal 45"). A number is Brazilian only when its written groups fit one:
// brackets hold the area code (alone, or after the 0 and a carrier's code),
// the number after it is in at most two groups ("9 8765-4321" aside), and
// only text follows; "(617) 555-1234" is no Brazilian number.
namespace TelefoneBrasileiro {

enum class Tipo {
    Celular,     // a Brazilian mobile, with its area code
    Fixo,        // a Brazilian landline, with its area code
    SemDdd,      // 8 or 9 digits, no area code: dialled only where it is local
    Servico,     // 0800, 4004, 3003, three-digit emergency numbers, ...
    Estrangeiro, // +country code other than Brazil's
    Outro,       // one number written in no Brazilian way: dialled as written
    Invalido,    // anything else
};

struct Numero {
    Tipo tipo = Tipo::Invalido;
    QString ddd;          // Celular, Fixo: the area code
    QString assinante;    // Celular, Fixo: 8 or 9 digits, a mobile's ninth included
    bool semNono = false; // a mobile written with 8 digits
    QString digitos;      // every digit of the number as written
    QString resto;        // what follows the number's last digit, as written
};

Numero ler(const QString &campo);

enum class Estilo {
    Nacional,      // "(11) 98765-4321"
    Internacional, // "+55 11 98765-4321"
};
// A Brazilian number written in the style, its text after it kept; nothing
// for every other kind, which stays as it is.
std::optional<QString> padronizado(const QString &campo, Estilo estilo);

// Every telephone of the list that the style would write otherwise, in the
// list's order.
QList<TrocaTelefone> propostas(const ListaInicio &lista, Estilo estilo);

// "tel:+5511987654321"; a number with no area code, a service number, or
// one written in no Brazilian way as it is written; nothing when it cannot
// be dialled.
std::optional<QUrl> ligar(const QString &campo);
// "https://wa.me/5511987654321": a number with its country code, Brazil's
// where none was written; nothing without an area code or for a service.
std::optional<QUrl> whatsapp(const QString &campo);

} // namespace TelefoneBrasileiro
