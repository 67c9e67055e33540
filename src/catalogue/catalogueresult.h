#pragma once
// What a catalogue action tells the screen: done or refused, the message to
// show (text and title) and, for refusals of an editor, the field that gets
// the focus. Database failures are caught by the screens and shown with the
// shared error texts below.

#include "foundation/outcome.h"

#include <QString>

namespace fitrova {

struct CatalogueMessage {
    enum class Kind { None, Info, Warn };
    Kind kind = Kind::None;
    QString text, title;
    bool isEmpty() const { return kind == Kind::None; }

    static CatalogueMessage info(const QString &text, const QString &title)
    {
        return {Kind::Info, text, title};
    }
    static CatalogueMessage warn(const QString &text, const QString &title)
    {
        return {Kind::Warn, text, title};
    }
};

struct CatalogueResult {
    bool ok = false;
    CatalogueMessage message; // the refusal, or the confirmation after a save
    int field = 0;            // editor field to focus (an enum of the editor), 0 none
    QString code;             // the code a new row was stored under
    qint64 id = 0;            // the id a new row was given

    static CatalogueResult done(const QString &code = {}, qint64 id = 0)
    {
        CatalogueResult r;
        r.ok = true;
        r.code = code;
        r.id = id;
        return r;
    }
    static CatalogueResult refused(const QString &text, const QString &title, int field = 0)
    {
        CatalogueResult r;
        r.message = CatalogueMessage::info(text, title);
        r.field = field;
        return r;
    }
};

// The shared texts of a failed write.
inline QString saveErrorText() { return QStringLiteral("자료저장중 오류가 발생하였습니다."); }
inline QString saveErrorTitle() { return QStringLiteral("저장오류"); }
inline QString updateErrorText() { return QStringLiteral("자료수정중 오류가 발생하였습니다."); }
inline QString updateErrorTitle() { return QStringLiteral("수정오류"); }
inline QString deleteErrorText() { return QStringLiteral("자료삭제중 오류가 발생하였습니다."); }
inline QString deleteErrorTitle() { return QStringLiteral("삭제오류"); }
inline QString readErrorText() { return QStringLiteral("자료조회중 오류가 발생하였습니다."); }


} // namespace fitrova
