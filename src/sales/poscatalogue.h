#pragma once
// What the point of sale offers: the goods classes of its class buttons, the
// items of a class for its item buttons, the card companies, and what a
// scanned or typed code stands for (an item's bar code, a member's card or
// number).

#include "data/db.h"

#include <QList>
#include <QString>
#include <optional>

namespace fitrova {

// A class button: a small class of the goods group.
struct PosClass {
    QString course, sclass, name;
    bool operator==(const PosClass &) const = default;
};
// Every small class of the goods group, by course and class code.
QList<PosClass> posClasses(const Db &db);

struct PosItem {
    qint64 itId = 0;
    QString course, sclass, itName, barCode;
    qint64 itAmt = 0;
    qint64 color = 0; // 0x00BBGGRR as stored; 0 = the standard colour
};
// The items in use of a class (every item in use when none is given), by
// course, class and name.
QList<PosItem> posItems(const Db &db, const std::optional<PosClass> &cls);
// One item by id, in use or not; nothing when it is gone.
std::optional<PosItem> posItem(const Db &db, qint64 itId);

// The caption of an item button: the name, broken into lines of at most
// lineBytes bytes of the code page (two lines at most; a longer name is
// cut), then the price "##,###,##0" on a line of its own.
QString itemButtonCaption(const QString &name, qint64 price, int lineBytes = 16);

struct CardCompany {
    QString code, name;
};
QList<CardCompany> cardCompanies(const Db &db);

// What a code read at the counter stands for. The bar code of an item in use
// comes first, then a member card number, then a member number (eight
// digits; shorter numbers are padded with zeros).
struct ScanResult {
    enum class Kind { None, Item, Member, SeveralMembers };
    Kind kind = Kind::None;
    PosItem item;       // Kind::Item
    QString mbCode;     // Kind::Member
    QString card;       // Kind::SeveralMembers: the card number they share
};
ScanResult resolveScan(const Db &db, const QString &text);

inline QString unknownScanText() { return QStringLiteral("등록되지않은 바코드(회원번호)입니다"); }

} // namespace fitrova
