#pragma once
// The resident registration number on the member card: the birth date, the
// age and the sex it tells, checked when the clerk leaves the second part.
//
// The first digit of the second part gives the century and the sex:
//   1, 2  born 1900–1999 (5, 6 for foreign residents)   — 1, 3, 5, 7 male
//   3, 4  born 2000–2099 (7, 8 for foreign residents)   — 2, 4, 6, 8 female
//   9, 0  born 1800–1899
// The age shown on the card counts the year of birth as one: full years
// since the birth date plus one.

#include <QDate>
#include <QString>

namespace fitrova {

struct ResidentCheck {
    enum class Outcome {
        Skipped,  // the second part is empty: nothing to check
        Refused,  // text/title to show; focusFirstPart tells where the cursor goes
        Accepted  // birthDate, age and sexCode are set
    };
    Outcome outcome = Outcome::Skipped;
    QString text, title;
    bool focusFirstPart = false;
    QString birthDate; // "YYYY-MM-DD"
    int age = 0;
    QString sexCode;   // "1" male, "2" female, "" unknown

    bool accepted() const { return outcome == Outcome::Accepted; }
    bool refused() const { return outcome == Outcome::Refused; }
};

// "19", "20", "18" for the first digit of the second part; "" for anything
// that is not a digit.
QString residentCentury(const QString &secondPart);

// "1" male, "2" female, "" unknown, from the first digit of the second part.
QString residentSexCode(const QString &secondPart);

// Full years from birth to today (one less while this year's birthday is
// ahead) plus one; -1 when birth is no date or lies after today.
int memberAge(const QDate &birth, const QDate &today);

// The check on leaving the second part. Refusals: "주민등록번호가 틀렸습니다."
// (title "주민번호") when the first part is shorter than six characters, or
// when the two parts do not give a real birth date on or before today (the
// cursor then goes back to the first part).
ResidentCheck checkResidentNumber(const QString &firstPart, const QString &secondPart, const QDate &today);

} // namespace fitrova
