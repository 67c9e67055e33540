// FITROVA_DB_TEST
// The member card driven through its controls, offscreen: one member's life
// (registered, found by card, edited, photographed from a file, a dependent
// enrollment row deleted, deleted), the refusals that keep what was typed,
// the pick list, the postal lookup from the address box, the enrollment
// commands and their dispatch, and the batch query.

#include "uitest.h"
#include <QtTest>

#include "../memberbuilders.h"
#include "members/ui/batchquerydialog.h"
#include "members/ui/memberpickdialog.h"
#include "members/ui/memberlistscreen.h"
#include "members/ui/memberscreen.h"
#include "members/ui/pointstatusscreen.h"
#include "members/ui/postlookupdialog.h"
#include "testinstall.h"
#include "widgets/datagrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace fitrova;
using namespace fitrova::test;

namespace {


QLineEdit *field(QObject *root, const char *name) { return child<QLineEdit>(root, name); }

// Types ASCII text into a field as the clerk would (the field is marked as
// edited), then Enter.
void typeAndEnter(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
}

int rowOf(DataGrid *g, int col, const QString &text)
{
    for (int r = 0; r < g->rowCount(); ++r)
        if (g->cell(r, col) == text)
            return r;
    return -1;
}

} // namespace

class TstMemberScreen : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_msg.clear();
        for (const char *t : {"Member", "Lecture", "Sale", "UserPoint", "entrance"})
            m_inst.db().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
    }

    void opensReadyForTheClerk()
    {
        MemberScreen s(m_ui);
        s.show();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        QCOMPARE(QApplication::focusWidget(), field(&s, "Txt찾기"));
        // It fits the workspace of a 1024×768 main frame.
        QVERIFY(s.minimumSizeHint().width() <= 1010);
        QVERIFY(s.minimumSizeHint().height() <= 640);
        QVERIFY(!child<QPushButton>(&s, "Cmd수강등록")->isEnabled());
        auto *kind = child<QComboBox>(&s, "Cob구분");
        kind->setCurrentIndex(4); // 5.카드번호
        QCOMPARE(field(&s, "Txt찾기")->maxLength(), m_inst.ctx().options.opt2);
        kind->setCurrentIndex(0);
        QCOMPARE(field(&s, "Txt찾기")->maxLength(), 14);
    }

    void memberLife()
    {
        MemberScreen s(m_ui);
        QTemporaryDir tmp;
        s.show();
        QVERIFY(QTest::qWaitForWindowActive(&s));

        // Not found: the question, and the searched name on a new card.
        m_msg.answer(true);
        field(&s, "Txt찾기")->setText(QStringLiteral("김하늘"));
        QTest::keyClick(field(&s, "Txt찾기"), Qt::Key_Return);
        QCOMPARE(m_msg.last().text, QString("해당회원을 찾을수 없읍니다.신규등록 하시겠읍니까?"));
        QCOMPARE(m_msg.last().title, QString("회원찾기"));
        QCOMPARE(field(&s, "TxtMbName")->text(), QString("김하늘"));
        QVERIFY(!s.isMemberLoaded());
        QVERIFY(field(&s, "TxtMbCode")->text().isEmpty()); // no number before saving

        // The resident number fills age, sex and birthday when the clerk leaves it.
        typeAndEnter(field(&s, "TxtMbCard"), "55550001");
        typeAndEnter(field(&s, "TxtJuno1"), "850315");
        typeAndEnter(field(&s, "TxtJuno2"), "2234567");
        QCOMPARE(child<QLabel>(&s, "PnlAge")->text(), QString("40"));
        QCOMPARE(child<QComboBox>(&s, "Cob성별")->currentText(), QString("2.여자"));
        QCOMPARE(field(&s, "TxtBirthDay")->text(), QString("1985-03-15"));
        field(&s, "TxtTel1")->setText("010-5555-0001");
        field(&s, "TxtEmail")->setText("sky@example.com");

        m_msg.clear();
        click(&s, "Cmd저장");
        QCOMPARE(m_msg.last().kind, QString("info"));
        QCOMPARE(m_msg.last().text, QString("회원정보를 저장했읍니다.."));
        QVERIFY(s.isMemberLoaded());
        const QString code = field(&s, "TxtMbCode")->text();
        QCOMPARE(code, QString("00000001"));
        QVERIFY(child<QPushButton>(&s, "Cmd수강등록")->isEnabled());
        const auto stored = loadMember(m_inst.db(), code);
        QCOMPARE(stored->sex, QString("여"));
        QCOMPARE(stored->age, 40);
        QCOMPARE(stored->email1, QString("sky@example.com"));

        // Found again by the card number.
        click(&s, "Cmd화면CLEAR");
        QVERIFY(!s.isMemberLoaded());
        child<QComboBox>(&s, "Cob구분")->setCurrentIndex(4);
        typeAndEnter(field(&s, "Txt찾기"), "55550001");
        QVERIFY(s.isMemberLoaded());
        QCOMPARE(field(&s, "TxtMbName")->text(), QString("김하늘"));

        // Edited.
        field(&s, "TxtExt")->setText(QStringLiteral("오전반 희망"));
        click(&s, "Cmd저장");
        QCOMPARE(loadMember(m_inst.db(), code)->ext, QString("오전반 희망"));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Member").toInt(), 1);

        // A photo from a file (a PNG becomes the member's bitmap file).
        const QString png = tmp.filePath("face.png");
        QImage img(60, 80, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        QVERIFY(img.save(png));
        s.setPhotoFileChooser([png] { return png; });
        click(&s, "Cmd불러오기");
        const QString photo = m_inst.ctx().paths.memberPicDir + code + ".BMP";
        QVERIFY(QFile::exists(photo));
        QVERIFY(!child<QLabel>(&s, "Img")->pixmap().isNull());

        // A postponed enrollment: the base row is refused, the postponement row goes.
        Lect base;
        base.mbCode = code;
        base.tAmt = 90000;
        base.cashAmt = 60000;
        const qint64 baseId = addLecture(m_inst.db(), base);
        Lect pause;
        pause.mbCode = code;
        pause.ltGubun = "3";
        pause.rqDate = "2024-05-09";
        pause.sDate1 = "2024-06-01";
        pause.sDate2 = "2024-06-10";
        pause.rday = 10;
        pause.remark = QStringLiteral("출장");
        addDependent(m_inst.db(), baseId, pause, "Delay", "2024-08-10");
        s.refreshMember();
        QCOMPARE(field(&s, "TxtMisuAmt")->text(), QString("30,000"));
        auto *lect = child<DataGrid>(&s, "SpLect");
        QCOMPARE(lect->rowCount(), 2);
        const int baseRow = rowOf(lect, HcState, QStringLiteral("신청"));
        const int pauseRow = rowOf(lect, HcState, QStringLiteral("연기"));
        QCOMPARE(lect->cell(baseRow, HcRemark), QString("연기."));
        QCOMPARE(lect->cell(pauseRow, HcDetail), QString("수영 초급 10일 - 출장"));

        lect->setCurrentRow(baseRow);
        QVERIFY(child<QPushButton>(&s, "Cmd수강환불")->isEnabled());
        m_msg.clear();
        click(&s, "Cmd강좌삭제");
        QCOMPARE(m_msg.last().kind, QString("warn"));
        QCOMPARE(m_msg.last().title, QString("삭제불가"));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Lecture").toInt(), 2);

        lect->setCurrentRow(pauseRow);
        QVERIFY(!child<QPushButton>(&s, "Cmd수강환불")->isEnabled());
        QVERIFY(!child<QPushButton>(&s, "Cmd수강연기")->isEnabled());
        m_msg.answer(true);
        click(&s, "Cmd강좌삭제");
        QCOMPARE(m_msg.last().text, QString("현제 선택한 자료를 삭제하시겠읍니까?"));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Lecture").toInt(), 1);
        const auto b = m_inst.db().queryOne("SELECT Delay, Sdate2 FROM Lecture WHERE Ltid = ?", {baseId});
        QCOMPARE(b->num("Delay"), 0);
        QCOMPARE(b->str("Sdate2"), QString("2024-07-31"));
        QCOMPARE(lect->rowCount(), 1);
        QVERIFY(s.isMemberLoaded());

        // The member goes with everything, the photo too.
        m_msg.answer(true);
        click(&s, "Cmd삭제");
        QCOMPARE(m_msg.shown()[m_msg.shown().size() - 2].text, QString("김하늘 회원의 모든 자료를 삭제하시겠읍니까? "));
        QCOMPARE(m_msg.last().text, QString("회원자료가 모두 삭제되었습니다."));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Member").toInt(), 0);
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Lecture").toInt(), 0);
        QVERIFY(!QFile::exists(photo));
        QVERIFY(!s.isMemberLoaded());
        QVERIFY(field(&s, "TxtMbName")->text().isEmpty());

        m_msg.clear();
        click(&s, "Cmd삭제");
        QCOMPARE(m_msg.last().text, QString("삭제할 자료가 없습니다.확인하십시요"));
    }

    // A refused save keeps everything that was typed.
    // The card shows the resident number masked; a grade-1 user sees it in
    // full while editing the field, others never do. Saving keeps it.
    void residentNumberOnTheCard_data()
    {
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QString>("whileEditing");
        QTest::newRow("grade 1") << "1" << "2564385";
        QTest::newRow("grade 2") << "2" << "2******";
    }
    void residentNumberOnTheCard()
    {
        QFETCH(QString, grade);
        QFETCH(QString, whileEditing);
        addMember(m_inst.db(), "00000001", QStringLiteral("홍길동"));
        m_inst.db().exec("UPDATE Member SET Juno1 = '800408', Juno2 = '2564385' WHERE MbCode = '00000001'");
        const QString kept = m_inst.ctx().user.grCode;
        m_inst.ctx().user.grCode = grade;
        MemberScreen s(m_ui);
        m_inst.ctx().user.grCode = kept;
        s.show();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        QVERIFY(s.showMember("00000001"));
        QLineEdit *juno2 = field(&s, "TxtJuno2");
        QCOMPARE(juno2->text(), QString("2******"));
        juno2->setFocus();
        QCOMPARE(juno2->text(), whileEditing);
        QCOMPARE(juno2->isReadOnly(), grade != "1");
        field(&s, "TxtTel1")->setFocus();
        QCOMPARE(juno2->text(), QString("2******"));
        m_msg.clear();
        click(&s, "Cmd저장");
        QCOMPARE(m_msg.last().text, QString("회원정보를 저장했읍니다.."));
        QCOMPARE(m_inst.db().scalar("SELECT Juno2 FROM Member WHERE MbCode = '00000001'").toString(),
                 QString("2564385"));
        QCOMPARE(juno2->text(), QString("2******"));
    }

    // Closing the card with a changed phone asks; 예 saves, 아니오 discards,
    // 취소 stays. Nothing asks when nothing changed.
    void closingWithChanges_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QString>("stored");
        QTest::newRow("unchanged") << false << -1 << true << "010-1111-2222";
        QTest::newRow("예 saves") << true << int(Messages::Choice::Yes) << true << "010-9999-8888";
        QTest::newRow("아니오 discards") << true << int(Messages::Choice::No) << true << "010-1111-2222";
        QTest::newRow("취소 stays") << true << int(Messages::Choice::Cancel) << false << "010-1111-2222";
    }
    void closingWithChanges()
    {
        QFETCH(bool, edit);
        QFETCH(int, choice);
        QFETCH(bool, closes);
        QFETCH(QString, stored);
        addMember(m_inst.db(), "00000001", QStringLiteral("홍길동"), {}, "010-1111-2222");
        auto *s = new MemberScreen(m_ui);
        s->setAttribute(Qt::WA_DeleteOnClose, false);
        s->show();
        QVERIFY(QTest::qWaitForWindowActive(s));
        QVERIFY(s->showMember("00000001"));
        if (edit) {
            field(s, "TxtTel1")->setText("010-9999-8888");
            m_msg.answer(Messages::Choice(choice));
        }
        m_msg.clear();
        click(s, "Cmd닫기");
        QCOMPARE(s->isVisible(), !closes);
        QCOMPARE(m_msg.texts().contains(QStringLiteral("변경된 내용을 저장하시겠습니까?")), edit);
        QCOMPARE(m_inst.db().scalar("SELECT Tel1 FROM Member WHERE MbCode = '00000001'").toString(), stored);
        delete s;
    }

    // Enter walks the card from the join date to the SMS tick and ends on 저장.
    void enterWalksTheCard()
    {
        MemberScreen s(m_ui);
        s.show();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        QStringList walked;
        QWidget *w = field(&s, "TxtIndate");
        w->setFocus();
        for (int i = 0; i < 30 && w && !qobject_cast<QPushButton *>(w); ++i) {
            walked << w->objectName();
            QTest::keyClick(w, Qt::Key_Return);
            w = QApplication::focusWidget();
        }
        QVERIFY(w);
        QCOMPARE(w->objectName(), QString("Cmd저장"));
        for (const char *name : {"TxtIndate", "Cob회원구분", "TxtMbName", "TxtTel1", "TxtTel2", "ChkDm", "ChkSms"})
            QVERIFY2(walked.contains(name), name);
    }

    // A new card shows the number the member will get; a name past 40
    // characters is cut with a word to the clerk.
    void newCardNumberAndLongName()
    {
        addMember(m_inst.db(), "00000007", QStringLiteral("홍길동"));
        MemberScreen s(m_ui);
        s.show();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        click(&s, "Cmd신규");
        QCOMPARE(field(&s, "TxtMbCode")->placeholderText(), QString("00000008"));
        QVERIFY(field(&s, "TxtMbCode")->text().isEmpty());
        m_msg.clear();
        QLineEdit *name = field(&s, "TxtMbName");
        name->setFocus();
        QTest::keyClicks(name, QString(45, QLatin1Char('a')));
        QCOMPARE(name->text().size(), 40);
        QVERIFY(m_msg.lastText().startsWith(QStringLiteral("회원명은 40자까지")));
    }

    void refusalsKeepTheInput()
    {
        addMember(m_inst.db(), "00000007", QStringLiteral("박영희"), "77770000");
        MemberScreen s(m_ui);
        s.show();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        click(&s, "Cmd신규");
        field(&s, "TxtMbName")->setText(QStringLiteral("최민수"));
        field(&s, "TxtMbCard")->setText("77770000");
        field(&s, "TxtAddr2")->setText(QStringLiteral("101동 202호"));
        click(&s, "Cmd저장");
        QCOMPARE(m_msg.last().text, QString("등록된 회원카드번호는 박영희 회원님이 이미 사용중입니다..."));
        QCOMPARE(field(&s, "TxtMbName")->text(), QString("최민수"));
        QCOMPARE(field(&s, "TxtAddr2")->text(), QString("101동 202호"));

        field(&s, "TxtMbCard")->clear();
        typeAndEnter(field(&s, "TxtBirthDay"), "19901345");
        QCOMPARE(m_msg.last().text, QString("일자를 수정하세요"));
        m_msg.clear();
        click(&s, "Cmd저장");
        QCOMPARE(m_msg.last().text, QString("일자를 수정하세요"));
        QCOMPARE(m_inst.db().scalar("SELECT COUNT(*) FROM Member").toInt(), 1);

        typeAndEnter(field(&s, "TxtBirthDay"), "900105");
        QCOMPARE(field(&s, "TxtBirthDay")->text(), QString("1990-01-05"));
        field(&s, "TxtMbName")->clear();
        click(&s, "Cmd저장");
        QCOMPARE(m_msg.last().text, QString("회원명은 필수입력 항목입니다"));
        QCOMPARE(QApplication::focusWidget(), field(&s, "TxtMbName"));
        QCOMPARE(field(&s, "TxtAddr2")->text(), QString("101동 202호"));

        typeAndEnter(field(&s, "TxtJuno1"), "991332");
        typeAndEnter(field(&s, "TxtJuno2"), "1234567");
        QCOMPARE(m_msg.last().text, QString("주민등록번호가 틀렸습니다."));
        QCOMPARE(QApplication::focusWidget(), field(&s, "TxtJuno1"));
    }

    void severalHitsGoThroughThePickList()
    {
        addMember(m_inst.db(), "00000001", QStringLiteral("이하나"));
        addMember(m_inst.db(), "00000002", QStringLiteral("이하나"));
        addMember(m_inst.db(), "00000003", QStringLiteral("이둘"));
        MemberScreen s(m_ui);
        QList<MemberRecord> offered;
        s.setMemberPicker([&](const QList<MemberRecord> &list) {
            offered = list;
            return list.at(1).mbCode;
        });
        s.searchFor(MemberSearchKind::Name, QStringLiteral("하나"));
        QCOMPARE(offered.size(), 2);
        QCOMPARE(s.memberCode(), QString("00000002"));
        // Closed without a pick: the screen stays on its member.
        s.setMemberPicker([](const QList<MemberRecord> &) { return QString(); });
        s.searchFor(MemberSearchKind::Name, QStringLiteral("이"));
        QCOMPARE(s.memberCode(), QString("00000002"));

        MemberPickDialog pick(m_ui, offered);
        QCOMPARE(pick.grid()->rowCount(), 2);
        QCOMPARE(pick.grid()->cell(1, 0), QString("00000002"));
        pick.grid()->setCurrentRow(1);
        emit pick.grid()->rowActivated(1);
        QVERIFY(pick.TF);
        QCOMPARE(pick.MbCode, QString("00000002"));
    }

    void addressFromTheAddressBox()
    {
        const Db &post = m_inst.ctx().post;
        post.exec("DELETE FROM Post");
        post.exec("INSERT INTO Post (PostNum, SiDo, GuGun, Dong, RI, Bunji, Area, Tflag) VALUES "
                  "('138-130', '서울', '송파구', '오금동', '', '1~100', '송파', '0')");
        MemberScreen s(m_ui);
        s.show();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        QString asked;
        s.setPostPicker([&](const QString &text) {
            asked = text;
            PostLookupDialog dlg(m_ui, false, text);
            dlg.pickCurrent();
            return QPair<QString, QString>{dlg.postNo(), dlg.address()};
        });
        field(&s, "TxtAddr1")->setText(QStringLiteral("오금"));
        field(&s, "TxtAddr1")->setFocus();
        QTest::keyClick(field(&s, "TxtAddr1"), Qt::Key_Return);
        QCOMPARE(asked, QString("오금"));
        QCOMPARE(field(&s, "TxtPostNo")->text(), QString("138-130"));
        QCOMPARE(field(&s, "TxtAddr1")->text(), QString("서울 송파구 오금동"));
        QCOMPARE(QApplication::focusWidget(), field(&s, "TxtAddr2"));
    }

    void enrollmentCommandsDispatch()
    {
        addMember(m_inst.db(), "00000001", QStringLiteral("홍길동"));
        Lect base;
        base.tAmt = 50000;
        base.cashAmt = 50000;
        const qint64 baseId = addLecture(m_inst.db(), base);
        Lect refund;
        refund.ltGubun = "4";
        refund.rqDate = "2024-05-08";
        const qint64 refundId = addDependent(m_inst.db(), baseId, refund, "Cancel", "2024-05-08");
        addMember(m_inst.db(), "00000002", QStringLiteral("이순신"));
        Lect given;
        given.mbCode = "00000002";
        const qint64 givenId = addLecture(m_inst.db(), given);
        m_inst.db().exec("UPDATE Lecture SET Transfer = 99 WHERE Ltid = ?", {givenId});

        MemberScreen s(m_ui);
        s.showMember("00000001");
        // Without the enrollment screens: a clear notice, nothing breaks.
        click(&s, "Cmd수강등록");
        QCOMPARE(m_msg.last().text, QString("준비중인 기능입니다"));
        QCOMPARE(m_msg.last().title, QString("수강등록"));

        QList<EnrollmentRequest> asked;
        bool saved = false;
        MemberScreenHooks hooks;
        hooks.openEnrollment = [&](UiContext &, const EnrollmentRequest &r, QWidget *) -> std::optional<bool> {
            asked << r;
            if (saved)
                m_inst.db().exec("UPDATE Lecture SET CashAmt = 20000 WHERE Ltid = ?", {baseId});
            return saved;
        };
        s.setHooks(hooks);
        click(&s, "Cmd수강등록");
        QCOMPARE(asked.last().screen, EnrollmentScreen::Enrollment);
        QCOMPARE(asked.last().jobGubun, QString("N"));
        QCOMPARE(asked.last().mbCode, QString("00000001"));

        auto *lect = child<DataGrid>(&s, "SpLect");
        lect->setCurrentRow(rowOf(lect, HcState, QStringLiteral("환불")));
        click(&s, "Cmd수강수정");
        QCOMPARE(asked.last().screen, EnrollmentScreen::Refund);
        QCOMPARE(asked.last().jobGubun, QString("C"));
        QCOMPARE(asked.last().ltid, refundId);
        QCOMPARE(asked.last().bLtid, baseId);

        // A refunded enrollment is not refunded or postponed again.
        lect->setCurrentRow(rowOf(lect, HcState, QStringLiteral("신청")));
        QVERIFY(child<QPushButton>(&s, "Cmd수강수정")->isEnabled());
        QVERIFY(!child<QPushButton>(&s, "Cmd수강환불")->isEnabled());

        // The payment screen gets the recomputed outstanding amount; TF redisplays.
        saved = true;
        click(&s, "Cmd미수입금");
        QCOMPARE(asked.last().screen, EnrollmentScreen::Payment);
        QCOMPARE(asked.last().misuAmt, 0);
        QCOMPARE(field(&s, "TxtMisuAmt")->text(), QString("30,000"));

        s.showMember("00000002");
        lect->setCurrentRow(0);
        const int before = asked.size();
        click(&s, "Cmd수강수정");
        QCOMPARE(asked.size(), before);
        QCOMPARE(m_msg.last().text, QString("양도된 강좌는 수정할수 없읍니다"));
    }

    void batchQueryShowsTheMemberOnTheCard()
    {
        addMember(m_inst.db(), "00000001", QStringLiteral("홍길동"));
        addMember(m_inst.db(), "00000002", QStringLiteral("이순신"));
        Lect l;
        l.mbCode = "00000002";
        l.rqDate = "2024-05-10";
        addLecture(m_inst.db(), l);
        MemberScreen s(m_ui);
        BatchQueryDialog *q = s.openBatchQuery();
        child<QComboBox>(q, "CobGubun")->setCurrentIndex(3); // 4.수강신청회원
        q->query();
        QCOMPARE(q->grid()->rowCount(), 1);
        QCOMPARE(child<QLabel>(q, "Pnl건수")->text(), QString("1 건"));
        emit q->grid()->rowActivated(0);
        QCOMPARE(s.memberCode(), QString("00000002"));
        QCOMPARE(child<QComboBox>(&s, "Cob구분")->currentText(), QString("4.회원번호"));
        QCOMPARE(s.openBatchQuery(), q);
        click(q, "Cmd문자전송");
        QCOMPARE(m_msg.last().text, QString("준비중인 기능입니다"));
    }

    void pointRowDeleted()
    {
        addMember(m_inst.db(), "00000001", QStringLiteral("홍길동"));
        addPoint(m_inst.db(), "00000001", "1", 1, 1000);
        addPoint(m_inst.db(), "00000001", "4", 2, 300, 0, "2024-05-02");
        MemberScreen s(m_ui);
        s.showMember("00000001");
        auto *points = child<DataGrid>(&s, "SpPoint");
        QCOMPARE(points->rowCount(), 2);
        QCOMPARE(points->cell(1, 6), QString("1,300"));
        QVERIFY(!child<QPushButton>(&s, "Cmd포인트삭제")->isEnabled());
        points->setCurrentRow(0);
        m_msg.answer(true);
        click(&s, "Cmd포인트삭제");
        QCOMPARE(m_msg.last().text, QString("현제 선택된 자료를 삭제하시겠읍니까?"));
        QCOMPARE(points->rowCount(), 1);
        QCOMPARE(child<QLabel>(&s, "Pnl마일리지")->text(), QString("300"));
    }

    // A long-standing member's visits come a page at a time, newest first,
    // with the count of all; 더보기 and scrolling to the end fetch the rest.
    void visitsInPages()
    {
        addMember(m_inst.db(), "00000001", QStringLiteral("홍길동"));
        const int total = 2 * kVisitPageSize + 7;
        for (int i = 0; i < total; ++i)
            m_inst.db().exec("INSERT INTO entrance (InDate, InTime, PgGubun, MbCode, uTime) VALUES (?, '09:00', '1', "
                             "'00000001', 0)",
                             {QDate(2020, 1, 1).addDays(i).toString(Qt::ISODate)});
        MemberScreen s(m_ui);
        s.resize(1000, 640);
        s.show();
        s.showMember("00000001");
        auto *visits = child<DataGrid>(&s, "SpEnter");
        auto *more = child<QPushButton>(&s, "Enter더보기");
        QCOMPARE(visits->rowCount(), kVisitPageSize);
        QCOMPARE(visits->cell(0, 0), QDate(2020, 1, 1).addDays(total - 1).toString(Qt::ISODate));
        QCOMPARE(child<QLabel>(&s, "Enter건수")->text(), QString("전체 %1건 중 %2건").arg(total).arg(kVisitPageSize));
        QVERIFY(more->isEnabled());
        if (const QByteArray dir = qgetenv("FITROVA_SHOT_DIR"); !dir.isEmpty()) {
            child<QTabWidget>(&s, "Tab")->setCurrentIndex(1);
            s.resize(1024, 768);
            s.grab().save(QString::fromLocal8Bit(dir) + "/memberscreen-visitpages.png");
        }
        click(&s, "Enter더보기");
        QCOMPARE(visits->rowCount(), 2 * kVisitPageSize);
        child<QTabWidget>(&s, "Tab")->setCurrentIndex(1);
        QApplication::processEvents();
        visits->scrollToBottom();
        QCOMPARE(visits->rowCount(), total);
        QVERIFY(!more->isEnabled());
        QCOMPARE(visits->cell(total - 1, 0), QString("2020-01-01"));
        QCOMPARE(child<QLabel>(&s, "Enter건수")->text(), QString("전체 %1건 중 %1건").arg(total));
        s.clearScreen();
        QCOMPARE(visits->rowCount(), 0);
        QCOMPARE(child<QLabel>(&s, "Enter건수")->text(), QString());
    }

    void photoCommandsNeedAMember()
    {
        MemberScreen s(m_ui);
        for (const char *cmd : {"Cmd촬영", "Cmd불러오기", "Cmd사진삭제"}) {
            click(&s, cmd);
            QCOMPARE(m_msg.last().text, QString("회원을 먼저 선택하세요"));
        }
        addMember(m_inst.db(), "00000001", QStringLiteral("홍길동"));
        s.showMember("00000001");
        click(&s, "Cmd촬영"); // there is no camera here
        QCOMPARE(m_msg.last().text, QString("No Video Capture Device!"));
        s.setPhotoFileChooser([] { return QStringLiteral("/nonexistent/file.jpg"); });
        click(&s, "Cmd불러오기");
        QCOMPARE(m_msg.last().text, QString("그림파일을 읽을수 없읍니다"));
    }

    // With the demo centre: a busy member shows on a 1024×768 desk (saved as
    // a picture when FITROVA_SHOT_DIR is set).
    void demoMemberOnTheDesk()
    {
        TestInstall demo(true);
        ScriptedMessages msg;
        UiContext ui{demo.ctx(), msg};
        const QString code = demo.db()
                                 .scalar("SELECT MbCode FROM Lecture GROUP BY MbCode ORDER BY COUNT(*) DESC, MbCode "
                                         "LIMIT 1")
                                 .toString();
        MemberScreen s(ui);
        s.resize(1010, 640);
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        s.searchFor(MemberSearchKind::Code, code);
        QVERIFY(s.isMemberLoaded());
        QVERIFY(child<DataGrid>(&s, "SpLect")->rowCount() > 0);
        QVERIFY(msg.shown().isEmpty());
        const QByteArray dir = qgetenv("FITROVA_SHOT_DIR");
        if (!dir.isEmpty()) {
            s.grab().save(QString::fromLocal8Bit(dir) + "/memberscreen.png");
            auto *tabs = child<QTabWidget>(&s, "Tab");
            tabs->setCurrentIndex(1);
            s.grab().save(QString::fromLocal8Bit(dir) + "/memberscreen-visits.png");
            tabs->setCurrentIndex(2);
            s.grab().save(QString::fromLocal8Bit(dir) + "/memberscreen-points.png");
            BatchQueryDialog *q = s.openBatchQuery();
            q->query();
            q->grab().save(QString::fromLocal8Bit(dir) + "/batchquery.png");
            MemberPickDialog pick(ui, searchMembers(demo.db(), MemberSearchKind::Name, QStringLiteral("김")));
            pick.show();
            pick.grab().save(QString::fromLocal8Bit(dir) + "/picklist.png");
            MemberListScreen list(ui);
            list.resize(list.sizeHint());
            child<QComboBox>(&list, "CobScr")->setCurrentIndex(4);
            list.query();
            list.show();
            list.grab().save(QString::fromLocal8Bit(dir) + "/memberlist.png");
            PointStatusScreen points(ui);
            points.resize(points.sizeHint());
            points.query();
            points.show();
            points.grab().save(QString::fromLocal8Bit(dir) + "/points.png");
        }
    }

private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
};

QTEST_MAIN(TstMemberScreen)
#include "tst_memberscreen.moc"
