#pragma once
// Nothing typed is lost on closing an editing screen. A screen attaches one
// UnsavedChanges with its save function and marks itself clean whenever what
// it shows matches the database (after loading, saving, clearing). Closing it
// with changes — its close button, the window's X, Esc in a dialog, the main
// window closing — asks "변경된 내용을 저장하시겠습니까?": 예 saves (and stays
// open when the save is refused), 아니오 discards, 취소 stays. Nothing asks
// when nothing changed.
//
//     m_unsaved = new UnsavedChanges(this, ui.msg, [this] { return save(); });
//     ...
//     fillInputs(member);
//     m_unsaved->markClean();
//
// Buttons that close a dialog with accept()/reject() ask first:
//
//     if (UnsavedChanges::mayClose(this)) reject();
//
// What counts is every input under the screen: line edits, combo boxes,
// check boxes and radio buttons, date fields and text boxes (not the cells of
// grids). Inputs that are not part of the record (a search box) are left out
// with ignore(); a grid whose cells are part of the record (a fee table saved
// with the screen, not row by row) is added with watch().

#include <QObject>
#include <QSet>
#include <QStringList>
#include <functional>

class QWidget;

namespace fitrova {

class Messages;

class UnsavedChanges : public QObject {
    Q_OBJECT
public:
    UnsavedChanges(QWidget *screen, Messages &msg, std::function<bool()> save);

    // What the inputs hold now counts as saved.
    void markClean();
    // The same for the screen's attached UnsavedChanges; nothing before one
    // is attached (a screen loading in its constructor attaches afterwards).
    static void markCleanOf(QWidget *screen);
    bool isDirty() const;
    void ignore(QWidget *input);
    void watch(class DataGrid *grid);
    // A screen of several pages, each saved on its own, tracks each page with
    // an UnsavedChanges of its own and tells this one how to know it changed.
    void setDirtyCheck(std::function<bool()> dirty) { m_dirty = std::move(dirty); }

    // True when the screen may close: nothing changed, 예 and the save
    // succeeded, or 아니오.
    bool confirmClose();
    // The same for any screen: true when it has no UnsavedChanges attached.
    static bool mayClose(QWidget *screen);

    static QString questionText() { return QStringLiteral("변경된 내용을 저장하시겠습니까?"); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QStringList snapshot() const;

    QWidget *m_screen;
    Messages &m_msg;
    std::function<bool()> m_save;
    std::function<bool()> m_dirty;
    QStringList m_clean;
    QSet<const QWidget *> m_ignored;
    QList<DataGrid *> m_grids;
    bool m_asking = false;
};

} // namespace fitrova
