#pragma once
// The editor window's controls as its parts make them: each named by its outlet, so that
// tests and sheets find it by name.

#include <QString>

#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;
class QObject;
class QPushButton;
class QWidget;

namespace quorvel {

class ValueStepper;

QLineEdit* makeField(QWidget* parent, const QString& outlet);
ValueStepper* makeStepper(QWidget* parent, const QString& outlet, double minimum, double maximum, double increment);
QPushButton* makeButton(QWidget* parent, const QString& outlet, const QString& title);
QComboBox* makePopup(QWidget* parent, const QString& outlet);
// A field with its stepper to the right.
QWidget* withStepper(QWidget* parent, QWidget* field, ValueStepper* stepper);
// A typed number; none for text that is not one.
std::optional<double> typedNumber(const QString& text);
// Runs the action, while context lives, when the user has finished changing the field's text.
void onFieldEdited(QLineEdit* field, QObject* context, std::function<void()> action);

}  // namespace quorvel
