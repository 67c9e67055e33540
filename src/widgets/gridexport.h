#pragma once
// The spreadsheet export of a grid into the installation's EXCEL folder.

#include <QString>

namespace fitrova {

class Clock;
class DataGrid;
struct UiContext;

struct ExportResult {
    bool ok = false;
    QString path;    // the file written
    QString message; // failure text for the user ("" when ok or nothing to do)
    QString title;
};

// Writes {excelDir}/{name}{YYYYMMDD}{hhmmss}.xlsx (sheet "Sheet1"): the header
// row, then every row's cell texts; check cells as their text. Whole numbers
// (with or without thousands separators, no leading zero) become numbers, all
// else text. A grid without rows writes nothing (ok false, no message). On
// failure: message "엑셀파일로 저장하지 못하였습니다.", title "확인".
ExportResult exportGridToExcel(const QString &name, const DataGrid &grid, const QString &excelDir,
                               const Clock &clock);

// The 엑셀 command of a screen: exports the grid into the installation's
// EXCEL folder and tells the user where the file went, or why it could not
// be written. Returns the export's result.
ExportResult exportGridForUser(UiContext &ui, const QString &name, const DataGrid &grid);

} // namespace fitrova
