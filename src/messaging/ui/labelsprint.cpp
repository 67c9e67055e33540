#include "messaging/ui/labelsprint.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

namespace fitrova {

namespace {

QFont labelFont(double points, bool bold, QPaintDevice *dev)
{
    QFont f(QStringLiteral("NanumGothic"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return QFont(f, dev);
}

} // namespace

LabelSheetDocument::LabelSheetDocument(QList<LabelRow> rows, LabelPrintOptions options)
    : m_rows(std::move(rows)), m_options(std::move(options))
{
}

void LabelSheetDocument::setupPage(QPagedPaintDevice &device) const
{
    // The whole sheet: the labels are placed from the paper's edge.
    if (auto *printer = dynamic_cast<QPrinter *>(&device))
        printer->setFullPage(true);
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                     QPageLayout::Millimeter));
}

int LabelSheetDocument::pageCount(QPagedPaintDevice &)
{
    int last = 0;
    for (const LabelRow &r : m_rows)
        last = qMax(last, r.position);
    return labelSheetCount(sheet(), last);
}

void LabelSheetDocument::paintPage(QPainter &p, QPagedPaintDevice &device, int page)
{
    const LabelSheet &s = sheet();
    const double mm = device.logicalDpiX() / 25.4;
    for (const LabelRow &row : m_rows) {
        const LabelPlace place = labelPlace(s, row.position);
        if (place.sheet != page - 1)
            continue;
        const QRectF r = labelRect(s, place.row, place.col, m_options.adjustLeft, m_options.adjustTop);
        const QRectF rect(r.x() * mm, r.y() * mm, r.width() * mm, r.height() * mm);
        if (m_options.outlines) {
            p.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), qMax(1.0, 0.15 * mm)));
            p.drawRoundedRect(rect, 2 * mm, 2 * mm);
        }
        if (!row.isBlank())
            paintLabel(p, rect, mm, row);
    }
}

void LabelSheetDocument::paintLabel(QPainter &p, const QRectF &rect, double mm, const LabelRow &row) const
{
    QPaintDevice *dev = p.device();
    const QRectF inner = rect.adjusted(5 * mm, 3 * mm, -4 * mm, -3 * mm);
    p.setPen(Qt::black);

    // Postal code at the top.
    const QFont postFont = labelFont(9, false, dev);
    const QFontMetricsF postFm(postFont, dev);
    const QString post = printedPostNo(row.postNo);
    double top = inner.top();
    if (!post.isEmpty()) {
        p.setFont(postFont);
        drawPrintText(p, QRectF(inner.left(), top, inner.width(), postFm.height()), Qt::AlignLeft | Qt::AlignVCenter, post);
    }
    top += postFm.height() + 0.8 * mm;

    // Name and honorific at the bottom, to the right.
    const QFont nameFont = labelFont(11, true, dev);
    const QFontMetricsF nameFm(nameFont, dev);
    const double nameTop = inner.bottom() - nameFm.height();
    p.setFont(nameFont);
    drawPrintText(p, QRectF(inner.left(), nameTop, inner.width(), nameFm.height()), Qt::AlignRight | Qt::AlignVCenter,
               nameFm.elidedText(labelNameLine(row), Qt::ElideRight, inner.width()));

    // Address and detail between them, as many lines as there is room for.
    const QString address = QString(row.address.trimmed() + QLatin1Char(' ') + row.detail.trimmed()).trimmed();
    if (address.isEmpty())
        return;
    const double room = nameTop - 0.8 * mm - top;
    const TextMeasure measure = [dev](const QString &text, double points) {
        return QFontMetricsF(labelFont(points, false, dev), dev).horizontalAdvance(text);
    };
    // The number of lines is that of the largest type; a smaller type gets
    // no more lines than the label had room for at that size.
    int maxLines = 1;
    FittedText fit;
    for (double size = 9.5; size >= 6.5 - 1e-9; size -= 0.5) {
        const double lineH = QFontMetricsF(labelFont(size, false, dev), dev).height();
        maxLines = qMax(1, int(room / lineH));
        fit = fitLabelText(address, inner.width(), maxLines, size, size, measure);
        if (!fit.shortened)
            break;
    }
    const QFont addrFont = labelFont(fit.pointSize, false, dev);
    const double lineH = QFontMetricsF(addrFont, dev).height();
    p.setFont(addrFont);
    for (int i = 0; i < fit.lines.size(); ++i)
        drawPrintText(p, QRectF(inner.left(), top + i * lineH, inner.width(), lineH), Qt::AlignLeft | Qt::AlignVCenter,
                   fit.lines[i]);
}

} // namespace fitrova
