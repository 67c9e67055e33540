#pragma once
// 상품판매현황1 ("상품판매현황(상세)"): the detailed takings of goods,
// enrollments and lockers by sale date and time or by closing date, with a
// total row. The count and the totals come at once with the first page of
// lines; the grid reads the others as it scrolls (printing and the export
// read them all first). A double click on a goods line's cash or card
// corrects the voucher's payment, on its card company picks another
// (카드사조회); Delete removes a goods line (with the delete right). The
// lines of the voucher changed are read again where they stand in the grid,
// and the totals with them. The closing screen opens it
// with a closing's kind, user, closing date and window (uGubun, uUserCode,
// uFdate, uSdate1, uTime1, uSdate2, uTime2).

#include "sales/salesreports.h"
#include "widgets/reportscreen.h"

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace fitrova {

class DateEdit;

class DetailedTakingsReport : public ReportScreen, public ScreenArgsReceiver {
    Q_OBJECT
public:
    // Columns the corrections are started from.
    enum Column { ColCash = 10, ColCard = 11, ColCardCo = 13 };

    explicit DetailedTakingsReport(UiContext &ui, QWidget *parent = nullptr);
    void applyScreenArgs(const ScreenArgs &args) override;

    // The lines the grid has read so far, and the head of the list shown.
    const QList<TakingsLine> &lines() const;
    TakingsHead head() const { return m_head ? *m_head : TakingsHead{}; }
    // The criteria as the inputs give them; nothing after telling the user.
    std::optional<DetailedTakingsCriteria> readCriteria();

    // The corrections and the deletion of the grid's row (also for tests).
    // The new amounts and the card company are asked through these; replaced
    // in tests.
    std::function<bool(qint64 &cash, qint64 &card)> askPayment;
    std::function<QString()> askCardCompany;
    bool correctPayment(int row);
    bool correctCardCompany(int row);
    bool deleteLine(int row);

protected:
    bool startQuery() override;
    ReportPrint printSpec() const override;
    QString exportName() const override { return QStringLiteral("상품판매현황(상세)"); }

private:
    void modeChanged();
    const TakingsLine *lineAt(int row) const;
    bool goodsLineOnly(const TakingsLine *l, const QString &text, const QString &title);
    // After a change to the voucher of `changed`: its lines in the grid read
    // again (the line removedId taken out), the totals with them; the whole
    // list when a filter on the payment kind may take lines in or out.
    void refreshVoucher(const TakingsLine &changed, qint64 removedId = 0);

    QRadioButton *m_bySale, *m_byClosing;
    DateEdit *m_from, *m_to, *m_fFrom, *m_fTo;
    QLineEdit *m_time1, *m_time2;
    QComboBox *m_course, *m_user, *m_kind, *m_order;
    QCheckBox *m_reprint, *m_cashReceipt;
    // Shared with the list's line format, which appends each line it puts
    // into the grid (the row's key is its place here).
    std::shared_ptr<QList<TakingsLine>> m_lines;
    std::shared_ptr<TakingsHead> m_head;
    std::optional<DetailedTakingsCriteria> m_shown;
};

} // namespace fitrova
