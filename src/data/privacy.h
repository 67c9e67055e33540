#pragma once
// The resident registration number (주민번호, Member.Juno1 - Juno2) is the most
// sensitive value the program holds. Wherever it leaves the member card —
// lists, prints, exports, reports, SMS and label lists — it is shown through
// this one formatter: the birth part and the first digit of the second part
// stay, the rest is masked.
//
//   "800408", "2564385"  -> "800408-2******"
//   "800408", ""         -> "800408"
//   "8004082564385"      -> "800408-2******"   (stored without the dash)
//   "12-34567-89012"     -> "12-34567******"   (malformed: as stored, masked after 8 characters)

#include <QString>
#include <utility>

namespace fitrova {

// The number of the two stored parts, masked.
QString maskedResidentNumber(const QString &firstPart, const QString &secondPart);
// The same for a number held as one text ("800408-2564385").
QString maskedResidentNumber(const QString &whole);
// True when the text is already in the masked form "800408-2******" (or
// empty), which masking gives back unchanged: a long list masks its lines
// once, and the grid need not mask them again.
bool isMaskedForm(QStringView text);
// The two parts masked, for rows that keep them apart: {"800408", "2******"}.
// Empty parts stay empty; a second part always carries at least one '*'.
std::pair<QString, QString> maskedResidentParts(const QString &firstPart, const QString &secondPart);

} // namespace fitrova
