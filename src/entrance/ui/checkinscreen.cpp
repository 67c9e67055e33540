#include "data/text.h"
#include "entrance/ui/checkinscreen.h"

#include "data/dates.h"
#include "data/listitems.h"
#include "entrance/cardreader.h"
#include "entrance/gatelists.h"
#include "entrance/ui/checkoutdialog.h"
#include "entrance/ui/gatesounds.h"
#include "members/ui/memberphoto.h"
#include "members/ui/memberpickdialog.h"
#include "sales/ui/itempicklist.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"
#include "widgets/morerows.h"
#include "widgets/widgetutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace fitrova {

namespace {

const QString kTitle = QStringLiteral("회원입장");

// A visit written by this desk joins the day list in the place a reload
// would give it, so a check-in late in a busy day costs what it costs at
// opening time. Nothing happens when the list shows another day.
void addToDayList(UiContext &ui, DataGrid *day, QLabel *count, const QString &shownDate, qint64 entid)
{
    const auto line = guard(ui, DbAction::Read,
                            [&] { return loadDayListLine(ui.app.ent, entid, ui.app.clock().today()); });
    if (!line || !*line || (*line)->cells.at(DlDate) != shownDate)
        return;
    const DayListLine &l = **line;
    if (const int old = day->findKey(entid); old >= 0)
        day->removeRow(old);
    // The list is in its order (latest entry first): its place by halving.
    int at = 0, end = day->rowCount();
    while (at < end) {
        const int mid = at + (end - at) / 2;
        if (dayListBefore(day->cell(mid, DlIn), day->rowKey(mid).toLongLong(), l.cells.at(DlIn), entid))
            at = mid + 1;
        else
            end = mid;
    }
    day->insertRow(at, l.cells, entid);
    count->setText(wonText(day->rowCount()));
}

// The six search kinds of the gate, card number first.
MemberSearchKind searchKindAt(int index)
{
    static const MemberSearchKind kinds[] = {MemberSearchKind::Card,   MemberSearchKind::Name,
                                             MemberSearchKind::Mobile, MemberSearchKind::HomeTel,
                                             MemberSearchKind::Code,   MemberSearchKind::Resident};
    return kinds[qBound(0, index, 5)];
}

// A display panel the gate refills on every card, made cheap to repaint.
QLabel *gatePanel(QLabel *l)
{
    // Plain text: a selectable label keeps a text document that is laid out
    // again on every card, which the gate cannot afford. The member card
    // shows the same fields for copying.
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    // Opaque, so a new text repaints the field alone and not the window
    // behind it (and every list the window's repaint crosses).
    l->setAutoFillBackground(true);
    return l;
}

QLabel *field(QWidget *parent, const QString &name, int minWidth = 90)
{
    QLabel *l = displayPanel(parent, name, minWidth);
    l->setMinimumHeight(22);
    return gatePanel(l);
}

// The gate's message line: a label of two lines at most whose size does not
// follow its text, so a new message repaints the line alone instead of
// laying the window out again; the wrapped text is drawn without a text
// document.
class GateMessageLabel : public QLabel {
public:
    using QLabel::QLabel;
    QSize sizeHint() const override { return {300, minimumHeight()}; }
    QSize minimumSizeHint() const override { return {100, minimumHeight()}; }
    bool hasHeightForWidth() const override { return false; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        drawFrame(&p);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(contentsRect().adjusted(4, 0, -4, 0), int(alignment()) | Qt::TextWordWrap, text());
    }
};

} // namespace

CheckInScreen::CheckInScreen(UiContext &ui, QWidget *parent)
    : QWidget(parent), m_ui(ui), m_options(GateOptions::fromUserOptions(ui.app.options))
{
    setObjectName(QStringLiteral("회원확인"));
    setWindowTitle(QStringLiteral("회원입장"));
    m_workingDate = fmtDate(m_ui.app.clock().today());

    runCheckOut = [this](qint64 entid) {
        CheckOutDialog dlg(m_ui, entid, this);
        dlg.exec();
        return dlg.JobGubun;
    };
    pickMember = [this](const QList<MemberRecord> &members) {
        MemberPickDialog dlg(m_ui, members, this);
        if (dlg.exec() == QDialog::Accepted && dlg.TF)
            return dlg.MbCode;
        return QString();
    };
    pickItem = [this]() -> qint64 {
        ItemPickList dlg(m_ui, this);
        if (dlg.exec() == QDialog::Accepted && dlg.TF)
            return dlg.ItId;
        return 0;
    };

    buildUi();

    const auto kinds = guardQuietly("the member kind is shown by its code",
                                    [&] { return memberKindItems(m_ui.app.main, false); });
    for (const ListItem &kind : kinds.value_or(ListItems()))
        m_mbGubunNames.insert(kind.data.toString(), kind.text);

    m_sounds = new GateSounds(m_ui.app, this);
    if (const QString device = cardReaderDevice(m_ui.app); !device.isEmpty()) {
        m_reader = new SerialCardReader(this);
        connect(m_reader, &SerialCardReader::cardRead, this, &CheckInScreen::presentCard);
        if (!m_reader->open(device))
            m_ui.msg.warn(QStringLiteral("카드리더기를 열수 없읍니다 (") + device + QStringLiteral(")"), kTitle);
    }

    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &CheckInScreen::tick);
    m_clock->start();
    tick();
    reloadDayList();
}

CheckInScreen::~CheckInScreen() = default;

void CheckInScreen::buildUi()
{
    // --- search and clock ---
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("Cob구분"));
    m_kind->addItems({QStringLiteral("1.카드번호"), QStringLiteral("2.회원명"), QStringLiteral("3.핸드폰"),
                      QStringLiteral("4.자택전화"), QStringLiteral("5.회원번호"), QStringLiteral("6.주민번호")});
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("Txt찾기"));
    m_search->setMaxLength(30);
    m_search->setMinimumWidth(170);
    QFont big = m_search->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    m_search->setFont(big);
    excludeFromEnterAsTab(m_search);
    QPushButton *cmdFind = commandButton(this, QStringLiteral("Cmd찾기"), QStringLiteral("찾기"), 64);
    QPushButton *cmdAdmit = commandButton(this, QStringLiteral("Cmd입장"), QStringLiteral("입장(F10)"), 84);
    QPushButton *cmdMaster = commandButton(this, QStringLiteral("Cmd마스터"), QStringLiteral("마스터카드"), 84);
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 64);
    m_date = displayPanel(this, QStringLiteral("PnlDate"), 96, Qt::AlignCenter);
    m_time = displayPanel(this, QStringLiteral("PnlTime"), 80, Qt::AlignCenter);
    m_date->setFont(big);
    m_time->setFont(big);

    auto *top = new QHBoxLayout;
    top->addWidget(m_kind);
    top->addWidget(m_search, 1);
    top->addWidget(cmdFind);
    top->addSpacing(8);
    top->addWidget(m_date);
    top->addWidget(m_time);
    top->addSpacing(8);
    top->addWidget(cmdAdmit);
    top->addWidget(cmdMaster);
    top->addWidget(cmdClose);

    // --- member panel ---
    m_photo = new QLabel(this);
    m_photo->setObjectName(QStringLiteral("Img"));
    m_photo->setFixedSize(104, 130);
    m_photo->setFrameShape(QFrame::StyledPanel);
    m_photo->setAlignment(Qt::AlignCenter);
    m_photo->setAutoFillBackground(true);
    m_name = field(this, QStringLiteral("Pnl회원명"));
    QFont nameFont = m_name->font();
    nameFont.setBold(true);
    m_name->setFont(nameFont);
    m_birth = field(this, QStringLiteral("Pnl생년월일"));
    m_mobile = field(this, QStringLiteral("Pnl휴대폰"));
    m_tel = field(this, QStringLiteral("Pnl일반전화"));
    m_addr = field(this, QStringLiteral("Pnl주소"), 200);
    m_code = field(this, QStringLiteral("Pnl회원번호"));
    m_guardian = field(this, QStringLiteral("Pnl보호자명"));
    m_mbGubun = field(this, QStringLiteral("Pnl회원구분"));
    m_card = field(this, QStringLiteral("Pnl카드번호"));
    m_ext = field(this, QStringLiteral("Pnl비고"), 200);
    m_sex = field(this, QStringLiteral("PnlSex"), 30);
    m_solor = field(this, QStringLiteral("PnlSolor"), 30);
    m_age = field(this, QStringLiteral("PnlAge"), 30);

    auto *info = new QGridLayout;
    info->setHorizontalSpacing(4);
    info->setVerticalSpacing(3);
    int r = 0;
    info->addWidget(caption(this, QStringLiteral("* 회 원 명")), r, 0);
    info->addWidget(m_name, r, 1);
    info->addWidget(caption(this, QStringLiteral("회원번호")), r, 2);
    info->addWidget(m_code, r++, 3);
    info->addWidget(caption(this, QStringLiteral("생년월일")), r, 0);
    auto *birthRow = new QHBoxLayout;
    birthRow->setSpacing(2);
    birthRow->addWidget(m_birth, 1);
    birthRow->addWidget(m_solor);
    info->addLayout(birthRow, r, 1);
    info->addWidget(caption(this, QStringLiteral("성별/나이")), r, 2);
    auto *sexRow = new QHBoxLayout;
    sexRow->setSpacing(2);
    sexRow->addWidget(m_sex);
    sexRow->addWidget(m_age);
    info->addLayout(sexRow, r++, 3);
    info->addWidget(caption(this, QStringLiteral("휴 대 폰")), r, 0);
    info->addWidget(m_mobile, r, 1);
    info->addWidget(caption(this, QStringLiteral("일반전화")), r, 2);
    info->addWidget(m_tel, r++, 3);
    info->addWidget(caption(this, QStringLiteral("보호자명")), r, 0);
    info->addWidget(m_guardian, r, 1);
    info->addWidget(caption(this, QStringLiteral("회원구분")), r, 2);
    info->addWidget(m_mbGubun, r++, 3);
    info->addWidget(caption(this, QStringLiteral("카드번호")), r, 0);
    info->addWidget(m_card, r++, 1);
    info->addWidget(caption(this, QStringLiteral("주    소")), r, 0);
    info->addWidget(m_addr, r++, 1, 1, 3);
    info->addWidget(caption(this, QStringLiteral("비    고")), r, 0);
    info->addWidget(m_ext, r++, 1, 1, 3);
    info->setColumnStretch(1, 1);
    info->setColumnStretch(3, 1);

    m_msg = new GateMessageLabel(this);
    m_msg->setObjectName(QStringLiteral("PnlMsg"));
    m_msg->setFrameShape(QFrame::Panel);
    m_msg->setFrameShadow(QFrame::Sunken);
    m_msg->setAlignment(Qt::AlignCenter);
    m_msg->setMinimumHeight(44);
    m_msg->setWordWrap(true);
    QFont msgFont = m_msg->font();
    msgFont.setPointSizeF(msgFont.pointSizeF() * 1.35);
    msgFont.setBold(true);
    m_msg->setFont(msgFont);
    m_msg->setAutoFillBackground(true);

    auto *memberRow = new QHBoxLayout;
    memberRow->addWidget(m_photo, 0, Qt::AlignTop);
    memberRow->addLayout(info, 1);
    auto *memberBox = new QVBoxLayout;
    memberBox->addLayout(memberRow);
    memberBox->addWidget(m_msg);

    // --- the member's enrollments, visits and equipment ---
    m_lect = new DataGrid(this);
    m_lect->setObjectName(QStringLiteral("SpLect"));
    m_lect->setColumns(gateLectureHeaders(), {96, 82, 120, 36, 82, 82, 100, 60});
    m_lect->setMinimumHeight(90);
    m_history = new DataGrid(this);
    m_history->setObjectName(QStringLiteral("SpHistory"));
    m_history->setColumns(visitHistoryHeaders(), {86, 120, 46, 46, 70, 70, 60, 60, 80, 70});
    m_history->setMinimumHeight(90);
    m_history->setHeaderSorting(false); // newest first, a page at a time
    m_historyMore = new MoreRowsBar(m_history, QStringLiteral("History"), this);
    connect(m_historyMore, &MoreRowsBar::moreRequested, this,
            [this] { guard(m_ui, DbAction::Read, [&] { showMoreVisits(); }); });
    m_items = new DataGrid(this);
    m_items->setObjectName(QStringLiteral("SpItem"));
    m_items->setColumns({QStringLiteral("분류1"), QStringLiteral("분류2"), QStringLiteral("교구명"),
                         QStringLiteral("바코드")},
                        {80, 80, 120, 100});
    m_items->setMinimumHeight(60);
    m_items->setMaximumHeight(90);
    m_barcode = new QLineEdit(this);
    m_barcode->setObjectName(QStringLiteral("TxtItcode"));
    m_barcode->setMaxLength(30);
    excludeFromEnterAsTab(m_barcode);
    QPushButton *cmdItem = commandButton(this, QStringLiteral("Cmd교구"), QStringLiteral("교구"), 56);
    auto *itemRow = new QHBoxLayout;
    itemRow->addWidget(caption(this, QStringLiteral("바코드:")));
    itemRow->addWidget(m_barcode, 1);
    itemRow->addWidget(cmdItem);
    auto *itemBox = new QVBoxLayout;
    itemBox->addLayout(itemRow);
    itemBox->addWidget(m_items);

    auto *upperLeft = new QVBoxLayout;
    upperLeft->addLayout(memberBox);
    upperLeft->addLayout(itemBox);
    auto *upperRight = new QVBoxLayout;
    upperRight->addWidget(m_lect, 2);
    upperRight->addWidget(m_history, 3);
    upperRight->addWidget(m_historyMore);
    auto *upper = new QHBoxLayout;
    // The member's card keeps the width its fields need; the lists take the rest.
    upper->addLayout(upperLeft, 1);
    upper->addLayout(upperRight, 1);

    // --- the day list ---
    m_dayDate = new DateEdit(m_ui.app.clock().today(), this);
    m_dayDate->setObjectName(QStringLiteral("Dtp적용일자"));
    m_openOnly = new QCheckBox(QStringLiteral("퇴장안한 회원만 보기"), this);
    m_openOnly->setObjectName(QStringLiteral("Chk퇴장"));
    m_count = gatePanel(displayPanel(this, QStringLiteral("Pnl총인원"), 70, Qt::AlignRight));
    QPushButton *cmdOut = commandButton(this, QStringLiteral("Cmd퇴장"), QStringLiteral("퇴장"), 64);
    QPushButton *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"), 64);
    QPushButton *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀변환"), QStringLiteral("엑셀변환"), 72);
    m_day = new DataGrid(this);
    m_day->setObjectName(QStringLiteral("SpDay"));
    m_day->setColumns(dayListHeaders(), {86, 46, 46, 76, 64, 36, 36, 56, 112, 140, 80, 80, 90, 90, 80});
    m_day->setMinimumHeight(150);
    auto *dayRow = new QHBoxLayout;
    dayRow->addWidget(caption(this, QStringLiteral("적용일자:")));
    dayRow->addWidget(m_dayDate);
    dayRow->addWidget(m_openOnly);
    dayRow->addStretch();
    dayRow->addWidget(caption(this, QStringLiteral("총 인 원")));
    dayRow->addWidget(m_count);
    dayRow->addWidget(cmdOut);
    dayRow->addWidget(cmdPrint);
    dayRow->addWidget(cmdExcel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(5);
    layout->addLayout(top);
    layout->addLayout(upper);
    layout->addLayout(dayRow);
    layout->addWidget(m_day, 1);

    // --- behaviour ---
    connect(m_search, &QLineEdit::returnPressed, this, &CheckInScreen::searchData);
    connect(cmdFind, &QPushButton::clicked, this, &CheckInScreen::searchData);
    connect(cmdAdmit, &QPushButton::clicked, this, &CheckInScreen::admit);
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    f10->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f10, &QShortcut::activated, this, &CheckInScreen::admit);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(cmdMaster, &QPushButton::clicked, this, [this] {
        if (openMasterCard)
            openMasterCard();
        focusSearch();
    });
    connect(m_barcode, &QLineEdit::returnPressed, this, [this] {
        if (addItemByBarcode(m_barcode->text()))
            m_barcode->clear();
        else
            m_barcode->selectAll();
    });
    connect(cmdItem, &QPushButton::clicked, this, [this] {
        const qint64 id = pickItem ? pickItem() : 0;
        if (id <= 0)
            return;
        const auto item = guard(m_ui, DbAction::Read, [&] { return findItemById(m_ui.app.main, id); });
        if (item && *item)
            addItem(**item);
        else if (item)
            m_ui.msg.warn(itemUnknownText(), itemUnknownTitle());
    });
    connect(m_items, &DataGrid::deleteRequested, this, [this](int row) {
        if (row >= 0 && row < m_items->rowCount())
            m_items->removeRow(row);
    });
    connect(m_history, &DataGrid::deleteRequested, this, &CheckInScreen::deleteHistoryRow);
    connect(m_dayDate, &DateEdit::dateTextChanged, this, [this] { reloadDayList(); });
    connect(m_openOnly, &QCheckBox::toggled, this, [this] { reloadDayList(); });
    auto outOfCurrent = [this] {
        const int row = m_day->currentRow();
        if (row < 0)
            return;
        checkOut(m_day->rowKey(row).toLongLong());
    };
    connect(cmdOut, &QPushButton::clicked, this, outOfCurrent);
    connect(m_day, &DataGrid::rowActivated, this, outOfCurrent);
    connect(cmdPrint, &QPushButton::clicked, this, &CheckInScreen::printDayList);
    connect(cmdExcel, &QPushButton::clicked, this, &CheckInScreen::exportDayList);

    installEnterAsTab(this);
    installSelectAllOnFocus(this);
    setMessage(QString(), GateTone::None);
}

void CheckInScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    focusSearch();
}

void CheckInScreen::focusSearch()
{
    m_search->setFocus();
    m_search->selectAll();
}

QString CheckInScreen::message() const { return m_msg->text(); }

void CheckInScreen::setMessage(const QString &text, GateTone tone)
{
    m_msg->setText(text);
    QPalette pal = m_msg->palette();
    const QColor fore = tone == GateTone::Blue ? QColor(Qt::white) : tone == GateTone::Red ? QColor(Qt::white)
                                                                                          : palette().color(QPalette::WindowText);
    const QColor back = tone == GateTone::Blue  ? QColor(0x00, 0x33, 0xCC)
                        : tone == GateTone::Red ? QColor(0xD0, 0x10, 0x10)
                                                : palette().color(QPalette::Window);
    pal.setColor(QPalette::WindowText, fore);
    pal.setColor(QPalette::Window, back);
    m_msg->setPalette(pal);
}

void CheckInScreen::clearMember()
{
    m_mbCode.clear();
    m_decision = GateDecision();
    for (QLabel *l : {m_name, m_birth, m_mobile, m_tel, m_addr, m_code, m_guardian, m_mbGubun, m_card, m_ext, m_sex,
                      m_solor, m_age})
        l->clear();
    m_photo->clear();
    m_lect->clearRows();
    m_history->clearRows();
    m_visitNext = VisitCursor();
    m_visitTotal = m_visitsShown = 0;
    m_historyMore->clear();
    setMessage(QString(), GateTone::None);
}

void CheckInScreen::presentCard(const QString &cardNo)
{
    m_kind->setCurrentIndex(0);
    m_search->setText(cardNo.trimmed());
    searchData();
}

void CheckInScreen::searchData()
{
    const QString text = m_search->text().trimmed();
    if (text.isEmpty())
        return;
    clearMember();
    const MemberSearchKind kind = searchKindAt(m_kind->currentIndex());
    CheckInRequest req;
    req.itemIds = itemIds();
    m_options = GateOptions::fromUserOptions(m_ui.app.options);
    const bool ran = guard(m_ui, DbAction::Read, [&] {
        CheckInResult r;
        QList<MemberRecord> found;
        if (kind == MemberSearchKind::Card) {
            r = checkInByCard(m_ui.app.ent, text, m_ui.app.clock().now(), m_options, req);
        } else {
            found = searchMembers(m_ui.app.main, kind, text);
            if (found.size() == 1)
                r = checkInMember(m_ui.app.ent, found.first().mbCode, m_ui.app.clock().now(), m_options, req);
            else if (found.size() > 1)
                r.status = CheckInStatus::Several;
        }
        if (r.status == CheckInStatus::Several) {
            if (found.isEmpty())
                found = searchMembers(m_ui.app.main, kind, text);
            const QString code = pickMember ? pickMember(found) : QString();
            if (code.isEmpty()) {
                focusSearch();
                return;
            }
            r = checkInMember(m_ui.app.ent, code, m_ui.app.clock().now(), m_options, req);
        }
        if (r.status == CheckInStatus::NotFound) {
            m_sounds->refused();
            m_ui.msg.warn(gateNotFoundText(), gateNotFoundTitle());
            focusSearch();
            return;
        }
        handle(std::move(r));
    });
    if (!ran)
        focusSearch();
}

void CheckInScreen::handle(CheckInResult r)
{
    showMember(r.member.mbCode);
    if (r.decision.verdict == GateVerdict::AskWeekday) {
        setMessage(r.decision.message, GateTone::Red);
        if (!m_ui.msg.ask(r.decision.message, r.decision.boxTitle)) {
            m_decision = r.decision;
            m_decision.verdict = GateVerdict::Refused;
            m_sounds->refused();
            focusSearch();
            return;
        }
        CheckInRequest again;
        again.itemIds = itemIds();
        again.weekdayConfirmed = true;
        r = checkInMember(m_ui.app.ent, r.member.mbCode, m_ui.app.clock().now(), m_options, again);
        if (r.entid > 0)
            fillMemberGrids(); // the history shows the new visit
    }
    m_decision = r.decision;
    setMessage(m_decision.message, m_decision.tone);

    switch (m_decision.verdict) {
    case GateVerdict::CheckOut:
        checkOut(m_decision.checkOutEntid);
        return;
    case GateVerdict::Refused:
        m_sounds->refused();
        if (m_decision.messageBox)
            m_ui.msg.warn(m_decision.message, m_decision.boxTitle);
        break;
    case GateVerdict::Admitted:
        m_sounds->admitted();
        if (r.entid > 0) {
            m_items->clearRows();
            addToDayList(m_ui, m_day, m_count, m_dayDate->dateText(), r.entid);
        }
        break;
    case GateVerdict::AdmitPending:
        m_sounds->admitted();
        break;
    case GateVerdict::AskWeekday:
        break;
    }
    focusSearch();
}

void CheckInScreen::showMember(const QString &mbCode)
{
    const auto m = loadMember(m_ui.app.main, mbCode);
    if (!m)
        return;
    m_mbCode = m->mbCode;
    m_name->setText(m->mbName);
    m_birth->setText(m->birthDay);
    m_solor->setText(m->solor == QLatin1String("2") ? QStringLiteral("음") : QStringLiteral("양"));
    m_mobile->setText(m->tel1);
    m_tel->setText(m->tel2);
    m_addr->setText(m->addressText());
    m_code->setText(m->mbCode);
    m_guardian->setText(m->mbName1);
    m_mbGubun->setText(m_mbGubunNames.value(m->mbGubun, m->mbGubun));
    m_card->setText(m->mbCard);
    m_ext->setText(m->ext);
    m_sex->setText(m->sex.trimmed());
    m_age->setText(m->age > 0 && m->age < 999 ? QString::number(m->age) : QString());
    showMemberPhoto(m_photo, m_ui.app.paths.memberPicDir, m->mbCode);
    fillMemberGrids();
}

void CheckInScreen::fillMemberGrids()
{
    if (m_mbCode.isEmpty())
        return;
    const auto lectures = loadGateLectures(m_ui.app.main, m_mbCode, m_ui.app.clock().today());
    QList<QStringList> rows;
    QVariantList keys;
    for (const auto &l : lectures) {
        rows << l.cells;
        keys << l.ltid;
    }
    m_lect->setRows(rows, keys);
    m_visitNext = VisitCursor();
    m_visitsShown = 0;
    m_visitTotal = countMemberVisits(m_ui.app.ent, m_mbCode);
    showMoreVisits();
}

void CheckInScreen::showMoreVisits()
{
    if (m_mbCode.isEmpty() || (m_visitsShown > 0 && !m_historyMore->hasMore()))
        return;
    const MemberVisitPage page = loadMemberVisitPage(m_ui.app.ent, m_mbCode, m_visitNext);
    const QList<VisitHistoryLine> lines = visitHistoryLines(m_ui.app.ent, page.visits);
    if (m_visitsShown == 0) {
        // The first page replaces the rows at once; later ones are appended.
        QList<QStringList> rows;
        QVariantList keys;
        for (const auto &v : lines) {
            rows << v.cells;
            keys << v.entid;
        }
        m_history->setRows(rows, keys);
    } else {
        for (const auto &v : lines)
            m_history->addRow(v.cells, v.entid);
    }
    m_visitNext = page.next;
    m_visitsShown += page.visits.size();
    m_visitTotal = std::max(m_visitTotal, m_visitsShown);
    m_historyMore->setState(shownOfTotalText(m_visitsShown, m_visitTotal), page.more);
}

QList<qint64> CheckInScreen::itemIds() const
{
    QList<qint64> ids;
    for (int row = 0; row < m_items->rowCount(); ++row)
        ids << m_items->rowKey(row).toLongLong();
    return ids;
}

void CheckInScreen::admit()
{
    if (m_mbCode.isEmpty()) {
        focusSearch();
        return;
    }
    guard(m_ui, DbAction::Save, [&] {
        const CheckInResult r = admitByHand(m_ui.app.ent, m_mbCode, m_ui.app.clock().now(), itemIds());
        const GateDecision &d = r.decision;
        if (r.entid <= 0) {
            m_decision = d;
            setMessage(d.message, d.tone);
            m_sounds->refused();
            focusSearch();
            return;
        }
        m_sounds->admitted();
        m_ui.msg.notice(d.message, 2000);
        m_items->clearRows();
        clearMember();
        reloadDayList();
    });
    focusSearch();
}

void CheckInScreen::checkOut(qint64 entid)
{
    if (entid <= 0 || !runCheckOut)
        return;
    const QString result = runCheckOut(entid);
    if (result == QLatin1String("S")) {
        clearMember();
        reloadDayList();
    }
    focusSearch();
}

void CheckInScreen::deleteHistoryRow(int row)
{
    if (row < 0 || row >= m_history->rowCount())
        return;
    const qint64 entid = m_history->rowKey(row).toLongLong();
    if (!m_ui.msg.ask(visitDeleteAskText(), visitDeleteAskTitle()))
        return;
    if (!guard(m_ui, DbAction::Delete, [&] { deleteVisit(m_ui.app.ent, entid); }))
        return;
    guard(m_ui, DbAction::Read, [&] { fillMemberGrids(); });
    reloadDayList();
}

bool CheckInScreen::addItemByBarcode(const QString &barCode)
{
    if (barCode.trimmed().isEmpty())
        return false;
    const auto item = guard(m_ui, DbAction::Read, [&] { return findItemByBarcode(m_ui.app.main, barCode); });
    if (!item)
        return false;
    if (!*item) {
        m_ui.msg.warn(itemUnknownText(), itemUnknownTitle());
        return false;
    }
    addItem(**item);
    return true;
}

void CheckInScreen::addItem(const GateItem &item)
{
    m_items->addRow({item.className, item.sclassName, item.name, item.barCode}, item.itId);
}

void CheckInScreen::reloadDayList()
{
    guard(m_ui, DbAction::Read, [&] {
        const auto lines = loadDayList(m_ui.app.ent, m_dayDate->dateText(), m_openOnly->isChecked(),
                                       m_ui.app.clock().today());
        QList<QStringList> rows;
        QVariantList keys;
        rows.reserve(lines.size());
        keys.reserve(lines.size());
        for (const auto &l : lines) {
            rows << l.cells;
            keys << l.entid;
        }
        m_day->setUpdatesEnabled(false);
        m_day->setRows(rows, keys);
        m_day->setUpdatesEnabled(true);
        m_count->setText(wonText(lines.size()));
    });
}

void CheckInScreen::tick()
{
    const QDateTime now = m_ui.app.clock().now();
    m_time->setText(now.time().toString(QStringLiteral("HH:mm:ss")));
    const QString today = fmtDate(now.date());
    if (m_date->text().isEmpty())
        m_date->setText(today);
    if (today != m_workingDate) {
        // A new day: the list follows when it showed the working date.
        const bool follow = m_dayDate->dateText() == m_workingDate;
        m_workingDate = today;
        m_date->setText(today);
        if (follow)
            m_dayDate->setDateText(today); // reloads the list
    }
}

void CheckInScreen::printDayList()
{
    printGridPreview(*m_day, QStringLiteral("일일 입장현황"), QStringLiteral("적용일자: ") + m_dayDate->dateText(),
                     QStringLiteral("총 인 원: ") + m_count->text(), QString(), true, 0, 1, 0,
                     m_ui.app.business.name);
}

void CheckInScreen::exportDayList()
{
    exportGridForUser(m_ui, QStringLiteral("입장현황"), *m_day);
}

} // namespace fitrova
