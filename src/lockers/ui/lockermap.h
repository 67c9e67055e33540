#pragma once
// The map of a locker group: one tile per locker with its number, the
// renter's name and the end date, coloured free, rented, ending within a
// week or expired. Tiles flow in rows as wide as the view; the view scrolls
// when the group does not fit. Arrow keys move between tiles, a click or
// Enter chooses one, Delete asks for its release.

#include "lockers/lockerboard.h"

#include <QColor>
#include <QList>
#include <QScrollArea>

namespace fitrova {

class LockerMapCanvas;

class LockerMap : public QScrollArea {
    Q_OBJECT
public:
    explicit LockerMap(QWidget *parent = nullptr);

    void setLockers(const QList<BoardLocker> &lockers);
    const QList<BoardLocker> &lockers() const;
    // The chosen locker's number; 0 when none.
    qint64 currentNumber() const;
    // Chooses the locker (and scrolls to it); false when it is not shown.
    bool setCurrentNumber(qint64 boxNum);
    // The tile's rectangle in the canvas (tests, scrolling).
    QRect tileRect(qint64 boxNum) const;
    int columns() const;

    static QColor tileColor(LockerTile tile, bool outOfService);

signals:
    void currentChanged(qint64 boxNum);
    void activated(qint64 boxNum);
    void releaseRequested(qint64 boxNum);

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    friend class LockerMapCanvas;
    LockerMapCanvas *m_canvas;
};

} // namespace fitrova
