#pragma once
// The line under a list that is shown in pages (a member's visits): how many
// of how many are shown, and 더보기 for the next page. Scrolling the grid to
// its last row asks for the next page as well.

#include <QWidget>

class QLabel;
class QPushButton;

namespace fitrova {

class DataGrid;

class MoreRowsBar : public QWidget {
    Q_OBJECT
public:
    // objectName of the bar's button is `name` + "더보기", of its label `name` + "건수".
    MoreRowsBar(DataGrid *grid, const QString &name, QWidget *parent = nullptr);

    // The count text and whether a further page exists.
    void setState(const QString &countText, bool more);
    void clear() { setState(QString(), false); }
    bool hasMore() const { return m_more; }

signals:
    void moreRequested();

private:
    void onScrolled(int value);

    DataGrid *m_grid;
    QLabel *m_count;
    QPushButton *m_button;
    bool m_more = false;
};

} // namespace fitrova
