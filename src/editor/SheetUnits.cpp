#include "editor/SheetUnits.h"

#include "platform/AlertService.h"
#include "widgets/NumberFields.h"

#include <QComboBox>
#include <QLineEdit>

#include <cmath>

namespace quorvel {

namespace {

constexpr double kBarPerPsia = 0.068948;
constexpr double kPaPerPsia = 6894.8;
constexpr double kMPaPerPsia = 0.0068948;
constexpr double kPaPerBar = 100000;
constexpr double kMPaPerBar = 0.1;
constexpr double kBarPerMPa = 10;
constexpr double kPaPerMPa = 1000000;
constexpr double kKelvinOffset = 273.15;
constexpr double kRankineOffset = 459.67;  // degrees Fahrenheit of 0 degrees Rankine
constexpr double kFahrenheitPerKelvin = 1.8;
constexpr double kFahrenheitZero = 32;

bool isUnitCode(int code)
{
    return code >= 0 && code < kUnitCodeCount;
}

}  // namespace

double barOfPressure(double p, int code)
{
    switch (code) {
    case kPressurePsia: return p * kBarPerPsia;
    case kPressurePa: return p / kPaPerBar;
    case kPressureMPa: return p * kBarPerMPa;
    default: return p;
    }
}

double kelvinOfTemperature(double t, int code)
{
    switch (code) {
    case kTemperatureCelsius: return t + kKelvinOffset;
    case kTemperatureFahrenheit: return (t - kFahrenheitZero) / kFahrenheitPerKelvin + kKelvinOffset;
    case kTemperatureRankine: return t / kFahrenheitPerKelvin;
    default: return t;
    }
}

double convertedPressure(double p, int from, int to)
{
    if (from == to || !isUnitCode(from) || !isUnitCode(to))
        return p;
    switch (from * kUnitCodeCount + to) {
    case kPressureBar * kUnitCodeCount + kPressurePsia: return p / kBarPerPsia;
    case kPressureBar * kUnitCodeCount + kPressurePa: return p * kPaPerBar;
    case kPressureBar * kUnitCodeCount + kPressureMPa: return p * kMPaPerBar;
    case kPressurePsia * kUnitCodeCount + kPressureBar: return p * kBarPerPsia;
    case kPressurePsia * kUnitCodeCount + kPressurePa: return p * kPaPerPsia;
    case kPressurePsia * kUnitCodeCount + kPressureMPa: return p * kMPaPerPsia;
    case kPressurePa * kUnitCodeCount + kPressureBar: return p / kPaPerBar;
    case kPressurePa * kUnitCodeCount + kPressurePsia: return p / kPaPerPsia;
    case kPressurePa * kUnitCodeCount + kPressureMPa: return p / kPaPerMPa;
    case kPressureMPa * kUnitCodeCount + kPressureBar: return p * kBarPerMPa;
    case kPressureMPa * kUnitCodeCount + kPressurePsia: return p / kMPaPerPsia;
    default: return p * kPaPerMPa;  // MPa to Pa
    }
}

double convertedTemperature(double t, int from, int to)
{
    if (from == to || !isUnitCode(from) || !isUnitCode(to))
        return t;
    switch (from * kUnitCodeCount + to) {
    case kTemperatureKelvin * kUnitCodeCount + kTemperatureCelsius: return t - kKelvinOffset;
    case kTemperatureKelvin * kUnitCodeCount + kTemperatureFahrenheit:
        return (t - kKelvinOffset) * kFahrenheitPerKelvin + kFahrenheitZero;
    case kTemperatureKelvin * kUnitCodeCount + kTemperatureRankine: return t * kFahrenheitPerKelvin;
    case kTemperatureCelsius * kUnitCodeCount + kTemperatureKelvin: return t + kKelvinOffset;
    case kTemperatureCelsius * kUnitCodeCount + kTemperatureFahrenheit:
        return t * kFahrenheitPerKelvin + kFahrenheitZero;
    case kTemperatureCelsius * kUnitCodeCount + kTemperatureRankine:
        return (t + kKelvinOffset) * kFahrenheitPerKelvin;
    case kTemperatureFahrenheit * kUnitCodeCount + kTemperatureKelvin:
        return (t - kFahrenheitZero) / kFahrenheitPerKelvin + kKelvinOffset;
    case kTemperatureFahrenheit * kUnitCodeCount + kTemperatureCelsius:
        return (t - kFahrenheitZero) / kFahrenheitPerKelvin;
    case kTemperatureFahrenheit * kUnitCodeCount + kTemperatureRankine: return t + kRankineOffset;
    case kTemperatureRankine * kUnitCodeCount + kTemperatureKelvin: return t / kFahrenheitPerKelvin;
    case kTemperatureRankine * kUnitCodeCount + kTemperatureCelsius: return t / kFahrenheitPerKelvin - kKelvinOffset;
    default: return t - kRankineOffset;  // degrees Rankine to degrees Fahrenheit
    }
}

void convertPressure(double& value, int& code, QLineEdit& field, const QComboBox& popup)
{
    const int unit = popup.currentIndex();
    value = convertedPressure(value, code, unit);
    setDoubleValue2(field, value);
    code = unit;
}

void convertTemperature(double& value, int& code, QLineEdit& field, const QComboBox& popup)
{
    const int unit = popup.currentIndex();
    value = convertedTemperature(value, code, unit);
    setDoubleValue2(field, value);
    code = unit;
}

bool takeTypedNumber(QLineEdit& field, double& value)
{
    bool ok = false;
    const double number = field.text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number)) {
        showAlert(QStringLiteral("\"%1\" is not a number.").arg(field.text()));
        setDoubleValue2(field, value);
        return false;
    }
    value = number;
    return true;
}

void addPressureUnitItems(QComboBox& popup)
{
    popup.addItems({QStringLiteral("bar"), QStringLiteral("psia"), QStringLiteral("Pa"), QStringLiteral("MPa")});
}

void addTemperatureUnitItems(QComboBox& popup)
{
    popup.addItems({QStringLiteral("K"), QStringLiteral("\u00b0C"), QStringLiteral("\u00b0F"), QStringLiteral("\u00b0R")});
}

// --- Sheets

EditorSheet::EditorSheet(QWidget* parent) : QDialog(parent)
{
    setWindowModality(Qt::WindowModal);
}

void EditorSheet::beginSheet(QWidget* window, DidEnd didEnd, void* contextInfo)
{
    if (window && parentWidget() != window)
        setParent(window, windowFlags());
    setWindowModality(Qt::WindowModal);
    mDidEnd = std::move(didEnd);
    mContextInfo = contextInfo;
    mOpen = true;
    adjustSize();
    if (window)  // hangs from the top of the window, centred
        move(window->mapToGlobal(QPoint((window->width() - width()) / 2, 0)));
    show();
    raise();
    activateWindow();
}

void EditorSheet::endSheet(int returnCode)
{
    if (!mOpen)
        return;
    mOpen = false;
    DidEnd didEnd = std::move(mDidEnd);
    mDidEnd = nullptr;
    if (didEnd)
        didEnd(this, returnCode, mContextInfo);
    else
        hide();
}

}  // namespace quorvel
