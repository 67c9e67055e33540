#pragma once
// Runs a report's query away from the screen's thread: each run gets a thread
// and a database connection of its own (a connection belongs to the thread
// that opened it), so the window keeps painting and answering while the
// database works. A run can be cancelled: the statement the database is
// executing is interrupted (SQLite) or cancelled on the server (PostgreSQL),
// and whatever the run still produces is thrown away.
//
//     m_runner.start([=](const Db &db) { *result = visitList(db, criteria); },
//                    [=](const std::optional<DbError> &error) { ...on the screen's thread... });

#include "data/db.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QThread;
class QTimer;

namespace fitrova {

class AppContext;

class ReportRunner : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(const Db &db)>;
    // Called on the runner's thread when a run ends without being cancelled:
    // with the database failure, or nothing when the work returned.
    using Done = std::function<void(const std::optional<DbError> &error)>;

    explicit ReportRunner(AppContext &app, QObject *parent = nullptr);
    // Cancels a running query and waits for its thread to end.
    ~ReportRunner() override;

    // Starts the work; a run still going is cancelled first.
    void start(Work work, Done done);
    // Interrupts the running statement and forgets the run: its Done is not called.
    void cancel();
    bool isRunning() const;

private:
    struct Run;
    void finished(const std::shared_ptr<Run> &run);

    AppContext &m_app;
    std::shared_ptr<Run> m_run;                  // the run whose result is wanted
    QList<std::shared_ptr<Run>> m_cancelled;     // runs cancelled whose threads still end
    // A cancel that reaches the database between two statements finds nothing
    // to interrupt: cancelled runs are interrupted again until they end.
    QTimer *m_reinterrupt;
};

} // namespace fitrova
