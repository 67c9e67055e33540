#include "widgets/pagedpreview.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace fitrova {

void drawPrintWords(QPainter &p, QPointF baseline, const QString &text)
{
    const QFontMetricsF fm(p.font(), p.device());
    int start = 0;
    while (start < text.size()) {
        while (start < text.size() && text.at(start).isSpace())
            ++start;
        int end = start;
        while (end < text.size() && !text.at(end).isSpace())
            ++end;
        if (end > start)
            p.drawText(QPointF(baseline.x() + fm.horizontalAdvance(text.left(start)), baseline.y()),
                       text.mid(start, end - start));
        start = end;
    }
}

void drawPrintText(QPainter &p, const QRectF &r, Qt::Alignment align, const QString &text)
{
    if (text.trimmed().isEmpty())
        return;
    const QFontMetricsF fm(p.font(), p.device());
    const double width = fm.horizontalAdvance(text);
    double x = r.left();
    if (align & Qt::AlignHCenter)
        x = r.left() + (r.width() - width) / 2;
    else if (align & Qt::AlignRight)
        x = r.right() - width;
    double y = r.top() + fm.ascent();
    if (align & Qt::AlignVCenter)
        y = r.top() + (r.height() - fm.height()) / 2 + fm.ascent();
    else if (align & Qt::AlignBottom)
        y = r.bottom() - fm.descent();
    drawPrintWords(p, QPointF(x, y), text);
}

int printDocument(PagedDocument &doc, QPagedPaintDevice &device)
{
    doc.setupPage(device);
    const int pages = doc.pageCount(device);
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            device.newPage();
        painter.save();
        doc.paintPage(painter, device, page);
        painter.restore();
    }
    painter.end();
    return pages;
}

bool printDocumentToPdf(PagedDocument &doc, const QString &path, QString *error)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setCreator(QStringLiteral("Fitrova Lite"));
    const int pages = printDocument(doc, printer);
    const bool ok = pages > 0 && QFileInfo(path).isFile() && QFileInfo(path).size() > 0;
    if (!ok && error)
        *error = QStringLiteral("PDF 파일을 만들 수 없습니다.\n%1").arg(path);
    return ok;
}

// --- the preview window ---------------------------------------------------------------

PreviewDialog::PreviewDialog(const QString &objectName, const QString &title, QWidget *parent)
    : QDialog(parent), m_printer(new QPrinter(QPrinter::HighResolution))
{
    setObjectName(objectName);
    setWindowTitle(title);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
}

PreviewDialog::~PreviewDialog()
{
    // The view paints on the printer: it goes first.
    delete m_view;
    m_view = nullptr;
    delete m_printer;
}

QPushButton *PreviewDialog::barButton(const QString &text, const char *name)
{
    auto *b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

void PreviewDialog::finishLayout(const QList<QPushButton *> &ownButtons, const QList<QPushButton *> &printButtons)
{
    m_view = new QPrintPreviewWidget(m_printer, this);
    m_view->setObjectName(QStringLiteral("preview"));
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *p) { paintPages(p); });
    connect(m_view, &QPrintPreviewWidget::previewChanged, this, &PreviewDialog::updateLabel);

    m_prev = barButton(QStringLiteral("◀ 이전"), "btnPrevious");
    m_next = barButton(QStringLiteral("다음 ▶"), "btnNext");
    m_zoom = barButton(QStringLiteral("확대/축소"), "btnZoom");
    m_print = barButton(QStringLiteral("인쇄"), "btnPrint");
    m_close = barButton(QStringLiteral("닫기"), "btnClose");
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("lblPage"));
    m_pageLabel->setMinimumWidth(130);
    m_pageLabel->setAlignment(Qt::AlignCenter);

    connect(m_prev, &QPushButton::clicked, this, [this] { goToPage(m_page - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { goToPage(m_page + 1); });
    connect(m_zoom, &QPushButton::clicked, this, [this] { onZoom(); });
    connect(m_print, &QPushButton::clicked, this, [this] { onPrint(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_prev);
    bar->addWidget(m_pageLabel);
    bar->addWidget(m_next);
    bar->addSpacing(16);
    bar->addWidget(m_zoom);
    for (QPushButton *b : ownButtons)
        bar->addWidget(b);
    bar->addStretch();
    bar->addWidget(m_print);
    for (QPushButton *b : printButtons)
        bar->addWidget(b);
    bar->addWidget(m_close);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(6, 6, 6, 6);
    lay->addLayout(bar);
    lay->addWidget(m_view, 1);
    resize(1000, 720);
}

int PreviewDialog::pageCount() const { return m_view ? m_view->pageCount() : 0; }

QString PreviewDialog::pageLabelText() const { return m_pageLabel->text(); }

QString PreviewDialog::pageLabel(int page, int count) { return QStringLiteral("페이지 %1 / %2").arg(page).arg(count); }

void PreviewDialog::goToPage(int page)
{
    m_page = qBound(1, page, qMax(1, pageCount()));
    m_view->setCurrentPage(m_page);
    updateLabel();
}

void PreviewDialog::updateLabel()
{
    if (!m_view)
        return;
    const int count = qMax(1, pageCount());
    // Scrolling the shown preview moves its current page too.
    if (m_view->isVisible() && m_view->currentPage() > 0)
        m_page = m_view->currentPage();
    m_page = qBound(1, m_page, count);
    m_pageLabel->setText(pageLabel(m_page, count));
    m_prev->setEnabled(m_page > 1);
    m_next->setEnabled(m_page < count);
}

// --- documents ------------------------------------------------------------------------

PagedPreviewDialog::PagedPreviewDialog(PagedDocument &doc, const QString &title, QWidget *parent)
    : PreviewDialog(QStringLiteral("reportpreview"),
                    title.isEmpty() ? QStringLiteral("미리보기") : title + QStringLiteral(" - 미리보기"), parent),
      m_doc(doc)
{
    m_doc.setupPage(*m_printer);
    m_pdf = barButton(QStringLiteral("PDF저장"), "btnPdf");
    connect(m_pdf, &QPushButton::clicked, this, &PagedPreviewDialog::onPdf);
    finishLayout({}, {m_pdf});

    m_view->setSinglePageViewMode();
    m_view->updatePreview();
    m_view->fitInView();
    updateLabel();
}

void PagedPreviewDialog::paintPages(QPrinter *p)
{
    QPainter painter(p);
    const int pages = m_doc.pageCount(*p);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            p->newPage();
        painter.save();
        m_doc.paintPage(painter, *p, page);
        painter.restore();
    }
}

void PagedPreviewDialog::onZoom()
{
    // Between the whole page and the actual size.
    m_fit = !m_fit;
    if (m_fit) {
        m_view->fitInView();
    } else {
        m_view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        m_view->setZoomFactor(1.0);
    }
}

void PagedPreviewDialog::refresh()
{
    m_doc.setupPage(*m_printer);
    m_view->updatePreview();
    updateLabel();
}

void PagedPreviewDialog::onPrint()
{
    QPrintDialog dlg(m_printer, this);
    dlg.setWindowTitle(QStringLiteral("인쇄"));
    if (dlg.exec() != QDialog::Accepted)
        return;
    printDocument(m_doc, *m_printer);
    refresh();
}

void PagedPreviewDialog::onPdf()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("PDF로 저장"), m_pdfName,
                                                      QStringLiteral("PDF 파일 (*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!printDocumentToPdf(m_doc, path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".pdf"),
                            &error))
        QMessageBox::warning(this, QStringLiteral("PDF저장"), error);
}

} // namespace fitrova
