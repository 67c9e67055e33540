#pragma once
// The shift's closing entry (교대마감입력): a blind count. The clerk first
// gives the float the shift began with, the notes and coins in the drawer
// and the card slips total, and confirms them (확인); only then are the
// recorded takings, the difference and the amount closed shown, with the
// reason a difference above the centre's limit needs and the float to leave
// for the next shift. 교대마감 closes the shift; the closing slip goes to the
// receipt printer (영수증) or to paper (인쇄). X인쇄 prints what the shift has
// recorded so far at any time.
//
// Opened with the shift's Fnid (0: the logged-in user's own shift, opened
// now when there is none), or with a daily closing's Fnid to look at it; a
// closed shift is shown as it was closed.

#include "closing/closingsettings.h"
#include "closing/shift.h"
#include "closing/shiftslip.h"
#include "sales/ui/systemreceiptprinter.h"
#include "widgets/uicontext.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fitrova {

class DataGrid;
class MoneyEdit;

class ShiftCloseDialog : public QDialog {
    Q_OBJECT
public:
    ShiftCloseDialog(UiContext &ui, qint64 fnid, const std::optional<TimeWindow> &bounds, QWidget *parent = nullptr);

    // True once the dialog closed a shift.
    bool TF = false;

    enum class Mode { Count, Closed, Daily };
    Mode mode() const { return m_mode; }
    bool countConfirmed() const { return m_confirmed; }
    const ShiftReading &reading() const { return m_reading; }

    // Where slips go: the workstation's receipt printer, and paper (the
    // default asks for a printer); replaced in tests.
    ReceiptOutput &receiptOutput() { return m_output; }
    std::function<QString(const Receipt &, const QString &title)> paperPrinter;

    // The commands, also for tests and scripted use.
    bool confirmCount();
    bool closeShift();
    void printX();
    void printSlip(bool onPaper);

private:
    void load();
    void showCount(bool editable);
    void showFigures();
    void recompute();
    ShiftCount currentCount() const;
    ShiftSlip slip() const;
    void sendToReceiptPrinter(const Receipt &r, const QString &title);

    UiContext &m_ui;
    qint64 m_fnid;
    std::optional<TimeWindow> m_bounds;
    ClosingSettings m_settings;
    Mode m_mode = Mode::Count;
    bool m_confirmed = false;
    ShiftReading m_reading;
    ReceiptOutput m_output;

    QLabel *m_user, *m_pos, *m_shift, *m_from, *m_to;
    QGroupBox *m_countBox, *m_figureBox;
    MoneyEdit *m_befAmt, *m_cardSlips, *m_floatLeft;
    std::array<MoneyEdit *, 8> m_qty{};
    std::array<QLabel *, 8> m_unitAmount{};
    QLabel *m_counted;
    DataGrid *m_recorded;
    QLabel *m_cash2, *m_card2, *m_tot2, *m_cash3, *m_card3, *m_tot3, *m_cash4, *m_tot4, *m_reasonLabel;
    QLineEdit *m_reason;
    QPushButton *m_cmdConfirm, *m_cmdClose, *m_cmdX, *m_cmdReceipt, *m_cmdPaper;
};

} // namespace fitrova
