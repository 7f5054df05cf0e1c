#pragma once
// What the editor's sheets share: the pressure and temperature units (numbered by the
// index of the selected item of a unit pop-up, so every unit pop-up lists its units in
// that order), their conversions, and the document-modal sheet itself.

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;

namespace quorvel {

enum class PressureUnit : int { bar = 0, psia = 1, pa = 2, mpa = 3 };
enum class TemperatureUnit : int { kelvin = 0, celsius = 1, fahrenheit = 2, rankine = 3 };

// The number of units of each kind, the items of a unit pop-up.
inline constexpr int kUnitCodeCount = 4;

[[nodiscard]] constexpr int code_number(PressureUnit unit) { return static_cast<int>(unit); }
[[nodiscard]] constexpr int code_number(TemperatureUnit unit) { return static_cast<int>(unit); }
// A pop-up index of no unit (none selected) keeps its value and equals no named unit.
[[nodiscard]] constexpr PressureUnit pressureUnitFromNumber(int number) { return static_cast<PressureUnit>(number); }
[[nodiscard]] constexpr TemperatureUnit temperatureUnitFromNumber(int number)
{
    return static_cast<TemperatureUnit>(number);
}

// A value held in a unit, in bar or kelvin (a number of no unit reads as bar or kelvin).
double barOfPressure(double p, PressureUnit unit);
double kelvinOfTemperature(double t, TemperatureUnit unit);

// A value from one unit to another; unchanged when the units are equal or either is a
// number of no unit.
double convertedPressure(double p, PressureUnit from, PressureUnit to);
double convertedTemperature(double t, TemperatureUnit from, TemperatureUnit to);

// A unit pop-up's change: the value held in `unit` goes to the unit now selected in the
// pop-up, the field shows it with two decimals, and value and unit take the new unit.
void convertPressure(double& value, PressureUnit& unit, QLineEdit& field, const QComboBox& popup);
void convertTemperature(double& value, TemperatureUnit& unit, QLineEdit& field, const QComboBox& popup);

// The unit a pop-up shows selected, and the selection of a unit.
[[nodiscard]] PressureUnit selectedPressureUnit(const QComboBox& popup);
[[nodiscard]] TemperatureUnit selectedTemperatureUnit(const QComboBox& popup);
void selectUnit(QComboBox& popup, PressureUnit unit);
void selectUnit(QComboBox& popup, TemperatureUnit unit);

// A number typed into a sheet's field goes into value; text that is not a number is
// refused with an alert and the field shows value again (two decimals).
bool takeTypedNumber(QLineEdit& field, double& value);

// The unit pop-ups' items, in code order.
void addPressureUnitItems(QComboBox& popup);
void addTemperatureUnitItems(QComboBox& popup);

// A document-modal sheet: a dialog over one window that blocks only that window. It is
// begun with a did-end callback and ended with a return code; the callback decides what
// ending means (the editor's orders the sheet out). Escape ends it like its Close button.
class EditorSheet : public QDialog
{
    Q_OBJECT

public:
    using DidEnd = std::function<void(EditorSheet* sheet, QDialog::DialogCode returnCode, void* contextInfo)>;

    explicit EditorSheet(QWidget* parent = nullptr);

    void beginSheet(QWidget* window, DidEnd didEnd, void* contextInfo = nullptr);
    void endSheet(QDialog::DialogCode returnCode = QDialog::Rejected);
    bool isSheetOpen() const { return mOpen; }

    void reject() override { endSheet(QDialog::Rejected); }

private:
    DidEnd mDidEnd;
    void* mContextInfo = nullptr;
    bool mOpen = false;
};

}  // namespace quorvel
