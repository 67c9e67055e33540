#pragma once
// What the member card asks of the enrollment screens: which screen, new or
// change ("N" / "C"), and the keys of the rows concerned. The screens report
// back whether they saved something (TF), and the card then shows the member
// again.

#include <QString>

namespace fitrova {

enum class EnrollmentScreen {
    Enrollment,   // 수강등록: course tab (tab 0) or goods tab (tab 1)
    ClassChange,  // 수강변경
    Transfer,     // 양도신청
    Postponement, // 수강연기
    Refund,       // 수강환불
    Payment       // 미수입금
};

struct EnrollmentRequest {
    EnrollmentScreen screen = EnrollmentScreen::Enrollment;
    QString jobGubun = QStringLiteral("N"); // "N" new, "C" change of an existing row
    QString mbCode;
    qint64 ltid = 0;    // enrollment row (or, on the goods tab, the sale id)
    qint64 bLtid = 0;   // base enrollment of a dependent row
    qint64 pgid = 0;
    int tab = 0;        // enrollment screen: 0 course, 1 goods
    qint64 misuAmt = 0; // payment screen: the member's outstanding amount

    bool operator==(const EnrollmentRequest &) const = default;
};

} // namespace fitrova
