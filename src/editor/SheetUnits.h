#pragma once
// What the editor's sheets share: the pressure and temperature unit codes (the index of
// the selected item of a unit pop-up, so every unit pop-up lists its units in code
// order), their conversions, and the document-modal sheet itself.

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;

namespace quorvel {

// Pressure unit codes.
inline constexpr int kPressureBar = 0;
inline constexpr int kPressurePsia = 1;
inline constexpr int kPressurePa = 2;
inline constexpr int kPressureMPa = 3;

// Temperature unit codes.
inline constexpr int kTemperatureKelvin = 0;
inline constexpr int kTemperatureCelsius = 1;
inline constexpr int kTemperatureFahrenheit = 2;
inline constexpr int kTemperatureRankine = 3;

inline constexpr int kUnitCodeCount = 4;

// A value held in a unit code, in bar or kelvin (a code outside 0 .. 3 reads as bar or kelvin).
double barOfPressure(double p, int code);
double kelvinOfTemperature(double t, int code);

// A value from one unit code to another; unchanged when the codes are equal or either
// lies outside 0 .. 3.
double convertedPressure(double p, int from, int to);
double convertedTemperature(double t, int from, int to);

// A unit pop-up's change: the value held in `code` goes to the unit now selected in the
// pop-up, the field shows it with two decimals, and value and code take the new unit.
void convertPressure(double& value, int& code, QLineEdit& field, const QComboBox& popup);
void convertTemperature(double& value, int& code, QLineEdit& field, const QComboBox& popup);

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
    using DidEnd = std::function<void(EditorSheet* sheet, int returnCode, void* contextInfo)>;

    explicit EditorSheet(QWidget* parent = nullptr);

    void beginSheet(QWidget* window, DidEnd didEnd, void* contextInfo = nullptr);
    void endSheet(int returnCode = 0);
    bool isSheetOpen() const { return mOpen; }

    void reject() override { endSheet(QDialog::Rejected); }

private:
    DidEnd mDidEnd;
    void* mContextInfo = nullptr;
    bool mOpen = false;
};

}  // namespace quorvel
