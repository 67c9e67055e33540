#pragma once
// The small notice window: a frameless, centred box with one line of text
// ("자료를 준비중 입니다"), shown while something long runs or for a moment
// as a timed notice that closes by itself.

#include <QFrame>
#include <QPointer>
#include <QString>

class QLabel;
class QTimer;

namespace fitrova {

class BusyNotice : public QFrame {
    Q_OBJECT
public:
    explicit BusyNotice(const QString &text, QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

    // Shows the window centred over the parent's window (or the screen),
    // raised, and paints it at once so it is visible before long work starts.
    void showCentered();

    // Closes (and deletes) the window after msecs; 0 cancels a pending close.
    void closeAfter(int msecs);

private:
    QLabel *m_label;
    QTimer *m_timer;
};

// Shows the notice window with the text. msecs > 0: it closes itself after
// that time. msecs == 0: it stays until the caller closes it. The window
// deletes itself when closed; the pointer becomes null then.
QPointer<BusyNotice> showBusyNotice(const QString &text, QWidget *parent = nullptr, int msecs = 0);

// For long work: shows the notice and the wait cursor for the lifetime of the
// object; both go away when it is destroyed.
class BusyScope {
public:
    explicit BusyScope(const QString &text = QStringLiteral("자료를 준비중 입니다"),
                       QWidget *parent = nullptr);
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;
    void setText(const QString &text);

private:
    QPointer<BusyNotice> m_notice;
};

// Only the wait cursor, for the lifetime of the object.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace fitrova
