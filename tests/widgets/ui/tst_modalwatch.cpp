// The watch on modal dialogs every screen test runs with: an expected dialog
// is handled and closed, nested ones in order; an unexpected dialog or
// message box, a dialog of another kind than expected, and a handler whose
// check fails each end the test with a failure naming the window instead of
// leaving it waiting. The failing cases run in a child process of this
// program, whose own result is checked.

#include "uitest.h"
#include "widgets/messages.h"

#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

using namespace fitrova;
using namespace fitrova::test;

namespace {

const char *const kChildVariable = "FITROVA_MODALWATCH_CHILD";

bool inChild() { return qEnvironmentVariableIsSet(kChildVariable); }

struct ChildRun {
    bool finished = false;
    int exitCode = -1;
    QString output;
};

// Runs one test function of this program in a child process.
ChildRun runChild(const QString &function)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QCoreApplication::applicationFilePath(), {function});
    ChildRun r;
    r.finished = p.waitForFinished(30000);
    if (!r.finished)
        p.kill();
    r.exitCode = p.exitCode();
    r.output = QString::fromUtf8(p.readAll());
    return r;
}

} // namespace

class TstModalWatch : public QObject {
    Q_OBJECT
private slots:
    // --- what passes ------------------------------------------------------------------

    void expectedDialogsAreHandledInOrder()
    {
        if (inChild())
            QSKIP("runs in the parent");
        QDialog outer;
        outer.setObjectName(QStringLiteral("outer"));
        auto *open = new QPushButton(&outer);
        QObject::connect(open, &QPushButton::clicked, &outer, [&outer] {
            QDialog inner(&outer);
            inner.setObjectName(QStringLiteral("inner"));
            inner.exec();
        });
        QStringList seen;
        expectModal([&](QDialog *d) {
            seen << d->objectName();
            open->click(); // a second dialog from within the first
            seen << QStringLiteral("back");
        });
        expectModal([&](QDialog *d) { seen << d->objectName(); });
        QCOMPARE(outer.exec(), int(QDialog::Rejected)); // closed by the watch
        QCOMPARE(seen, QStringList({"outer", "inner", "back"}));
        QCOMPARE(pendingModals(), 0);
    }

    void aDialogOpenedWithoutItsOwnLoopIsLeftAlone()
    {
        if (inChild())
            QSKIP("runs in the parent");
        QWidget parent;
        parent.show();
        auto *d = new QDialog(&parent);
        d->open(); // window modal, the test goes on with it
        QTest::qWait(20);
        QVERIFY(d->isVisible());
        d->accept();
    }

    // --- what fails, each in a child --------------------------------------------------

    void failures_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("unexpected message box")
            << "child_unexpectedBox" << QStringList{"unexpected modal window", "QMessageBox", "자료삭제",
                                                    "현제 선택한 자료를 삭제하시겠읍니까?"};
        QTest::newRow("unexpected dialog") << "child_unexpectedDialog"
                                           << QStringList{"unexpected modal window", "강좌등록-신규", "수강등록"};
        QTest::newRow("other kind than expected") << "child_wrongKind"
                                                  << QStringList{"expected a QMessageBox", "강좌등록-신규"};
        QTest::newRow("check inside the handler") << "child_failingHandler" << QStringList{"Compared values are not the same"};
    }
    void failures()
    {
        QFETCH(QString, function);
        QFETCH(QStringList, said);
        if (inChild())
            QSKIP("runs in the parent");
        const ChildRun r = runChild(function);
        QVERIFY2(r.finished, "the child waited on its dialog");
        QCOMPARE(r.exitCode, 1); // one failed test function
        for (const QString &s : said)
            QVERIFY2(r.output.contains(s), qPrintable(r.output));
        // The child went on past the dialog.
        QVERIFY2(r.output.contains(QStringLiteral("after the dialog")), qPrintable(r.output));
    }

    void child_unexpectedBox()
    {
        if (!inChild())
            QSKIP("runs in a child");
        DesktopMessages msg;
        msg.ask(QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"), QStringLiteral("자료삭제"));
        qInfo("after the dialog");
    }
    void child_unexpectedDialog()
    {
        if (!inChild())
            QSKIP("runs in a child");
        QDialog d;
        d.setObjectName(QStringLiteral("수강등록"));
        d.setWindowTitle(QStringLiteral("강좌등록-신규"));
        d.exec();
        qInfo("after the dialog");
    }
    void child_wrongKind()
    {
        if (!inChild())
            QSKIP("runs in a child");
        expectModal<QMessageBox>([](QMessageBox *) {});
        QDialog d;
        d.setWindowTitle(QStringLiteral("강좌등록-신규"));
        d.exec();
        qInfo("after the dialog");
    }
    void child_failingHandler()
    {
        if (!inChild())
            QSKIP("runs in a child");
        expectModal([](QDialog *d) { QCOMPARE(d->windowTitle(), QStringLiteral("다른 제목")); });
        QDialog d;
        d.setWindowTitle(QStringLiteral("강좌등록-신규"));
        d.exec();
        qInfo("after the dialog");
    }
};

QTEST_MAIN(TstModalWatch)
#include "tst_modalwatch.moc"
