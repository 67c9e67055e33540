#pragma once
// Documents the program draws itself page by page (a report's layout, a sheet
// of address labels), with the same preview as the grid print: page by page,
// zoom, printing on a chosen printer, or saving as a PDF file.
//
// PreviewDialog is the preview window itself, shared with the grid print:
// the pages as they print, 이전/다음 with "페이지 n / m", 확대/축소, the
// kind's own buttons, 인쇄 and 닫기.

#include <QDialog>
#include <QList>
#include <QPointF>
#include <QString>

class QLabel;
class QPagedPaintDevice;
class QPainter;
class QRectF;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;

namespace fitrova {

class PagedDocument {
public:
    virtual ~PagedDocument() = default;
    // Sets the page size, orientation and margins on the device.
    virtual void setupPage(QPagedPaintDevice &device) const = 0;
    // Number of pages on the device (after setupPage).
    virtual int pageCount(QPagedPaintDevice &device) = 0;
    // Paints one page (1-based) with the painter active on the device.
    virtual void paintPage(QPainter &painter, QPagedPaintDevice &device, int page) = 0;
};

// Draws one line of text in the rectangle with the alignment, for paper:
// word by word, the blanks left as gaps. (The Nanum fonts map their blank
// glyph to a control character in PDF text, which spoils copying and
// searching a saved file.)
void drawPrintText(QPainter &painter, const QRectF &rect, Qt::Alignment align, const QString &text);
// The same from a baseline point.
void drawPrintWords(QPainter &painter, QPointF baseline, const QString &text);

// The least distance of a page's header and footer text from the paper's
// left and right edges, whatever the margins of the grid (which may be 0).
constexpr double kHeaderEdgeMm = 10.0;

// Sets the device up and paints every page; returns the pages painted.
int printDocument(PagedDocument &doc, QPagedPaintDevice &device);
// Writes the document as a PDF file; false (with the reason) when it cannot.
bool printDocumentToPdf(PagedDocument &doc, const QString &path, QString *error = nullptr);

class PreviewDialog : public QDialog {
    Q_OBJECT
public:
    ~PreviewDialog() override;

    int pageCount() const;
    int currentPage() const { return m_page; }
    QString pageLabelText() const;
    void goToPage(int page);
    QPrinter *printer() const { return m_printer; }
    // "페이지 1 / 6"
    static QString pageLabel(int page, int count);

protected:
    // The printer is made here; the kind sets its page up, then calls
    // finishLayout() with its own buttons (shown after 확대/축소).
    PreviewDialog(const QString &objectName, const QString &title, QWidget *parent);
    void finishLayout(const QList<QPushButton *> &ownButtons, const QList<QPushButton *> &printButtons);
    QPushButton *barButton(const QString &text, const char *name);
    void updateLabel();

    virtual void paintPages(QPrinter *printer) = 0;
    virtual void onPrint() = 0;
    virtual void onZoom() = 0;

    QPrinter *m_printer;
    QPrintPreviewWidget *m_view = nullptr;
    QLabel *m_pageLabel = nullptr;
    QPushButton *m_prev = nullptr, *m_next = nullptr, *m_zoom = nullptr, *m_print = nullptr, *m_close = nullptr;
    int m_page = 1;
};

class PagedPreviewDialog : public PreviewDialog {
    Q_OBJECT
public:
    PagedPreviewDialog(PagedDocument &doc, const QString &title, QWidget *parent = nullptr);

    // Lays the document out again (after its content or margins changed).
    void refresh();
    // The file name offered when saving as PDF.
    void setPdfName(const QString &path) { m_pdfName = path; }

protected:
    void paintPages(QPrinter *printer) override;
    void onPrint() override;
    void onZoom() override;

private:
    void onPdf();

    PagedDocument &m_doc;
    QPushButton *m_pdf;
    QString m_pdfName;
    bool m_fit = true;
};

} // namespace fitrova
