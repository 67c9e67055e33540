// FITROVA_DB_TEST
// The close question on every kind of editing screen: nothing asks when
// nothing changed; after a change "변경된 내용을 저장하시겠습니까?" — 취소
// stays, 아니오 closes without saving, 예 saves and closes.

#include <QtTest>

#include "catalogue/ui/courseitemscreen.h"
#include "catalogue/ui/lecturereditdialog.h"
#include "catalogue/ui/programeditdialog.h"
#include "catalogue/ui/timeprogramdialog.h"
#include "closing/ui/cashbookentryscreen.h"
#include "lockers/ui/lockergroupdialog.h"
#include "sales/ui/goodseditdialog.h"
#include "schedule/ui/scheduleentrydialog.h"
#include "settings/ui/businessscreen.h"
#include "settings/ui/workstationscreen.h"
#include "shell/ui/usereditdialog.h"
#include "testinstall.h"
#include "uitest.h"
#include "widgets/datagrid.h"
#include "widgets/unsavedchanges.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <memory>

using namespace fitrova;
using namespace fitrova::test;

class TstUnsavedChanges : public QObject {
    Q_OBJECT
private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};

    std::unique_ptr<QWidget> open(const QString &kind)
    {
        std::unique_ptr<QWidget> w;
        if (kind == "lecturer")
            w = std::make_unique<LecturerEditDialog>(m_ui, "N", QString());
        else if (kind == "courseItem")
            w = std::make_unique<CourseItemScreen>(m_ui);
        else if (kind == "program")
            w = std::make_unique<ProgramEditDialog>(m_ui, "N", 0);
        else if (kind == "timeProgram")
            w = std::make_unique<TimeProgramDialog>(m_ui, "N", 0);
        else if (kind == "user")
            w = std::make_unique<UserEditDialog>(m_ui, "N");
        else if (kind == "business")
            w = std::make_unique<BusinessScreen>(m_ui);
        else if (kind == "workstation")
            w = std::make_unique<WorkstationScreen>(m_ui);
        else if (kind == "lockerGroup")
            w = std::make_unique<LockerGroupDialog>(m_ui, "N", QString());
        else if (kind == "cashEntry")
            w = std::make_unique<CashEntryScreen>(m_ui);
        else if (kind == "schedule")
            w = std::make_unique<ScheduleEntryDialog>(m_ui, "0", m_inst.ctx().user.psCode, QDate(2024, 5, 10));
        else if (kind == "goods")
            w = std::make_unique<GoodsEditDialog>(m_ui, "N", 0);
        w->show();
        return w;
    }
    QLineEdit *field(QWidget *w, const QString &name)
    {
        auto *e = w->findChild<QLineEdit *>(name);
        if (!e)
            qFatal("no field %s", qPrintable(name));
        return e;
    }

private slots:
    void closing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // counts the typed text once saved ("" when 예 is not driven)
        QTest::newRow("instructor") << "lecturer" << "TxtLtName" << "박강사" << "SELECT COUNT(*) FROM Lecturer WHERE LTName = ?";
        QTest::newRow("course item") << "courseItem" << "TxtName" << "아쿠아" << "";
        QTest::newRow("program") << "program" << "TxtPgname" << "새벽수영" << "";
        QTest::newRow("time program") << "timeProgram" << "TxtPgname" << "자유수영" << "";
        QTest::newRow("user") << "user" << "TxtUserName" << "홍길동" << "";
        QTest::newRow("business") << "business" << "Txt사용처" << "브렌무어 스포츠센터"
                                  << "SELECT COUNT(*) FROM Place WHERE 사용처명 = ?";
        QTest::newRow("settings, second page") << "workstation" << "TxtPcname" << "DESK9" << "";
        QTest::newRow("locker group") << "lockerGroup" << "TxtBoxName" << "남자탈의실" << "";
        QTest::newRow("cash book entry") << "cashEntry" << "Txt적요" << "수도요금" << "";
        QTest::newRow("diary entry") << "schedule" << "TxtTit" << "강사회의" << "SELECT COUNT(*) FROM Schedule WHERE ScTit = ?";
        QTest::newRow("goods item") << "goods" << "TxtItName" << "수경" << "";
    }
    void closing()
    {
        QFETCH(QString, kind);
        QFETCH(QString, input);
        QFETCH(QString, typed);
        QFETCH(QString, stored);

        // Unchanged: closes without a word.
        {
            auto w = open(kind);
            m_msg.clear();
            click(w.get(), "Cmd닫기");
            QVERIFY(!w->isVisible());
            QCOMPARE(m_msg.texts(), QStringList());
        }
        // Changed: 취소 stays, 아니오 closes and nothing is stored.
        {
            auto w = open(kind);
            if (auto *tabs = w->findChild<QTabWidget *>(); tabs && kind == "workstation")
                tabs->setCurrentIndex(1);
            field(w.get(), input)->setText(typed);
            m_msg.clear();
            m_msg.answer(Messages::Choice::Cancel);
            click(w.get(), "Cmd닫기");
            QCOMPARE(m_msg.texts(), QStringList{UnsavedChanges::questionText()});
            QVERIFY(w->isVisible());
            m_msg.answer(Messages::Choice::No);
            click(w.get(), "Cmd닫기");
            QVERIFY(!w->isVisible());
            if (!stored.isEmpty())
                QCOMPARE(m_inst.db().scalar(stored, {typed}).toInt(), 0);
        }
        // 예 saves, then closes.
        if (!stored.isEmpty()) {
            auto w = open(kind);
            field(w.get(), input)->setText(typed);
            m_msg.clear();
            m_msg.answer(Messages::Choice::Yes);
            click(w.get(), "Cmd닫기");
            QCOMPARE(m_msg.texts().first(), UnsavedChanges::questionText());
            QVERIFY2(!w->isVisible(), qPrintable(m_msg.texts().join(" / ")));
            QCOMPARE(m_inst.db().scalar(stored, {typed}).toInt(), 1);
        }
    }

    // A fee typed into the program's fee table counts as a change; saving it
    // makes the editor clean again.
    void feeTableCounts()
    {
        auto w = open("program");
        auto *dlg = static_cast<ProgramEditDialog *>(w.get());
        auto *course = dlg->findChild<QComboBox *>("CobCour");
        QVERIFY(course && course->count() > 0);
        course->setCurrentIndex(0);
        QVERIFY(dlg->feeGrid()->rowCount() > 0);
        UnsavedChanges::markCleanOf(dlg); // the item chosen; only the fee is typed
        dlg->feeGrid()->setCell(0, dlg->feeGrid()->columnCount() - 1, "60,000");
        m_msg.clear();
        m_msg.answer(Messages::Choice::Cancel);
        click(dlg, "Cmd닫기");
        QCOMPARE(m_msg.texts(), QStringList{UnsavedChanges::questionText()});
        QVERIFY(dlg->isVisible());
    }
};

QTEST_MAIN(TstUnsavedChanges)
#include "tst_unsavedchanges.moc"
