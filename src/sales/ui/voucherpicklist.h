#pragma once
// The day's vouchers of a user, to pick one for the point of sale's 재발행 or
// 환불 (opened as "상품판매조회" with UserCode, Course and sDate). The voucher
// picked is handed to the point of sale ("Menu26") as SlNo, SlDate and SlUser.

#include "catalogue/ui/picklistdialog.h"
#include "widgets/uicontext.h"

namespace fitrova {

class VoucherPickList : public PickListDialog {
    Q_OBJECT
public:
    VoucherPickList(UiContext &ui, const ScreenArgs &args, QWidget *parent = nullptr);

    // Given by the opener.
    QString UserCode, Course, sDate;
    // Set when a voucher was picked.
    QString SlNo, SlDate, SlUser;

    void search() override;

private:
    UiContext &m_ui;
};

} // namespace fitrova
