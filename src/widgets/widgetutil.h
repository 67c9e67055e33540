#pragma once
// Keyboard, window and drop-down routines shared by every screen.

#include "data/listitems.h"

#include <QList>
#include <QString>
#include <QVariant>

class QComboBox;
class QLineEdit;
class QMdiArea;
class QWidget;

namespace fitrova {

class Messages;

// --- keyboard ---------------------------------------------------------------

// Enter (Return or keypad Enter) moves the focus to the next field, the
// up-arrow key to the previous one, for every child of root (and root itself)
// — except multi-line editors, grids, buttons (Enter presses them), spin
// boxes and date edits for the up-arrow (they step), and drop-downs whose
// list is open. Installs one filter per root; calling it again is harmless.
void installEnterAsTab(QWidget *root);
// Excludes one widget (for example a search field whose Enter searches).
void excludeFromEnterAsTab(QWidget *w);

// Entering any line edit under root (or root itself, when it is one) selects
// its whole text.
void installSelectAllOnFocus(QWidget *root);

// Hints the input method of the field: Hangul (on) or Latin (off) input.
// Best effort: on Linux the input method decides.
void setHangulMode(QWidget *field, bool on);

// True when the text is empty or a number (blanks around it, a sign,
// thousands separators and a decimal point allowed). Otherwise shows
// "숫자만 입력가능합니다" (title "확인", warning) and returns false.
bool isNumericInput(const QString &text, Messages &msg);

// --- windows ----------------------------------------------------------------

// Normal-state window: horizontally centred on its screen, at one third of
// the height from the top.
void centerForm(QWidget *window);
// Centres a window (an MDI sub-window or a widget shown in one) in the
// visible area of the main frame's workspace.
void centerInMainFrame(QWidget *window, QMdiArea *area);

// --- drop-down lists ----------------------------------------------------------

// Each returns true and selects the item when one matches; with no match the
// selection is left as it was and false is returned.
// First item whose text contains the text.
bool selectComboByText(QComboBox *combo, const QString &text);
// First item whose leading digits, as a number, equal the code as a number
// ("03-수영" for code "3" or "03", "103-필라테스" for "103" only).
bool selectComboByCode(QComboBox *combo, const QString &code);
// The item whose item data equals the value (compared as text when both
// sides convert to text, so 3 matches "3").
bool selectComboByItemData(QComboBox *combo, const QVariant &value);
// The item whose text equals the text.
bool selectComboByItem(QComboBox *combo, const QString &text);

// Clears the list and adds the items (text and item data); the first item is
// selected. Signals of the combo are blocked while filling, then one
// currentIndexChanged is emitted for the final selection.
void fillCombo(QComboBox *combo, const QList<ListItem> &items);

// The code in front of the selected item ("01-수영" -> "01"); "" when none.
QString comboCode(const QComboBox *combo);

} // namespace fitrova
