#pragma once
// The printed cash book "수입지출현황": the period and the chosen filters under
// the title, the balance brought forward, every entry with its running
// balance, and the totals with the number of entries; A4 upright, as many
// pages as it takes, the column heads on every page.

#include "closing/cashbook.h"
#include "widgets/pagedpreview.h"

#include <QDate>
#include <QList>
#include <QStringList>

namespace fitrova {

struct CashBookReportData {
    QString title = QStringLiteral("수입지출현황");
    QString period;    // "from~to"
    QString condition; // kind, account and payment kind as chosen
    QString business;
    QDate printDate;
    CashBook book;
};

class CashBookReport : public PagedDocument {
public:
    explicit CashBookReport(CashBookReportData data);

    void setupPage(QPagedPaintDevice &device) const override;
    int pageCount(QPagedPaintDevice &device) override;
    void paintPage(QPainter &painter, QPagedPaintDevice &device, int page) override;

    // The printed rows: the brought-forward row, the entries, the total row.
    const QList<QStringList> &rows() const { return m_rows; }
    static QStringList headers();

private:
    struct Layout;
    Layout layout(QPagedPaintDevice &device) const;

    CashBookReportData m_data;
    QList<QStringList> m_rows;
};

} // namespace fitrova
