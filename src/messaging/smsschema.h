#pragma once
// The SMS provider's database: the send queue, the results, the customer
// logins, the prepaid balances, the deposits and the message templates. The
// tables, their names and columns are the provider's; the program reads and
// writes them through its SMS connections and never creates them. The
// provider stand-in creates them (on SQLite or PostgreSQL) from this
// description.

#include "data/db.h"
#include "data/schema.h"

#include <vector>

namespace fitrova {

// The provider's tables. send_zelmar carries one column of the stand-in's
// own beside the provider's: seq, the queue order by which delivered
// messages are taken off the queue (the program never names it).
const std::vector<Table> &smsProviderTables();

// Creates the provider's tables in an empty database (one transaction).
void createSmsProviderTables(const Db &db);

// True when the database holds the provider's tables.
bool hasSmsProviderTables(const Db &db);

} // namespace fitrova
