#include "editor/EditorControls.h"

#include "widgets/ValueStepper.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace quorvel {

QLineEdit* makeField(QWidget* parent, const QString& outlet)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(outlet);
    field->setMinimumWidth(72);
    return field;
}

ValueStepper* makeStepper(QWidget* parent, const QString& outlet, double minimum, double maximum, double increment)
{
    auto* stepper = new ValueStepper(parent);
    stepper->setObjectName(outlet);
    stepper->setMinimum(minimum);
    stepper->setMaximum(maximum);
    stepper->setIncrement(increment);
    return stepper;
}

QPushButton* makeButton(QWidget* parent, const QString& outlet, const QString& title)
{
    auto* button = new QPushButton(title, parent);
    button->setObjectName(outlet);
    return button;
}

QComboBox* makePopup(QWidget* parent, const QString& outlet)
{
    auto* popup = new QComboBox(parent);
    popup->setObjectName(outlet);
    return popup;
}

QWidget* withStepper(QWidget* parent, QWidget* field, ValueStepper* stepper)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(field, 1);
    stepper->setFixedWidth(18);
    row->addWidget(stepper);
    return box;
}

std::optional<double> typedNumber(const QString& text)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

void onFieldEdited(QLineEdit* field, QObject* context, std::function<void()> action)
{
    QObject::connect(field, &QLineEdit::editingFinished, context, [field, action = std::move(action)] {
        if (field->isModified()) {
            field->setModified(false);
            action();
        }
    });
}

}  // namespace quorvel
