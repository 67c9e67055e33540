#pragma once
// Address labels for direct mail: the label sheets sold for A4 printers, the
// positions a run fills (skipped positions of a partly used sheet first,
// then one member per label), the run's rows in the print database's table
// DM인쇄, and the fitting of a long address into a label without cutting a
// character in half.

#include "data/db.h"
#include "members/membercontact.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

namespace fitrova {

// One kind of label sheet; lengths in millimetres.
struct LabelSheet {
    QString id;          // "2x8", "3x7" …
    QString name;        // as the selector shows it
    int columns = 1, rows = 1;
    double pageWidth = 210, pageHeight = 297;
    double labelWidth = 0, labelHeight = 0;
    double leftMargin = 0, topMargin = 0; // of the first label, from the sheet's edge
    double hPitch = 0, vPitch = 0;        // from one label's left (top) to the next one's
    int perSheet() const { return columns * rows; }
};

// The sheets on offer: 2×7, 2×8, 3×7 and 3×8 labels on A4.
const QList<LabelSheet> &labelSheets();
// The sheet of that id; the first sheet when the id is unknown.
const LabelSheet &labelSheet(const QString &id);

// Where label position n (1-based) falls: its sheet (0-based) and its row and
// column on it, counting left to right, then top to bottom.
struct LabelPlace {
    int sheet = 0, row = 0, col = 0;
    bool operator==(const LabelPlace &) const = default;
};
LabelPlace labelPlace(const LabelSheet &sheet, int position);
// The label's rectangle on its sheet, moved by the user's margin adjustment.
QRectF labelRect(const LabelSheet &sheet, int row, int col, double adjustLeft = 0, double adjustTop = 0);
// Number of sheets a run of that many positions takes (at least one).
int labelSheetCount(const LabelSheet &sheet, int positions);

// One position of a run, as DM인쇄 holds it.
struct LabelRow {
    QString name;      // 성명
    QString address;   // 주소
    QString detail;    // 번지
    QString postNo;    // 우편번호, spaced out (one blank after every character)
    int position = 0;  // 순서, from 1
    QString honorific; // 존칭
    bool isBlank() const { return name.trimmed().isEmpty() && address.trimmed().isEmpty() && detail.trimmed().isEmpty(); }
    bool operator==(const LabelRow &) const = default;
};

// The default honorific printed after the name.
QString defaultHonorific(); // "님 貴下"

// The positions of a run: `skip` blank positions (texts " ") first, then one
// label per member in the given order, numbered on from skip + 1.
QList<LabelRow> labelRows(const MemberContacts &members, int skip, const QString &honorific);
// Empties DM인쇄 and writes the run into it, in one transaction.
void writeLabelRows(const Db &print, const QList<LabelRow> &rows);
// The run as stored, by position.
QList<LabelRow> readLabelRows(const Db &print);

// The postal code as printed: the blanks of the stored form taken out.
QString printedPostNo(const QString &stored);
// The name line: name, a blank and the honorific.
QString labelNameLine(const LabelRow &row);

// --- fitting text into a label ------------------------------------------------

// Width of a text at a point size, in the caller's unit.
using TextMeasure = std::function<double(const QString &text, double pointSize)>;

// Breaks the text into lines no wider than `width`: at blanks where it can,
// inside a word only between whole characters (a Hangul syllable, a
// surrogate pair or a base letter with its marks stay together).
QStringList wrapLabelText(const QString &text, double width, double pointSize, const TextMeasure &measure);

struct FittedText {
    QStringList lines;
    double pointSize = 0;
    bool shortened = false; // even the smallest size did not hold it all: the last line ends in "…"
};
// The largest size from `pointSize` down to `minPointSize` (in half points) at
// which the text wraps into at most `maxLines` lines; at the smallest size the
// text is cut after maxLines lines, on a character boundary, and "…" marks it.
FittedText fitLabelText(const QString &text, double width, int maxLines, double pointSize, double minPointSize,
                        const TextMeasure &measure);

} // namespace fitrova
