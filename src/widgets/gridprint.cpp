#include "widgets/gridprint.h"

#include "widgets/datagrid.h"
#include "widgets/gridstream.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

#include <cmath>

namespace fitrova {

namespace {

const QString kGulimChe = QStringLiteral("굴림체");
// The format of the title line and of the condition lines.
const QString kTitleFormat = QStringLiteral("/fn\"굴림체\"/fz\"15\"/fb1/fi0/fu1/fk0");
const QString kBodyFormat = QStringLiteral("/fn\"굴림체\"/fz\"9.75\"/fb0/fi0/fu0/fk0");

double twipsToMm(int twips)
{
    return twips * 25.4 / 1440.0;
}

int cmToTwips(double cm)
{
    return int(std::lround(cm * kTwipsPerCm));
}

// One line of text aligned in a rectangle and clipped to it.
void drawCellText(QPainter &p, const QRectF &r, Qt::Alignment align, const QString &text)
{
    if (text.isEmpty())
        return;
    const QFontMetricsF fm(p.font(), p.device());
    const double w = fm.horizontalAdvance(text);
    double x = r.left();
    if (align & Qt::AlignHCenter)
        x = r.left() + (r.width() - w) / 2;
    else if (align & Qt::AlignRight)
        x = r.right() - w;
    const double y = r.top() + (r.height() - fm.height()) / 2 + fm.ascent();
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    drawPrintWords(p, QPointF(x, y), text);
    p.restore();
}

} // namespace

// --- header and footer codes ------------------------------------------------------

PrintCodes reportPrintCodes(const QString &title, const QString &line2, const QString &line3,
                            const QString &line4, const QString &bizName)
{
    PrintCodes c;
    c.header = kTitleFormat + QStringLiteral("/c") + title + QStringLiteral("/n");
    c.header += kBodyFormat + QStringLiteral("/c") + line2
        + (line2.isEmpty() ? QStringLiteral("/n") : QStringLiteral("/n/n"));
    c.header += kBodyFormat + QStringLiteral("/l") + line3 + QStringLiteral("/n");
    c.header += kBodyFormat + QStringLiteral("/l") + line4;
    c.header += kBodyFormat + QStringLiteral("/r 출력일 : /date/n");
    c.footer = QStringLiteral("/n/n") + kBodyFormat + QStringLiteral("/c 페이지: /p") + kBodyFormat
        + QStringLiteral("/r") + bizName + QStringLiteral("/n");
    return c;
}

int topMarginTwips(double cm)
{
    if (cm == -1)
        return 300;
    if (cm == 0)
        return kTwipsPerCm;
    return cmToTwips(cm);
}

int leftMarginTwips(double cm)
{
    if (cm == -1)
        return 0;
    if (cm == 0)
        return kTwipsPerCm;
    return cmToTwips(cm);
}

int bottomMarginTwips(double cm)
{
    return cmToTwips(cm);
}

void setupReportPrint(DataGrid &grid, const QString &title, const QString &line2, const QString &line3,
                      const QString &line4, bool landscape, double top, double bottom, double left,
                      const QString &bizName)
{
    GridPrintSettings &s = grid.printSettings();
    const PrintCodes codes = reportPrintCodes(title, line2, line3, line4, bizName);
    s.header = codes.header;
    s.footer = codes.footer;
    s.orientation = landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    s.marginTop = topMarginTwips(top);
    s.marginLeft = leftMarginTwips(left);
    s.marginBottom = bottomMarginTwips(bottom);
    s.marginRight = 0;
    s.useDataMax = false;
    s.color = true;
}

void printGridPreview(DataGrid &grid, const QString &title, const QString &line2, const QString &line3,
                      const QString &line4, bool landscape, double top, double bottom, double left,
                      const QString &bizName)
{
    setupReportPrint(grid, title, line2, line3, line4, landscape, top, bottom, left, bizName);
    GridPreviewDialog dlg(grid, grid.window());
    dlg.exec();
}

// --- parsing the codes --------------------------------------------------------------

QList<PrintLine> parsePrintCodes(const QString &codes, const QDate &printDate, int page)
{
    QList<PrintLine> lines;
    PrintRun state;
    state.fontName = kGulimChe;
    PrintLine line;
    QString pending;

    auto flush = [&] {
        if (pending.isEmpty())
            return;
        if (!line.runs.isEmpty()) {
            PrintRun &last = line.runs.last();
            PrintRun probe = state;
            probe.text = last.text;
            if (probe == last) {
                last.text += pending;
                pending.clear();
                return;
            }
        }
        PrintRun r = state;
        r.text = pending;
        line.runs.append(r);
        pending.clear();
    };
    auto endLine = [&] {
        flush();
        line.pointSize = state.pointSize;
        line.fontName = state.fontName;
        lines.append(line);
        line = PrintLine();
    };
    // A quoted argument: /fn"name" or /fz"size".
    auto quoted = [&](int &i) -> QString {
        if (i < codes.size() && codes.at(i) == QLatin1Char('"')) {
            const int end = codes.indexOf(QLatin1Char('"'), i + 1);
            if (end > i) {
                const QString v = codes.mid(i + 1, end - i - 1);
                i = end + 1;
                return v;
            }
        }
        return {};
    };

    int i = 0;
    while (i < codes.size()) {
        const QChar ch = codes.at(i);
        if (ch != QLatin1Char('/')) {
            pending += ch;
            ++i;
            continue;
        }
        const QStringView rest = QStringView(codes).mid(i);
        if (rest.startsWith(QLatin1String("/date"))) {
            pending += printDate.toString(QStringLiteral("yyyy-MM-dd"));
            i += 5;
        } else if (rest.startsWith(QLatin1String("/fn"))) {
            flush();
            i += 3;
            state.fontName = quoted(i);
        } else if (rest.startsWith(QLatin1String("/fz"))) {
            flush();
            i += 3;
            bool ok = false;
            const double size = quoted(i).toDouble(&ok);
            if (ok && size > 0)
                state.pointSize = size;
        } else if (rest.size() >= 4 && rest.at(1) == QLatin1Char('f')
                   && QStringLiteral("biuk").contains(rest.at(2))
                   && (rest.at(3) == QLatin1Char('0') || rest.at(3) == QLatin1Char('1'))) {
            flush();
            const bool on = rest.at(3) == QLatin1Char('1');
            switch (rest.at(2).unicode()) {
            case 'b': state.bold = on; break;
            case 'i': state.italic = on; break;
            case 'u': state.underline = on; break;
            default: state.strike = on; break;
            }
            i += 4;
        } else if (rest.startsWith(QLatin1String("/c"))) {
            flush();
            state.align = Qt::AlignHCenter;
            i += 2;
        } else if (rest.startsWith(QLatin1String("/l"))) {
            flush();
            state.align = Qt::AlignLeft;
            i += 2;
        } else if (rest.startsWith(QLatin1String("/r"))) {
            flush();
            state.align = Qt::AlignRight;
            i += 2;
        } else if (rest.startsWith(QLatin1String("/n"))) {
            endLine();
            i += 2;
        } else if (rest.startsWith(QLatin1String("/p"))) {
            pending += QString::number(page);
            i += 2;
        } else {
            pending += ch;
            ++i;
        }
    }
    flush();
    if (!line.runs.isEmpty())
        endLine();
    return lines;
}

QString printFontFamily(const QString &codeFontName)
{
    const QString n = codeFontName.trimmed();
    if (n.isEmpty() || n.endsWith(QStringLiteral("체")) || n.compare(QLatin1String("GulimChe"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("NanumGothicCoding");
    if (n == QStringLiteral("굴림") || n == QStringLiteral("돋움") || n == QStringLiteral("맑은 고딕")
        || n.compare(QLatin1String("Gulim"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("NanumGothic");
    return n;
}

QFont printFont(const PrintRun &run)
{
    QFont f(printFontFamily(run.fontName));
    f.setPointSizeF(run.pointSize);
    f.setBold(run.bold);
    f.setItalic(run.italic);
    f.setUnderline(run.underline);
    f.setStrikeOut(run.strike);
    return f;
}

// --- renderer ----------------------------------------------------------------------

struct GridPrinter::Metrics {
    QRectF page;            // printable area in device pixels, origin 0,0
    QRectF headerArea;      // where header and footer lines are laid: the page, clear of the paper's edges
    double scale = 1;       // screen pixels -> device pixels for the grid
    QList<int> columns;     // printed columns
    QList<double> colX;     // left of each printed column (after the row header)
    QList<double> colW;
    double rowHeaderW = 0;
    double rowH = 0;
    double headerH = 0;     // page header lines
    double footerH = 0;
    double colHeaderH = 0;
    int rowsPerPage = 1;
    QFont gridFont;
};

GridPrinter::GridPrinter(const DataGrid &grid, const GridPrintSettings &settings, QDate printDate)
    : m_grid(grid), m_settings(settings), m_date(printDate)
{
    // A streamed list prints whole, not only the part scrolled through.
    fetchAllGridRows(grid);
}

void GridPrinter::applyPageLayout(QPagedPaintDevice &device) const
{
    QPageLayout layout = device.pageLayout();
    layout.setMode(QPageLayout::FullPageMode);
    layout.setOrientation(m_settings.orientation);
    layout.setUnits(QPageLayout::Millimeter);
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(QMarginsF(twipsToMm(m_settings.marginLeft), twipsToMm(m_settings.marginTop),
                                twipsToMm(m_settings.marginRight), twipsToMm(m_settings.marginBottom)));
    layout.setMode(QPageLayout::StandardMode);
    device.setPageLayout(layout);
}

double GridPrinter::linesHeight(const QList<PrintLine> &lines, QPaintDevice *dev) const
{
    double h = 0;
    for (const PrintLine &l : lines) {
        double lh = 0;
        if (l.runs.isEmpty()) {
            PrintRun r;
            r.fontName = l.fontName;
            r.pointSize = l.pointSize;
            lh = QFontMetricsF(printFont(r), dev).height();
        }
        for (const PrintRun &r : l.runs)
            lh = qMax(lh, QFontMetricsF(printFont(r), dev).height());
        h += lh;
    }
    return h;
}

double GridPrinter::drawLines(QPainter &p, const QList<PrintLine> &lines, const QRectF &area, double top) const
{
    QPaintDevice *dev = p.device();
    double y = top;
    for (const PrintLine &l : lines) {
        double ascent = 0, height = 0;
        if (l.runs.isEmpty()) {
            PrintRun r;
            r.fontName = l.fontName;
            r.pointSize = l.pointSize;
            height = QFontMetricsF(printFont(r), dev).height();
        }
        for (const PrintRun &r : l.runs) {
            const QFontMetricsF fm(printFont(r), dev);
            ascent = qMax(ascent, fm.ascent());
            height = qMax(height, fm.height());
        }
        // Runs of each alignment are laid one after the other.
        for (Qt::Alignment a : {Qt::Alignment(Qt::AlignLeft), Qt::Alignment(Qt::AlignHCenter),
                                Qt::Alignment(Qt::AlignRight)}) {
            double width = 0;
            for (const PrintRun &r : l.runs)
                if (r.align == a)
                    width += QFontMetricsF(printFont(r), dev).horizontalAdvance(r.text);
            if (width == 0)
                continue;
            double x = area.left();
            if (a == Qt::AlignHCenter)
                x = area.left() + (area.width() - width) / 2;
            else if (a == Qt::AlignRight)
                x = area.right() - width;
            for (const PrintRun &r : l.runs) {
                if (r.align != a)
                    continue;
                const QFont f = printFont(r);
                p.setFont(f);
                p.setPen(Qt::black);
                drawPrintWords(p, QPointF(x, y + ascent), r.text);
                x += QFontMetricsF(f, dev).horizontalAdvance(r.text);
            }
        }
        y += height;
    }
    return y;
}

GridPrinter::Metrics GridPrinter::metrics(QPagedPaintDevice &device) const
{
    Metrics m;
    const QRect paint = device.pageLayout().paintRectPixels(device.logicalDpiX());
    m.page = QRectF(0, 0, paint.width(), paint.height());
    // The grid may run to the paper's edge (margins of 0); the header's date
    // and the footer's page number keep a distance from it.
    const QMargins margins = device.pageLayout().marginsPixels(device.logicalDpiX());
    const double edge = kHeaderEdgeMm / 25.4 * device.logicalDpiX();
    m.headerArea = m.page.adjusted(qMax(0.0, edge - margins.left()), 0, -qMax(0.0, edge - margins.right()), 0);

    m.headerH = linesHeight(parsePrintCodes(m_settings.header, m_date, 1), &device);
    m.footerH = linesHeight(parsePrintCodes(m_settings.footer, m_date, 1), &device);

    double total = 0;
    for (int c = 0; c < m_grid.columnCount(); ++c) {
        if (m_grid.isColumnHidden(c))
            continue;
        m.columns << c;
        total += m_grid.columnWidth(c);
    }
    const double rowHeaderPx = m_settings.rowHeaders ? 40 : 0;
    total += rowHeaderPx;
    const double zoom = m_settings.zoom > 0 ? m_settings.zoom : 1.0;
    m.scale = device.logicalDpiX() / 96.0 * zoom;
    // A grid wider than the paper is shrunk to the paper's width.
    if (total * m.scale > m.page.width() && total > 0)
        m.scale = m.page.width() / total;
    const double fontScale = m.scale / (device.logicalDpiX() / 96.0);

    m.gridFont = m_grid.font();
    m.gridFont.setPointSizeF(m_grid.font().pointSizeF() * fontScale);
    m.rowH = qMax(m_grid.verticalHeader()->defaultSectionSize() * m.scale,
                  QFontMetricsF(m.gridFont, &device).height() * 1.2);
    m.colHeaderH = m_settings.colHeaders ? m.rowH : 0;
    m.rowHeaderW = rowHeaderPx * m.scale;
    double x = m.rowHeaderW;
    for (int c : m.columns) {
        const double w = m_grid.columnWidth(c) * m.scale;
        m.colX << x;
        m.colW << w;
        x += w;
    }
    const double avail = m.page.height() - m.headerH - m.footerH - m.colHeaderH;
    m.rowsPerPage = qMax(1, int(std::floor(avail / m.rowH + 1e-6)));
    return m;
}

QList<GridPrinter::PageRows> GridPrinter::layout(QPagedPaintDevice &device)
{
    const Metrics m = metrics(device);
    QList<PageRows> pages;
    const int rows = m_grid.rowCount();
    if (rows == 0)
        return {PageRows{0, 0}};
    for (int first = 0; first < rows; first += m.rowsPerPage)
        pages << PageRows{first, qMin(m.rowsPerPage, rows - first)};
    return pages;
}

int GridPrinter::pageCount(QPagedPaintDevice &device)
{
    return int(layout(device).size());
}

void GridPrinter::paintPage(QPainter &p, QPagedPaintDevice &device, int page)
{
    const Metrics m = metrics(device);
    const QList<PageRows> pages = layout(device);
    if (page < 1 || page > pages.size())
        return;
    const PageRows rows = pages.at(page - 1);
    const QAbstractItemModel *model = m_grid.model();

    p.save();
    double y = drawLines(p, parsePrintCodes(m_settings.header, m_date, page), m.headerArea, 0);

    const double lineW = qMax(1.0, device.logicalDpiX() / 150.0);
    QPen border(QColor(0x80, 0x80, 0x80), lineW);
    QFont headFont = m.gridFont;
    headFont.setBold(true);
    const double pad = 3 * m.scale;

    auto cellRect = [&](int i, double top) { return QRectF(m.colX.at(i), top, m.colW.at(i), m.rowH); };
    auto drawBorder = [&](const QRectF &r) {
        if (!m_settings.border)
            return;
        p.setPen(border);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
    };

    if (m_settings.colHeaders) {
        if (m_settings.rowHeaders) {
            const QRectF r(0, y, m.rowHeaderW, m.rowH);
            if (m_settings.color)
                p.fillRect(r, QColor(0xE8, 0xE8, 0xE8));
            drawBorder(r);
        }
        p.setFont(headFont);
        for (int i = 0; i < m.columns.size(); ++i) {
            const QRectF r = cellRect(i, y);
            if (m_settings.color)
                p.fillRect(r, QColor(0xE8, 0xE8, 0xE8));
            drawBorder(r);
            p.setPen(Qt::black);
            drawCellText(p, r.adjusted(pad, 0, -pad, 0), Qt::AlignHCenter, m_grid.headerText(m.columns.at(i)));
        }
        y += m.rowH;
    }

    for (int row = rows.first; row < rows.first + rows.count; ++row) {
        if (m_settings.rowHeaders) {
            const QRectF r(0, y, m.rowHeaderW, m.rowH);
            if (m_settings.color)
                p.fillRect(r, QColor(0xE8, 0xE8, 0xE8));
            drawBorder(r);
            p.setFont(m.gridFont);
            p.setPen(Qt::black);
            drawCellText(p, r, Qt::AlignHCenter, QString::number(row + 1));
        }
        for (int i = 0; i < m.columns.size(); ++i) {
            const int col = m.columns.at(i);
            const QModelIndex idx = model->index(row, col);
            const QRectF r = cellRect(i, y);
            if (m_settings.color) {
                const QColor back = m_grid.effectiveBackground(row, col);
                if (back.isValid())
                    p.fillRect(r, back);
            }
            drawBorder(r);
            const QVariant check = idx.data(Qt::CheckStateRole);
            QColor fore = m_settings.color ? m_grid.cellForeground(row, col) : QColor();
            if (!fore.isValid())
                fore = Qt::black;
            if (check.isValid()) {
                const double s = qMin(m.rowH * 0.6, r.width() * 0.8);
                const QRectF box(r.center().x() - s / 2, r.center().y() - s / 2, s, s);
                p.setPen(QPen(Qt::black, lineW));
                p.setBrush(Qt::NoBrush);
                p.drawRect(box);
                if (check.toInt() == Qt::Checked) {
                    p.setPen(QPen(Qt::black, lineW * 2));
                    const QPointF pts[3] = {box.topLeft() + QPointF(s * 0.2, s * 0.5),
                                            box.topLeft() + QPointF(s * 0.42, s * 0.75),
                                            box.topLeft() + QPointF(s * 0.8, s * 0.25)};
                    p.drawPolyline(pts, 3);
                }
                continue;
            }
            QFont f = m.gridFont;
            f.setBold(m_grid.isCellBold(row, col));
            p.setFont(f);
            p.setPen(fore);
            const Qt::Alignment align = Qt::Alignment(idx.data(Qt::TextAlignmentRole).toInt());
            drawCellText(p, r.adjusted(pad, 0, -pad, 0), align & Qt::AlignHorizontal_Mask, m_grid.cell(row, col));
        }
        y += m.rowH;
    }

    const QList<PrintLine> footer = parsePrintCodes(m_settings.footer, m_date, page);
    drawLines(p, footer, m.headerArea, m.page.height() - linesHeight(footer, &device));
    p.restore();
}

int GridPrinter::print(QPagedPaintDevice &device)
{
    applyPageLayout(device);
    const int count = pageCount(device);
    const int first = qBound(1, m_settings.pageStart, count);
    const int last = m_settings.pageEnd <= 0 ? count : qBound(first, m_settings.pageEnd, count);
    QPainter p;
    if (!p.begin(&device))
        return 0;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        paintPage(p, device, page);
    }
    p.end();
    return last - first + 1;
}

// --- page set-up ---------------------------------------------------------------------

QStringList PageSetupDialog::zoomItems()
{
    return {QStringLiteral("200%"), QStringLiteral("150%"), QStringLiteral("100%"),
            QStringLiteral("75%"), QStringLiteral("50%"), QStringLiteral("25%"),
            QStringLiteral("10%"), QStringLiteral("Page Width"), QStringLiteral("Page Height"),
            QStringLiteral("Whole Page"), QStringLiteral("Two Pages"), QStringLiteral("Three Pages"),
            QStringLiteral("Four Pages"), QStringLiteral("Six Pages")};
}

PageSetupDialog::PageSetupDialog(int zoomIndex, const GridPrintSettings &settings, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("pagesetup"));
    setWindowTitle(QStringLiteral("페이지 설정"));

    m_zoom = new QComboBox(this);
    m_zoom->setObjectName(QStringLiteral("CboZoom"));
    m_zoom->addItems(zoomItems());
    m_zoom->setCurrentIndex(qBound(0, zoomIndex, int(zoomItems().size()) - 1));

    auto marginField = [this](int twips, const char *which) {
        auto *e = new QLineEdit(QString::number(twips / double(kTwipsPerCm), 'f', 2), this);
        e->setObjectName(QStringLiteral("pagemargin"));
        e->setProperty("margin", QString::fromLatin1(which));
        auto *v = new QDoubleValidator(0, 20, 2, e);
        v->setNotation(QDoubleValidator::StandardNotation);
        v->setLocale(QLocale::c());
        e->setValidator(v);
        e->setMaximumWidth(80);
        return e;
    };
    m_top = marginField(settings.marginTop, "top");
    m_bottom = marginField(settings.marginBottom, "bottom");
    m_left = marginField(settings.marginLeft, "left");
    m_right = marginField(settings.marginRight, "right");

    auto *margins = new QGroupBox(QStringLiteral("여백 (cm)"), this);
    auto *mg = new QGridLayout(margins);
    mg->addWidget(new QLabel(QStringLiteral("위쪽"), margins), 0, 0);
    mg->addWidget(m_top, 0, 1);
    mg->addWidget(new QLabel(QStringLiteral("아래쪽"), margins), 0, 2);
    mg->addWidget(m_bottom, 0, 3);
    mg->addWidget(new QLabel(QStringLiteral("왼쪽"), margins), 1, 0);
    mg->addWidget(m_left, 1, 1);
    mg->addWidget(new QLabel(QStringLiteral("오른쪽"), margins), 1, 2);
    mg->addWidget(m_right, 1, 3);

    auto *ok = new QPushButton(QStringLiteral("확인"), this);
    ok->setObjectName(QStringLiteral("Command2"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("취소"), this);
    cancel->setObjectName(QStringLiteral("Command1"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("확대/축소"), m_zoom);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *lay = new QVBoxLayout(this);
    lay->addLayout(form);
    lay->addWidget(margins);
    lay->addLayout(buttons);
}

int PageSetupDialog::zoomIndex() const
{
    return m_zoom->currentIndex();
}

namespace {
int fieldTwips(const QLineEdit *e)
{
    bool ok = false;
    const double cm = e->text().trimmed().toDouble(&ok);
    return ok && cm > 0 ? cmToTwips(cm) : 0;
}
} // namespace

int PageSetupDialog::marginTop() const { return fieldTwips(m_top); }
int PageSetupDialog::marginBottom() const { return fieldTwips(m_bottom); }
int PageSetupDialog::marginLeft() const { return fieldTwips(m_left); }
int PageSetupDialog::marginRight() const { return fieldTwips(m_right); }

// --- print dialog ----------------------------------------------------------------------

GridPrintDialog::GridPrintDialog(const GridPrintSettings &settings, int pageCount, QWidget *parent)
    : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("PrintDlg"));
    setWindowTitle(QStringLiteral("인쇄"));

    m_printer = new QComboBox(this);
    m_printer->setObjectName(QStringLiteral("CboPrinter"));
    m_printer->addItem(QStringLiteral("기본 프린터"), QString());
    for (const QString &n : QPrinterInfo::availablePrinterNames())
        m_printer->addItem(n, n);

    auto check = [this](const QString &text, const char *name, bool on) {
        auto *c = new QCheckBox(text, this);
        c->setObjectName(QString::fromLatin1(name));
        c->setChecked(on);
        return c;
    };
    m_colHeaders = check(QStringLiteral("열 머리글"), "ChkColHeaders", settings.colHeaders);
    m_rowHeaders = check(QStringLiteral("행 머리글"), "ChkRowHeaders", settings.rowHeaders);
    m_border = check(QStringLiteral("테두리"), "ChkBorder", settings.border);
    m_color = check(QStringLiteral("컬러"), "ChkColor", settings.color);

    m_all = new QRadioButton(QStringLiteral("모든 페이지"), this);
    m_all->setObjectName(QStringLiteral("OptAll"));
    m_range = new QRadioButton(QStringLiteral("페이지 지정"), this);
    m_range->setObjectName(QStringLiteral("OptRange"));
    const bool ranged = settings.pageEnd > 0;
    const int last = qMax(1, pageCount);
    m_from = new QLineEdit(QString::number(ranged ? settings.pageStart : 1), this);
    m_to = new QLineEdit(QString::number(ranged ? settings.pageEnd : last), this);
    for (QLineEdit *e : {m_from, m_to}) {
        e->setObjectName(QStringLiteral("Text1"));
        e->setValidator(new QIntValidator(1, 99999, e));
        e->setMaximumWidth(60);
        connect(e, &QLineEdit::textChanged, this, &GridPrintDialog::onPageFieldEdited);
    }
    m_from->setProperty("index", 0);
    m_to->setProperty("index", 1);
    (ranged ? m_range : m_all)->setChecked(true);
    connect(m_all, &QRadioButton::toggled, this, &GridPrintDialog::onRangeToggled);
    connect(m_range, &QRadioButton::toggled, this, &GridPrintDialog::onRangeToggled);
    onRangeToggled();

    auto *options = new QGroupBox(QStringLiteral("인쇄 항목"), this);
    auto *og = new QGridLayout(options);
    og->addWidget(m_colHeaders, 0, 0);
    og->addWidget(m_rowHeaders, 0, 1);
    og->addWidget(m_border, 1, 0);
    og->addWidget(m_color, 1, 1);

    auto *range = new QGroupBox(QStringLiteral("인쇄 범위"), this);
    auto *rg = new QGridLayout(range);
    rg->addWidget(m_all, 0, 0, 1, 4);
    rg->addWidget(m_range, 1, 0);
    rg->addWidget(m_from, 1, 1);
    rg->addWidget(new QLabel(QStringLiteral("~"), range), 1, 2);
    rg->addWidget(m_to, 1, 3);
    rg->addWidget(new QLabel(QStringLiteral("(전체 %1 페이지)").arg(last), range), 2, 0, 1, 4);

    auto *print = new QPushButton(QStringLiteral("인쇄"), this);
    print->setObjectName(QStringLiteral("CmdPrint"));
    print->setDefault(true);
    auto *close = new QPushButton(QStringLiteral("닫기"), this);
    close->setObjectName(QStringLiteral("CmdClose"));
    connect(print, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("프린터"), m_printer);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(close);
    auto *lay = new QVBoxLayout(this);
    lay->addLayout(form);
    lay->addWidget(options);
    lay->addWidget(range);
    lay->addLayout(buttons);
}

void GridPrintDialog::onRangeToggled()
{
    const bool on = m_range->isChecked();
    m_from->setEnabled(on);
    m_to->setEnabled(on);
}

void GridPrintDialog::onPageFieldEdited()
{
    auto *e = qobject_cast<QLineEdit *>(sender());
    if (e && e->text().trimmed().isEmpty()) {
        const QSignalBlocker block(e);
        e->setText(QStringLiteral("1"));
        e->selectAll();
    }
}

GridPrintSettings GridPrintDialog::settings() const
{
    GridPrintSettings s = m_settings;
    s.colHeaders = m_colHeaders->isChecked();
    s.rowHeaders = m_rowHeaders->isChecked();
    s.border = m_border->isChecked();
    s.color = m_color->isChecked();
    if (m_range->isChecked()) {
        const int from = qMax(1, m_from->text().toInt());
        const int to = qMax(1, m_to->text().toInt());
        s.pageStart = qMin(from, to);
        s.pageEnd = qMax(from, to);
    } else {
        s.pageStart = 1;
        s.pageEnd = 0;
    }
    return s;
}

QString GridPrintDialog::printerName() const
{
    return m_printer->currentData().toString();
}

// --- preview -------------------------------------------------------------------------

GridPreviewDialog::GridPreviewDialog(DataGrid &grid, QWidget *parent)
    : PreviewDialog(QStringLiteral("spreadpreview"), QStringLiteral("미리보기"), parent), m_grid(grid)
{
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    GridPrinter(m_grid, m_grid.printSettings()).applyPageLayout(*m_printer);
    m_option = barButton(QStringLiteral("페이지설정"), "btnOption");
    connect(m_option, &QPushButton::clicked, this, &GridPreviewDialog::onOption);
    finishLayout({m_option}, {});

    m_view->updatePreview();
    applyZoom(9);
    updateLabel();
}

void GridPreviewDialog::onZoom()
{
    // Toggles between the whole page and actual size.
    applyZoom(m_zoomIndex == 9 ? 2 : 9);
}

void GridPreviewDialog::applyZoom(int index)
{
    static const int percent[] = {200, 150, 100, 75, 50, 25, 10};
    m_zoomIndex = qBound(0, index, 13);
    if (m_zoomIndex <= 6) {
        m_view->setSinglePageViewMode();
        m_view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        m_view->setZoomFactor(percent[m_zoomIndex] / 100.0);
    } else if (m_zoomIndex == 7) {
        m_view->setSinglePageViewMode();
        m_view->fitToWidth();
    } else if (m_zoomIndex <= 9) {
        m_view->setSinglePageViewMode();
        m_view->fitInView();
    } else if (m_zoomIndex == 10) {
        m_view->setFacingPagesViewMode();
        m_view->fitInView();
    } else {
        m_view->setAllPagesViewMode();
    }
    m_view->setCurrentPage(m_page);
}

void GridPreviewDialog::paintPages(QPrinter *printer)
{
    GridPrintSettings s = m_grid.printSettings();
    s.pageStart = 1;
    s.pageEnd = 0;
    GridPrinter(m_grid, s).print(*printer);
}

int GridPreviewDialog::printNow()
{
    return GridPrinter(m_grid, m_grid.printSettings()).print(*m_printer);
}

void GridPreviewDialog::refresh()
{
    GridPrinter(m_grid, m_grid.printSettings()).applyPageLayout(*m_printer);
    m_view->updatePreview();
    updateLabel();
}

void GridPreviewDialog::onPrint()
{
    GridPrintDialog dlg(m_grid.printSettings(), pageCount(), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    m_grid.printSettings() = dlg.settings();
    if (!dlg.printerName().isEmpty())
        m_printer->setPrinterName(dlg.printerName());
    printNow();
    refresh();
}

void GridPreviewDialog::onOption()
{
    PageSetupDialog dlg(m_zoomIndex, m_grid.printSettings(), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    GridPrintSettings &s = m_grid.printSettings();
    s.marginTop = dlg.marginTop();
    s.marginBottom = dlg.marginBottom();
    s.marginLeft = dlg.marginLeft();
    s.marginRight = dlg.marginRight();
    refresh();
    applyZoom(dlg.zoomIndex());
}

// --- label printer settings ----------------------------------------------------------

LabelPrintSettings loadLabelPrintSettings(const QString &kind, QSettings &store)
{
    LabelPrintSettings s;
    const QString printKey = QStringLiteral("프린트설정/") + kind + QStringLiteral("_Print");
    s.printerName = store.value(printKey).toString();
    if (s.printerName.isEmpty()) {
        s.printerName = QPrinterInfo::defaultPrinterName();
        store.setValue(printKey, s.printerName);
    }
    const QString leftKey = QStringLiteral("여백설정/") + kind + QStringLiteral("_Left");
    const QString topKey = QStringLiteral("여백설정/") + kind + QStringLiteral("_TOP");
    s.left = store.value(leftKey).toString();
    s.top = store.value(topKey).toString();
    if (s.left.isEmpty() && s.top.isEmpty()) {
        s.left = s.top = QStringLiteral("0");
        store.setValue(leftKey, s.left);
        store.setValue(topKey, s.top);
    }
    store.sync();
    return s;
}

LabelPrintSettings loadLabelPrintSettings(const QString &kind)
{
    QSettings store(QStringLiteral("Fitrova"), QStringLiteral("Fitrova"));
    return loadLabelPrintSettings(kind, store);
}

bool selectPrinterByName(QPrinter &printer, const QString &name)
{
    if (name.isEmpty() || !QPrinterInfo::availablePrinterNames().contains(name))
        return false;
    printer.setPrinterName(name);
    return printer.printerName() == name;
}

QFont printerFont(double pointSize)
{
    PrintRun r;
    r.fontName = kGulimChe;
    r.pointSize = pointSize;
    return printFont(r);
}

void applyLabelMargin(QPainter &painter, const LabelPrintSettings &settings)
{
    QPaintDevice *dev = painter.device();
    if (!dev)
        return;
    const double mmToPx = dev->logicalDpiY() / 25.4;
    painter.translate(settings.left.toDouble() * dev->logicalDpiX() / 25.4, settings.top.toDouble() * mmToPx);
}

} // namespace fitrova
