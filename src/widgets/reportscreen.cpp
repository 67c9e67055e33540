#include "widgets/reportscreen.h"

#include "data/listitems.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"
#include "widgets/reportrunner.h"
#include "widgets/widgetutil.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

namespace fitrova {

namespace {
// A query that answers within this time shows no busy notice (no flicker).
constexpr int kBusyDelayMs = 150;

bool isAllItem(const QString &t)
{
    return t.isEmpty() || t.contains(QStringLiteral("모두보기")) || t.endsWith(QStringLiteral("-ALL"));
}
} // namespace

QComboBox *reportCombo(QWidget *parent, const QString &objectName, int minWidth)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(objectName);
    c->setMinimumWidth(minWidth);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return c;
}

QHBoxLayout *reportRange(QWidget *from, QWidget *to)
{
    auto *h = new QHBoxLayout;
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    h->addWidget(from);
    h->addWidget(new QLabel(QStringLiteral("~"), from->parentWidget()));
    h->addWidget(to);
    h->addStretch();
    return h;
}

QHBoxLayout *reportRow(std::initializer_list<QWidget *> widgets, bool stretch)
{
    auto *h = new QHBoxLayout;
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(4);
    for (QWidget *w : widgets)
        h->addWidget(w);
    if (stretch)
        h->addStretch();
    return h;
}

QString chosenCode(const QComboBox *combo)
{
    const QString t = combo->currentText();
    if (isAllItem(t))
        return {};
    const int dash = int(t.indexOf(QLatin1Char('-')));
    const int dot = int(t.indexOf(QLatin1Char('.')));
    const int cut = dash < 0 ? dot : dot < 0 ? dash : std::min(dash, dot);
    return cut < 0 ? QString() : t.left(cut).trimmed();
}

QString chosenText(const QComboBox *combo)
{
    const QString t = combo->currentText();
    return isAllItem(t) ? QString() : t;
}

QString chosenLabel(const QComboBox *combo)
{
    const QString t = chosenText(combo);
    return t.isEmpty() ? QStringLiteral("모두보기") : t;
}

QString periodText(const QString &from, const QString &to)
{
    return QLatin1Char('(') + from + QLatin1Char('~') + to + QLatin1Char(')');
}

void linkProgramLists(UiContext &ui, QComboBox *course, QComboBox *lecturer, QComboBox *program, bool courseWithAll)
{
    const Db &db = ui.app.main;
    if (course)
        if (const auto items = guard(ui, DbAction::Read, [&] { return courseItems(db, QStringLiteral("P"), courseWithAll); })) {
            const QSignalBlocker b(course);
            fillCombo(course, *items);
        }
    if (lecturer)
        if (const auto items = guard(ui, DbAction::Read, [&] { return activeLecturerItems(db); })) {
            const QSignalBlocker b(lecturer);
            fillCombo(lecturer, *items);
        }
    if (!program)
        return;
    const auto refill = [&ui, course, lecturer, program] {
        const QString c = course ? course->currentText() : QString();
        const QString l = lecturer ? lecturer->currentText() : QString();
        if (const auto items = guard(ui, DbAction::Read, [&] { return programItems(ui.app.main, c, l); }))
            fillCombo(program, *items);
    };
    refill();
    if (course)
        QObject::connect(course, &QComboBox::currentIndexChanged, program, refill);
    if (lecturer)
        QObject::connect(lecturer, &QComboBox::currentIndexChanged, program, refill);
}

ReportScreen::ReportScreen(UiContext &ui, QWidget *parent, const QString &objectName, const QString &caption)
    : QWidget(parent), m_ui(ui), m_runner(new ReportRunner(ui.app, this))
{
    setObjectName(objectName);
    setWindowTitle(caption);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PnlCriteria"));
    panel->setFrameShape(QFrame::StyledPanel);
    m_criteria = new QGridLayout(panel);
    m_criteria->setContentsMargins(8, 6, 8, 6);
    m_criteria->setHorizontalSpacing(6);
    m_criteria->setVerticalSpacing(4);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Pnl건수"));
    m_status->setMinimumWidth(120);
    m_query = commandButton(this, QStringLiteral("Cmd조회"), QStringLiteral("조회"), 72, true);
    m_print = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"), 72);
    m_excel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"), 72);
    m_close = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 72);
    m_commands = new QHBoxLayout;
    m_commands->addWidget(m_status);
    m_commands->addStretch();
    for (QPushButton *b : {m_query, m_print, m_excel, m_close})
        m_commands->addWidget(b);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpList"));
    m_split = new QSplitter(Qt::Horizontal, this);
    m_split->setChildrenCollapsible(false);
    m_split->addWidget(m_grid);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("LblNote"));
    m_note->setWordWrap(true);
    m_note->hide();

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->setSpacing(4);
    outer->addWidget(panel);
    outer->addLayout(m_commands);
    outer->addWidget(m_split, 1);
    outer->addWidget(m_note);

    // The busy notice sits over the grid while a query runs.
    m_busy = new QFrame(this);
    m_busy->setObjectName(QStringLiteral("PnlBusy"));
    m_busy->setFrameShape(QFrame::Box);
    m_busy->setAutoFillBackground(true);
    QPalette pal = m_busy->palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xF0));
    pal.setColor(QPalette::WindowText, QColor(0x20, 0x30, 0x60));
    m_busy->setPalette(pal);
    m_busyText = new QLabel(m_busy);
    m_busyText->setObjectName(QStringLiteral("LblBusy"));
    m_busyText->setAlignment(Qt::AlignCenter);
    QFont f = m_busyText->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() + 1);
    m_busyText->setFont(f);
    m_cancel = commandButton(m_busy, QStringLiteral("Cmd취소"), QStringLiteral("취소"), 72, true);
    auto *busyLay = new QVBoxLayout(m_busy);
    busyLay->setContentsMargins(24, 16, 24, 12);
    busyLay->addWidget(m_busyText);
    busyLay->addWidget(m_cancel, 0, Qt::AlignHCenter);
    m_busy->hide();
    m_busyDelay = new QTimer(this);
    m_busyDelay->setSingleShot(true);
    connect(m_busyDelay, &QTimer::timeout, this, [this] {
        if (!isBusy())
            return;
        placeBusy();
        m_busy->show();
        m_busy->raise();
        m_grid->setCursor(Qt::BusyCursor);
    });

    connect(m_query, &QPushButton::clicked, this, [this] { query(); });
    connect(m_print, &QPushButton::clicked, this, &ReportScreen::print);
    connect(m_excel, &QPushButton::clicked, this, &ReportScreen::exportExcel);
    connect(m_close, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(m_cancel, &QPushButton::clicked, this, &ReportScreen::cancelQuery);

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    resize(sizeHint());
}

ReportScreen::~ReportScreen()
{
    // Interrupts a running query and waits for its thread before the screen goes.
    delete m_runner;
    m_runner = nullptr;
}

QPushButton *ReportScreen::addCommand(const QString &objectName, const QString &text)
{
    QPushButton *b = commandButton(this, objectName, text, 72);
    m_commands->insertWidget(m_commands->indexOf(m_close), b);
    return b;
}

void ReportScreen::setColumns(const QStringList &headers, const QList<int> &widths, const QList<int> &rightAligned,
                              const QList<int> &centred)
{
    m_grid->setColumns(headers, widths);
    for (int c : rightAligned)
        m_grid->setColumnAlignment(c, Qt::AlignRight);
    for (int c : centred)
        m_grid->setColumnAlignment(c, Qt::AlignCenter);
}

void ReportScreen::setSortable(bool on) { m_grid->setHeaderSorting(on); }

QChartView *ReportScreen::enableChart(Qt::Orientation orientation)
{
    if (m_chart)
        return m_chart;
    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    // The plot takes the pane's width: axes with many categories need it.
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    m_chart = new QChartView(chart, this);
    m_chart->setObjectName(QStringLiteral("Chart"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumSize(320, 240);
    m_split->setOrientation(orientation);
    m_split->insertWidget(0, m_chart);
    m_split->setStretchFactor(0, 3);
    m_split->setStretchFactor(1, 1);
    m_split->setSizes({680, 320});
    m_chartSave = addCommand(QStringLiteral("Cmd그래프저장"), QStringLiteral("그래프저장"));
    connect(m_chartSave, &QPushButton::clicked, this, &ReportScreen::saveChart);
    return m_chart;
}

void ReportScreen::addPane(QWidget *pane, int stretch)
{
    m_split->addWidget(pane);
    m_split->setStretchFactor(m_split->indexOf(pane), stretch);
}

void ReportScreen::setPaneSizes(const QList<int> &sizes) { m_split->setSizes(sizes); }

void ReportScreen::setNote(const QString &text)
{
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
}

void ReportScreen::setStatus(const QString &text) { m_status->setText(text); }

QString ReportScreen::statusText() const { return m_status->text(); }

void ReportScreen::showTable(const ReportTable &table)
{
    m_grid->setRows(table.rows, table.keys);
    for (int r : table.subtotalRows)
        m_grid->setTotalRow(r, subtotalBackColor());
    for (int r : table.totalRows)
        m_grid->setTotalRow(r);
}

GridPage ReportScreen::pageOf(const ReportTable &table, bool more)
{
    GridPage p;
    p.rows = table.rows;
    p.keys = table.keys;
    for (int r : table.subtotalRows)
        p.totalRows.append({r, subtotalBackColor()});
    for (int r : table.totalRows)
        p.totalRows.append({r, QColor()});
    p.more = more;
    return p;
}

void ReportScreen::showStream(const ReportTable &first, GridRowSource rest)
{
    if (!rest) {
        showTable(first);
        return;
    }
    // The first page is handed over as the grid's first read.
    auto pending = std::make_shared<std::optional<GridPage>>(pageOf(first, true));
    streamGridRows(*m_grid, [pending, rest = std::move(rest)](int maxRows) {
        if (*pending) {
            GridPage p = std::move(**pending);
            pending->reset();
            return p;
        }
        return rest(maxRows);
    });
}

bool ReportScreen::checkPeriod(const QString &from, const QString &to, QWidget *focus)
{
    if (!from.isEmpty() && !to.isEmpty() && from <= to)
        return true;
    m_ui.msg.warn(QStringLiteral("조회기간을 확인하여 주십시요."), QStringLiteral("기간확인"));
    if (focus)
        focus->setFocus();
    return false;
}

bool ReportScreen::query()
{
    if (isBusy())
        return false;
    return startQuery();
}

bool ReportScreen::isBusy() const { return m_runner && m_runner->isRunning(); }

void ReportScreen::startJob(const QString &busyText, std::function<void(const Db &)> work,
                            std::function<void()> shown)
{
    m_busyText->setText(busyText);
    m_query->setEnabled(false);
    m_busyDelay->start(kBusyDelayMs);
    m_runner->start(std::move(work), [this, shown = std::move(shown)](const std::optional<DbError> &error) {
        endJob();
        if (error)
            reportDbError(m_ui, dbErrorText(DbAction::Read), *error);
        else
            shown();
    });
}

void ReportScreen::endJob()
{
    m_busyDelay->stop();
    m_busy->hide();
    m_grid->unsetCursor();
    m_query->setEnabled(true);
}

void ReportScreen::cancelQuery()
{
    if (!isBusy())
        return;
    m_runner->cancel();
    endJob();
    setStatus(QStringLiteral("조회를 취소하였습니다."));
}

bool ReportScreen::waitForQuery(int msecs)
{
    QElapsedTimer t;
    t.start();
    while (isBusy() && t.elapsed() < msecs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return !isBusy();
}

void ReportScreen::placeBusy()
{
    m_busy->adjustSize();
    const QRect area = m_split->geometry();
    m_busy->move(area.center() - QPoint(m_busy->width() / 2, m_busy->height() / 2));
}

void ReportScreen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && isBusy()) {
        cancelQuery();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ReportScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_busy->isVisible())
        placeBusy();
}

void ReportScreen::preparePrint()
{
    const ReportPrint p = printSpec();
    setupReportPrint(*m_grid, p.title, p.line2, p.line3, p.line4, p.landscape, 0, 1, 0, m_ui.app.business.name);
}

void ReportScreen::print()
{
    if (m_grid->rowCount() == 0) {
        m_ui.msg.info(QStringLiteral("인쇄할 자료가 없습니다."), QStringLiteral("인쇄"));
        return;
    }
    readAllLines();
    const ReportPrint p = printSpec();
    printGridPreview(*m_grid, p.title, p.line2, p.line3, p.line4, p.landscape, 0, 1, 0, m_ui.app.business.name);
}

void ReportScreen::exportExcel()
{
    readAllLines();
    exportGridForUser(m_ui, exportName(), *m_grid);
}

void ReportScreen::readAllLines()
{
    if (!gridHasMoreRows(*m_grid))
        return;
    BusyScope busy(QStringLiteral("자료를 준비중 입니다"), this);
    fetchAllGridRows(*m_grid);
}

bool ReportScreen::exportChart(const QString &path)
{
    if (!m_chart)
        return false;
    QChart *chart = m_chart->chart();
    // A chart pane that is not on screen has no size of its own yet: it is
    // laid out at a page-like size for the picture.
    if (!m_chart->isVisible() || chart->size().width() < 100) {
        chart->resize(900, 600);
        QCoreApplication::sendPostedEvents();
    }
    const QRectF source(chart->pos(), chart->size());
    const QString suffix = QFileInfo(path).suffix().toLower();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (suffix == QLatin1String("pdf")) {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setResolution(150);
        pdf.setTitle(windowTitle());
        QPainter painter;
        if (!painter.begin(&pdf))
            return false;
        const QRectF page = painter.viewport();
        const QSizeF size = source.size().scaled(page.size(), Qt::KeepAspectRatio);
        chart->scene()->render(&painter, QRectF(QPointF(page.left() + (page.width() - size.width()) / 2, page.top()), size),
                               source);
        return painter.end();
    }
    QImage img((source.size() * 2).toSize(), QImage::Format_ARGB32);
    img.fill(Qt::white);
    {
        QPainter painter(&img);
        painter.setRenderHint(QPainter::Antialiasing);
        chart->scene()->render(&painter, QRectF(img.rect()), source);
    }
    return img.save(path, suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg") ? "JPG" : "PNG");
}

void ReportScreen::saveChart()
{
    const QString start = m_ui.app.paths.excelDir + QLatin1Char('/') + exportName() + QStringLiteral(".png");
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("그래프저장"), start,
                                                      QStringLiteral("PNG 그림 (*.png);;PDF 문서 (*.pdf)"));
    if (path.isEmpty())
        return;
    if (exportChart(path))
        m_ui.msg.info(QStringLiteral("그래프를 저장하였습니다.\n") + path, QStringLiteral("그래프저장"));
    else
        m_ui.msg.warn(QStringLiteral("그래프를 저장하지 못하였습니다."), QStringLiteral("그래프저장"));
}

} // namespace fitrova
