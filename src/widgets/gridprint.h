#pragma once
// Printing a grid: the page header and footer written in print codes, the
// margins in twips, a renderer that lays the grid out on pages, the preview
// window with page set-up and print dialogs, and the label printer settings.
//
// Print codes: /fn"font" /fz"size" /fb1 /fi1 /fu1 /fk1 (bold, italic,
// underline, strike-out; 0 turns off), /l /c /r (alignment of what follows),
// /n (new line), /date (print date "YYYY-MM-DD"), /p (page number).

#include "widgets/pagedpreview.h"

#include <QColor>
#include <QDate>
#include <QDialog>
#include <QFont>
#include <QList>
#include <QPageLayout>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPagedPaintDevice;
class QPainter;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSettings;

namespace fitrova {

class DataGrid;

constexpr int kTwipsPerCm = 567;

// What a grid prints with; kept on the grid (DataGrid::printSettings()).
struct GridPrintSettings {
    QString header;
    QString footer;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    int marginTop = 300;    // twips
    int marginBottom = 0;
    int marginLeft = 0;
    int marginRight = 0;
    bool useDataMax = false;
    bool color = true;        // cell colours on paper
    bool colHeaders = true;   // column headers on every page
    bool rowHeaders = false;  // row numbers at the left
    bool border = true;       // cell borders
    int pageStart = 1;        // 1-based, with pageEnd 0 meaning "to the last"
    int pageEnd = 0;
    double zoom = 1.0;        // scale of the grid on paper (header and footer stay)
};

// The header and footer code strings of a report.
struct PrintCodes {
    QString header;
    QString footer;
};
PrintCodes reportPrintCodes(const QString &title, const QString &line2, const QString &line3,
                            const QString &line4, const QString &bizName);

// Margins in cm to twips: top -1 -> 300, 0 -> 567, n -> n*567;
// left -1 -> 0, 0 -> 567, n -> n*567; bottom n -> n*567.
int topMarginTwips(double cm);
int leftMarginTwips(double cm);
int bottomMarginTwips(double cm);

// Dresses the grid for printing a report: header, footer, orientation,
// margins (right 0), data extent off, colour on.
void setupReportPrint(DataGrid &grid, const QString &title, const QString &line2,
                      const QString &line3, const QString &line4, bool landscape, double top,
                      double bottom, double left, const QString &bizName);

// Sets the grid up as setupReportPrint does and opens the preview window
// modally over the grid's window.
void printGridPreview(DataGrid &grid, const QString &title, const QString &line2,
                      const QString &line3, const QString &line4, bool landscape, double top,
                      double bottom, double left, const QString &bizName);

// --- print codes --------------------------------------------------------------

// One run of text in one format.
struct PrintRun {
    QString fontName; // as written in the codes ("굴림체")
    double pointSize = 10;
    bool bold = false, italic = false, underline = false, strike = false;
    Qt::Alignment align = Qt::AlignLeft;
    QString text; // /date and /p already replaced
    bool operator==(const PrintRun &o) const = default;
};
// One printed line: its runs (possibly none: an empty line keeps the height
// of the format in force).
struct PrintLine {
    QList<PrintRun> runs;
    double pointSize = 10; // size in force at the end of the line
    QString fontName;
};
// Splits code text into lines of runs. Text after the last /n makes a last line.
QList<PrintLine> parsePrintCodes(const QString &codes, const QDate &printDate, int page);

// The screen font that stands for a font name of the codes ("굴림체" and the
// other Windows Korean fonts map to the fonts installed here).
QString printFontFamily(const QString &codeFontName);
QFont printFont(const PrintRun &run);

// --- renderer -------------------------------------------------------------------

// Lays a grid out on pages of a paint device and paints them. The page count
// depends on the device's page layout (size, orientation, margins).
class GridPrinter {
public:
    GridPrinter(const DataGrid &grid, const GridPrintSettings &settings,
                QDate printDate = QDate::currentDate());

    // Applies orientation and margins of the settings to the device.
    void applyPageLayout(QPagedPaintDevice &device) const;
    // Number of pages on the device (after applyPageLayout).
    int pageCount(QPagedPaintDevice &device);
    // Prints the pages settings.pageStart … pageEnd (all when pageEnd is 0)
    // onto the device; returns the number of pages printed.
    int print(QPagedPaintDevice &device);
    // Paints one page (1-based) with the painter active on the device.
    void paintPage(QPainter &painter, QPagedPaintDevice &device, int page);

    // Rows on each page after layout (for tests): first row and count.
    struct PageRows {
        int first = 0, count = 0;
    };
    QList<PageRows> layout(QPagedPaintDevice &device);

private:
    struct Metrics;
    Metrics metrics(QPagedPaintDevice &device) const;
    double linesHeight(const QList<PrintLine> &lines, QPaintDevice *dev) const;
    double drawLines(QPainter &p, const QList<PrintLine> &lines, const QRectF &area, double top) const;

    const DataGrid &m_grid;
    GridPrintSettings m_settings;
    QDate m_date;
};

// --- preview and dialogs ------------------------------------------------------

// The page set-up dialog: zoom list (14 settings) and margins in cm.
class PageSetupDialog : public QDialog {
    Q_OBJECT
public:
    static QStringList zoomItems();
    PageSetupDialog(int zoomIndex, const GridPrintSettings &settings, QWidget *parent = nullptr);
    int zoomIndex() const;
    // Margins in twips as entered (cm fields).
    int marginTop() const;
    int marginBottom() const;
    int marginLeft() const;
    int marginRight() const;

private:
    QComboBox *m_zoom;
    QLineEdit *m_top, *m_bottom, *m_left, *m_right;
};

// The print dialog: column headers, row headers, border, colour, page range.
class GridPrintDialog : public QDialog {
    Q_OBJECT
public:
    GridPrintDialog(const GridPrintSettings &settings, int pageCount, QWidget *parent = nullptr);
    // The settings with the choices applied (all pages: pageStart 1, pageEnd 0).
    GridPrintSettings settings() const;
    // Printer chosen in the dialog ("" = the default printer).
    QString printerName() const;

private:
    void onRangeToggled();
    void onPageFieldEdited();

    GridPrintSettings m_settings;
    QCheckBox *m_colHeaders, *m_rowHeaders, *m_border, *m_color;
    QRadioButton *m_all, *m_range;
    QLineEdit *m_from, *m_to;
    QComboBox *m_printer;
};

// The preview window of a grid, with 페이지설정 (zoom and margins).
class GridPreviewDialog : public PreviewDialog {
    Q_OBJECT
public:
    explicit GridPreviewDialog(DataGrid &grid, QWidget *parent = nullptr);

    // Applies one of the 14 zoom settings (index into PageSetupDialog::zoomItems()).
    void applyZoom(int index);
    int zoomIndex() const { return m_zoomIndex; }
    // Prints with the grid's settings (no dialog); returns pages printed.
    int printNow();
    // Re-lays out after the grid's print settings changed.
    void refresh();

protected:
    void paintPages(QPrinter *printer) override;
    void onPrint() override;
    void onZoom() override;

private:
    void onOption();

    DataGrid &m_grid;
    QPushButton *m_option;
    int m_zoomIndex = 2; // 100%
};

// --- label printer settings ------------------------------------------------------

// Per-user settings of a label kind ("DM_SM" small, "DM_BG" large labels).
struct LabelPrintSettings {
    QString printerName;
    QString left, top; // margins as stored
};
// Reads section "프린트설정" key kind+"_Print" (empty: the default printer's
// name, saved) and section "여백설정" keys kind+"_Left", kind+"_TOP" (both
// empty: both "0", saved), from the settings of application "Fitrova".
LabelPrintSettings loadLabelPrintSettings(const QString &kind);
// The same on a given settings store (tests).
LabelPrintSettings loadLabelPrintSettings(const QString &kind, QSettings &store);
// Makes the printer of that name the printer's target; false when unknown.
bool selectPrinterByName(QPrinter &printer, const QString &name);
// The fixed-width font that stands for "굴림체" on paper.
QFont printerFont(double pointSize = 10);
// Moves the painter's origin down (and right) by the saved margins (mm).
void applyLabelMargin(QPainter &painter, const LabelPrintSettings &settings);

} // namespace fitrova
