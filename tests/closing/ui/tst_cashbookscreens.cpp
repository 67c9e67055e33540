// FITROVA_DB_TEST
// The cash book screens driven as the office would: accounts by kind, a day
// of entries with the balance brought forward, the brought-forward row that
// cannot be changed, the period inquiry, and the printed report read back
// from its PDF.

#include "uitest.h"
#include <QtTest>

#include "closing/ui/cashbookaccountscreen.h"
#include "closing/ui/cashbookentryscreen.h"
#include "closing/ui/cashbookqueryscreen.h"
#include "closing/ui/cashbookreport.h"
#include "closing/ui/cashbookscreens.h"
#include "testinstall.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/moneyedit.h"
#include "widgets/pagedpreview.h"
#include "widgets/screenregistry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QDate>
#include <QWidget>

using namespace fitrova;
using namespace fitrova::test;

namespace {

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(20000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString flat_(QString s)
{
    return s.remove(QRegularExpression("\\s"));
}

void shot(QWidget &w, const char *name)
{
    const QByteArray dir = qgetenv("FITROVA_SHOT_DIR");
    if (dir.isEmpty())
        return;
    w.resize(w.size().boundedTo(QSize(1024, 700)));
    w.show();
    QTest::qWait(50);
    w.grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

} // namespace

class TstCashBookScreens : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_msg.clear();
        for (const char *t : {"수입지출", "적요코드", "계정과목"})
            m_inst.db().exec(QStringLiteral("DELETE FROM %1").arg(QString::fromUtf8(t)));
    }

    void menuItemsOpenTheScreens()
    {
        ScreenRegistry r;
        registerCashBookScreens(r);
        for (const char *name : {"Menu81", "Menu82", "Menu83", "회계_적요코드"})
            QVERIFY2(r.contains(QString::fromUtf8(name)), name);
    }

    void accounts()
    {
        CashAccountScreen s(m_ui);
        auto *kind = child<QComboBox>(&s, "Cob과목구분");
        auto *code = child<QLineEdit>(&s, "Txt과목코드");
        auto *name = child<QLineEdit>(&s, "Txt과목명");
        QCOMPARE(code->text(), QString("100"));
        name->setText("회비");
        click(&s, "Cmd저장");
        QCOMPARE(m_msg.lastText(), QString("저장되었읍니다"));
        QCOMPARE(s.grid()->rowCount(), 1);

        click(&s, "Cmd신규");
        QCOMPARE(code->text(), QString("101"));
        kind->setCurrentIndex(1);
        QCOMPARE(code->text(), QString("200"));
        name->clear();
        click(&s, "Cmd저장");
        QCOMPARE(m_msg.last().text, QString("과목명을 입력하셔야 합니다."));
        name->setText("임대료");
        child<QComboBox>(&s, "Cob금액구분")->setCurrentIndex(1);
        click(&s, "Cmd저장");
        QCOMPARE(s.grid()->rowCount(), 2);
        QCOMPARE(s.grid()->rowCells(1), (QStringList{"200", "임대료", "지출", "카드"}));

        // The filter keeps to one kind.
        child<QComboBox>(&s, "Cob조회구분")->setCurrentIndex(2);
        QCOMPARE(s.grid()->rowCount(), 1);
        shot(s, "cashbook-accounts");

        // Deleting asks first.
        s.grid()->setCurrentRow(0);
        m_msg.answer(true);
        click(&s, "Cmd삭제");
        QCOMPARE(m_msg.last().kind, QString("ask"));
        QCOMPARE(s.grid()->rowCount(), 0);
    }

    void dailyEntries()
    {
        m_inst.db().exec("INSERT INTO 계정과목 (과목코드, 과목명, 과목구분, 금액구분) VALUES ('100', '회비', '1', '1')");
        m_inst.db().exec("INSERT INTO 계정과목 (과목코드, 과목명, 과목구분, 금액구분) VALUES ('200', '임대료', '2', '1')");
        m_inst.db().exec("INSERT INTO 수입지출 (일자, 년월, 과목구분, 과목코드, 금액구분, 수입, 지출) "
                         "VALUES ('2024-05-09', '2024-05', '1', '100', '1', 40000, 0)");
        CashEntryScreen s(m_ui);
        s.dateEdit()->setDateText("2024-05-10");
        QCOMPARE(s.grid()->rowCount(), 1);
        QCOMPARE(s.grid()->cell(0, 1), QString("[전기이월]"));
        QCOMPARE(s.grid()->cell(0, 6), QString("40,000"));

        auto *code = child<QLineEdit>(&s, "Txt과목코드");
        code->setText("300");
        QVERIFY(!s.lookupAccount());
        QCOMPARE(m_msg.lastText(), QString("등록되지 않은 과목코드 입니다."));
        code->setText("200");
        QVERIFY(s.lookupAccount());
        QCOMPARE(child<QLabel>(&s, "Pnl과목명")->text(), QString("임대료"));
        QCOMPARE(child<QLabel>(&s, "Pnl과목구분")->text(), QString("2.지출"));
        child<MoneyEdit>(&s, "Txt금액")->setText("5,000");
        child<QLineEdit>(&s, "Txt적요")->setText("관리비");
        click(&s, "Cmd저장");
        QCOMPARE(s.grid()->rowCount(), 2);
        QCOMPARE(s.grid()->rowCells(1), (QStringList{"200", "임대료", "", "5,000", "현금", "관리비", "35,000"}));
        QCOMPARE(child<QLabel>(&s, "Pnl합계")->text(), QString("수입 0   지출 5,000   잔액 35,000"));

        // An amount that cannot be read is refused before anything is written.
        code->setText("100");
        child<MoneyEdit>(&s, "Txt금액")->setText("5,0,0x");
        click(&s, "Cmd저장");
        QCOMPARE(s.grid()->rowCount(), 2);

        // The brought-forward row is not an entry.
        s.grid()->setCurrentRow(0);
        click(&s, "Cmd저장");
        QCOMPARE(m_msg.last().text, QString("이월자료는 수정할수 없읍니다."));
        QCOMPARE(m_msg.last().title, QString("수정오류"));

        // A chosen entry is changed in place.
        s.grid()->setCurrentRow(1);
        QCOMPARE(child<MoneyEdit>(&s, "Txt금액")->amount(), 5000);
        child<MoneyEdit>(&s, "Txt금액")->setAmount(7000);
        click(&s, "Cmd저장");
        QCOMPARE(s.grid()->cell(1, 6), QString("33,000"));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM 수입지출").toInt(), 2);

        // The next day brings the balance forward.
        s.dateEdit()->setDateText("2024-05-11");
        QCOMPARE(s.grid()->cell(0, 6), QString("33,000"));
        shot(s, "cashbook-entries");
    }

    void periodAndReport()
    {
        const Db &db = m_inst.db();
        db.exec("INSERT INTO 계정과목 (과목코드, 과목명, 과목구분, 금액구분) VALUES ('100', '회비', '1', '1')");
        db.exec("INSERT INTO 계정과목 (과목코드, 과목명, 과목구분, 금액구분) VALUES ('201', '소모품비', '2', '2')");
        const auto add = [&](const char *date, const char *code, const char *kind, qint64 in, qint64 out, const QString &text) {
            db.exec("INSERT INTO 수입지출 (일자, 년월, 과목구분, 과목코드, 과목명, 금액구분, 수입, 지출, 적요) "
                    "VALUES (?, ?, ?, ?, '', '1', ?, ?, ?)",
                    {date, QString(date).left(7), kind, code, in, out, text});
        };
        add("2024-04-30", "100", "1", 100000, 0, "4월 회비");
        add("2024-05-02", "100", "1", 30000, 0, "5월 회비");
        add("2024-05-20", "201", "2", 0, 12500, "세제 구입");

        CashQueryScreen s(m_ui);
        child<DateEdit>(&s, "DtpFdate")->setDateText("2024-05-01");
        child<DateEdit>(&s, "DtpTdate")->setDateText("2024-05-31");
        s.query();
        QCOMPARE(s.grid()->rowCount(), 4);
        QCOMPARE(s.grid()->cell(0, 0), QString("[전기이월]"));
        QCOMPARE(s.grid()->cell(0, 8), QString("100,000"));
        QCOMPARE(s.grid()->rowCells(2), (QStringList{"2024-05-20", "201", "지출", "소모품비", "현금", "세제 구입", "0", "12,500",
                                                     "117,500"}));
        QCOMPARE(s.grid()->rowCells(3), (QStringList{"[합    계]", "", "", "", "", "2 건", "30,000", "12,500", "117,500"}));

        // Only expenses: the balance brought forward still counts everything before.
        child<QComboBox>(&s, "Cob과목구분")->setCurrentIndex(2);
        s.query();
        QCOMPARE(s.grid()->rowCount(), 3);
        QCOMPARE(s.grid()->cell(1, 8), QString("87,500"));
        QCOMPARE(s.reportData().condition, QString("계정구분 : 2-지출   계정과목 : A-ALL   현금/카드 : A-ALL"));
        shot(s, "cashbook-period");

        // The report, drawn by the program, read back from its PDF.
        child<QComboBox>(&s, "Cob과목구분")->setCurrentIndex(0);
        s.query();
        CashBookReport report(s.reportData());
        QTemporaryDir dir;
        const QString pdf = dir.filePath("cashbook.pdf");
        QVERIFY(printDocumentToPdf(report, pdf));
        const QString text = pdfText(pdf);
        if (text.isEmpty())
            QSKIP("pdftotext is not installed");
        // Compared without the blanks: how wide a gap must be to read as one
        // is the extractor's guess.
        const QString flat = flat_(text);
        for (const char *want : {"수입지출현황", "기간 : 2024-05-01~2024-05-31", "계정구분 : A-ALL", "[전기이월]", "5월 회비",
                                 "세제 구입", "소모품비", "117,500", "[합    계]", "2 건", "- 1 / 1 -"})
            QVERIFY2(flat.contains(flat_(QString::fromUtf8(want))), want);
        // Each row on one line: the date, the account and its amounts together.
        QVERIFY(text.contains(QRegularExpression("2024-05-20\\s+201\\s+지출\\s+소모품비\\s+현금\\s+세제\\s*구입\\s+0\\s+12,500\\s+117,500")));
    }

    // A long book runs over several pages, the heads on every page.
    void reportPages()
    {
        CashBookReportData d;
        d.period = "2024-01-01~2024-12-31";
        d.printDate = QDate(2024, 12, 31);
        for (int i = 0; i < 120; ++i) {
            CashEntry e;
            e.date = QDate(2024, 1, 1).addDays(i).toString("yyyy-MM-dd");
            e.accountCode = "100";
            e.accountName = "회비";
            e.kind = "1";
            e.payKind = "1";
            e.income = 1000;
            e.balance = 1000 * (i + 1);
            d.book.entries << e;
            d.book.totalIncome += 1000;
        }
        CashBookReport report(d);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("long.pdf");
        QVERIFY(printDocumentToPdf(report, pdf));
        QPrinter probe(QPrinter::HighResolution);
        probe.setOutputFormat(QPrinter::PdfFormat);
        report.setupPage(probe);
        const int pages = report.pageCount(probe);
        QVERIFY(pages >= 3);
        const QString text = pdfText(pdf);
        if (text.isEmpty())
            QSKIP("pdftotext is not installed");
        QCOMPARE(text.count("잔액"), pages);
        QVERIFY(flat_(text).contains(QString("-%1/%1-").arg(pages)));
        QVERIFY(text.contains("120,000"));
    }

private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
};

QTEST_MAIN(TstCashBookScreens)
#include "tst_cashbookscreens.moc"
