#pragma once

#include "store/formato_contatos.h"

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// Contact files like a lifetime of address books: Brazilian Portuguese
// names with accented capitals, names starting with digits, names in no
// tab, duplicates and empty fields; Windows-1252, as the writers leave it.
using namespace Qt::Literals::StringLiterals;

namespace Gerador {

inline QByteArray arquivo(int n, quint32 semente = 1234)
{
    static const QStringList nomes = {
        u"Ana"_s,     u"Álvaro"_s,   u"Ângela"_s,  u"Antônio"_s,  u"Beatriz"_s, u"Bruno"_s,
        u"Carla"_s,   u"Cecília"_s,  u"Çaiti"_s,   u"Daniel"_s,   u"Débora"_s,  u"Eduardo"_s,
        u"Élida"_s,   u"Érico"_s,    u"Fábio"_s,   u"Fernanda"_s, u"Gabriel"_s, u"Helena"_s,
        u"Igor"_s,    u"Ítalo"_s,    u"Júlia"_s,   u"João"_s,     u"Larissa"_s, u"Luís"_s,
        u"Marcelo"_s, u"Mônica"_s,   u"Natália"_s, u"Ñusta"_s,    u"Otávio"_s,  u"Órion"_s,
        u"Paula"_s,   u"Quitéria"_s, u"Rafael"_s,  u"Sofia"_s,    u"Tiago"_s,   u"Úrsula"_s,
        u"Vitor"_s,   u"Wagner"_s,   u"Xavier"_s,  u"Yasmin"_s,   u"Zeca"_s,    u"Øyvind"_s,
        u"Ýrr"_s,     u"Åsa"_s,
    };
    static const QStringList sobrenomes = {
        u"Silva"_s,  u"Santos"_s,  u"Oliveira"_s, u"Souza"_s,   u"Rodrigues"_s, u"Ferreira"_s,
        u"Alves"_s,  u"Pereira"_s, u"Lima"_s,     u"Gomes"_s,   u"Conceição"_s, u"Ribeiro"_s,
        u"Araújo"_s, u"Fé"_s,      u"Simões"_s,   u"Brandão"_s, u"Guimarães"_s, u"Magalhães"_s,
    };
    QRandomGenerator r(semente);
    QByteArray arquivo;
    arquivo.reserve(qsizetype(n) * 56);
    for (int i = 0; i < n; ++i) {
        QString nome;
        if (r.bounded(40) == 0)
            nome = u"%1 %2"_s.arg(r.bounded(10)).arg(sobrenomes[r.bounded(sobrenomes.size())]);
        else
            nome = nomes[r.bounded(nomes.size())] + u' ' +
                   sobrenomes[r.bounded(sobrenomes.size())] + u' ' +
                   sobrenomes[r.bounded(sobrenomes.size())] +
                   // a few exact duplicates, the rest told apart by a number
                   (r.bounded(50) == 0 ? QString() : u" %1"_s.arg(i));
        const QString fone = r.bounded(10) == 0 ? QString()
                                                : u"(%1) 9%2-%3"_s.arg(11 + r.bounded(88))
                                                      .arg(r.bounded(10000), 4, 10, QChar(u'0'))
                                                      .arg(r.bounded(10000), 4, 10, QChar(u'0'));
        const QString mail = r.bounded(8) == 0 ? QString() : u"contato%1@exemplo.com.br"_s.arg(i);
        FormatoContatos::anexarRegistro(arquivo, {nome, fone, mail}, Codificacao::Windows1252);
    }
    FormatoContatos::fecharArquivo(arquivo);
    return arquivo;
}

// Such a file of n contacts as "contatos.txt" in the folder: its path.
inline QString gravar(const QString &pasta, int n)
{
    const QString caminho = pasta + u"/contatos.txt"_s;
    QFile f(caminho);
    if (f.open(QIODevice::WriteOnly))
        f.write(arquivo(n));
    return caminho;
}

} // namespace Gerador
