#pragma once
// The message interface of a screen under test: records every message; questions
// are answered from a queue (then by the default answer).

#include "widgets/messages.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace fitrova {

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
    // Three-way questions take the next scripted choice; without one, the
    // yes/no queue answers.
    Choice askYesNoCancel(const QString &text, const QString &title) override
    {
        if (m_choices.isEmpty())
            return ask(text, title) ? Choice::Yes : Choice::No;
        m_shown.append({QStringLiteral("ask"), text, title});
        return m_choices.takeFirst();
    }
    void answer(Choice c) { m_choices.append(c); }

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
    QList<Choice> m_choices;
    bool m_defaultAnswer = true;
};

} // namespace fitrova
