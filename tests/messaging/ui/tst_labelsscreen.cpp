// FITROVA_DB_TEST
// The address label screen: members handed over by the member list, the
// ticked ones moved to the print list, a row taken out with Delete, the run
// written into DM인쇄 with the skipped positions first, and one label sheet
// read back from its PDF: names with the honorific, whole addresses, and
// the first member on the position after the skipped ones.

#include "uitest.h"
#include <QtTest>

#include "members/ui/memberscreenhooks.h"
#include "messaging/ui/labelsprint.h"
#include "messaging/ui/labelsscreen.h"
#include "messaging/ui/labelsscreens.h"
#include "testinstall.h"
#include "widgets/datagrid.h"
#include "widgets/moneyedit.h"
#include "widgets/pagedpreview.h"
#include "widgets/screenregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

using namespace fitrova;
using namespace fitrova::test;

namespace {

MemberContacts handedOver()
{
    return {
        {"00000001", "홍길동", "01012345678", "06236", "서울특별시 강남구 테헤란로 152", "강남파이낸스센터 21층"},
        {"00000002", "김영희", "01022223333", "48058", "부산광역시 해운대구 센텀중앙로 79", "센텀사이언스파크 5층 501호"},
        {"00000003", "박철수", "", "63309", "제주특별자치도 제주시 첨단로 242", ""},
        // Long enough to need the smaller type: every word must still arrive whole.
        {"00000004", "이순신", "01055556666", "16514",
         "경기도 수원시 영통구 삼성로 129 매탄동 삼성디지털시티 연구동", "가나다라마바사아자차카타파하 동 1234호"},
    };
}

// The PDF's words with their boxes (points from the top left).
struct Word {
    QString text;
    double x, y;
};
QList<Word> pdfWords(const QString &pdf)
{
    QProcess p;
    p.start("pdftotext", {"-bbox", pdf, "-"});
    if (!p.waitForFinished(20000))
        return {};
    QList<Word> out;
    static const QRegularExpression re(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"[0-9.]+\">([^<]*)</word>");
    const QString xml = QString::fromUtf8(p.readAllStandardOutput());
    for (auto it = re.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        out << Word{m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble()};
    }
    return out;
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start("pdftotext", {pdf, "-"});
    if (!p.waitForFinished(20000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

constexpr double kPointsPerMm = 72.0 / 25.4;

} // namespace

class TstLabelsScreen : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void registered()
    {
        ScreenRegistry r;
        registerLabelScreens(r);
        QVERIFY(r.contains("DM발송"));
    }

    // The member list hands its members over; the screen opens with them.
    void handOver()
    {
        QWidget parent;
        runHandover(m_ui, openLabelScreen, handedOver(), "주소라벨", &parent);
        auto *screen = parent.findChild<LabelsScreen *>();
        QVERIFY(screen);
        QCOMPARE(screen->searchGrid()->rowCount(), 4);
        QCOMPARE(screen->searchGrid()->cell(0, 5), QString("010-1234-5678"));
        screen->close();
    }

    void chooseAndPrint()
    {
        LabelsScreen s(m_ui);
        s.setSearchList(handedOver());
        QCOMPARE(s.searchGrid()->checkedRows(0).size(), 4);
        child<QCheckBox>(&s, "Chk전체선택")->setChecked(false);
        QVERIFY(s.searchGrid()->checkedRows(0).isEmpty());
        click(&s, "Cmd선택");
        QCOMPARE(m_msg.lastText(), QString("선택된 회원이 없습니다."));
        child<QCheckBox>(&s, "Chk전체선택")->setChecked(true);
        click(&s, "Cmd선택");
        QCOMPARE(s.printGrid()->rowCount(), 4);

        // Delete takes a row out of the print list.
        s.printGrid()->setCurrentRow(1);
        QTest::keyClick(s.printGrid(), Qt::Key_Delete);
        QCOMPARE(s.printGrid()->rowCount(), 3);
        QCOMPARE(s.printList().at(1).mbName, QString("박철수"));
        QCOMPARE(s.printList().at(2).mbName, QString("이순신"));

        // Three positions of a partly used sheet skipped.
        child<QComboBox>(&s, "Cob라벨")->setCurrentIndex(child<QComboBox>(&s, "Cob라벨")->findData("2x8"));
        child<MoneyEdit>(&s, "TxtSkip")->setAmount(3);
        child<QDoubleSpinBox>(&s, "Txt여백좌")->setValue(0);
        child<QDoubleSpinBox>(&s, "Txt여백상")->setValue(0);
        const auto rows = s.prepareRun();
        QVERIFY(rows);
        QCOMPARE(rows->size(), 6);
        QCOMPARE(rows->at(3).position, 4);
        QCOMPARE(rows->at(3).name, QString("홍길동"));
        QCOMPARE(rows->at(3).honorific, QString("님 貴下"));
        QCOMPARE(m_inst.ctx().print.scalar("SELECT COUNT(*) FROM DM인쇄").toInt(), 6);
        QCOMPARE(m_inst.ctx().print.scalar("SELECT 순서 FROM DM인쇄 WHERE 성명 = '홍길동'").toInt(), 4);

        // A whole sheet of skips is refused.
        child<MoneyEdit>(&s, "TxtSkip")->setAmount(16);
        QVERIFY(!s.prepareRun());
        QCOMPARE(m_msg.lastText(), QString("건너뛸 칸은 0 ~ 15 사이로 입력하세요."));

        // The sheet, read back from its PDF.
        LabelSheetDocument doc(*rows, s.printOptions());
        QTemporaryDir dir;
        const QString pdf = dir.filePath("labels.pdf");
        QVERIFY(printDocumentToPdf(doc, pdf));
        const QString text = pdfText(pdf);
        if (text.isEmpty())
            QSKIP("pdftotext is not installed");
        const QString flat = QString(text).remove(QRegularExpression("\\s"));
        for (const MemberContact &m : s.printList()) {
            QVERIFY2(flat.contains(m.mbName + "님貴下"), qPrintable(m.mbName));
            QVERIFY2(flat.contains(QString(m.addr1 + m.addr2).remove(' ')), qPrintable(m.addr1));
            QVERIFY(flat.contains(m.postNo));
        }
        QVERIFY(!flat.contains("김영희"));

        // The first member sits on position 4: row 2, right column of the 2×8 sheet.
        const LabelSheet &sheet = labelSheet("2x8");
        const QRectF place = labelRect(sheet, 1, 1);
        bool found = false;
        for (const Word &w : pdfWords(pdf))
            if (w.text == "홍길동") {
                found = true;
                QVERIFY(w.x > place.left() * kPointsPerMm && w.x < place.right() * kPointsPerMm);
                QVERIFY(w.y > place.top() * kPointsPerMm && w.y < place.bottom() * kPointsPerMm);
            }
        QVERIFY(found);

        const QByteArray shots = qgetenv("FITROVA_SHOT_DIR");
        if (!shots.isEmpty()) {
            s.resize(1000, 660);
            s.show();
            QTest::qWait(50);
            s.grab().save(QString::fromLocal8Bit(shots) + "/labels-screen.png");
            QProcess::execute("pdftoppm", {"-png", "-r", "60", "-singlefile", pdf, QString::fromLocal8Bit(shots) + "/labels-sheet"});
        }
    }

    // Nothing to print and nothing skipped: told, nothing written. Only
    // skipped positions: blanks only.
    void emptyRuns()
    {
        LabelsScreen s(m_ui);
        m_inst.ctx().print.exec("DELETE FROM DM인쇄");
        QVERIFY(!s.prepareRun());
        QCOMPARE(m_msg.lastText(), QString("인쇄할 회원이 없습니다."));
        child<MoneyEdit>(&s, "TxtSkip")->setAmount(2);
        const auto rows = s.prepareRun();
        QVERIFY(rows);
        QCOMPARE(rows->size(), 2);
        QVERIFY(rows->at(0).isBlank() && rows->at(1).isBlank());
    }

    // Margins are remembered per sheet kind.
    void marginsRemembered()
    {
        {
            LabelsScreen s(m_ui);
            auto *sheet = child<QComboBox>(&s, "Cob라벨");
            sheet->setCurrentIndex(sheet->findData("3x7"));
            child<QDoubleSpinBox>(&s, "Txt여백좌")->setValue(1.5);
            child<QDoubleSpinBox>(&s, "Txt여백상")->setValue(-2);
            sheet->setCurrentIndex(sheet->findData("2x8"));
            QCOMPARE(child<QDoubleSpinBox>(&s, "Txt여백좌")->value(), 0.0);
            sheet->setCurrentIndex(sheet->findData("3x7"));
        }
        LabelsScreen again(m_ui);
        QCOMPARE(again.printOptions().sheetId, QString("3x7"));
        QCOMPARE(again.printOptions().adjustLeft, 1.5);
        QCOMPARE(again.printOptions().adjustTop, -2.0);
    }

private:
    TestInstall m_inst;
    ScriptedMessages m_msg;
    UiContext m_ui{m_inst.ctx(), m_msg};
};

QTEST_MAIN(TstLabelsScreen)
#include "tst_labelsscreen.moc"
