#pragma once
// Documents the program draws itself page by page (a report's layout, a sheet
// of address labels), with the same preview as the grid print: page by page,
// zoom, printing on a chosen printer, or saving as a PDF file.

#include <QDialog>
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

// Sets the device up and paints every page; returns the pages painted.
int printDocument(PagedDocument &doc, QPagedPaintDevice &device);
// Writes the document as a PDF file; false (with the reason) when it cannot.
bool printDocumentToPdf(PagedDocument &doc, const QString &path, QString *error = nullptr);

class PagedPreviewDialog : public QDialog {
    Q_OBJECT
public:
    PagedPreviewDialog(PagedDocument &doc, const QString &title, QWidget *parent = nullptr);
    ~PagedPreviewDialog() override;

    int pageCount() const;
    int currentPage() const { return m_page; }
    QString pageLabelText() const;
    void goToPage(int page);
    // Lays the document out again (after its content or margins changed).
    void refresh();
    QPrinter *printer() const { return m_printer; }
    // The file name offered when saving as PDF.
    void setPdfName(const QString &path) { m_pdfName = path; }

private:
    void updateLabel();
    void onPrint();
    void onPdf();

    PagedDocument &m_doc;
    QPrinter *m_printer;
    QPrintPreviewWidget *m_view;
    QLabel *m_pageLabel;
    QPushButton *m_prev, *m_next, *m_zoom, *m_print, *m_pdf, *m_close;
    QString m_pdfName;
    int m_page = 1;
    bool m_fit = true;
};

} // namespace fitrova
