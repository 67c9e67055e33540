// FITROVA_DB_TEST
// The staff diary: the 48 time slots and the default times, the lines of a
// day cell, who sees which entries (a personal entry never in another user's
// calendar; a common one in everybody's calendar but only in its maker's
// list), saving without a title, editing an entry deleted meanwhile, and the
// weeks of a month.

#include <QtTest>
#include <QDate>

#include "schedule/schedule.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

Q_DECLARE_METATYPE(fitrova::ScheduleEntry)

namespace {

qint64 add(const Db &db, const char *gubun, const char *user, const char *date, const QString &title,
           const QString &time1 = {}, const QString &time2 = {}, const QString &detail = {})
{
    const Outcome o = saveSchedule(db, ScheduleInput{0, QString::fromLatin1(gubun), QString::fromLatin1(user),
                                                     QString::fromLatin1(date), time1, time2, title, detail});
    if (!o.saved)
        qFatal("not saved: %s", qPrintable(o.last().text));
    return o.id;
}

QStringList titles(const QList<ScheduleEntry> &entries)
{
    QStringList out;
    for (const ScheduleEntry &e : entries)
        out << e.title;
    return out;
}

} // namespace

class TstSchedule : public QObject {
    Q_OBJECT
    std::unique_ptr<TestInstall> m_install;
    const Db &db() { return m_install->db(); }

private slots:
    void initTestCase() { m_install = std::make_unique<TestInstall>(); }
    void cleanupTestCase() { m_install.reset(); }
    void init() { db().exec("DELETE FROM Schedule"); }

    void slots_()
    {
        const QStringList &s = scheduleTimeSlots();
        QCOMPARE(s.size(), 48);
        QCOMPARE(s.first(), QString("오전 12:00"));
        QCOMPARE(s.at(1), QString("오전 12:30"));
        QCOMPARE(s.at(2), QString("오전 01:00"));
        QCOMPARE(s.at(23), QString("오전 11:30"));
        QCOMPARE(s.at(24), QString("오후 12:00"));
        QCOMPARE(s.at(26), QString("오후 01:00"));
        QCOMPARE(s.last(), QString("오후 11:30"));
    }

    // The start slot is the first at or after the time of day, whatever the
    // text of the slots would say when compared as text.
    void defaultSlots_data()
    {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::newRow("midnight") << QTime(0, 0) << "오전 12:00" << "오전 12:30";
        QTest::newRow("a minute past midnight") << QTime(0, 1) << "오전 12:30" << "오전 01:00";
        QTest::newRow("morning, before ten") << QTime(9, 17) << "오전 09:30" << "오전 10:00";
        QTest::newRow("on the half hour") << QTime(9, 30, 45) << "오전 09:30" << "오전 10:00";
        QTest::newRow("before noon") << QTime(11, 40) << "오후 12:00" << "오후 12:30";
        QTest::newRow("early afternoon") << QTime(13, 5) << "오후 01:30" << "오후 02:00";
        QTest::newRow("last slot") << QTime(23, 30) << "오후 11:30" << "오후 11:30";
        QTest::newRow("after the last slot") << QTime(23, 45) << "오후 11:30" << "오후 11:30";
    }
    void defaultSlots()
    {
        QFETCH(QTime, now);
        QFETCH(QString, start);
        QFETCH(QString, end);
        const int s = defaultStartSlot(now);
        QCOMPARE(scheduleTimeSlots().at(s), start);
        QCOMPARE(scheduleTimeSlots().at(defaultEndSlot(s)), end);
    }

    void dayLines_data()
    {
        QTest::addColumn<QList<ScheduleEntry>>("entries");
        QTest::addColumn<bool>("details");
        QTest::addColumn<QStringList>("lines");
        ScheduleEntry am{1, "0", "0001", "2024-05-10", "오전 09:30", "오전 10:00", "수영장 점검", "여과기 청소"};
        ScheduleEntry pm{2, "0", "0001", "2024-05-10", "오후 02:00", "", "강사 회의", ""};
        ScheduleEntry none{3, "0", "0001", "2024-05-10", "", "", "휴관 안내", "현관\n게시판"};
        QTest::newRow("morning") << QList<ScheduleEntry>{am} << false << QStringList{"AM 09:30 수영장 점검"};
        QTest::newRow("afternoon") << QList<ScheduleEntry>{pm} << false << QStringList{"PM 02:00 강사 회의"};
        QTest::newRow("no start time: no prefix, no time") << QList<ScheduleEntry>{none} << false << QStringList{"휴관 안내"};
        QTest::newRow("details follow their line")
            << QList<ScheduleEntry>{am, pm, none} << true
            << QStringList{"AM 09:30 수영장 점검", "여과기 청소", "PM 02:00 강사 회의", "휴관 안내", "현관", "게시판"};
    }
    void dayLines()
    {
        QFETCH(QList<ScheduleEntry>, entries);
        QFETCH(bool, details);
        QFETCH(QStringList, lines);
        QCOMPARE(scheduleDayLines(entries, details), lines);
    }

    // Users 0001 and 0002: each sees every common entry and only their own
    // personal ones; the entry list keeps to the user's own entries of a kind.
    void whoSeesWhat()
    {
        add(db(), "0", "0001", "2024-05-10", "공용-1");
        add(db(), "1", "0001", "2024-05-10", "개인-1");
        add(db(), "0", "0002", "2024-05-11", "공용-2");
        add(db(), "1", "0002", "2024-05-10", "개인-2");
        add(db(), "1", "0002", "2024-06-01", "다음달");

        QCOMPARE(titles(monthSchedule(db(), "0", "0001", 2024, 5)), (QStringList{"공용-1", "공용-2"}));
        QCOMPARE(titles(monthSchedule(db(), "0", "0002", 2024, 5)), (QStringList{"공용-1", "공용-2"}));
        QCOMPARE(titles(monthSchedule(db(), "1", "0001", 2024, 5)), QStringList{"개인-1"});
        QCOMPARE(titles(monthSchedule(db(), "1", "0002", 2024, 5)), QStringList{"개인-2"});
        QCOMPARE(titles(daySchedule(db(), "1", "0001", "2024-05-10")), QStringList{"개인-1"});

        QCOMPARE(titles(ownSchedule(db(), "0", "0002", "2024-05-01", "2024-05-31")), QStringList{"공용-2"});
        QCOMPARE(titles(ownSchedule(db(), "0", "0001", "2024-05-01", "2024-05-31")), QStringList{"공용-1"});
        QCOMPARE(titles(ownSchedule(db(), "1", "0002", "2024-05-01", "2024-06-30")), (QStringList{"개인-2", "다음달"}));

        // Another user's entry cannot be deleted through the own list.
        const qint64 other = monthSchedule(db(), "1", "0002", 2024, 5).first().id;
        deleteSchedule(db(), other, "0001");
        QCOMPARE(titles(monthSchedule(db(), "1", "0002", 2024, 5)), QStringList{"개인-2"});
    }

    // Within a day the entries come in the order they were made.
    void monthOrder()
    {
        add(db(), "0", "0001", "2024-05-20", "셋");
        add(db(), "0", "0001", "2024-05-02", "하나");
        add(db(), "0", "0001", "2024-05-20", "넷");
        add(db(), "0", "0001", "2024-05-31", "다섯");
        add(db(), "0", "0001", "2024-05-02", "둘");
        add(db(), "0", "0001", "2024-04-30", "지난달");
        QCOMPARE(titles(monthSchedule(db(), "0", "0001", 2024, 5)), (QStringList{"하나", "둘", "셋", "넷", "다섯"}));
    }

    void saveRules()
    {
        // No title: nothing is written.
        const Outcome empty = saveSchedule(db(), ScheduleInput{0, "0", "0001", "2024-05-10", "오전 09:00", "", "  ", ""});
        QVERIFY(!empty.saved);
        QCOMPARE(empty.last().text, QString("제목을 입력하세요"));
        QCOMPARE(empty.last().title, QString("저장"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Schedule").toInt(), 0);

        // The end time switched off is stored empty.
        const qint64 id = add(db(), "1", "0001", "2024-05-10", "회의", "오전 09:00", QString(), "안건");
        const auto row = db().queryOne("SELECT ScGubun, ScUserCode, ScDate, ScTime1, ScTime2, ScTit, ScDetail "
                                       "FROM Schedule WHERE ScID = ?",
                                       {id});
        QCOMPARE(row->str("ScGubun"), QString("1"));
        QCOMPARE(row->str("ScUserCode"), QString("0001"));
        QCOMPARE(row->str("ScDate"), QString("2024-05-10"));
        QCOMPARE(row->str("ScTime1"), QString("오전 09:00"));
        QCOMPARE(row->str("ScTime2"), QString(""));
        QCOMPARE(row->str("ScTit"), QString("회의"));
        QCOMPARE(row->str("ScDetail"), QString("안건"));

        // A change rewrites the entry in place.
        QVERIFY(saveSchedule(db(), ScheduleInput{id, "1", "0001", "2024-05-11", "오후 01:00", "오후 02:00", "회의(변경)", ""})
                    .saved);
        QCOMPARE(titles(daySchedule(db(), "1", "0001", "2024-05-11")), QStringList{"회의(변경)"});
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Schedule").toInt(), 1);

        // Deleted meanwhile at another workstation: refused, nothing written back.
        auto other = m_install->openWorkstation("DESK2");
        QVERIFY(deleteSchedule(other->main, id, "0001").saved);
        const Outcome gone = saveSchedule(db(), ScheduleInput{id, "1", "0001", "2024-05-11", "", "", "회의(다시)", ""});
        QVERIFY(!gone.saved);
        QCOMPARE(gone.last().text, QString("자료를 찾을수 없읍니다"));
        QCOMPARE(gone.last().title, QString("일정저장"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Schedule").toInt(), 0);
    }

    void monthCells_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("weeks");
        QTest::addColumn<int>("lead"); // blank cells before the 1st
        QTest::newRow("May 2024 starts on a Wednesday") << 2024 << 5 << 5 << 3;
        QTest::newRow("September 2024 starts on a Sunday") << 2024 << 9 << 5 << 0;
        QTest::newRow("February 2015 fills four weeks") << 2015 << 2 << 4 << 0;
        QTest::newRow("March 2024 needs six weeks") << 2024 << 3 << 6 << 5;
        QTest::newRow("leap February") << 2024 << 2 << 5 << 4;
    }
    void monthCells()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, weeks);
        QFETCH(int, lead);
        const QList<QDate> cells = monthCalendarCells(year, month);
        QCOMPARE(cells.size(), weeks * 7);
        for (int i = 0; i < lead; ++i)
            QVERIFY(!cells[i].isValid());
        QCOMPARE(cells[lead], QDate(year, month, 1));
        const int days = QDate(year, month, 1).daysInMonth();
        QCOMPARE(cells[lead + days - 1], QDate(year, month, days));
        for (int i = lead + days; i < cells.size(); ++i)
            QVERIFY(!cells[i].isValid());
        // Sundays in the first column.
        for (int i = 0; i < cells.size(); i += 7)
            if (cells[i].isValid())
                QCOMPARE(cells[i].dayOfWeek(), 7);
    }
};

QTEST_GUILESS_MAIN(TstSchedule)
#include "tst_schedule.moc"
