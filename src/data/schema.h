#pragma once
// One description of every table, from which the DDL of both engines is made.

#include <QString>
#include <QStringList>
#include <vector>

namespace fitrova {

enum class Engine { SQLite, PostgreSQL };

// Which database file a table lives in when the file databases are used.
// On the server engine every table lives in the one database.
enum class DbFile { Main, Entrance, Post, Point, Print };

enum class ColType {
    Id,      // identity column given by the database (primary key)
    Text,    // text; width is informative (codes and dates keep fixed widths)
    Int,     // whole number (amounts in won, counts, minutes, ids of other rows)
    Real,    // floating point (rates)
    Flag     // yes/no as integer 0/1
};

struct Column {
    QString name;
    ColType type = ColType::Text;
    int width = 0;           // Text: maximum characters, 0 = unbounded
    QString defaultValue;    // SQL literal, empty = no default (NULL)
    bool notNull = false;
};

struct Index {
    QStringList columns;
    bool unique = false;
};

struct Table {
    QString name;
    DbFile file = DbFile::Main;
    std::vector<Column> columns;
    QStringList primaryKey;          // empty when the table has an Id column
    std::vector<Index> indexes;
};

// Every table of the system.
const std::vector<Table> &allTables();

// Looks a table up by name (case-insensitive); nullptr when unknown.
const Table *findTable(const QString &name);

// Current schema version; stored in the DbVersion table of the main file.
int schemaVersion();

// DDL statements that create one table with its indexes on the given engine.
QStringList createTableStatements(const Table &t, Engine engine);

// For upgrades of older databases: the ALTER TABLE that adds a column of the
// description, and the CREATE INDEX of one of a table's indexes (named as
// createTableStatements names it). Unknown names throw std::invalid_argument.
QString addColumnStatement(const QString &table, const QString &column, Engine engine);
QString createIndexStatement(const QString &table, const QStringList &columns);

// Helpers used by the table description.
Column idCol(const QString &name);
Column text(const QString &name, int width = 0);
Column integer(const QString &name, const QString &def = QString());
Column real(const QString &name, const QString &def = QString());
Column flag(const QString &name, const QString &def = QStringLiteral("0"));

} // namespace fitrova
