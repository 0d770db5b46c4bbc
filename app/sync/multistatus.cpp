#include "sync/multistatus.h"

#include <QXmlStreamReader>

namespace Multistatus {

QString chave(QStringView ns, QStringView nome)
{
    QString k = ns.toString();
    k += u'|';
    k += nome;
    return k;
}

const Propriedade *Resposta::propriedade(QStringView ns, QStringView nome) const
{
    const auto it = propriedades.constFind(chave(ns, nome));
    return it == propriedades.cend() ? nullptr : &*it;
}

int codigo(QStringView linha)
{
    const QList<QStringView> partes = linha.trimmed().split(u' ', Qt::SkipEmptyParts);
    if (partes.size() < 2)
        return 0;
    bool ok = false;
    const int c = partes[1].toInt(&ok);
    return ok && c >= 100 && c < 600 ? c : 0;
}

namespace {

class Leitor {
public:
    explicit Leitor(const QByteArray &xml) : m_xml(xml) {}

    std::optional<Leitura> ler()
    {
        if (!proximoElemento() || !eh(DAV, u"multistatus"))
            return std::nullopt;
        while (proximoFilho()) {
            if (eh(DAV, u"response")) {
                if (m_l.respostas.size() >= RESPOSTAS || !resposta())
                    return std::nullopt;
            } else if (eh(DAV, u"sync-token")) {
                m_l.syncToken = texto().trimmed();
            } else {
                pular();
            }
            if (falhou())
                return std::nullopt;
        }
        if (falhou())
            return std::nullopt;
        return std::move(m_l);
    }

private:
    bool falhou() const { return m_xml.hasError() || m_fundo; }

    bool eh(QStringView ns, QStringView nome) const
    {
        return m_xml.namespaceUri() == ns && m_xml.name() == nome;
    }

    // The next start element of the document; false at its end, at an error
    // or at a DTD.
    bool proximoElemento()
    {
        while (!m_xml.atEnd()) {
            const auto t = m_xml.readNext();
            if (t == QXmlStreamReader::DTD || t == QXmlStreamReader::EntityReference)
                return false;
            if (t == QXmlStreamReader::StartElement)
                return profundo();
        }
        return false;
    }

    void pular()
    {
        m_xml.skipCurrentElement();
        --m_profundidade;
    }

    bool profundo()
    {
        if (++m_profundidade > PROFUNDIDADE)
            m_fundo = true;
        return !m_fundo;
    }

    // The next child of the element the reader is in; false at its end.
    bool proximoFilho()
    {
        while (!m_xml.atEnd()) {
            const auto t = m_xml.readNext();
            if (t == QXmlStreamReader::DTD || t == QXmlStreamReader::EntityReference) {
                m_fundo = true;
                return false;
            }
            if (t == QXmlStreamReader::StartElement)
                return profundo();
            if (t == QXmlStreamReader::EndElement) {
                --m_profundidade;
                return false;
            }
        }
        return false;
    }

    // The text of the element the reader is in, its children's included;
    // the reader ends on its end.
    QString texto()
    {
        QString t;
        const int nivel = m_profundidade;
        while (!m_xml.atEnd() && !falhou()) {
            const auto tipo = m_xml.readNext();
            if (tipo == QXmlStreamReader::Characters)
                t += m_xml.text();
            else if (tipo == QXmlStreamReader::StartElement)
                profundo();
            else if (tipo == QXmlStreamReader::EndElement && --m_profundidade < nivel)
                break;
            else if (tipo == QXmlStreamReader::DTD || tipo == QXmlStreamReader::EntityReference)
                m_fundo = true;
        }
        return t;
    }

    bool resposta()
    {
        Resposta r;
        while (proximoFilho()) {
            if (eh(DAV, u"href")) {
                r.hrefs.append(texto().trimmed());
            } else if (eh(DAV, u"status")) {
                r.status = codigo(texto());
            } else if (eh(DAV, u"propstat")) {
                propstat(r);
            } else {
                pular();
            }
            if (falhou())
                return false;
        }
        m_l.respostas.append(std::move(r));
        return !falhou();
    }

    void propstat(Resposta &r)
    {
        QHash<QString, Propriedade> props;
        int status = 0;
        while (proximoFilho()) {
            if (eh(DAV, u"prop")) {
                while (proximoFilho()) {
                    const QString k = chave(m_xml.namespaceUri(), m_xml.name());
                    props.insert(k, propriedade());
                    if (falhou())
                        return;
                }
            } else if (eh(DAV, u"status")) {
                status = codigo(texto());
            } else {
                pular();
            }
            if (falhou())
                return;
        }
        if (status >= 200 && status < 300)
            r.propriedades.insert(props);
    }

    Propriedade propriedade()
    {
        Propriedade p;
        const int nivel = m_profundidade;
        bool emHref = false;
        while (!m_xml.atEnd() && !falhou()) {
            const auto tipo = m_xml.readNext();
            if (tipo == QXmlStreamReader::Characters) {
                if (emHref)
                    p.hrefs.last() += m_xml.text();
                else if (m_profundidade == nivel)
                    p.texto += m_xml.text();
            } else if (tipo == QXmlStreamReader::StartElement) {
                profundo();
                if (m_profundidade == nivel + 1)
                    p.filhos.append(chave(m_xml.namespaceUri(), m_xml.name()));
                emHref = m_xml.namespaceUri() == DAV && m_xml.name() == u"href";
                if (emHref)
                    p.hrefs.append(QString());
            } else if (tipo == QXmlStreamReader::EndElement) {
                emHref = false;
                if (--m_profundidade < nivel)
                    break;
            } else if (tipo == QXmlStreamReader::DTD || tipo == QXmlStreamReader::EntityReference) {
                m_fundo = true;
            }
        }
        for (QString &h : p.hrefs)
            h = h.trimmed();
        return p;
    }

    QXmlStreamReader m_xml;
    Leitura m_l;
    int m_profundidade = 0;
    bool m_fundo = false; // too deep, or a DTD or entity
};

} // namespace

std::optional<Leitura> ler(const QByteArray &xml)
{
    return Leitor(xml).ler();
}

} // namespace Multistatus
