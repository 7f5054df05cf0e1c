#include "panels/NumberField.h"

#include <cmath>

namespace quorvel {

std::optional<double> numberOfText(const QString& text)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

NumberField::NumberField(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::returnPressed, this, &NumberField::takeTypedText);
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (isModified())
            takeTypedText();
    });
}

void NumberField::showValue(const QString& text, double value)
{
    mShownText = text;
    mValue = value;
    setText(text);
    setModified(false);
}

void NumberField::setDoubleValue(double value, NumberFormat format)
{
    const QString text = formatNumber(value, format);
    showValue(text, numberOfText(text).value_or(value));
}

void NumberField::setRecordValue(const Value& value)
{
    Dictionary holder{{"value", value}};
    showValue(value.toString(), holder.doubleValue("value"));
}

void NumberField::clearValue()
{
    showValue(QString(), 0);
}

bool NumberField::takeTypedText()
{
    setModified(false);
    const std::optional<double> number = numberOfText(text());
    if (!number) {
        setText(mShownText);
        if (mAlert)
            mAlert();
        return false;
    }
    mShownText = text();
    mValue = *number;
    emit numberEntered();
    return true;
}

}  // namespace quorvel
