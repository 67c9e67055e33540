#pragma once
// The one source of "now" for the whole program. Tests install a fixed clock.

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace fitrova {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
    QTime time() const { return now().time(); }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still until told otherwise.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime t = QDateTime(QDate(2024, 5, 10), QTime(9, 0))) : m_now(std::move(t)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &t) { m_now = t; }
    void setDate(const QDate &d) { m_now.setDate(d); }
    void advanceSecs(qint64 s) { m_now = m_now.addSecs(s); }
private:
    QDateTime m_now;
};

} // namespace fitrova
