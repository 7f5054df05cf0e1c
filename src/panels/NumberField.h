#pragma once
// A panel's number field. Typed text that reads as a finite number becomes the field's
// value and is announced; any other text is refused: the field's alert shows, the
// previous text comes back and the value stays what it was, never read as 0.

#include "platform/Value.h"
#include "widgets/NumberFields.h"

#include <QLineEdit>

#include <functional>
#include <optional>

namespace quorvel {

class NumberField : public QLineEdit
{
    Q_OBJECT

public:
    explicit NumberField(QWidget* parent = nullptr);

    // The alert shown for a refused text (none: refused silently).
    void setInvalidNumberAlert(std::function<void()> alert) { mAlert = std::move(alert); }

    // The last number the field took; 0 while the field is empty.
    double doubleValue() const { return mValue; }
    void setDoubleValue(double value, NumberFormat format);
    // A record's value as it stands: a number, or text read by the record rules.
    void setRecordValue(const Value& value);
    void clearValue();

    // Takes the text as typed (Return or leaving an edited field does it); true when it was a number.
    bool takeTypedText();

signals:
    void numberEntered();

private:
    void showValue(const QString& text, double value);

    std::function<void()> mAlert;
    double mValue = 0;
    QString mShownText;
};

// The number a text reads as, when it reads as a finite one.
std::optional<double> numberOfText(const QString& text);

}  // namespace quorvel
