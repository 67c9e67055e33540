#pragma once
// Postponement (수강연기): an enrollment is paused for some days and its end
// moves later by as many days. The pause is a Lecture row of kind "3"
// pointing to the enrollment (BLtid) with the paused days in Rday.

#include "data/db.h"
#include "enrollment/enrollcommon.h"
#include "enrollment/enrollresult.h"

#include <QString>

namespace fitrova {

class AppContext;

inline QString postponeTitle() { return QStringLiteral("수강연기"); }

// Kinds "0", "1", "2", "3" may be postponed when the course item allows it.
Outcome postponeEligible(const LectureInfo &l);

// The dates of the screen and how they follow one another.
struct PauseDates {
    QString rqDate;            // application date
    QString from, to;          // the pause
    qint64 days = 0;           // to − from + 1
    QString addFrom, addTo;    // the days given back after the pause
    bool error = false;        // the end was before the start and was set back
};
// A new application date: both pause dates follow it.
PauseDates pauseForApplication(const QString &rqDate);
// A new pause start: the end follows it.
PauseDates pauseStartChanged(PauseDates d, const QString &from);
// A new pause end: before the start it is refused ("연기일자 ERROR") and set back to the start.
PauseDates pauseEndChanged(PauseDates d, const QString &to);
inline QString pauseDateErrorText() { return QStringLiteral("연기일자 ERROR"); }

struct PostponementInput {
    QString jobGubun = QStringLiteral("N");
    qint64 ltid = 0;   // "N": the enrollment; "C": the postponement row
    qint64 bLtid = 0;  // "C": its enrollment
    QString rqDate;
    QString from, to;  // the pause
    QString reason;
};

// "N": the postponement row; the enrollment's Delay link and its end moved by
// the paused days. "C": the row rewritten, the enrollment's end recomputed
// from its period as sold and every postponement it has.
EnrollResult savePostponement(const AppContext &ctx, const PostponementInput &in);

} // namespace fitrova
