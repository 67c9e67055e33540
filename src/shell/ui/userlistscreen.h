#pragma once
// The user list (사용자등록): every user with grade and state, never the
// password. New and Edit open the user editor; Delete removes a user who has
// recorded no sale and no enrollment.

#include "widgets/uicontext.h"

#include <QWidget>

class QPushButton;

namespace fitrova {

class DataGrid;

class UserListScreen : public QWidget {
    Q_OBJECT
public:
    explicit UserListScreen(UiContext &ui, QWidget *parent = nullptr);

    // Fills the grid again (DisUSER); selects the user of psCode when given.
    void refresh(const QString &selectPsCode = {});
    DataGrid *grid() const { return m_grid; }

private:
    void openEditor(bool isNew);
    void deleteCurrent();
    QString currentPsCode() const;

    UiContext &m_ui;
    DataGrid *m_grid;
};

} // namespace fitrova
