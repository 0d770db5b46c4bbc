#include "operations/email_contato.h"

namespace EmailContato {

std::optional<QUrl> escrever(const QString &email)
{
    const QString e = email.trimmed();
    const qsizetype arroba = e.lastIndexOf(u'@');
    if (arroba <= 0 || arroba == e.size() - 1)
        return std::nullopt;
    for (const QChar c : e) {
        if (c.isSpace() || c.category() == QChar::Other_Control)
            return std::nullopt;
    }
    QUrl u;
    u.setScheme(QStringLiteral("mailto"));
    u.setPath(e, QUrl::DecodedMode);
    if (!u.isValid())
        return std::nullopt;
    return u;
}

} // namespace EmailContato
