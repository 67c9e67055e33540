// FITROVA_DB_TEST
// The member list criteria (with the birthday ranges that pass the year end,
// solar and lunar), the batch enrollment query, the points status report and
// the postal-code lookup.

#include <QtTest>

#include "data/lunar.h"
#include "memberbuilders.h"
#include "members/batchquery.h"
#include "members/memberlist.h"
#include "members/pointstatus.h"
#include "members/postlookup.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

Q_DECLARE_METATYPE(MonthDayRange)

namespace {

QString lunarMd(int y, int m, int d)
{
    const LunarDate l = solarToLunar(QDate(y, m, d));
    return QStringLiteral("%1-%2").arg(l.month, 2, 10, QLatin1Char('0')).arg(l.day, 2, 10, QLatin1Char('0'));
}

QStringList codes(const QList<MemberListLine> &lines)
{
    QStringList c;
    for (const MemberListLine &l : lines)
        c << l.contact.mbCode;
    c.sort();
    return c;
}

} // namespace

class TstMemberList : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        for (const char *t : {"Member", "Lecture", "UserPoint"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
    }

    void normalizeMonthDay_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("md");   // "" empty, "X" refused
        QTest::newRow("with dash") << "03-15" << "03-15";
        QTest::newRow("short dash") << "3-5" << "03-05";
        QTest::newRow("four digits") << "1231" << "12-31";
        QTest::newRow("three digits") << "105" << "01-05";
        QTest::newRow("leap day") << "02-29" << "02-29";
        QTest::newRow("empty") << "  " << "";
        QTest::newRow("no 31st") << "04-31" << "X";
        QTest::newRow("month 13") << "13-01" << "X";
        QTest::newRow("letters") << "0a-01" << "X";
        QTest::newRow("too long") << "12345" << "X";
    }
    void normalizeMonthDay()
    {
        QFETCH(QString, typed);
        QFETCH(QString, md);
        const auto got = fitrova::normalizeMonthDay(typed);
        if (md == "X")
            QVERIFY(!got.has_value());
        else
            QCOMPARE(got.value(), md);
    }

    void splitAtYearEnd()
    {
        QCOMPARE(fitrova::splitAtYearEnd("03-01", "03-31"), (QList<MonthDayRange>{{"03-01", "03-31"}}));
        QCOMPARE(fitrova::splitAtYearEnd("12-20", "01-10"),
                 (QList<MonthDayRange>{{"12-20", "12-31"}, {"01-01", "01-10"}}));
    }

    // 2025-01-20 .. 2025-02-10 spans the lunar new year (2025-01-29).
    void lunarRangeSplitsAtLunarYearEnd()
    {
        const QList<MonthDayRange> r = lunarBirthdayRanges("01-20", "02-10", 2025);
        QCOMPARE(r, (QList<MonthDayRange>{{lunarMd(2025, 1, 20), "12-31"}, {"01-01", lunarMd(2025, 2, 10)}}));
        // A range inside one lunar year stays whole; a solar range over the
        // solar year end is read from this December to next January.
        const QList<MonthDayRange> w = lunarBirthdayRanges("12-20", "01-10", 2022);
        QCOMPARE(w, (QList<MonthDayRange>{{lunarMd(2022, 12, 20), lunarMd(2023, 1, 10)}}));
    }

    void birthdayRanges_findBothSides()
    {
        addMember(db(), "00000001", "A");
        addMember(db(), "00000002", "B");
        addMember(db(), "00000003", "C");
        addMember(db(), "00000004", "D");
        addMember(db(), "00000005", "E");
        addMember(db(), "00000006", "F");
        addMember(db(), "00000007", "G");
        const QString lunarBefore = lunarMd(2025, 1, 25); // late in the lunar 12th month
        db().exec("UPDATE Member SET BirthDay = '1990-12-25' WHERE MbCode = '00000001'");
        db().exec("UPDATE Member SET BirthDay = '1985-01-05' WHERE MbCode = '00000002'");
        db().exec("UPDATE Member SET BirthDay = '1985-06-01' WHERE MbCode = '00000003'");
        db().exec("UPDATE Member SET BirthDay = ?, Solor = '2' WHERE MbCode = '00000004'", {QString("1970-" + lunarBefore)});
        db().exec("UPDATE Member SET BirthDay = '1970-01-05', Solor = '2' WHERE MbCode = '00000005'");
        db().exec("UPDATE Member SET BirthDay = '1970-06-01', Solor = '2' WHERE MbCode = '00000006'");
        db().exec("UPDATE Member SET BirthDay = '1991-01-07', Solor = NULL WHERE MbCode = '00000007'");

        MemberListCriteria solar;
        solar.birthFrom = "12-20";
        solar.birthTo = "01-10";
        QCOMPARE(codes(runMemberList(db(), solar, 2025)), (QStringList{"00000001", "00000002", "00000007"}));

        MemberListCriteria lunar;
        lunar.birthFrom = "01-20";
        lunar.birthTo = "02-10";
        QCOMPARE(codes(runMemberList(db(), lunar, 2025)), (QStringList{"00000004", "00000005"}));
    }

    void criteria_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("nothing chosen: everybody") << "" << "" << QStringList{"00000001", "00000002", "00000003"};
        QTest::newRow("code from") << "codeFrom" << "00000002" << QStringList{"00000002", "00000003"};
        QTest::newRow("code to") << "codeTo" << "00000001" << QStringList{"00000001"};
        QTest::newRow("name range") << "nameFrom" << "나" << QStringList{"00000002", "00000003"};
        QTest::newRow("sex") << "sex" << "여" << QStringList{"00000002"};
        QTest::newRow("kind") << "mbGubun" << "2" << QStringList{"00000003"};
        QTest::newRow("area") << "area" << "0001" << QStringList{"00000001"};
        QTest::newRow("registered from") << "inDateFrom" << "2024-03-01" << QStringList{"00000003"};
        QTest::newRow("course: one line for three enrollments") << "course" << "1" << QStringList{"00000001"};
        QTest::newRow("instructor") << "ltCode" << "0002" << QStringList{"00000002"};
        QTest::newRow("program") << "pgid" << "12" << QStringList{"00000002"};
        QTest::newRow("valid on") << "validOn" << "2024-05-10" << QStringList{"00000001"};
        QTest::newRow("expiring in May") << "expiring" << "2024-05-01" << QStringList{"00000002"};
        QTest::newRow("applied month") << "month" << "2024-04" << QStringList{"00000001", "00000002"};
        QTest::newRow("age band") << "age" << "19" << QStringList{"00000001", "00000003"};
    }
    void criteria()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QStringList, found);
        addMember(db(), "00000001", QStringLiteral("가나"));
        addMember(db(), "00000002", QStringLiteral("나다"));
        addMember(db(), "00000003", QStringLiteral("다라"));
        db().exec("UPDATE Member SET Sex = '남', MbGubun = '1', Area = '0001', Indate = '2024-01-05', Age = 30 "
                  "WHERE MbCode = '00000001'");
        db().exec("UPDATE Member SET Sex = '여', MbGubun = '1', Indate = '2024-02-05', Age = 12 WHERE MbCode = '00000002'");
        db().exec("UPDATE Member SET Sex = '남', MbGubun = '2', Indate = '2024-03-05', Age = 45 WHERE MbCode = '00000003'");
        for (int i = 0; i < 3; ++i) {
            Lect l;
            l.sDate1 = QStringLiteral("2024-0%1-01").arg(i + 3);
            l.sDate2 = QStringLiteral("2024-0%1-28").arg(i + 5);
            l.ltyymm = l.sDate1.left(7);
            l.ltCode = "0001";
            l.pgid = 11;
            addLecture(db(), l);
        }
        Lect other;
        other.mbCode = "00000002";
        other.course = "2";
        other.ltCode = "0002";
        other.pgid = 12;
        other.sDate1 = "2024-04-01";
        other.sDate2 = "2024-05-09";
        other.ltyymm = "2024-04";
        addLecture(db(), other);

        MemberListCriteria c;
        if (field == "codeFrom") c.codeFrom = value;
        if (field == "codeTo") c.codeTo = value;
        if (field == "nameFrom") c.nameFrom = value;
        if (field == "sex") c.sex = value;
        if (field == "mbGubun") c.mbGubun = value;
        if (field == "area") c.area = value;
        if (field == "inDateFrom") c.inDateFrom = value;
        if (field == "course") c.course = value;
        if (field == "ltCode") c.ltCode = value;
        if (field == "pgid") c.pgid = value.toLongLong();
        if (field == "validOn") {
            c.scope = EnrollmentScope::Valid;
            c.validOn = value;
        }
        if (field == "expiring") {
            c.scope = EnrollmentScope::Expiring;
            c.dateFrom = value;
            c.dateTo = "2024-05-20";
        }
        if (field == "month") {
            c.scope = EnrollmentScope::Month;
            c.monthFrom = value;
            c.monthTo = value;
        }
        if (field == "age") {
            c.ageFrom = value.toLongLong();
            c.ageTo = 100;
        }
        const QList<MemberListLine> lines = runMemberList(db(), c, 2024);
        QStringList got;
        for (const MemberListLine &l : lines)
            got << l.contact.mbCode;
        QCOMPARE(got, found); // ordered by name
        for (const MemberListLine &l : lines)
            QCOMPARE(l.cells.size(), memberListHeaders().size());

        // The screen's reader finds the same members in the same order, a
        // line at a time, with the same cells.
        MemberListReader reader(db(), c, 2024);
        QCOMPARE(reader.count(), qint64(found.size()));
        QList<CellRow> paged;
        while (!reader.atEnd())
            paged += reader.next(1);
        QCOMPARE(paged.size(), lines.size());
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(paged[i].toList(), lines[i].cells);
        QVERIFY(reader.next(10).isEmpty());
    }

    // A member's whole line, as the list shows it: read whole, read as the
    // screen reads it, and read by code.
    void wholeLine_data()
    {
        QTest::addColumn<QVariantList>("member"); // MbCode, MbName, Age, Sex, Juno1, Juno2, Solor,
                                                  // BirthDay, Tel1, Tel2, Addr1, Addr2, PostNo, Indate,
                                                  // Dm, SMS, MbGubun
        QTest::addColumn<QStringList>("line");
        const QVariant null{QMetaType::fromType<QString>()};
        QTest::newRow("every field")
            << QVariantList{"00000001", "홍길동", 34, "여", "800408", "2564385", "2", "1980-04-08", "010-1234-5678",
                            "02-123-4567", "서울시 중구", "1-2", "04524", "2024-01-05", "1", "0", "1"}
            << QStringList{"일반", "00000001", "홍길동", "34", "여", "800408-2******", "음", "1980-04-08",
                           "010-1234-5678", "02-123-4567", "서울시 중구 1-2", "04524", "2024-01-05", "1", "0", "성인"};
        QTest::newRow("nothing but a code, a name and half an address")
            << QVariantList{"00000002", "김", null, null, null, null, null, null, null, null, null, " 2층 ", null,
                            null, null, null, null}
            << QStringList{"", "00000002", "김", "", "", "", "", "", "", "", "2층", "", "", "", "", ""};
        QTest::newRow("a child, solar, birth part only, unknown kind")
            << QVariantList{"00000003", "이하나", 5, "남", "150101", "", "1", "2015-01-01", "", "", " 부산시", "",
                            "", "2025-03-02", "0", "1", "9"}
            << QStringList{"", "00000003", "이하나", "5", "남", "150101", "양", "2015-01-01", "", "", "부산시", "",
                           "2025-03-02", "0", "1", "유아"};
    }
    void wholeLine()
    {
        QFETCH(QVariantList, member);
        QFETCH(QStringList, line);
        db().exec(QStringLiteral("DELETE FROM MbGubun"));
        db().exec(QStringLiteral("INSERT INTO MbGubun (Code, Name) VALUES ('1', '일반')"));
        db().exec(QStringLiteral("INSERT INTO Member (MbCode, MbName, Age, Sex, Juno1, Juno2, Solor, BirthDay, Tel1, "
                                 "Tel2, Addr1, Addr2, PostNo, Indate, Dm, SMS, MbGubun) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  member);
        const QList<MemberListLine> whole = runMemberList(db(), {}, 2025);
        QCOMPARE(whole.size(), 1);
        QCOMPARE(whole.at(0).cells, line);
        QCOMPARE(whole.at(0).contact.mbName, member.at(1).toString());
        MemberListReader reader(db(), {}, 2025);
        QCOMPARE(reader.next(10).value(0).toList(), line);
        const QList<MemberListLine> byCode = memberListLines(db(), {member.at(0).toString()});
        QCOMPARE(byCode.value(0).cells, line);
    }

    // A list longer than one read of codes: pages come in the list's order
    // across the batches; the members found stay the ones found when the list
    // was opened (a member deleted since is left out, a renamed one keeps its
    // place), whether the rest is read by codes or, when it is long, through
    // the list's own statement (where the renamed member comes first).
    void readerPagesAKeptList_data()
    {
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("wholeReadFrom");
        QTest::addColumn<int>("linesPerRead");
        QTest::newRow("rest read by codes") << 100000 << 1000000 << 100000;
        QTest::newRow("rest read by the list's statement") << 200000 << 100 << 100000;
        QTest::newRow("rest read in chunks by the list's statement") << 300000 << 100 << 450;
    }

    void readerPagesAKeptList()
    {
        QFETCH(int, base);
        QFETCH(int, wholeReadFrom);
        QFETCH(int, linesPerRead);
        const int n = 2203;
        auto code = [base](int i) { return QStringLiteral("%1").arg(base + i, 8, 10, QLatin1Char('0')); };
        db().transaction([&] {
            for (int i = 1; i <= n; ++i)
                addMember(db(), code(i), QStringLiteral("회원%1").arg(n - i, 4, 10, QLatin1Char('0')));
        });
        QStringList expected; // by name: the highest code first
        for (int i = n; i >= 1; --i)
            expected << code(i);

        MemberListCriteria c;
        c.codeFrom = code(1);
        c.codeTo = code(n);
        MemberListReader reader(db(), c, 2025, wholeReadFrom, linesPerRead);
        QCOMPARE(reader.count(), qint64(n));
        QCOMPARE(reader.codes(), expected);
        QList<CellRow> first;
        while (first.size() < 1200)
            first += reader.next(1200 - int(first.size()));
        QCOMPARE(first.size(), 1200);
        QCOMPARE(reader.position(), qint64(1200));

        const QString gone = expected.at(1500), renamed = expected.at(1800);
        db().exec(QStringLiteral("DELETE FROM Member WHERE MbCode = ?"), {gone});
        db().exec(QStringLiteral("UPDATE Member SET MbName = '가' WHERE MbCode = ?"), {renamed});
        // A run of members that now sort last, more than a few in a row.
        for (int i = 1900; i < 1930; ++i)
            db().exec(QStringLiteral("UPDATE Member SET MbName = '힣' WHERE MbCode = ?"), {expected.at(i)});
        QList<CellRow> rest;
        while (!reader.atEnd())
            rest += reader.next(2000);
        QCOMPARE(rest.size(), n - 1200 - 1);
        QStringList got;
        for (const CellRow &l : first + rest)
            got << l.cell(kMemberCodeCell);
        expected.removeOne(gone);
        QCOMPARE(got, expected);
        const int nameCell = int(memberListHeaders().indexOf("회원명"));
        QCOMPARE(rest.at(1800 - 1200 - 1).cell(nameCell), QString("가"));
        QCOMPARE(rest.at(1900 - 1200 - 1).cell(nameCell), QString("힣"));
        QCOMPARE(rest.at(1929 - 1200 - 1).cell(nameCell), QString("힣"));
        // Each line as the same member's line read on its own.
        const QList<MemberListLine> alone = memberListLines(db(), got.mid(1200));
        QCOMPARE(alone.size(), rest.size());
        for (int i = 0; i < rest.size(); ++i)
            QCOMPARE(rest.at(i).toList(), alone.at(i).cells);

        // Lines by code come in the order asked for, unknown codes left out.
        const QList<MemberListLine> some =
            memberListLines(db(), {expected.at(5), "99999999", expected.at(1), gone, expected.at(1100)});
        QCOMPARE(codes(some).size(), 3);
        QCOMPARE(some.at(0).contact.mbCode, expected.at(5));
        QCOMPARE(some.at(1).contact.mbCode, expected.at(1));
        QCOMPARE(some.at(2).contact.mbCode, expected.at(1100));
        QVERIFY(memberListLines(db(), {}).isEmpty());
    }

    void ageClasses_data()
    {
        QTest::addColumn<qint64>("age");
        QTest::addColumn<QString>("name");
        QTest::newRow("0") << qint64(0) << "유아";
        QTest::newRow("7") << qint64(7) << "유아";
        QTest::newRow("8") << qint64(8) << "어린이";
        QTest::newRow("12") << qint64(12) << "어린이";
        QTest::newRow("13") << qint64(13) << "청소년";
        QTest::newRow("18") << qint64(18) << "청소년";
        QTest::newRow("19") << qint64(19) << "성인";
        QTest::newRow("100") << qint64(100) << "성인";
        QTest::newRow("101") << qint64(101) << "";
        QTest::newRow("negative") << qint64(-1) << "";
    }
    void ageClasses()
    {
        QFETCH(qint64, age);
        QFETCH(QString, name);
        QCOMPARE(ageClassName(age), name);
    }

    void printLines()
    {
        MemberListCriteria c;
        c.codeFrom = "00000001";
        c.codeTo = "00000100";
        c.scope = EnrollmentScope::Valid;
        c.validOn = "2024-05-10";
        MemberListLabels labels;
        labels.mbGubun = QStringLiteral("1.일반회원");
        labels.sex = QStringLiteral("0-ALL");
        labels.course = QStringLiteral("1-수영");
        labels.lecturer = QStringLiteral("0-모두보기");
        const QStringList lines = memberListPrintLines(c, labels);
        QCOMPARE(lines[0], QString("회원구분 : 1.일반회원 회원코드 : 00000001 ~ 00000100"));
        QCOMPARE(lines[1], QString("(유효회원) 적용일자 : 2024-05-10"));
        QCOMPARE(lines[2], QString("강좌항목 : 1-수영"));
    }

    void batchKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("names"); // PgName of the rows found
        QTest::newRow("1 valid over the range") << 1 << QStringList{"유효"};
        QTest::newRow("2 expiring") << 2 << QStringList{"만기"};
        QTest::newRow("3 starting") << 3 << QStringList{"도래"};
        QTest::newRow("4 enrolled") << 4 << QStringList{"도래", "만기", "미납", "유효"};
        QTest::newRow("5 postponed") << 5 << QStringList{"연기"};
        QTest::newRow("6 refunded") << 6 << QStringList{"환불"};
        QTest::newRow("7 unpaid, member owing") << 7 << QStringList{"미납"};
    }
    void batchKinds()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, names);
        addMember(db(), "00000001", QStringLiteral("홍길동"));
        addMember(db(), "00000002", QStringLiteral("이순신"));
        auto add = [&](const QString &name, const QString &g, const QString &rq, const QString &s1, const QString &s2,
                       qint64 tamt, qint64 cash, const QString &mb = QStringLiteral("00000001")) {
            Lect l;
            l.mbCode = mb;
            l.pgName = name;
            l.ltGubun = g;
            l.rqDate = rq;
            l.sDate1 = s1;
            l.sDate2 = s2;
            l.tAmt = tamt;
            l.cashAmt = cash;
            addLecture(db(), l);
        };
        add(QStringLiteral("유효"), "1", "2024-04-01", "2024-03-01", "2024-06-30", 0, 0);
        add(QStringLiteral("만기"), "1", "2024-04-01", "2024-03-01", "2024-05-15", 0, 0);
        add(QStringLiteral("도래"), "1", "2024-04-28", "2024-05-20", "2024-06-19", 0, 0);
        add(QStringLiteral("미납"), "1", "2024-05-02", "2023-01-01", "2023-01-31", 50000, 20000);
        add(QStringLiteral("연기"), "3", "2024-05-03", "2024-05-03", "2024-05-05", 0, 0);
        add(QStringLiteral("환불"), "4", "2024-05-04", "2024-04-01", "2024-05-04", 10000, 10000);
        // Not fully paid, but the member owes nothing (paid later elsewhere).
        add(QStringLiteral("빚없음"), "1", "2023-05-01", "2023-05-01", "2023-05-31", 50000, 0, "00000002");
        db().exec("UPDATE Member SET MisuAmt = 30000 WHERE MbCode = '00000001'");

        const QList<BatchLine> lines = runBatchQuery(db(), BatchKind(kind), "2024-04-01", "2024-05-31", 0);
        QStringList got;
        for (const BatchLine &l : lines)
            got << l.cells[5];
        got.sort();
        QCOMPARE(got, names);
        if (kind == 1) {
            // Valid over the whole range means started by its first and running past its last day.
            QCOMPARE(runBatchQuery(db(), BatchKind::Valid, "2024-05-01", "2024-05-31", 0).size(), 1);
            QCOMPARE(lines.first().cells[2], QString("3개월"));
            QCOMPARE(lines.first().contact.mbName, QString("홍길동"));
        }
    }

    // The first and the last day of the range belong to it.
    void batchRangeEdges_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("valid over the range") << 1 << QStringList{"범위전체", "범위포함", "끝끝날"};
        QTest::newRow("expiring") << 2 << QStringList{"범위전체", "끝첫날", "끝끝날"};
        QTest::newRow("starting") << 3 << QStringList{"범위전체", "하루늦게", "시작끝날"};
    }
    void batchRangeEdges()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, names);
        addMember(db(), "00000001", QStringLiteral("홍길동"));
        auto add = [&](const QString &name, const QString &s1, const QString &s2) {
            Lect l;
            l.pgName = name;
            l.sDate1 = s1;
            l.sDate2 = s2;
            addLecture(db(), l);
        };
        add(QStringLiteral("범위전체"), "2024-05-01", "2024-05-31");
        add(QStringLiteral("범위포함"), "2024-04-30", "2024-06-01");
        add(QStringLiteral("하루늦게"), "2024-05-02", "2024-06-30");
        add(QStringLiteral("하루일찍끝"), "2024-04-01", "2024-04-30");
        add(QStringLiteral("끝첫날"), "2024-04-01", "2024-05-01");
        add(QStringLiteral("끝끝날"), "2024-04-01", "2024-05-31");
        add(QStringLiteral("시작끝날"), "2024-05-31", "2024-06-30");
        add(QStringLiteral("다음날시작"), "2024-06-01", "2024-06-30");
        QStringList got;
        for (const BatchLine &l : runBatchQuery(db(), BatchKind(kind), "2024-05-01", "2024-05-31", 0))
            got << l.cells[5];
        got.sort();
        names.sort();
        QCOMPARE(got, names);
    }

    void batchProgramFilterAndItems()
    {
        db().exec("DELETE FROM Program");
        const qint64 p = db().insertId("INSERT INTO Program (PgGubun, Course, PgName, Time1, Time2, LTName) "
                                       "VALUES ('1', '1', '아침수영', '06:00', '06:50', '박강사')", {}, "Pgid");
        addMember(db(), "00000001", QStringLiteral("홍길동"));
        Lect a;
        a.pgid = p;
        addLecture(db(), a);
        Lect b;
        b.pgid = p + 1;
        addLecture(db(), b);
        QCOMPARE(runBatchQuery(db(), BatchKind::Enrolled, "2024-05-01", "2024-05-31", p).size(), 1);
        const ListItems items = batchProgramItems(db());
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0].text, QString("모두보기"));
        QCOMPARE(items[1].text, QString("아침수영 06:00~06:50 박강사 기간"));
        QCOMPARE(items[1].data.toLongLong(), p);
    }

    void pointStatus()
    {
        addMember(db(), "00000001", QStringLiteral("홍길동"));
        addMember(db(), "00000002", QStringLiteral("이순신"));
        addMember(db(), "00000003", QStringLiteral("강감찬"));
        addPoint(db(), "00000001", "1", 1, 1000, 200);
        addPoint(db(), "00000001", "4", 2, 500);
        addPoint(db(), "00000002", "1", 3, 100, 400);
        db().exec("UPDATE Member SET Point = 1300 WHERE MbCode = '00000001'");
        db().exec("UPDATE Member SET Point = -300 WHERE MbCode = '00000002'");

        QList<PointStatusLine> lines = runPointStatus(db(), 0);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].cells[6], QString("1,500"));
        QCOMPARE(lines[0].cells[8], QString("1,300"));
        lines = runPointStatus(db(), -1000);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[1].remaining(), -300);
        QCOMPARE(lines[1].cells[8], QString("-300"));
        QCOMPARE(runPointStatus(db(), 2000).size(), 0);
    }

    void postalLookup()
    {
        const Db &post = m_inst.ctx().post;
        post.exec("DELETE FROM Post");
        post.exec("INSERT INTO Post (PostNum, SiDo, GuGun, Dong, RI, Bunji, Area, Tflag) VALUES "
                  "('138-130', '서울', '송파구', '오금동', '', '1~100', '송파', '0'), "
                  "('138-131', '서울', '송파구', '오금동', '', '101~200', '송파', '0'), "
                  "('445-000', '경기', '화성시', '봉담_읍', '상리', '', '화성', '1')");
        QList<PostRow> rows = searchPost(post, QStringLiteral("오금"));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].bunji, QString("1~100")); // Bunji descending, as text
        QCOMPARE(rows[0].addressText(), QString("서울 송파구 오금동"));
        rows = searchPost(post, QStringLiteral("_"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].addressText(true), QString("경기 화성시 봉담_읍 상리"));
        QCOMPARE(rows[0].addressText(false), QString("경기 화성시 봉담_읍"));
        QCOMPARE(searchPost(post, QStringLiteral("동")).first().postNum, QString("138-130"));
        QCOMPARE(searchPost(post, QStringLiteral("%")).size(), 0);
        QCOMPARE(searchPost(post, QStringLiteral("  ")).size(), 0);
        QCOMPARE(postCells(rows[0], false).size(), postHeaders(false).size());
    }

private:
    const Db &db() const { return m_inst.db(); }
    TestInstall m_inst;
};

QTEST_GUILESS_MAIN(TstMemberList)
#include "tst_memberlist.moc"
