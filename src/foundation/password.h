#pragma once
// Passwords are kept as Argon2id hashes. A password stored in plain text by an
// older database is still accepted, and the caller is told to rehash it.

#include <QString>

namespace fitrova {

QString hashPassword(const QString &plain);

struct PasswordCheck {
    bool ok = false;
    bool needsRehash = false; // the stored value was plain text
};

PasswordCheck verifyPassword(const QString &stored, const QString &typed);
bool isPasswordHash(const QString &stored);

} // namespace fitrova
