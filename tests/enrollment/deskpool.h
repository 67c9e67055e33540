#pragma once
// Several desks working at the same moment, in one test program: each desk is
// a thread with its own connections to the test installation (a connection
// belongs to the thread that opened it), and race() starts the same job on
// every desk at once and waits for all of them.
//
//     DeskPool desks(inst, 2);
//     const auto answers = desks.race<EnrollResult>([&](AppContext &ctx, int desk) {
//         return saveRefund(ctx, input);
//     });
//
// A desk's DbError becomes its answer's error text; QTest macros stay in the
// test's own thread, which reads the answers after the race.

#include "testinstall.h"

#include <QString>
#include <barrier>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace fitrova::test {

template <typename R>
struct DeskAnswer {
    std::optional<R> value; // empty when the desk's action threw
    QString error;          // the DbError (or other) text
};

class DeskPool {
public:
    DeskPool(TestInstall &inst, int desks) : m_start(desks), m_desks(desks)
    {
        m_threads.reserve(size_t(desks));
        for (int i = 0; i < desks; ++i)
            m_threads.emplace_back([this, &inst, i] { run(inst, i); });
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_opened == m_desks; });
    }
    ~DeskPool()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
            ++m_round;
        }
        m_changed.notify_all();
        for (std::thread &t : m_threads)
            t.join();
    }
    DeskPool(const DeskPool &) = delete;
    DeskPool &operator=(const DeskPool &) = delete;

    int size() const { return m_desks; }
    // The error of a desk that could not connect, empty when all did.
    QString openError() const { return m_openError; }

    template <typename R>
    std::vector<DeskAnswer<R>> race(const std::function<R(AppContext &, int)> &fn)
    {
        std::vector<DeskAnswer<R>> answers(static_cast<size_t>(m_desks));
        runRound([&](AppContext &ctx, int desk) {
            DeskAnswer<R> &a = answers[size_t(desk)];
            try {
                a.value = fn(ctx, desk);
            } catch (const DbError &e) {
                a.error = e.message() + QStringLiteral(" [") + e.nativeCode() + QLatin1Char(']');
            } catch (const std::exception &e) {
                a.error = QString::fromLocal8Bit(e.what());
            }
        });
        return answers;
    }

private:
    void runRound(const std::function<void(AppContext &, int)> &job)
    {
        {
            std::lock_guard lock(m_mutex);
            m_job = job;
            m_done = 0;
            ++m_round;
        }
        m_changed.notify_all();
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_done == m_desks; });
        m_job = nullptr;
    }

    void run(TestInstall &inst, int desk)
    {
        std::unique_ptr<AppContext> ctx;
        try {
            ctx = inst.openWorkstation(QStringLiteral("DESK%1").arg(desk + 2));
        } catch (const std::exception &e) {
            std::lock_guard lock(m_mutex);
            m_openError = QString::fromLocal8Bit(e.what());
        }
        int seen = 0;
        {
            std::lock_guard lock(m_mutex);
            ++m_opened;
        }
        m_changed.notify_all();
        for (;;) {
            std::function<void(AppContext &, int)> job;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return m_round != seen; });
                seen = m_round;
                if (m_stop)
                    break;
                job = m_job;
            }
            m_start.arrive_and_wait(); // every desk begins at the same moment
            if (ctx && job)
                job(*ctx, desk);
            {
                std::lock_guard lock(m_mutex);
                ++m_done;
            }
            m_changed.notify_all();
        }
        ctx.reset(); // the connections close in the thread that opened them
    }

    std::barrier<> m_start;
    const int m_desks;
    std::vector<std::thread> m_threads;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void(AppContext &, int)> m_job;
    int m_round = 0, m_done = 0, m_opened = 0;
    bool m_stop = false;
    QString m_openError;
};

} // namespace fitrova::test
