#include "lockers/ui/lockerscreens.h"

#include "lockers/lockerrental.h"
#include "lockers/ui/lockerboardscreen.h"
#include "lockers/ui/lockergroupscreen.h"
#include "lockers/ui/lockernumberscreen.h"
#include "lockers/ui/lockerreportscreen.h"
#include "lockers/ui/rentalchangedialogs.h"
#include "lockers/ui/rentaldialog.h"
#include "lockers/ui/rentalstatusscreen.h"
#include "widgets/deskguard.h"
#include "widgets/screenregistry.h"

namespace fitrova {

namespace {

QString mbCodeOf(const ScreenArgs &args) { return args.value(QStringLiteral("MbCode")).toString().trimmed(); }

LockerKey lockerOf(const ScreenArgs &args)
{
    return {args.value(QStringLiteral("BoxCode")).toString(), args.value(QStringLiteral("BoxNum")).toLongLong()};
}

// The member's rentals, or nothing after telling the desk there is none.
std::optional<QList<LockerRental>> rentalsFor(UiContext &ui, const ScreenArgs &args, const QString &title)
{
    const QString mbCode = mbCodeOf(args);
    if (mbCode.isEmpty()) {
        ui.msg.info(QStringLiteral("회원을 먼저 선택하세요"), title);
        return std::nullopt;
    }
    const auto rentals = guard(ui, DbAction::Read, [&] { return memberRentals(ui.app.main, mbCode); });
    if (!rentals)
        return std::nullopt;
    if (rentals->isEmpty()) {
        ui.msg.info(QStringLiteral("사용중인 사물함이 없습니다."), title);
        return std::nullopt;
    }
    return rentals;
}

} // namespace

QStringList lockerRentalScreenNames()
{
    return {QStringLiteral("사물함신청"), QStringLiteral("사물함재등록"), QStringLiteral("사물함수정"),
            QStringLiteral("사물함변경"), QStringLiteral("사물함취소")};
}

QStringList lockerManagementScreenNames()
{
    return {QStringLiteral("사물함현황"), QStringLiteral("사물함대여현황"), QStringLiteral("사물함신청현황"),
            QStringLiteral("사물함코드등록"), QStringLiteral("사물함번호생성")};
}

void registerLockerScreens(ScreenRegistry &r, MemberHandover sendSms)
{
    r.add(QStringLiteral("사물함코드등록"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new LockerGroupScreen(ui, parent);
    });
    r.add(QStringLiteral("사물함번호생성"), [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
        auto *s = new LockerNumberScreen(ui, parent);
        if (args.contains(QStringLiteral("BoxCode")))
            s->selectGroup(args.value(QStringLiteral("BoxCode")).toString());
        return s;
    });
    r.add(QStringLiteral("사물함신청현황"), [](UiContext &ui, QWidget *parent) -> QWidget * {
        return new LockerReportScreen(ui, parent);
    });
    r.add(QStringLiteral("사물함대여현황"), [sendSms](UiContext &ui, QWidget *parent) -> QWidget * {
        return new RentalStatusScreen(ui, parent, sendSms);
    });
    r.add(QStringLiteral("사물함현황"), [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
        auto *s = new LockerBoardScreen(ui, parent);
        if (!args.isEmpty())
            s->applyScreenArgs(args);
        return s;
    });

    r.add(
        QStringLiteral("사물함신청"),
        [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
            const QString mbCode = mbCodeOf(args);
            if (mbCode.isEmpty()) {
                ui.msg.info(QStringLiteral("회원을 먼저 선택하세요"), rentTitle());
                return nullptr;
            }
            return new RentalDialog(ui, mbCode, parent);
        },
        ScreenMode::Modal);
    r.add(
        QStringLiteral("사물함재등록"),
        [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
            const auto rentals = rentalsFor(ui, args, renewTitle());
            return rentals ? new RenewalDialog(ui, *rentals, lockerOf(args), parent) : nullptr;
        },
        ScreenMode::Modal);
    r.add(
        QStringLiteral("사물함변경"),
        [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
            const auto rentals = rentalsFor(ui, args, moveTitle());
            return rentals ? new MoveDialog(ui, *rentals, lockerOf(args), parent) : nullptr;
        },
        ScreenMode::Modal);
    r.add(
        QStringLiteral("사물함취소"),
        [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
            const auto rentals = rentalsFor(ui, args, cancelTitle());
            return rentals ? new CancelDialog(ui, *rentals, lockerOf(args), parent) : nullptr;
        },
        ScreenMode::Modal);
    r.add(
        QStringLiteral("사물함수정"),
        [](UiContext &ui, QWidget *parent, const ScreenArgs &args) -> QWidget * {
            const qint64 rqid = args.value(QStringLiteral("Rqid")).toLongLong();
            if (rqid > 0)
                return new CorrectionDialog(ui, rqid, {}, parent);
            const auto rentals = rentalsFor(ui, args, correctTitle());
            return rentals ? new CorrectionDialog(ui, 0, *rentals, parent) : nullptr;
        },
        ScreenMode::Modal);
}

} // namespace fitrova
