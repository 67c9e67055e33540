#pragma once
// The one way a failure reaches the desk. A screen wraps every call into the
// core in guard(): a DbError becomes the standard Korean text of the action
// (dbErrorText), the failing statement is written to the log, and the screen
// gets nothing back. What the core answered is shown with showOutcome().
//
//     const auto r = guard(ui, DbAction::Save, [&] { return saveRental(ui.app, in); });
//     if (!r || !showOutcome(ui, *r))
//         return;            // refused, or the database failed: the desk has been told
//     m_tf = true;
//
//     const auto rows = guard(ui, DbAction::Read, [&] { return lockerBoard(ui.app.main, group); });
//     if (rows)
//         fill(*rows);
//
// A call whose failure the desk should not hear about (a refresh of a side
// panel while the main action already succeeded) uses guardQuietly(), which
// logs and says why in its reason argument.

#include "data/db.h"
#include "foundation/outcome.h"
#include "widgets/uicontext.h"

#include <optional>
#include <type_traits>

namespace fitrova {

// Logs the failure (statement and native message) and shows the text.
void reportDbError(UiContext &ui, const ErrorText &shown, const DbError &e);
// Logs the failure only, with the reason it is not shown.
void logDbError(const DbError &e, const char *reason);

// Runs fn; a DbError is logged and shown as `shown`. Returns true when a
// void fn ran without a database failure; otherwise fn's value, or nothing
// after a failure the desk has been told of.
template <typename Fn>
auto guard(UiContext &ui, const ErrorText &shown, Fn &&fn)
{
    using R = std::invoke_result_t<Fn>;
    if constexpr (std::is_void_v<R>) {
        try {
            fn();
            return true;
        } catch (const DbError &e) {
            reportDbError(ui, shown, e);
            return false;
        }
    } else {
        try {
            return std::optional<R>(fn());
        } catch (const DbError &e) {
            reportDbError(ui, shown, e);
            return std::optional<R>();
        }
    }
}

// Before a save or an update: the amount and count fields (MoneyEdit) of the
// screen the desk is working in must be readable. The first that is not is
// named to the desk with the focus put there, and nothing is saved. A screen
// cannot forget this: every save runs through guard().
bool numberFieldsReadable(UiContext &ui);

// The same with the standard text of the action (dbErrorText); saves and
// updates are refused first when an amount cannot be read.
template <typename Fn>
auto guard(UiContext &ui, DbAction action, Fn &&fn)
{
    if ((action == DbAction::Save || action == DbAction::Update) && !numberFieldsReadable(ui)) {
        using R = std::invoke_result_t<Fn>;
        if constexpr (std::is_void_v<R>)
            return false;
        else
            return std::optional<R>();
    }
    return guard(ui, dbErrorText(action), std::forward<Fn>(fn));
}

// The same without telling the desk; `reason` says why silence is right here.
template <typename Fn>
auto guardQuietly(const char *reason, Fn &&fn)
{
    using R = std::invoke_result_t<Fn>;
    if constexpr (std::is_void_v<R>) {
        try {
            fn();
            return true;
        } catch (const DbError &e) {
            logDbError(e, reason);
            return false;
        }
    } else {
        try {
            return std::optional<R>(fn());
        } catch (const DbError &e) {
            logDbError(e, reason);
            return std::optional<R>();
        }
    }
}

// Shows the notices in order (warnings with the exclamation icon, brief ones
// as the notice that closes by itself, the rest as information). Returns o.saved.
bool showOutcome(UiContext &ui, const Outcome &o);
void showNotice(UiContext &ui, const Notice &n);

} // namespace fitrova
