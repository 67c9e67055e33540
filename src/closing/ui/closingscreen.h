#pragma once
// The closing screen (일일마감): the daily closings (tab 일일마감, SpFin) and
// the shift closings (tab 교대마감, SpFin1) of a period of sale dates and
// times or of closing dates, printed and exported; the daily closing of a
// window (일일마감작업), a shift opened by hand (교대개시) and a shift's
// blind count (교대마감, or a double click on a row), the sales of a closing
// (매출조회), deletion with the delete right, and the closing settings
// (마감환경).

#include "closing/closing.h"
#include "widgets/uicontext.h"

#include <QWidget>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace fitrova {

class DataGrid;
class DateEdit;

class ClosingScreen : public QWidget {
    Q_OBJECT
public:
    explicit ClosingScreen(UiContext &ui, QWidget *parent = nullptr);

    QSize sizeHint() const override { return QSize(1000, 640); }

    DataGrid *dailyGrid() const { return m_daily; }
    DataGrid *shiftGrid() const { return m_shifts; }
    bool shiftTab() const;

    // The sale-date window of the inputs; nothing (after telling the user)
    // when a date or a time cannot be read or the window runs backwards.
    std::optional<TimeWindow> saleWindow(bool tell = true);

    void query();
    void closeDay();
    void openShift();
    void closeShiftOf(qint64 fnid);
    void showSales();
    void deleteRow(DataGrid *grid, int row);
    void print();
    void exportExcel();
    void editSettings();

private:
    void loadDefaults();
    void modeChanged();
    void fill(DataGrid *grid, const QList<FinishRow> &rows);
    QString periodLine() const;
    DataGrid *currentGrid() const;
    qint64 currentFnid() const;

    UiContext &m_ui;
    QRadioButton *m_bySale, *m_byClosing;
    DateEdit *m_from, *m_to, *m_fFrom, *m_fTo;
    QLineEdit *m_time1, *m_time2;
    QComboBox *m_closingDay;
    QCheckBox *m_notClosed;
    QTabWidget *m_tabs;
    DataGrid *m_daily, *m_shifts;
};

} // namespace fitrova
