#include "closing/ui/closingscreen.h"

#include "closing/ui/shiftclosedialog.h"
#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"
#include "widgets/moneyedit.h"
#include "widgets/widgetutil.h"

#include <QLabel>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fitrova {

namespace {

const QStringList kHeaders{QStringLiteral("마감일자"), QStringLiteral("교대"),   QStringLiteral("근무자"),
                           QStringLiteral("시작"),     QStringLiteral("종료"),   QStringLiteral("POS"),
                           QStringLiteral("전잔액"),   QStringLiteral("건수"),   QStringLiteral("매출현금"),
                           QStringLiteral("매출카드"), QStringLiteral("매출합계"), QStringLiteral("입금현금"),
                           QStringLiteral("입금카드"), QStringLiteral("입금합계"), QStringLiteral("오차현금"),
                           QStringLiteral("오차카드"), QStringLiteral("오차합계"), QStringLiteral("현금납입"),
                           QStringLiteral("마감금액"), QStringLiteral("오차사유")};
const QList<int> kWidths{80, 50, 70, 140, 140, 36, 72, 46, 80, 80, 86, 80, 80, 86, 66, 66, 66, 80, 86, 140};
constexpr int kFirstAmount = 6, kLastAmount = 18;

DataGrid *closingGrid(QWidget *parent, const QString &name)
{
    auto *g = new DataGrid(parent);
    g->setObjectName(name);
    g->setColumns(kHeaders, kWidths);
    for (int c = kFirstAmount; c <= kLastAmount; ++c)
        g->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    g->setColumnAlignment(1, Qt::AlignCenter);
    g->setColumnAlignment(5, Qt::AlignCenter);
    return g;
}

QStringList amounts(const FinishRow &f)
{
    return {wonText(f.befAmt),  QString::number(f.totCnt), wonText(f.cashAmt1), wonText(f.cardAmt1),
            wonText(f.totAmt1), wonText(f.cashAmt2),       wonText(f.cardAmt2),  wonText(f.totAmt2),
            wonText(f.cashAmt3), wonText(f.cardAmt3),      wonText(f.totAmt3),   wonText(f.cashAmt4),
            wonText(f.totAmt4)};
}

QLineEdit *timeInput(QWidget *parent, const QString &name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(8);
    e->setFixedWidth(72);
    e->setAlignment(Qt::AlignCenter);
    QObject::connect(e, &QLineEdit::editingFinished, e, [e] {
        const QString t = normalizeTime(e->text());
        if (!t.isEmpty())
            e->setText(t);
    });
    return e;
}

} // namespace

ClosingScreen::ClosingScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("일일마감"));
    setWindowTitle(QStringLiteral("일일마감"));

    m_bySale = new QRadioButton(QStringLiteral("판매일자"), this);
    m_bySale->setObjectName(QStringLiteral("Opt일자0"));
    m_byClosing = new QRadioButton(QStringLiteral("마감일자"), this);
    m_byClosing->setObjectName(QStringLiteral("Opt일자1"));
    auto *opt = new QButtonGroup(this);
    opt->addButton(m_bySale);
    opt->addButton(m_byClosing);
    m_bySale->setChecked(true);

    const QDate today = ui.app.clock().today();
    m_from = new DateEdit(today, this);
    m_from->setObjectName(QStringLiteral("TxtSdate1"));
    m_to = new DateEdit(today, this);
    m_to->setObjectName(QStringLiteral("TxtSdate2"));
    m_time1 = timeInput(this, QStringLiteral("Time1"));
    m_time2 = timeInput(this, QStringLiteral("Time2"));
    m_fFrom = new DateEdit(today, this);
    m_fFrom->setObjectName(QStringLiteral("TxtFdate1"));
    m_fTo = new DateEdit(today, this);
    m_fTo->setObjectName(QStringLiteral("TxtFdate2"));
    m_closingDay = new QComboBox(this);
    m_closingDay->setObjectName(QStringLiteral("Cob마감일"));
    m_closingDay->addItems({QStringLiteral("1.시작일자로 마감"), QStringLiteral("2.종료일자로 마감")});
    m_notClosed = new QCheckBox(QStringLiteral("교대마감안된자료포함"), this);
    m_notClosed->setObjectName(QStringLiteral("Chk미마감"));

    auto *crit = new QGridLayout;
    crit->addWidget(m_bySale, 0, 0);
    auto *saleRow = new QHBoxLayout;
    saleRow->addWidget(m_from);
    saleRow->addWidget(m_time1);
    saleRow->addWidget(caption(this, QStringLiteral("~")));
    saleRow->addWidget(m_to);
    saleRow->addWidget(m_time2);
    saleRow->addSpacing(12);
    saleRow->addWidget(m_closingDay);
    saleRow->addStretch();
    crit->addLayout(saleRow, 0, 1);
    crit->addWidget(m_byClosing, 1, 0);
    auto *closeRow = new QHBoxLayout;
    closeRow->addWidget(m_fFrom);
    closeRow->addWidget(caption(this, QStringLiteral("~")));
    closeRow->addWidget(m_fTo);
    closeRow->addSpacing(12);
    closeRow->addWidget(m_notClosed);
    closeRow->addStretch();
    crit->addLayout(closeRow, 1, 1);

    auto *cmdQuery = commandButton(this, QStringLiteral("Cmd조회"), QStringLiteral("조회"), 64);
    auto *cmdDay = commandButton(this, QStringLiteral("Cmd마감"), QStringLiteral("일일마감"), 76);
    auto *cmdOpen = commandButton(this, QStringLiteral("Cmd교대개시"), QStringLiteral("교대개시"), 76);
    auto *cmdShift = commandButton(this, QStringLiteral("Cmd교대마감"), QStringLiteral("교대마감"), 76);
    auto *cmdSales = commandButton(this, QStringLiteral("Cmd매출조회"), QStringLiteral("매출조회"), 76);
    auto *cmdDelete = commandButton(this, QStringLiteral("Cmd삭제"), QStringLiteral("삭제"), 56);
    auto *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"), 56);
    auto *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"), 56);
    auto *cmdEnv = commandButton(this, QStringLiteral("Cmd환경"), QStringLiteral("마감환경"), 76);
    auto *cmdQuit = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 56);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("Tab마감"));
    m_daily = closingGrid(this, QStringLiteral("SpFin"));
    m_shifts = closingGrid(this, QStringLiteral("SpFin1"));
    m_tabs->addTab(m_daily, QStringLiteral("일일마감"));
    m_tabs->addTab(m_shifts, QStringLiteral("교대마감"));

    auto *lay = new QVBoxLayout(this);
    lay->addLayout(crit);
    lay->addLayout(buttonRow({cmdQuery, cmdDay, cmdOpen, cmdShift, cmdSales, cmdDelete, cmdPrint, cmdExcel, cmdEnv,
                              cmdQuit}));
    lay->addWidget(m_tabs, 1);

    connect(m_bySale, &QRadioButton::toggled, this, &ClosingScreen::modeChanged);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { query(); });
    connect(cmdQuery, &QPushButton::clicked, this, &ClosingScreen::query);
    connect(cmdDay, &QPushButton::clicked, this, &ClosingScreen::closeDay);
    connect(cmdOpen, &QPushButton::clicked, this, &ClosingScreen::openShift);
    connect(cmdShift, &QPushButton::clicked, this, [this] {
        // A shift row of the list, or the user's own shift.
        closeShiftOf(shiftTab() ? currentFnid() : 0);
    });
    connect(cmdSales, &QPushButton::clicked, this, &ClosingScreen::showSales);
    connect(cmdDelete, &QPushButton::clicked, this, [this] {
        DataGrid *g = currentGrid();
        if (g->currentRow() >= 0)
            deleteRow(g, g->currentRow());
    });
    connect(cmdPrint, &QPushButton::clicked, this, &ClosingScreen::print);
    connect(cmdExcel, &QPushButton::clicked, this, &ClosingScreen::exportExcel);
    connect(cmdEnv, &QPushButton::clicked, this, &ClosingScreen::editSettings);
    connect(cmdQuit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    for (DataGrid *g : {m_daily, m_shifts}) {
        connect(g, &DataGrid::rowActivated, this, [this, g](int row) {
            const qint64 fnid = g->rowKey(row).toLongLong();
            if (fnid > 0)
                closeShiftOf(fnid);
        });
        connect(g, &DataGrid::deleteRequested, this, [this, g](int row) { deleteRow(g, row); });
    }

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    loadDefaults();
    modeChanged();
}

void ClosingScreen::loadDefaults()
{
    const auto s = guard(m_ui, DbAction::Read, [&] { return loadClosingSettings(m_ui.app.main); });
    const ClosingSettings settings = s.value_or(ClosingSettings{});
    m_time1->setText(settings.time1);
    m_time2->setText(settings.time2);
    // The business day now running: today's from its start, and before the
    // start time the one that began yesterday.
    const TimeWindow day = businessDayAt(settings, m_ui.app.clock().now());
    m_from->setDateText(day.fromDate);
    m_to->setDateText(day.toDate);
}

void ClosingScreen::modeChanged()
{
    const bool bySale = m_bySale->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{m_from, m_to, m_time1, m_time2, m_closingDay})
        w->setEnabled(bySale);
    m_fFrom->setEnabled(!bySale);
    m_fTo->setEnabled(!bySale);
}

bool ClosingScreen::shiftTab() const { return m_tabs->currentWidget() == m_shifts; }

DataGrid *ClosingScreen::currentGrid() const { return shiftTab() ? m_shifts : m_daily; }

qint64 ClosingScreen::currentFnid() const
{
    const DataGrid *g = currentGrid();
    return g->currentRow() >= 0 ? g->rowKey(g->currentRow()).toLongLong() : 0;
}

std::optional<TimeWindow> ClosingScreen::saleWindow(bool tell)
{
    const QString t1 = normalizeTime(m_time1->text()), t2 = normalizeTime(m_time2->text());
    if (t1.isEmpty() || t2.isEmpty()) {
        if (tell) {
            m_ui.msg.warn(QStringLiteral("시간을 확인하여 주십시요.(예: 06:00)"), QStringLiteral("일일마감"));
            (t1.isEmpty() ? m_time1 : m_time2)->setFocus();
        }
        return std::nullopt;
    }
    m_time1->setText(t1);
    m_time2->setText(t2);
    const TimeWindow w{m_from->dateText(), t1, m_to->dateText(), t2};
    if (!w.isValid()) {
        if (tell) {
            m_ui.msg.warn(QStringLiteral("조회기간을 확인하여 주십시요."), QStringLiteral("일일마감"));
            m_from->setFocus();
        }
        return std::nullopt;
    }
    return w;
}

void ClosingScreen::query()
{
    ClosingListCriteria c;
    c.byClosingDate = m_byClosing->isChecked();
    if (c.byClosingDate) {
        c.fromDate = m_fFrom->dateText();
        c.toDate = m_fTo->dateText();
        if (c.fromDate > c.toDate) {
            m_ui.msg.warn(QStringLiteral("조회기간을 확인하여 주십시요."), QStringLiteral("일일마감"));
            m_fFrom->setFocus();
            return;
        }
    } else {
        const auto w = saleWindow();
        if (!w)
            return;
        c.window = *w;
    }
    c.shifts = shiftTab();
    c.includeNotClosed = m_notClosed->isChecked();
    const auto rows = guard(m_ui, DbAction::Read, [&] { return listClosings(m_ui.app.main, c); });
    if (rows)
        fill(currentGrid(), *rows);
}

void ClosingScreen::fill(DataGrid *grid, const QList<FinishRow> &rows)
{
    grid->clearRows();
    FinishRow sum;
    for (const FinishRow &f : rows) {
        const bool open = f.isOpen();
        QStringList cells{f.isDayClosed() ? f.fDate : QString(),
                          f.isDaily() ? QStringLiteral("일일") : (open ? f.fnCnt + QStringLiteral("(개시)") : f.fnCnt),
                          f.userName.isEmpty() ? f.psCode : f.userName,
                          f.sDate1 + QLatin1Char(' ') + f.time1,
                          open ? QString() : f.sDate2 + QLatin1Char(' ') + f.time2,
                          QString::number(f.posNo)};
        cells += amounts(f);
        cells << f.remark;
        const int row = grid->addRow(cells, f.fnid);
        if (open)
            grid->setRowForeground(row, QColor(0x80, 0x80, 0x80));
        else if (f.totAmt3 != 0 || f.cashAmt3 != 0)
            for (int c = 14; c <= 16; ++c)
                grid->setCellForeground(row, c, QColor(0xC0, 0, 0));
        sum.befAmt += f.befAmt;
        sum.totCnt += f.totCnt;
        sum.cashAmt1 += f.cashAmt1;
        sum.cardAmt1 += f.cardAmt1;
        sum.totAmt1 += f.totAmt1;
        sum.cashAmt2 += f.cashAmt2;
        sum.cardAmt2 += f.cardAmt2;
        sum.totAmt2 += f.totAmt2;
        sum.cashAmt3 += f.cashAmt3;
        sum.cardAmt3 += f.cardAmt3;
        sum.totAmt3 += f.totAmt3;
        sum.cashAmt4 += f.cashAmt4;
        sum.totAmt4 += f.totAmt4;
    }
    if (!rows.isEmpty()) {
        QStringList cells{QStringLiteral("[ 합  계 ]"), QString(), QString(), QString(), QString(), QString()};
        cells += amounts(sum);
        cells << QString();
        grid->addTotalRow(cells);
    }
}

void ClosingScreen::closeDay()
{
    const auto w = saleWindow();
    if (!w)
        return;
    DayClosingInput in{*w, m_closingDay->currentIndex() == 1 ? w->toDate : w->fromDate};
    if (!m_ui.msg.ask(dayClosingQuestion(in), dayClosingTitle()))
        return;
    const ShiftStamp st = shiftStamp(m_ui.app);
    const auto o = guard(m_ui, DbAction::Save, [&] { return fitrova::closeDay(m_ui.app.main, in, st); });
    if (!o || !showOutcome(m_ui, *o))
        return;
    m_bySale->setChecked(true);
    m_tabs->setCurrentWidget(m_daily); // queries the daily list when it changes the tab
    query();
    const int row = m_daily->findKey(o->id);
    if (row >= 0)
        m_daily->setCurrentRow(row);
}

void ClosingScreen::openShift()
{
    const auto settings = guard(m_ui, DbAction::Read, [&] { return loadClosingSettings(m_ui.app.main); });
    if (!settings)
        return;
    const ShiftStamp st = shiftStamp(m_ui.app);
    const auto open = guard(m_ui, DbAction::Read, [&] { return openShiftOf(m_ui.app.main, st.psCode); });
    if (!open)
        return;
    if (*open) {
        m_ui.msg.info(QStringLiteral("이미 개시된 교대가 있읍니다. (%1)").arg(shiftText(*open)), QStringLiteral("교대개시"));
        return;
    }
    const auto proposed = guard(m_ui, DbAction::Read, [&] { return proposedFloat(m_ui.app.main, st.posNo); });
    if (!proposed)
        return;

    QDialog d(this);
    d.setObjectName(QStringLiteral("교대개시"));
    d.setWindowTitle(QStringLiteral("교대개시"));
    auto *bef = new MoneyEdit(&d, QStringLiteral("TxtBefAmt"), QStringLiteral("준비금"));
    bef->setAmount(*proposed);
    auto *form = new QFormLayout(&d);
    form->addRow(QStringLiteral("근무자"), caption(&d, m_ui.app.user.userName));
    form->addRow(QStringLiteral("준비금(전잔액)"), bef);
    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("개시"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("취소"));
    form->addRow(box);
    connect(box, &QDialogButtonBox::accepted, &d, [&] {
        if (checkNumberFields(&d, m_ui.msg))
            d.accept();
    });
    connect(box, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    if (d.exec() != QDialog::Accepted)
        return;
    const qint64 amount = bef->amount();
    const auto o = guard(m_ui, DbAction::Save, [&] {
        return openShiftByHand(m_ui.app.main, shiftStamp(m_ui.app), *settings, amount);
    });
    if (!o || !showOutcome(m_ui, *o))
        return;
    m_tabs->setCurrentWidget(m_shifts);
    query();
}

void ClosingScreen::closeShiftOf(qint64 fnid)
{
    // The window of the inputs bounds where a shift is counted when the list
    // is by sale date.
    std::optional<TimeWindow> bounds;
    if (m_bySale->isChecked())
        bounds = saleWindow(false);
    ShiftCloseDialog d(m_ui, fnid, bounds, this);
    d.exec();
    if (d.TF)
        query();
}

void ClosingScreen::showSales()
{
    const qint64 fnid = currentFnid();
    if (fnid <= 0) {
        m_ui.msg.info(QStringLiteral("조회할 마감자료를 선택하여 주십시요."), QStringLiteral("매출조회"));
        return;
    }
    const auto f = guard(m_ui, DbAction::Read, [&] { return loadFinish(m_ui.app.main, fnid); });
    if (!f || !*f)
        return;
    const FinishRow &r = **f;
    ScreenArgs args{{QStringLiteral("uGubun"), r.isDaily() ? QStringLiteral("일일마감") : QStringLiteral("교대마감")},
                    {QStringLiteral("uUserCode"), r.isDaily() ? QString() : r.psCode},
                    {QStringLiteral("uFdate"), r.isDayClosed() ? r.fDate : QString()},
                    {QStringLiteral("uSdate1"), r.sDate1},
                    {QStringLiteral("uTime1"), r.time1},
                    {QStringLiteral("uSdate2"), r.isOpen() ? m_ui.app.clock().now().toString(QStringLiteral("yyyy-MM-dd"))
                                                           : r.sDate2},
                    {QStringLiteral("uTime2"), r.isOpen() ? QStringLiteral("23:59:59") : r.time2}};
    m_ui.openScreen(QStringLiteral("상품판매현황1"), args);
}

void ClosingScreen::deleteRow(DataGrid *grid, int row)
{
    const qint64 fnid = grid->rowKey(row).toLongLong();
    if (fnid <= 0)
        return;
    if (!mayDeleteTakings(m_ui.app.user.grCode)) {
        m_ui.msg.warn(QStringLiteral("삭제권한이 없읍니다"), closingDeleteTitle());
        return;
    }
    grid->setCurrentRow(row);
    if (!m_ui.msg.ask(QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"), QStringLiteral("자료삭제")))
        return;
    const auto o = guard(m_ui, DbAction::Delete, [&] {
        return deleteClosing(m_ui.app.main, fnid, mayDeleteTakings(m_ui.app.user.grCode));
    });
    if (!o || !showOutcome(m_ui, *o))
        return;
    query();
}

QString ClosingScreen::periodLine() const
{
    if (m_byClosing->isChecked())
        return QStringLiteral("마감일자 : (%1 ~ %2)").arg(m_fFrom->dateText(), m_fTo->dateText());
    return QStringLiteral("판매일자 : (%1 %2 ~ %3 %4)")
        .arg(m_from->dateText(), m_time1->text(), m_to->dateText(), m_time2->text());
}

void ClosingScreen::print()
{
    DataGrid *g = currentGrid();
    if (g->rowCount() == 0)
        return;
    const QString title = shiftTab() ? QStringLiteral("교대마감현황") : QStringLiteral("일일마감현황");
    printGridPreview(*g, title, periodLine(), QString(), QString(), true, 0, 0, 0, m_ui.app.business.name);
}

void ClosingScreen::exportExcel()
{
    DataGrid *g = currentGrid();
    if (g->rowCount() == 0)
        return;
    const QString title = shiftTab() ? QStringLiteral("교대마감현황") : QStringLiteral("일일마감현황");
    const ExportResult r = exportGridForUser(m_ui, title, *g);
    if (!r.ok && !r.message.isEmpty())
        m_ui.msg.warn(r.message, r.title);
}

void ClosingScreen::editSettings()
{
    const auto loaded = guard(m_ui, DbAction::Read, [&] { return loadClosingSettings(m_ui.app.main); });
    if (!loaded)
        return;
    QDialog d(this);
    d.setObjectName(QStringLiteral("마감환경"));
    d.setWindowTitle(closingSettingsTitle());
    auto *t1 = timeInput(&d, QStringLiteral("TxtfTime1"));
    auto *t2 = timeInput(&d, QStringLiteral("TxtfTime2"));
    t1->setText(loaded->time1);
    t2->setText(loaded->time2);
    auto *limit = new MoneyEdit(&d, QStringLiteral("TxtDiffLimit"), QStringLiteral("오차허용금액"));
    limit->setAmount(loaded->diffLimit);
    auto *form = new QFormLayout(&d);
    form->addRow(QStringLiteral("마감 시작시간"), t1);
    form->addRow(QStringLiteral("마감 종료시간"), t2);
    form->addRow(QStringLiteral("오차허용금액(사유 없이)"), limit);
    auto *box = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, &d);
    box->button(QDialogButtonBox::Save)->setText(QStringLiteral("저장"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("취소"));
    form->addRow(box);
    connect(box, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    connect(box, &QDialogButtonBox::accepted, &d, [&] {
        if (!checkNumberFields(&d, m_ui.msg))
            return;
        const ClosingSettings s{normalizeTime(t1->text()), normalizeTime(t2->text()), limit->amount()};
        const auto o = guard(m_ui, DbAction::Save, [&] { return saveClosingSettings(m_ui.app.main, s); });
        if (o && showOutcome(m_ui, *o))
            d.accept();
    });
    installEnterAsTab(&d);
    if (d.exec() == QDialog::Accepted)
        loadDefaults();
}

} // namespace fitrova
