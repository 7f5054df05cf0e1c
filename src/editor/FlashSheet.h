#pragma once
// The flash sheet of the fluid model editor: flashes the selected fluid at a typed
// temperature and pressure and adds its equilibrium liquid, vapour or both right after it.

#include "calc/CalculationInterface.h"
#include "editor/FluidRecord.h"
#include "editor/SheetUnits.h"

#include <QObject>

#include <optional>

class QComboBox;
class QLineEdit;

namespace quorvel {

class EditorSheet;
class FluidModelController;
class ValueStepper;

class FlashSheet : public QObject
{
    Q_OBJECT

public:
    // The sheet's panel is made over the editor's window, which owns it.
    FlashSheet(FluidModelController& editor, QWidget* window);

    EditorSheet* panel() const { return mFlashPanel; }

    void onClickFlash();
    void onSpinFlashT();
    void onSpinFlashP();
    void onChangeFlashT();
    void onChangeFlashP();
    void onChangeFlashTUnit();
    void onChangeFlashPUnit();
    void onGetFlashedLiquidVapour();
    void onGetFlashedVapour();
    void onGetFlashedLiquid();
    void onCloseFlashPanel();

    double getFlashTemperature() const;  // K
    double getFlashPressure() const;     // bar
    // Flashes the selected fluid into the given records, left empty unless it splits into two
    // phases; no selected fluid is a failed flash.
    FlashOutcome calculateFlash(std::optional<FluidRecord> liquid, std::optional<FluidRecord> vapour);

private:
    void makePanel(QWidget* window);
    void connectActions();
    int insertionRow() const;
    void addFlashedFluid(bool liquid);

    FluidModelController& mEditor;
    EditorSheet* mFlashPanel = nullptr;
    QLineEdit* mFlashT = nullptr;
    QLineEdit* mFlashP = nullptr;
    ValueStepper* mSpinFlashT = nullptr;
    ValueStepper* mSpinFlashP = nullptr;
    QComboBox* mFlashTUnit = nullptr;
    QComboBox* mFlashPUnit = nullptr;
    TemperatureUnit mFlashTUnitCode = TemperatureUnit::kelvin;
    PressureUnit mFlashPUnitCode = PressureUnit::bar;
    double mFlashTValue = 0;
    double mFlashPValue = 0;
};

}  // namespace quorvel
