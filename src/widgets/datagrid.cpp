#include "widgets/datagrid.h"

#include "data/privacy.h"
#include "widgets/gridstream.h"

#include <QScrollBar>
#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPolygon>
#include <QProxyStyle>
#include <QStyleOption>
#include <QStyledItemDelegate>

#include <algorithm>
#include <functional>
#include <limits>
#include <numeric>
#include <optional>

namespace fitrova {

// --- model ----------------------------------------------------------------------

namespace gridimpl {

enum CellFlag : quint8 {
    HasFore = 1,
    HasBack = 2,
    Bold = 4,
    Check = 8,
    HasAlign = 16,
};

// What a cell carries besides its text; most rows have none, so a row keeps
// these only once one of its cells is styled.
struct CellStyle {
    QRgb fore = 0;
    QRgb back = 0;
    quint8 flags = 0;
    quint16 align = 0;
};

// One row, compactly: its cells as one text (CellRow), so a row costs two
// allocations whatever its number of cells.
struct GridRow : CellRow {
    QList<CellStyle> styles; // empty, or one per cell
    QVariant key;
    bool total = false;

    quint8 flags(int c) const { return styles.isEmpty() ? 0 : styles.at(c).flags; }
    CellStyle style(int c) const { return styles.isEmpty() ? CellStyle{} : styles.at(c); }
    CellStyle &styleFor(int c)
    {
        if (styles.isEmpty())
            styles.resize(ends.size());
        return styles[c];
    }
};

} // namespace gridimpl
} // namespace fitrova

// Rows move in memory as blocks when the list grows or is sorted.
Q_DECLARE_TYPEINFO(fitrova::gridimpl::CellStyle, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(fitrova::gridimpl::GridRow, Q_RELOCATABLE_TYPE);

namespace fitrova {
namespace gridimpl {

struct GridColumn {
    QString header;
    Qt::Alignment align = Qt::AlignLeft;
    bool editable = false;
    bool check = false;
    bool resident = false; // a resident-number column: every cell is masked
    QStringList choices;
};

// A column whose header names the resident registration number ("주민번호",
// "주민등록번호", "주 민 번 호"). The grid masks its cells itself, so no list,
// print or export built on the grid can show a full number.
bool isResidentHeader(const QString &header)
{
    QString h = header;
    h.remove(QLatin1Char(' '));
    return h.contains(QStringLiteral("주민"));
}

inline const QString kChecked = QStringLiteral("1");
inline const QString kUnchecked = QStringLiteral("0");

// The text a check cell keeps: "1" for a checked value ("1", "-1", "true"),
// "0" for anything else.
QString checkText(const QString &value)
{
    const QString v = value.trimmed();
    if (v == kChecked || v == QLatin1String("-1") || v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return kChecked;
    return kUnchecked;
}

// Text that reads as a number: digits with an optional sign, thousands
// separators and decimal point.
std::optional<double> numericValue(QStringView text)
{
    QStringView t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    // Names and other text are told apart at their first character, without
    // the cost of a conversion.
    const QChar first = t.front();
    if (!(first.isDigit() || first == QLatin1Char('-') || first == QLatin1Char('+') || first == QLatin1Char('.')))
        return std::nullopt;
    QString plain;
    if (t.contains(QLatin1Char(','))) {
        plain = t.toString();
        plain.remove(QLatin1Char(','));
        t = plain;
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

} // namespace gridimpl

using namespace gridimpl;

class GridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    QList<GridColumn> columns;
    QList<GridRow> rows;
    QFont font;
    QColor stripe1, stripe2;

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(rows.size()); }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(columns.size());
    }

    bool valid(int row, int col) const
    {
        return row >= 0 && row < rows.size() && col >= 0 && col < columns.size();
    }

    GridRow makeRow(const QStringList &cells, const QVariant &key) const
    {
        return takeRow(CellRow::fromList(cells), key);
    }

    QString text(int row, int col) const { return valid(row, col) ? rows.at(row).cell(col) : QString(); }
    quint8 cellFlags(int row, int col) const { return valid(row, col) ? rows.at(row).flags(col) : 0; }
    CellStyle style(int row, int col) const { return valid(row, col) ? rows.at(row).style(col) : CellStyle{}; }
    // The style of a cell to change; valid(row, col) first.
    CellStyle &styleFor(int row, int col) { return rows[row].styleFor(col); }

    void changedCell(int row, int col) { emit dataChanged(index(row, col), index(row, col)); }
    void changedRow(int row) { emit dataChanged(index(row, 0), index(row, columns.size() - 1)); }
    void changedAll()
    {
        if (!rows.isEmpty() && !columns.isEmpty())
            emit dataChanged(index(0, 0), index(rows.size() - 1, columns.size() - 1));
    }

    QColor background(int row, int col) const
    {
        if (!valid(row, col))
            return {};
        const CellStyle st = rows.at(row).style(col);
        if (st.flags & HasBack)
            return QColor::fromRgb(st.back);
        if (stripe1.isValid())
            return (row % 2 == 0) ? stripe1 : stripe2;
        return {};
    }

    QVariant data(const QModelIndex &idx, int role) const override
    {
        if (!valid(idx.row(), idx.column()))
            return {};
        const GridRow &r = rows.at(idx.row());
        const CellStyle st = r.style(idx.column());
        const bool isCheck = st.flags & Check;
        switch (role) {
        case Qt::DisplayRole:
            return isCheck ? QVariant() : QVariant(r.cell(idx.column()));
        case Qt::EditRole:
            return r.cell(idx.column());
        case Qt::CheckStateRole:
            if (!isCheck)
                return {};
            return r.view(idx.column()) == kChecked ? Qt::Checked : Qt::Unchecked;
        case Qt::TextAlignmentRole: {
            if (isCheck)
                return int(Qt::AlignCenter);
            const Qt::Alignment h = (st.flags & HasAlign) ? Qt::Alignment(st.align)
                                                          : columns.at(idx.column()).align;
            return int((h & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
        }
        case Qt::ForegroundRole:
            if (st.flags & HasFore)
                return QColor::fromRgb(st.fore);
            return {};
        case Qt::BackgroundRole: {
            const QColor b = background(idx.row(), idx.column());
            return b.isValid() ? QVariant(b) : QVariant();
        }
        case Qt::FontRole:
            if (st.flags & Bold) {
                QFont f = font;
                f.setBold(true);
                return f;
            }
            return {};
        default:
            return {};
        }
    }

    bool setData(const QModelIndex &idx, const QVariant &value, int role) override
    {
        if (!valid(idx.row(), idx.column()))
            return false;
        GridRow &r = rows[idx.row()];
        const bool isCheck = r.flags(idx.column()) & Check;
        QString t;
        if (role == Qt::CheckStateRole) {
            if (!isCheck)
                return false;
            t = value.toInt() == Qt::Checked ? kChecked : kUnchecked;
        } else if (role == Qt::EditRole) {
            t = value.toString();
            if (isCheck)
                t = checkText(t);
        } else {
            return false;
        }
        if (r.view(idx.column()) == t)
            return true;
        r.setCell(idx.column(), t);
        changedCell(idx.row(), idx.column());
        if (onUserEdit)
            onUserEdit(idx.row(), idx.column());
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex &idx) const override
    {
        if (!valid(idx.row(), idx.column()))
            return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (columns.at(idx.column()).editable) {
            if (rows.at(idx.row()).flags(idx.column()) & Check)
                f |= Qt::ItemIsUserCheckable;
            else
                f |= Qt::ItemIsEditable;
        }
        return f;
    }

    // --- a streamed list ----------------------------------------------------------

    bool canFetchMore(const QModelIndex &parent) const override { return !parent.isValid() && bool(source); }

    void fetchMore(const QModelIndex &parent) override
    {
        if (!parent.isValid())
            readPage(pageRows);
    }

    // Reads up to n further rows from the source and appends them as they
    // come; the source is let go once it has handed over its last row.
    void readPage(int n)
    {
        if (!source || fetching)
            return;
        fetching = true;
        bool more = false;
        {
            // The source may be called again from the view while it reads
            // (a message box it shows runs the event loop): keep it alive.
            const GridPagedSource keep = source;
            more = keep(n, [this](GridPage &&page) { appendPage(std::move(page)); });
        }
        fetching = false;
        if (!more)
            source = {};
    }

    // A row of its cells, already joined or not: cut or padded to the
    // columns, check cells as "1"/"0" and resident numbers masked.
    GridRow takeRow(CellRow &&cells, const QVariant &key) const
    {
        GridRow r;
        static_cast<CellRow &>(r) = std::move(cells);
        r.key = key;
        const int n = int(columns.size());
        if (r.size() > n)
            r.truncate(n);
        while (r.size() < n)
            r.endCell();
        bool checks = false;
        for (int c = 0; c < n; ++c) {
            if (columns.at(c).check) {
                r.setCell(c, checkText(r.cell(c)));
                checks = true;
            } else if (columns.at(c).resident && !isMaskedForm(r.view(c))) {
                r.setCell(c, maskedResidentNumber(r.cell(c)));
            }
        }
        if (checks)
            for (int c = 0; c < n; ++c)
                if (columns.at(c).check)
                    r.styleFor(c).flags |= Check;
        return r;
    }

    void appendPage(GridPage &&page)
    {
        const int count = int(page.joined.isEmpty() ? page.rows.size() : page.joined.size());
        if (count == 0)
            return;
        const int first = int(rows.size());
        beginInsertRows({}, first, first + count - 1);
        if (count > rows.size()) // a page at a time grows as appending does
            rows.reserve(first + count);
        if (page.joined.isEmpty()) {
            for (int i = 0; i < count; ++i)
                rows.append(makeRow(page.rows.at(i), page.keys.value(i)));
        } else {
            for (int i = 0; i < count; ++i)
                rows.append(takeRow(std::move(page.joined[i]), page.keys.value(i)));
            page.joined = {};
        }
        for (const auto &[i, back] : page.totalRows)
            if (i >= 0 && i < count)
                markTotal(first + i, back.isValid() ? back : DataGrid::totalBackColor());
        endInsertRows();
    }

    // Bold on the colour (none: the stripes), without check boxes, kept last
    // by sorting.
    void markTotal(int row, const QColor &back)
    {
        GridRow &r = rows[row];
        r.total = true;
        for (int c = 0; c < r.size(); ++c) {
            CellStyle &st = r.styleFor(c);
            if (st.flags & Check) {
                st.flags &= ~Check;
                r.setCell(c, QString());
            }
            st.flags |= Bold;
            if (back.isValid()) {
                st.flags |= HasBack;
                st.back = back.rgb();
            } else {
                st.flags &= ~HasBack;
            }
        }
    }

    void readAll()
    {
        while (source)
            readPage(std::numeric_limits<int>::max());
    }

    GridPagedSource source;
    int pageRows = kGridPageRows;
    bool fetching = false;

    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o == Qt::Horizontal) {
            if (section < 0 || section >= columns.size())
                return {};
            if (role == Qt::DisplayRole)
                return columns.at(section).header;
            if (role == Qt::TextAlignmentRole)
                return int(Qt::AlignCenter);
            return {};
        }
        if (role == Qt::DisplayRole)
            return section + 1;
        return {};
    }

    // Reorders rows: newOrder[i] is the old index of the row that goes to i.
    void permute(const QList<int> &newOrder)
    {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        QList<int> oldToNew(newOrder.size());
        for (int i = 0; i < newOrder.size(); ++i)
            oldToNew[newOrder[i]] = i;
        QList<GridRow> sorted;
        sorted.reserve(rows.size());
        for (int i : newOrder)
            sorted.append(std::move(rows[i]));
        rows = std::move(sorted);
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex &i : from)
            to.append(index(oldToNew.value(i.row()), i.column()));
        changePersistentIndexList(from, to);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    void beginInsert(int first, int last) { beginInsertRows({}, first, last); }
    void endInsert() { endInsertRows(); }
    void beginRemove(int first, int last) { beginRemoveRows({}, first, last); }
    void endRemove() { endRemoveRows(); }
    void headerChanged(int first, int last) { emit headerDataChanged(Qt::Horizontal, first, last); }

    std::function<void(int, int)> onUserEdit;
};

// --- delegate -----------------------------------------------------------------------

namespace {

// Centres check boxes, offers drop-downs for columns with choices.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(GridModel *model, QWidget *parent) : QStyledItemDelegate(parent), m_model(model)
    {
        // The space the style keeps between a cell's edge and its text.
        m_textMargin = parent->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, parent) + 1;
    }

    QRect checkRect(const QStyleOptionViewItem &option) const
    {
        const QWidget *w = option.widget;
        QStyle *style = w ? w->style() : QApplication::style();
        QStyleOptionButton o;
        const int width = style->pixelMetric(QStyle::PM_IndicatorWidth, &o, w);
        const int height = style->pixelMetric(QStyle::PM_IndicatorHeight, &o, w);
        return QRect(option.rect.center().x() - width / 2 + 1, option.rect.center().y() - height / 2 + 1,
                     width, height);
    }

    bool isCheck(const QModelIndex &idx) const
    {
        return idx.data(Qt::CheckStateRole).isValid();
    }

    // A text cell drawn straight from the row: background or selection, then
    // the text on one line, cut with "…" when it does not fit. The style's
    // item drawing lays every cell out as a paragraph, which made a repaint
    // of the gate's three lists cost more than the check-in itself.
    void paintText(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &idx) const
    {
        const int row = idx.row(), col = idx.column();
        const GridRow &r = m_model->rows.at(row);
        const CellStyle st = r.style(col);
        const QPalette::ColorGroup cg = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
            : (option.state & QStyle::State_Active)                               ? QPalette::Active
                                                                                  : QPalette::Inactive;
        const bool selected = option.state & QStyle::State_Selected;
        if (selected) {
            painter->fillRect(option.rect, option.palette.brush(cg, QPalette::Highlight));
        } else {
            const QColor back = m_model->background(row, col);
            if (back.isValid())
                painter->fillRect(option.rect, back);
        }
        const QStringView view = r.view(col);
        if (!view.isEmpty()) {
            const bool bold = st.flags & Bold;
            if (bold) {
                QFont f = option.font;
                f.setBold(true);
                painter->setFont(f);
            } else {
                painter->setFont(option.font);
            }
            painter->setPen(selected ? option.palette.color(cg, QPalette::HighlightedText)
                                     : (st.flags & HasFore) ? QColor::fromRgb(st.fore)
                                                            : option.palette.color(cg, QPalette::Text));
            const Qt::Alignment align = (st.flags & HasAlign) ? Qt::Alignment(st.align) : m_model->columns.at(col).align;
            const int margin = m_textMargin;
            const QRect box = option.rect.adjusted(margin, 0, -margin, 0);
            const QFontMetrics fm = painter->fontMetrics();
            QString text = view.toString();
            int width = fm.horizontalAdvance(text);
            if (width > box.width()) {
                text = fm.elidedText(text, Qt::ElideRight, box.width());
                width = fm.horizontalAdvance(text);
            }
            int x = box.left();
            if (align & Qt::AlignRight)
                x = box.right() + 1 - width;
            else if (align & Qt::AlignHCenter)
                x = box.left() + (box.width() - width) / 2;
            const int y = box.top() + (box.height() - fm.height()) / 2 + fm.ascent();
            painter->drawText(QPoint(x, y), text);
        }
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect o;
            o.QStyleOption::operator=(option);
            o.rect = option.rect;
            o.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
            o.backgroundColor = option.palette.color(cg, selected ? QPalette::Highlight : QPalette::Window);
            const QWidget *w = option.widget;
            (w ? w->style() : QApplication::style())->drawPrimitive(QStyle::PE_FrameFocusRect, &o, painter, w);
        }
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &idx) const override
    {
        if (!m_model->valid(idx.row(), idx.column()))
            return;
        if (!(m_model->rows.at(idx.row()).flags(idx.column()) & Check)) {
            painter->save();
            paintText(painter, option, idx);
            painter->restore();
            return;
        }
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, idx);
        const QWidget *w = option.widget;
        QStyle *style = w ? w->style() : QApplication::style();
        // Background and selection without the check box, then the box centred.
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        opt.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
        QStyleOptionViewItem box = option;
        box.rect = checkRect(option);
        box.state = option.state & ~QStyle::State_HasFocus;
        box.state |= idx.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, w);
    }

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &idx) override
    {
        if (!isCheck(idx))
            return QStyledItemDelegate::editorEvent(event, model, option, idx);
        if (!(idx.flags() & Qt::ItemIsUserCheckable) || !(idx.flags() & Qt::ItemIsEnabled))
            return false;
        if (event->type() == QEvent::MouseButtonRelease) {
            auto *me = static_cast<QMouseEvent *>(event);
            if (me->button() != Qt::LeftButton || !option.rect.contains(me->position().toPoint()))
                return false;
        } else if (event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::MouseButtonPress) {
            auto *me = static_cast<QMouseEvent *>(event);
            return me->button() == Qt::LeftButton && event->type() == QEvent::MouseButtonDblClick;
        } else if (event->type() == QEvent::KeyPress) {
            auto *ke = static_cast<QKeyEvent *>(event);
            if (ke->key() != Qt::Key_Space && ke->key() != Qt::Key_Select)
                return false;
        } else {
            return false;
        }
        const bool on = idx.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return model->setData(idx, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &idx) const override
    {
        const QStringList choices = m_model->columns.value(idx.column()).choices;
        if (choices.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, idx);
        auto *combo = new QComboBox(parent);
        combo->addItems(choices);
        combo->setFrame(false);
        return combo;
    }

    void setEditorData(QWidget *editor, const QModelIndex &idx) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            const int i = combo->findText(idx.data(Qt::EditRole).toString());
            combo->setCurrentIndex(i);
            return;
        }
        QStyledItemDelegate::setEditorData(editor, idx);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &idx) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            if (combo->currentIndex() >= 0)
                model->setData(idx, combo->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, idx);
    }

private:
    GridModel *m_model;
    int m_textMargin = 4;
};

// Scroll bars drawn flat, on the desktop style's own geometry: its shaded
// bars took longer to paint than the rows of the gate's lists, and a list
// that grows repaints its bars on every new row.
class FlatScrollBarStyle : public QProxyStyle {
public:
    static FlatScrollBarStyle *instance()
    {
        static QPointer<FlatScrollBarStyle> style;
        if (!style) {
            style = new FlatScrollBarStyle;
            style->setParent(qApp);
        }
        return style;
    }

    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex *opt, QPainter *p,
                            const QWidget *w) const override
    {
        const auto *sb = qstyleoption_cast<const QStyleOptionSlider *>(opt);
        if (cc != CC_ScrollBar || !sb) {
            QProxyStyle::drawComplexControl(cc, opt, p, w);
            return;
        }
        const QPalette &pal = opt->palette;
        const bool enabled = opt->state & State_Enabled;
        p->save();
        p->fillRect(opt->rect, pal.color(QPalette::Window));
        p->setPen(Qt::NoPen);
        for (const SubControl sc : {SC_ScrollBarSubLine, SC_ScrollBarAddLine}) {
            const QRect r = subControlRect(cc, sb, sc, w);
            if (r.isEmpty())
                continue;
            const bool down = (sb->activeSubControls & sc) && (opt->state & State_Sunken);
            p->fillRect(r, down ? pal.color(QPalette::Mid) : pal.color(QPalette::Button));
            // A small triangle pointing the way the button scrolls.
            const QPoint c = r.center();
            const int a = qMax(2, qMin(r.width(), r.height()) / 4);
            QPolygon tri;
            const bool toStart = sc == SC_ScrollBarSubLine;
            if (sb->orientation == Qt::Horizontal)
                tri << QPoint(c.x() + (toStart ? -a : a), c.y()) << QPoint(c.x() + (toStart ? a : -a), c.y() - a)
                    << QPoint(c.x() + (toStart ? a : -a), c.y() + a);
            else
                tri << QPoint(c.x(), c.y() + (toStart ? -a : a)) << QPoint(c.x() - a, c.y() + (toStart ? a : -a))
                    << QPoint(c.x() + a, c.y() + (toStart ? a : -a));
            p->setBrush(enabled ? pal.color(QPalette::ButtonText) : pal.color(QPalette::Mid));
            p->drawPolygon(tri);
        }
        const QRect slider = subControlRect(cc, sb, SC_ScrollBarSlider, w);
        if (enabled && sb->maximum > sb->minimum && !slider.isEmpty()) {
            const bool down = (sb->activeSubControls & SC_ScrollBarSlider) && (opt->state & State_Sunken);
            p->setPen(pal.color(QPalette::Mid));
            p->setBrush(down ? pal.color(QPalette::Midlight) : pal.color(QPalette::Button));
            p->drawRect(slider.adjusted(1, 1, -2, -2));
        }
        p->restore();
    }
};

} // namespace

// --- grid ---------------------------------------------------------------------------

DataGrid::DataGrid(QWidget *parent) : QTableView(parent), m_model(new GridModel(this))
{
    setModel(m_model);
    setItemDelegate(new GridDelegate(m_model, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setWordWrap(false);
    verticalScrollBar()->setStyle(FlatScrollBarStyle::instance());
    horizontalScrollBar()->setStyle(FlatScrollBarStyle::instance());
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSortIndicatorShown(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStretchLastSection(false);

    QPalette pal = palette();
    pal.setColor(QPalette::Highlight, selectionBackColor());
    pal.setColor(QPalette::HighlightedText, Qt::black);
    pal.setColor(QPalette::Inactive, QPalette::Highlight, selectionBackColor());
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
    setPalette(pal);

    setup();

    m_model->onUserEdit = [this](int row, int col) { onUserEdit(row, col); };
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &DataGrid::onCurrentChanged);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DataGrid::onHeaderClicked);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &idx) {
        if (idx.isValid())
            emit rowActivated(idx.row());
    });
}

DataGrid::~DataGrid() = default;

void DataGrid::setup(const QString &fontName, double pointSize, int rowHeight)
{
    QFont f(fontName);
    f.setPointSizeF(pointSize);
    setFont(f);
    horizontalHeader()->setFont(f);
    m_model->font = f;
    const int h = rowHeight > 0 ? rowHeight : QFontMetrics(f).height() + 8;
    verticalHeader()->setMinimumSectionSize(qMin(h, 12));
    verticalHeader()->setDefaultSectionSize(h);
}

void DataGrid::setStripes(const QColor &first, const QColor &second)
{
    m_model->stripe1 = first;
    m_model->stripe2 = second.isValid() ? second : first;
    if (!first.isValid())
        m_model->stripe2 = QColor();
    m_model->changedAll();
}

void DataGrid::clearStripes()
{
    setStripes(QColor(), QColor());
}

bool DataGrid::hasStripes() const
{
    return m_model->stripe1.isValid();
}

QColor DataGrid::effectiveBackground(int row, int col) const
{
    return m_model->background(row, col);
}

// --- columns ---------------------------------------------------------------------------

void DataGrid::setColumns(const QStringList &headers, const QList<int> &widths)
{
    m_model->beginReset();
    m_model->source = {};
    m_model->rows.clear();
    m_model->columns.clear();
    for (const QString &h : headers) {
        GridColumn c;
        c.header = h;
        c.resident = isResidentHeader(h);
        m_model->columns.append(c);
    }
    m_model->endReset();
    m_dirtyRow = -1;
    m_sortColumn = -1;
    horizontalHeader()->setSortIndicatorShown(false);
    setColumnWidths(widths);
}

int DataGrid::columnCount() const
{
    return int(m_model->columns.size());
}

QStringList DataGrid::headers() const
{
    QStringList l;
    for (const GridColumn &c : m_model->columns)
        l << c.header;
    return l;
}

QString DataGrid::headerText(int col) const
{
    return m_model->columns.value(col).header;
}

void DataGrid::setHeaderText(int col, const QString &text)
{
    if (col < 0 || col >= m_model->columns.size())
        return;
    m_model->columns[col].header = text;
    if (isResidentHeader(text) && !m_model->columns[col].resident) {
        m_model->columns[col].resident = true;
        for (GridRow &r : m_model->rows)
            r.setCell(col, maskedResidentNumber(r.cell(col)));
        m_model->changedAll();
    }
    m_model->headerChanged(col, col);
}

void DataGrid::setColumnWidths(const QList<int> &widths)
{
    for (int c = 0; c < widths.size() && c < columnCount(); ++c)
        if (widths.at(c) > 0)
            setColumnWidth(c, widths.at(c));
}

void DataGrid::setColumnAlignment(int col, Qt::Alignment align)
{
    if (col < 0 || col >= m_model->columns.size())
        return;
    m_model->columns[col].align = align & Qt::AlignHorizontal_Mask;
    m_model->changedAll();
}

Qt::Alignment DataGrid::columnAlignment(int col) const
{
    return m_model->columns.value(col).align;
}

void DataGrid::setColumnEditable(int col, bool editable)
{
    if (col < 0 || col >= m_model->columns.size())
        return;
    m_model->columns[col].editable = editable;
}

bool DataGrid::isColumnEditable(int col) const
{
    return m_model->columns.value(col).editable;
}

void DataGrid::setColumnChoices(int col, const QStringList &choices)
{
    if (col < 0 || col >= m_model->columns.size())
        return;
    m_model->columns[col].choices = choices;
    if (!choices.isEmpty())
        m_model->columns[col].editable = true;
}

QStringList DataGrid::columnChoices(int col) const
{
    return m_model->columns.value(col).choices;
}

void DataGrid::setCheckColumn(int col, bool on)
{
    if (col < 0 || col >= m_model->columns.size())
        return;
    m_model->columns[col].check = on;
    for (GridRow &r : m_model->rows) {
        if (on) {
            r.styleFor(col).flags |= Check;
            r.setCell(col, checkText(r.cell(col)));
        } else if (r.flags(col) & Check) {
            r.styleFor(col).flags &= ~Check;
        }
    }
    m_model->changedAll();
}

bool DataGrid::isCheckColumn(int col) const
{
    return m_model->columns.value(col).check;
}

void DataGrid::setCheckCells(int col1, int row1, int col2, int row2)
{
    for (int r = qMax(0, row1); r <= row2 && r < rowCount(); ++r)
        for (int c = qMax(0, col1); c <= col2 && c < columnCount(); ++c) {
            GridRow &row = m_model->rows[r];
            row.styleFor(c).flags |= Check;
            row.setCell(c, checkText(row.cell(c)));
        }
    m_model->changedAll();
}

// --- rows ------------------------------------------------------------------------------

int DataGrid::rowCount() const
{
    return int(m_model->rows.size());
}

int DataGrid::addRow(const QStringList &cells, const QVariant &key)
{
    return insertRow(rowCount(), cells, key);
}

int DataGrid::insertRow(int row, const QStringList &cells, const QVariant &key)
{
    if (row < 0 || row > rowCount())
        row = rowCount();
    m_model->beginInsert(row, row);
    m_model->rows.insert(row, m_model->makeRow(cells, key));
    m_model->endInsert();
    if (m_dirtyRow >= row)
        ++m_dirtyRow;
    return row;
}

void DataGrid::setRows(const QList<QStringList> &rows, const QVariantList &keys)
{
    m_model->beginReset();
    m_model->source = {};
    m_model->rows.clear();
    m_model->rows.reserve(rows.size());
    for (int i = 0; i < rows.size(); ++i)
        m_model->rows.append(m_model->makeRow(rows.at(i), keys.value(i)));
    m_model->endReset();
    m_dirtyRow = -1;
}

void DataGrid::removeRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    if (m_dirtyRow == row)
        m_dirtyRow = -1;
    else if (m_dirtyRow > row)
        --m_dirtyRow;
    // The current row changes as a side effect: announcing the removed row as
    // edited would save a row that is going away.
    const int dirty = m_dirtyRow;
    m_dirtyRow = -1;
    m_model->beginRemove(row, row);
    m_model->rows.removeAt(row);
    m_model->endRemove();
    m_dirtyRow = dirty;
}

void DataGrid::clearRows()
{
    m_dirtyRow = -1;
    m_model->source = {};
    if (m_model->rows.isEmpty())
        return;
    m_model->beginReset();
    m_model->rows.clear();
    m_model->endReset();
}

void DataGrid::setRowCount(int rows)
{
    rows = qMax(0, rows);
    if (rows < rowCount()) {
        if (m_dirtyRow >= rows)
            m_dirtyRow = -1;
        const int dirty = m_dirtyRow;
        m_dirtyRow = -1;
        m_model->beginRemove(rows, rowCount() - 1);
        m_model->rows.resize(rows);
        m_model->endRemove();
        m_dirtyRow = dirty;
    } else if (rows > rowCount()) {
        const int first = rowCount();
        m_model->beginInsert(first, rows - 1);
        for (int i = first; i < rows; ++i)
            m_model->rows.append(m_model->makeRow({}, {}));
        m_model->endInsert();
    }
}

QString DataGrid::cell(int row, int col) const
{
    return m_model->text(row, col);
}

void DataGrid::setCell(int row, int col, const QString &text)
{
    if (!m_model->valid(row, col))
        return;
    GridRow &r = m_model->rows[row];
    if (r.flags(col) & Check)
        r.setCell(col, checkText(text));
    else if (m_model->columns.at(col).resident)
        r.setCell(col, maskedResidentNumber(text));
    else
        r.setCell(col, text);
    m_model->changedCell(row, col);
}

QStringList DataGrid::rowCells(int row) const
{
    QStringList l;
    if (row < 0 || row >= rowCount())
        return l;
    const GridRow &r = m_model->rows.at(row);
    l.reserve(r.size());
    for (int c = 0; c < r.size(); ++c)
        l << r.cell(c);
    return l;
}

QVariant DataGrid::rowKey(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return m_model->rows.at(row).key;
}

void DataGrid::setRowKey(int row, const QVariant &key)
{
    if (row < 0 || row >= rowCount())
        return;
    m_model->rows[row].key = key;
}

int DataGrid::findRow(int col, const QString &value) const
{
    if (col < 0 || col >= columnCount())
        return -1;
    for (int r = 0; r < rowCount(); ++r)
        if (m_model->rows.at(r).view(col) == value)
            return r;
    return -1;
}

int DataGrid::findKey(const QVariant &key) const
{
    // Keys of the same type compare as they are; a key of another type (a
    // code kept as a number, asked for as text) compares as text.
    const QString keyText = key.isValid() ? key.toString() : QString();
    for (int r = 0; r < rowCount(); ++r) {
        const QVariant &k = m_model->rows.at(r).key;
        if (k == key)
            return r;
        if (k.isValid() && key.isValid() && k.metaType() != key.metaType() && k.toString() == keyText)
            return r;
    }
    return -1;
}

bool DataGrid::isChecked(int row, int col) const
{
    return m_model->valid(row, col) && m_model->rows.at(row).view(col) == kChecked;
}

void DataGrid::setChecked(int row, int col, bool checked)
{
    if (!m_model->valid(row, col))
        return;
    m_model->rows[row].setCell(col, checked ? kChecked : kUnchecked);
    m_model->changedCell(row, col);
}

// --- colours ---------------------------------------------------------------------------

void DataGrid::setCellForeground(int row, int col, const QColor &color)
{
    if (!m_model->valid(row, col))
        return;
    CellStyle &c = m_model->styleFor(row, col);
    if (color.isValid()) {
        c.fore = color.rgb();
        c.flags |= HasFore;
    } else {
        c.flags &= ~HasFore;
    }
    m_model->changedCell(row, col);
}

void DataGrid::setCellBackground(int row, int col, const QColor &color)
{
    if (!m_model->valid(row, col))
        return;
    CellStyle &c = m_model->styleFor(row, col);
    if (color.isValid()) {
        c.back = color.rgb();
        c.flags |= HasBack;
    } else {
        c.flags &= ~HasBack;
    }
    m_model->changedCell(row, col);
}

QColor DataGrid::cellForeground(int row, int col) const
{
    const CellStyle c = m_model->style(row, col);
    return (c.flags & HasFore) ? QColor::fromRgb(c.fore) : QColor();
}

QColor DataGrid::cellBackground(int row, int col) const
{
    const CellStyle c = m_model->style(row, col);
    return (c.flags & HasBack) ? QColor::fromRgb(c.back) : QColor();
}

void DataGrid::setCellBold(int row, int col, bool bold)
{
    if (!m_model->valid(row, col))
        return;
    CellStyle &c = m_model->styleFor(row, col);
    if (bold)
        c.flags |= Bold;
    else
        c.flags &= ~Bold;
    m_model->changedCell(row, col);
}

bool DataGrid::isCellBold(int row, int col) const
{
    return m_model->cellFlags(row, col) & Bold;
}

void DataGrid::setCellAlignment(int row, int col, Qt::Alignment align)
{
    if (!m_model->valid(row, col))
        return;
    CellStyle &c = m_model->styleFor(row, col);
    c.align = quint16(align & Qt::AlignHorizontal_Mask);
    c.flags |= HasAlign;
    m_model->changedCell(row, col);
}

void DataGrid::colorRow(int row, const QColor &back)
{
    colorBlock(0, row, columnCount() - 1, row, back);
}

void DataGrid::setRowForeground(int row, const QColor &fore)
{
    for (int c = 0; c < columnCount(); ++c)
        setCellForeground(row, c, fore);
}

void DataGrid::colorBlock(int col1, int row1, int col2, int row2, const QColor &back)
{
    for (int r = qMax(0, row1); r <= row2 && r < rowCount(); ++r)
        for (int c = qMax(0, col1); c <= col2 && c < columnCount(); ++c)
            setCellBackground(r, c, back);
}

void DataGrid::setRowBold(int row, bool bold)
{
    for (int c = 0; c < columnCount(); ++c)
        setCellBold(row, c, bold);
}

void DataGrid::setTotalRow(int row, const QColor &back)
{
    if (row < 0 || row >= rowCount())
        return;
    m_model->markTotal(row, back);
    m_model->changedRow(row);
}

bool DataGrid::isTotalRow(int row) const
{
    return row >= 0 && row < rowCount() && m_model->rows.at(row).total;
}

int DataGrid::addTotalRow(const QStringList &cells, const QColor &back)
{
    const int row = addRow(cells);
    setTotalRow(row, back);
    return row;
}

// --- sorting ----------------------------------------------------------------------------

void DataGrid::setHeaderSorting(bool on)
{
    m_headerSorting = on;
    if (!on)
        horizontalHeader()->setSortIndicatorShown(false);
}

void DataGrid::sortRows(const QList<SortKey> &keys)
{
    m_model->readAll();
    if (rowCount() < 2 || keys.isEmpty())
        return;
    commitEdits();
    const QList<GridRow> &rows = m_model->rows;
    QList<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);

    // Each cell read as a number once, not at every comparison.
    QList<SortKey> used;
    for (const SortKey &k : keys)
        if (k.col >= 0 && k.col < columnCount())
            used.append(k);
    QList<QList<std::optional<double>>> numbers(used.size());
    for (int k = 0; k < used.size(); ++k) {
        numbers[k].reserve(rows.size());
        for (const GridRow &r : rows)
            numbers[k].append(numericValue(r.view(used.at(k).col)));
    }
    auto compareCells = [&](int k, int x, int y) {
        const std::optional<double> &na = numbers.at(k).at(x), &nb = numbers.at(k).at(y);
        const QStringView a = rows.at(x).view(used.at(k).col), b = rows.at(y).view(used.at(k).col);
        if (na && nb)
            return *na < *nb ? -1 : (*na > *nb ? 1 : 0);
        if (na != std::nullopt && !nb)
            return b.isEmpty() ? 1 : -1; // numbers before text, empty first
        if (!na && nb)
            return a.isEmpty() ? -1 : 1;
        return a.compare(b);
    };
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        const GridRow &a = rows.at(x), &b = rows.at(y);
        if (a.total != b.total)
            return !a.total;
        if (a.total)
            return false; // total rows keep their order
        for (int k = 0; k < used.size(); ++k) {
            const int c = compareCells(k, x, y);
            if (c != 0)
                return used.at(k).order == Qt::AscendingOrder ? c < 0 : c > 0;
        }
        return false;
    });
    m_model->permute(order);
}

void DataGrid::onHeaderClicked(int section)
{
    if (!m_headerSorting || section < 0 || section >= columnCount())
        return;
    if (m_sortColumn == section)
        m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else
        m_sortOrder = Qt::AscendingOrder;
    m_sortColumn = section;
    sortRows({{section, m_sortOrder}});
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(section, m_sortOrder);
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

// --- current row ------------------------------------------------------------------------

int DataGrid::currentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

int DataGrid::currentColumn() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() : -1;
}

void DataGrid::setCurrentRow(int row, int col)
{
    if (row < 0 || row >= rowCount() || columnCount() == 0) {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        return;
    }
    if (col < 0 || col >= columnCount())
        col = currentColumn() >= 0 ? currentColumn() : 0;
    const QModelIndex i = m_model->index(row, col);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(i);
    // A grid not yet shown has no width of its own: scrolling to a column
    // would leave it opened scrolled to the right, its first columns hidden.
    if (!isVisible())
        horizontalScrollBar()->setValue(0);
}

void DataGrid::setCurrentCell(int row, int col)
{
    setCurrentRow(row, col);
}

QString DataGrid::cellText(int row, int col) const
{
    if (row == -2)
        row = currentRow();
    if (col == -2)
        col = currentColumn();
    return cell(row, col);
}

QList<int> DataGrid::checkedRows(int col) const
{
    QList<int> l;
    for (int r = 0; r < rowCount(); ++r)
        if (isChecked(r, col))
            l << r;
    return l;
}

// --- editing -----------------------------------------------------------------------------

void DataGrid::onUserEdit(int row, int col)
{
    m_dirtyRow = row;
    emit cellEdited(row, col);
}

void DataGrid::commitEdits()
{
    if (state() == QAbstractItemView::EditingState) {
        // Closing the editor commits its text through the delegate.
        QWidget *editor = indexWidget(currentIndex());
        if (!editor)
            editor = QApplication::focusWidget();
        if (editor && editor != this && isAncestorOf(editor)) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
    if (m_dirtyRow >= 0) {
        const int row = m_dirtyRow;
        m_dirtyRow = -1;
        emit rowEdited(row);
    }
}

void DataGrid::onCurrentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    const int row = current.isValid() ? current.row() : -1;
    const int prev = previous.isValid() ? previous.row() : -1;
    if (row == prev)
        return;
    if (m_dirtyRow >= 0 && m_dirtyRow != row) {
        const int edited = m_dirtyRow;
        m_dirtyRow = -1;
        emit rowEdited(edited);
    }
    emit currentRowChanged(row, prev);
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    if (state() != QAbstractItemView::EditingState) {
        const int row = currentRow();
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (row >= 0) {
                emit rowActivated(row);
                event->accept();
                return;
            }
            break;
        case Qt::Key_Delete:
            if (row >= 0) {
                emit deleteRequested(row);
                event->accept();
                return;
            }
            break;
        default:
            break;
        }
    }
    QTableView::keyPressEvent(event);
}

// --- streamed lists ---------------------------------------------------------------------

void streamGridRows(DataGrid &grid, GridPagedSource source, int pageRows)
{
    grid.clearRows();
    auto *model = static_cast<GridModel *>(grid.model());
    model->pageRows = qMax(1, pageRows);
    model->source = std::move(source);
    model->readPage(model->pageRows);
}

void streamGridRows(DataGrid &grid, GridRowSource source, int pageRows)
{
    streamGridRows(
        grid,
        GridPagedSource([source = std::move(source)](int maxRows, const GridPageSink &deliver) {
            GridPage page = source(maxRows);
            const bool more = page.more;
            deliver(std::move(page));
            return more;
        }),
        pageRows);
}

bool gridHasMoreRows(const DataGrid &grid)
{
    return bool(static_cast<const GridModel *>(grid.model())->source);
}

void fetchAllGridRows(const DataGrid &grid)
{
    static_cast<GridModel *>(grid.model())->readAll();
}

} // namespace fitrova
