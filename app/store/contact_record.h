#pragma once

#include <QString>

// One contact. A contact has no identifier other than its name.
struct ContactRecord {
    QString Nome;
    QString Telefone;
    QString Email;

    friend bool operator==(const ContactRecord &, const ContactRecord &) = default;
};
