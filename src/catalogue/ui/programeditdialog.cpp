#include "catalogue/ui/programeditdialog.h"
#include "widgets/moneyedit.h"

#include "catalogue/classification.h"
#include "catalogue/ui/catalogueui.h"
#include "widgets/deskguard.h"
#include "catalogue/ui/lecturerpickdialog.h"
#include "data/listitems.h"
#include "data/text.h"
#include "data/dates.h"
#include "enrollment/waitlist.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"
#include "widgets/unsavedchanges.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/widgetutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fitrova {

namespace {

enum FeeCol { FeeColMonths, FeeColAmt1, FeeColAmt2, FeeColAmt3 };

// Enter in an amount cell moves on to the next amount, then to the next row.
class FeeGrid : public DataGrid {
public:
    using DataGrid::DataGrid;

protected:
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override
    {
        DataGrid::closeEditor(editor, hint);
        if (hint != QAbstractItemDelegate::SubmitModelCache)
            return;
        int row = currentRow(), col = currentColumn() + 1;
        if (col > FeeColAmt3) {
            col = FeeColAmt1;
            ++row;
        }
        if (row < rowCount())
            setCurrentCell(row, col);
    }
};

QString amountCell(qint64 amount) { return amount == 0 ? QString() : QLocale(QLocale::English).toString(amount); }

} // namespace

ProgramEditDialog::ProgramEditDialog(UiContext &ui, const QString &jobGubun, qint64 pgId, QWidget *parent,
                                     const QString &listCaption)
    : QDialog(parent), JobGubun(jobGubun), Pgid(pgId), m_ui(ui), m_listCaption(listCaption)
{
    setObjectName(QStringLiteral("강좌등록Sub"));

    m_course = new QComboBox(this);
    m_course->setObjectName(QStringLiteral("CobCour"));
    m_class = new QComboBox(this);
    m_class->setObjectName(QStringLiteral("CobScl"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("TxtPgname"));
    m_name->setMaxLength(60);
    m_lecturer = new QComboBox(this);
    m_lecturer->setObjectName(QStringLiteral("CobLect"));
    QPushButton *cmdPick = commandButton(this, QStringLiteral("Cmd강사조회"), QStringLiteral("조회"));
    cmdPick->setMinimumSize(50, 26);
    cmdPick->setFocusPolicy(Qt::NoFocus);
    m_time1 = new QLineEdit(QStringLiteral("00:00"), this);
    m_time1->setObjectName(QStringLiteral("TxtTime1"));
    m_time2 = new QLineEdit(QStringLiteral("00:00"), this);
    m_time2->setObjectName(QStringLiteral("TxtTime2"));
    for (QLineEdit *t : {m_time1, m_time2}) {
        t->setMaxLength(5);
        t->setMaximumWidth(70);
        t->setAlignment(Qt::AlignCenter);
        t->setToolTip(QStringLiteral("0930 또는 09:30 형식으로 입력"));
    }
    m_maxNum = new MoneyEdit(this, QStringLiteral("TxtMaxNum"), QStringLiteral("정원"), MoneyEdit::Kind::Count);
    m_maxNum->setText(QStringLiteral("0"));
    m_maxNum->setMaxLength(6);
    m_maxNum->setMaximumWidth(70);
    m_maxNum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_maxNumChk = new QCheckBox(QStringLiteral("수강접수시 정원체크함"), this);
    m_maxNumChk->setObjectName(QStringLiteral("Chk정원"));
    m_use = new QCheckBox(QStringLiteral("사용함"), this);
    m_use->setObjectName(QStringLiteral("ChkUse"));
    m_use->setChecked(true);

    auto *dayBox = new QGroupBox(QStringLiteral("강습요일(입장가능한 요일)"), this);
    auto *dayLayout = new QHBoxLayout(dayBox);
    const QStringList dayNames{QStringLiteral("월"), QStringLiteral("화"), QStringLiteral("수"), QStringLiteral("목"),
                               QStringLiteral("금"), QStringLiteral("토"), QStringLiteral("일")};
    for (int d = 0; d < 7; ++d) {
        auto *c = new QCheckBox(dayNames[d], dayBox);
        c->setObjectName(QStringLiteral("ChkMon%1").arg(d + 1));
        dayLayout->addWidget(c);
        m_days[size_t(d)] = c;
    }
    dayLayout->addStretch();

    m_fees = new FeeGrid(this);
    m_fees->setObjectName(QStringLiteral("SpAmt"));
    m_fees->setColumns({QStringLiteral("개월"), QStringLiteral("강습료1"), QStringLiteral("강습료2"),
                        QStringLiteral("강습료3")},
                       {70, 110, 110, 110});
    m_fees->setColumnAlignment(FeeColMonths, Qt::AlignCenter);
    for (int c = FeeColAmt1; c <= FeeColAmt3; ++c) {
        m_fees->setColumnEditable(c);
        m_fees->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_fees->setHeaderSorting(false);
    m_fees->horizontalHeader()->setStretchLastSection(true);
    m_fees->setMinimumHeight(200);

    auto *form = new QGridLayout;
    int r = 0;
    form->addWidget(new QLabel(QStringLiteral("강좌항목"), this), r, 0);
    form->addWidget(m_course, r, 1);
    form->addWidget(new QLabel(QStringLiteral("분    류"), this), r, 2);
    form->addWidget(m_class, r++, 3);
    form->addWidget(new QLabel(QStringLiteral("강 좌 명"), this), r, 0);
    form->addWidget(m_name, r++, 1, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("강    사"), this), r, 0);
    auto *lectLayout = new QHBoxLayout;
    lectLayout->addWidget(m_lecturer, 1);
    lectLayout->addWidget(cmdPick);
    form->addLayout(lectLayout, r, 1);
    form->addWidget(new QLabel(QStringLiteral("시    간"), this), r, 2);
    auto *timeLayout = new QHBoxLayout;
    timeLayout->addWidget(m_time1);
    timeLayout->addWidget(new QLabel(QStringLiteral("~"), this));
    timeLayout->addWidget(m_time2);
    timeLayout->addStretch();
    form->addLayout(timeLayout, r++, 3);
    form->addWidget(new QLabel(QStringLiteral("정    원"), this), r, 0);
    auto *maxLayout = new QHBoxLayout;
    maxLayout->addWidget(m_maxNum);
    maxLayout->addWidget(new QLabel(QStringLiteral("명"), this));
    maxLayout->addSpacing(10);
    maxLayout->addWidget(m_maxNumChk);
    maxLayout->addStretch();
    form->addLayout(maxLayout, r, 1, 1, 2);
    form->addWidget(m_use, r++, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);

    QPushButton *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(QStringLiteral("금액이 없는 개월수는 저장되지 않습니다."), this));
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 10);
    outer->addLayout(form);
    outer->addWidget(dayBox);
    // The fee table, and the members waiting for a place.
    m_waits = new DataGrid(this);
    m_waits->setObjectName(QStringLiteral("SpWait"));
    m_waits->setColumns({QStringLiteral("순번"), QStringLiteral("회원번호"), QStringLiteral("성명"),
                         QStringLiteral("휴대폰"), QStringLiteral("대기일자"), QStringLiteral("등록"),
                         QStringLiteral("비고")},
                        {40, 76, 80, 110, 86, 60, 120});
    for (int c : {0, 1, 4, 5})
        m_waits->setColumnAlignment(c, Qt::AlignCenter);
    QPushButton *cmdMember = commandButton(this, QStringLiteral("Cmd회원보기"), QStringLiteral("회원보기"));
    QPushButton *cmdWaitCancel = commandButton(this, QStringLiteral("Cmd대기취소"), QStringLiteral("대기취소"));
    QPushButton *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"));
    QPushButton *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"));
    auto *waitPage = new QWidget(this);
    auto *waitLay = new QVBoxLayout(waitPage);
    waitLay->setContentsMargins(0, 4, 0, 0);
    waitLay->addWidget(m_waits, 1);
    auto *waitCmds = new QHBoxLayout;
    waitCmds->addWidget(new QLabel(QStringLiteral("빈 자리에 등록할 수 있는 대기자는 \"등록가능\"으로 표시됩니다."), waitPage));
    waitCmds->addStretch();
    for (QPushButton *b : {cmdMember, cmdWaitCancel, cmdPrint, cmdExcel})
        waitCmds->addWidget(b);
    waitLay->addLayout(waitCmds);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("Tab"));
    m_tabs->addTab(m_fees, QStringLiteral("강습료"));
    m_tabs->addTab(waitPage, QStringLiteral("대기자"));

    outer->addWidget(m_tabs, 1);
    outer->addLayout(buttons);
    resize(640, 560);

    guard(m_ui, DbAction::Read, [&] {
        fillCombo(m_course, courseItems(m_ui.app.main, courseGroup(), false));
        fillCombo(m_lecturer, lecturerItems(m_ui.app.main));
    });

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    connect(m_course, &QComboBox::currentIndexChanged, this, &ProgramEditDialog::onCourseChanged);
    connect(m_time1, &QLineEdit::editingFinished, this, [this] { normalizeTime(m_time1); });
    connect(m_time2, &QLineEdit::editingFinished, this, [this] { normalizeTime(m_time2); });
    connect(m_fees, &DataGrid::cellEdited, this, [this](int row, int col) {
        if (col < FeeColAmt1)
            return;
        const QString t = m_fees->cell(row, col);
        if (!isNumericInput(t, m_ui.msg)) {
            m_fees->setCell(row, col, QString());
            return;
        }
        m_fees->setCell(row, col, amountCell(nzLong(t)));
    });
    connect(cmdPick, &QPushButton::clicked, this, &ProgramEditDialog::pickLecturer);
    connect(cmdSave, &QPushButton::clicked, this, &ProgramEditDialog::save);
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            TF ? accept() : reject();
    });
    connect(cmdMember, &QPushButton::clicked, this, &ProgramEditDialog::openWaitingMember);
    connect(m_waits, &QAbstractItemView::doubleClicked, this, &ProgramEditDialog::openWaitingMember);
    connect(cmdWaitCancel, &QPushButton::clicked, this, &ProgramEditDialog::cancelSelectedWait);
    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        printGridPreview(*m_waits, QStringLiteral("대기자 명단"), m_name->text(), QString(), QString(), false, 0, 1, 0,
                         m_ui.app.business.name);
    });
    connect(cmdExcel, &QPushButton::clicked, this,
            [this] { exportGridForUser(m_ui, QStringLiteral("대기자명단"), *m_waits); });

    if (JobGubun == QLatin1String("C")) {
        loadProgram();
    } else {
        // The item is chosen deliberately: its month counts make the fee table.
        m_course->setCurrentIndex(-1);
        m_lecturer->setCurrentIndex(-1);
        onCourseChanged();
    }
    updateCaption();
    showWaits();
    m_unsaved = new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
    m_unsaved->watch(m_fees);
    m_course->setFocus();
}

void ProgramEditDialog::showWaits()
{
    const QList<WaitEntry> waits = Pgid > 0 ? guard(m_ui, DbAction::Read, [&] {
                                                  return programWaitList(m_ui.app.main, Pgid,
                                                                         fmtDate(m_ui.app.clock().today()));
                                              }).value_or(QList<WaitEntry>())
                                            : QList<WaitEntry>();
    QList<QStringList> rows;
    QVariantList keys;
    for (const WaitEntry &w : waits) {
        rows << QStringList{QString::number(w.order), w.mbCode,        w.mbName, w.tel1.trimmed(),
                            w.waitDate,               w.canEnroll ? QStringLiteral("등록가능") : QString(),
                            w.remark};
        keys << w.wlId;
    }
    m_waits->setRows(rows, keys);
    for (int r = 0; r < waits.size(); ++r)
        if (waits.at(r).canEnroll) {
            m_waits->colorRow(r, QColor(0xFF, 0xF2, 0xB8));
            m_waits->setRowBold(r, true);
        }
    m_tabs->setTabText(1, waits.isEmpty() ? QStringLiteral("대기자") : QStringLiteral("대기자(%1)").arg(waits.size()));
}

void ProgramEditDialog::cancelSelectedWait()
{
    const int row = m_waits->currentRow();
    if (row < 0)
        return;
    if (!m_ui.msg.ask(QStringLiteral("%1 회원의 대기를 취소하시겠습니까?").arg(m_waits->cellText(row, 2)),
                      waitListTitle()))
        return;
    const qint64 wlId = m_waits->rowKey(row).toLongLong();
    if (const auto o = guard(m_ui, DbAction::Delete, [&] { return removeFromWaitList(m_ui.app.main, wlId); }))
        showOutcome(m_ui, *o);
    showWaits();
}

void ProgramEditDialog::openWaitingMember()
{
    const int row = m_waits->currentRow();
    if (row >= 0)
        m_ui.openScreen(QStringLiteral("Menu21"), {{QStringLiteral("MbCode"), m_waits->cellText(row, 1)}});
}

void ProgramEditDialog::updateCaption()
{
    setWindowTitle(JobGubun == QLatin1String("C") ? m_listCaption + QStringLiteral("-수정")
                                                  : QStringLiteral("강좌등록-신규"));
}

void ProgramEditDialog::loadProgram()
{
    const std::optional<Program> p =
        guard(m_ui, DbAction::Read, [&] { return fitrova::loadProgram(m_ui.app.main, Pgid); }).value_or(std::nullopt);
    if (!p)
        return;
    m_storedFees = p->fees;
    {
        const QSignalBlocker block(m_course);
        selectComboCode(m_course, p->course);
    }
    onCourseChanged();
    selectComboByItemData(m_class, p->sclass);
    m_name->setText(p->pgName);
    if (!selectComboByItemData(m_lecturer, p->ltCode))
        m_lecturer->setCurrentIndex(-1);
    m_time1->setText(p->time1);
    m_time2->setText(p->time2);
    m_maxNum->setText(QString::number(p->maxNum));
    m_maxNumChk->setChecked(p->maxNumChk);
    m_use->setChecked(p->pgUse);
    for (int d = 0; d < 7; ++d)
        m_days[size_t(d)]->setChecked(p->days[size_t(d)]);
}

void ProgramEditDialog::onCourseChanged()
{
    const QString course = m_course->currentIndex() >= 0 ? codeOf(m_course->currentText()) : QString();
    fillClasses(course);
    // Amounts typed so far stay with their month count; on a change the
    // stored amounts fill the rest.
    QList<FeeRow> keep = feesInGrid();
    for (const FeeRow &s : m_storedFees) {
        bool typed = false;
        for (const FeeRow &k : keep)
            typed = typed || k.monthCnt == s.monthCnt;
        if (!typed)
            keep.append(s);
    }
    rebuildFees(course.isEmpty() ? QList<FeeRow>() : keep);
}

void ProgramEditDialog::fillClasses(const QString &course)
{
    ListItems items{{QString(), QStringLiteral("00")}};
    if (!course.isEmpty()) {
        guard(m_ui, DbAction::Read, [&] {
            for (const SmallClass &s : listSmallClasses(m_ui.app.main, courseGroup(), course))
                items.append({s.sclass + QLatin1Char('-') + s.name, s.sclass});
        });
    }
    fillCombo(m_class, items);
    if (m_class->count() > 1)
        m_class->setCurrentIndex(1);
}

void ProgramEditDialog::rebuildFees(const QList<FeeRow> &keep)
{
    const QString course = m_course->currentIndex() >= 0 ? codeOf(m_course->currentText()) : QString();
    QList<FeeRow> rows;
    if (!course.isEmpty()) {
        rows = guard(m_ui, DbAction::Read, [&] { return feeRowsForCourse(m_ui.app.main, course, keep); })
                   .value_or(QList<FeeRow>());
    }
    QList<QStringList> cells;
    for (const FeeRow &f : rows)
        cells.append({feeRowLabel(f.monthCnt), amountCell(f.amt1), amountCell(f.amt2), amountCell(f.amt3)});
    m_fees->setRows(cells);
}

QList<FeeRow> ProgramEditDialog::feesInGrid() const
{
    QList<FeeRow> fees;
    for (int r = 0; r < m_fees->rowCount(); ++r)
        fees.append({monthsOfLabel(m_fees->cell(r, FeeColMonths)), nzLong(m_fees->cell(r, FeeColAmt1)),
                     nzLong(m_fees->cell(r, FeeColAmt2)), nzLong(m_fees->cell(r, FeeColAmt3))});
    return fees;
}

void ProgramEditDialog::normalizeTime(QLineEdit *field)
{
    const LessonTime t = normalizeLessonTime(field->text());
    if (!t.ok) {
        field->setText(t.text);
        m_ui.msg.info(lessonTimeErrorText(), lessonTimeErrorTitle());
        return;
    }
    if (t.text != field->text())
        field->setText(t.text);
}

void ProgramEditDialog::pickLecturer()
{
    LecturerPickDialog dlg(m_ui, this);
    const QString course = m_course->currentIndex() >= 0 ? codeOf(m_course->currentText()) : QString();
    if (!course.isEmpty())
        selectComboCode(dlg.courseCombo(), course);
    if (dlg.exec() == QDialog::Accepted && dlg.TF) {
        if (!selectComboByItemData(m_lecturer, dlg.LtCode)) {
            m_lecturer->addItem(dlg.LtName, dlg.LtCode);
            m_lecturer->setCurrentIndex(m_lecturer->count() - 1);
        }
    }
}

Program ProgramEditDialog::inputs() const
{
    Program p;
    p.pgId = Pgid;
    p.course = m_course->currentIndex() >= 0 ? codeOf(m_course->currentText()) : QString();
    p.sclass = m_class->currentIndex() >= 0 ? m_class->currentData().toString() : QStringLiteral("00");
    p.pgName = m_name->text();
    p.ltCode = m_lecturer->currentIndex() >= 0 ? m_lecturer->currentData().toString() : QString();
    p.ltName = m_lecturer->currentIndex() >= 0 ? m_lecturer->currentText() : QString();
    p.time1 = m_time1->text();
    p.time2 = m_time2->text();
    p.maxNum = nzLong(m_maxNum->text());
    p.maxNumChk = m_maxNumChk->isChecked();
    p.pgUse = m_use->isChecked();
    for (int d = 0; d < 7; ++d)
        p.days[size_t(d)] = m_days[size_t(d)]->isChecked();
    p.fees = feesInGrid();
    return p;
}

void ProgramEditDialog::focusField(int field)
{
    switch (field) {
    case ProgramNameField: m_name->setFocus(); break;
    case ProgramCourseField: m_course->setFocus(); break;
    case ProgramLecturerField: m_lecturer->setFocus(); break;
    case ProgramTime1Field: m_time1->setFocus(); break;
    case ProgramMaxNumField: m_maxNum->setFocus(); break;
    case ProgramTime2Field: m_time2->setFocus(); break;
    default: break;
    }
}

bool ProgramEditDialog::save()
{
    m_fees->commitEdits();
    const bool isNew = JobGubun != QLatin1String("C");
    const auto r = guard(m_ui, DbAction::Save,
                         [&] { return saveProgram(m_ui.app.main, inputs(), isNew, m_ui.app.clock().today()); });
    if (!r)
        return false;
    if (!showOutcome(m_ui, *r)) {
        focusField(r->field);
        return false;
    }
    TF = true;
    if (isNew) {
        Pgid = r->id;
        JobGubun = QStringLiteral("C");
        updateCaption();
    }
    const auto stored = guard(m_ui, DbAction::Read, [&] { return fitrova::loadProgram(m_ui.app.main, Pgid); });
    m_storedFees = stored.value_or(std::nullopt).value_or(Program{}).fees;
    rebuildFees(m_storedFees);
    m_unsaved->markClean();
    return true;
}

} // namespace fitrova
