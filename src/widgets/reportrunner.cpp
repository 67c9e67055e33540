#include "widgets/reportrunner.h"

#include "foundation/connections.h"

#include <QAtomicInt>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace fitrova {

namespace {
QAtomicInt runCounter;
}

// What the screen's thread and the run's thread share. The mutex guards the
// driver handles: the run's thread clears them before it closes its
// connection, so a cancel never reaches a closed connection.
struct ReportRunner::Run {
    QThread *thread = nullptr;
    QMutex mutex;
    sqlite3 *sqlite = nullptr;
    PGcancel *pgCancel = nullptr;
    std::atomic_bool cancelled{false};
    std::optional<DbError> error;
    Done done;

    void interrupt()
    {
        QMutexLocker lock(&mutex);
        if (sqlite)
            sqlite3_interrupt(sqlite);
        if (pgCancel) {
            char buf[256];
            PQcancel(pgCancel, buf, sizeof buf);
        }
    }
};

ReportRunner::ReportRunner(AppContext &app, QObject *parent)
    : QObject(parent), m_app(app), m_reinterrupt(new QTimer(this))
{
    m_reinterrupt->setInterval(100);
    connect(m_reinterrupt, &QTimer::timeout, this, [this] {
        for (const auto &r : std::as_const(m_cancelled))
            r->interrupt();
        if (m_cancelled.isEmpty())
            m_reinterrupt->stop();
    });
}

ReportRunner::~ReportRunner()
{
    cancel();
    for (const auto &r : std::as_const(m_cancelled)) {
        while (!r->thread->wait(QDeadlineTimer(100)))
            r->interrupt();
        delete r->thread;
    }
}

bool ReportRunner::isRunning() const { return m_run != nullptr; }

void ReportRunner::start(Work work, Done done)
{
    cancel();
    auto run = std::make_shared<Run>();
    run->done = std::move(done);
    const QString role = QStringLiteral("report%1").arg(runCounter.fetchAndAddRelaxed(1));
    AppContext *app = &m_app;
    Run *r = run.get(); // the thread ends before the runner lets go of the run
    run->thread = QThread::create([app, r, role, work = std::move(work)] {
        Db db;
        if (auto failure = openWorkerConnection(*app, db, role)) {
            r->error = DbError(DbError::Kind::Connection, failure->detail);
            return;
        }
        {
            QMutexLocker lock(&r->mutex);
            const QVariant h = db.handle().driver()->handle();
            if (h.isValid() && h.constData()) {
                if (qstrcmp(h.typeName(), "sqlite3*") == 0)
                    r->sqlite = *static_cast<sqlite3 *const *>(h.constData());
                else if (qstrcmp(h.typeName(), "PGconn*") == 0 || qstrcmp(h.typeName(), "pg_conn*") == 0)
                    r->pgCancel = PQgetCancel(*static_cast<PGconn *const *>(h.constData()));
            }
        }
        if (!r->cancelled) {
            try {
                work(db);
            } catch (const DbError &e) {
                r->error = e;
            } catch (const std::exception &e) {
                r->error = DbError(DbError::Kind::Statement, QString::fromUtf8(e.what()));
            }
        }
        {
            QMutexLocker lock(&r->mutex);
            r->sqlite = nullptr;
            if (r->pgCancel)
                PQfreeCancel(r->pgCancel);
            r->pgCancel = nullptr;
        }
        const QString name = db.connectionName();
        db = Db();
        {
            QSqlDatabase h = QSqlDatabase::database(name, false);
            h.close();
        }
        QSqlDatabase::removeDatabase(name);
    });
    connect(run->thread, &QThread::finished, this, [this, run] { finished(run); });
    m_run = run;
    run->thread->start();
}

void ReportRunner::finished(const std::shared_ptr<Run> &run)
{
    run->thread->wait();
    if (m_run == run) {
        m_run.reset();
        Done done = std::move(run->done);
        delete run->thread;
        run->thread = nullptr;
        if (done)
            done(run->error);
        return;
    }
    m_cancelled.removeOne(run);
    delete run->thread;
    run->thread = nullptr;
}

void ReportRunner::cancel()
{
    if (!m_run)
        return;
    m_run->cancelled = true;
    m_run->interrupt();
    m_cancelled.append(m_run);
    m_run.reset();
    m_reinterrupt->start();
}

} // namespace fitrova
