#include "closing/ui/cashbookreport.h"

#include "data/text.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

namespace fitrova {

namespace {

// Column widths in millimetres (180 in all) and which columns hold amounts.
const double kColMm[] = {21, 10, 10, 26, 14, 41, 19, 19, 20};
constexpr int kCols = 9;
constexpr int kFirstAmountCol = 6;

QFont reportFont(double points, bool bold = false)
{
    QFont f(QStringLiteral("NanumGothic"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QString amountText(qint64 v) { return v == 0 ? QStringLiteral("0") : wonText(v); }

} // namespace

struct CashBookReport::Layout {
    double mm = 1;          // device pixels per millimetre
    double width = 0;       // printable width and height
    double height = 0;
    double headerH = 0;     // title block
    double rowH = 0;
    double footerH = 0;
    int rowsPerPage = 1;
    QList<double> colX, colW;
};

QStringList CashBookReport::headers()
{
    return {QStringLiteral("일자"), QStringLiteral("코드"), QStringLiteral("구분"), QStringLiteral("계정과목"),
            QStringLiteral("현금/카드"), QStringLiteral("적요"), QStringLiteral("수입"), QStringLiteral("지출"),
            QStringLiteral("잔액")};
}

CashBookReport::CashBookReport(CashBookReportData data) : m_data(std::move(data))
{
    const CashBook &b = m_data.book;
    m_rows << QStringList{QStringLiteral("[전기이월]"), {}, {}, {}, {}, {}, {}, {}, amountText(b.broughtForward)};
    for (const CashEntry &e : b.entries)
        m_rows << QStringList{e.date, e.accountCode, cashKindText(e.kind), e.accountName, cashPayText(e.payKind), e.text,
                              amountText(e.income), amountText(e.expense), amountText(e.balance)};
    m_rows << QStringList{QStringLiteral("[합    계]"), {}, {}, {}, {}, QString::number(b.entries.size()) + QStringLiteral(" 건"),
                          amountText(b.totalIncome), amountText(b.totalExpense), amountText(b.closingBalance())};
}

void CashBookReport::setupPage(QPagedPaintDevice &device) const
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 12),
                                     QPageLayout::Millimeter));
}

CashBookReport::Layout CashBookReport::layout(QPagedPaintDevice &device) const
{
    Layout l;
    l.mm = device.logicalDpiX() / 25.4;
    l.width = device.width();
    l.height = device.height();
    l.headerH = 24 * l.mm;
    l.rowH = 6 * l.mm;
    l.footerH = 7 * l.mm;
    const double scale = l.width / (180 * l.mm); // the columns fill the width
    double x = 0;
    for (double w : kColMm) {
        l.colX << x;
        l.colW << w * l.mm * scale;
        x += w * l.mm * scale;
    }
    // One row of column heads on every page.
    l.rowsPerPage = qMax(1, int((l.height - l.headerH - l.footerH) / l.rowH) - 1);
    return l;
}

int CashBookReport::pageCount(QPagedPaintDevice &device)
{
    const Layout l = layout(device);
    return qMax(1, int((m_rows.size() + l.rowsPerPage - 1) / l.rowsPerPage));
}

void CashBookReport::paintPage(QPainter &p, QPagedPaintDevice &device, int page)
{
    const Layout l = layout(device);
    const int pages = qMax(1, int((m_rows.size() + l.rowsPerPage - 1) / l.rowsPerPage));
    QPaintDevice *dev = p.device();
    const auto font = [dev](double pt, bool bold = false) { return QFont(reportFont(pt, bold), dev); };

    // Title block: the title, the period and filters, print date and business.
    p.setPen(Qt::black);
    p.setFont(font(16, true));
    drawPrintText(p, QRectF(0, 0, l.width, 9 * l.mm), Qt::AlignCenter, m_data.title);
    p.setFont(font(9));
    const QRectF line1(0, 11 * l.mm, l.width, 5 * l.mm), line2(0, 16 * l.mm, l.width, 5 * l.mm);
    drawPrintText(p, line1, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("기간 : ") + m_data.period);
    drawPrintText(p, line1, Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("출력일자 : ") + m_data.printDate.toString(QStringLiteral("yyyy-MM-dd")));
    drawPrintText(p, line2, Qt::AlignLeft | Qt::AlignVCenter, m_data.condition);
    drawPrintText(p, line2, Qt::AlignRight | Qt::AlignVCenter, m_data.business);

    // Column heads.
    double y = l.headerH;
    const QPen thin(Qt::black, qMax(1.0, 0.2 * l.mm));
    p.setPen(thin);
    p.setFont(font(8.5, true));
    p.fillRect(QRectF(0, y, l.width, l.rowH), QColor(0xE8, 0xEE, 0xF6));
    const QStringList heads = headers();
    for (int c = 0; c < kCols; ++c) {
        const QRectF cell(l.colX[c], y, l.colW[c], l.rowH);
        p.drawRect(cell);
        drawPrintText(p, cell, Qt::AlignCenter, heads[c]);
    }
    y += l.rowH;

    // The rows of this page.
    const int first = (page - 1) * l.rowsPerPage;
    const int last = qMin(int(m_rows.size()), first + l.rowsPerPage);
    const double pad = 1.2 * l.mm;
    for (int i = first; i < last; ++i) {
        const QStringList &cells = m_rows[i];
        const bool special = i == 0 || i == m_rows.size() - 1;
        if (special)
            p.fillRect(QRectF(0, y, l.width, l.rowH), QColor(0xFF, 0xF2, 0xCC));
        p.setFont(font(8.5, special));
        const QFontMetricsF fm(p.font(), dev);
        for (int c = 0; c < kCols; ++c) {
            const QRectF cell(l.colX[c], y, l.colW[c], l.rowH);
            p.drawRect(cell);
            const QRectF inner = cell.adjusted(pad, 0, -pad, 0);
            const Qt::Alignment align =
                c >= kFirstAmountCol ? Qt::AlignRight : (c <= 2 || c == 4 ? Qt::AlignHCenter : Qt::AlignLeft);
            // A text wider than its column is shortened at a character, never cut through one.
            drawPrintText(p, inner, align | Qt::AlignVCenter, fm.elidedText(cells.value(c), Qt::ElideRight, inner.width()));
        }
        y += l.rowH;
    }

    p.setFont(font(8));
    drawPrintText(p, QRectF(0, l.height - l.footerH, l.width, l.footerH), Qt::AlignCenter | Qt::AlignBottom,
               QStringLiteral("- %1 / %2 -").arg(page).arg(pages));
}

} // namespace fitrova
