#include "foundation/password.h"

#include <sodium.h>
#include <atomic>
#include <stdexcept>

namespace fitrova {

namespace {
std::atomic<HashCost> g_cost{HashCost::Interactive};

void initSodium()
{
    static const bool ok = sodium_init() >= 0;
    if (!ok)
        throw std::runtime_error("libsodium could not be initialised");
}
} // namespace

bool isPasswordHash(const QString &stored)
{
    return stored.startsWith(QLatin1String("$argon2id$"));
}

void setPasswordHashCost(HashCost cost) { g_cost = cost; }

HashCost passwordHashCost() { return g_cost; }

QString hashPassword(const QString &plain)
{
    initSodium();
    const QByteArray pw = plain.toUtf8();
    const bool minimal = g_cost == HashCost::Minimal;
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, pw.constData(), static_cast<unsigned long long>(pw.size()),
                          minimal ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          minimal ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return QString::fromLatin1(out);
}

PasswordCheck verifyPassword(const QString &stored, const QString &typed)
{
    initSodium();
    if (isPasswordHash(stored)) {
        const QByteArray h = stored.toLatin1();
        const QByteArray pw = typed.toUtf8();
        return {crypto_pwhash_str_verify(h.constData(), pw.constData(), static_cast<unsigned long long>(pw.size())) == 0,
                false};
    }
    // Plain text from an older database: compared exactly, case included.
    const QByteArray a = stored.toUtf8(), b = typed.toUtf8();
    const bool same = a.size() == b.size() && sodium_memcmp(a.constData(), b.constData(), size_t(a.size())) == 0;
    return {same && !stored.isEmpty(), same && !stored.isEmpty()};
}

} // namespace fitrova
