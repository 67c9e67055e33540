#include "schedule/ui/schedulecalendarscreen.h"

#include "schedule/ui/scheduleentrydialog.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QDate>

namespace fitrova {

namespace {

const QString kDetailsKey = QStringLiteral("일정표/세부내용");
const QStringList kWeekdays = {QStringLiteral("일"), QStringLiteral("월"), QStringLiteral("화"), QStringLiteral("수"),
                               QStringLiteral("목"), QStringLiteral("금"), QStringLiteral("토")};
constexpr int kDateRole = Qt::UserRole + 1;
constexpr int kLinesRole = Qt::UserRole + 2;

QColor dayColor(int col)
{
    if (col == 0)
        return QColor(0xC0, 0x20, 0x20);
    if (col == 6)
        return QColor(0x20, 0x40, 0xC0);
    return QColor(Qt::black);
}

// Draws the day number at the top left and the day's lines below it, each
// shortened to the cell's width.
void paintDay(QPainter &p, const QRectF &cell, const QDate &date, const QStringList &lines, int col, double pad,
              const QFont &base)
{
    if (!date.isValid())
        return;
    QFont dayFont = base;
    dayFont.setBold(true);
    p.setFont(dayFont);
    p.setPen(dayColor(col));
    const QFontMetricsF dfm(dayFont, p.device());
    const QRectF dayRect(cell.left() + pad, cell.top() + pad * 0.5, cell.width() - 2 * pad, dfm.height());
    drawPrintText(p, dayRect, Qt::AlignLeft | Qt::AlignVCenter, QString::number(date.day()));
    p.setFont(base);
    p.setPen(Qt::black);
    const QFontMetricsF fm(base, p.device());
    double y = dayRect.bottom();
    for (const QString &line : lines) {
        if (y + fm.height() > cell.bottom())
            break;
        drawPrintText(p, QRectF(cell.left() + pad, y, cell.width() - 2 * pad, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(line, Qt::ElideRight, cell.width() - 2 * pad));
        y += fm.height();
    }
}

class DayDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        p->save();
        const QDate date = index.data(kDateRole).toDate();
        if (option.state & QStyle::State_Selected)
            p->fillRect(option.rect, QColor(0xBD, 0xF4, 0xFA));
        else if (!date.isValid())
            p->fillRect(option.rect, QColor(0xF2, 0xF2, 0xF2));
        else if (index.data(Qt::BackgroundRole).canConvert<QColor>())
            p->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
        paintDay(*p, option.rect, date, index.data(kLinesRole).toStringList(), index.column(), 4, option.font);
        p->restore();
    }
};

} // namespace

ScheduleCalendarScreen::ScheduleCalendarScreen(UiContext &ui, QWidget *parent)
    : QWidget(parent), m_ui(ui), m_year(ui.app.clock().today().year()), m_month(ui.app.clock().today().month())
{
    setObjectName(QStringLiteral("일정표"));
    setWindowTitle(QStringLiteral("일정표"));

    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("Cob일정구분"));
    m_kind->addItems({scheduleKindItem(QStringLiteral("0")), scheduleKindItem(QStringLiteral("1"))});
    m_yy = displayPanel(this, QStringLiteral("Pnlyy"), 60, Qt::AlignCenter);
    auto arrow = [this](const char *name, Qt::ArrowType type) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromUtf8(name));
        b->setArrowType(type);
        return b;
    };
    QToolButton *yyDown = arrow("CmdYYDown", Qt::LeftArrow);
    QToolButton *yyUp = arrow("CmdYYUp", Qt::RightArrow);
    m_mm = new QComboBox(this);
    m_mm->setObjectName(QStringLiteral("CobMM"));
    for (int m = 1; m <= 12; ++m)
        m_mm->addItem(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')));
    QToolButton *mmDown = arrow("CmdMMDown", Qt::LeftArrow);
    QToolButton *mmUp = arrow("CmdMMUp", Qt::RightArrow);
    m_details = new QCheckBox(QStringLiteral("세부내용"), this);
    m_details->setObjectName(QStringLiteral("Chk세부내용"));
    m_details->setChecked(
        scheduleSettings(ui.app.user.psCode)->value(kDetailsKey).toString().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("Sp달력"));
    m_grid->setColumnCount(7);
    m_grid->setHorizontalHeaderLabels(kWeekdays);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setItemDelegate(new DayDelegate(m_grid));
    m_grid->setMinimumHeight(420);
    for (int c = 0; c < 7; ++c)
        if (QTableWidgetItem *h = m_grid->horizontalHeaderItem(c))
            h->setForeground(dayColor(c));

    QPushButton *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *top = new QHBoxLayout;
    top->addWidget(m_kind);
    top->addSpacing(16);
    top->addWidget(yyDown);
    top->addWidget(m_yy);
    top->addWidget(yyUp);
    top->addWidget(new QLabel(QStringLiteral("년"), this));
    top->addSpacing(8);
    top->addWidget(mmDown);
    top->addWidget(m_mm);
    top->addWidget(mmUp);
    top->addWidget(new QLabel(QStringLiteral("월"), this));
    top->addSpacing(16);
    top->addWidget(m_details);
    top->addStretch();
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(top);
    outer->addWidget(m_grid, 1);
    auto *hint = new QLabel(QStringLiteral("날짜를 두 번 누르거나 Enter 키를 누르면 일정을 등록합니다."), this);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(hint);
    bottom->addStretch();
    bottom->addWidget(cmdPrint);
    bottom->addWidget(cmdClose);
    outer->addLayout(bottom);
    resize(900, 620);

    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { redraw(); });
    connect(m_mm, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0 && i + 1 != m_month)
            setMonth(m_year, i + 1);
    });
    connect(yyDown, &QToolButton::clicked, this, [this] { setMonth(m_year - 1, m_month); });
    connect(yyUp, &QToolButton::clicked, this, [this] { setMonth(m_year + 1, m_month); });
    connect(mmDown, &QToolButton::clicked, this, [this] {
        const QDate d = QDate(m_year, m_month, 1).addMonths(-1);
        setMonth(d.year(), d.month());
    });
    connect(mmUp, &QToolButton::clicked, this, [this] {
        const QDate d = QDate(m_year, m_month, 1).addMonths(1);
        setMonth(d.year(), d.month());
    });
    connect(m_details, &QCheckBox::toggled, this, [this](bool on) {
        auto store = scheduleSettings(m_ui.app.user.psCode);
        store->setValue(kDetailsKey, on ? QStringLiteral("True") : QStringLiteral("False"));
        store->sync();
        redraw();
    });
    connect(m_grid, &QTableWidget::activated, this, [this](const QModelIndex &index) {
        const QDate day = index.data(kDateRole).toDate();
        if (day.isValid())
            openDay(day);
    });
    connect(cmdPrint, &QPushButton::clicked, this, &ScheduleCalendarScreen::print);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });

    setMonth(m_year, m_month);
}

QString ScheduleCalendarScreen::kind() const { return m_kind->currentText().left(1); }

void ScheduleCalendarScreen::setMonth(int year, int month)
{
    m_year = qBound(1900, year, 9999);
    m_month = qBound(1, month, 12);
    m_yy->setText(QString::number(m_year));
    {
        const QSignalBlocker block(m_mm);
        m_mm->setCurrentIndex(m_month - 1);
    }
    redraw();
}

void ScheduleCalendarScreen::redraw()
{
    const QString gubun = kind();
    const QString user = m_ui.app.user.psCode;
    const auto entries = guard(m_ui, DbAction::Read, [&] { return monthSchedule(m_ui.app.main, gubun, user, m_year, m_month); });
    QHash<QDate, QList<ScheduleEntry>> byDay;
    if (entries)
        for (const ScheduleEntry &e : *entries)
            byDay[QDate::fromString(e.date, QStringLiteral("yyyy-MM-dd"))] << e;
    m_lines.clear();
    for (auto it = byDay.cbegin(); it != byDay.cend(); ++it)
        m_lines.insert(it.key(), scheduleDayLines(it.value(), m_details->isChecked()));

    m_cells = monthCalendarCells(m_year, m_month);
    const QDate today = m_ui.app.clock().today();
    m_grid->clearContents();
    m_grid->setRowCount(int(m_cells.size() / 7));
    for (int i = 0; i < m_cells.size(); ++i) {
        const QDate d = m_cells[i];
        auto *item = new QTableWidgetItem;
        item->setData(kDateRole, d);
        const QStringList lines = m_lines.value(d);
        item->setData(kLinesRole, lines);
        item->setText(d.isValid() ? QString::number(d.day()) + QLatin1Char('\n') + lines.join(QLatin1Char('\n')) : QString());
        item->setToolTip(lines.join(QLatin1Char('\n')));
        if (d == today)
            item->setBackground(QColor(0xFF, 0xF8, 0xD6));
        if (!d.isValid())
            item->setFlags(Qt::NoItemFlags);
        m_grid->setItem(i / 7, i % 7, item);
    }
}

QStringList ScheduleCalendarScreen::dayLines(const QDate &day) const { return m_lines.value(day); }

void ScheduleCalendarScreen::openDay(const QDate &day)
{
    bool tf = false;
    if (runEntryScreen) {
        tf = runEntryScreen(day);
    } else {
        ScheduleEntryDialog dlg(m_ui, kind(), m_ui.app.user.psCode, day, window());
        dlg.exec();
        tf = dlg.TF;
    }
    if (tf)
        redraw();
}

void ScheduleCalendarScreen::print()
{
    ScheduleMonthDocument doc(m_year, m_month, m_lines, m_ui.app.business.name);
    PagedPreviewDialog dlg(doc, ScheduleMonthDocument::heading(m_year, m_month), window());
    dlg.exec();
}

// --- the printed month ------------------------------------------------------------

ScheduleMonthDocument::ScheduleMonthDocument(int year, int month, QHash<QDate, QStringList> lines, QString business)
    : m_year(year), m_month(month), m_lines(std::move(lines)), m_business(std::move(business))
{
}

QString ScheduleMonthDocument::heading(int year, int month)
{
    return QString::number(year) + QStringLiteral("년 ") + QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0'))
        + QStringLiteral("월 일정표");
}

void ScheduleMonthDocument::setupPage(QPagedPaintDevice &device) const
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                     QPageLayout::Millimeter));
}

void ScheduleMonthDocument::paintPage(QPainter &p, QPagedPaintDevice &device, int)
{
    const double mm = device.logicalDpiX() / 25.4;
    const double w = device.width(), h = device.height();
    QPaintDevice *dev = p.device();
    QFont title(QStringLiteral("NanumGothic"));
    title.setPointSizeF(16);
    title.setBold(true);
    p.setFont(QFont(title, dev));
    drawPrintText(p, QRectF(0, 0, w, 10 * mm), Qt::AlignCenter, heading(m_year, m_month));
    QFont small(QStringLiteral("NanumGothic"));
    small.setPointSizeF(8);
    p.setFont(QFont(small, dev));
    drawPrintText(p, QRectF(0, 0, w, 10 * mm), Qt::AlignRight | Qt::AlignBottom, m_business);

    const QList<QDate> cells = monthCalendarCells(m_year, m_month);
    const int weeks = int(cells.size() / 7);
    const double top = 13 * mm, headH = 6 * mm;
    const double colW = w / 7, rowH = (h - top - headH) / weeks;
    p.setPen(QPen(Qt::black, qMax(1.0, 0.2 * mm)));
    QFont head = small;
    head.setPointSizeF(9);
    head.setBold(true);
    for (int c = 0; c < 7; ++c) {
        const QRectF r(c * colW, top, colW, headH);
        p.fillRect(r, QColor(0xE8, 0xEE, 0xF6));
        p.drawRect(r);
        p.setFont(QFont(head, dev));
        p.setPen(dayColor(c));
        drawPrintText(p, r, Qt::AlignCenter, kWeekdays[c]);
        p.setPen(QPen(Qt::black, qMax(1.0, 0.2 * mm)));
    }
    QFont body(QStringLiteral("NanumGothic"));
    body.setPointSizeF(7.5);
    for (int i = 0; i < cells.size(); ++i) {
        const QRectF r((i % 7) * colW, top + headH + (i / 7) * rowH, colW, rowH);
        if (!cells[i].isValid())
            p.fillRect(r, QColor(0xF2, 0xF2, 0xF2));
        p.setPen(QPen(Qt::black, qMax(1.0, 0.2 * mm)));
        p.drawRect(r);
        paintDay(p, r, cells[i], m_lines.value(cells[i]), i % 7, 1.5 * mm, QFont(body, dev));
    }
}

} // namespace fitrova
