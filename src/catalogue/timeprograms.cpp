#include "catalogue/timeprograms.h"

#include "catalogue/programs.h"
#include "data/dates.h"

#include <QLocale>

namespace fitrova {

namespace {
const QString kSaveTitle = QStringLiteral("자료저장");
} // namespace

QStringList validityItems()
{
    QStringList items;
    for (int m = 1; m <= 12; ++m)
        items.append(validityItem(m));
    return items;
}

QString validityItem(int months)
{
    if (months < 1 || months > 12)
        return {};
    return months < 10 ? QStringLiteral("%1  개월").arg(months) : QStringLiteral("%1 개월").arg(months);
}

QString priceText(qint64 price) { return QLocale(QLocale::English).toString(price); }

QString minutesLabel(qint64 hours) { return QStringLiteral("%1 분").arg(hours * 60); }

Outcome checkTimeProgram(const TimeProgram &p)
{
    if (p.pgName.trimmed().isEmpty())
        return Outcome::refusedPlain(QStringLiteral("프로그램명을 입력하세요"), kSaveTitle, TimeNameField);
    if (p.validityMonths < 1)
        return Outcome::refusedPlain(QStringLiteral("유효기간을 입력하세요"), kSaveTitle, TimeValidityField);
    if (p.course.trimmed().isEmpty())
        return Outcome::refusedPlain(QStringLiteral("항목을 선택하세요"), kSaveTitle, TimeCourseField);
    if (p.hours <= 0)
        return Outcome::refusedPlain(QStringLiteral("사용시간을 입력하세요"), kSaveTitle, TimeHoursField);
    return Outcome::done();
}

std::optional<TimeProgram> loadTimeProgram(const Db &db, qint64 pgId)
{
    const auto r = db.queryOne(QStringLiteral("SELECT Pgid, PgGubun, Course, PgName, PgCnt1, PgUse FROM Program "
                                              "WHERE Pgid = ?"),
                               {pgId});
    if (!r)
        return std::nullopt;
    TimeProgram p;
    p.pgId = r->num(QStringLiteral("Pgid"));
    p.pgGubun = r->str(QStringLiteral("PgGubun"));
    p.course = r->str(QStringLiteral("Course"));
    p.pgName = r->str(QStringLiteral("PgName"));
    p.hours = r->num(QStringLiteral("PgCnt1"));
    p.pgUse = r->str(QStringLiteral("PgUse")) == QLatin1String("1");
    if (const auto a = db.queryOne(QStringLiteral("SELECT MonthCnt, Amt1 FROM ProgAmt WHERE Pgid = ? "
                                                  "ORDER BY MonthCnt, PgId1"),
                                   {pgId})) {
        p.validityMonths = int(a->num(QStringLiteral("MonthCnt")));
        p.price = a->num(QStringLiteral("Amt1"));
    }
    return p;
}

Outcome saveTimeProgram(const Db &db, TimeProgram p, bool isNew, const QDate &today)
{
    Outcome check = checkTimeProgram(p);
    if (!check.saved)
        return check;
    p.pgName = p.pgName.trimmed();
    p.course = p.course.trimmed().left(1);
    const QString sclass = QStringLiteral("00");
    const QString pgCode = programCode(p.course, sclass);
    const QString use = p.pgUse ? QStringLiteral("1") : QStringLiteral("0");

    return db.transaction([&]() -> Outcome {
        qint64 id = p.pgId;
        if (isNew) {
            const QString sdate = fmtDate(today);
            id = db.insertId(QStringLiteral("INSERT INTO Program (PgGubun, Course, Sclass, PgCode, PgName, "
                                            "Mon, Tue, Wed, Thu, Fri, Sat, Sun, PgCnt1, PgCnt, PgUse, Sdate, yymm) "
                                            "VALUES (?, ?, ?, ?, ?, 1, 1, 1, 1, 1, 1, 1, ?, ?, ?, ?, ?)"),
                             {QStringLiteral("2"), p.course, sclass, pgCode, p.pgName, p.hours, p.minutes(), use,
                              sdate, sdate.left(7)},
                             QStringLiteral("Pgid"));
            if (p.price >= 1)
                db.exec(QStringLiteral("INSERT INTO ProgAmt (Pgid, MonthCnt, Amt1) VALUES (?, ?, ?)"),
                        {id, p.validityMonths, p.price});
        } else {
            const int n = db.exec(QStringLiteral("UPDATE Program SET Course = ?, Sclass = ?, PgName = ?, PgCode = ?, "
                                                 "PgCnt1 = ?, PgCnt = ?, PgUse = ? WHERE Pgid = ?"),
                                  {p.course, sclass, p.pgName, pgCode, p.hours, p.minutes(), use, id});
            if (n == 0)
                return Outcome::refusedPlain(QStringLiteral("수정할 항목이 없읍니다"), kSaveTitle);
            const QVariant priceRow = db.scalar(QStringLiteral("SELECT PgId1 FROM ProgAmt WHERE Pgid = ? "
                                                               "ORDER BY MonthCnt, PgId1"),
                                                {id});
            if (priceRow.isValid())
                db.exec(QStringLiteral("UPDATE ProgAmt SET MonthCnt = ?, Amt1 = ? WHERE PgId1 = ?"),
                        {p.validityMonths, p.price >= 1 ? p.price : 0, priceRow.toLongLong()});
            else if (p.price >= 1)
                db.exec(QStringLiteral("INSERT INTO ProgAmt (Pgid, MonthCnt, Amt1) VALUES (?, ?, ?)"),
                        {id, p.validityMonths, p.price});
            // A fee row without any amount would be offered for sale at no charge.
            db.exec(QStringLiteral("DELETE FROM ProgAmt WHERE Pgid = ? AND COALESCE(Amt1, 0) = 0 AND COALESCE(Amt2, 0) = 0 AND COALESCE(Amt3, 0) = 0"), {id});
        }
        Outcome r = Outcome::done(id, pgCode);
        r.info(savedText(), kSaveTitle);
        return r;
    });
}

} // namespace fitrova
