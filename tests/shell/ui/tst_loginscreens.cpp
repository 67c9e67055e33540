// The login dialog, the user list and editor, the grade list, the grade rights
// screen and the password change, driven through their controls.
// FITROVA_DB_TEST
// FITROVA_TEST_TIMEOUT 120: its cases build installations of their own, on PostgreSQL each a
// database created and dropped.

#include "uitest.h"
#include "foundation/inifile.h"
#include "shell/ui/gradelistscreen.h"
#include "shell/ui/graderightsscreen.h"
#include "shell/ui/logindialog.h"
#include "shell/ui/passwordchangedialog.h"
#include "shell/ui/usereditdialog.h"
#include "shell/ui/userlistscreen.h"
#include "shell/users.h"
#include "testinstall.h"
#include "widgets/datagrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace fitrova;
using namespace fitrova::test;
using fitrova::test::TestInstall;

namespace {



int count(const Db &db, const QString &sql) { return db.scalar(sql).toInt(); }

// The user edits a cell: the grid takes it as typed by the user.
void editCell(DataGrid *g, int row, int col, const QString &text)
{
    g->setCurrentCell(row, col);
    g->model()->setData(g->model()->index(row, col), text, Qt::EditRole);
}

void tick(DataGrid *g, int row, int col, bool on)
{
    g->setCurrentCell(row, col);
    g->model()->setData(g->model()->index(row, col), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

UserEditDialog *openEditor(UserListScreen &list)
{
    UserEditDialog *found = nullptr;
    for (UserEditDialog *d : list.findChildren<UserEditDialog *>())
        if (d->isVisible())
            found = d;
    return found;
}

} // namespace

class TestLoginScreens : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void login_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("pw");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("focus");
        QTest::newRow("right") << "admin" << "admin1234" << true << "" << "";
        QTest::newRow("wrong password") << "admin" << "Admin1234" << false << kWrongPasswordText << "Txt비번";
        QTest::newRow("unknown user") << "nobody" << "admin1234" << false << kUnknownUserText << "Txt사용자";
        QTest::newRow("no user ID") << "" << "admin1234" << false << kEnterUserIdText << "Txt사용자";
    }
    void login()
    {
        QFETCH(QString, id);
        QFETCH(QString, pw);
        QFETCH(bool, accepted);
        QFETCH(QString, text);
        QFETCH(QString, focus);
        TestInstall inst;
        ScriptedMessages msg;
        UiContext ui{inst.ctx(), msg};
        inst.ctx().user = {};
        inst.db().exec(QStringLiteral("DELETE FROM Sclass"));
        inst.db().exec(QStringLiteral("DELETE FROM Course"));

        LoginDialog dlg(ui);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        auto *idField = child<QLineEdit>(&dlg, "Txt사용자");
        auto *pwField = child<QLineEdit>(&dlg, "Txt비번");
        QTRY_COMPARE(QApplication::focusWidget(), idField);
        QVERIFY(!child<QLineEdit>(&dlg, "TxtPcname")->text().isEmpty());
        QVERIFY(child<QLabel>(&dlg, "PiC"));

        // Typed as at the desk: Enter moves on, and one Enter in the password logs in.
        QTest::keyClicks(idField, id);
        QTest::keyClick(idField, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), pwField);
        QTest::keyClicks(pwField, pw);
        QTest::keyClick(pwField, Qt::Key_Return);

        if (accepted) {
            QTRY_VERIFY(!dlg.isVisible());
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QCOMPARE(dlg.maintenanceTarget(), MaintenanceTarget::None);
            QCOMPARE(inst.ctx().user.userId, QStringLiteral("admin"));
            QCOMPARE(inst.ctx().user.psCode, QStringLiteral("0001"));
            QCOMPARE(msg.texts(), QStringList{QStringLiteral("자료를 준비중 입니다")});
            QCOMPARE(count(inst.db(), QStringLiteral("SELECT COUNT(*) FROM Course WHERE PsGroup = 'P'")), 1);
            return;
        }
        QVERIFY(dlg.isVisible());
        QVERIFY(!inst.ctx().user.loggedIn());
        QCOMPARE(msg.shown().size(), 1);
        QCOMPARE(msg.last().kind, QStringLiteral("warn"));
        QCOMPARE(msg.last().text, text);
        QCOMPARE(msg.last().title, QStringLiteral("로그인"));
        auto *expectFocus = child<QLineEdit>(&dlg, focus.toUtf8().constData());
        QTRY_COMPARE(QApplication::focusWidget(), expectFocus);
        QCOMPARE(expectFocus->selectedText(), expectFocus->text());
        QCOMPARE(count(inst.db(), QStringLiteral("SELECT COUNT(*) FROM Course")), 0);
    }

    void loginAsksBeforeCancelling()
    {
        TestInstall inst;
        ScriptedMessages msg;
        UiContext ui{inst.ctx(), msg};
        const IniFile ini(inst.ctx().paths.iniFile);
        LoginDialog dlg(ui);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        msg.answer(false);
        click(&dlg, "Cmd취소");
        QVERIFY(dlg.isVisible());
        QCOMPARE(ini.value(QStringLiteral("DATABASE"), QStringLiteral("UPDATECHECK")), QString());
        msg.answer(true);
        click(&dlg, "Cmd취소");
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(ini.value(QStringLiteral("DATABASE"), QStringLiteral("UPDATECHECK")), QStringLiteral("NO"));
        QCOMPARE(msg.shown().size(), 2);
        QCOMPARE(msg.last().kind, QStringLiteral("ask"));
        QCOMPARE(msg.last().text, QStringLiteral("로그인을 취소하시겠습니까?"));
    }

    void maintenanceLoginClosesTheDialog()
    {
        TestInstall inst;
        ScriptedMessages msg;
        UiContext ui{inst.ctx(), msg};
        inst.ctx().user = {};
        QVERIFY(setMaintenanceLogin(IniFile(inst.ctx().paths.iniFile), MaintenanceTarget::Settings,
                                    QStringLiteral("SETUPX"), QStringLiteral("ABCDEFGHIJK1")));
        LoginDialog dlg(ui);
        dlg.show();
        child<QLineEdit>(&dlg, "Txt사용자")->setText(QStringLiteral("setupx"));
        child<QLineEdit>(&dlg, "Txt비번")->setText(QStringLiteral("abcdefghijk1"));
        click(&dlg, "Cmd확인");
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.maintenanceTarget(), MaintenanceTarget::Settings);
        QVERIFY(!inst.ctx().user.loggedIn());
        QVERIFY(msg.shown().isEmpty());
    }

    void userCreateEditDelete()
    {
        TestInstall inst;
        ScriptedMessages msg;
        UiContext ui{inst.ctx(), msg};
        const Db &db = inst.db();
        db.exec(QStringLiteral("INSERT INTO GradeM (GrCode, GrName) VALUES ('2', '데스크')"));

        UserListScreen list(ui);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        auto *grid = child<DataGrid>(&list, "SpUser");
        QCOMPARE(grid->rowCount(), 1);
        for (const QString &h : grid->headers())
            QVERIFY2(!h.contains(QStringLiteral("비밀")) && !h.contains(QStringLiteral("Pass"), Qt::CaseInsensitive),
                     qPrintable(h));
        for (const QString &cell : grid->rowCells(0))
            QVERIFY(!cell.startsWith(QStringLiteral("$argon2")));

        // New: the next staff number; the password is required.
        click(&list, "Cmd신규");
        QPointer<UserEditDialog> ed = openEditor(list);
        QVERIFY(ed);
        QCOMPARE(child<QLineEdit>(ed, "TxtPsCode")->text(), QStringLiteral("0002"));
        QVERIFY(child<QCheckBox>(ed, "ChkUse")->isChecked());
        child<QLineEdit>(ed, "TxtUserName")->setText(QStringLiteral("홍길동"));
        QTest::keyClicks(child<QLineEdit>(ed, "TxtUserID"), QStringLiteral("hong"));
        click(ed, "Cmd저장");
        QCOMPARE(msg.last().text, QStringLiteral("Password를 입력하여 주십시요."));
        QTRY_COMPARE(QApplication::focusWidget(), child<QLineEdit>(ed, "TxtPass"));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM UserM")), 1);

        QTest::keyClicks(child<QLineEdit>(ed, "TxtPass"), QStringLiteral("pw#1"));
        auto *cob = child<QComboBox>(ed, "CobGrd");
        cob->setCurrentIndex(cob->findText(QStringLiteral("2-데스크")));
        click(ed, "Cmd저장");
        QCOMPARE(msg.last().kind, QStringLiteral("notice"));
        QCOMPARE(msg.last().text, QStringLiteral("저장되었읍니다.."));
        QCOMPARE(grid->rowCount(), 2);
        const int row = grid->findKey(QStringLiteral("0002"));
        QVERIFY(row >= 0);
        QCOMPARE(grid->currentRow(), row);
        QCOMPARE(grid->cell(row, 1), QStringLiteral("홍길동"));
        QCOMPARE(grid->cell(row, 4), QStringLiteral("데스크"));
        // A second save changes the user just created rather than adding another.
        click(ed, "Cmd저장");
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM UserM")), 2);
        QVERIFY(!ed || !ed->isVisible());

        // Change: the password field starts empty and keeps the password.
        grid->setCurrentRow(grid->findKey(QStringLiteral("0002")));
        click(&list, "Cmd수정");
        QTRY_VERIFY(openEditor(list));
        ed = openEditor(list);
        QCOMPARE(child<QLineEdit>(ed, "TxtUserID")->text(), QStringLiteral("hong"));
        QCOMPARE(child<QLineEdit>(ed, "TxtPass")->text(), QString());
        QVERIFY(child<QLabel>(ed, "LblPassHint")->text().contains(QStringLiteral("유지")));
        QCOMPARE(child<QComboBox>(ed, "CobGrd")->currentText(), QStringLiteral("2-데스크"));
        child<QLineEdit>(ed, "TxtUserName")->setText(QStringLiteral("홍길순"));
        click(ed, "Cmd저장");
        QCOMPARE(msg.last().text, QStringLiteral("수정되었읍니다.."));
        QVERIFY(!ed || !ed->isVisible());
        QCOMPARE(grid->cell(grid->findKey(QStringLiteral("0002")), 1), QStringLiteral("홍길순"));
        QVERIFY(userChk1(inst.ctx(), QStringLiteral("hong"), QStringLiteral("pw#1")).ok);

        // Delete: refused while a sale carries the staff number.
        db.exec(QStringLiteral("INSERT INTO Sale (SlNo, SEQ, SlDate, MbCode, LastUser) "
                               "VALUES ('0001', 1, '2024-05-10', '00000000', '0002')"));
        msg.clear();
        grid->setCurrentRow(grid->findKey(QStringLiteral("0002")));
        msg.answer(true);
        click(&list, "Cmd삭제");
        QCOMPARE(msg.shown().size(), 2);
        QCOMPARE(msg.shown().at(0).text, QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"));
        QCOMPARE(msg.shown().at(0).title, QStringLiteral("사용자삭제"));
        QCOMPARE(msg.shown().at(1).kind, QStringLiteral("info"));
        QCOMPARE(msg.shown().at(1).text, QStringLiteral("이미 사용자 아이디로 발생한 판매자료가 있어 삭제가 불가능합니다"));
        QCOMPARE(grid->rowCount(), 2);

        db.exec(QStringLiteral("DELETE FROM Sale"));
        grid->setCurrentRow(grid->findKey(QStringLiteral("0002")));
        msg.answer(false);
        click(&list, "Cmd삭제");
        QCOMPARE(grid->rowCount(), 2);
        msg.answer(true);
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM UserM")), 1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM UserPG WHERE UserID = 'hong'")), 0);
    }

    void gradeListEditsInPlace()
    {
        TestInstall inst;
        ScriptedMessages msg;
        UiContext ui{inst.ctx(), msg};
        const Db &db = inst.db();
        db.exec(QStringLiteral("INSERT INTO GradeM (GrCode, GrName) VALUES ('2', '데스크')"));
        setGradeProgram(db, QStringLiteral("2"), QStringLiteral("13"), true);
        UserRecord rec;
        rec.userId = QStringLiteral("desk");
        rec.password = QStringLiteral("pw");
        rec.grCode = QStringLiteral("2");
        QVERIFY(saveUser(db, JobMode::New, rec).saved);

        GradeListScreen dlg(ui);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *grid = child<DataGrid>(&dlg, "SpGrd");
        QCOMPARE(grid->rowCount(), 3); // two grades and the row for a new one

        // Rename 2 → 5 once the cursor leaves the row, after the question.
        msg.answer(true);
        editCell(grid, 1, 0, QStringLiteral("5"));
        grid->setCurrentCell(0, 0);
        QCOMPARE(msg.last().text, QStringLiteral("현재자료를 수정하시겠습니까?"));
        QCOMPARE(msg.last().title, QStringLiteral("자료수정"));
        QTRY_COMPARE(grid->rowKey(1).toString(), QStringLiteral("5")); // the list is read again
        QCOMPARE(grid->cell(1, 0), QStringLiteral("5"));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM GradeM WHERE GrCode = '5'")), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT GrCode FROM UserM WHERE UserID = 'desk'")).toString(),
                 QStringLiteral("2"));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Grade WHERE GrCode = '2'")), 1);

        // A new row with a code in use is refused and stays as typed.
        msg.clear();
        editCell(grid, 2, 0, QStringLiteral("1"));
        editCell(grid, 2, 1, QStringLiteral("중복"));
        grid->setCurrentCell(0, 0);
        QCOMPARE(msg.last().text, QStringLiteral("이미 등록된 자료입니다."));
        QCOMPARE(msg.last().title, QStringLiteral("코드중복"));
        QCOMPARE(grid->cell(2, 1), QStringLiteral("중복"));

        msg.clear();
        editCell(grid, 2, 0, QStringLiteral("3"));
        editCell(grid, 2, 1, QStringLiteral("강사"));
        grid->setCurrentCell(0, 0);
        QVERIFY(msg.shown().isEmpty());
        QTRY_COMPARE(grid->rowCount(), 4);
        QCOMPARE(db.scalar(QStringLiteral("SELECT GrName FROM GradeM WHERE GrCode = '3'")).toString(),
                 QStringLiteral("강사"));

        // Delete asks first.
        const int row3 = grid->findKey(QStringLiteral("3"));
        grid->setCurrentRow(row3);
        msg.answer(true);
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(msg.last().text, QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"));
        QCOMPARE(msg.last().title, QStringLiteral("자료삭제"));
        QCOMPARE(grid->findKey(QStringLiteral("3")), -1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM GradeM")), 2);
        QVERIFY(dlg.changed());
    }

    void gradeRightsTicking()
    {
        TestInstall inst;
        ScriptedMessages msg;
        UiContext ui{inst.ctx(), msg};
        const Db &db = inst.db();
        db.exec(QStringLiteral("INSERT INTO GradeM (GrCode, GrName) VALUES ('2', '데스크')"));
        const int listed = count(db, QStringLiteral("SELECT COUNT(*) FROM PgList WHERE UUSE = '1'"));
        const QString granted = QStringLiteral("SELECT COUNT(*) FROM Grade WHERE GrCode = '2'");

        GradeRightsScreen screen(ui);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        auto *cob = child<QComboBox>(&screen, "CobGrd");
        auto *grid = child<DataGrid>(&screen, "SpPGLST");
        auto *all = child<QCheckBox>(&screen, "Chk1");
        QCOMPARE(grid->rowCount(), listed);
        QVERIFY(all->isChecked()); // the administrator holds every program
        cob->setCurrentIndex(cob->findText(QStringLiteral("2-데스크")));
        QCOMPARE(screen.grade(), QStringLiteral("2"));
        QVERIFY(grid->checkedRows(GradeRightsScreen::kCheckColumn).isEmpty());
        QVERIFY(!all->isChecked());

        const int row13 = grid->findKey(QStringLiteral("13"));
        QCOMPARE(grid->cell(row13, 2), QStringLiteral("회원접수"));
        tick(grid, row13, GradeRightsScreen::kCheckColumn, true);
        QCOMPARE(count(db, granted), 1);
        tick(grid, row13, GradeRightsScreen::kCheckColumn, false);
        QCOMPARE(count(db, granted), 0);

        QTest::mouseClick(all, Qt::LeftButton);
        QCOMPARE(count(db, granted), listed);
        QCOMPARE(grid->checkedRows(GradeRightsScreen::kCheckColumn).size(), listed);
        QTest::mouseClick(all, Qt::LeftButton);
        QCOMPARE(count(db, granted), 0);
        QVERIFY(grid->checkedRows(GradeRightsScreen::kCheckColumn).isEmpty());

        grid->setCurrentRow(grid->findKey(QStringLiteral("35")));
        msg.answer(true);
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(msg.last().text, QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"));
        QCOMPARE(grid->rowCount(), listed - 1);
        QCOMPARE(grid->findKey(QStringLiteral("35")), -1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM PgList WHERE PgID = '35'")), 0);
    }

    void passwordChange()
    {
        TestInstall inst;
        ScriptedMessages msg;
        UiContext ui{inst.ctx(), msg};
        PasswordChangeDialog dlg(ui);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        auto *user = child<QLineEdit>(&dlg, "Txt사용자");
        auto *current = child<QLineEdit>(&dlg, "TxtC비번");
        auto *new1 = child<QLineEdit>(&dlg, "TxtP비번1");
        auto *new2 = child<QLineEdit>(&dlg, "TxtP비번2");
        QCOMPARE(user->text(), QStringLiteral("admin"));
        QTRY_COMPARE(QApplication::focusWidget(), current);

        QTest::keyClicks(current, QStringLiteral("ADMIN1234"));
        new1->setText(QStringLiteral("새비번#1"));
        new2->setText(QStringLiteral("새비번#1"));
        click(&dlg, "Cmd확인");
        QCOMPARE(msg.last().text, QString::fromUtf8(kWrongPasswordText));
        QTRY_COMPARE(QApplication::focusWidget(), current);
        QCOMPARE(current->selectedText(), current->text());

        current->setText(QStringLiteral("admin1234"));
        new2->setText(QStringLiteral("새비번#2"));
        click(&dlg, "Cmd확인");
        QCOMPARE(msg.last().kind, QStringLiteral("notice"));
        QCOMPARE(msg.last().text, QStringLiteral("비밀번호를 확인하십시요"));
        QTRY_COMPARE(QApplication::focusWidget(), new2);
        QVERIFY(dlg.isVisible());

        new2->setText(QStringLiteral("새비번#1"));
        click(&dlg, "Cmd확인");
        QCOMPARE(msg.last().text, QStringLiteral("비밀번호가 변경 되었습니다."));
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(userChk1(inst.ctx(), QStringLiteral("admin"), QStringLiteral("새비번#1")).ok);
        QVERIFY(!userChk1(inst.ctx(), QStringLiteral("admin"), QStringLiteral("admin1234")).ok);
    }
};

QTEST_MAIN(TestLoginScreens)
#include "tst_loginscreens.moc"
