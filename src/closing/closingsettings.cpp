#include "closing/closingsettings.h"

#include "data/dates.h"

namespace fitrova {

ClosingSettings loadClosingSettings(const Db &db)
{
    ClosingSettings s;
    const auto row = db.queryOne(QStringLiteral("SELECT fTime1, fTime2, fDiffAmt FROM UserEnv"));
    if (!row)
        return s;
    if (const QString t = normalizeTime(row->str(QStringLiteral("fTime1"))); !t.isEmpty())
        s.time1 = t;
    if (const QString t = normalizeTime(row->str(QStringLiteral("fTime2"))); !t.isEmpty())
        s.time2 = t;
    s.diffLimit = std::max<qint64>(0, row->num(QStringLiteral("fDiffAmt")));
    return s;
}

Outcome saveClosingSettings(const Db &db, const ClosingSettings &s)
{
    const QString t1 = normalizeTime(s.time1), t2 = normalizeTime(s.time2);
    if (t1.isEmpty())
        return Outcome::refused(QStringLiteral("마감 시작시간을 확인하여 주십시요."), closingSettingsTitle(), 1);
    if (t2.isEmpty())
        return Outcome::refused(QStringLiteral("마감 종료시간을 확인하여 주십시요."), closingSettingsTitle(), 2);
    if (s.diffLimit < 0)
        return Outcome::refused(QStringLiteral("오차허용금액을 확인하여 주십시요."), closingSettingsTitle(), 3);
    db.transaction([&] {
        const Params values{t1.left(5), t2.left(5), s.diffLimit};
        if (db.exec(QStringLiteral("UPDATE UserEnv SET fTime1 = ?, fTime2 = ?, fDiffAmt = ?"), values) == 0)
            db.exec(QStringLiteral("INSERT INTO UserEnv (fTime1, fTime2, fDiffAmt) VALUES (?, ?, ?)"), values);
    });
    return Outcome::done().info(savedText(), closingSettingsTitle());
}

TimeWindow businessDay(const ClosingSettings &s, const QDate &day)
{
    const QDate end = s.time2 > s.time1 ? day : day.addDays(1);
    return {fmtDate(day), s.time1, fmtDate(end), s.time2};
}

TimeWindow businessDayAt(const ClosingSettings &s, const QDateTime &now)
{
    const QString time = now.time().toString(QStringLiteral("HH:mm:ss"));
    return businessDay(s, time >= s.time1 ? now.date() : now.date().addDays(-1));
}

} // namespace fitrova
