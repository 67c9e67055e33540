#pragma once
// Every message the program shows goes through this interface: the desktop
// implementation beeps and shows a message box; tests install a scripted one
// that records what was shown and answers questions from a script.

#include <QList>
#include <QString>
#include <QStringList>

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
    void notice(const QString &text, int msecs = 1200) override;
private:
    QWidget *m_parent;
};

// For tests: records every message; questions are answered from a queue
// (then by the default answer).
class ScriptedMessages final : public Messages {
public:
    struct Shown {
        QString kind; // "info", "warn", "ask", "notice"
        QString text, title;
    };
    void info(const QString &text, const QString &title) override { m_shown.append({QStringLiteral("info"), text, title}); }
    void warn(const QString &text, const QString &title) override { m_shown.append({QStringLiteral("warn"), text, title}); }
    bool ask(const QString &text, const QString &title) override
    {
        m_shown.append({QStringLiteral("ask"), text, title});
        return m_answers.isEmpty() ? m_defaultAnswer : m_answers.takeFirst();
    }
    void notice(const QString &text, int) override { m_shown.append({QStringLiteral("notice"), text, QString()}); }

    void answer(bool yes) { m_answers.append(yes); }
    void setDefaultAnswer(bool yes) { m_defaultAnswer = yes; }
    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const
    {
        QStringList l;
        for (const Shown &s : m_shown)
            l << s.text;
        return l;
    }
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    Shown last() const { return m_shown.isEmpty() ? Shown{} : m_shown.last(); }
    void clear() { m_shown.clear(); }
private:
    QList<Shown> m_shown;
    QList<bool> m_answers;
    bool m_defaultAnswer = true;
};

} // namespace fitrova
