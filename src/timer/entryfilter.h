#pragma once

#include "platform/platform.h"

#include <QObject>

class QLineEdit;

namespace timer {

// The numeric entry filter of the time and field-number fields: typed
// digits and backspace go in; a full stop is refused with " Only full
// numbers allowed !"; every other typed character is dropped silently.
// Keys that type no character (Delete, the arrows, Tab) work as usual;
// keys held with Ctrl, Alt or Meta type nothing.
class EntryFilter : public QObject {
    Q_OBJECT
public:
    EntryFilter(platform::Messages &messages, QObject *parent);
    void watch(QLineEdit *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The characters of the typed text that may go in; tells the operator
    // about a full stop.
    QString admitted(QLineEdit *field, const QString &typed);

    platform::Messages &m_messages;
};

// The minutes field holds one digit: a value above 9 becomes "0" at once.
void keepMinutesToOneDigit(QLineEdit *minutes);

} // namespace timer
