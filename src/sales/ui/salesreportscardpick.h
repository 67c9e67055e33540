#pragma once
// 카드사조회: the card companies (code, name) to pick one from; Enter or a
// double click picks, Esc cancels.

#include "widgets/uicontext.h"

#include <QDialog>

namespace fitrova {

class DataGrid;

class CardCompanyPick : public QDialog {
    Q_OBJECT
public:
    explicit CardCompanyPick(UiContext &ui, QWidget *parent = nullptr);
    DataGrid *grid() const { return m_grid; }
    // The code picked; "" until one is.
    QString code;
    QString name;
    bool pick(int row);

private:
    DataGrid *m_grid;
};

} // namespace fitrova
