#pragma once
// What a core action tells its screen, the same for every subsystem: done or
// refused, the notices to show in order (a warning before the save went on,
// then the confirmation, or the refusal), the field a refusal concerns, and
// the key of the row written.
//
//     Outcome saveLockerRental(AppContext &ctx, const RentalInput &in)
//     {
//         if (in.endDate < in.startDate)
//             return Outcome::refused(QStringLiteral("종료일자가 잘못되었습니다."), title, Field::End);
//         ...
//         return Outcome::done(rqid).info(savedText(), title);
//     }
//
// Database failures are not outcomes: they arrive as DbError exceptions and
// reach the desk through the screens' guard (widgets/deskguard.h) with the
// standard texts below.

#include <QList>
#include <QString>

namespace fitrova {

struct Notice {
    enum class Kind {
        Info,  // OK box without an icon
        Warn,  // OK box with the exclamation icon
        Brief, // a notice that closes by itself (no title)
    };
    Kind kind = Kind::Info;
    QString text, title;
    bool isEmpty() const { return text.isEmpty(); }
    bool operator==(const Notice &) const = default;
};

struct Outcome {
    bool saved = false;    // the action wrote what it was asked to (or, for a check, it passes)
    qint64 id = 0;         // the row written (Ltid, Rqid, SlId …), 0 when none
    QString code;          // the code a new row was stored under, when it has one
    int field = 0;         // the screen's field a refusal concerns (an enum of the screen), 0 none
    QList<Notice> notices; // in the order they are shown

    static Outcome done(qint64 id = 0, const QString &code = {})
    {
        Outcome o;
        o.saved = true;
        o.id = id;
        o.code = code;
        return o;
    }
    // A refusal: nothing was written; the text is shown with the exclamation icon.
    static Outcome refused(const QString &text, const QString &title, int field = 0)
    {
        Outcome o;
        o.field = field;
        o.notices.append({Notice::Kind::Warn, text, title});
        return o;
    }
    // A refusal shown as a plain box without the icon, as the editors of
    // codes, classes and programs have always shown theirs.
    static Outcome refusedPlain(const QString &text, const QString &title, int field = 0)
    {
        Outcome o;
        o.field = field;
        o.notices.append({Notice::Kind::Info, text, title});
        return o;
    }
    // A check that passes.
    static Outcome pass() { return done(); }

    Outcome &info(const QString &text, const QString &title)
    {
        notices.append({Notice::Kind::Info, text, title});
        return *this;
    }
    Outcome &warn(const QString &text, const QString &title)
    {
        notices.append({Notice::Kind::Warn, text, title});
        return *this;
    }
    Outcome &brief(const QString &text)
    {
        notices.append({Notice::Kind::Brief, text, QString()});
        return *this;
    }
    explicit operator bool() const { return saved; }
    // The last notice: the confirmation, or the refusal.
    Notice last() const { return notices.isEmpty() ? Notice{} : notices.last(); }
};

// The standard texts of a failed database action, one table for every screen.
enum class DbAction { Read, Save, Update, Delete };

struct ErrorText {
    QString text, title;
};
ErrorText dbErrorText(DbAction action);

// Confirmation after a save.
inline QString savedText() { return QStringLiteral("저장되었읍니다"); }

} // namespace fitrova
