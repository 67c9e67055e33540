#pragma once
// The current rental on the renewal, move and cancellation screens: group,
// number, months, period, deposit and fee, with a choice of the member's
// lockers (Cob사물함) when the member rents more than one.

#include "lockers/lockerrental.h"

#include <QList>
#include <QWidget>
#include <optional>

class QComboBox;
class QLabel;

namespace fitrova {

class RentalPanel : public QWidget {
    Q_OBJECT
public:
    explicit RentalPanel(QWidget *parent = nullptr);

    // Shows the rentals; the one of `preferred` (when valid and listed) is chosen.
    void setRentals(const QList<LockerRental> &rentals, const LockerKey &preferred = {});
    std::optional<LockerRental> current() const;
    int count() const { return int(m_rentals.size()); }

signals:
    void changed();

private:
    void show(int index);

    QList<LockerRental> m_rentals;
    QComboBox *m_choice;
    QLabel *m_name, *m_num, *m_months, *m_period, *m_deposit, *m_fee;
};

} // namespace fitrova
