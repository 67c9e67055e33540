#include "sales/voucher.h"

#include "closing/shift.h"
#include "data/numbering.h"
#include "data/text.h"
#include "foundation/appcontext.h"

#include <QHash>
#include <QSet>

namespace fitrova {

namespace {

// Item rows read while a voucher is written are held against deletion until
// it commits; other desks selling the same item are not held up. (SQLite's
// write transaction already excludes every other writer.)
QString forShare(const Db &db) { return db.isPostgres() ? QStringLiteral(" FOR SHARE") : QString(); }

// What a Sale row copies from its item.
struct ItemCodes {
    QString itCode, course, lclass, mclass, sclass;
};

ItemCodes codesOf(const Row &r)
{
    return {r.str(QStringLiteral("ItCode")), r.str(QStringLiteral("Course")), r.str(QStringLiteral("Lclass")),
            r.str(QStringLiteral("Mclass")), r.str(QStringLiteral("Sclass"))};
}

QString placeholders(qsizetype n)
{
    QString s;
    for (qsizetype i = 0; i < n; ++i)
        s += i ? QStringLiteral(", ?") : QStringLiteral("?");
    return s;
}

const QString kSaleColumns = QStringLiteral(
    "SlNo, SEQ, ItId, ItCode, Course, Lclass, Mclass, Sclass, SlDate, Slyymm, MbCode, Slqty, SlCost, CardAmt, "
    "CashAmt, SLTAmt, CardChk, FnChk, CashChk, SlAmt, SlAmt1, DcYul, PosNo, CardGubun, DcAmt, LastUser, LastTime, "
    "Reprint");

// Writes the lines as one voucher under the next number of the stamp's user
// and date, inside the caller's transaction; a clash with another desk on
// the number is retried with a fresh one. refundOf > 0 links every line to
// the voucher it refunds.
Outcome writeVoucher(const Db &db, const PosStamp &st, const QList<SaleLine> &lines, const QList<ItemCodes> &codes,
                     const SalePayment &pay, qint64 refundOf)
{
    const QString cardChk = cardChkFor(pay.cash, pay.card);
    const QString cardGubun = pay.card != 0 ? pay.cardGubun.trimmed().left(1) : QString();
    const QString cashChk = pay.cashReceipt ? QStringLiteral("1") : QStringLiteral("0");
    const QString columns = kSaleColumns + (refundOf > 0 ? QStringLiteral(", RfSlId") : QString());
    const int count = refundOf > 0 ? 29 : 28;
    const QString insert = QStringLiteral("INSERT INTO Sale (") + columns + QStringLiteral(") VALUES (")
                           + placeholders(count) + QLatin1Char(')');
    Outcome written = retryOnUniqueViolation(db, [&]() -> Outcome {
        const QString no = getNewVoucherNo(db, st.date, st.psCode);
        qint64 firstId = 0;
        for (int i = 0; i < lines.size(); ++i) {
            const SaleLine &l = lines.at(i);
            const ItemCodes &c = codes.at(i);
            const bool first = i == 0;
            Params v{no, i + 1, l.itId, c.itCode, c.course, c.lclass, c.mclass, c.sclass, st.date, st.date.left(7),
                     counterMemberCode(), l.qty, l.cost, first ? pay.card : 0, first ? pay.cash : 0,
                     first ? pay.cash + pay.card : 0, cardChk, QStringLiteral("0"), cashChk, l.amount(), l.gross(),
                     l.dcYul, st.posNo, cardGubun, l.dcAmt, st.psCode, st.time, QStringLiteral("0")};
            if (refundOf > 0)
                v << refundOf;
            if (first)
                firstId = db.insertId(insert, v, QStringLiteral("SlId"));
            else
                db.exec(insert, v);
        }
        return Outcome::done(firstId, no);
    });
    if (written.saved)
        openShiftForTakings(db, shiftStampAt(st.psCode, st.posNo, st.date, st.time), pay.cash != 0 || pay.card != 0);
    return written;
}

SaleLine lineOf(const Row &r)
{
    SaleLine l;
    l.itId = r.num(QStringLiteral("ItId"));
    l.sclass = r.str(QStringLiteral("Sclass"));
    l.itName = r.str(QStringLiteral("ItName"));
    l.qty = r.num(QStringLiteral("Slqty"));
    l.cost = r.num(QStringLiteral("SlCost"));
    l.dcYul = r.dbl(QStringLiteral("DcYul"));
    l.dcAmt = r.num(QStringLiteral("DcAmt"));
    l.seq = int(r.num(QStringLiteral("SEQ")));
    return l;
}

// The voucher of rows read in line order (names as far as the rows carry them).
StoredVoucher voucherOf(const VoucherKey &key, const Rows &rows)
{
    StoredVoucher v;
    v.key = key;
    const Row &first = rows.first();
    v.firstSlId = first.num(QStringLiteral("SlId"));
    v.cash = first.num(QStringLiteral("CashAmt"));
    v.card = first.num(QStringLiteral("CardAmt"));
    v.cardGubun = first.str(QStringLiteral("CardGubun")).trimmed();
    v.cashReceipt = first.str(QStringLiteral("CashChk")) == QLatin1String("1");
    v.posNo = int(first.num(QStringLiteral("PosNo")));
    v.time = first.str(QStringLiteral("LastTime"));
    v.refundOf = first.num(QStringLiteral("RfSlId"));
    for (const Row &r : rows)
        v.lines.append(lineOf(r));
    return v;
}

bool isRefunded(const Db &db, qint64 firstSlId)
{
    return db.scalar(QStringLiteral("SELECT 1 FROM Sale WHERE RfSlId = ? LIMIT 1"), {firstSlId}).isValid();
}

QList<SaleLine> chosenLines(const StoredVoucher &v, const QList<int> &seqs)
{
    if (seqs.isEmpty())
        return v.lines;
    const QSet<int> wanted(seqs.begin(), seqs.end());
    QList<SaleLine> out;
    for (const SaleLine &l : v.lines)
        if (wanted.contains(l.seq))
            out.append(l);
    return out;
}

} // namespace

PosStamp posStamp(const AppContext &ctx)
{
    const QDateTime now = ctx.clock().now();
    return {now.date().toString(QStringLiteral("yyyy-MM-dd")), now.time().toString(QStringLiteral("HH:mm:ss")),
            ctx.user.psCode, ctx.workstation.posNo};
}

QString cardChkFor(qint64 cash, qint64 card)
{
    if (cash != 0 && card != 0)
        return QStringLiteral("3");
    if (card != 0)
        return QStringLiteral("2");
    return QStringLiteral("1");
}

Outcome saveVoucher(const Db &db, const PosStamp &st, const QList<SaleLine> &lines, const SalePayment &pay)
{
    const QString title = saleSaveTitle();
    if (lines.isEmpty())
        return Outcome::refused(QStringLiteral("판매할 상품이 없읍니다"), title);
    for (const SaleLine &l : lines)
        if (l.itId <= 0 || l.qty <= 0 || l.cost < 0 || l.dcAmt < 0 || l.dcAmt > l.gross())
            return Outcome::refused(QStringLiteral("판매자료를 확인하세요..수량과 금액은 0보다 작을수 없읍니다"), title);
    if (pay.cash < 0 || pay.card < 0)
        return Outcome::refused(QStringLiteral("결재금액은 0보다 작을수 없읍니다"), title);
    if (pay.cash + pay.card != totalsOf(lines).payable)
        return Outcome::refused(QStringLiteral("결재금액을 수정하세요"), title);

    return db.transaction([&]() -> Outcome {
        // Every item is read before anything is written: a voucher whose item
        // has gone is not stored at all.
        QList<qint64> ids;
        for (const SaleLine &l : lines)
            if (!ids.contains(l.itId))
                ids.append(l.itId);
        Params p;
        for (qint64 id : ids)
            p << id;
        QHash<qint64, ItemCodes> items;
        for (const Row &r : db.query(QStringLiteral("SELECT ItId, ItCode, Course, Lclass, Mclass, Sclass FROM Item "
                                                    "WHERE ItId IN (")
                                         + placeholders(ids.size()) + QLatin1Char(')') + forShare(db),
                                     p))
            items.insert(r.num(QStringLiteral("ItId")), codesOf(r));
        QList<ItemCodes> codes;
        for (const SaleLine &l : lines) {
            if (!items.contains(l.itId))
                return Outcome::refused(QStringLiteral("상품정보를 찾을수 없읍니다"), QStringLiteral("저장실패"));
            codes.append(items.value(l.itId));
        }
        return writeVoucher(db, st, lines, codes, pay, 0);
    });
}

bool StoredVoucher::isRefund() const
{
    if (refundOf > 0)
        return true;
    for (const SaleLine &l : lines)
        if (l.qty < 0)
            return true;
    return false;
}

std::optional<StoredVoucher> loadVoucher(const Db &db, const VoucherKey &key)
{
    const Rows rows = db.query(
        QStringLiteral("SELECT Sale.*, Item.ItName, Card.Name AS CardName FROM Sale "
                       "LEFT JOIN Item ON Sale.ItId = Item.ItId LEFT JOIN Card ON Card.Code = Sale.CardGubun "
                       "WHERE Sale.SlDate = ? AND Sale.LastUser = ? AND Sale.SlNo = ? ORDER BY Sale.SEQ"),
        {key.slDate, key.user, key.slNo});
    if (rows.isEmpty())
        return std::nullopt;
    StoredVoucher v = voucherOf(key, rows);
    v.cardName = rows.first().str(QStringLiteral("CardName")).trimmed();
    v.refunded = isRefunded(db, v.firstSlId);
    return v;
}

SalePayment refundPayment(const StoredVoucher &v, const QList<int> &seqs)
{
    const qint64 total = totalsOf(chosenLines(v, seqs)).payable;
    const qint64 cash = qBound<qint64>(0, v.cash, qMax<qint64>(0, total));
    SalePayment pay;
    pay.cash = -cash;
    pay.card = -(total - cash);
    pay.cardGubun = v.cardGubun;
    pay.cashReceipt = v.cashReceipt;
    return pay;
}

Outcome saveRefund(const Db &db, const PosStamp &st, const VoucherKey &original, const QList<int> &seqs)
{
    const QString title = refundTitle();
    return db.transaction([&]() -> Outcome {
        // The voucher's rows stay locked until the refund is written, so a
        // second desk refunding it at the same moment finds it refunded.
        const Rows rows = db.query(QStringLiteral("SELECT * FROM Sale WHERE SlDate = ? AND LastUser = ? AND SlNo = ? "
                                                  "ORDER BY SEQ")
                                       + db.forUpdate(),
                                   {original.slDate, original.user, original.slNo});
        if (rows.isEmpty())
            return Outcome::refused(QStringLiteral("환불할 자료를 찾을수 없읍니다"), title);
        const StoredVoucher v = voucherOf(original, rows);
        if (v.isRefund())
            return Outcome::refused(QStringLiteral("환불전표는 다시 환불할수 없읍니다"), title);
        if (isRefunded(db, v.firstSlId))
            return Outcome::refused(QStringLiteral("이미 환불된 전표입니다"), title);
        const QList<SaleLine> chosen = chosenLines(v, seqs);
        if (chosen.isEmpty() || (!seqs.isEmpty() && chosen.size() != QSet<int>(seqs.begin(), seqs.end()).size()))
            return Outcome::refused(QStringLiteral("환불할 자료를 찾을수 없읍니다"), title);

        QHash<int, ItemCodes> codesBySeq;
        for (const Row &r : rows)
            codesBySeq.insert(int(r.num(QStringLiteral("SEQ"))), codesOf(r));
        QList<SaleLine> back;
        QList<ItemCodes> codes;
        for (SaleLine l : chosen) {
            codes.append(codesBySeq.value(l.seq));
            l.qty = -l.qty;
            l.dcYul = -l.dcYul;
            l.dcAmt = -l.dcAmt;
            l.seq = 0;
            back.append(l);
        }
        return writeVoucher(db, st, back, codes, refundPayment(v, seqs), v.firstSlId);
    });
}

int markReprinted(const Db &db, const VoucherKey &key)
{
    return db.exec(QStringLiteral("UPDATE Sale SET Reprint = '1' WHERE SlDate = ? AND LastUser = ? AND SlNo = ?"),
                   {key.slDate, key.user, key.slNo});
}

QList<VoucherSummary> listVouchers(const Db &db, const QString &date, const QString &user, const QString &course)
{
    QString sql = QStringLiteral(
        "SELECT Sale.SlId, Sale.SlNo, Sale.SlDate, Sale.LastUser, Sale.SEQ, Sale.Slqty, Sale.SlAmt, Sale.CashAmt, "
        "Sale.CardAmt, Sale.CashChk, Sale.PosNo, Sale.LastTime, Sale.RfSlId, Item.ItName, UserM.UserName, "
        "(SELECT COUNT(*) FROM Sale R WHERE R.RfSlId = Sale.SlId) AS Refunds "
        "FROM Sale LEFT JOIN Item ON Sale.ItId = Item.ItId LEFT JOIN UserM ON Sale.LastUser = UserM.PsCode "
        "WHERE Sale.SlDate = ?");
    Params p{date};
    if (!course.trimmed().isEmpty() && course.trimmed() != QLatin1String("0")) {
        sql += QStringLiteral(" AND Sale.Course = ?");
        p << course.trimmed();
    }
    if (!user.trimmed().isEmpty() && user.trimmed() != QLatin1String("0")) {
        sql += QStringLiteral(" AND Sale.LastUser = ?");
        p << user.trimmed();
    }
    sql += QStringLiteral(" ORDER BY Sale.LastTime DESC, Sale.SlNo, Sale.LastUser, Sale.SEQ");

    QList<VoucherSummary> out;
    QHash<QString, int> index;
    for (const Row &r : db.query(sql, p)) {
        const VoucherKey key{r.str(QStringLiteral("SlDate")), r.str(QStringLiteral("LastUser")),
                             r.str(QStringLiteral("SlNo"))};
        const QString k = key.user + QLatin1Char('|') + key.slNo;
        int at = index.value(k, -1);
        if (at < 0) {
            VoucherSummary s;
            s.key = key;
            s.userName = r.str(QStringLiteral("UserName"));
            s.posNo = int(r.num(QStringLiteral("PosNo")));
            s.time = r.str(QStringLiteral("LastTime"));
            out.append(s);
            at = int(out.size()) - 1;
            index.insert(k, at);
        }
        VoucherSummary &s = out[at];
        const qint64 qty = r.num(QStringLiteral("Slqty"));
        s.cash += r.num(QStringLiteral("CashAmt"));
        s.card += r.num(QStringLiteral("CardAmt"));
        s.total = s.cash + s.card;
        if (r.str(QStringLiteral("CashChk")) == QLatin1String("1"))
            s.cashReceipt = true;
        if (r.num(QStringLiteral("RfSlId")) > 0 || qty < 0)
            s.refund = true;
        if (r.num(QStringLiteral("Refunds")) > 0)
            s.refunded = true;
        s.lines << QStringLiteral("%1 %2 %3").arg(r.str(QStringLiteral("ItName"))).arg(qty).arg(
            wonText(r.num(QStringLiteral("SlAmt"))));
    }
    return out;
}

} // namespace fitrova
