#include "lockers/ui/lockermap.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace fitrova {

namespace {
// Tiles are at least this wide (a name of three syllables and "~24-08-09"
// fit) and grow to fill the row up to the widest.
constexpr int kMinTileW = 70;
constexpr int kMaxTileW = 96;
constexpr int kTileH = 48;
constexpr int kGap = 4;
constexpr int kMargin = 6;
} // namespace

class LockerMapCanvas : public QWidget {
public:
    explicit LockerMapCanvas(LockerMap *map) : QWidget(map), m_map(map)
    {
        setFocusPolicy(Qt::StrongFocus);
        setObjectName(QStringLiteral("LockerMapCanvas"));
    }

    QList<BoardLocker> lockers;
    int current = -1;

    int columns() const
    {
        return std::max(1, (m_map->viewport()->width() - 2 * kMargin + kGap) / (kMinTileW + kGap));
    }
    int tileWidth() const
    {
        const int cols = columns();
        const int w = (m_map->viewport()->width() - 2 * kMargin - (cols - 1) * kGap) / cols;
        return std::clamp(w, kMinTileW, kMaxTileW);
    }
    QRect rectOf(int index) const
    {
        const int cols = columns(), w = tileWidth();
        const int r = index / cols, c = index % cols;
        return QRect(kMargin + c * (w + kGap), kMargin + r * (kTileH + kGap), w, kTileH);
    }
    void relayout()
    {
        const int cols = columns();
        const int rows = (int(lockers.size()) + cols - 1) / cols;
        resize(m_map->viewport()->width(), std::max(m_map->viewport()->height(), 2 * kMargin + rows * (kTileH + kGap)));
        update();
    }
    int indexAt(const QPoint &p) const
    {
        for (int i = 0; i < lockers.size(); ++i)
            if (rectOf(i).contains(p))
                return i;
        return -1;
    }
    void choose(int index)
    {
        if (index < 0 || index >= lockers.size() || index == current) {
            if (index == current && index >= 0)
                m_map->ensureVisible(rectOf(index).center().x(), rectOf(index).center().y(), tileWidth(), kTileH);
            return;
        }
        current = index;
        m_map->ensureVisible(rectOf(index).center().x(), rectOf(index).center().y(), tileWidth(), kTileH);
        update();
        emit m_map->currentChanged(lockers[index].boxNum);
    }

protected:
    void paintEvent(QPaintEvent *e) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(0xF4, 0xF6, 0xF9));
        QFont numFont = font();
        numFont.setBold(true);
        numFont.setPointSizeF(std::max(8.0, font().pointSizeF()));
        QFont small = font();
        small.setPointSizeF(std::max(7.0, font().pointSizeF() - 1.0));
        for (int i = 0; i < lockers.size(); ++i) {
            const QRect r = rectOf(i);
            if (!r.intersects(e->rect()))
                continue;
            const BoardLocker &l = lockers[i];
            const bool outOfService = l.rented() && l.mbCode.isEmpty();
            p.setPen(i == current ? QPen(QColor(0x10, 0x40, 0xA0), 3) : QPen(QColor(0x9A, 0xA4, 0xB2), 1));
            p.setBrush(LockerMap::tileColor(l.tile, outOfService));
            p.drawRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 4, 4);
            const QRect in = r.adjusted(5, 2, -4, -2);
            p.setPen(Qt::black);
            p.setFont(numFont);
            p.drawText(in, Qt::AlignLeft | Qt::AlignTop, QString::number(l.boxNum));
            p.setFont(small);
            if (outOfService) {
                p.drawText(in, Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("사용중지"));
            } else if (l.rented()) {
                const QFontMetrics fm(small);
                p.drawText(in, Qt::AlignHCenter | Qt::AlignVCenter, fm.elidedText(l.mbName, Qt::ElideRight, in.width()));
                p.drawText(in, Qt::AlignRight | Qt::AlignBottom,
                           l.endDate.size() >= 10 ? QStringLiteral("~") + l.endDate.mid(2) : l.endDate);
            }
        }
    }
    void mousePressEvent(QMouseEvent *e) override
    {
        setFocus();
        choose(indexAt(e->position().toPoint()));
    }
    void mouseDoubleClickEvent(QMouseEvent *e) override
    {
        const int i = indexAt(e->position().toPoint());
        if (i >= 0)
            emit m_map->activated(lockers[i].boxNum);
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        const int cols = columns();
        const int n = int(lockers.size());
        if (n == 0)
            return QWidget::keyPressEvent(e);
        const int at = current < 0 ? 0 : current;
        switch (e->key()) {
        case Qt::Key_Left: choose(std::max(0, at - 1)); return;
        case Qt::Key_Right: choose(std::min(n - 1, current < 0 ? 0 : at + 1)); return;
        case Qt::Key_Up: choose(at - cols >= 0 ? at - cols : at); return;
        case Qt::Key_Down: choose(at + cols < n ? at + cols : at); return;
        case Qt::Key_Home: choose(0); return;
        case Qt::Key_End: choose(n - 1); return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (current >= 0)
                emit m_map->activated(lockers[current].boxNum);
            return;
        case Qt::Key_Delete:
            if (current >= 0)
                emit m_map->releaseRequested(lockers[current].boxNum);
            return;
        default: QWidget::keyPressEvent(e);
        }
    }

private:
    LockerMap *m_map;
};

LockerMap::LockerMap(QWidget *parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("LockerMap"));
    m_canvas = new LockerMapCanvas(this);
    setWidget(m_canvas);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusProxy(m_canvas);
    setMinimumWidth(2 * kMargin + 4 * (kMinTileW + kGap) + verticalScrollBar()->sizeHint().width());
}

void LockerMap::setLockers(const QList<BoardLocker> &lockers)
{
    const qint64 keep = currentNumber();
    m_canvas->lockers = lockers;
    m_canvas->current = -1;
    for (int i = 0; i < lockers.size(); ++i)
        if (lockers[i].boxNum == keep)
            m_canvas->current = i;
    m_canvas->relayout();
}

void LockerMap::resizeEvent(QResizeEvent *e)
{
    QScrollArea::resizeEvent(e);
    m_canvas->relayout();
}

const QList<BoardLocker> &LockerMap::lockers() const { return m_canvas->lockers; }

qint64 LockerMap::currentNumber() const
{
    const int i = m_canvas->current;
    return i >= 0 && i < m_canvas->lockers.size() ? m_canvas->lockers[i].boxNum : 0;
}

bool LockerMap::setCurrentNumber(qint64 boxNum)
{
    for (int i = 0; i < m_canvas->lockers.size(); ++i)
        if (m_canvas->lockers[i].boxNum == boxNum) {
            m_canvas->choose(i);
            return true;
        }
    return false;
}

QRect LockerMap::tileRect(qint64 boxNum) const
{
    for (int i = 0; i < m_canvas->lockers.size(); ++i)
        if (m_canvas->lockers[i].boxNum == boxNum)
            return m_canvas->rectOf(i);
    return {};
}

int LockerMap::columns() const { return m_canvas->columns(); }

QColor LockerMap::tileColor(LockerTile tile, bool outOfService)
{
    if (outOfService)
        return QColor(0xD6, 0xD6, 0xD6);
    switch (tile) {
    case LockerTile::Free: return QColor(0xFF, 0xFF, 0xFF);
    case LockerTile::Rented: return QColor(0xC9, 0xE0, 0xFF);
    case LockerTile::EndingSoon: return QColor(0xFF, 0xE0, 0x85);
    case LockerTile::Expired: return QColor(0xF6, 0xAA, 0xAA);
    }
    return Qt::white;
}

} // namespace fitrova
