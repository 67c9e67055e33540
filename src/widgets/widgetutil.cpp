#include "widgets/widgetutil.h"

#include "data/text.h"
#include "widgets/messages.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

namespace fitrova {

namespace {

const char *const kNoEnterAsTab = "fitrovaNoEnterAsTab";

// One application-wide filter serves every registered window: key events go
// to the focused field, not to the window, so the filter looks at the field
// and asks whether one of the registered roots holds it.
class KeyboardFilter : public QObject {
public:
    static KeyboardFilter *instance()
    {
        static QPointer<KeyboardFilter> inst;
        if (!inst) {
            inst = new KeyboardFilter(qApp);
            qApp->installEventFilter(inst);
        }
        return inst;
    }

    void addEnterRoot(QWidget *root) { add(m_enterRoots, root); }
    void addSelectRoot(QWidget *root) { add(m_selectRoots, root); }

protected:
    bool eventFilter(QObject *obj, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto *w = qobject_cast<QWidget *>(obj);
            if (w && w == QApplication::focusWidget() && within(m_enterRoots, w))
                return handleKey(w, static_cast<QKeyEvent *>(event));
        } else if (event->type() == QEvent::FocusIn) {
            auto *le = qobject_cast<QLineEdit *>(obj);
            if (le && within(m_selectRoots, le)) {
                // After the click that gave the focus has placed the cursor.
                QPointer<QLineEdit> p(le);
                QTimer::singleShot(0, le, [p] {
                    if (p && p->hasFocus())
                        p->selectAll();
                });
            }
        }
        return false;
    }

private:
    using QObject::QObject;

    static void add(QList<QPointer<QWidget>> &roots, QWidget *root)
    {
        roots.removeAll(nullptr);
        for (const auto &r : roots)
            if (r == root)
                return;
        roots.append(root);
    }

    static bool within(QList<QPointer<QWidget>> &roots, QWidget *w)
    {
        for (const auto &r : roots)
            if (r && (r == w || r->isAncestorOf(w)))
                return true;
        return false;
    }

    template <typename T>
    static bool isOrInside(QWidget *w)
    {
        for (int i = 0; w && i < 3; ++i, w = w->parentWidget())
            if (qobject_cast<T *>(w))
                return true;
        return false;
    }

    static bool excluded(QWidget *w)
    {
        for (QWidget *p = w; p; p = p->parentWidget()) {
            if (p->property(kNoEnterAsTab).toBool())
                return true;
            if (p->isWindow())
                break;
        }
        // Push buttons take Enter themselves; check boxes and radio buttons
        // are inputs like the others (Space ticks them, Enter moves on).
        const auto *button = qobject_cast<QAbstractButton *>(w);
        return isOrInside<QPlainTextEdit>(w) || isOrInside<QTextEdit>(w)
            || isOrInside<QAbstractItemView>(w) || (button && !button->isCheckable());
    }

    static bool handleKey(QWidget *w, QKeyEvent *ke)
    {
        const Qt::KeyboardModifiers mods = ke->modifiers() & ~Qt::KeypadModifier;
        if (mods != Qt::NoModifier || excluded(w))
            return false;
        const int key = ke->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->view()->isVisible())
                return false;
            // The last input before the screen's default button: in a dialog
            // Enter presses it (one Enter logs in), elsewhere it takes the focus.
            if (auto *b = qobject_cast<QPushButton *>(nextFocus(w)); b && b->isDefault() && b->isEnabled()) {
                if (qobject_cast<QDialog *>(w->window()))
                    b->click();
                else
                    b->setFocus(Qt::TabFocusReason);
                return true;
            }
            moveFocus(w, true);
            return true;
        }
        if (key == Qt::Key_Up) {
            // Lists and steppers use the arrow keys themselves.
            if (isOrInside<QComboBox>(w) || isOrInside<QAbstractSpinBox>(w))
                return false;
            moveFocus(w, false);
            return true;
        }
        return false;
    }

    // The widget Tab would move to from w.
    static QWidget *nextFocus(QWidget *w)
    {
        QWidget *from = w;
        if (auto *le = qobject_cast<QLineEdit *>(w); le && isOrInside<QComboBox>(w))
            from = le->parentWidget();
        for (QWidget *n = from->nextInFocusChain(); n && n != from; n = n->nextInFocusChain())
            if ((n->focusPolicy() & Qt::TabFocus) && n->isVisible() && n->isEnabled() && !from->isAncestorOf(n) &&
                n->window() == from->window())
                return n;
        return nullptr;
    }

    static void moveFocus(QWidget *w, bool next)
    {
        QKeyEvent tab(QEvent::KeyPress, next ? Qt::Key_Tab : Qt::Key_Backtab,
                      next ? Qt::NoModifier : Qt::ShiftModifier);
        // The window's own focus chain handles Tab like the user pressed it.
        QWidget *target = w;
        if (auto *le = qobject_cast<QLineEdit *>(w); le && isOrInside<QComboBox>(w))
            target = le->parentWidget();
        QCoreApplication::sendEvent(target, &tab);
    }

    QList<QPointer<QWidget>> m_enterRoots, m_selectRoots;
};

bool comboMatches(const QComboBox *combo, int i, const QVariant &value)
{
    const QVariant d = combo->itemData(i);
    if (!d.isValid() || !value.isValid())
        return false;
    if (d == value)
        return true;
    return d.canConvert<QString>() && value.canConvert<QString>() && d.toString() == value.toString();
}

// The number at the start of a text, as the old Val() reads it: leading
// blanks skipped, digits up to the first other character; 0 when none.
qint64 leadingNumber(const QString &s)
{
    qint64 v = 0;
    int i = 0;
    while (i < s.size() && s.at(i).isSpace())
        ++i;
    for (; i < s.size() && s.at(i).isDigit() && s.at(i).unicode() < 128; ++i)
        v = v * 10 + (s.at(i).unicode() - '0');
    return v;
}

} // namespace

void installEnterAsTab(QWidget *root)
{
    if (root)
        KeyboardFilter::instance()->addEnterRoot(root);
}

void excludeFromEnterAsTab(QWidget *w)
{
    if (w)
        w->setProperty(kNoEnterAsTab, true);
}

void installSelectAllOnFocus(QWidget *root)
{
    if (root)
        KeyboardFilter::instance()->addSelectRoot(root);
}

void setHangulMode(QWidget *field, bool on)
{
    if (!field)
        return;
    Qt::InputMethodHints h = field->inputMethodHints();
    if (on)
        h &= ~(Qt::ImhPreferLatin | Qt::ImhLatinOnly);
    else
        h |= Qt::ImhPreferLatin;
    field->setInputMethodHints(h);
    if (field->hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImHints);
}

bool isNumericInput(const QString &text, Messages &msg)
{
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d[\\d,]*)?(\\.\\d*)?$"));
    const QString t = text.trimmed();
    if (t.isEmpty())
        return true;
    if (number.match(t).hasMatch() && t.contains(QRegularExpression(QStringLiteral("\\d"))))
        return true;
    msg.warn(QStringLiteral("숫자만 입력가능합니다"), QStringLiteral("확인"));
    return false;
}

void centerForm(QWidget *window)
{
    if (!window)
        return;
    window = window->window();
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect s = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    window->move(s.left() + (s.width() - size.width()) / 2, s.top() + (s.height() - size.height()) / 3);
}

void centerInMainFrame(QWidget *window, QMdiArea *area)
{
    if (!window || !area)
        return;
    QWidget *w = window;
    if (!qobject_cast<QMdiSubWindow *>(w))
        if (auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget()))
            w = sub;
    if (w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        return;
    const QSize client = area->viewport()->size();
    const QSize size = w->frameGeometry().size();
    const QPoint pos((client.width() - size.width()) / 2, (client.height() - size.height()) / 2);
    if (qobject_cast<QMdiSubWindow *>(w) && w->parentWidget() == area->viewport())
        w->move(pos);
    else if (w->isWindow())
        w->move(area->viewport()->mapToGlobal(pos));
    else
        w->move(w->parentWidget()->mapFrom(area->viewport(), pos));
}

bool selectComboByText(QComboBox *combo, const QString &text)
{
    if (!combo)
        return false;
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).contains(text)) {
            combo->setCurrentIndex(i);
            return true;
        }
    return false;
}

bool selectComboByCode(QComboBox *combo, const QString &code)
{
    if (!combo)
        return false;
    const qint64 want = leadingNumber(code);
    for (int i = 0; i < combo->count(); ++i)
        if (leadingNumber(combo->itemText(i)) == want) {
            combo->setCurrentIndex(i);
            return true;
        }
    return false;
}

bool selectComboByItemData(QComboBox *combo, const QVariant &value)
{
    if (!combo)
        return false;
    for (int i = 0; i < combo->count(); ++i)
        if (comboMatches(combo, i, value)) {
            combo->setCurrentIndex(i);
            return true;
        }
    return false;
}

bool selectComboByItem(QComboBox *combo, const QString &text)
{
    if (!combo)
        return false;
    const int i = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i < 0)
        return false;
    combo->setCurrentIndex(i);
    return true;
}

void fillCombo(QComboBox *combo, const QList<ListItem> &items)
{
    if (!combo)
        return;
    {
        const QSignalBlocker block(combo);
        combo->clear();
        for (const ListItem &item : items)
            combo->addItem(item.text, item.data);
        combo->setCurrentIndex(items.isEmpty() ? -1 : 0);
    }
    emit combo->currentIndexChanged(combo->currentIndex());
    emit combo->currentTextChanged(combo->currentText());
}

QString comboCode(const QComboBox *combo)
{
    return combo ? codeOf(combo->currentText()) : QString();
}

} // namespace fitrova
