#pragma once
// The text rules of a short message: the 80-byte limit counted in the Korean
// code page, the placeholders a template carries, the mobile numbers a
// message may go to, and the reservation time the provider reads.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace fitrova {

// A short message holds at most this many code-page bytes (a Hangul syllable is two).
inline constexpr int kSmsMaxBytes = 80;

// Length of a message in code-page bytes, as the limit counts it.
int smsBytes(const QString &text);

// The longest beginning of the text that fits into maxBytes, cut between whole
// characters: a Hangul syllable (or any double-byte character, or a surrogate
// pair) is never split, the cut falls before it. Decomposed Hangul is composed
// first, so that a syllable typed as jamo counts and cuts as one syllable.
QString cutToSmsBytes(const QString &text, int maxBytes = kSmsMaxBytes);

// The counters under the message boxes: "37/80byte" and "37/80bytes".
QString smsByteCounter(const QString &text);
QString smsTemplateByteCounter(const QString &text);

// Placeholders of a template, replaced per recipient.
inline constexpr char kPlaceName[] = "{{이름}}";
inline constexpr char kPlaceDate[] = "{{날짜}}";
inline constexpr char kPlaceBusiness[] = "{{사용처}}";

// The template with every placeholder replaced: {{이름}} by the recipient's
// name, {{날짜}} by the date the caller's list shows for them, {{사용처}} by
// the business name.
QString fillPlaceholders(const QString &text, const QString &name, const QString &date, const QString &business);

// --- mobile numbers ---------------------------------------------------------------

// The digits of a typed number: hyphens, blanks, dots and brackets dropped.
// Text with any other character is returned trimmed, unchanged (and fails the check).
QString mobileDigits(const QString &typed);

// True when the number (typed or stored, separators allowed) starts with one of
// the mobile prefixes 010, 011, 016, 017, 019.
bool hasMobilePrefix(const QString &number);

enum class NumberCheck { Ok, Empty, TooShort, BadForm };

// The check of a number to send to: not empty, at least ten digits, and ten
// or eleven digits starting with a mobile prefix.
NumberCheck checkMobileNumber(const QString &typed);
// The refusal text of a failed check ("" for Ok).
QString numberCheckText(NumberCheck check);

// The number as it is written into the send row: three digits, "-", three
// (ten-digit number) or four (eleven-digit number) digits, "-", the last four.
// "" when the number fails the check.
QString formatMobileNumber(const QString &typed);

// --- reservation ---------------------------------------------------------------------

// "YYYYMMDDHHMM".
QString reservationTime(const QDateTime &at);
// The reservation time as a date and time; invalid for anything but "YYYYMMDDHHMM".
QDateTime parseReservationTime(const QString &text);

// The hour list of the reservation: "오전 12", "오전 01" … "오전 11",
// "오후 12", "오후 01" … "오후 11", in the order of the day.
QStringList reservationHourItems();
// The hour of the day (0–23) of an item of that list; -1 for other text.
// "오전 12" is midnight, "오후 12" noon; other afternoon hours add 12.
int hourOfItem(const QString &item);
// The item of an hour of the day.
QString itemOfHour(int hour);

} // namespace fitrova
