// Keyboard, window and drop-down routines; message boxes, the notice window
// and the date fields.

#include <QtTest>

#include "widgets/busynotice.h"
#include "widgets/dateedit.h"
#include "uitest.h"
#include "widgets/messages.h"
#include "widgets/widgetutil.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace fitrova;

namespace {

QComboBox *classCombo(QWidget *parent = nullptr)
{
    auto *c = new QComboBox(parent);
    c->addItem("0-모두보기", 0);
    c->addItem("01-수영", "A");
    c->addItem("02-헬스", 2);
    c->addItem("10-요가", "10");
    c->addItem("103-필라테스", "103");
    c->setCurrentIndex(2);
    return c;
}

// Answers the next message box by clicking the button with the given text
// and records what the box showed.
struct BoxAnswer {
    QString buttons, title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};
void answerNextBox(BoxAnswer *seen, const QString &click)
{
    fitrova::test::expectModal<QMessageBox>([seen, click](QMessageBox *box) {
        for (QAbstractButton *b : box->buttons())
            seen->buttons += b->text() + "|";
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        for (QAbstractButton *b : box->buttons())
            if (b->text() == click)
                b->click();
    });
}

} // namespace

class TstWidgetUtil : public QObject {
    Q_OBJECT
private slots:
    void comboSelection_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("found");
        QTest::newRow("text contains") << "text" << QVariant("요") << 3 << true;
        QTest::newRow("text none") << "text" << QVariant("골프") << 2 << false;
        QTest::newRow("code as number") << "code" << QVariant("1") << 1 << true;
        QTest::newRow("code with zero") << "code" << QVariant("10") << 3 << true;
        QTest::newRow("code zero is all") << "code" << QVariant("00") << 0 << true;
        QTest::newRow("code none") << "code" << QVariant("7") << 2 << false;
        QTest::newRow("code of three digits") << "code" << QVariant("103") << 4 << true;
        QTest::newRow("data text") << "data" << QVariant("A") << 1 << true;
        QTest::newRow("data number as text") << "data" << QVariant("2") << 2 << true;
        QTest::newRow("data text as number") << "data" << QVariant(10) << 3 << true;
        QTest::newRow("data none") << "data" << QVariant("Z") << 2 << false;
        QTest::newRow("item exact") << "item" << QVariant("01-수영") << 1 << true;
        QTest::newRow("item part") << "item" << QVariant("수영") << 2 << false;
    }
    void comboSelection()
    {
        QFETCH(QString, how);
        QFETCH(QVariant, value);
        QFETCH(int, index);
        QFETCH(bool, found);
        std::unique_ptr<QComboBox> c(classCombo());
        bool ok = false;
        if (how == "text")
            ok = selectComboByText(c.get(), value.toString());
        else if (how == "code")
            ok = selectComboByCode(c.get(), value.toString());
        else if (how == "data")
            ok = selectComboByItemData(c.get(), value);
        else
            ok = selectComboByItem(c.get(), value.toString());
        QCOMPARE(ok, found);
        QCOMPARE(c->currentIndex(), index);
    }

    void fillComboSelectsFirstAndSignalsOnce()
    {
        QComboBox c;
        c.addItem("old");
        QSignalSpy changed(&c, &QComboBox::currentIndexChanged);
        fillCombo(&c, {{"0-모두보기", {}}, {"1-수영", "1"}});
        QCOMPARE(c.count(), 2);
        QCOMPARE(c.currentIndex(), 0);
        QCOMPARE(c.itemData(1).toString(), QString("1"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(comboCode(&c), QString("0"));
        fillCombo(&c, {});
        QCOMPARE(c.currentIndex(), -1);
        QCOMPARE(comboCode(&c), QString());
    }

    void numericInput_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("blank") << "  " << true;
        QTest::newRow("digits") << "12345" << true;
        QTest::newRow("grouped") << "1,234,000" << true;
        QTest::newRow("sign and decimals") << " -12.50 " << true;
        QTest::newRow("letters") << "12a" << false;
        QTest::newRow("hangul") << "일이삼" << false;
        QTest::newRow("only sign") << "-" << false;
        QTest::newRow("two points") << "1.2.3" << false;
    }
    void numericInput()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        ScriptedMessages msg;
        QCOMPARE(isNumericInput(text, msg), ok);
        if (ok) {
            QVERIFY(msg.shown().isEmpty());
        } else {
            QCOMPARE(msg.shown().size(), 1);
            QCOMPARE(msg.last().kind, QString("warn"));
            QCOMPARE(msg.last().text, QString("숫자만 입력가능합니다"));
            QCOMPARE(msg.last().title, QString("확인"));
        }
    }

    void enterMovesToNextFieldUpToPrevious()
    {
        QDialog form;
        auto *lay = new QVBoxLayout(&form);
        auto *a = new QLineEdit(&form);
        auto *combo = classCombo(&form);
        auto *memo = new QPlainTextEdit(&form);
        auto *b = new QLineEdit(&form);
        auto *search = new QLineEdit(&form);
        for (QWidget *w : {static_cast<QWidget *>(a), static_cast<QWidget *>(combo), static_cast<QWidget *>(memo),
                           static_cast<QWidget *>(b), static_cast<QWidget *>(search)})
            lay->addWidget(w);
        installEnterAsTab(&form);
        installEnterAsTab(&form); // twice is harmless
        excludeFromEnterAsTab(search);
        QSignalSpy searched(search, &QLineEdit::returnPressed);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();

        a->setFocus();
        QTRY_VERIFY(a->hasFocus());
        QTest::keyClick(a, Qt::Key_Return);
        QTRY_VERIFY(combo->hasFocus());
        QCOMPARE(form.result(), 0); // Enter did not close the dialog
        // Up-arrow in a drop-down changes the item, not the field.
        QTest::keyClick(combo, Qt::Key_Up);
        QVERIFY(combo->hasFocus());
        QTest::keyClick(combo, Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_VERIFY(memo->hasFocus());
        // A multi-line field takes Enter as a new line.
        QTest::keyClick(memo, Qt::Key_Return);
        QVERIFY(memo->hasFocus());
        QCOMPARE(memo->toPlainText(), QString("\n"));
        b->setFocus();
        QTRY_VERIFY(b->hasFocus());
        QTest::keyClick(b, Qt::Key_Up);
        QTRY_VERIFY(memo->hasFocus());
        search->setFocus();
        QTRY_VERIFY(search->hasFocus());
        QTest::keyClick(search, Qt::Key_Return);
        QVERIFY(search->hasFocus());
        QCOMPARE(searched.count(), 1);
    }

    void selectAllOnFocus()
    {
        QWidget form;
        auto *lay = new QVBoxLayout(&form);
        auto *a = new QLineEdit("처음", &form);
        auto *b = new QLineEdit("홍길동", &form);
        lay->addWidget(a);
        lay->addWidget(b);
        installSelectAllOnFocus(&form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        a->setFocus();
        b->setFocus();
        QTRY_COMPARE(b->selectedText(), QString("홍길동"));
    }

    void hangulModeHints()
    {
        QLineEdit e;
        setHangulMode(&e, false);
        QVERIFY(e.inputMethodHints() & Qt::ImhPreferLatin);
        setHangulMode(&e, true);
        QVERIFY(!(e.inputMethodHints() & Qt::ImhPreferLatin));
    }

    void centring()
    {
        QWidget w;
        w.resize(400, 300);
        centerForm(&w);
        const QRect s = w.screen()->availableGeometry();
        QCOMPARE(w.x(), s.left() + (s.width() - w.frameGeometry().width()) / 2);
        QCOMPARE(w.y(), s.top() + (s.height() - w.frameGeometry().height()) / 3);
    }

    void messageBoxesSpeakKorean()
    {
        DesktopMessages msg;
        BoxAnswer seen;
        answerNextBox(&seen, "아니오");
        QVERIFY(!msg.ask("현제 선택한 자료를 삭제하시겠읍니까?", "자료삭제"));
        QCOMPARE(seen.buttons, QString("예|아니오|"));
        QCOMPARE(seen.title, QString("자료삭제"));
        QCOMPARE(seen.icon, QMessageBox::Question);

        seen = {};
        answerNextBox(&seen, "예");
        QVERIFY(msg.ask("저장하시겠습니까?", "확인"));

        seen = {};
        answerNextBox(&seen, "확인");
        msg.warn("경고", "확인");
        QCOMPARE(seen.buttons, QString("확인|"));
        QCOMPARE(seen.icon, QMessageBox::Warning);

        seen = {};
        answerNextBox(&seen, "확인");
        msg.info("알림", "제목");
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.text, QString("알림"));
    }

    void noticeClosesByItself()
    {
        QPointer<BusyNotice> n = showBusyNotice("자료를 준비중 입니다", nullptr, 50);
        QVERIFY(n);
        QVERIFY(n->isVisible());
        QCOMPARE(n->text(), QString("자료를 준비중 입니다"));
        n->grab().save(QDir::temp().filePath("fitrova_notice.png"));
        QTRY_VERIFY(n.isNull());

        QPointer<BusyNotice> scoped;
        {
            BusyScope busy;
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *b = qobject_cast<BusyNotice *>(w); b && b->isVisible())
                    scoped = b;
            QVERIFY(scoped);
        }
        QVERIFY(!QApplication::overrideCursor());
        QTRY_VERIFY(scoped.isNull());
    }

    // Dates typed in the usual forms are read on Enter and on leaving the
    // field; what is no date brings the previous date back.
    void typedDates_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QString>("shown");
        for (const bool enter : {true, false}) {
            const char *how = enter ? "enter" : "leave";
            QTest::newRow(qPrintable(QString("eight digits, %1").arg(how))) << "20241215" << enter << "2024-12-15";
            QTest::newRow(qPrintable(QString("with hyphens, %1").arg(how))) << "2024-12-15" << enter << "2024-12-15";
            QTest::newRow(qPrintable(QString("month-day this year, %1").arg(how))) << "12-15" << enter << "2025-12-15";
            QTest::newRow(qPrintable(QString("day this month, %1").arg(how))) << "15" << enter << "2025-03-15";
            QTest::newRow(qPrintable(QString("one digit, %1").arg(how))) << "8" << enter << "2025-03-08";
            QTest::newRow(qPrintable(QString("no such day, %1").arg(how))) << "0230" << enter << "2024-02-29";
            QTest::newRow(qPrintable(QString("day 32, %1").arg(how))) << "32" << enter << "2024-02-29";
        }
    }
    void typedDates()
    {
        QFETCH(QString, typed);
        QFETCH(bool, byEnter);
        QFETCH(QString, shown);
        QWidget w;
        auto *d = new DateEdit(QDate(2024, 2, 29), &w);
        d->setToday(QDate(2025, 3, 20));
        auto *next = new QLineEdit(&w);
        auto *lay = new QVBoxLayout(&w);
        lay->addWidget(d);
        lay->addWidget(next);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        d->setFocus();
        QTest::keyClicks(d, typed);
        if (byEnter)
            QTest::keyClick(d, Qt::Key_Return);
        else
            next->setFocus();
        QCOMPARE(d->dateText(), shown);
        QCOMPARE(d->text(), shown);
        QVERIFY(d->calendarPopup());
    }

    void dateFields()
    {
        DateEdit d(QDate(2024, 2, 29));
        QCOMPARE(d.dateText(), QString("2024-02-29"));
        QVERIFY(d.calendarPopup());
        QVERIFY(!d.setDateText("2024-02-30"));
        QCOMPARE(d.dateText(), QString("2024-02-29"));
        QSignalSpy changed(&d, &DateEdit::dateTextChanged);
        QVERIFY(d.setDateText("2023-12-31"));
        QCOMPARE(changed.value(0).value(0).toString(), QString("2023-12-31"));
        QCOMPARE(d.text(), QString("2023-12-31"));

        MonthEdit m;
        QVERIFY(m.setMonthText("2024-02"));
        QCOMPARE(m.monthText(), QString("2024-02"));
        QCOMPARE(m.firstDayText(), QString("2024-02-01"));
        QCOMPARE(m.lastDayText(), QString("2024-02-29"));
        QVERIFY(!m.setMonthText("2024-13"));
    }
};

QTEST_MAIN(TstWidgetUtil)
#include "tst_widgetutil.moc"
