// Linked into every test program: what the application of a test starts with.

#include "foundation/password.h"

#include <QCoreApplication>

namespace {

// Every installation a test makes hashes the administrator's password, and
// many tests hash more: the lowest cost keeps them cheap. The stored hashes
// carry their parameters, so verification runs as in production;
// tst_password checks the production cost itself.
void bootTests() { fitrova::setPasswordHashCost(fitrova::HashCost::Minimal); }

} // namespace

Q_COREAPP_STARTUP_FUNCTION(bootTests)
