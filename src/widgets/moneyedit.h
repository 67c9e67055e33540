#pragma once
// The one input for amounts and counts. It takes digits and separators only
// (a minus sign where negative values are allowed), shows won formatting
// ("157,000") when the field is left, and never turns what it cannot read into
// 0: a screen checks its fields before saving and the first unreadable one is
// refused with a message naming it.
//
//     auto *cash = new MoneyEdit(this, QStringLiteral("TxtCashAmt"), QStringLiteral("현금"));
//     ...
//     if (!checkNumberFields(this, ui.msg))   // "현금 금액을 숫자로 입력하십시요."
//         return;
//     in.cash = cash->amount();

#include <QLineEdit>
#include <optional>

namespace fitrova {

class Messages;

class MoneyEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class Kind { Won, Count };

    // fieldName is the caption the refusal names ("현금", "할인금액", "수량").
    explicit MoneyEdit(QWidget *parent = nullptr, const QString &objectName = {}, const QString &fieldName = {},
                       Kind kind = Kind::Won);

    void setFieldName(const QString &name) { m_fieldName = name; }
    const QString &fieldName() const { return m_fieldName; }
    void setAllowNegative(bool allow);
    bool allowNegative() const { return m_allowNegative; }

    // The amount shown; nullopt when the text is not a whole number. Blank is 0.
    std::optional<qint64> value() const;
    // The amount, 0 when the text cannot be read (read it after checkNumberFields).
    qint64 amount() const { return value().value_or(0); }
    bool isReadable() const { return value().has_value(); }
    void setAmount(qint64 value);

    // The refusal for this field: "<name> 금액을 숫자로 입력하십시요." (counts: "<name>을(를) …").
    QString refusalText() const;

signals:
    // Emitted when a readable amount changes (typing, setAmount).
    void amountChanged(qint64 value);

protected:
    void focusOutEvent(QFocusEvent *e) override;

private:
    void reformat();

    QString m_fieldName;
    Kind m_kind;
    bool m_allowNegative = false;
};

// Reads text the way MoneyEdit does: digits with "," separators, blanks
// around, an optional sign when allowed; nullopt for anything else.
std::optional<qint64> parseAmountText(const QString &text, bool allowNegative);

// Checks every enabled, visible MoneyEdit under root in focus order; at the
// first unreadable one tells the desk which field it is (title "입력확인"),
// puts the focus there with the text selected and returns false.
bool checkNumberFields(QWidget *root, Messages &msg);

} // namespace fitrova
