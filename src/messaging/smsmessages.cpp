#include "messaging/smsmessages.h"

#include "messaging/smstext.h"

#include <QSqlError>
#include <QSqlQuery>

namespace fitrova {

namespace {

// Rows per INSERT of a bulk send: 9 values each, far below either engine's
// limit of bound values per statement.
constexpr int kRowsPerInsert = 100;

const char *const kSendColumns =
    "INSERT INTO send_zelmar (user_id, sub_id, user_tel, custom_id, custom_nam, custom_tel, msg, typ, y_time) VALUES ";

QString insertForRows(int rows)
{
    QString sql = QString::fromLatin1(kSendColumns);
    sql.reserve(sql.size() + rows * 22);
    for (int i = 0; i < rows; ++i) {
        if (i > 0)
            sql += QLatin1Char(',');
        sql += QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?)");
    }
    return sql;
}

// A row of the send queue.
struct QueuedRow {
    QString tel, name, text;
};

// Writes the rows in statements of kRowsPerInsert rows (inside the caller's transaction).
void writeQueue(const Db &db, const QString &sendAs, const SmsLogin &login, const QList<QueuedRow> &rows,
                const QString &reservation)
{
    for (qsizetype from = 0; from < rows.size(); from += kRowsPerInsert) {
        const int n = int(std::min<qsizetype>(kRowsPerInsert, rows.size() - from));
        Params p;
        p.reserve(n * 9);
        for (int i = 0; i < n; ++i) {
            const QueuedRow &r = rows.at(from + i);
            p << sendAs << login.subId << login.customTel << login.customId
              << (r.name.isEmpty() ? login.customName : r.name) << r.tel << r.text << QStringLiteral("1")
              << reservation;
        }
        db.exec(insertForRows(n), p);
    }
}

// The balance of the account, its row locked until the transaction ends.
qint64 lockedBalance(const Db &db, const QString &subId)
{
    const auto row = db.queryOne(QStringLiteral("SELECT M_PastG FROM tblAccount WHERE Sub_Id = ?") + db.forUpdate(),
                                 {subId});
    return row ? row->num(QStringLiteral("M_PastG")) : 0;
}

void takeFromBalance(const Db &db, const QString &subId, qint64 n)
{
    if (n > 0)
        db.exec(QStringLiteral("UPDATE tblAccount SET M_PastG = M_PastG - ? WHERE Sub_Id = ?"), {n, subId});
}

QString likeEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

const QString kSuccess = QStringLiteral("성공");

} // namespace

QList<SmsMessage> personalMessages(const QList<SmsRecipient> &recipients, const QString &text,
                                   const QString &business)
{
    QList<SmsMessage> out;
    out.reserve(recipients.size());
    for (const SmsRecipient &r : recipients)
        out << SmsMessage{r.tel, r.name, fillPlaceholders(text, r.name, r.date, business)};
    return out;
}

QString composeShortfallText(qint64 shortfall)
{
    return QString::number(shortfall) + QStringLiteral("만큼의 잔여 건수가 부족합니다.");
}

QString previewShortfallText(qint64 shortfall)
{
    return QStringLiteral("보낼 건수가") + QString::number(shortfall) + QStringLiteral("만큼 부족합니다.");
}

qint64 smsShortfall(const Db &primary, const QString &subId, qint64 n)
{
    const qint64 balance = smsBalance(primary, subId);
    return n > balance ? n - balance : 0;
}

SmsSendReport sendSmsMessages(const Db &primary, const QString &sendAs, const SmsLogin &login,
                              const QList<SmsMessage> &messages, const QString &reservation, const QDateTime &now)
{
    SmsSendReport r;
    const QString title = smsSendTitle();
    if (!login.loggedIn()) {
        r.outcome = Outcome::refused(QStringLiteral("로그인이 필요합니다."), title);
        return r;
    }
    if (messages.isEmpty()) {
        r.outcome = Outcome::refused(QStringLiteral("보낼 문자가 없습니다."), title);
        return r;
    }
    if (!reservation.isEmpty()) {
        const QDateTime at = parseReservationTime(reservation);
        if (!at.isValid()) {
            r.outcome = Outcome::refused(QStringLiteral("예약시간이 올바르지 않습니다."), title);
            return r;
        }
        if (reservation <= reservationTime(now)) {
            r.outcome = Outcome::refused(QStringLiteral("예약시간이 이미 지났습니다. 예약시간을 다시 선택해주세요."), title);
            return r;
        }
    }

    // What is written, decided before the transaction: the number check and
    // the 80-byte cut are the same whatever the balance.
    QList<QueuedRow> rows;
    rows.reserve(messages.size());
    r.written.reserve(messages.size());
    for (const SmsMessage &m : messages) {
        const QString tel = formatMobileNumber(m.tel);
        const QString text = cutToSmsBytes(m.text);
        const bool ok = !tel.isEmpty() && !text.trimmed().isEmpty();
        r.written << ok;
        if (ok)
            rows << QueuedRow{tel, m.name, text};
    }

    const bool refused = primary.transaction([&] {
        const qint64 balance = lockedBalance(primary, login.subId);
        if (messages.size() > balance) {
            r.outcome = Outcome::refused(previewShortfallText(messages.size() - balance), title);
            r.balance = balance;
            return true;
        }
        writeQueue(primary, sendAs, login, rows, reservation);
        takeFromBalance(primary, login.subId, rows.size());
        r.balance = balance - rows.size();
        return false;
    });
    if (refused) {
        r.written.clear();
        return r;
    }
    r.sent = int(rows.size());
    r.failed = int(messages.size() - rows.size());
    r.outcome = Outcome::done().info(QStringLiteral("문자 발송을 완료하였습니다,\n성공:%1건  실패:%2건\n(%3)")
                                         .arg(r.sent)
                                         .arg(r.failed)
                                         .arg(now.toString(QStringLiteral("HH:mm:ss"))),
                                     title);
    return r;
}

SmsSingleReport sendSingleSms(const Db &primary, const QString &sendAs, const SmsLogin &login, const QString &tel,
                              const QString &text)
{
    SmsSingleReport r;
    const QString title = smsSendTitle();
    if (!login.loggedIn()) {
        r.outcome = Outcome::refused(QStringLiteral("로그인이 필요합니다."), title);
        return r;
    }
    if (text.trimmed().isEmpty()) {
        r.outcome = Outcome::refused(QStringLiteral("메세지 내용을 적어주십시오"), title);
        return r;
    }
    primary.transaction([&] {
        const qint64 balance = lockedBalance(primary, login.subId);
        r.balance = balance;
        if (balance < 1) {
            r.outcome = Outcome::refused(composeShortfallText(1 - balance), title);
            return;
        }
        const NumberCheck check = checkMobileNumber(tel);
        if (check != NumberCheck::Ok) {
            r.outcome = Outcome::refused(numberCheckText(check), title);
            return;
        }
        writeQueue(primary, sendAs, login, {QueuedRow{formatMobileNumber(tel), QString(), cutToSmsBytes(text)}},
                   QString());
        takeFromBalance(primary, login.subId, 1);
        r.balance = balance - 1;
        r.logLine = QStringLiteral("SMS OK 즉시발송");
        r.outcome = Outcome::done();
    });
    return r;
}

// --- results and history -------------------------------------------------------------------

int copyNewSmsResults(const Db &primary, const Db &results)
{
    if (primary.connectionName() == results.connectionName())
        return 0;
    return primary.transaction([&] {
        // One copier at a time: a second workstation waits here and then
        // finds the rows already copied. (SQLite's write transaction is
        // already exclusive.)
        if (primary.isPostgres())
            primary.exec(QStringLiteral("LOCK TABLE result_zelmar IN SHARE ROW EXCLUSIVE MODE"));
        const qint64 newest = primary.scalar(QStringLiteral("SELECT COALESCE(MAX(id), 0) FROM result_zelmar")).toLongLong();
        const Rows fresh = results.query(
            QStringLiteral("SELECT id, custom_id, user_tel, custom_nam, msg, custom_tel, result_msg, fee2, i_time, s_time "
                           "FROM result_zelmar WHERE id > ? ORDER BY id"),
            {newest});
        int copied = 0;
        for (const Row &f : fresh) {
            const qint64 id = f.num(QStringLiteral("id"));
            copied += primary.exec(
                QStringLiteral("INSERT INTO result_zelmar (id, custom_id, user_tel, custom_nam, msg, custom_tel, "
                               "result_msg, fee2, i_time, s_time) "
                               "SELECT CAST(? AS BIGINT), ?, ?, ?, ?, ?, ?, CAST(? AS BIGINT), ?, ? "
                               "WHERE NOT EXISTS (SELECT 1 FROM result_zelmar WHERE id = CAST(? AS BIGINT))"),
                {id, f.value(QStringLiteral("custom_id")), f.value(QStringLiteral("user_tel")),
                 f.value(QStringLiteral("custom_nam")), f.value(QStringLiteral("msg")),
                 f.value(QStringLiteral("custom_tel")), f.value(QStringLiteral("result_msg")),
                 f.isNull(QStringLiteral("fee2")) ? QVariant() : QVariant(f.num(QStringLiteral("fee2"))),
                 f.value(QStringLiteral("i_time")), f.value(QStringLiteral("s_time")), id});
        }
        return copied;
    });
}

QStringList smsHistoryKindItems()
{
    return {QStringLiteral("전체내역"), QStringLiteral("성공내역"), QStringLiteral("오류내역")};
}

QStringList smsSearchByItems()
{
    return {QStringLiteral("수신자명"), QStringLiteral("수신번호")};
}

QStringList smsHistoryHeaders()
{
    return {QStringLiteral("수신자명"), QStringLiteral("수신번호"), QStringLiteral("메세지"),
            QStringLiteral("결과"),     QStringLiteral("요청시간"), QStringLiteral("전송시간"),
            QStringLiteral("회신번호")};
}

QStringList smsHistoryCells(const SmsHistoryLine &l)
{
    return {l.customName, l.customTel, l.msg, l.result, l.iTime, l.sTime, l.userTel};
}

QList<SmsHistoryLine> smsHistory(const Db &primary, const SmsHistoryQuery &q)
{
    // The day range as a range of the time text, which the (custom_id, s_time) index serves.
    const QDate last = QDate::fromString(q.to, QStringLiteral("yyyy-MM-dd"));
    const QString until = last.isValid() ? last.addDays(1).toString(QStringLiteral("yyyy-MM-dd"))
                                         : q.to + QStringLiteral("\uffff");
    QString sql = QStringLiteral("SELECT user_tel, custom_nam, msg, custom_tel, result_msg, fee2, i_time, s_time "
                                 "FROM result_zelmar WHERE custom_id = ? AND s_time >= ? AND s_time < ?");
    Params p{q.customId, q.from, until};
    if (q.kind == SmsHistoryKind::Success) {
        sql += QStringLiteral(" AND result_msg = ?");
        p << kSuccess;
    } else if (q.kind == SmsHistoryKind::Error) {
        sql += QStringLiteral(" AND COALESCE(result_msg, '') <> ?");
        p << kSuccess;
    }
    const QString text = q.text.trimmed();
    if (!text.isEmpty()) {
        if (q.by == SmsSearchBy::Name) {
            sql += QStringLiteral(" AND custom_nam LIKE ? ESCAPE '\\'");
            p << QString(QLatin1Char('%') + likeEscaped(text) + QLatin1Char('%'));
        } else {
            // Numbers are stored with hyphens; typed ones may come without.
            QString digits = text;
            digits.remove(QLatin1Char('-'));
            sql += QStringLiteral(" AND REPLACE(custom_tel, '-', '') LIKE ? ESCAPE '\\'");
            p << QString(QLatin1Char('%') + likeEscaped(digits) + QLatin1Char('%'));
        }
    }
    sql += QStringLiteral(" ORDER BY s_time DESC, id DESC");

    // A month of a busy centre is a hundred thousand rows: they are read by
    // position from a forward-only query rather than as whole records, which
    // would copy every column's description with every row.
    QSqlQuery query(primary.handle());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DbError(DbError::Kind::Statement, query.lastError().text(), sql, query.lastError().nativeErrorCode());
    for (int i = 0; i < p.size(); ++i)
        query.bindValue(i, p.at(i));
    if (!query.exec())
        throw DbError(DbError::Kind::Statement, query.lastError().text(), sql, query.lastError().nativeErrorCode());
    QList<SmsHistoryLine> out;
    while (query.next()) {
        SmsHistoryLine l;
        l.customId = q.customId;
        l.userTel = query.value(0).toString();
        l.customName = query.value(1).toString();
        l.msg = query.value(2).toString();
        l.customTel = query.value(3).toString();
        l.result = query.value(4).toString();
        l.fee = query.value(5).toLongLong();
        l.iTime = query.value(6).toString();
        l.sTime = query.value(7).toString();
        out << std::move(l);
    }
    return out;
}

// --- templates ---------------------------------------------------------------------------------

QList<SmsTemplate> smsTemplates(const Db &primary, const QString &customId)
{
    QList<SmsTemplate> out;
    for (const Row &r : primary.query(
             QStringLiteral("SELECT idx, title, context FROM tblContent WHERE custom_id = ? ORDER BY idx"), {customId}))
        out << SmsTemplate{r.num(QStringLiteral("idx")), r.str(QStringLiteral("title")), r.str(QStringLiteral("context"))};
    return out;
}

Outcome saveSmsTemplate(const Db &primary, const QString &customId, const SmsTemplate &t)
{
    const QString title = smsTemplateTitle();
    if (t.title.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("제목을 넣어주세요"), title, 1);
    if (t.text.trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("내용을 넣어주세요"), title, 2);
    const QString text = cutToSmsBytes(t.text);
    if (t.idx == 0) {
        const qint64 idx = primary.insertId(
            QStringLiteral("INSERT INTO tblContent (custom_id, title, context) VALUES (?, ?, ?)"),
            {customId, t.title.trimmed(), text}, QStringLiteral("idx"));
        if (idx <= 0)
            return Outcome::refused(QStringLiteral("해당 데이타가 추가되지 않았습니다."), title);
        return Outcome::done(idx);
    }
    if (primary.exec(QStringLiteral("UPDATE tblContent SET title = ?, context = ? WHERE idx = ? AND custom_id = ?"),
                     {t.title.trimmed(), text, t.idx, customId})
        == 0)
        return Outcome::refused(QStringLiteral("해당 데이타 업데이트가 되지 않았습니다."), title);
    return Outcome::done(t.idx);
}

Outcome deleteSmsTemplate(const Db &primary, const QString &customId, qint64 idx)
{
    primary.exec(QStringLiteral("DELETE FROM tblContent WHERE idx = ? AND custom_id = ?"), {idx, customId});
    return Outcome::done(idx);
}

} // namespace fitrova
