#include "messaging/labels.h"

#include "data/text.h"

#include <QTextBoundaryFinder>
#include <cmath>

namespace fitrova {

namespace {

LabelSheet sheet(const char *id, int cols, int rows, double w, double h, double pitchH, double pitchV)
{
    LabelSheet s;
    s.id = QString::fromLatin1(id);
    s.columns = cols;
    s.rows = rows;
    s.labelWidth = w;
    s.labelHeight = h;
    s.hPitch = pitchH;
    s.vPitch = pitchV;
    // The block of labels sits in the middle of the sheet.
    s.leftMargin = (s.pageWidth - (cols - 1) * pitchH - w) / 2;
    s.topMargin = (s.pageHeight - (rows - 1) * pitchV - h) / 2;
    s.name = QStringLiteral("%1칸 %2×%3 (%4×%5mm)")
                 .arg(cols * rows)
                 .arg(cols)
                 .arg(rows)
                 .arg(QString::number(w, 'f', 1), QString::number(h, 'f', 1));
    return s;
}

// Grapheme boundaries of the text: the places where it may be cut.
QList<int> cutPoints(const QString &text)
{
    QList<int> points;
    QTextBoundaryFinder f(QTextBoundaryFinder::Grapheme, text);
    for (int p = f.toNextBoundary(); p > 0; p = f.toNextBoundary())
        points << p;
    return points;
}

// Splits a word that is wider than the line into pieces of whole characters.
QStringList breakWord(const QString &word, double width, double size, const TextMeasure &measure)
{
    QStringList pieces;
    int start = 0, fits = 0; // the piece being built is word[start, fits)
    for (const int p : cutPoints(word)) {
        if (measure(word.mid(start, p - start), size) <= width) {
            fits = p;
            continue;
        }
        if (fits > start) {
            pieces << word.mid(start, fits - start);
            start = fits;
        }
        if (measure(word.mid(start, p - start), size) <= width) {
            fits = p;
        } else {
            // One character wider than the line still goes on a line of its own.
            pieces << word.mid(start, p - start);
            start = fits = p;
        }
    }
    if (start < word.size())
        pieces << word.mid(start);
    return pieces;
}

} // namespace

const QList<LabelSheet> &labelSheets()
{
    static const QList<LabelSheet> sheets = {
        sheet("2x7", 2, 7, 99.1, 38.1, 101.6, 38.1),
        sheet("2x8", 2, 8, 99.1, 33.9, 101.6, 33.9),
        sheet("3x7", 3, 7, 63.5, 38.1, 66.0, 38.1),
        sheet("3x8", 3, 8, 63.5, 33.9, 66.0, 33.9),
    };
    return sheets;
}

const LabelSheet &labelSheet(const QString &id)
{
    for (const LabelSheet &s : labelSheets())
        if (s.id == id)
            return s;
    return labelSheets().first();
}

LabelPlace labelPlace(const LabelSheet &s, int position)
{
    const int index = qMax(position, 1) - 1;
    const int onSheet = index % s.perSheet();
    return LabelPlace{index / s.perSheet(), onSheet / s.columns, onSheet % s.columns};
}

QRectF labelRect(const LabelSheet &s, int row, int col, double adjustLeft, double adjustTop)
{
    return QRectF(s.leftMargin + adjustLeft + col * s.hPitch, s.topMargin + adjustTop + row * s.vPitch, s.labelWidth,
                  s.labelHeight);
}

int labelSheetCount(const LabelSheet &s, int positions)
{
    return qMax(1, (positions + s.perSheet() - 1) / s.perSheet());
}

QString defaultHonorific() { return QStringLiteral("님 貴下"); }

QList<LabelRow> labelRows(const MemberContacts &members, int skip, const QString &honorific)
{
    QList<LabelRow> rows;
    const QString blank = QStringLiteral(" ");
    int position = 0;
    for (int i = 0; i < qMax(skip, 0); ++i)
        rows << LabelRow{blank, blank, blank, blank, ++position, blank};
    for (const MemberContact &m : members)
        rows << LabelRow{m.mbName, m.addr1, m.addr2, spaceOut(m.postNo.trimmed()), ++position, honorific};
    return rows;
}

void writeLabelRows(const Db &print, const QList<LabelRow> &rows)
{
    print.transaction([&] {
        print.exec(QStringLiteral("DELETE FROM DM인쇄"));
        for (const LabelRow &r : rows)
            print.exec(QStringLiteral("INSERT INTO DM인쇄 (성명, 주소, 번지, 우편번호, 순서, 존칭) VALUES (?, ?, ?, ?, ?, ?)"),
                       {r.name, r.address, r.detail, r.postNo, r.position, r.honorific});
    });
}

QList<LabelRow> readLabelRows(const Db &print)
{
    QList<LabelRow> rows;
    for (const Row &r : print.query(QStringLiteral("SELECT 성명, 주소, 번지, 우편번호, 순서, 존칭 FROM DM인쇄 ORDER BY 순서")))
        rows << LabelRow{r.str(QStringLiteral("성명")), r.str(QStringLiteral("주소")), r.str(QStringLiteral("번지")),
                         r.str(QStringLiteral("우편번호")), int(r.num(QStringLiteral("순서"))),
                         r.str(QStringLiteral("존칭"))};
    return rows;
}

QString printedPostNo(const QString &stored)
{
    QString out = stored;
    out.remove(QLatin1Char(' '));
    return out;
}

QString labelNameLine(const LabelRow &row)
{
    const QString name = row.name.trimmed();
    const QString hon = row.honorific.trimmed();
    if (name.isEmpty())
        return {};
    return hon.isEmpty() ? name : name + QLatin1Char(' ') + hon;
}

QStringList wrapLabelText(const QString &text, double width, double size, const TextMeasure &measure)
{
    const QString t = text.simplified();
    if (t.isEmpty())
        return {};
    QStringList lines;
    QString line;
    for (const QString &word : t.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (measure(candidate, size) <= width) {
            line = candidate;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        line.clear();
        if (measure(word, size) <= width) {
            line = word;
            continue;
        }
        QStringList pieces = breakWord(word, width, size, measure);
        line = pieces.takeLast();
        lines << pieces;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

FittedText fitLabelText(const QString &text, double width, int maxLines, double pointSize, double minPointSize,
                        const TextMeasure &measure)
{
    FittedText fit;
    maxLines = qMax(maxLines, 1);
    for (double size = pointSize; size >= minPointSize - 1e-9; size -= 0.5) {
        fit.pointSize = size;
        fit.lines = wrapLabelText(text, width, size, measure);
        if (fit.lines.size() <= maxLines)
            return fit;
    }
    // Even the smallest size does not hold it: keep what fits and mark the cut.
    fit.pointSize = minPointSize;
    fit.lines = wrapLabelText(text, width, minPointSize, measure).mid(0, maxLines);
    fit.shortened = true;
    QString last = fit.lines.takeLast();
    const QString ellipsis = QStringLiteral("…");
    QList<int> points = cutPoints(last);
    int keep = last.size();
    while (keep > 0 && measure(last.left(keep) + ellipsis, minPointSize) > width) {
        points.removeLast();
        keep = points.isEmpty() ? 0 : points.last();
    }
    fit.lines << last.left(keep).trimmed() + ellipsis;
    return fit;
}

} // namespace fitrova
