#include "lockers/ui/rentalpanel.h"

#include "data/text.h"
#include "lockers/lockertexts.h"
#include "widgets/controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace fitrova {

RentalPanel::RentalPanel(QWidget *parent) : QWidget(parent)
{
    auto *box = new QGroupBox(QStringLiteral("사용중인 사물함"), this);
    m_choice = new QComboBox(box);
    m_choice->setObjectName(QStringLiteral("Cob사물함"));
    m_name = displayPanel(box, QStringLiteral("SPerName"), 180);
    m_num = displayPanel(box, QStringLiteral("SPerNum"), 60, Qt::AlignRight);
    m_months = displayPanel(box, QStringLiteral("PnlMonCnt"), 70, Qt::AlignRight);
    m_period = displayPanel(box, QStringLiteral("PnlPeriod"), 200, Qt::AlignCenter);
    m_deposit = displayPanel(box, QStringLiteral("PnlSamt"), 90, Qt::AlignRight);
    m_fee = displayPanel(box, QStringLiteral("PnlUamt"), 90, Qt::AlignRight);

    auto *g = new QGridLayout(box);
    g->addWidget(m_choice, 0, 0, 1, 6);
    g->addWidget(caption(box, QStringLiteral("사 물 함")), 1, 0);
    g->addWidget(m_name, 1, 1);
    g->addWidget(caption(box, QStringLiteral("번호")), 1, 2);
    g->addWidget(m_num, 1, 3);
    g->addWidget(caption(box, QStringLiteral("개월")), 1, 4);
    g->addWidget(m_months, 1, 5);
    g->addWidget(caption(box, QStringLiteral("사용기간")), 2, 0);
    g->addWidget(m_period, 2, 1);
    g->addWidget(caption(box, QStringLiteral("보증금")), 2, 2);
    g->addWidget(m_deposit, 2, 3);
    g->addWidget(caption(box, QStringLiteral("사용료")), 2, 4);
    g->addWidget(m_fee, 2, 5);

    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(box);
    connect(m_choice, &QComboBox::currentIndexChanged, this, [this](int i) {
        show(i);
        emit changed();
    });
}

void RentalPanel::setRentals(const QList<LockerRental> &rentals, const LockerKey &preferred)
{
    m_rentals = rentals;
    int chosen = 0;
    {
        const QSignalBlocker block(m_choice);
        m_choice->clear();
        for (int i = 0; i < rentals.size(); ++i) {
            const LockerRental &r = rentals[i];
            m_choice->addItem(QStringLiteral("%1 %2번 (%3 ~ %4)")
                                  .arg(r.boxName)
                                  .arg(r.locker.boxNum)
                                  .arg(r.stDate, r.endDate));
            if (preferred.isValid() && r.locker == preferred)
                chosen = i;
        }
        m_choice->setCurrentIndex(rentals.isEmpty() ? -1 : chosen);
    }
    m_choice->setVisible(rentals.size() > 1);
    show(m_choice->currentIndex());
    emit changed();
}

std::optional<LockerRental> RentalPanel::current() const
{
    const int i = m_choice->currentIndex();
    if (i < 0 || i >= m_rentals.size())
        return std::nullopt;
    return m_rentals[i];
}

void RentalPanel::show(int index)
{
    if (index < 0 || index >= m_rentals.size()) {
        for (QLabel *l : {m_name, m_num, m_months, m_period, m_deposit, m_fee})
            l->clear();
        return;
    }
    const LockerRental &r = m_rentals[index];
    m_name->setText(groupCaption(r.locker.boxCode, r.boxName));
    m_num->setText(QString::number(r.locker.boxNum));
    m_months->setText(QString::number(r.monCnt) + QStringLiteral(" 개월"));
    m_period->setText(r.stDate + QStringLiteral(" ~ ") + r.endDate);
    m_deposit->setText(wonText(r.deposit));
    m_fee->setText(wonText(r.fee));
}

} // namespace fitrova
