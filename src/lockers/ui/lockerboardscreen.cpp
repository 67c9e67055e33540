#include "lockers/ui/lockerboardscreen.h"

#include "lockers/lockergroups.h"
#include "lockers/lockerrental.h"
#include "lockers/lockertexts.h"
#include "lockers/ui/lockermap.h"
#include "widgets/controls.h"
#include "members/memberhistory.h"
#include "members/ui/memberphoto.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fitrova {

namespace {

QString chip(LockerTile tile, const QString &text, int count)
{
    return QStringLiteral("<span style=\"background:%1; border:1px solid #9aa4b2;\">&nbsp;&nbsp;&nbsp;&nbsp;</span> %2 %3")
        .arg(LockerMap::tileColor(tile, false).name(), text)
        .arg(count);
}

} // namespace

LockerBoardScreen::LockerBoardScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("사물함현황"));
    setWindowTitle(QStringLiteral("사물함 현황"));

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("STab"));
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(true);
    m_filter = new QComboBox(this);
    m_filter->setObjectName(QStringLiteral("CobChk"));
    m_filter->addItems(lockerUseItems());
    auto *cmdQuery = commandButton(this, QStringLiteral("Cmd조회"), QStringLiteral("조회"), 60);
    m_legend = new QLabel(this);
    m_legend->setObjectName(QStringLiteral("PnlLegend"));
    m_legend->setTextFormat(Qt::RichText);

    // The lockers: the map or the list.
    m_map = new LockerMap(this);
    m_list = new DataGrid(this);
    m_list->setObjectName(QStringLiteral("SpPerBoxS"));
    m_list->setColumns(boardListHeaders(), {50, 40, 74, 80, 40, 84, 84, 104});
    m_list->setColumnAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    for (int c : {1, 2, 4, 5, 6})
        m_list->setColumnAlignment(c, Qt::AlignCenter);
    m_views = new QStackedWidget(this);
    m_views->addWidget(m_map);
    m_views->addWidget(m_list);

    // The renter.
    auto *renter = new QWidget(this);
    m_photo = new QLabel(renter);
    m_photo->setObjectName(QStringLiteral("Img"));
    m_photo->setFixedSize(72, 90);
    m_photo->setFrameShape(QFrame::Panel);
    m_photo->setFrameShadow(QFrame::Sunken);
    m_photo->setAlignment(Qt::AlignCenter);
    m_mbCode = displayPanel(renter, QStringLiteral("PnlMbCode"), 70);
    m_mbName = displayPanel(renter, QStringLiteral("PnlMbName"), 90);
    m_tel1 = displayPanel(renter, QStringLiteral("PnlTel1"), 100);
    m_tel2 = displayPanel(renter, QStringLiteral("PnlTel2"), 100);
    m_addr = displayPanel(renter, QStringLiteral("PnlAddr"), 200);
    m_juno = displayPanel(renter, QStringLiteral("PnlJuno"), 100);
    m_card = displayPanel(renter, QStringLiteral("PnlCard"), 80);
    m_kind = displayPanel(renter, QStringLiteral("PnlGubun"), 70);
    m_period = displayPanel(renter, QStringLiteral("PnlPeriod"), 200);
    auto *card = new QGridLayout;
    card->setHorizontalSpacing(4);
    card->setVerticalSpacing(3);
    card->addWidget(caption(renter, QStringLiteral("회원")), 0, 0);
    card->addWidget(m_mbCode, 0, 1);
    card->addWidget(m_mbName, 0, 2);
    card->addWidget(caption(renter, QStringLiteral("휴대폰")), 1, 0);
    card->addWidget(m_tel1, 1, 1, 1, 2);
    card->addWidget(caption(renter, QStringLiteral("자택")), 2, 0);
    card->addWidget(m_tel2, 2, 1, 1, 2);
    card->addWidget(caption(renter, QStringLiteral("주민번호")), 3, 0);
    card->addWidget(m_juno, 3, 1, 1, 2);
    card->addWidget(caption(renter, QStringLiteral("카드")), 4, 0);
    card->addWidget(m_card, 4, 1);
    card->addWidget(m_kind, 4, 2);
    card->addWidget(caption(renter, QStringLiteral("주소")), 5, 0);
    card->addWidget(m_addr, 5, 1, 1, 3);
    card->addWidget(caption(renter, QStringLiteral("사용기간")), 6, 0);
    card->addWidget(m_period, 6, 1, 1, 3);
    card->addWidget(m_photo, 0, 3, 5, 1, Qt::AlignTop | Qt::AlignRight);
    card->setColumnStretch(2, 1);
    renter->setLayout(card);

    m_history = new DataGrid(this);
    m_history->setObjectName(QStringLiteral("SpRqPerBox"));
    m_history->setColumns(lockerHistoryHeaders(), {44, 84, 70, 70, 170, 66, 66, 66, 104, 104, 200, 110, 80, 70});
    for (int c : {5, 6, 7})
        m_history->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    m_history->setHeaderSorting(false);
    m_lect = new DataGrid(this);
    m_lect->setObjectName(QStringLiteral("SpLect"));
    m_lect->setColumns(historyHeaders(), {36, 50, 84, 170, 34, 34, 84, 84, 66, 66, 66, 40, 100});
    auto *detailTabs = new QTabWidget(this);
    detailTabs->setObjectName(QStringLiteral("TabDetail"));
    detailTabs->addTab(m_history, QStringLiteral("사물함내역"));
    detailTabs->addTab(m_lect, QStringLiteral("수강내역"));

    m_cmdRenew = commandButton(this, QStringLiteral("Cmd재등록"), QStringLiteral("재등록"), 64);
    m_cmdMove = commandButton(this, QStringLiteral("Cmd변경"), QStringLiteral("변경"), 56);
    m_cmdCancel = commandButton(this, QStringLiteral("Cmd취소"), QStringLiteral("취소"), 56);
    m_cmdRelease = commandButton(this, QStringLiteral("Cmd해지"), QStringLiteral("해지"), 56);
    auto *rentalCmds = new QHBoxLayout;
    for (QPushButton *b : {m_cmdRenew, m_cmdMove, m_cmdCancel, m_cmdRelease})
        rentalCmds->addWidget(b);
    rentalCmds->addStretch();

    auto *right = new QWidget(this);
    auto *rightLay = new QVBoxLayout(right);
    rightLay->setContentsMargins(4, 0, 0, 0);
    rightLay->addWidget(renter);
    rightLay->addLayout(rentalCmds);
    rightLay->addWidget(detailTabs, 1);

    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(m_views);
    split->addWidget(right);
    split->setStretchFactor(0, 5);
    split->setStretchFactor(1, 4);
    split->setSizes({590, 400});
    split->setChildrenCollapsible(false);

    m_cmdMap = commandButton(this, QStringLiteral("Cmd배치도"), QStringLiteral("배치도"), 64);
    m_cmdList = commandButton(this, QStringLiteral("Cmd목록"), QStringLiteral("목록"), 64);
    m_cmdMap->setCheckable(true);
    m_cmdList->setCheckable(true);
    auto *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"), 60);
    auto *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀"), QStringLiteral("엑셀"), 60);
    auto *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 60);

    auto *top = new QHBoxLayout;
    top->addWidget(m_tabs, 1);
    top->addWidget(m_filter);
    top->addWidget(cmdQuery);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_cmdMap);
    bottom->addWidget(m_cmdList);
    bottom->addSpacing(8);
    bottom->addWidget(m_legend, 1);
    for (QPushButton *b : {cmdPrint, cmdExcel, cmdClose})
        bottom->addWidget(b);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(6, 6, 6, 6);
    lay->setSpacing(4);
    lay->addLayout(top);
    lay->addWidget(split, 1);
    lay->addLayout(bottom);

    connect(m_tabs, &QTabBar::currentChanged, this, [this] { reloadLockers(); });
    connect(m_filter, &QComboBox::currentIndexChanged, this, [this] { reloadLockers(); });
    connect(cmdQuery, &QPushButton::clicked, this, [this] { reload(); });
    connect(m_map, &LockerMap::currentChanged, this, &LockerBoardScreen::lockerChosen);
    connect(m_map, &LockerMap::releaseRequested, this, [this](qint64 n) {
        lockerChosen(n);
        releaseCurrent();
    });
    connect(m_list, &DataGrid::currentRowChanged, this, [this](int row) {
        if (!m_syncing && row >= 0)
            lockerChosen(m_list->rowKey(row).toLongLong());
    });
    connect(m_list, &DataGrid::deleteRequested, this, [this](int row) {
        if (row >= 0)
            lockerChosen(m_list->rowKey(row).toLongLong());
        releaseCurrent();
    });
    connect(m_history, &DataGrid::rowActivated, this, [this](int row) {
        const qint64 rqid = m_history->rowKey(row).toLongLong();
        if (rqid <= 0)
            return;
        m_ui.openScreen(QStringLiteral("사물함수정"), {{QStringLiteral("Rqid"), rqid}});
        reloadLockers();
    });
    connect(m_cmdRenew, &QPushButton::clicked, this, [this] { openRentalScreen(QStringLiteral("사물함재등록")); });
    connect(m_cmdMove, &QPushButton::clicked, this, [this] { openRentalScreen(QStringLiteral("사물함변경")); });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { openRentalScreen(QStringLiteral("사물함취소")); });
    connect(m_cmdRelease, &QPushButton::clicked, this, &LockerBoardScreen::releaseCurrent);
    connect(m_cmdMap, &QPushButton::clicked, this, [this] { showMapView(true); });
    connect(m_cmdList, &QPushButton::clicked, this, [this] { showMapView(false); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        printGridPreview(*m_list, QStringLiteral("사물함 현황"),
                         QStringLiteral("사물함구분 : ") + m_tabs->tabText(m_tabs->currentIndex()),
                         QStringLiteral("사용구분 : ") + m_filter->currentText().trimmed(), QString(), false, -1, 0, -1,
                         m_ui.app.business.name);
    });
    connect(cmdExcel, &QPushButton::clicked, this, [this] { exportGridForUser(m_ui, QStringLiteral("사물함현황"), *m_list); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });

    showMapView(true);
    reload();
}

void LockerBoardScreen::applyScreenArgs(const ScreenArgs &args)
{
    const QString code = args.value(QStringLiteral("BoxCode")).toString();
    if (code.isEmpty())
        return;
    reload();
    if (showGroup(code) && args.contains(QStringLiteral("BoxNum")))
        chooseLocker(args.value(QStringLiteral("BoxNum")).toLongLong());
}

void LockerBoardScreen::showMapView(bool map)
{
    m_views->setCurrentIndex(map ? 0 : 1);
    m_cmdMap->setChecked(map);
    m_cmdList->setChecked(!map);
    if (map)
        m_map->setFocus();
    else
        m_list->setFocus();
}

QString LockerBoardScreen::currentGroupCode() const
{
    const int i = m_tabs->currentIndex();
    return i < 0 ? QString() : m_tabs->tabData(i).toString();
}

void LockerBoardScreen::reload()
{
    const QString keep = currentGroupCode();
    const auto groups = guard(m_ui, DbAction::Read, [&] { return lockerGroups(m_ui.app.main); });
    if (!groups)
        return;
    {
        const QSignalBlocker block(m_tabs);
        while (m_tabs->count() > 0)
            m_tabs->removeTab(0);
        for (const LockerGroup &g : *groups) {
            const int i = m_tabs->addTab(g.name);
            m_tabs->setTabData(i, g.code);
        }
        int at = 0;
        for (int i = 0; i < m_tabs->count(); ++i)
            if (m_tabs->tabData(i).toString() == keep)
                at = i;
        m_tabs->setCurrentIndex(m_tabs->count() > 0 ? at : -1);
    }
    reloadLockers();
}

bool LockerBoardScreen::showGroup(const QString &code)
{
    for (int i = 0; i < m_tabs->count(); ++i)
        if (m_tabs->tabData(i).toString() == code.trimmed()) {
            if (m_tabs->currentIndex() == i)
                reloadLockers();
            else
                m_tabs->setCurrentIndex(i);
            return true;
        }
    return false;
}

void LockerBoardScreen::reloadLockers()
{
    const QString code = currentGroupCode();
    m_lockers.clear();
    if (!code.isEmpty()) {
        const auto lockers = guard(m_ui, DbAction::Read, [&] {
            return boardLockers(m_ui.app.main, code, lockerUseOfItem(m_filter->currentText()), m_ui.app.clock().today());
        });
        if (lockers)
            m_lockers = *lockers;
    }
    m_syncing = true;
    m_map->setLockers(m_lockers);
    QList<QStringList> rows;
    QVariantList keys;
    for (const BoardLocker &l : m_lockers) {
        rows << boardListCells(l);
        keys << l.boxNum;
    }
    m_list->setRows(rows, keys);
    for (int r = 0; r < m_lockers.size(); ++r)
        if (m_lockers[r].tile != LockerTile::Free)
            m_list->setCellBackground(r, 0, LockerMap::tileColor(m_lockers[r].tile, m_lockers[r].mbCode.isEmpty()));
    m_syncing = false;
    updateLegend();
    const qint64 keep = m_current;
    m_current = 0;
    if (keep > 0 && lockerOf(keep))
        chooseLocker(keep);
    else
        lockerChosen(0);
}

void LockerBoardScreen::updateLegend()
{
    const BoardCounts c = boardCounts(m_lockers);
    m_legend->setText(chip(LockerTile::Free, QStringLiteral("빈사물함"), c.free) + QStringLiteral("&nbsp;&nbsp; ")
                      + chip(LockerTile::Rented, QStringLiteral("대여"), c.rented) + QStringLiteral("&nbsp;&nbsp; ")
                      + chip(LockerTile::EndingSoon, QStringLiteral("만기임박"), c.endingSoon)
                      + QStringLiteral("&nbsp;&nbsp; ") + chip(LockerTile::Expired, QStringLiteral("만기"), c.expired));
}

bool LockerBoardScreen::chooseLocker(qint64 boxNum)
{
    if (!lockerOf(boxNum))
        return false;
    lockerChosen(boxNum);
    return true;
}

const BoardLocker *LockerBoardScreen::lockerOf(qint64 boxNum) const
{
    for (const BoardLocker &l : m_lockers)
        if (l.boxNum == boxNum)
            return &l;
    return nullptr;
}

void LockerBoardScreen::lockerChosen(qint64 boxNum)
{
    const BoardLocker *l = lockerOf(boxNum);
    m_current = l ? boxNum : 0;
    m_syncing = true;
    if (m_map->currentNumber() != m_current && m_current > 0)
        m_map->setCurrentNumber(m_current);
    const int row = m_current > 0 ? m_list->findKey(m_current) : -1;
    if (row >= 0 && m_list->currentRow() != row)
        m_list->setCurrentRow(row);
    m_syncing = false;

    m_history->clearRows();
    if (l) {
        const auto lines = guard(m_ui, DbAction::Read,
                                 [&] { return lockerHistory(m_ui.app.main, LockerKey{currentGroupCode(), boxNum}); });
        if (lines) {
            QList<QStringList> rows;
            QVariantList keys;
            for (const LockerHistoryLine &h : *lines) {
                rows << h.cells;
                keys << (h.rqGubun == rq::kNew || h.rqGubun == rq::kRenew ? h.rqid : 0);
            }
            m_history->setRows(rows, keys);
        }
    }
    showRenter(l);
}

void LockerBoardScreen::showRenter(const BoardLocker *l)
{
    const bool rented = l && l->rented() && !l->mbCode.isEmpty();
    for (QLabel *p : {m_mbCode, m_mbName, m_tel1, m_tel2, m_addr, m_juno, m_card, m_kind, m_period})
        p->clear();
    m_photo->clear();
    m_lect->clearRows();
    m_cmdRenew->setEnabled(rented);
    m_cmdMove->setEnabled(rented);
    m_cmdCancel->setEnabled(rented);
    m_cmdRelease->setEnabled(l && l->rented());
    if (!rented)
        return;
    m_period->setText(l->stDate + QStringLiteral(" ~ ") + l->endDate + QStringLiteral(" (%1개월)").arg(l->monCnt));
    const auto card = guard(m_ui, DbAction::Read, [&] { return renterCard(m_ui.app.main, l->mbCode); });
    if (card && *card) {
        const RenterCard &c = **card;
        m_mbCode->setText(c.mbCode);
        m_mbName->setText(c.mbName);
        m_tel1->setText(c.tel1);
        m_tel2->setText(c.tel2);
        m_addr->setText(c.address);
        m_addr->setToolTip(c.address);
        m_juno->setText(c.resident);
        m_card->setText(c.mbCard);
        m_kind->setText(c.kindName);
    }
    showMemberPhoto(m_photo, m_ui.app.paths.memberPicDir, l->mbCode);
    const auto history = guard(m_ui, DbAction::Read, [&] { return loadMemberHistory(m_ui.app.main, l->mbCode); });
    if (history) {
        QList<QStringList> rows;
        for (const HistoryLine &h : buildHistoryLines(*history, m_ui.app.clock().today()))
            rows << h.cells;
        m_lect->setRows(rows);
    }
}

void LockerBoardScreen::releaseCurrent()
{
    const BoardLocker *l = lockerOf(m_current);
    if (!l)
        return;
    if (!l->rented()) {
        m_ui.msg.info(alreadyReleasedText(), releaseTitle());
        return;
    }
    if (!m_ui.msg.ask(releaseQuestion(), releaseTitle()))
        return;
    const LockerKey key{currentGroupCode(), l->boxNum};
    qint64 refund = 0;
    if (!l->mbCode.isEmpty()) {
        const auto left = guard(m_ui, DbAction::Read, [&] { return proposedRefund(m_ui.app.main, l->mbCode); });
        if (!left)
            return;
        if (*left > 0 && m_ui.msg.ask(releaseRefundQuestion(*left), releaseTitle()))
            refund = *left;
    }
    const auto o = guard(m_ui, DbAction::Save, [&] { return releaseLocker(m_ui.app, key, refund); });
    if (o)
        showOutcome(m_ui, *o);
    reloadLockers();
}

void LockerBoardScreen::openRentalScreen(const QString &name)
{
    const BoardLocker *l = lockerOf(m_current);
    if (!l || l->mbCode.isEmpty())
        return;
    m_ui.openScreen(name, {{QStringLiteral("MbCode"), l->mbCode},
                           {QStringLiteral("BoxCode"), currentGroupCode()},
                           {QStringLiteral("BoxNum"), l->boxNum}});
    reloadLockers();
}

} // namespace fitrova
