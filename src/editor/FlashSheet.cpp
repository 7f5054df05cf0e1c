#include "editor/FlashSheet.h"

#include "calc/CalculationInterface.h"
#include "editor/FluidModelController.h"
#include "editor/SheetUnits.h"
#include "platform/AlertService.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorvel {

namespace {

constexpr double kStepperTemperatureLimit = 10000;
constexpr double kStepperPressureLimit = 1e7;

const QString kFlashOnePhase = QStringLiteral(
    "The fluid is one phase at the given temperature and pressure: there is no liquid and vapour to add; "
    "no fluid was added.");
const QString kFlashFailed = QStringLiteral(
    "The flash did not converge at the given temperature and pressure: whether the fluid splits there is "
    "not known; no fluid was added.");

// The message of a flash that gave no two phases.
const QString& flashMessage(FlashOutcome outcome)
{
    return outcome == FlashOutcome::onePhase ? kFlashOnePhase : kFlashFailed;
}

}  // namespace

FlashSheet::FlashSheet(FluidModelController& editor, QWidget* window) : QObject(window), mEditor(editor)
{
    makePanel(window);
    connectActions();
}

void FlashSheet::makePanel(QWidget* window)
{
    mFlashPanel = new EditorSheet(window);
    mFlashPanel->setObjectName("mFlashPanel");
    mFlashPanel->setWindowTitle(tr("Flash"));
    auto makeStepper = [this](const QString& outlet, double minimum, double maximum) {
        auto* stepper = new ValueStepper(mFlashPanel);
        stepper->setObjectName(outlet);
        stepper->setMinimum(minimum);
        stepper->setMaximum(maximum);
        stepper->setFixedWidth(18);
        return stepper;
    };
    mFlashT = new QLineEdit(mFlashPanel);
    mFlashT->setObjectName("mFlashT");
    mFlashP = new QLineEdit(mFlashPanel);
    mFlashP->setObjectName("mFlashP");
    mSpinFlashT = makeStepper("mSpinFlashT", -kStepperTemperatureLimit, kStepperTemperatureLimit);
    mSpinFlashP = makeStepper("mSpinFlashP", 0, kStepperPressureLimit);
    mFlashTUnit = new QComboBox(mFlashPanel);
    mFlashTUnit->setObjectName("mFlashTUnit");
    addTemperatureUnitItems(*mFlashTUnit);
    mFlashPUnit = new QComboBox(mFlashPanel);
    mFlashPUnit->setObjectName("mFlashPUnit");
    addPressureUnitItems(*mFlashPUnit);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Temperature"), mFlashPanel), 0, 0);
    grid->addWidget(mFlashT, 0, 1);
    grid->addWidget(mSpinFlashT, 0, 2);
    grid->addWidget(mFlashTUnit, 0, 3);
    grid->addWidget(new QLabel(tr("Pressure"), mFlashPanel), 1, 0);
    grid->addWidget(mFlashP, 1, 1);
    grid->addWidget(mSpinFlashP, 1, 2);
    grid->addWidget(mFlashPUnit, 1, 3);

    auto* buttons = new QHBoxLayout;
    const QList<std::pair<QString, QString>> titles{{"mFlashCloseButton", tr("Close")},
                                                    {"mFlashLiquidButton", tr("Liquid")},
                                                    {"mFlashVapourButton", tr("Vapour")},
                                                    {"mFlashLiquidVapourButton", tr("Liquid and vapour")}};
    for (const auto& [outlet, title] : titles) {
        auto* button = new QPushButton(title, mFlashPanel);
        button->setObjectName(outlet);
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    auto* column = new QVBoxLayout(mFlashPanel);
    column->addWidget(new QLabel(tr("Flash the selected fluid and add the phases after it."), mFlashPanel));
    column->addLayout(grid);
    column->addLayout(buttons);
}

void FlashSheet::connectActions()
{
    connect(mSpinFlashT, &ValueStepper::stepped, this, &FlashSheet::onSpinFlashT);
    connect(mSpinFlashP, &ValueStepper::stepped, this, &FlashSheet::onSpinFlashP);
    connect(mFlashT, &QLineEdit::editingFinished, this, &FlashSheet::onChangeFlashT);
    connect(mFlashP, &QLineEdit::editingFinished, this, &FlashSheet::onChangeFlashP);
    connect(mFlashTUnit, &QComboBox::activated, this, &FlashSheet::onChangeFlashTUnit);
    connect(mFlashPUnit, &QComboBox::activated, this, &FlashSheet::onChangeFlashPUnit);
    const QList<std::pair<const char*, void (FlashSheet::*)()>> buttons{
        {"mFlashCloseButton", &FlashSheet::onCloseFlashPanel},
        {"mFlashLiquidButton", &FlashSheet::onGetFlashedLiquid},
        {"mFlashVapourButton", &FlashSheet::onGetFlashedVapour},
        {"mFlashLiquidVapourButton", &FlashSheet::onGetFlashedLiquidVapour}};
    for (const auto& [outlet, action] : buttons)
        connect(mFlashPanel->findChild<QPushButton*>(outlet), &QPushButton::clicked, this, action);
}

// --- Opening and the fields

void FlashSheet::onClickFlash()
{
    if (!mEditor.hasSelectedFluid())
        return;
    const QLineEdit* tsat = mEditor.control<QLineEdit>("mTsatEditField0");
    const QLineEdit* psat = mEditor.control<QLineEdit>("mPsatEditField0");
    mFlashT->setText(tsat->text());
    mFlashP->setText(psat->text());
    mFlashTValue = tsat->text().trimmed().toDouble();
    mFlashPValue = psat->text().trimmed().toDouble();
    mSpinFlashT->setValue(mFlashTValue);
    mSpinFlashP->setValue(mFlashPValue);
    mFlashTUnitCode = TemperatureUnit::celsius;
    mFlashPUnitCode = PressureUnit::bar;
    selectUnit(*mFlashTUnit, TemperatureUnit::celsius);
    selectUnit(*mFlashPUnit, PressureUnit::bar);
    mEditor.beginSheet(*mFlashPanel);
}

void FlashSheet::onSpinFlashT()
{
    mFlashTValue = mSpinFlashT->value();
    setDoubleValue2(*mFlashT, mFlashTValue);
}

void FlashSheet::onSpinFlashP()
{
    mFlashPValue = mSpinFlashP->value();
    setDoubleValue2(*mFlashP, mFlashPValue);
}

void FlashSheet::onChangeFlashT()
{
    if (takeTypedNumber(*mFlashT, mFlashTValue))
        mSpinFlashT->setValue(mFlashTValue);
}

void FlashSheet::onChangeFlashP()
{
    if (takeTypedNumber(*mFlashP, mFlashPValue))
        mSpinFlashP->setValue(mFlashPValue);
}

void FlashSheet::onChangeFlashTUnit()
{
    convertTemperature(mFlashTValue, mFlashTUnitCode, *mFlashT, *mFlashTUnit);
}

void FlashSheet::onChangeFlashPUnit()
{
    convertPressure(mFlashPValue, mFlashPUnitCode, *mFlashP, *mFlashPUnit);
}

double FlashSheet::getFlashTemperature() const
{
    return kelvinOfTemperature(mFlashTValue, mFlashTUnitCode);
}

double FlashSheet::getFlashPressure() const
{
    return barOfPressure(mFlashPValue, mFlashPUnitCode);
}

// --- The flash

FlashOutcome FlashSheet::calculateFlash(std::optional<FluidRecord> liquid, std::optional<FluidRecord> vapour)
{
    if (!mEditor.hasSelectedFluid() || mEditor.fluids().isEmpty())
        return FlashOutcome::failed;
    const FluidRecord fluid = mEditor.selectedFluid();
    const FluidType type = fluidTypeOf(fluid);
    const FluidType interfaceType = type == FluidType::alphaBeta ? FluidType::alphaBeta : FluidType::componentList;
    CalculationInterface calculation(interfaceType, getEOSCode(fluid.value(fluidkey::eos)));
    calculation.setModelFluid(type, fluid);
    return calculation.calculateFlash(getFlashTemperature(), getFlashPressure(), liquid, vapour);
}

// Results go after the selected fluid, or at the end without one.
int FlashSheet::insertionRow() const
{
    const int row = mEditor.selectedFluidRow();
    return row >= 0 ? row + 1 : mEditor.fluids().size();
}

void FlashSheet::onGetFlashedLiquidVapour()
{
    const FluidRecord liquid;
    const FluidRecord vapour;
    const int row = insertionRow();
    if (const FlashOutcome outcome = calculateFlash(liquid, vapour); outcome != FlashOutcome::twoPhases) {
        showAlert(flashMessage(outcome));
    } else {
        Array fluids = mEditor.fluids();
        fluids.insert(row, liquid);
        fluids.insert(row + 1, vapour);
        mEditor.finishAddFluids({liquid, vapour});
    }
    mFlashPanel->endSheet();
}

void FlashSheet::addFlashedFluid(bool liquid)
{
    const FluidRecord phase;
    const int row = insertionRow();
    const FlashOutcome outcome = liquid ? calculateFlash(phase, std::nullopt) : calculateFlash(std::nullopt, phase);
    if (outcome != FlashOutcome::twoPhases) {
        showAlert(flashMessage(outcome));
    } else {
        mEditor.fluids().insert(row, phase);
        mEditor.finishAddFluid(phase, row);
    }
    mFlashPanel->endSheet();
}

void FlashSheet::onGetFlashedVapour()
{
    addFlashedFluid(false);
}

void FlashSheet::onGetFlashedLiquid()
{
    addFlashedFluid(true);
}

void FlashSheet::onCloseFlashPanel()
{
    mFlashPanel->endSheet();
}

}  // namespace quorvel
