#pragma once
// Every message the program shows goes through this interface: the desktop
// implementation beeps and shows a message box; tests install a scripted one
// that records what was shown and answers questions from a script.

#include <QString>

class QWidget;

namespace fitrova {

class Messages {
public:
    virtual ~Messages() = default;
    // OK box without an icon.
    virtual void info(const QString &text, const QString &title) = 0;
    // OK box with the exclamation icon.
    virtual void warn(const QString &text, const QString &title) = 0;
    // Yes/No box with the question icon; true for Yes.
    virtual bool ask(const QString &text, const QString &title) = 0;
    // 예/아니오/취소 box with the question icon (Esc is 취소). Implementations
    // without a third button answer through ask().
    enum class Choice { Yes, No, Cancel };
    virtual Choice askYesNoCancel(const QString &text, const QString &title)
    {
        return ask(text, title) ? Choice::Yes : Choice::No;
    }
    // A notice that closes by itself after a moment (the busy/notice window).
    virtual void notice(const QString &text, int msecs = 1200) = 0;
};

// Shows real message boxes over the given parent.
class DesktopMessages final : public Messages {
public:
    explicit DesktopMessages(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    void info(const QString &text, const QString &title) override;
    void warn(const QString &text, const QString &title) override;
    bool ask(const QString &text, const QString &title) override;
    Choice askYesNoCancel(const QString &text, const QString &title) override;
    void notice(const QString &text, int msecs = 1200) override;
private:
    QWidget *m_parent;
};

} // namespace fitrova
