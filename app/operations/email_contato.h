#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace EmailContato {

// "mailto:ana@x.com" for the mail program; nothing for a field that is no
// address (no @ between two parts, or a space in it). What would read as
// the link's own fields ("?cc=", "&body=") stays part of the address.
std::optional<QUrl> escrever(const QString &email);

} // namespace EmailContato
