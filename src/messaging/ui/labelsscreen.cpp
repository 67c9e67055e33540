#include "messaging/ui/labelsscreen.h"

#include "data/text.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/moneyedit.h"
#include "widgets/pagedpreview.h"
#include "widgets/widgetutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace fitrova {

namespace {

const QString kTitle = QStringLiteral("DM발송");
enum SearchCol { ColTick, ColName, ColPost, ColAddr, ColDetail, ColTel };

// The remembered sheet and margins, with the other per-user print settings.
std::unique_ptr<QSettings> labelStore()
{
    return std::make_unique<QSettings>(QStringLiteral("Fitrova"), QStringLiteral("Fitrova"));
}
QString marginKey(const QString &sheet, const char *side)
{
    return QStringLiteral("여백설정/DM_%1_%2").arg(sheet, QLatin1String(side));
}

} // namespace

LabelsScreen::LabelsScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("DM발송"));
    setWindowTitle(QStringLiteral("DM발송 (주소라벨)"));

    m_search = new DataGrid(this);
    m_search->setObjectName(QStringLiteral("Sp검색List"));
    m_search->setColumns({QStringLiteral("선택"), QStringLiteral("성명"), QStringLiteral("우편번호"), QStringLiteral("주소"),
                          QStringLiteral("상세주소"), QStringLiteral("휴대폰")},
                         {40, 80, 70, 250, 150, 110});
    m_search->setCheckColumn(ColTick);
    m_search->setColumnEditable(ColTick);
    m_printGrid = new DataGrid(this);
    m_printGrid->setObjectName(QStringLiteral("Sp인쇄List"));
    m_printGrid->setColumns({QStringLiteral("순서"), QStringLiteral("성명"), QStringLiteral("우편번호"), QStringLiteral("주소"),
                             QStringLiteral("상세주소")},
                            {40, 80, 70, 260, 180});
    m_printGrid->setHeaderSorting(false);
    m_printGrid->setColumnAlignment(0, Qt::AlignCenter);

    m_all = new QCheckBox(QStringLiteral("전체선택"), this);
    m_all->setObjectName(QStringLiteral("Chk전체선택"));
    m_all->setChecked(true);
    QPushButton *cmdPick = commandButton(this, QStringLiteral("Cmd선택"), QStringLiteral("선택 ▼"));

    m_sheet = new QComboBox(this);
    m_sheet->setObjectName(QStringLiteral("Cob라벨"));
    for (const LabelSheet &s : labelSheets())
        m_sheet->addItem(s.name, s.id);
    m_skip = new MoneyEdit(this, QStringLiteral("TxtSkip"), QStringLiteral("건너뛸 칸"), MoneyEdit::Kind::Count);
    m_skip->setAmount(0);
    m_honorific = new QLineEdit(defaultHonorific(), this);
    m_honorific->setObjectName(QStringLiteral("Txt존칭"));
    m_left = new QDoubleSpinBox(this);
    m_left->setObjectName(QStringLiteral("Txt여백좌"));
    m_top = new QDoubleSpinBox(this);
    m_top->setObjectName(QStringLiteral("Txt여백상"));
    for (QDoubleSpinBox *b : {m_left, m_top}) {
        b->setRange(-20, 20);
        b->setDecimals(1);
        b->setSingleStep(0.5);
        b->setSuffix(QStringLiteral(" mm"));
    }
    m_outlines = new QCheckBox(QStringLiteral("라벨 테두리 인쇄"), this);
    m_outlines->setObjectName(QStringLiteral("Chk테두리"));
    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("Pnl건수"));

    QPushButton *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *options = new QGroupBox(QStringLiteral("라벨 인쇄"), this);
    auto *form = new QGridLayout(options);
    form->addWidget(caption(options, QStringLiteral("라벨용지")), 0, 0);
    form->addWidget(m_sheet, 0, 1, 1, 3);
    form->addWidget(caption(options, QStringLiteral("건너뛸 칸")), 1, 0);
    form->addWidget(m_skip, 1, 1);
    form->addWidget(caption(options, QStringLiteral("존칭")), 1, 2);
    form->addWidget(m_honorific, 1, 3);
    form->addWidget(caption(options, QStringLiteral("여백 왼쪽")), 2, 0);
    form->addWidget(m_left, 2, 1);
    form->addWidget(caption(options, QStringLiteral("위쪽")), 2, 2);
    form->addWidget(m_top, 2, 3);
    form->addWidget(m_outlines, 3, 1, 1, 3);

    auto *searchBar = new QHBoxLayout;
    searchBar->addWidget(new QLabel(QStringLiteral("조회된 회원"), this));
    searchBar->addStretch();
    searchBar->addWidget(m_all);
    searchBar->addWidget(cmdPick);
    auto *printBar = new QHBoxLayout;
    printBar->addWidget(new QLabel(QStringLiteral("인쇄할 회원 (Delete 키로 빼기)"), this));
    printBar->addStretch();
    printBar->addWidget(m_counts);

    auto *left = new QVBoxLayout;
    left->addLayout(searchBar);
    left->addWidget(m_search, 1);
    left->addLayout(printBar);
    left->addWidget(m_printGrid, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(options);
    right->addStretch();
    right->addWidget(cmdPrint);
    right->addWidget(cmdClose);
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(left, 1);
    outer->addLayout(right);
    resize(980, 620);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    const QString lastSheet = labelStore()->value(QStringLiteral("DM발송/라벨")).toString();
    const int sheetIndex = m_sheet->findData(lastSheet);
    m_sheet->setCurrentIndex(sheetIndex >= 0 ? sheetIndex : 1);
    loadMargins();

    connect(m_all, &QCheckBox::toggled, this, [this](bool on) {
        for (int r = 0; r < m_search->rowCount(); ++r)
            m_search->setChecked(r, ColTick, on);
    });
    connect(cmdPick, &QPushButton::clicked, this, &LabelsScreen::moveTicked);
    connect(m_printGrid, &DataGrid::deleteRequested, this, &LabelsScreen::removePrintRow);
    connect(m_sheet, &QComboBox::currentIndexChanged, this, [this] {
        labelStore()->setValue(QStringLiteral("DM발송/라벨"), m_sheet->currentData().toString());
        loadMargins();
        fillPrintGrid();
    });
    connect(m_left, &QDoubleSpinBox::valueChanged, this, [this] { saveMargins(); });
    connect(m_top, &QDoubleSpinBox::valueChanged, this, [this] { saveMargins(); });
    connect(m_skip, &MoneyEdit::amountChanged, this, [this] { fillPrintGrid(); });
    connect(cmdPrint, &QPushButton::clicked, this, &LabelsScreen::print);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
    fillPrintGrid();
}

void LabelsScreen::loadMargins()
{
    const QString id = m_sheet->currentData().toString();
    const auto s = labelStore();
    const QSignalBlocker b1(m_left), b2(m_top);
    m_left->setValue(s->value(marginKey(id, "Left"), 0).toDouble());
    m_top->setValue(s->value(marginKey(id, "TOP"), 0).toDouble());
}

void LabelsScreen::saveMargins()
{
    const QString id = m_sheet->currentData().toString();
    const auto s = labelStore();
    s->setValue(marginKey(id, "Left"), QString::number(m_left->value(), 'f', 1));
    s->setValue(marginKey(id, "TOP"), QString::number(m_top->value(), 'f', 1));
}

void LabelsScreen::setSearchList(const MemberContacts &members)
{
    m_found = members;
    QList<QStringList> rows;
    QVariantList keys;
    for (const MemberContact &m : members) {
        rows << QStringList{QStringLiteral("1"), m.mbName, m.postNo, m.addr1, m.addr2, formatPhone(m.tel1)};
        keys << int(keys.size());
    }
    m_search->setRows(rows, keys);
    const QSignalBlocker block(m_all);
    m_all->setChecked(true);
}

void LabelsScreen::moveTicked()
{
    int moved = 0;
    // In the order the list shows them (it may have been sorted).
    for (int r = 0; r < m_search->rowCount(); ++r) {
        const int i = m_search->rowKey(r).toInt();
        if (m_search->isChecked(r, ColTick) && i >= 0 && i < m_found.size()) {
            m_print << m_found[i];
            ++moved;
        }
    }
    if (moved == 0) {
        m_ui.msg.info(QStringLiteral("선택된 회원이 없습니다."), kTitle);
        return;
    }
    fillPrintGrid();
}

void LabelsScreen::removePrintRow(int row)
{
    if (row < 0 || row >= m_print.size())
        return;
    m_print.removeAt(row);
    fillPrintGrid();
    if (m_printGrid->rowCount() > 0)
        m_printGrid->setCurrentRow(qMin(row, m_printGrid->rowCount() - 1));
}

void LabelsScreen::fillPrintGrid()
{
    QList<QStringList> rows;
    for (int i = 0; i < m_print.size(); ++i) {
        const MemberContact &m = m_print[i];
        rows << QStringList{QString::number(i + 1), m.mbName, m.postNo, m.addr1, m.addr2};
    }
    m_printGrid->setRows(rows);
    const LabelSheet &sheet = labelSheet(m_sheet->currentData().toString());
    const int positions = int(m_skip->amount()) + int(m_print.size());
    m_counts->setText(QStringLiteral("%1명, 용지 %2장").arg(m_print.size()).arg(labelSheetCount(sheet, positions)));
}

LabelPrintOptions LabelsScreen::printOptions() const
{
    LabelPrintOptions o;
    o.sheetId = m_sheet->currentData().toString();
    o.adjustLeft = m_left->value();
    o.adjustTop = m_top->value();
    o.outlines = m_outlines->isChecked();
    return o;
}

std::optional<QList<LabelRow>> LabelsScreen::prepareRun()
{
    if (!checkNumberFields(this, m_ui.msg))
        return std::nullopt;
    const LabelSheet &sheet = labelSheet(m_sheet->currentData().toString());
    const qint64 skip = m_skip->amount();
    if (skip < 0 || skip >= sheet.perSheet()) {
        m_ui.msg.warn(QStringLiteral("건너뛸 칸은 0 ~ %1 사이로 입력하세요.").arg(sheet.perSheet() - 1), kTitle);
        m_skip->setFocus();
        m_skip->selectAll();
        return std::nullopt;
    }
    if (m_print.isEmpty() && skip == 0) {
        m_ui.msg.info(QStringLiteral("인쇄할 회원이 없습니다."), kTitle);
        return std::nullopt;
    }
    const QList<LabelRow> rows = labelRows(m_print, int(skip), m_honorific->text());
    const Db &db = m_ui.app.print;
    return guard(m_ui, DbAction::Save, [&] {
        writeLabelRows(db, rows);
        return readLabelRows(db);
    });
}

void LabelsScreen::print()
{
    const auto rows = prepareRun();
    if (!rows)
        return;
    saveMargins();
    LabelSheetDocument doc(*rows, printOptions());
    PagedPreviewDialog dlg(doc, kTitle, window());
    dlg.setPdfName(QDir(m_ui.app.paths.excelDir).filePath(QStringLiteral("주소라벨_%1.pdf")
                                                              .arg(m_ui.app.clock().today().toString(QStringLiteral("yyyyMMdd")))));
    dlg.exec();
}

void openLabelScreen(UiContext &ui, const MemberContacts &members, QWidget *parent)
{
    if (ui.screens) {
        if (auto *screen = qobject_cast<LabelsScreen *>(ui.openScreen(QStringLiteral("DM발송")))) {
            screen->setSearchList(members);
            return;
        }
    }
    // Without the main frame: a window of its own.
    auto *screen = new LabelsScreen(ui, parent);
    screen->setWindowFlag(Qt::Window, true);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->setSearchList(members);
    screen->show();
}

} // namespace fitrova
