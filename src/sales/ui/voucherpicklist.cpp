#include "sales/ui/voucherpicklist.h"

#include "data/text.h"
#include "sales/voucher.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/deskguard.h"

#include <QHBoxLayout>
#include <QLabel>

namespace fitrova {

namespace {
enum Col { ColNo, ColTime, ColUser, ColPos, ColCash, ColCard, ColTotal, ColReceipt, ColState, ColLines };
}

VoucherPickList::VoucherPickList(UiContext &ui, const ScreenArgs &args, QWidget *parent)
    : PickListDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("상품판매조회"));
    setWindowTitle(QStringLiteral("판매전표 조회"));
    UserCode = args.value(QStringLiteral("UserCode")).toString();
    Course = args.value(QStringLiteral("Course")).toString();
    sDate = args.value(QStringLiteral("sDate")).toString();
    if (sDate.isEmpty())
        sDate = ui.app.clock().today().toString(QStringLiteral("yyyy-MM-dd"));

    auto *what = new QLabel(QStringLiteral("판매일자: %1   담당자: %2").arg(sDate, UserCode), this);
    what->setObjectName(QStringLiteral("PnlWhat"));
    searchLayout()->addWidget(what);
    searchLayout()->addStretch();
    grid()->setColumns({QStringLiteral("전표번호"), QStringLiteral("시간"), QStringLiteral("담당자"),
                        QStringLiteral("POS"), QStringLiteral("현금"), QStringLiteral("카드"), QStringLiteral("합계"),
                        QStringLiteral("현금영수증"), QStringLiteral("구분"), QStringLiteral("판매내역")},
                       {90, 64, 70, 36, 70, 70, 76, 100, 60, 260});
    for (int c : {ColCash, ColCard, ColTotal})
        grid()->setColumnAlignment(c, Qt::AlignRight);
    grid()->setHeaderSorting(false);
    resize(960, 460);
    connect(this, &QDialog::accepted, this, [this] {
        const QStringList key = pickedKey().toStringList();
        if (key.size() != 3)
            return;
        SlDate = key.at(0);
        SlUser = key.at(1);
        SlNo = key.at(2);
        m_ui.openScreen(QStringLiteral("Menu26"), {{QStringLiteral("SlNo"), SlNo},
                                                   {QStringLiteral("SlDate"), SlDate},
                                                   {QStringLiteral("SlUser"), SlUser}});
    });
    search();
}

void VoucherPickList::search()
{
    QList<QStringList> rows;
    QVariantList keys;
    if (const auto found = guard(m_ui, DbAction::Read, [&] { return listVouchers(m_ui.app.main, sDate, UserCode, Course); })) {
        for (const VoucherSummary &v : *found) {
            const QString state = v.refund ? QStringLiteral("환불") : v.refunded ? QStringLiteral("환불됨") : QString();
            rows << QStringList{v.key.user + QLatin1Char('-') + v.key.slNo, v.time, v.userName,
                                QString::number(v.posNo), wonText(v.cash), wonText(v.card), wonText(v.total),
                                v.cashReceipt ? QStringLiteral("현금영수증 발행") : QStringLiteral("현금영수증 미발행"),
                                state, v.lines.join(QStringLiteral(", "))};
            keys << QVariant(QStringList{v.key.slDate, v.key.user, v.key.slNo});
        }
    }
    grid()->setRows(rows, keys);
    if (!rows.isEmpty())
        grid()->setCurrentRow(0);
}

} // namespace fitrova
