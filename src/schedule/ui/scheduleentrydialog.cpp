#include "schedule/ui/scheduleentrydialog.h"

#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/gridprint.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QLabel>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <QDate>
#include <QWidget>

namespace fitrova {

namespace {

enum Col { ColId, ColDate, ColTime1, ColTime2, ColTitle, ColDetail };

const QString kStartKey = QStringLiteral("일정등록/시작시간");
const QString kEndKey = QStringLiteral("일정등록/종료시간");

bool storedOn(QSettings &s, const QString &key)
{
    return s.value(key).toString().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

} // namespace

std::unique_ptr<QSettings> scheduleSettings(const QString &userCode)
{
    return std::make_unique<QSettings>(QStringLiteral("Fitrova"), userCode + QStringLiteral("Fitrova"));
}

ScheduleEntryDialog::ScheduleEntryDialog(UiContext &ui, const QString &gubun, const QString &userCode, const QDate &date,
                                         QWidget *parent)
    : QDialog(parent), uGubun(gubun), uUserCode(userCode), uDate(date), m_ui(ui), m_store(scheduleSettings(userCode))
{
    setObjectName(QStringLiteral("일정등록"));
    setWindowTitle(uGubun == QLatin1String("0") ? QStringLiteral("일정등록(공용)") : QStringLiteral("일정등록(개인용)"));

    m_date = new DateEdit(uDate, this);
    m_date->setObjectName(QStringLiteral("Dtp1"));
    m_from = new DateEdit(uDate, this);
    m_from->setObjectName(QStringLiteral("DtpFdate"));
    m_to = new DateEdit(uDate, this);
    m_to->setObjectName(QStringLiteral("DtpTdate"));
    m_useStart = new QCheckBox(QStringLiteral("시작시간"), this);
    m_useStart->setObjectName(QStringLiteral("Chk시작시간"));
    m_useEnd = new QCheckBox(QStringLiteral("종료시간"), this);
    m_useEnd->setObjectName(QStringLiteral("Chk종료시간"));
    m_start = new QComboBox(this);
    m_start->setObjectName(QStringLiteral("CobTime1"));
    m_end = new QComboBox(this);
    m_end->setObjectName(QStringLiteral("CobTime2"));
    m_start->addItems(scheduleTimeSlots());
    m_end->addItems(scheduleTimeSlots());
    m_start->setMaxVisibleItems(16);
    m_end->setMaxVisibleItems(16);
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("TxtTit"));
    m_title->setMaxLength(100);
    m_detail = new QPlainTextEdit(this);
    m_detail->setObjectName(QStringLiteral("Txtdetail"));
    m_detail->setTabChangesFocus(true);
    m_detail->setMaximumHeight(90);

    m_list = new DataGrid(this);
    m_list->setObjectName(QStringLiteral("SpSc"));
    m_list->setColumns({QStringLiteral("ScID"), QStringLiteral("일자"), QStringLiteral("시작"), QStringLiteral("종료"),
                        QStringLiteral("제목"), QStringLiteral("내용")},
                       {40, 85, 85, 85, 180, 220});
    m_list->setColumnHidden(ColId, true);
    m_list->setColumnAlignment(ColDate, Qt::AlignCenter);

    QPushButton *cmdNew = commandButton(this, QStringLiteral("Cmd신규"), QStringLiteral("신규"));
    QPushButton *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"));
    QPushButton *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *form = new QGridLayout;
    form->addWidget(caption(this, QStringLiteral("일자")), 0, 0);
    auto *dayRow = new QHBoxLayout;
    dayRow->addWidget(m_date);
    dayRow->addSpacing(12);
    dayRow->addWidget(m_useStart);
    dayRow->addWidget(m_start);
    dayRow->addWidget(caption(this, QStringLiteral("~")));
    dayRow->addWidget(m_useEnd);
    dayRow->addWidget(m_end);
    dayRow->addStretch();
    form->addLayout(dayRow, 0, 1);
    form->addWidget(caption(this, QStringLiteral("제목")), 1, 0);
    form->addWidget(m_title, 1, 1);
    form->addWidget(caption(this, QStringLiteral("내용")), 2, 0, Qt::AlignTop | Qt::AlignRight);
    form->addWidget(m_detail, 2, 1);

    auto *period = new QHBoxLayout;
    period->addWidget(caption(this, QStringLiteral("조회기간")));
    period->addWidget(m_from);
    period->addWidget(caption(this, QStringLiteral("~")));
    period->addWidget(m_to);
    period->addStretch();

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(form);
    outer->addLayout(buttonRow({cmdNew, cmdSave}));
    outer->addLayout(period);
    outer->addWidget(m_list, 1);
    outer->addLayout(buttonRow({cmdPrint, cmdClose}));
    resize(760, 560);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    // The switches as this user left them; a selector that is off shows no slot.
    applyStoredSwitches();
    connect(m_useStart, &QCheckBox::toggled, this, [this](bool on) { timeBoxToggled(m_start, kStartKey, on); });
    connect(m_useEnd, &QCheckBox::toggled, this, [this](bool on) { timeBoxToggled(m_end, kEndKey, on); });

    connect(m_from, &DateEdit::dateTextChanged, this, [this] { refill(); });
    connect(m_to, &DateEdit::dateTextChanged, this, [this] { refill(); });
    connect(m_list, &DataGrid::currentRowChanged, this, [this](int row, int) { showRow(row); });
    connect(m_list, &DataGrid::deleteRequested, this, [this](int) { deleteSelected(); });
    connect(cmdNew, &QPushButton::clicked, this, &ScheduleEntryDialog::newEntry);
    connect(cmdSave, &QPushButton::clicked, this, [this] { SaveProc(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        printGridPreview(*m_list, QStringLiteral("기간별 일정내용"),
                         QStringLiteral("(") + m_from->dateText() + QStringLiteral(" ~ ") + m_to->dateText() + QStringLiteral(")"),
                         {}, {}, false, 0, 1, 0, m_ui.app.business.name);
    });
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            reject();
    });

    refill();
    newEntry();
    // The period of the list is a query, not part of an entry.
    auto *changes = new UnsavedChanges(this, m_ui.msg, [this] { return SaveProc(); });
    changes->ignore(m_from);
    changes->ignore(m_to);
}

ScheduleEntryDialog::~ScheduleEntryDialog() = default;

void ScheduleEntryDialog::timeBoxToggled(QComboBox *slot, const QString &key, bool on)
{
    m_store->setValue(key, on ? QStringLiteral("True") : QStringLiteral("False"));
    m_store->sync();
    slot->setEnabled(on);
    if (!on) {
        slot->setCurrentIndex(-1);
        return;
    }
    // The slot of now for the start; the end follows the start chosen.
    const int start = defaultStartSlot(m_ui.app.clock().time());
    if (slot == m_start)
        m_start->setCurrentIndex(start);
    else
        m_end->setCurrentIndex(defaultEndSlot(m_start->currentIndex() >= 0 ? m_start->currentIndex() : start));
}

void ScheduleEntryDialog::setDefaultTimes()
{
    const int start = defaultStartSlot(m_ui.app.clock().time());
    if (m_useStart->isChecked())
        m_start->setCurrentIndex(start);
    if (m_useEnd->isChecked())
        m_end->setCurrentIndex(defaultEndSlot(start));
}

void ScheduleEntryDialog::refill()
{
    const QString from = m_from->dateText(), to = m_to->dateText();
    const auto rows = guard(m_ui, DbAction::Read, [&] { return ownSchedule(m_ui.app.main, uGubun, uUserCode, from, to); });
    m_entries = rows ? *rows : QList<ScheduleEntry>{};
    QList<QStringList> cells;
    QVariantList keys;
    for (const ScheduleEntry &e : m_entries) {
        cells << QStringList{QString::number(e.id), e.date, e.time1, e.time2, e.title, e.detail.simplified()};
        keys << e.id;
    }
    const QSignalBlocker block(m_list);
    m_list->setRows(cells, keys);
    m_list->setCurrentRow(-1);
}

void ScheduleEntryDialog::applyStoredSwitches()
{
    for (auto [box, slot, key] : {std::tuple{m_useStart, m_start, kStartKey}, std::tuple{m_useEnd, m_end, kEndKey}}) {
        const bool on = storedOn(*m_store, key);
        const QSignalBlocker block(box);
        box->setChecked(on);
        slot->setEnabled(on);
        slot->setCurrentIndex(-1);
    }
}

void ScheduleEntryDialog::newEntry()
{
    m_id = 0;
    // The user's own switches again (a picked entry may have shown a time the switch hid).
    applyStoredSwitches();
    m_title->clear();
    m_detail->clear();
    setDefaultTimes();
    UnsavedChanges::markCleanOf(this);
    m_title->setFocus();
}

void ScheduleEntryDialog::showRow(int row)
{
    if (row < 0 || row >= m_list->rowCount())
        return;
    const qint64 id = m_list->rowKey(row).toLongLong();
    const auto it = std::find_if(m_entries.cbegin(), m_entries.cend(), [id](const ScheduleEntry &e) { return e.id == id; });
    if (it == m_entries.cend())
        return;
    m_id = it->id;
    m_date->setDateText(it->date);
    // An entry's stored time is shown even where the switch is off, so that
    // saving a changed title keeps it; the user's switch stays as it was.
    for (auto [box, slot, text] : {std::tuple{m_useStart, m_start, it->time1}, std::tuple{m_useEnd, m_end, it->time2}}) {
        const int index = text.isEmpty() ? -1 : slot->findText(text);
        if (index >= 0 && !box->isChecked()) {
            const QSignalBlocker block(box);
            box->setChecked(true);
            slot->setEnabled(true);
        }
        slot->setCurrentIndex(index);
    }
    m_title->setText(it->title);
    m_detail->setPlainText(it->detail);
    UnsavedChanges::markCleanOf(this);
}

bool ScheduleEntryDialog::SaveProc()
{
    ScheduleInput in;
    in.id = m_id;
    in.gubun = uGubun;
    in.userCode = uUserCode;
    in.date = m_date->dateText();
    in.time1 = m_useStart->isChecked() ? m_start->currentText() : QString();
    in.time2 = m_useEnd->isChecked() ? m_end->currentText() : QString();
    in.title = m_title->text();
    in.detail = m_detail->toPlainText();
    const auto o = guard(m_ui, DbAction::Save, [&] { return saveSchedule(m_ui.app.main, in); });
    if (!o)
        return false;
    if (!showOutcome(m_ui, *o)) {
        if (m_id > 0 && !in.title.trimmed().isEmpty()) {
            // Deleted meanwhile at another workstation: the list shows what is stored.
            refill();
            m_id = 0;
        }
        m_title->setFocus();
        return false;
    }
    TF = true;
    refill();
    newEntry();
    return true;
}

void ScheduleEntryDialog::deleteSelected()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_list->rowCount())
        return;
    if (!m_ui.msg.ask(QStringLiteral("현제 선택한 자료를 삭제하시겠읍니까?"), QStringLiteral("자료삭제")))
        return;
    const qint64 id = m_list->rowKey(row).toLongLong();
    const auto o = guard(m_ui, DbAction::Delete, [&] { return deleteSchedule(m_ui.app.main, id, uUserCode); });
    if (!o)
        return;
    TF = true;
    if (m_id == id)
        newEntry();
    refill();
}

} // namespace fitrova
