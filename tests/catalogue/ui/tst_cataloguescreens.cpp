// FITROVA_DB_TEST
// One working session on the catalogue screens, driven as a clerk would:
// a course item with its month counts, small classes typed into the grid,
// member kinds and cards, an instructor, a period program with three fee
// rows and a time-based program, a change, and deletions of things in use.

#include <QtTest>

#include "catalogue/ui/cataloguescreens.h"
#include "catalogue/ui/classificationscreen.h"
#include "catalogue/ui/codetablescreen.h"
#include "catalogue/ui/courseitemscreen.h"
#include "catalogue/ui/lecturereditdialog.h"
#include "catalogue/ui/lecturerlistscreen.h"
#include "catalogue/ui/lecturerpickdialog.h"
#include "catalogue/ui/maintenancegrid.h"
#include "catalogue/ui/programeditdialog.h"
#include "catalogue/ui/programlistscreen.h"
#include "catalogue/ui/timeprogramdialog.h"
#include "widgets/screenregistry.h"
#include "testinstall.h"
#include "uitest.h"
#include "widgets/datagrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <functional>

using namespace fitrova;
using fitrova::test::TestInstall;
using namespace fitrova::test;

namespace {

// Types text as the input method delivers Hangul.
void typeInto(QWidget *w, const QString &text)
{
    w->setFocus();
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
}

void replaceText(QLineEdit *field, const QString &text)
{
    field->selectAll();
    typeInto(field, text);
}

// Opens the cell's editor, types the text and ends the edit with Enter.
void editCell(DataGrid *grid, int row, int col, const QString &text)
{
    grid->setFocus();
    grid->setCurrentCell(row, col);
    grid->edit(grid->model()->index(row, col));
    auto *editor = grid->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    typeInto(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!grid->viewport()->findChild<QLineEdit *>() || !grid->viewport()->findChild<QLineEdit *>()->isVisible());
}

bool selectItemStartingWith(QComboBox *combo, const QString &start)
{
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).startsWith(start)) {
            combo->setCurrentIndex(i);
            return true;
        }
    return false;
}

} // namespace

class TstCatalogueScreens : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        db().exec("DELETE FROM Sclass");
        db().exec("DELETE FROM Course");
    }

    void registration()
    {
        ScreenRegistry r;
        registerCatalogueScreens(r);
        QCOMPARE(r.menuNames(), QStringList({"Menu13", "Menu14", "Menu15", "Menu16"}));
        std::unique_ptr<QWidget> w(r.find("Menu16")->factory(m_ui, nullptr, {}));
        QCOMPARE(w->objectName(), QString("강좌등록"));
    }

    // A new course item: 신규 gives the code, the months are ticked, 저장 lists it.
    void courseItem()
    {
        CourseItemScreen screen(m_ui);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        auto *code = child<QLineEdit>(&screen, "TxtCode");
        QCOMPARE(code->text(), QString("1"));
        typeInto(child<QLineEdit>(&screen, "TxtName"), "수영");
        child<QCheckBox>(&screen, "Chkm2")->setChecked(true);
        child<QCheckBox>(&screen, "Chkm12")->setChecked(false);
        child<QCheckBox>(&screen, "ChkTransfer")->setChecked(false);
        click(&screen, "Cmd저장");
        QCOMPARE(screen.grid()->rowCount(), 1);
        QCOMPARE(screen.grid()->cell(0, 1), QString("수영"));
        const auto row = db().queryOne("SELECT * FROM Course WHERE PsGroup = 'P' AND Code = '1'");
        QVERIFY(row);
        QCOMPARE(row->num("mon1") + row->num("mon2") + row->num("mon3") + row->num("mon6"), 4);
        QCOMPARE(row->num("mon12"), 0);
        QCOMPARE(row->num("UseTransfer"), 0);
        QVERIFY(screen.TF);

        // A second item, then a change of the first picked from the grid.
        click(&screen, "Cmd신규");
        QCOMPARE(code->text(), QString("2"));
        typeInto(child<QLineEdit>(&screen, "TxtName"), "헬스");
        click(&screen, "Cmd저장");
        screen.grid()->setCurrentRow(0);
        QCOMPARE(code->text(), QString("1"));
        child<QCheckBox>(&screen, "Chkm12")->setChecked(true);
        click(&screen, "Cmd저장");
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Course WHERE PsGroup = 'P'").toInt(), 2);
        QCOMPARE(db().scalar("SELECT mon12 FROM Course WHERE PsGroup = 'P' AND Code = '1'").toInt(), 1);
    }

    // Small classes typed into the class grid; an item with classes stays.
    void classification()
    {
        ClassificationScreen screen(m_ui);
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        MaintenanceGrid *items = screen.itemGrid();
        MaintenanceGrid *classes = screen.classGrid();
        QCOMPARE(items->rowCount(), 3); // two items and the empty row
        QCOMPARE(screen.shownItem(), QString("1"));

        editCell(classes, 0, 1, "성인반");
        QTRY_COMPARE(classes->cell(0, 0), QString("01"));
        editCell(classes, 1, 1, "어린이반");
        QTRY_COMPARE(classes->cell(1, 0), QString("02"));
        QCOMPARE(classes->rowCount(), 3);
        QCOMPARE(db().scalar("SELECT SclassN FROM Sclass WHERE PsGroup = 'P' AND Course = '1' AND Sclass = '02'").toString(),
                 QString("어린이반"));

        // A new goods item in the other group gets its own code "1".
        child<QRadioButton>(&screen, "ChkGroup2")->click();
        QCOMPARE(screen.group(), QString("S"));
        editCell(items, 0, 1, "수영용품");
        QTRY_COMPARE(items->cell(0, 0), QString("1"));
        child<QRadioButton>(&screen, "ChkGroup1")->click();

        // Renaming an item another desk deleted meanwhile.
        items->setCurrentCell(1, 1);
        db().exec("DELETE FROM Course WHERE PsGroup = 'P' AND Code = '2'");
        m_msg.clear();
        editCell(items, 1, 1, "헬스장");
        QTRY_COMPARE(m_msg.lastText(), QString("수정할 항목이 없읍니다"));
        QTRY_COMPARE(items->rowCount(), 2); // read again: only item 1 and the empty row
        QVERIFY(!db().scalar("SELECT 1 FROM Course WHERE PsGroup = 'P' AND Code = '2'").isValid());

        // Delete on an item that still has classes.
        items->setFocus();
        items->setCurrentCell(0, 1);
        m_msg.clear();
        QTest::keyClick(items, Qt::Key_Delete);
        QCOMPARE(m_msg.texts(), QStringList({"소분류코드 삭제후 항목을 삭제하십시요."}));
        // Delete on a class: asked first, then gone.
        classes->setFocus();
        classes->setCurrentCell(1, 1);
        m_msg.clear();
        m_msg.answer(true);
        QTest::keyClick(classes, Qt::Key_Delete);
        QCOMPARE(m_msg.last().text, MaintenanceGrid::deleteQuestion());
        QCOMPARE(m_msg.last().title, QString("자료삭제"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Sclass WHERE PsGroup = 'P' AND Course = '1'").toInt(), 1);
        QCOMPARE(classes->rowCount(), 2);
    }

    void codeTables()
    {
        CodeTableScreen screen(m_ui);
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        MaintenanceGrid *kinds = screen.grid(CodeTable::MemberKind);
        editCell(kinds, 0, 1, "일반회원");
        QTRY_COMPARE(kinds->cell(0, 0), QString("1"));
        kinds->setCurrentCell(0, 2);
        m_msg.clear();
        editCell(kinds, 0, 2, "1O");
        QTRY_COMPARE(m_msg.lastText(), QString("숫자만 입력가능합니다"));
        QTRY_COMPARE(kinds->cell(0, 2), QString("0"));
        editCell(kinds, 0, 2, "10");
        QTRY_COMPARE(db().scalar("SELECT Rate FROM MbGubun WHERE Code = '1'").toDouble(), 10.0);

        screen.tabs()->setCurrentIndex(1);
        MaintenanceGrid *cards = screen.grid(CodeTable::CardCompany);
        editCell(cards, 0, 1, "국민카드");
        QTRY_COMPARE(cards->cell(0, 0), QString("1"));
        QCOMPARE(db().scalar("SELECT Name FROM Card WHERE Code = '1'").toString(), QString("국민카드"));
    }

    void lecturers()
    {
        LecturerListScreen list(m_ui);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        click(&list, "Cmd신규");
        auto *editor = list.findChild<LecturerEditDialog *>();
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QString("강사등록 - 신규"));
        QCOMPARE(child<QLineEdit>(editor, "TxtLtCode")->text(), QString("0001"));
        m_msg.clear();
        click(editor, "Cmd저장");
        QCOMPARE(m_msg.lastText(), QString("강사명은 필수입력 항목입니다."));
        typeInto(child<QLineEdit>(editor, "TxtLtName"), "김수영");
        typeInto(child<QLineEdit>(editor, "TxtTel"), "01012345678");
        click(editor, "Cmd저장");
        QCOMPARE(m_msg.lastText(), QString("저장되었읍니다"));
        // Ready for the next one.
        QCOMPARE(child<QLineEdit>(editor, "TxtLtCode")->text(), QString("0002"));
        typeInto(child<QLineEdit>(editor, "TxtLtName"), "이헬스");
        child<QCheckBox>(editor, "ChkUse")->setChecked(false);
        click(editor, "Cmd저장");
        click(editor, "Cmd닫기");
        QCOMPARE(list.grid()->rowCount(), 2);
        QCOMPARE(list.grid()->cell(0, 2), QString("010-1234-5678"));
        child<QCheckBox>(&list, "Chk2")->setChecked(true);
        QCOMPARE(list.grid()->rowCount(), 1);

        LecturerPickDialog pick(m_ui);
        QCOMPARE(pick.courseCombo()->currentText(), QString("0-모두보기"));
        QCOMPARE(pick.grid()->rowCount(), 1);
        pick.grid()->setCurrentRow(0);
        emit pick.grid()->rowActivated(0);
        QVERIFY(pick.TF);
        QCOMPARE(pick.LtCode, QString("0001"));
        QCOMPARE(pick.LtName, QString("김수영"));
    }

    // A period program with three fee rows (the empty month is not stored).
    void periodProgram()
    {
        ProgramListScreen list(m_ui);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        m_msg.clear();
        expectModal<ProgramEditDialog>([this](ProgramEditDialog *dlg) {
            QCOMPARE(dlg->windowTitle(), QString("강좌등록-신규"));
            click(dlg, "Cmd저장");
            QCOMPARE(m_msg.lastText(), QString("강좌명을 입력하세요"));
            typeInto(child<QLineEdit>(dlg, "TxtPgname"), "새벽 수영");
            QVERIFY(selectItemStartingWith(child<QComboBox>(dlg, "CobCour"), "1-"));
            QCOMPARE(dlg->feeGrid()->rowCount(), 5); // 1, 2, 3, 6 and 12 months
            QCOMPARE(dlg->feeGrid()->cell(4, 0), QString("12 개월"));
            QVERIFY(selectItemStartingWith(child<QComboBox>(dlg, "CobScl"), "01-"));
            child<QComboBox>(dlg, "CobLect")->setCurrentIndex(0);
            auto *t1 = child<QLineEdit>(dlg, "TxtTime1");
            replaceText(t1, "600");
            emit t1->editingFinished();
            QCOMPARE(t1->text(), QString("06:00"));
            auto *t2 = child<QLineEdit>(dlg, "TxtTime2");
            replaceText(t2, "2500");
            emit t2->editingFinished();
            QCOMPARE(m_msg.lastText(), QString("시간설정이 잘못되었읍니다"));
            QCOMPARE(t2->text(), QString("00:00"));
            replaceText(t2, "0650");
            emit t2->editingFinished();
            child<QCheckBox>(dlg, "Chk정원")->setChecked(true);
            click(dlg, "Cmd저장");
            QCOMPARE(m_msg.lastText(), QString("정원을 입력하세요"));
            replaceText(child<QLineEdit>(dlg, "TxtMaxNum"), "20");
            for (const char *day : {"ChkMon1", "ChkMon3", "ChkMon5"})
                child<QCheckBox>(dlg, day)->setChecked(true);
            DataGrid *fees = dlg->feeGrid();
            editCell(fees, 0, 1, "80000");
            QCOMPARE(fees->cell(0, 1), QString("80,000"));
            editCell(fees, 2, 1, "220000");
            editCell(fees, 3, 1, "400000");
            editCell(fees, 3, 3, "350000");
            click(dlg, "Cmd저장");
            QCOMPARE(m_msg.lastText(), QString("저장되었읍니다"));
            QCOMPARE(dlg->windowTitle(), QString("강좌등록-수정"));
            click(dlg, "Cmd닫기");
        });
        click(&list, "Cmd신규");

        const auto p = db().queryOne("SELECT * FROM Program WHERE PgGubun = '1'");
        QVERIFY(p);
        QCOMPARE(p->str("PgCode"), QString("1000001"));
        QCOMPARE(p->str("Time1") + "-" + p->str("Time2"), QString("06:00-06:50"));
        QCOMPARE(p->str("LtCode"), QString("0001"));
        QCOMPARE(p->num("Mon") + p->num("Wed") + p->num("Fri") + p->num("Tue"), 3);
        m_pgid = p->num("Pgid");
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM ProgAmt WHERE Pgid = ?", {m_pgid}).toInt(), 3);
        QCOMPARE(db().scalar("SELECT Amt3 FROM ProgAmt WHERE Pgid = ? AND MonthCnt = 6", {m_pgid}).toInt(), 350000);
        QCOMPARE(list.grid()->rowCount(), 3);
        QCOMPARE(list.grid()->cell(0, 2), QString("새벽 수영"));
        QCOMPARE(list.grid()->cell(0, 4), QString("06:00 - 06:50"));
        QCOMPARE(list.grid()->cell(2, 17), QString("350,000"));
    }

    void timeProgram()
    {
        ProgramListScreen list(m_ui);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        m_msg.clear();
        expectModal<TimeProgramDialog>([this](TimeProgramDialog *dlg) {
            QCOMPARE(dlg->windowTitle(), QString("시간제 프로그램-신규"));
            typeInto(child<QLineEdit>(dlg, "TxtPgname"), "자유수영 10시간");
            click(dlg, "Cmd저장");
            QCOMPARE(m_msg.lastText(), QString("유효기간을 입력하세요"));
            child<QComboBox>(dlg, "CobMonth")->setCurrentIndex(2);
            QVERIFY(selectItemStartingWith(child<QComboBox>(dlg, "CobCour"), "1-"));
            replaceText(child<QLineEdit>(dlg, "TxtCnt"), "10");
            QCOMPARE(child<QLabel>(dlg, "LblMinutes")->text(), QString("600 분"));
            replaceText(child<QLineEdit>(dlg, "TxtAmt"), "99000");
            click(dlg, "Cmd저장");
            QCOMPARE(m_msg.lastText(), QString("저장되었읍니다"));
            QCOMPARE(child<QLineEdit>(dlg, "TxtAmt")->text(), QString("99,000"));
            click(dlg, "Cmd닫기");
        });
        click(&list, "Cmd시간제");
        const auto p = db().queryOne("SELECT * FROM Program WHERE PgGubun = '2'");
        QVERIFY(p);
        QCOMPARE(p->num("PgCnt"), 600);
        QCOMPARE(p->num("Sun") + p->num("Sat"), 2);
        QCOMPARE(db().scalar("SELECT MonthCnt FROM ProgAmt WHERE Pgid = ?", {p->num("Pgid")}).toInt(), 3);
        QCOMPARE(list.grid()->rowCount(), 4);
        QCOMPARE(list.grid()->cell(3, 0), QString("시간제"));
    }

    // A change of the period program, then deletions of what is in use.
    void changeAndDeleteInUse()
    {
        ProgramListScreen list(m_ui);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.grid()->setCurrentRow(list.grid()->findKey(m_pgid));
        expectModal<ProgramEditDialog>([](ProgramEditDialog *dlg) {
            QCOMPARE(dlg->windowTitle(), QString("강좌등록-수정"));
            QCOMPARE(child<QLineEdit>(dlg, "TxtTime1")->text(), QString("06:00"));
            QCOMPARE(dlg->feeGrid()->cell(0, 1), QString("80,000"));
            editCell(dlg->feeGrid(), 0, 1, "85000");
            editCell(dlg->feeGrid(), 2, 1, "0");
            click(dlg, "Cmd저장");
            click(dlg, "Cmd닫기");
        });
        click(&list, "Cmd수정");
        QCOMPARE(db().scalar("SELECT Amt1 FROM ProgAmt WHERE Pgid = ? AND MonthCnt = 1", {m_pgid}).toInt(), 85000);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM ProgAmt WHERE Pgid = ?", {m_pgid}).toInt(), 2);
        QCOMPARE(list.grid()->rowCount(), 3);

        db().exec("INSERT INTO Lecture (LtGubun, PgGubun, MbCode, Pgid) VALUES ('1', '1', '00000001', ?)", {m_pgid});
        list.grid()->setCurrentRow(0);
        m_msg.clear();
        m_msg.answer(true);
        click(&list, "Cmd삭제");
        QCOMPARE(m_msg.texts(), QStringList({"새벽 수영 강좌를 삭제하시겠읍니까? ", "사용된 강좌는 삭제할수 없읍니다"}));
        QVERIFY(db().scalar("SELECT 1 FROM Program WHERE Pgid = ?", {m_pgid}).isValid());

        // The time-based program has no enrollment: it goes with its price row.
        list.grid()->setCurrentRow(list.grid()->rowCount() - 1);
        m_msg.clear();
        m_msg.answer(true);
        click(&list, "Cmd삭제");
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Program").toInt(), 1);
        QCOMPARE(list.grid()->rowCount(), 2);

        LecturerListScreen lecturers(m_ui);
        lecturers.grid()->setFocus();
        lecturers.grid()->setCurrentRow(0);
        m_msg.clear();
        m_msg.answer(true);
        QTest::keyClick(lecturers.grid(), Qt::Key_Delete);
        QCOMPARE(m_msg.lastText(), QString("이미사용된 강사코드는 삭제할수 없읍니다"));

        CourseItemScreen items(m_ui);
        items.grid()->setCurrentRow(0);
        m_msg.clear();
        m_msg.answer(true);
        QTest::keyClick(items.grid(), Qt::Key_Delete);
        QCOMPARE(m_msg.lastText(), QString("이미사용된 강좌항목은 삭제할수 없읍니다"));
        QCOMPARE(items.grid()->rowCount(), 1);
    }

private:
    const Db &db() const { return m_inst.db(); }
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
    qint64 m_pgid = 0;
};

QTEST_MAIN(TstCatalogueScreens)
#include "tst_cataloguescreens.moc"
