// FITROVA_DB_TEST
// The member card's store: numbering at saving (also with two desks at
// once), the checks before saving, searching with awkward text, and deleting
// a member with everything that hangs on it.

#include <QtTest>

#include "memberbuilders.h"
#include "members/lecturedelete.h"
#include "members/memberstore.h"
#include "data/membergrams.h"
#include "testinstall.h"

using namespace fitrova;
using namespace fitrova::test;

namespace {

MemberRecord named(const QString &name, const QString &card = {})
{
    MemberRecord m;
    m.mbName = name;
    m.mbCard = card;
    m.indate = QStringLiteral("2024-05-10");
    m.solor = QStringLiteral("1");
    m.dm = QStringLiteral("1");
    m.sms = QStringLiteral("0");
    return m;
}

qint64 count(const Db &db, const QString &sql, const Params &p = {})
{
    return db.scalar(sql, p).toLongLong();
}

} // namespace

class TstMemberStore : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        for (const char *t : {"Member", "Lecture", "Sale", "UserPoint", "entrance", "ItemTrs", "RqPerBox", "PerBoxS"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
    }

    void numbering_takenAtSaving()
    {
        // The first member ever gets 00000001; two saves of new members give two members.
        const MemberSaveResult a = saveMember(db(), named(QStringLiteral("김철수")));
        QVERIFY(a.saved && a.created);
        QCOMPARE(a.mbCode, QString("00000001"));
        QCOMPARE(a.message.text, memberSavedText());
        const MemberSaveResult b = saveMember(db(), named(QStringLiteral("김철수")));
        QCOMPARE(b.mbCode, QString("00000002"));
        QCOMPARE(count(db(), "SELECT COUNT(*) FROM Member"), 2);

        addMember(db(), "00000099", QStringLiteral("구십구"));
        QCOMPARE(saveMember(db(), named(QStringLiteral("백번째"))).mbCode, QString("00000100"));
    }

    // Both desks compute the same number; the second meets the key, takes the
    // next number and both members exist with different numbers.
    void numbering_twoWorkstationsSaveAtOnce()
    {
        const auto desk2 = m_inst.openWorkstation("DESK2");
        const QString seenByBoth = nextMemberCode(desk2->main);
        QCOMPARE(nextMemberCode(db()), seenByBoth);

        const MemberSaveResult first = saveMember(db(), named(QStringLiteral("첫째")));
        QCOMPARE(first.mbCode, seenByBoth);

        int attempts = 0;
        const MemberSaveResult second = saveMember(desk2->main, named(QStringLiteral("둘째")), [&](const Db &d) {
            return ++attempts == 1 ? seenByBoth : nextMemberCode(d);
        });
        QCOMPARE(attempts, 2);
        QVERIFY(second.saved);
        QVERIFY(second.mbCode != first.mbCode);
        QCOMPARE(count(db(), "SELECT COUNT(DISTINCT MbCode) FROM Member"), 2);
        QCOMPARE(loadMember(db(), second.mbCode)->mbName, QString("둘째"));
    }

    void check_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("ownCode");
        QTest::addColumn<QString>("refusal");
        const QString taken = QStringLiteral("등록된 회원카드번호는 박영희 회원님이 이미 사용중입니다...");
        QTest::newRow("empty name") << "  " << "" << "" << "회원명은 필수입력 항목입니다";
        QTest::newRow("card of another member") << "김철수" << "12345678" << "" << taken;
        QTest::newRow("card with blanks around it") << "김철수" << " 12345678 " << "00000003" << taken;
        QTest::newRow("own card on re-save") << "박영희" << "12345678" << "00000002" << "";
        QTest::newRow("free card") << "김철수" << "99999999" << "" << "";
        QTest::newRow("no card") << "김철수" << "" << "" << "";
    }
    void check()
    {
        QFETCH(QString, name);
        QFETCH(QString, card);
        QFETCH(QString, ownCode);
        QFETCH(QString, refusal);
        addMember(db(), "00000002", QStringLiteral("박영희"), "12345678");
        MemberRecord m = named(name, card);
        m.mbCode = ownCode;
        const Outcome c = checkMember(db(), m);
        QCOMPARE(c.saved, refusal.isEmpty());
        QCOMPARE(c.last().text, refusal);
        if (!c.saved)
            QCOMPARE(c.last().title, QString("회원저장"));
    }

    // A refused save writes nothing; the typed values stay with the caller.
    void save_refusedWritesNothing()
    {
        addMember(db(), "00000002", QStringLiteral("박영희"), "12345678");
        const MemberSaveResult r = saveMember(db(), named(QStringLiteral("김철수"), "12345678"));
        QVERIFY(!r.saved);
        QVERIFY(r.message.text.contains(QStringLiteral("박영희")));
        QCOMPARE(count(db(), "SELECT COUNT(*) FROM Member"), 1);
    }

    // Every typed field is stored (the e-mail too); the outstanding amount
    // comes from the member's rows, not from the screen.
    void save_storesFieldsAndRecomputesUnpaid()
    {
        MemberRecord m = named(QStringLiteral("O'Brien 김"), QStringLiteral("C-1"));
        m.mbName1 = QStringLiteral("보호자");
        m.juno1 = "850315";
        m.juno2 = "1234567";
        m.age = 40;
        m.tel1 = "010-1234-5678";
        m.email1 = "kim@example.com";
        m.addr1 = QStringLiteral("서울 송파구 오금동");
        m.addr2 = QStringLiteral("1-1");
        m.postNo = "138-130";
        m.birthDay = "1985-03-15";
        m.sex = QStringLiteral("남");
        m.mbGubun = QStringLiteral("1.일반회원");
        m.misuAmt = 999999; // whatever the screen shows is not stored
        const MemberSaveResult r = saveMember(db(), m);
        QVERIFY(r.saved);
        const MemberRecord s = *loadMember(db(), r.mbCode);
        QCOMPARE(s.mbName, m.mbName);
        QCOMPARE(s.email1, m.email1);
        QCOMPARE(s.mbGubun, QString("1"));
        QCOMPARE(s.sex, QString("남"));
        QCOMPARE(s.age, 40);
        QCOMPARE(s.misuAmt, 0);

        Lect l;
        l.mbCode = r.mbCode;
        l.tAmt = 100000;
        l.cashAmt = 70000;
        addLecture(db(), l);
        MemberRecord edit = s;
        edit.sex = QString();
        edit.misuAmt = 0;
        const MemberSaveResult again = saveMember(db(), edit);
        QVERIFY(again.saved && !again.created);
        QCOMPARE(again.misuAmt, 30000);
        const MemberRecord s2 = *loadMember(db(), r.mbCode);
        QCOMPARE(s2.misuAmt, 30000);
        QCOMPARE(s2.sex, QString(" "));
    }

    void save_memberDeletedMeanwhileIsRefused()
    {
        MemberRecord m = named(QStringLiteral("김철수"));
        m.mbCode = QStringLiteral("00000042");
        const MemberSaveResult r = saveMember(db(), m);
        QVERIFY(!r.saved);
        QVERIFY(!r.message.isEmpty());
        QCOMPARE(count(db(), "SELECT COUNT(*) FROM Member"), 0);
    }

    void search_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("name part") << 1 << QStringLiteral("길동") << QStringList{"00000001", "00000003"};
        QTest::newRow("apostrophe") << 1 << "O'Br" << QStringList{"00000004"};
        QTest::newRow("latin without case") << 1 << "o'brien" << QStringList{"00000004"};
        QTest::newRow("percent is literal") << 1 << "100%" << QStringList{"00000005"};
        QTest::newRow("underscore is literal") << 1 << "a_b" << QStringList{"00000006"};
        QTest::newRow("backslash is literal") << 1 << "c\\d" << QStringList{"00000007"};
        QTest::newRow("only a percent") << 1 << "%" << QStringList{"00000005"};
        QTest::newRow("quote and semicolon") << 1 << "'; DELETE FROM Member; --" << QStringList{};
        QTest::newRow("200 characters") << 1 << QString(200, QLatin1Char('x')) << QStringList{};
        QTest::newRow("empty finds nobody") << 1 << "  " << QStringList{};
        QTest::newRow("mobile part") << 2 << "5678" << QStringList{"00000001"};
        QTest::newRow("mobile with its dash") << 2 << "1234-5678" << QStringList{"00000001"};
        QTest::newRow("mobile three digits") << 2 << "678" << QStringList{"00000001"};
        QTest::newRow("mobile digits across the dash") << 2 << "345678" << QStringList{};
        QTest::newRow("name one character") << 1 << QStringLiteral("동") << QStringList{"00000001", "00000003"};
        QTest::newRow("name three characters") << 1 << QStringLiteral("홍길동") << QStringList{"00000001"};
        QTest::newRow("latin pieces without case") << 1 << "AXB 1" << QStringList{"00000008"};
        QTest::newRow("name pieces out of order") << 1 << QStringLiteral("동길") << QStringList{};
        QTest::newRow("member code exact") << 4 << "00000003" << QStringList{"00000003"};
        QTest::newRow("member code without zeros") << 4 << "3" << QStringList{"00000003"};
        QTest::newRow("card exact") << 5 << "CARD01" << QStringList{"00000001"};
        QTest::newRow("card is not a part search") << 5 << "CARD" << QStringList{};
        QTest::newRow("resident part") << 6 << "8503" << QStringList{"00000003"};
        QTest::newRow("full resident number") << 6 << "850315-2234567" << QStringList{"00000003"};
        QTest::newRow("full number without dash") << 6 << "8503152234567" << QStringList{"00000003"};
        QTest::newRow("another second part") << 6 << "850315-1234567" << QStringList{};
        QTest::newRow("birth part and first digit") << 6 << "850315-2" << QStringList{"00000003"};
    }
    void search()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        addMember(db(), "00000001", QStringLiteral("홍길동"), "CARD01", "010-1234-5678");
        addMember(db(), "00000002", QStringLiteral("이순신"));
        addMember(db(), "00000003", QStringLiteral("김길동"));
        db().exec("UPDATE Member SET Juno1 = '850315', Juno2 = '2234567' WHERE MbCode = '00000003'");
        addMember(db(), "00000004", "O'Brien");
        addMember(db(), "00000005", "100% Fit");
        addMember(db(), "00000006", "a_b");
        addMember(db(), "00000007", "c\\d");
        addMember(db(), "00000008", "aXb 100 Fit cd");
        QStringList codes;
        for (const MemberRecord &m : searchMembers(db(), MemberSearchKind(kind), text)) {
            codes << m.mbCode;
            QVERIFY(!m.juno2.contains("234567"));
        }
        QCOMPARE(codes, found);
        QCOMPARE(count(db(), "SELECT COUNT(*) FROM Member"), 8);
    }

    // The substring index follows every write of a name or a number, by the
    // member card or by any other statement; a search never sees old text.
    void search_indexFollowsTheMember_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("renamed: old name") << "rename" << 1 << QStringLiteral("길동") << QStringList{"00000003"};
        QTest::newRow("renamed: new name") << "rename" << 1 << QStringLiteral("철수") << QStringList{"00000001"};
        QTest::newRow("new mobile: old tail") << "mobile" << 2 << "5678" << QStringList{};
        QTest::newRow("new mobile: new tail") << "mobile" << 2 << "9012" << QStringList{"00000001"};
        QTest::newRow("home tel added") << "mobile" << 3 << "0002" << QStringList{"00000001"};
        QTest::newRow("deleted") << "delete" << 1 << QStringLiteral("길동") << QStringList{"00000003"};
        QTest::newRow("number changed") << "code" << 1 << QStringLiteral("홍길") << QStringList{"00000077"};
    }
    void search_indexFollowsTheMember()
    {
        QFETCH(QString, change);
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        addMember(db(), "00000003", QStringLiteral("김길동"));
        MemberRecord m = named(QStringLiteral("홍길동"));
        m.tel1 = QStringLiteral("010-1234-5678");
        const QString code = saveMember(db(), m).mbCode;
        QCOMPARE(code, QString("00000004"));
        m.mbCode = code;
        if (change == "rename") {
            m.mbName = QStringLiteral("홍철수");
            QVERIFY(saveMember(db(), m).saved);
        } else if (change == "mobile") {
            m.tel1 = QStringLiteral("010-5555-9012");
            m.tel2 = QStringLiteral("(02) 300-0002");
            QVERIFY(saveMember(db(), m).saved);
        } else if (change == "delete") {
            deleteMember(db(), code);
        } else if (change == "code") {
            db().exec("UPDATE Member SET MbCode = '00000077' WHERE MbCode = ?", {code});
        }
        QStringList codes;
        for (const MemberRecord &r : searchMembers(db(), MemberSearchKind(kind), text))
            codes << (r.mbCode == code ? QStringLiteral("00000001") : r.mbCode);
        QCOMPARE(codes, found);
        // No piece is left for a member that is gone.
        QCOMPARE(count(db(), "SELECT COUNT(*) FROM MemberGram WHERE MbCode NOT IN (SELECT MbCode FROM Member)"), 0);
    }

    // The pieces the triggers keep are the pieces a rebuild makes.
    void memberGrams_rebuildMatchesTheTriggers()
    {
        MemberRecord a = named(QStringLiteral("김하나"));
        a.tel1 = QStringLiteral("010-1234-5678");
        a.tel2 = QStringLiteral("02.555.0000");
        saveMember(db(), a);
        saveMember(db(), named(QStringLiteral("Kim Hana")));
        saveMember(db(), named(QStringLiteral("김")));
        addMember(db(), "00000050", QStringLiteral("박박박박"), {}, "0000-0000");
        auto grams = [&] {
            QStringList out;
            for (const Row &r : db().query("SELECT Gram, MbCode FROM MemberGram ORDER BY MbCode, Gram"))
                out << r.str("MbCode") + QLatin1Char(':') + r.str("Gram");
            return out;
        };
        const QStringList kept = grams();
        QVERIFY(kept.contains(QStringLiteral("00000001:n김하")));
        QVERIFY(kept.contains(QStringLiteral("00000001:m5678")));
        QVERIFY(kept.contains(QStringLiteral("00000001:h5550")));
        QVERIFY(kept.contains(QStringLiteral("00000002:nki")));
        QVERIFY(!kept.contains(QStringLiteral("00000003:n김")));
        rebuildMemberGrams(db());
        QCOMPARE(grams(), kept);
    }

    // A broad search shows the first members by number and says how many it found.
    void findMembers_limitAndCount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("total");
        QTest::newRow("indexed, over the limit") << QStringLiteral("김하") << 3 << 3 << 7;
        QTest::newRow("indexed, under the limit") << QStringLiteral("김하") << 10 << 7 << 7;
        QTest::newRow("indexed, exactly the limit") << QStringLiteral("김하") << 7 << 7 << 7;
        QTest::newRow("one character, over the limit") << QStringLiteral("김") << 2 << 2 << 8;
        QTest::newRow("none") << QStringLiteral("없음") << 5 << 0 << 0;
    }
    void findMembers_limitAndCount()
    {
        QFETCH(QString, text);
        QFETCH(int, limit);
        QFETCH(int, shown);
        QFETCH(int, total);
        for (int i = 1; i <= 7; ++i)
            addMember(db(), QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0')), QStringLiteral("김하%1").arg(i));
        addMember(db(), "00000008", QStringLiteral("김철수"));
        const MemberSearchResult r = findMembers(db(), MemberSearchKind::Name, text, limit);
        QCOMPARE(r.members.size(), shown);
        QCOMPARE(r.total, qint64(total));
        QCOMPARE(r.isPartial(), shown < total);
        if (shown > 0)
            QCOMPARE(r.members.first().mbCode, QString("00000001"));
    }

    void memberSearchGrams_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("grams");
        QTest::newRow("two syllables") << 0 << QStringLiteral("김하") << QStringList{QStringLiteral("n김하")};
        QTest::newRow("one syllable") << 0 << QStringLiteral("김") << QStringList{};
        QTest::newRow("spread over a long name")
            << 0 << QStringLiteral("가나다라마바") << QStringList{QStringLiteral("n가나"), QStringLiteral("n다라"), QStringLiteral("n마바")};
        QTest::newRow("repeated piece once") << 0 << QStringLiteral("박박박") << QStringList{QStringLiteral("n박박")};
        QTest::newRow("tail") << 1 << "5678" << QStringList{"m5678"};
        QTest::newRow("separators left out") << 2 << "(02) 55-5" << QStringList{"h0255", "h2555"};
        QTest::newRow("three digits") << 1 << "678" << QStringList{};
        QTest::newRow("outside the basic plane") << 0 << QString::fromUtf8("김\xF0\x9F\x98\x80") << QStringList{};
    }
    void memberSearchGrams()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QStringList, grams);
        QCOMPARE(fitrova::memberSearchGrams(MemberGramKind(kind), text), grams);
    }

    // Every read but the member card's carries the number masked; a masked
    // number handed back to the save keeps the stored one.
    void residentNumberLeavesOnlyTheCardInFull()
    {
        addMember(db(), "00000001", QStringLiteral("홍길동"));
        db().exec("UPDATE Member SET Juno1 = '800408', Juno2 = '2564385' WHERE MbCode = '00000001'");
        const MemberRecord listed = *loadMember(db(), "00000001");
        QCOMPARE(listed.juno1, QString("800408"));
        QCOMPARE(listed.juno2, QString("2******"));
        QCOMPARE(listed.residentText(), QString("800408-2******"));
        QCOMPARE(searchMembers(db(), MemberSearchKind::Name, "홍길동").first().residentText(),
                 QString("800408-2******"));
        QCOMPARE(loadMemberForCard(db(), "00000001")->juno2, QString("2564385"));

        MemberRecord edited = listed;
        edited.tel1 = "010-2222-3333";
        QVERIFY(saveMember(db(), edited).saved);
        const Row stored = *db().queryOne("SELECT Juno1, Juno2, Tel1 FROM Member WHERE MbCode = '00000001'");
        QCOMPARE(stored.str("Juno2"), QString("2564385"));
        QCOMPARE(stored.str("Tel1"), QString("010-2222-3333"));
    }

    void searchLimits()
    {
        QCOMPARE(memberSearchTextLimit(MemberSearchKind::Card, 10), 10);
        QCOMPARE(memberSearchTextLimit(MemberSearchKind::Card, 0), 8);
        QCOMPARE(memberSearchTextLimit(MemberSearchKind::Name, 10), 14);
        QCOMPARE(memberSearchKindOf(QStringLiteral("5.카드번호")), MemberSearchKind::Card);
    }

    // The member goes with enrollments, visits (and lent equipment), sales and
    // locker requests; the point ledger stays. A transfer this member had
    // received is undone on the giver's enrollment.
    void deleteMember_removesItsRowsAndRepairsTheGiver()
    {
        addMember(db(), "00000001", QStringLiteral("홍길동"));
        addMember(db(), "00000002", QStringLiteral("이순신"));
        Lect own;
        own.tAmt = 50000;
        addLecture(db(), own);
        Lect given;
        given.mbCode = "00000002";
        given.mbName = QStringLiteral("이순신");
        const qint64 base = addLecture(db(), given);
        Lect received;
        received.ltGubun = "0";
        received.rqDate = "2024-06-01";
        received.sDate1 = "2024-06-01";
        addDependent(db(), base, received, "Transfer", "2024-06-01");

        const qint64 ent = db().insertId("INSERT INTO entrance (InDate, MbCode) VALUES ('2024-05-02', '00000001')", {},
                                         "Entid");
        db().exec("INSERT INTO ItemTrs (Entid, ItId) VALUES (?, 1)", {ent});
        db().exec("INSERT INTO entrance (InDate, MbCode) VALUES ('2024-05-02', '00000002')");
        addSale(db(), "00000001", 10000, 10000, "2024-05-03");
        db().exec("INSERT INTO RqPerBox (RqDate, MbCode) VALUES ('2024-05-01', '00000001')");
        addPoint(db(), "00000001", "1", 1, 500);
        db().exec("INSERT INTO PerBoxS (BoxCode, BoxNum, UUse, MbCode, StDate, EndDate, MonCnt) VALUES "
                  "('A', 1, '1', '00000001', '2024-05-01', '2024-07-31', 3), "
                  "('A', 2, '1', '00000002', '2024-05-01', '2024-05-31', 1)");

        deleteMember(db(), "00000001");

        for (const char *t : {"Member", "Lecture", "entrance", "Sale", "RqPerBox"})
            QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM %1 WHERE MbCode = '00000001'").arg(t)), 0);
        QCOMPARE(count(db(), "SELECT COUNT(*) FROM ItemTrs"), 0);
        QCOMPARE(count(db(), "SELECT COUNT(*) FROM UserPoint WHERE MbCode = '00000001'"), 1);
        QCOMPARE(count(db(), "SELECT COUNT(*) FROM entrance"), 1);
        // The member's locker is free again; the other member's is untouched.
        QCOMPARE(count(db(), "SELECT COUNT(*) FROM PerBoxS WHERE BoxNum = 1 AND UUse = '0' AND MbCode = '' "
                             "AND StDate = '' AND MonCnt = 0"), 1);
        QCOMPARE(count(db(), "SELECT COUNT(*) FROM PerBoxS WHERE BoxNum = 2 AND UUse = '1' AND MbCode = '00000002'"), 1);
        const auto b = db().queryOne("SELECT Transfer, Sdate2 FROM Lecture WHERE Ltid = ?", {base});
        QCOMPARE(b->num("Transfer"), 0);
        QCOMPARE(b->str("Sdate2"), QString("2024-07-31"));
        QVERIFY(lectureDeleteCheck(db(), base).saved);
    }

    void lastVisitAndPhoto()
    {
        addMember(db(), "00000001", QStringLiteral("홍길동"));
        QCOMPARE(lastVisitDate(db(), "00000001"), QString());
        db().exec("INSERT INTO entrance (InDate, MbCode) VALUES ('2024-05-02', '00000001'), "
                  "('2024-05-09', '00000001'), ('2024-05-10', '00000002')");
        QCOMPARE(lastVisitDate(db(), "00000001"), QString("2024-05-09"));
        QCOMPARE(memberPhotoFile("/srv/Pic/Member/", "00000123"), QString("/srv/Pic/Member/00000123.BMP"));
        QCOMPARE(memberPhotoFile("/srv/Pic/Member", "00000123"), QString("/srv/Pic/Member/00000123.BMP"));
    }

private:
    const Db &db() const { return m_inst.db(); }
    TestInstall m_inst;
};

QTEST_GUILESS_MAIN(TstMemberStore)
#include "tst_memberstore.moc"
