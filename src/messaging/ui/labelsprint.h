#pragma once
// Sheets of address labels drawn by the program: every position of a run on
// its label of the chosen sheet, moved by the margins the user adjusted. A
// label holds the postal code, the address with its detail (smaller type, then
// "…", when it is long; never cut through a character) and the name with the
// honorific. Skipped positions stay empty.

#include "messaging/labels.h"
#include "widgets/pagedpreview.h"

namespace fitrova {

struct LabelPrintOptions {
    QString sheetId = QStringLiteral("2x8");
    double adjustLeft = 0; // mm, added to the sheet's own margins
    double adjustTop = 0;
    bool outlines = false; // draws each label's border (for checking the alignment on plain paper)
};

class LabelSheetDocument : public PagedDocument {
public:
    LabelSheetDocument(QList<LabelRow> rows, LabelPrintOptions options);

    void setupPage(QPagedPaintDevice &device) const override;
    int pageCount(QPagedPaintDevice &device) override;
    void paintPage(QPainter &painter, QPagedPaintDevice &device, int page) override;

    const LabelSheet &sheet() const { return labelSheet(m_options.sheetId); }

private:
    void paintLabel(QPainter &p, const QRectF &rect, double mm, const LabelRow &row) const;

    QList<LabelRow> m_rows;
    LabelPrintOptions m_options;
};

} // namespace fitrova
