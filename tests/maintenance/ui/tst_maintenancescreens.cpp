// FITROVA_DB_TEST
// The backup and deletion screens driven offscreen: the menu's backup opens
// the screen of the engine in use, a backup from the screen lands in the
// chosen folder, the restore screen lists it and puts it back, and the
// deletion screens ask the password again, offer a backup and delete.

#include "uitest.h"
#include <QtTest>

#include "../../members/memberbuilders.h"
#include "maintenance/backup.h"
#include "maintenance/ui/backupscreens.h"
#include "maintenance/ui/deletionscreens.h"
#include "maintenance/ui/maintenancescreens.h"
#include "testinstall.h"
#include "widgets/datagrid.h"
#include "widgets/screenregistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

using namespace fitrova;
using namespace fitrova::test;

namespace {

void shot(QWidget &w, const char *name)
{
    const QByteArray dir = qgetenv("FITROVA_SHOT_DIR");
    if (dir.isEmpty())
        return;
    w.show();
    QTest::qWait(50);
    w.grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

} // namespace

class TstMaintenanceScreens : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings s(QStringLiteral("Fitrova"), QStringLiteral("Fitrova"));
        saveFileBackupFolder(s, m_folder.path());
        saveServerBackupFolder(s, m_folder.path());
    }
    void init() { m_msg.clear(); }

    void backupAndRestore()
    {
        ScreenRegistry r;
        registerMaintenanceScreens(r);
        QVERIFY(r.contains("Menu75") && r.contains("frm자료삭제"));
        std::unique_ptr<QWidget> screen(r.find("Menu74")->factory(m_ui, nullptr, {}));
        const bool server = m_inst.ctx().engine == Engine::PostgreSQL;
        QCOMPARE(screen->objectName(), server ? QString("frmBackup") : QString("백업"));

        addMember(m_inst.db(), "00000001", "홍길동");
        m_msg.answer(true);
        click(screen.get(), server ? "btnServerB" : "Cmd백업");
        const QStringList texts = m_msg.texts();
        QVERIFY2(texts.contains("데이터를 BACKUP 완료하였습니다."), qPrintable(texts.join(" / ")));
        QCOMPARE(m_msg.lastText(), server ? QString("백업이 완료되었습니다. 확인버튼을 누르세요.") : QString("데이터백업이 끝났읍니다."));
        const QList<BackupSet> sets = listBackups(m_folder.path(), m_inst.ctx().engine);
        QCOMPARE(sets.size(), 1);
        QCOMPARE(sets.first().counts.members, 1);

        m_inst.db().exec("DELETE FROM Member");
        m_inst.clock().advanceSecs(60);
        RestoreDialog restore(m_ui, m_folder.path());
        QCOMPARE(restore.grid()->rowCount(), 1);
        QCOMPARE(restore.grid()->cell(0, 3), QString("1"));
        m_msg.answer(true);
        QVERIFY(restore.restoreSelected());
        QVERIFY(m_msg.lastText().startsWith("복원이 완료되었습니다."));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Member").toInt(), 1);
        QCOMPARE(restore.grid()->rowCount(), 2);
        shot(*screen, "backup-screen");
        shot(restore, "restore-dialog");
    }

    // The folder chooser makes the folder and remembers it.
    void folderChooser()
    {
        const QString wanted = m_folder.filePath("new/backups");
        BackupFolderDialog d(m_ui, m_folder.path());
        child<QLineEdit>(&d, "TxtPath")->setText(wanted);
        QVERIFY(d.acceptFolder());
        QVERIFY(QFileInfo(wanted).isDir());
        QCOMPARE(m_msg.last().text, QString("경로설정 및 디렉토리가 작성 되었습니다."));
        QCOMPARE(m_msg.last().title, QString("경로설정"));
        QSettings s(QStringLiteral("Fitrova"), QStringLiteral("Fitrova"));
        QCOMPARE(savedFileBackupFolder(s), wanted);
        saveFileBackupFolder(s, m_folder.path());
    }

    void enteredDataDeletion()
    {
        addMember(m_inst.db(), "00000002", "김영희");
        Lect l;
        l.mbCode = "00000002";
        addLecture(m_inst.db(), l);
        EnteredDataDeletionScreen s(m_ui);
        click(&s, "Cmd삭제");
        QCOMPARE(m_msg.lastText(), QString("삭제할 자료를 선택하세요."));
        child<QCheckBox>(&s, "Chk4")->setChecked(true);
        child<QLineEdit>(&s, "TxtPwd")->setText("wrong");
        click(&s, "Cmd삭제");
        QCOMPARE(m_msg.lastText(), QString("삭제 비밀번호가 틀립니다."));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Lecture").toInt(), 1);

        m_inst.clock().advanceSecs(60);
        const int before = listBackups(m_folder.path(), m_inst.ctx().engine).size();
        child<QLineEdit>(&s, "TxtPwd")->setText(QString::fromLatin1(kAdminPassword));
        m_msg.answer(true); // delete the ticked data
        m_msg.answer(true); // back up first
        click(&s, "Cmd삭제");
        QVERIFY2(m_msg.texts().contains("선택한 자료를 모두삭제하시겠읍니까"), qPrintable(m_msg.texts().join(" / ")));
        QCOMPARE(m_msg.lastText(), QString("삭제되었읍니다.."));
        QCOMPARE(child<QLabel>(&s, "PnlMsg")->text(), QString("삭제되었읍니다.."));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Lecture").toInt(), 0);
        const QList<BackupSet> sets = listBackups(m_folder.path(), m_inst.ctx().engine);
        QCOMPARE(sets.size(), before + 1);
        QCOMPARE(sets.first().reason, QString("삭제전 자동백업"));
        QCOMPARE(sets.first().counts.enrollments, 1);
        QVERIFY(!child<QCheckBox>(&s, "Chk4")->isChecked());

        // A clerk never gets past the first check.
        const CurrentUser admin = m_inst.ctx().user;
        m_inst.db().exec("UPDATE UserM SET GrCode = '2' WHERE UserID = ?", {admin.userId});
        child<QCheckBox>(&s, "Chk3")->setChecked(true);
        child<QLineEdit>(&s, "TxtPwd")->setText(QString::fromLatin1(kAdminPassword));
        click(&s, "Cmd삭제");
        QCOMPARE(m_msg.lastText(), QString("관리자만 삭제할수 있읍니다"));
        QCOMPARE(child<QLabel>(&s, "PnlMsg")->text(), QString());
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Member").toInt(), 2);
        m_inst.db().exec("UPDATE UserM SET GrCode = '1' WHERE UserID = ?", {admin.userId});
        shot(s, "deletion-entered");
    }

    void maintenanceDeletion()
    {
        m_inst.db().exec("INSERT INTO Deposit (MbCode, DpDate, Amt) VALUES ('00000001', '2024-05-01', 10000)");
        MaintenanceDeletionScreen s(m_ui);
        child<QCheckBox>(&s, "Chk보증금")->setChecked(true);
        m_msg.answer(true);  // delete
        m_msg.answer(false); // no backup
        click(&s, "Command1");
        QCOMPARE(m_msg.lastText(), QString("작업완료"));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Deposit").toInt(), 0);
        click(&s, "btnField");
        QCOMPARE(m_msg.lastText(), QString("생성완료됨"));
        shot(s, "deletion-maintenance");
    }

private:
    QTemporaryDir m_folder;
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
};

QTEST_MAIN(TstMaintenanceScreens)
#include "tst_maintenancescreens.moc"
