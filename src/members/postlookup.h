#pragma once
// The postal-code lookup on the postal database: rows whose district (Dong)
// contains the typed text, flagged rows first.

#include "data/db.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace fitrova {

struct PostRow {
    qint64 id = 0;
    QString postNum, siDo, guGun, dong, ri, bunji, area;
    // SiDo GuGun Dong, with RI when asked for and present.
    QString addressText(bool withRi = true) const;
};

// ID, 우편번호, 시도, 구군, 동, 리, 번지, 지역 (리 only withRi).
QStringList postHeaders(bool withRi);

// Empty text finds nothing. withRi orders by RI between Dong and Bunji (the
// lookup window); without it the order leaves RI out (the member card's
// address box).
QList<PostRow> searchPost(const Db &post, const QString &dong, bool withRi = true);

QStringList postCells(const PostRow &r, bool withRi);

} // namespace fitrova
