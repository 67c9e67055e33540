#include "lockers/ui/lockerpicker.h"

#include "lockers/ui/lockermap.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace fitrova {

LockerPicker::LockerPicker(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("STab"));
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(true);
    m_free = new QCheckBox(QStringLiteral("빈사물함 보기"), this);
    m_free->setObjectName(QStringLiteral("ChkAll"));
    m_free->setChecked(true);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpPerBox"));
    m_grid->setColumns(rentalGridHeaders(), {44, 38, 70, 70, 84, 84, 66, 66, 84, 50, 170, 66, 66, 66});
    for (int c : {int(RgNum), int(RgGroupDeposit), int(RgGroupFee), int(RgDeposit), int(RgFee), int(RgRefund)})
        m_grid->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    for (int c : {int(RgUse), int(RgStart), int(RgEnd), int(RgRqDate), int(RgKind)})
        m_grid->setColumnAlignment(c, Qt::AlignCenter);
    m_grid->setHeaderSorting(false);
    m_map = new LockerMap(this);
    m_views = new QStackedWidget(this);
    m_views->addWidget(m_grid);
    m_views->addWidget(m_map);
    m_mapButton = commandButton(this, QStringLiteral("Cmd배치도"), QStringLiteral("배치도"), 64);
    m_mapButton->setCheckable(true);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(m_tabs, 1);
    top->addWidget(m_mapButton);
    top->addWidget(m_free);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(2);
    lay->addLayout(top);
    lay->addWidget(m_views, 1);

    connect(m_tabs, &QTabBar::currentChanged, this, [this] {
        reloadLockers();
        emit groupChanged();
    });
    connect(m_free, &QCheckBox::toggled, this, [this] { reloadLockers(); });
    connect(m_grid, &DataGrid::currentRowChanged, this, [this] {
        if (const auto l = currentLine())
            m_map->setCurrentNumber(l->boxNum);
        emit lockerChanged();
    });
    connect(m_grid, &DataGrid::rowActivated, this, [this] { emit lockerActivated(); });
    connect(m_map, &LockerMap::currentChanged, this, [this](qint64 n) { selectLocker(n); });
    connect(m_map, &LockerMap::activated, this, [this](qint64 n) {
        selectLocker(n);
        emit lockerActivated();
    });
    connect(m_mapButton, &QPushButton::toggled, this, [this](bool on) { showMap(on); });
}

void LockerPicker::showMap(bool map)
{
    m_views->setCurrentIndex(map ? 1 : 0);
    if (m_mapButton->isChecked() != map)
        m_mapButton->setChecked(map);
}

void LockerPicker::reload()
{
    const QString keep = currentGroup() ? currentGroup()->code : QString();
    const auto groups = guard(m_ui, DbAction::Read, [&] { return lockerGroups(m_ui.app.main); });
    if (!groups)
        return;
    m_groups = *groups;
    {
        const QSignalBlocker block(m_tabs);
        while (m_tabs->count() > 0)
            m_tabs->removeTab(0);
        for (const LockerGroup &g : m_groups) {
            const int i = m_tabs->addTab(g.name);
            m_tabs->setTabData(i, g.code);
        }
    }
    if (keep.isEmpty() || !showGroup(keep)) {
        m_tabs->setCurrentIndex(m_groups.isEmpty() ? -1 : 0);
        reloadLockers();
        emit groupChanged();
    }
}

bool LockerPicker::showGroup(const QString &code)
{
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->tabData(i).toString() == code.trimmed()) {
            if (m_tabs->currentIndex() == i) {
                reloadLockers();
                emit groupChanged();
            } else {
                m_tabs->setCurrentIndex(i); // reloads and tells
            }
            return true;
        }
    }
    return false;
}

void LockerPicker::reloadLockers()
{
    const auto group = currentGroup();
    const qint64 keep = currentLine() ? currentLine()->boxNum : 0;
    m_lines.clear();
    if (group) {
        const auto lines = guard(m_ui, DbAction::Read,
                                 [&] { return rentalGridLines(m_ui.app.main, group->code, m_free->isChecked()); });
        if (lines)
            m_lines = *lines;
    }
    QList<QStringList> rows;
    QVariantList keys;
    for (const RentalGridLine &l : m_lines) {
        rows << rentalGridCells(l);
        keys << l.boxNum;
    }
    QList<BoardLocker> tiles;
    const QDate today = m_ui.app.clock().today();
    for (const RentalGridLine &l : m_lines) {
        BoardLocker b;
        b.boxNum = l.boxNum;
        b.uUse = l.uUse;
        b.mbCode = l.mbCode;
        b.mbName = l.mbName;
        b.stDate = l.stDate;
        b.endDate = l.endDate;
        b.tile = lockerTile(l.rented(), l.endDate, today);
        tiles << b;
    }
    m_map->setLockers(tiles);
    {
        const QSignalBlocker block(m_grid);
        m_grid->setRows(rows, keys);
        for (int r = 0; r < m_lines.size(); ++r)
            if (m_lines[r].rented())
                m_grid->setRowForeground(r, QColor(0xB0, 0x20, 0x20));
        const int at = keep > 0 ? m_grid->findKey(keep) : -1;
        m_grid->setCurrentRow(at >= 0 ? at : -1);
    }
    emit lockerChanged();
}

bool LockerPicker::selectLocker(qint64 boxNum)
{
    const int at = m_grid->findKey(boxNum);
    if (at < 0)
        return false;
    m_grid->setCurrentRow(at);
    return true;
}

std::optional<LockerGroup> LockerPicker::currentGroup() const
{
    const int i = m_tabs->currentIndex();
    if (i < 0)
        return std::nullopt;
    const QString code = m_tabs->tabData(i).toString();
    for (const LockerGroup &g : m_groups)
        if (g.code == code)
            return g;
    return std::nullopt;
}

std::optional<RentalGridLine> LockerPicker::currentLine() const
{
    const int r = m_grid->currentRow();
    if (r < 0)
        return std::nullopt;
    const qint64 num = m_grid->rowKey(r).toLongLong();
    for (const RentalGridLine &l : m_lines)
        if (l.boxNum == num)
            return l;
    return std::nullopt;
}

} // namespace fitrova
