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

bool isUnitNumber(int number)
{
    return number >= 0 && number < kUnitCodeCount;
}

template <typename Unit>
bool convertsBetween(Unit from, Unit to)
{
    return from != to && isUnitNumber(code_number(from)) && isUnitNumber(code_number(to));
}

}  // namespace

double barOfPressure(double p, PressureUnit unit)
{
    switch (unit) {
    case PressureUnit::psia: return p * kBarPerPsia;
    case PressureUnit::pa: return p / kPaPerBar;
    case PressureUnit::mpa: return p * kBarPerMPa;
    default: return p;
    }
}

double kelvinOfTemperature(double t, TemperatureUnit unit)
{
    switch (unit) {
    case TemperatureUnit::celsius: return t + kKelvinOffset;
    case TemperatureUnit::fahrenheit: return (t - kFahrenheitZero) / kFahrenheitPerKelvin + kKelvinOffset;
    case TemperatureUnit::rankine: return t / kFahrenheitPerKelvin;
    default: return t;
    }
}

double convertedPressure(double p, PressureUnit from, PressureUnit to)
{
    if (!convertsBetween(from, to))
        return p;
    using enum PressureUnit;
    switch (from) {
    case bar:
        switch (to) {
        case psia: return p / kBarPerPsia;
        case pa: return p * kPaPerBar;
        default: return p * kMPaPerBar;
        }
    case psia:
        switch (to) {
        case bar: return p * kBarPerPsia;
        case pa: return p * kPaPerPsia;
        default: return p * kMPaPerPsia;
        }
    case pa:
        switch (to) {
        case bar: return p / kPaPerBar;
        case psia: return p / kPaPerPsia;
        default: return p / kPaPerMPa;
        }
    default:  // MPa
        switch (to) {
        case bar: return p * kBarPerMPa;
        case psia: return p / kMPaPerPsia;
        default: return p * kPaPerMPa;
        }
    }
}

double convertedTemperature(double t, TemperatureUnit from, TemperatureUnit to)
{
    if (!convertsBetween(from, to))
        return t;
    using enum TemperatureUnit;
    switch (from) {
    case kelvin:
        switch (to) {
        case celsius: return t - kKelvinOffset;
        case fahrenheit: return (t - kKelvinOffset) * kFahrenheitPerKelvin + kFahrenheitZero;
        default: return t * kFahrenheitPerKelvin;
        }
    case celsius:
        switch (to) {
        case kelvin: return t + kKelvinOffset;
        case fahrenheit: return t * kFahrenheitPerKelvin + kFahrenheitZero;
        default: return (t + kKelvinOffset) * kFahrenheitPerKelvin;
        }
    case fahrenheit:
        switch (to) {
        case kelvin: return (t - kFahrenheitZero) / kFahrenheitPerKelvin + kKelvinOffset;
        case celsius: return (t - kFahrenheitZero) / kFahrenheitPerKelvin;
        default: return t + kRankineOffset;
        }
    default:  // degrees Rankine
        switch (to) {
        case kelvin: return t / kFahrenheitPerKelvin;
        case celsius: return t / kFahrenheitPerKelvin - kKelvinOffset;
        default: return t - kRankineOffset;
        }
    }
}

void convertPressure(double& value, PressureUnit& unit, QLineEdit& field, const QComboBox& popup)
{
    const PressureUnit selected = selectedPressureUnit(popup);
    value = convertedPressure(value, unit, selected);
    setDoubleValue2(field, value);
    unit = selected;
}

void convertTemperature(double& value, TemperatureUnit& unit, QLineEdit& field, const QComboBox& popup)
{
    const TemperatureUnit selected = selectedTemperatureUnit(popup);
    value = convertedTemperature(value, unit, selected);
    setDoubleValue2(field, value);
    unit = selected;
}

PressureUnit selectedPressureUnit(const QComboBox& popup)
{
    return pressureUnitFromNumber(popup.currentIndex());
}

TemperatureUnit selectedTemperatureUnit(const QComboBox& popup)
{
    return temperatureUnitFromNumber(popup.currentIndex());
}

void selectUnit(QComboBox& popup, PressureUnit unit)
{
    popup.setCurrentIndex(code_number(unit));
}

void selectUnit(QComboBox& popup, TemperatureUnit unit)
{
    popup.setCurrentIndex(code_number(unit));
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

void EditorSheet::endSheet(QDialog::DialogCode returnCode)
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
