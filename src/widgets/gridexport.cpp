#include "widgets/gridexport.h"

#include "foundation/appcontext.h"
#include "data/clock.h"
#include "widgets/datagrid.h"
#include "widgets/gridstream.h"
#include "widgets/messages.h"
#include "widgets/uicontext.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <xlsxwriter.h>

namespace fitrova {

namespace {

enum class CellKind { Text, Number, GroupedNumber };

// Whole numbers without a leading zero (codes like "0001" stay text), with
// or without thousands separators, and plain decimals become numbers.
CellKind kindOf(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^-?(0|[1-9]\\d{0,14})(\\.\\d+)?$"));
    static const QRegularExpression grouped(QStringLiteral("^-?[1-9]\\d{0,2}(,\\d{3}){1,4}$"));
    if (plain.match(text).hasMatch())
        return CellKind::Number;
    if (grouped.match(text).hasMatch())
        return CellKind::GroupedNumber;
    return CellKind::Text;
}

} // namespace

ExportResult exportGridToExcel(const QString &name, const DataGrid &grid, const QString &excelDir,
                               const Clock &clock)
{
    ExportResult result;
    // A streamed list is exported whole, not only the part scrolled through.
    fetchAllGridRows(grid);
    if (grid.rowCount() == 0)
        return result;

    const QDateTime now = clock.now();
    const QString fileName = name + now.toString(QStringLiteral("yyyyMMdd"))
        + now.toString(QStringLiteral("hhmmss")) + QStringLiteral(".xlsx");
    const QString path = QDir(excelDir).filePath(fileName);

    auto fail = [&result] {
        result.ok = false;
        result.message = QStringLiteral("엑셀파일로 저장하지 못하였습니다.");
        result.title = QStringLiteral("확인");
        return result;
    };
    if (excelDir.isEmpty() || !QDir().mkpath(excelDir))
        return fail();

    const QByteArray encodedPath = QFile::encodeName(path);
    lxw_workbook *wb = workbook_new(encodedPath.constData());
    if (!wb)
        return fail();
    lxw_worksheet *ws = workbook_add_worksheet(wb, "Sheet1");
    lxw_format *headFormat = workbook_add_format(wb);
    format_set_bold(headFormat);
    format_set_align(headFormat, LXW_ALIGN_CENTER);
    lxw_format *groupedFormat = workbook_add_format(wb);
    format_set_num_format(groupedFormat, "#,##0");

    bool ok = ws != nullptr;
    const int cols = grid.columnCount();
    for (int c = 0; ok && c < cols; ++c) {
        const QByteArray h = grid.headerText(c).toUtf8();
        ok = worksheet_write_string(ws, 0, lxw_col_t(c), h.constData(), headFormat) == LXW_NO_ERROR;
        // Screen pixels to character widths, roughly.
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), qMax(4.0, grid.columnWidth(c) / 7.0), nullptr);
    }
    for (int r = 0; ok && r < grid.rowCount(); ++r) {
        for (int c = 0; ok && c < cols; ++c) {
            const QString text = grid.cell(r, c);
            if (text.isEmpty())
                continue;
            const lxw_row_t row = lxw_row_t(r + 1);
            switch (grid.isCheckColumn(c) ? CellKind::Text : kindOf(text)) {
            case CellKind::Number:
                ok = worksheet_write_number(ws, row, lxw_col_t(c), text.toDouble(), nullptr) == LXW_NO_ERROR;
                break;
            case CellKind::GroupedNumber:
                ok = worksheet_write_number(ws, row, lxw_col_t(c), QString(text).remove(QLatin1Char(',')).toDouble(),
                                            groupedFormat)
                    == LXW_NO_ERROR;
                break;
            case CellKind::Text: {
                const QByteArray utf8 = text.toUtf8();
                ok = worksheet_write_string(ws, row, lxw_col_t(c), utf8.constData(), nullptr) == LXW_NO_ERROR;
                break;
            }
            }
        }
    }
    const lxw_error closed = workbook_close(wb);
    if (!ok || closed != LXW_NO_ERROR) {
        QFile::remove(path);
        return fail();
    }
    result.ok = true;
    result.path = path;
    return result;
}

ExportResult exportGridForUser(UiContext &ui, const QString &name, const DataGrid &grid)
{
    const ExportResult r = exportGridToExcel(name, grid, ui.app.paths.excelDir, ui.app.clock());
    if (!r.ok && !r.message.isEmpty())
        ui.msg.warn(r.message, r.title);
    else if (r.ok)
        ui.msg.notice(QString(QStringLiteral("엑셀파일로 저장하였습니다.\n") + r.path), 2500);
    return r;
}

} // namespace fitrova
