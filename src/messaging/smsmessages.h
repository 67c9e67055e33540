#pragma once
// Sending: messages are rows written into the provider's send queue
// (send_zelmar), paid for from the account's prepaid balance. The balance is
// read locked, checked, and reduced in the same transaction that writes the
// rows, so two workstations sending at once never take it below zero. Also:
// the copy of the provider's fresh results into the history, the history
// itself, and the message templates.

#include "data/db.h"
#include "foundation/outcome.h"
#include "messaging/smsaccounts.h"
#include "messaging/smsrecipients.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace fitrova {

inline QString smsSendTitle() { return QStringLiteral("문자전송"); }

// One message to one number, as the preview lists it.
struct SmsMessage {
    QString tel;  // as listed; written in the form 010-1234-5678
    QString name; // the recipient's name ("" for a typed number)
    QString text; // the personal text, placeholders already replaced
    bool operator==(const SmsMessage &) const = default;
};

// The message of each recipient: the text with {{이름}}, {{날짜}} and
// {{사용처}} filled for them (the business name for {{사용처}}).
QList<SmsMessage> personalMessages(const QList<SmsRecipient> &recipients, const QString &text,
                                   const QString &business);

// The refusal when the balance does not cover n messages.
QString composeShortfallText(qint64 shortfall); // "2만큼의 잔여 건수가 부족합니다."
QString previewShortfallText(qint64 shortfall); // "보낼 건수가2만큼 부족합니다."

// How many messages the balance lacks for n (0 when it covers them).
qint64 smsShortfall(const Db &primary, const QString &subId, qint64 n);

struct SmsSendReport {
    Outcome outcome;         // refused (nothing written), or done with the summary notice
    int sent = 0, failed = 0;
    QList<bool> written;     // per message: written, or refused by the number check
    qint64 balance = 0;      // after the send
};

// The bulk send of the preview. Refused, writing nothing, when not logged in
// ("로그인이 필요합니다."), for a reservation that is not a time to come, or
// when the list is longer than the balance (previewShortfallText). Otherwise
// every message whose number passes the number check is written (its text cut
// to 80 bytes) and counted as sent, every other as failed; the balance goes
// down by the messages written. reservation: "" to send at once, else
// "YYYYMMDDHHMM". The summary reads "문자 발송을 완료하였습니다," /
// "성공:n건  실패:m건" / "(hh:mm:ss)".
SmsSendReport sendSmsMessages(const Db &primary, const QString &sendAs, const SmsLogin &login,
                              const QList<SmsMessage> &messages, const QString &reservation, const QDateTime &now);

struct SmsSingleReport {
    Outcome outcome;
    QString logLine;     // "SMS OK 즉시발송" when sent
    qint64 balance = 0;  // after the send
};

// The send to one typed number, at once: refused when not logged in, for an
// empty message ("메세지 내용을 적어주십시오"), when the balance is empty
// (composeShortfallText) or when the number fails the check.
SmsSingleReport sendSingleSms(const Db &primary, const QString &sendAs, const SmsLogin &login, const QString &tel,
                              const QString &text);

// --- results and history ---------------------------------------------------------------

// Copies the results the provider wrote on the results connection since the
// newest one the primary holds. Idempotent: a result already in the primary
// is never copied again, also when two workstations copy at once. Returns the
// number of rows copied (0 when both connections are the same database).
int copyNewSmsResults(const Db &primary, const Db &results);

enum class SmsHistoryKind { All, Success, Error };
enum class SmsSearchBy { Name, Number };

QStringList smsHistoryKindItems(); // "전체내역", "성공내역", "오류내역"
QStringList smsSearchByItems();    // "수신자명", "수신번호"

struct SmsHistoryQuery {
    QString customId;
    SmsHistoryKind kind = SmsHistoryKind::All;
    QString from, to; // "YYYY-MM-DD", the days of the result time
    SmsSearchBy by = SmsSearchBy::Name;
    QString text;     // part of the name or number; "" for every one
};

struct SmsHistoryLine {
    QString customId, userTel, customName, msg, customTel, result, iTime, sTime;
    qint64 fee = 0;
};

QStringList smsHistoryHeaders();
QStringList smsHistoryCells(const SmsHistoryLine &line);

// The results of the customer whose result time falls within the days, newest first.
QList<SmsHistoryLine> smsHistory(const Db &primary, const SmsHistoryQuery &q);

// --- templates ---------------------------------------------------------------------------

inline QString smsTemplateTitle() { return QStringLiteral("문자내용"); }

struct SmsTemplate {
    qint64 idx = 0; // 0 for a new template
    QString title, text;
};

QList<SmsTemplate> smsTemplates(const Db &primary, const QString &customId);
// Adds (idx 0) or changes a template of the customer; the text is kept to 80 bytes.
Outcome saveSmsTemplate(const Db &primary, const QString &customId, const SmsTemplate &t);
Outcome deleteSmsTemplate(const Db &primary, const QString &customId, qint64 idx);

} // namespace fitrova
