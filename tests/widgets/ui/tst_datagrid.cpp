// The list grid: rows, keys, colours, check cells, sorting, editing signals.

#include <QtTest>

#include "widgets/datagrid.h"

#include <QElapsedTimer>
#include <QComboBox>
#include <QLineEdit>

using namespace fitrova;

class TstDataGrid : public QObject {
    Q_OBJECT
private slots:
    void fillsTwoThousandRowsQuickly()
    {
        DataGrid grid;
        grid.resize(900, 600);
        grid.show();
        grid.setColumns({"회원번호", "이름", "전화", "프로그램", "시작일", "종료일", "금액", "비고"},
                        {80, 80, 110, 160, 90, 90, 90, 120});
        QList<QStringList> rows;
        for (int i = 0; i < 2000; ++i)
            rows << QStringList{QString::number(i).rightJustified(8, '0'), "홍길동", "010-1234-5678",
                                "아침수영 06:00~07:00", "2024-05-01", "2024-05-31", "120,000", "메모"};
        grid.addRow(rows.first());
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.clearRows();
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < rows.size(); ++i)
            grid.addRow(rows.at(i), i);
        const qint64 loop = t.elapsed();
        QCoreApplication::processEvents();
        const qint64 ms = t.elapsed();
        qInfo("2000 rows by addRow: %lld ms (%lld ms adding, the rest painting)", ms, loop);
        QVERIFY2(ms < 100, qPrintable(QString::number(ms)));
        QCOMPARE(grid.rowCount(), 2000);
        QCOMPARE(grid.rowKey(1999).toInt(), 1999);

        t.restart();
        grid.setRows(rows);
        QCoreApplication::processEvents();
        qInfo("2000 rows by setRows: %lld ms", t.elapsed());
        QCOMPARE(grid.rowCount(), 2000);
    }

    // A resident-number column masks whatever a list hands it, however the
    // cell is set, so the screen, the print and the export cannot show it.
    void residentColumnIsMasked_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("how");
        for (const char *h : {"주민번호", "주민등록번호", "주 민 번 호"})
            for (const char *how : {"setRows", "addRow", "insertRow", "setCell", "header later"})
                QTest::newRow(qPrintable(QString("%1 %2").arg(h, how))) << QString(h) << QString(how);
    }
    void residentColumnIsMasked()
    {
        QFETCH(QString, header);
        QFETCH(QString, how);
        DataGrid grid;
        grid.setColumns({"회원번호", how == "header later" ? "비고" : header});
        const QStringList cells{"00000001", "800408-2564385"};
        if (how == "setRows" || how == "header later")
            grid.setRows({cells, {"00000002", ""}});
        else if (how == "addRow")
            grid.addRow(cells);
        else if (how == "insertRow")
            grid.insertRow(0, cells);
        else {
            grid.addRow({"00000001", ""});
            grid.setCell(0, 1, cells.at(1));
        }
        if (how == "header later")
            grid.setHeaderText(1, header);
        QCOMPARE(grid.cell(0, 1), QString("800408-2******"));
        QCOMPARE(grid.rowCells(0).at(1), QString("800408-2******"));
        QCOMPARE(grid.cell(0, 0), QString("00000001"));
    }

    void cellsKeysAndFind()
    {
        DataGrid grid;
        grid.setColumns({"코드", "이름", "금액"});
        QCOMPARE(grid.headers(), QStringList({"코드", "이름", "금액"}));
        grid.addRow({"01", "수영"}, 11);
        grid.addRow({"02", "헬스", "1,000"}, "k2");
        QCOMPARE(grid.cell(0, 2), QString()); // missing cells are empty
        QCOMPARE(grid.findRow(1, "헬스"), 1);
        QCOMPARE(grid.findRow(1, "헬"), -1); // whole text only
        QCOMPARE(grid.findRow(7, "헬스"), -1);
        QCOMPARE(grid.findKey(11), 0);
        QCOMPARE(grid.findKey("11"), 0);
        QCOMPARE(grid.findKey("k2"), 1);

        grid.insertRow(0, {"00", "처음"}, 0);
        QCOMPARE(grid.cell(0, 1), QString("처음"));
        QCOMPARE(grid.rowKey(2).toString(), QString("k2"));
        grid.removeRow(0);
        QCOMPARE(grid.rowCells(0), QStringList({"01", "수영", ""}));
        QCOMPARE(grid.cell(-1, 0), QString());
        QCOMPARE(grid.cell(5, 0), QString());

        grid.setCurrentCell(1, 1);
        QCOMPARE(grid.cellText(-2, -2), QString("헬스"));
        QCOMPARE(grid.cellText(-2, 0), QString("02"));

        grid.clearRows();
        QCOMPARE(grid.rowCount(), 0);
        QCOMPARE(grid.columnCount(), 3);
        grid.setRowCount(3);
        QCOMPARE(grid.rowCount(), 3);
        QCOMPARE(grid.cell(2, 0), QString());
    }

    void sortKeepsKeysColoursAndTotals_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("number ascending") << 1 << 1 << QStringList{"다", "가", "나", "합계"};
        QTest::newRow("number descending") << 1 << 2 << QStringList{"나", "가", "다", "합계"};
        QTest::newRow("text ascending") << 0 << 1 << QStringList{"가", "나", "다", "합계"};
    }
    void sortKeepsKeysColoursAndTotals()
    {
        QFETCH(int, column);
        QFETCH(int, clicks);
        QFETCH(QStringList, names);
        DataGrid grid;
        grid.setColumns({"이름", "금액"});
        grid.addRow({"나", "1,200"}, "n");
        grid.addRow({"가", "900"}, "g");
        grid.addRow({"다", "85"}, "d");
        grid.addTotalRow({"합계", "2,185"});
        grid.colorRow(1, Qt::yellow);
        grid.setCellForeground(2, 0, Qt::red);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {},
                              QPoint(grid.horizontalHeader()->sectionViewportPosition(column) + 5, 5));
        QStringList got;
        for (int r = 0; r < grid.rowCount(); ++r)
            got << grid.cell(r, 0);
        QCOMPARE(got, names);
        const int g = grid.findRow(0, "가"), d = grid.findRow(0, "다");
        QCOMPARE(grid.rowKey(g).toString(), QString("g"));
        QCOMPARE(grid.cellBackground(g, 1), QColor(Qt::yellow));
        QCOMPARE(grid.cellForeground(d, 0), QColor(Qt::red));
        QVERIFY(!grid.cellBackground(d, 1).isValid());
        QVERIFY(grid.isTotalRow(3));
        QVERIFY(grid.isCellBold(3, 1));
    }

    void multiKeySort()
    {
        DataGrid grid;
        grid.setColumns({"반", "이름"});
        grid.setRows({{"2", "나"}, {"1", "다"}, {"2", "가"}, {"10", "라"}, {"", "빈"}});
        grid.sortRows({{0, Qt::AscendingOrder}, {1, Qt::DescendingOrder}});
        QStringList got;
        for (int r = 0; r < grid.rowCount(); ++r)
            got << grid.cell(r, 0) + grid.cell(r, 1);
        QCOMPARE(got, QStringList({"빈", "1다", "2나", "2가", "10라"}));
    }

    void checkCells()
    {
        DataGrid grid;
        grid.setColumns({"선택", "이름"});
        grid.setCheckColumn(0);
        grid.setColumnEditable(0);
        grid.addRow({"1", "가"});
        grid.addRow({"", "나"});
        grid.addRow({"yes", "다"});
        QVERIFY(grid.isChecked(0, 0));
        QVERIFY(!grid.isChecked(1, 0));
        QCOMPARE(grid.cell(1, 0), QString("0"));
        QCOMPARE(grid.cell(2, 0), QString("0"));
        grid.setChecked(1, 0, true);
        QCOMPARE(grid.checkedRows(0), QList<int>({0, 1}));

        // The user toggles with a click anywhere in the cell.
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy edited(&grid, &DataGrid::cellEdited);
        const QRect r = grid.visualRect(grid.model()->index(2, 0));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, r.center());
        QVERIFY(grid.isChecked(2, 0));
        QCOMPARE(edited.count(), 1);
        QCOMPARE(grid.model()->index(2, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(!grid.model()->index(2, 0).data(Qt::DisplayRole).isValid());
    }

    void rowEditedWhenLeavingAnEditedRow()
    {
        DataGrid grid;
        grid.setColumns({"코드", "이름"});
        grid.setColumnEditable(1);
        grid.addRow({"01", "수영"});
        grid.addRow({"02", "헬스"});
        grid.addRow({"03", "요가"});
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy rowEdited(&grid, &DataGrid::rowEdited);

        grid.setCurrentCell(0, 1);
        // Moving without an edit says nothing.
        grid.setCurrentCell(1, 1);
        QCOMPARE(rowEdited.count(), 0);

        grid.edit(grid.model()->index(1, 1));
        auto *editor = grid.viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText("필라테스");
        // Staying in the row (another column) is not leaving it.
        grid.setCurrentCell(1, 0);
        QTRY_COMPARE(grid.cell(1, 1), QString("필라테스"));
        QCOMPARE(rowEdited.count(), 0);
        QVERIFY(grid.isRowDirty());
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(grid.currentRow(), 2);
        QCOMPARE(rowEdited.count(), 1);
        QCOMPARE(rowEdited.at(0).at(0).toInt(), 1);
        QVERIFY(!grid.isRowDirty());

        // Programmatic changes are not user edits.
        grid.setCell(2, 1, "바뀜");
        grid.setCurrentCell(0, 0);
        QCOMPARE(rowEdited.count(), 1);

        // commitEdits announces a pending edit at once.
        grid.model()->setData(grid.model()->index(0, 1), "새이름", Qt::EditRole);
        grid.commitEdits();
        QCOMPARE(rowEdited.count(), 2);
        QCOMPARE(rowEdited.at(1).at(0).toInt(), 0);
        grid.commitEdits();
        QCOMPARE(rowEdited.count(), 2);
    }

    void dropDownCells()
    {
        DataGrid grid;
        grid.setColumns({"코드", "구분"});
        grid.setColumnChoices(1, {"사용", "미사용"});
        grid.addRow({"01", "사용"});
        grid.addRow({"02", "사용"});
        QVERIFY(!(grid.model()->flags(grid.model()->index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(grid.model()->flags(grid.model()->index(0, 1)) & Qt::ItemIsEditable);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy rowEdited(&grid, &DataGrid::rowEdited);
        grid.setCurrentCell(0, 1);
        grid.edit(grid.currentIndex());
        auto *combo = grid.viewport()->findChild<QComboBox *>();
        QVERIFY(combo);
        QCOMPARE(combo->currentText(), QString("사용"));
        combo->setCurrentIndex(1);
        grid.setCurrentCell(1, 1);
        QTRY_COMPARE(grid.cell(0, 1), QString("미사용"));
        QCOMPARE(rowEdited.count(), 1);
    }

    void keysActivateAndDelete()
    {
        DataGrid grid;
        grid.setColumns({"코드"});
        grid.addRow({"01"});
        grid.addRow({"02"});
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy activated(&grid, &DataGrid::rowActivated);
        QSignalSpy deleted(&grid, &DataGrid::deleteRequested);
        grid.setCurrentRow(1);
        QTest::keyClick(&grid, Qt::Key_Return);
        QTest::keyClick(&grid, Qt::Key_Delete);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), 1);
        QCOMPARE(deleted.count(), 1);
        QCOMPARE(deleted.at(0).at(0).toInt(), 1);
        QCOMPARE(grid.rowCount(), 2); // the screen deletes, not the grid

        const QPoint first = grid.visualRect(grid.model()->index(0, 0)).center();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, first);
        QCOMPARE(activated.count(), 2);
        QCOMPARE(activated.at(1).at(0).toInt(), 0);
    }

    void stripesAndOwnColours()
    {
        DataGrid grid;
        grid.setColumns({"a", "b"});
        grid.setRows({{"1"}, {"2"}, {"3"}});
        QVERIFY(!grid.effectiveBackground(0, 0).isValid());
        grid.setStripes(Qt::white, QColor(0xEE, 0xEE, 0xEE));
        QCOMPARE(grid.effectiveBackground(0, 0), QColor(Qt::white));
        QCOMPARE(grid.effectiveBackground(1, 0), QColor(0xEE, 0xEE, 0xEE));
        grid.colorBlock(0, 1, 0, 2, Qt::cyan);
        QCOMPARE(grid.effectiveBackground(1, 0), QColor(Qt::cyan));
        QCOMPARE(grid.effectiveBackground(1, 1), QColor(0xEE, 0xEE, 0xEE));
        QCOMPARE(grid.effectiveBackground(2, 0), QColor(Qt::cyan));
        QCOMPARE(DataGrid::selectionBackColor(), QColor(0xBD, 0xF4, 0xFA));
    }

    // What a painted cell shows: its own background, the selection, the
    // stripes, and its text in its own colour, with nothing drawn outside.
    void paintedCellsShowTheirStyles_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QColor>("back");
        QTest::addColumn<QColor>("text");
        QTest::newRow("stripe, plain text") << 1 << QColor(0xEE, 0xEE, 0xEE) << QColor(Qt::black);
        QTest::newRow("own background and colour") << 2 << QColor(Qt::cyan) << QColor(Qt::red);
        QTest::newRow("selected row") << 3 << DataGrid::selectionBackColor() << QColor(Qt::black);
        QTest::newRow("total row") << 5 << DataGrid::totalBackColor() << QColor(Qt::black);
    }

    void paintedCellsShowTheirStyles()
    {
        QFETCH(int, row);
        QFETCH(QColor, back);
        QFETCH(QColor, text);
        DataGrid grid;
        grid.setColumns({"회원번호", "이름"}, {90, 120});
        grid.setStripes(Qt::white, QColor(0xEE, 0xEE, 0xEE));
        for (int i = 0; i < 5; ++i)
            grid.addRow({QString::number(i + 1).rightJustified(8, '0'), QStringLiteral("김철수")});
        grid.colorRow(2, Qt::cyan);
        grid.setRowForeground(2, Qt::red);
        grid.addTotalRow({"", QStringLiteral("합계 12명 (아주 긴 글자는 칸 안에서 잘립니다)")});
        grid.resize(260, 240);
        grid.show();
        grid.setCurrentRow(3);
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QImage img = grid.viewport()->grab().toImage();
        const QRect cell = grid.visualRect(grid.model()->index(row, 1));
        QCOMPARE(QColor(img.pixel(cell.left() + 1, cell.top() + 1)), back);
        QCOMPARE(QColor(img.pixel(cell.right() - 1, cell.bottom() - 1)), back);
        // The text's darkest pixels are of its colour.
        int darkest = 255 * 3, textPixels = 0;
        QColor found;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor c(img.pixel(x, y));
                if (c != back)
                    ++textPixels;
                if (c.red() + c.green() + c.blue() < darkest && c != back) {
                    darkest = c.red() + c.green() + c.blue();
                    found = c;
                }
            }
        QVERIFY(textPixels > 20);
        // (smoothed edges: near the colour, not on it)
        QVERIFY2(qAbs(found.red() - text.red()) < 40 && qAbs(found.green() - text.green()) < 40
                     && qAbs(found.blue() - text.blue()) < 40,
                 qPrintable(found.name()));
        // Text cut to its column: the next cell's first pixels keep their background.
        if (row == 5) {
            const QRect right = cell.translated(cell.width(), 0);
            if (right.left() + 2 < img.width())
                QCOMPARE(QColor(img.pixel(right.left() + 2, right.center().y())).rgb(), QColor(img.pixel(right.left() + 2, right.top() + 1)).rgb());
        }
    }

    void lookOfTheGrid()
    {
        DataGrid grid;
        grid.setColumns({"선택", "회원번호", "이름", "프로그램", "금액"}, {40, 90, 80, 200, 90});
        grid.setCheckColumn(0);
        grid.setColumnAlignment(4, Qt::AlignRight);
        grid.setStripes(Qt::white);
        for (int i = 0; i < 12; ++i)
            grid.addRow({i % 3 ? "0" : "1", QString::number(i + 1).rightJustified(8, '0'), "김철수",
                         "아침수영 06:00~07:00", QLocale(QLocale::Korean).toString(i * 15000)});
        grid.setCellForeground(2, 2, Qt::red);
        grid.addTotalRow({"", "", "합계", "", "990,000"});
        grid.resize(540, 380);
        grid.show();
        grid.setCurrentRow(4);
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.grab().save(QDir::temp().filePath("fitrova_datagrid.png"));
    }
};

QTEST_MAIN(TstDataGrid)
#include "tst_datagrid.moc"
