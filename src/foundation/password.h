#pragma once
// Passwords are kept as Argon2id hashes. A password stored in plain text by an
// older database is still accepted, and the caller is told to rehash it.

#include <QString>

namespace fitrova {

QString hashPassword(const QString &plain);

// The cost of new hashes: libsodium's interactive limits, or the lowest
// limits it accepts. Only the test programs choose Minimal, so that every
// installation they make is cheap. A stored hash carries its parameters, so
// verifying is the same whichever cost made it.
enum class HashCost { Interactive, Minimal };
void setPasswordHashCost(HashCost cost);
HashCost passwordHashCost();

struct PasswordCheck {
    bool ok = false;
    bool needsRehash = false; // the stored value was plain text
};

PasswordCheck verifyPassword(const QString &stored, const QString &typed);
bool isPasswordHash(const QString &stored);

} // namespace fitrova
