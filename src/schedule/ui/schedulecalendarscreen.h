#pragma once
// The diary's month calendar (일정표): the common entries of everybody or the
// user's own personal entries, each day's lines in its cell (with the
// details when 세부내용 is ticked); a day opens the entry screen. Weeks run
// from Sunday.

#include "schedule/schedule.h"
#include "widgets/pagedpreview.h"
#include "widgets/uicontext.h"

#include <QHash>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;

namespace fitrova {

class ScheduleCalendarScreen : public QWidget {
    Q_OBJECT
public:
    explicit ScheduleCalendarScreen(UiContext &ui, QWidget *parent = nullptr);

    int year() const { return m_year; }
    int month() const { return m_month; }
    void setMonth(int year, int month);
    QString kind() const;
    // Queries the month and draws it again.
    void redraw();
    // Opens the entry screen for the day; redraws when it saved or deleted.
    void openDay(const QDate &day);
    void print();

    QTableWidget *calendar() const { return m_grid; }
    // The lines shown in the day's cell (empty for days outside the month).
    QStringList dayLines(const QDate &day) const;

    // For tests: replaces the modal entry screen (returns its TF).
    std::function<bool(const QDate &)> runEntryScreen;

private:
    UiContext &m_ui;
    QComboBox *m_kind, *m_mm;
    QLabel *m_yy;
    QCheckBox *m_details;
    QTableWidget *m_grid;
    int m_year, m_month;
    QList<QDate> m_cells;
    QHash<QDate, QStringList> m_lines;
};

// The month printed on one A4 sheet across: "YYYY년 M월 일정표" over the weeks.
class ScheduleMonthDocument : public PagedDocument {
public:
    ScheduleMonthDocument(int year, int month, QHash<QDate, QStringList> lines, QString business);
    void setupPage(QPagedPaintDevice &device) const override;
    int pageCount(QPagedPaintDevice &) override { return 1; }
    void paintPage(QPainter &painter, QPagedPaintDevice &device, int page) override;
    static QString heading(int year, int month);

private:
    int m_year, m_month;
    QHash<QDate, QStringList> m_lines;
    QString m_business;
};

} // namespace fitrova
