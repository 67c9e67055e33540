#include "messaging/smsschema.h"

namespace fitrova {

namespace {

Column count(const QString &name) { return integer(name, QStringLiteral("0")); }
Index idx(const QStringList &columns) { return Index{columns, false}; }
Index uniq(const QStringList &columns) { return Index{columns, true}; }

std::vector<Table> buildTables()
{
    return {
        // Customer logins; custom_Tel is the sender number of the customer's
        // messages, loginN counts logins, loginD holds the last one.
        Table{"tblMember", DbFile::Main,
              {idCol("Idx"), text("custom_id", 20), text("custom_pwd"), text("custom_nam", 40),
               text("custom_Tel", 20), text("custom_Hp", 20), count("loginN"),
               text("loginD", 19), text("Sub_id", 20)},
              {},
              {uniq({"custom_id"})}},

        // Prepaid balance in messages per account.
        Table{"tblAccount", DbFile::Main,
              {text("Sub_Id", 20), count("M_PastG")}, {"Sub_Id"}, {}},

        // Deposits: date, amount paid, messages bought, balance after the deposit.
        Table{"tblReceipt", DbFile::Main,
              {idCol("Idx"), text("Sub_Id", 20), text("ReceiD", 10), integer("ReceiM", QStringLiteral("0")),
               count("ReceiG"), count("pastG")},
              {},
              {idx({"Sub_Id"})}},

        // Message templates of a customer.
        Table{"tblContent", DbFile::Main,
              {idCol("idx"), text("custom_id", 20), text("title", 100), text("context")},
              {},
              {idx({"custom_id"})}},

        // Messages to deliver; y_time "YYYYMMDDHHMM", empty for at once.
        Table{"send_zelmar", DbFile::Main,
              {idCol("seq"), text("user_id", 20), text("sub_id", 20), text("user_tel", 20),
               text("custom_id", 20), text("custom_nam", 40), text("custom_tel", 20),
               text("msg"), text("typ", 1), text("y_time", 12)},
              {}, {}},

        // Delivery results; i_time and s_time "YYYY-MM-DD hh:mm:ss".
        Table{"result_zelmar", DbFile::Main,
              {idCol("id"), text("custom_id", 20), text("user_tel", 20), text("custom_nam", 40),
               text("msg"), text("custom_tel", 20), text("result_msg", 20), integer("fee2"),
               text("i_time", 19), text("s_time", 19)},
              {},
              {idx({"custom_id", "s_time"})}},
    };
}

} // namespace

const std::vector<Table> &smsProviderTables()
{
    static const std::vector<Table> tables = buildTables();
    return tables;
}

void createSmsProviderTables(const Db &db)
{
    db.transaction([&] {
        for (const Table &t : smsProviderTables())
            for (const QString &stmt : createTableStatements(t, db.engine()))
                db.exec(stmt);
    });
}

bool hasSmsProviderTables(const Db &db)
{
    for (const Table &t : smsProviderTables())
        if (!db.tableExists(t.name))
            return false;
    return true;
}

} // namespace fitrova
