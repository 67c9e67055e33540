// The text rules of a short message (80-byte cut, placeholders, numbers,
// reservation hours), the recipients a list hands over, and the [SMS]
// section of the configuration. No database.

#include <QtTest>

#include "data/text.h"
#include "foundation/inifile.h"
#include "messaging/smsconfig.h"
#include "messaging/smsrecipients.h"
#include "messaging/smsschema.h"
#include "messaging/smstext.h"

#include <QTemporaryDir>

using namespace fitrova;

namespace {
QString syllables(int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += QChar(0xAC00 + i); // 가, 각, 갂 …
    return s;
}
} // namespace

class TstSmsText : public QObject {
    Q_OBJECT
private slots:
    void cut_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("41 syllables keep 40") << syllables(41) << syllables(40);
        QTest::newRow("80 bytes stay") << syllables(40) << syllables(40);
        // A syllable straddling byte 80 is dropped whole, not turned into a blank or half.
        QTest::newRow("odd start drops the straddler") << ("a" + syllables(40)) << ("a" + syllables(39));
        QTest::newRow("81 ascii") << QString(81, 'x') << QString(80, 'x');
        QTest::newRow("quote kept") << QStringLiteral("it's \"ok\"") << QStringLiteral("it's \"ok\"");
        // An emoji (outside the code page: one '?') is one byte and never split from its pair.
        QTest::newRow("surrogate pair at the cut") << (QString(79, 'x') + QStringLiteral("😀😀"))
                                                   << (QString(79, 'x') + QStringLiteral("😀"));
        // Jamo typed apart (decomposed) are one syllable each.
        QTest::newRow("decomposed hangul") << (syllables(39) + QStringLiteral("\u1100\u1161\u1100\u1161"))
                                           << (syllables(39) + QStringLiteral("가"));
    }
    void cut()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QString got = cutToSmsBytes(text);
        QCOMPARE(got, expected);
        QVERIFY(smsBytes(got) <= kSmsMaxBytes);
        QCOMPARE(toCp949(got).size(), qsizetype(smsBytes(got)));
    }

    void counters()
    {
        QCOMPARE(smsByteCounter(QStringLiteral("가나a")), QString("5/80byte"));
        QCOMPARE(smsTemplateByteCounter(QString()), QString("0/80bytes"));
    }

    void placeholders()
    {
        const QString t = QStringLiteral("{{이름}}님 {{날짜}} 만기. {{사용처}} {{이름}}");
        QCOMPARE(fillPlaceholders(t, QStringLiteral("홍길동"), QStringLiteral("2024-05-31"), QStringLiteral("바다스포츠")),
                 QStringLiteral("홍길동님 2024-05-31 만기. 바다스포츠 홍길동"));
        // A name that looks like a placeholder is not expanded again.
        QCOMPARE(fillPlaceholders(QStringLiteral("{{이름}}"), QStringLiteral("{{사용처}}"), {}, QStringLiteral("X")),
                 QStringLiteral("{{사용처}}"));
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("check");
        QTest::addColumn<QString>("written");
        QTest::newRow("10 digits 3-3-4") << "0161234567" << int(NumberCheck::Ok) << "016-123-4567";
        QTest::newRow("11 digits 3-4-4") << "01012345678" << int(NumberCheck::Ok) << "010-1234-5678";
        QTest::newRow("typed with hyphens") << "010-1234-5678" << int(NumberCheck::Ok) << "010-1234-5678";
        QTest::newRow("empty") << "  " << int(NumberCheck::Empty) << "";
        QTest::newRow("too short") << "010123456" << int(NumberCheck::TooShort) << "";
        QTest::newRow("not a mobile") << "0212345678" << int(NumberCheck::BadForm) << "";
        QTest::newRow("12 digits") << "010123456789" << int(NumberCheck::BadForm) << "";
        QTest::newRow("letters") << "010-1234-567a" << int(NumberCheck::BadForm) << "";
        QTest::newRow("015 is no prefix") << "01512345678" << int(NumberCheck::BadForm) << "";
    }
    void numbers()
    {
        QFETCH(QString, typed);
        QFETCH(int, check);
        QFETCH(QString, written);
        QCOMPARE(int(checkMobileNumber(typed)), check);
        QCOMPARE(formatMobileNumber(typed), written);
    }

    void numberTexts()
    {
        QCOMPARE(numberCheckText(NumberCheck::Empty), QString("보내실 연락처를 입력해주세요."));
        QCOMPARE(numberCheckText(NumberCheck::TooShort), QString("보내실 휴대폰번호가 잘못되었습니다. 확인해주세요"));
        QCOMPARE(numberCheckText(NumberCheck::BadForm), QString("번호가 형식에 맞지 않습니다."));
    }

    void hours_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("hour");
        QTest::newRow("midnight") << "오전 12" << 0;
        QTest::newRow("morning") << "오전 09" << 9;
        QTest::newRow("noon") << "오후 12" << 12;
        QTest::newRow("afternoon adds 12") << "오후 01" << 13;
        QTest::newRow("last") << "오후 11" << 23;
        QTest::newRow("other text") << "13" << -1;
    }
    void hours()
    {
        QFETCH(QString, item);
        QFETCH(int, hour);
        QCOMPARE(hourOfItem(item), hour);
        if (hour >= 0)
            QCOMPARE(itemOfHour(hour), item);
    }

    void hourListCoversTheDay()
    {
        const QStringList items = reservationHourItems();
        QCOMPARE(items.size(), 24);
        for (int h = 0; h < 24; ++h)
            QCOMPARE(hourOfItem(items.at(h)), h);
    }

    void reservation()
    {
        const QDateTime at(QDate(2024, 5, 10), QTime(14, 5));
        QCOMPARE(reservationTime(at), QString("202405101405"));
        QCOMPARE(parseReservationTime(QStringLiteral("202405101405")), at);
        QVERIFY(!parseReservationTime(QStringLiteral("2024051014")).isValid());
        QVERIFY(!parseReservationTime(QStringLiteral("202413101405")).isValid());
    }

    // Only mobile numbers are taken, each member once; the list's date comes along.
    void recipients()
    {
        MemberContacts m;
        m << MemberContact{"1", "가", "010-1111-2222", {}, {}, {}, "05-01"}
          << MemberContact{"2", "나", "02-123-4567", {}, {}, {}, "05-02"}
          << MemberContact{"3", "다", "", {}, {}, {}, {}}
          << MemberContact{"1", "가", "010-1111-2222", {}, {}, {}, "05-01"}
          << MemberContact{"4", "라", "019 123 4567", {}, {}, {}, "05-04"};
        const QList<SmsRecipient> r = smsRecipientsOf(m);
        QCOMPARE(r.size(), 2);
        QCOMPARE(r.at(0), (SmsRecipient{"1", "가", "010-1111-2222", "05-01"}));
        QCOMPARE(r.at(1).mbCode, QString("4"));
    }

    void callers_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("heading");
        QTest::newRow("member list") << "회원조회1" << "SMS 문자전송" << "생일";
        QTest::newRow("lockers") << "사물함대여현황" << "사물함 미반납자회원 문자보내기" << "만기일";
        QTest::newRow("attendance") << "출석현황" << "SMS 문자전송" << "일자";
        QTest::newRow("batch query") << "일괄조회" << "SMS 문자전송" << "만기일";
    }
    void callers()
    {
        QFETCH(QString, caller);
        QFETCH(QString, title);
        QFETCH(QString, heading);
        MemberContacts m{MemberContact{"00000001", "홍길동", "010-1234-5678", {}, {}, {}, "2024-05-31"}};
        const SmsHandover h = smsHandoverOf(smsScreenArgs(m, caller));
        QCOMPARE(h.title, title);
        QCOMPARE(h.dateHeading, heading);
        QCOMPARE(h.caller, caller);
        QCOMPARE(h.members, m);
        // The caller's own title and heading win.
        const SmsHandover own = smsHandoverOf(smsScreenArgs(m, caller, QStringLiteral("T"), QStringLiteral("H")));
        QCOMPARE(own.title, QString("T"));
        QCOMPARE(own.dateHeading, QString("H"));
    }

    // The provider's tables keep the provider's names and columns (in its
    // order), so that a provider database that has them is used as it is;
    // none of them is in the program's own schema.
    void providerTables()
    {
        const QHash<QString, QStringList> expected{
            {"tblMember", {"Idx", "custom_id", "custom_pwd", "custom_nam", "custom_Tel", "custom_Hp", "loginN", "loginD",
                           "Sub_id"}},
            {"tblAccount", {"Sub_Id", "M_PastG"}},
            {"tblReceipt", {"Idx", "Sub_Id", "ReceiD", "ReceiM", "ReceiG", "pastG"}},
            {"tblContent", {"idx", "custom_id", "title", "context"}},
            {"send_zelmar", {"seq", "user_id", "sub_id", "user_tel", "custom_id", "custom_nam", "custom_tel", "msg",
                             "typ", "y_time"}},
            {"result_zelmar", {"id", "custom_id", "user_tel", "custom_nam", "msg", "custom_tel", "result_msg", "fee2",
                               "i_time", "s_time"}}};
        QCOMPARE(int(smsProviderTables().size()), expected.size());
        for (const Table &t : smsProviderTables()) {
            QStringList names;
            for (const Column &c : t.columns)
                names << c.name;
            QCOMPARE(names, expected.value(t.name));
            QVERIFY2(!findTable(t.name), qPrintable(t.name));
        }
    }

    void configuration()
    {
        QTemporaryDir dir;
        const IniFile ini(dir.filePath("Pginfo.Ini"));
        ini.setValue("DATABASE", "Type", "ACCESS");
        QVERIFY(!readSmsConfig(ini).inUse());

        SmsConfig c;
        c.primary.engine = Engine::PostgreSQL;
        c.primary.database = "sms";
        c.primary.host = "10.0.0.5";
        c.primary.port = 5433;
        c.primary.user = "centre";
        c.primary.password = "s3cret;=x";
        SmsEndpoint second = c.primary;
        second.host = "10.0.0.6";
        c.secondary = second;
        c.sendAs = "agent7";
        QVERIFY(writeSmsConfig(ini, c));
        QString problem;
        const SmsConfig back = readSmsConfig(ini, &problem);
        QVERIFY(problem.isEmpty());
        QVERIFY(back.inUse());
        QCOMPARE(back.primary.password, QString("s3cret;=x"));
        QCOMPARE(back.primary.port, 5433);
        QVERIFY(back.secondary);
        QCOMPARE(back.results().host, QString("10.0.0.6"));
        QCOMPARE(back.sendAs, QString("agent7"));
        QCOMPARE(ini.value("DATABASE", "Type"), QString("ACCESS"));

        // A secondary that is the primary is none.
        c.secondary = c.primary;
        writeSmsConfig(ini, c);
        QVERIFY(!readSmsConfig(ini).secondary);

        // An engine nobody knows leaves SMS off and says which key is wrong.
        ini.setValue("SMS", "PrimaryEngine", "mssql");
        const SmsConfig bad = readSmsConfig(ini, &problem);
        QVERIFY(!bad.inUse());
        QVERIFY(problem.contains("PrimaryEngine"));
    }
};

QTEST_GUILESS_MAIN(TstSmsText)
#include "tst_smstext.moc"
