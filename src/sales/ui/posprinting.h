#pragma once
// The point of sale's printing: a voucher on each of the workstation's two
// receipt printers that is switched on, the cash drawer pulse, and the
// per-user drawer setting.

#include "sales/posreceipt.h"
#include "sales/ui/systemreceiptprinter.h"

#include <QList>

namespace fitrova {

class AppContext;

class PosPrinting {
public:
    PosPrinting() = default;
    explicit PosPrinting(ReceiptOutput out) : m_out(std::move(out)) {}
    void setOutput(const ReceiptOutput &out) { m_out = out; }

    // Prints the voucher on printer 1 and printer 2 of the Pos row, each that
    // is switched on; with drawerFirst the drawer pulse goes out first. The
    // failures, in order (none when everything printed); a workstation with
    // no printer switched on gives one failure saying so.
    QList<ReceiptPrintResult> printVoucher(const AppContext &ctx, const PosReceiptData &d, bool drawerFirst) const;

    // The drawer pulse by the workstation's print type. A type without a
    // drawer route does nothing and succeeds.
    ReceiptPrintResult openDrawer(const AppContext &ctx) const;

private:
    ReceiptOutput m_out;
};

// The per-user setting "돈통" of section "상품판매" ("1" when unset).
bool drawerSettingOn();
void saveDrawerSetting(bool on);

inline QString noPosPrinterText()
{
    return QStringLiteral("POS 프린터가 설정되지 않았읍니다..\n사용자환경에서 POS프린터기 사용을 설정하세요");
}

} // namespace fitrova
