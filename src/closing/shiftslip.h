#pragma once
// The shift slip for the receipt printer (and, through the same lines, for
// paper): the X reading of a shift that is still open (what was recorded so
// far), or the closing slip of a closed shift with the cash counted by
// denomination, what was received, the difference with its reason, and what
// was handed in.

#include "closing/shift.h"
#include "sales/receipt.h"

#include <QString>
#include <optional>

namespace fitrova {

struct ShiftSlip {
    ShiftReading reading;           // the shift, its window and what it recorded
    std::optional<CashCount> count; // the denominations counted; none for an X reading
    QString printedDate, printedTime;
    QString businessName;
    bool closed() const { return !reading.shift.isOpen(); }
};

// The slip's title: "*** 중간점검(X) ***" or "*** 교대마감 ***".
QString shiftSlipTitle(const ShiftSlip &s);

// 41 bytes a line, like the sale receipts.
Receipt buildShiftSlip(const ShiftSlip &s);

} // namespace fitrova
