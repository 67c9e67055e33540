// FITROVA_DB_TEST
// The diary screens driven offscreen: the month calendar puts each entry in
// its day's cell and keeps personal entries to their maker; a day opens the
// entry screen and the calendar is drawn again when it saved; the entry
// screen's time switches are remembered per user, an empty title writes
// nothing, a chosen entry is changed in place and Delete removes it.

#include "uitest.h"
#include <QtTest>

#include "schedule/ui/schedulecalendarscreen.h"
#include "schedule/ui/scheduleentrydialog.h"
#include "schedule/ui/schedulescreens.h"
#include "testinstall.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/screenregistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QToolButton>
#include <QDate>
#include <QDateTime>

using namespace fitrova;
using namespace fitrova::test;

namespace {

void addEntry(const Db &db, const char *gubun, const char *user, const char *date, const char *title,
              const char *time1 = "")
{
    db.exec("INSERT INTO Schedule (ScGubun, ScUserCode, ScDate, ScTime1, ScTime2, ScTit, ScDetail) "
            "VALUES (?, ?, ?, ?, '', ?, '세부')",
            {gubun, user, date, time1, title});
}

} // namespace

class TstScheduleScreens : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        scheduleSettings("0001")->clear();
        m_inst.clock().set(QDateTime(QDate(2024, 5, 10), QTime(9, 17)));
    }
    void init()
    {
        m_msg.clear();
        m_inst.db().exec("DELETE FROM Schedule");
    }

    void menuItem()
    {
        ScreenRegistry r;
        registerScheduleScreens(r);
        QVERIFY(r.contains("Menu85"));
    }

    void calendar()
    {
        addEntry(m_inst.db(), "0", "0001", "2024-05-10", "수영장 점검", "오전 09:30");
        addEntry(m_inst.db(), "0", "0002", "2024-05-21", "강사 회의", "오후 02:00");
        addEntry(m_inst.db(), "1", "0001", "2024-05-10", "내 메모");
        addEntry(m_inst.db(), "1", "0002", "2024-05-10", "남의 메모");
        ScheduleCalendarScreen s(m_ui);
        QCOMPARE(child<QLabel>(&s, "Pnlyy")->text(), QString("2024"));
        QCOMPARE(child<QComboBox>(&s, "CobMM")->currentText(), QString("05"));
        QCOMPARE(s.calendar()->rowCount(), 5);
        QCOMPARE(s.dayLines(QDate(2024, 5, 10)), QStringList{"AM 09:30 수영장 점검"});
        QCOMPARE(s.dayLines(QDate(2024, 5, 21)), QStringList{"PM 02:00 강사 회의"});
        // May 10th 2024 is a Friday in the second week.
        QVERIFY(s.calendar()->item(1, 5)->text().contains("수영장 점검"));

        child<QComboBox>(&s, "Cob일정구분")->setCurrentIndex(1);
        QCOMPARE(s.dayLines(QDate(2024, 5, 10)), QStringList{"내 메모"});
        QVERIFY(s.dayLines(QDate(2024, 5, 21)).isEmpty());
        child<QCheckBox>(&s, "Chk세부내용")->setChecked(true);
        QCOMPARE(s.dayLines(QDate(2024, 5, 10)), (QStringList{"내 메모", "세부"}));
        QCOMPARE(scheduleSettings("0001")->value("일정표/세부내용").toString(), QString("True"));
        child<QCheckBox>(&s, "Chk세부내용")->setChecked(false);

        // Month and year steps.
        click(&s, "CmdMMUp");
        QCOMPARE(s.month(), 6);
        click(&s, "CmdYYDown");
        QCOMPARE(s.year(), 2023);
        QCOMPARE(child<QLabel>(&s, "Pnlyy")->text(), QString("2023"));
        s.setMonth(2024, 12);
        click(&s, "CmdMMUp");
        QCOMPARE(s.year(), 2025);
        QCOMPARE(s.month(), 1);

        // A day opens the entry screen; a save there draws the month again.
        s.setMonth(2024, 5);
        QDate opened;
        s.runEntryScreen = [&](const QDate &day) {
            opened = day;
            addEntry(m_inst.db(), "1", "0001", "2024-05-15", "새 메모");
            return true;
        };
        s.openDay(QDate(2024, 5, 15));
        QCOMPARE(opened, QDate(2024, 5, 15));
        QCOMPARE(s.dayLines(QDate(2024, 5, 15)), QStringList{"새 메모"});

        const QByteArray dir = qgetenv("FITROVA_SHOT_DIR");
        if (!dir.isEmpty()) {
            child<QComboBox>(&s, "Cob일정구분")->setCurrentIndex(0);
            s.resize(1000, 680);
            s.show();
            QTest::qWait(50);
            s.grab().save(QString::fromLocal8Bit(dir) + "/schedule-calendar.png");
        }
    }

    void entryScreen()
    {
        ScheduleEntryDialog d(m_ui, "1", "0001", QDate(2024, 5, 10));
        QCOMPARE(d.windowTitle(), QString("일정등록(개인용)"));
        auto *useStart = child<QCheckBox>(&d, "Chk시작시간");
        auto *useEnd = child<QCheckBox>(&d, "Chk종료시간");
        auto *start = child<QComboBox>(&d, "CobTime1");
        auto *end = child<QComboBox>(&d, "CobTime2");
        auto *title = child<QLineEdit>(&d, "TxtTit");
        QCOMPARE(start->count(), 48);
        QVERIFY(!useStart->isChecked());
        QVERIFY(!start->isEnabled());
        QCOMPARE(start->currentIndex(), -1);

        // Switching the start time on takes the slot of now and remembers the switch.
        useStart->setChecked(true);
        QCOMPARE(start->currentText(), QString("오전 09:30"));
        QCOMPARE(scheduleSettings("0001")->value("일정등록/시작시간").toString(), QString("True"));

        // No title: nothing written.
        d.SaveProc();
        QCOMPARE(m_msg.last().text, QString("제목을 입력하세요"));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Schedule").toInt(), 0);
        QVERIFY(!d.TF);

        title->setText("수영장 점검");
        child<QPlainTextEdit>(&d, "Txtdetail")->setPlainText("여과기");
        QVERIFY(d.SaveProc());
        QVERIFY(d.TF);
        QCOMPARE(d.list()->rowCount(), 1);
        QCOMPARE(title->text(), QString());
        const auto row = m_inst.db().queryOne("SELECT ScGubun, ScUserCode, ScDate, ScTime1, ScTime2, ScTit, ScDetail FROM Schedule");
        QCOMPARE(row->str("ScGubun"), QString("1"));
        QCOMPARE(row->str("ScUserCode"), QString("0001"));
        QCOMPARE(row->str("ScDate"), QString("2024-05-10"));
        QCOMPARE(row->str("ScTime1"), QString("오전 09:30"));
        QCOMPARE(row->str("ScTime2"), QString(""));
        QCOMPARE(row->str("ScDetail"), QString("여과기"));

        // A chosen entry comes back into the inputs and is changed in place.
        d.list()->setCurrentRow(0);
        QCOMPARE(title->text(), QString("수영장 점검"));
        QCOMPARE(start->currentText(), QString("오전 09:30"));
        title->setText("수영장 점검(오후)");
        start->setCurrentIndex(start->findText("오후 03:00"));
        useEnd->setChecked(true);
        end->setCurrentIndex(end->findText("오후 04:00"));
        QVERIFY(d.SaveProc());
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Schedule").toInt(), 1);
        QCOMPARE(m_inst.db().scalar("SELECT ScTime1 || '~' || ScTime2 || ' ' || ScTit FROM Schedule").toString(),
                 QString("오후 03:00~오후 04:00 수영장 점검(오후)"));

        // The list follows the period and keeps to the user's own entries.
        addEntry(m_inst.db(), "1", "0002", "2024-05-10", "남의 메모");
        addEntry(m_inst.db(), "1", "0001", "2024-05-12", "다음 메모");
        d.refill();
        QCOMPARE(d.list()->rowCount(), 1);
        child<DateEdit>(&d, "DtpTdate")->setDateText("2024-05-31");
        QCOMPARE(d.list()->rowCount(), 2);

        // Delete asks, then removes.
        d.list()->setCurrentRow(1);
        m_msg.answer(true);
        QTest::keyClick(d.list(), Qt::Key_Delete);
        QCOMPARE(m_msg.last().text, QString("현제 선택한 자료를 삭제하시겠읍니까?"));
        QCOMPARE(d.list()->rowCount(), 1);
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Schedule WHERE ScTit = '다음 메모'").toInt(), 0);

        // Switches stay as the user left them for the next time.
        ScheduleEntryDialog again(m_ui, "0", "0001", QDate(2024, 5, 10));
        QCOMPARE(again.windowTitle(), QString("일정등록(공용)"));
        QVERIFY(child<QCheckBox>(&again, "Chk시작시간")->isChecked());
        QVERIFY(child<QCheckBox>(&again, "Chk종료시간")->isChecked());
        QCOMPARE(child<QComboBox>(&again, "CobTime2")->currentText(), QString("오전 10:00"));
        const QByteArray dir = qgetenv("FITROVA_SHOT_DIR");
        if (!dir.isEmpty()) {
            d.show();
            QTest::qWait(50);
            d.grab().save(QString::fromLocal8Bit(dir) + "/schedule-entry.png");
        }
    }

    // Editing an entry that another workstation deleted meanwhile.
    void deletedMeanwhile()
    {
        addEntry(m_inst.db(), "0", "0001", "2024-05-10", "곧 지워짐");
        ScheduleEntryDialog d(m_ui, "0", "0001", QDate(2024, 5, 10));
        d.list()->setCurrentRow(0);
        QVERIFY(d.editingId() > 0);
        m_inst.db().exec("DELETE FROM Schedule");
        child<QLineEdit>(&d, "TxtTit")->setText("고침");
        QVERIFY(!d.SaveProc());
        QCOMPARE(m_msg.last().text, QString("자료를 찾을수 없읍니다"));
        QCOMPARE(m_msg.last().title, QString("일정저장"));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Schedule").toInt(), 0);
        QCOMPARE(d.list()->rowCount(), 0);
    }

private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
};

QTEST_MAIN(TstScheduleScreens)
#include "tst_schedulescreens.moc"
