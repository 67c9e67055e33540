#pragma once
// Keeps what a card or bar-code reader types for the scan box of a screen
// when the focus sits in another of its controls. A reader types like a
// keyboard, only much faster, and ends with Enter.
//
// Characters typed on a control that takes no text (a button, the grid) go
// to the scan box at once, and the focus with them. In another text field a
// burst of at least minLength characters, each following the one before
// within maxGapMs and ended by Enter, is taken back out of that field and
// handed to the scan box as one scan; ordinary typing stays where it is.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

namespace fitrova {

class ScanCatcher : public QObject {
    Q_OBJECT
public:
    // onScan runs with the scan box holding a complete scan.
    ScanCatcher(QWidget *screen, QLineEdit *scanBox, std::function<void()> onScan);
    ~ScanCatcher() override;

    // Milliseconds of a monotonic clock (tests set their own).
    using MsClock = std::function<qint64()>;
    void setClock(MsClock clock) { m_clock = std::move(clock); }
    void setMaxGapMs(int ms) { m_maxGap = ms; }
    void setMinLength(int n) { m_minLength = n; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_screen;
    QPointer<QLineEdit> m_scanBox;
    std::function<void()> m_onScan;
    MsClock m_clock;
    int m_maxGap = 50;
    int m_minLength = 4;

    // The burst being typed into another text field.
    QPointer<QLineEdit> m_field;
    QString m_before; // the field's text before the burst began
    QString m_burst;
    qint64 m_last = 0;
};

} // namespace fitrova
