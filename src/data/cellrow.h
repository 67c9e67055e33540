#pragma once
// A row of text cells held as one text and where each cell ends: a list of
// many rows costs two blocks of memory a row instead of one per cell (the
// member list of 100,000 members is 100,000 rows of sixteen cells).

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace fitrova {

struct CellRow {
    QString text;
    QList<int> ends;

    int size() const { return int(ends.size()); }
    int start(int c) const { return c == 0 ? 0 : ends.at(c - 1); }
    QStringView view(int c) const { return QStringView(text).mid(start(c), ends.at(c) - start(c)); }
    QString cell(int c) const { return view(c).toString(); }

    // Ends the last cell (its text appended to text since the previous end).
    void endCell() { ends.append(int(text.size())); }
    void append(QStringView t)
    {
        text.append(t);
        endCell();
    }
    void setCell(int c, QStringView t)
    {
        const int from = start(c), len = ends.at(c) - from;
        const int delta = int(t.size()) - len;
        text.replace(from, len, t.data(), t.size());
        for (int i = c; i < ends.size(); ++i)
            ends[i] += delta;
    }
    // Keeps the first n cells (n at most size()).
    void truncate(int n)
    {
        text.truncate(n == 0 ? 0 : ends.at(n - 1));
        ends.resize(n);
    }

    QStringList toList() const
    {
        QStringList out;
        out.reserve(size());
        for (int c = 0; c < size(); ++c)
            out << cell(c);
        return out;
    }
    static CellRow fromList(const QStringList &cells)
    {
        CellRow r;
        qsizetype length = 0;
        for (const QString &c : cells)
            length += c.size();
        r.text.reserve(length);
        r.ends.reserve(cells.size());
        for (const QString &c : cells)
            r.append(c);
        return r;
    }
    bool operator==(const CellRow &) const = default;
};

} // namespace fitrova

Q_DECLARE_TYPEINFO(fitrova::CellRow, Q_RELOCATABLE_TYPE);
