#include "editor/AlphaBetaSheet.h"

#include "characterisation/AlphaBetaDistribution.h"
#include "editor/FluidModelController.h"
#include "editor/SaturationCells.h"
#include "editor/SheetUnits.h"
#include "platform/AlertService.h"
#include "widgets/CLogWindow.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace quorvel {

namespace {

constexpr double kStepperLimit = 1e7;
constexpr double kFirstFixedAlpha = 0.5;

QLineEdit* makeField(QWidget* parent, const QString& outlet)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(outlet);
    field->setMinimumWidth(90);
    return field;
}

ValueStepper* makeStepper(QWidget* parent, const QString& outlet, double increment)
{
    auto* stepper = new ValueStepper(parent);
    stepper->setObjectName(outlet);
    stepper->setMinimum(-kStepperLimit);
    stepper->setMaximum(kStepperLimit);
    stepper->setIncrement(increment);
    stepper->setFixedWidth(18);
    return stepper;
}

std::optional<double> numberOfText(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

}  // namespace

AlphaBetaSheet::AlphaBetaSheet(FluidModelController& editor) : mEditor(editor) {}

AlphaBetaSheet::~AlphaBetaSheet()
{
    delete mAlphaBetaizePanel.data();
}

EditorSheet* AlphaBetaSheet::panel()
{
    if (!mAlphaBetaizePanel)
        makePanel();
    return mAlphaBetaizePanel;
}

bool AlphaBetaSheet::isOpen() const
{
    return mAlphaBetaizePanel && mAlphaBetaizePanel->isSheetOpen();
}

// --- Layout

void AlphaBetaSheet::makePanel()
{
    auto* sheet = new EditorSheet;
    sheet->setObjectName(QStringLiteral("mAlphaBetaizePanel"));
    sheet->setWindowTitle(tr("Alpha-beta model"));
    mAlphaBetaizePanel = sheet;

    auto* pointBox = new QGroupBox(tr("Measured saturation point"), sheet);
    auto* pointGrid = new QGridLayout(pointBox);
    mAlphaBetaT = makeField(pointBox, QStringLiteral("mAlphaBetaT"));
    mAlphaBetaP = makeField(pointBox, QStringLiteral("mAlphaBetaP"));
    mSpinAlphaBetaT = makeStepper(pointBox, QStringLiteral("mSpinAlphaBetaT"), 1);
    mSpinAlphaBetaP = makeStepper(pointBox, QStringLiteral("mSpinAlphaBetaP"), 1);
    mAlphaBetaTUnit = new QComboBox(pointBox);
    mAlphaBetaTUnit->setObjectName(QStringLiteral("mAlphaBetaTUnit"));
    addTemperatureUnitItems(*mAlphaBetaTUnit);
    mAlphaBetaPUnit = new QComboBox(pointBox);
    mAlphaBetaPUnit->setObjectName(QStringLiteral("mAlphaBetaPUnit"));
    addPressureUnitItems(*mAlphaBetaPUnit);
    pointGrid->addWidget(new QLabel(tr("Temperature"), pointBox), 0, 0);
    pointGrid->addWidget(mAlphaBetaT, 0, 1);
    pointGrid->addWidget(mSpinAlphaBetaT, 0, 2);
    pointGrid->addWidget(mAlphaBetaTUnit, 0, 3);
    pointGrid->addWidget(new QLabel(tr("Pressure"), pointBox), 1, 0);
    pointGrid->addWidget(mAlphaBetaP, 1, 1);
    pointGrid->addWidget(mSpinAlphaBetaP, 1, 2);
    pointGrid->addWidget(mAlphaBetaPUnit, 1, 3);
    mAlphaBetaPhase = new QButtonGroup(pointBox);
    mAlphaBetaPhase->setObjectName(QStringLiteral("mAlphaBetaPhase"));
    auto* bubble = new QRadioButton(tr("Bubble point"), pointBox);
    auto* dew = new QRadioButton(tr("Dew point"), pointBox);
    addSaturationCell(*mAlphaBetaPhase, bubble, SaturationKind::bubblePoint);
    addSaturationCell(*mAlphaBetaPhase, dew, SaturationKind::dewPoint);
    bubble->setChecked(true);
    pointGrid->addWidget(bubble, 2, 1);
    pointGrid->addWidget(dew, 2, 3);

    auto* fitBox = new QGroupBox(tr("Fit"), sheet);
    auto* fitGrid = new QGridLayout(fitBox);
    mAlphaConstrain = new QCheckBox(tr("Fixed alpha"), fitBox);
    mAlphaConstrain->setObjectName(QStringLiteral("mAlphaConstrain"));
    mAlphaConstrainValue = makeField(fitBox, QStringLiteral("mAlphaConstrainValue"));
    setDoubleValue4(*mAlphaConstrainValue, kFirstFixedAlpha);
    mAlphaConstrainValue->setEnabled(false);
    mTovikAlpha = makeField(fitBox, QStringLiteral("mTovikAlpha"));
    mTovikBeta = makeField(fitBox, QStringLiteral("mTovikBeta"));
    mTovikAlpha->setReadOnly(true);
    mTovikBeta->setReadOnly(true);
    mAlphaBetaBatch = new QCheckBox(tr("All fluids of the list"), fitBox);
    mAlphaBetaBatch->setObjectName(QStringLiteral("mAlphaBetaBatch"));
    fitGrid->addWidget(mAlphaConstrain, 0, 0);
    fitGrid->addWidget(mAlphaConstrainValue, 0, 1);
    fitGrid->addWidget(new QLabel(tr("Tovik estimate"), fitBox), 1, 0);
    fitGrid->addWidget(new QLabel(tr("alpha"), fitBox), 1, 1, Qt::AlignRight);
    fitGrid->addWidget(mTovikAlpha, 1, 2);
    fitGrid->addWidget(new QLabel(tr("beta"), fitBox), 2, 1, Qt::AlignRight);
    fitGrid->addWidget(mTovikBeta, 2, 2);
    fitGrid->addWidget(mAlphaBetaBatch, 3, 0, 1, 3);

    mCloseButton = new QPushButton(tr("Close"), sheet);
    mCloseButton->setObjectName(QStringLiteral("mAlphaBetaCloseButton"));
    mTovikButton = new QPushButton(tr("Tovik"), sheet);
    mTovikButton->setObjectName(QStringLiteral("mAlphaBetaTovikButton"));
    mFitButton = new QPushButton(tr("Fit"), sheet);
    mFitButton->setObjectName(QStringLiteral("mAlphaBetaFitButton"));
    mFitButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mCloseButton);
    buttons->addStretch(1);
    buttons->addWidget(mTovikButton);
    buttons->addWidget(mFitButton);

    auto* column = new QVBoxLayout(sheet);
    column->addWidget(pointBox);
    column->addWidget(fitBox);
    column->addLayout(buttons);
    connectActions();
}

void AlphaBetaSheet::connectActions()
{
    connect(mSpinAlphaBetaT, &ValueStepper::stepped, this, &AlphaBetaSheet::onSpinAlphaBetaT);
    connect(mSpinAlphaBetaP, &ValueStepper::stepped, this, &AlphaBetaSheet::onSpinAlphaBetaP);
    connect(mAlphaBetaT, &QLineEdit::editingFinished, this, &AlphaBetaSheet::onChangeAlphaBetaT);
    connect(mAlphaBetaP, &QLineEdit::editingFinished, this, &AlphaBetaSheet::onChangeAlphaBetaP);
    connect(mAlphaBetaTUnit, &QComboBox::activated, this, &AlphaBetaSheet::onChangeAlphaBetaTUnit);
    connect(mAlphaBetaPUnit, &QComboBox::activated, this, &AlphaBetaSheet::onChangeAlphaBetaPUnit);
    connect(mAlphaConstrain, &QCheckBox::clicked, this, &AlphaBetaSheet::onConstrainAlpha);
    connect(mCloseButton, &QPushButton::clicked, this, &AlphaBetaSheet::onCloseAlphaBetaPanel);
    connect(mFitButton, &QPushButton::clicked, this, &AlphaBetaSheet::onFitAlphaBetaModel);
    connect(mTovikButton, &QPushButton::clicked, this, &AlphaBetaSheet::onTovikAlphaBetaModel);
}

// --- Opening and closing

void AlphaBetaSheet::onClickAlphaBetaize()
{
    const int row = mEditor.selectedFluidRow();
    if (row < 0)
        return;
    panel();
    const FluidRecord fluid = mEditor.fluids().at(row).toDictionary();
    const double temperature = fluid.contains(fluidkey::texp)
                                   ? measuredTemperatureCelsius(fluid)
                                   : numberOfText(mEditor.control<QLineEdit>("mTsatEditField0")->text()).value_or(0);
    const double pressure = fluid.contains(fluidkey::pexp)
                                ? fluid.doubleValue(fluidkey::pexp)
                                : numberOfText(mEditor.control<QLineEdit>("mPsatEditField0")->text()).value_or(0);
    const SaturationKind kind = fluid.contains(fluidkey::hexp)
                                    ? saturationKindFromNumber(fluid.intValue(fluidkey::hexp))
                                    : checkedSaturationKind(*mEditor.control<QButtonGroup>("mSatRadio"));
    mAlphaBetaTValue = temperature;
    mAlphaBetaPValue = pressure;
    showValue(mAlphaBetaT, mSpinAlphaBetaT, temperature);
    showValue(mAlphaBetaP, mSpinAlphaBetaP, pressure);
    checkSaturationCell(*mAlphaBetaPhase, kind);
    mAlphaBetaTUnitCode = TemperatureUnit::celsius;
    mAlphaBetaPUnitCode = PressureUnit::bar;
    selectUnit(*mAlphaBetaTUnit, TemperatureUnit::celsius);
    selectUnit(*mAlphaBetaPUnit, PressureUnit::bar);

    double alpha = 0, beta = 0, CO2 = 0, N2 = 0, H2S = 0;
    tovikAlphaBeta(fluid, alpha, beta, CO2, N2, H2S);
    setDoubleValue4(*mTovikAlpha, alpha);
    setDoubleValue4(*mTovikBeta, beta);
    beginSheet();
}

void AlphaBetaSheet::onCloseAlphaBetaPanel()
{
    const int row = mEditor.selectedFluidRow();
    if (row >= 0)
        writeMeasuredPoint(mEditor.fluids().at(row).toDictionary(), temperatureKelvin(), pressureBar(),
                           checkedSaturationKind(*mAlphaBetaPhase));
    endSheet();
}

void AlphaBetaSheet::beginSheet()
{
    mEditor.beginSheet(*panel());
}

void AlphaBetaSheet::endSheet()
{
    panel()->endSheet();
}

// --- The field family

void AlphaBetaSheet::showValue(QLineEdit* field, ValueStepper* stepper, double value)
{
    setDoubleValue2(*field, value);
    stepper->setValue(value);
}

bool AlphaBetaSheet::readTypedValue(QLineEdit* field, double& value)
{
    const std::optional<double> typed = numberOfText(field->text());
    if (!typed) {
        showAlert(tr("\u201c%1\u201d is not a number.").arg(field->text()));
        setDoubleValue2(*field, value);
        return false;
    }
    value = *typed;
    return true;
}

void AlphaBetaSheet::onSpinAlphaBetaT()
{
    mAlphaBetaTValue = mSpinAlphaBetaT->value();
    setDoubleValue2(*mAlphaBetaT, mAlphaBetaTValue);
}

void AlphaBetaSheet::onSpinAlphaBetaP()
{
    mAlphaBetaPValue = mSpinAlphaBetaP->value();
    setDoubleValue2(*mAlphaBetaP, mAlphaBetaPValue);
}

void AlphaBetaSheet::onChangeAlphaBetaT()
{
    if (readTypedValue(mAlphaBetaT, mAlphaBetaTValue))
        mSpinAlphaBetaT->setValue(mAlphaBetaTValue);
}

void AlphaBetaSheet::onChangeAlphaBetaP()
{
    if (readTypedValue(mAlphaBetaP, mAlphaBetaPValue))
        mSpinAlphaBetaP->setValue(mAlphaBetaPValue);
}

void AlphaBetaSheet::onChangeAlphaBetaTUnit()
{
    convertTemperature(mAlphaBetaTValue, mAlphaBetaTUnitCode, *mAlphaBetaT, *mAlphaBetaTUnit);
}

void AlphaBetaSheet::onChangeAlphaBetaPUnit()
{
    convertPressure(mAlphaBetaPValue, mAlphaBetaPUnitCode, *mAlphaBetaP, *mAlphaBetaPUnit);
}

void AlphaBetaSheet::onConstrainAlpha()
{
    mAlphaConstrainValue->setEnabled(mAlphaConstrain->isChecked());
}

double AlphaBetaSheet::temperatureKelvin() const
{
    return kelvinOfTemperature(mAlphaBetaTValue, mAlphaBetaTUnitCode);
}

double AlphaBetaSheet::pressureBar() const
{
    return barOfPressure(mAlphaBetaPValue, mAlphaBetaPUnitCode);
}

// --- The actions

AlphaBetaFluidMaker AlphaBetaSheet::fluidMaker() const
{
    return [this](double alpha, double beta, double CO2, double N2, double H2S, const QString& name) {
        return mEditor.createAlphaBetaFluid(alpha, beta, CO2, N2, H2S, name);
    };
}

std::optional<double> AlphaBetaSheet::readFixedAlpha() const
{
    return numberOfText(mAlphaConstrainValue->text());
}

void AlphaBetaSheet::onFitAlphaBetaModel()
{
    panel();
    CLogWindow::sharedLogWindowCtroller()->showWindow(&mEditor);
    std::optional<double> fixedAlpha;
    if (mAlphaConstrain->isChecked()) {
        fixedAlpha = readFixedAlpha();
        if (!fixedAlpha || !isAlphaBetaInRange(*fixedAlpha, 0)) {
            showAlert(tr("The fixed alpha must be a number from 0 to 1."));
            return;
        }
    }
    const AlphaBetaFluidMaker make = fluidMaker();
    auto fit = [&](const FluidRecord& source) { return doFitAlphaBetaModel(source, fixedAlpha, make); };
    QList<FluidRecord> results;
    if (mAlphaBetaBatch->isChecked()) {
        results = runBatch(fit);
    } else {
        const int row = mEditor.selectedFluidRow();
        if (row < 0)
            return;
        const FluidRecord source = mEditor.fluids().at(row).toDictionary();
        writeMeasuredPoint(source, temperatureKelvin(), pressureBar(), checkedSaturationKind(*mAlphaBetaPhase));
        if (const std::optional<FluidRecord> result = fit(source)) {
            mEditor.fluids().insert(row + 1, *result);
            results.append(*result);
        }
    }
    writeFitTable(results);
    mEditor.finishAddFluids(results);
    endSheet();
}

void AlphaBetaSheet::onTovikAlphaBetaModel()
{
    panel();
    CLogWindow::sharedLogWindowCtroller()->showWindow(&mEditor);
    const AlphaBetaFluidMaker make = fluidMaker();
    const StockTankCalculationFactory calculation = mEditor.stockTankCalculationFactory();
    auto estimate = [&](const FluidRecord& source) -> std::optional<FluidRecord> {
        return doTovikAlphaBeta(source, make, calculation);
    };
    const bool batch = mAlphaBetaBatch->isChecked();
    QList<FluidRecord> results;
    if (batch) {
        results = runBatch(estimate);
    } else {
        const int row = mEditor.selectedFluidRow();
        if (row < 0)
            return;
        const FluidRecord result = *estimate(mEditor.fluids().at(row).toDictionary());
        mEditor.fluids().insert(row + 1, result);
        results.append(result);
    }
    writeTovikTable(results, batch);
    mEditor.finishAddFluids(results);
    endSheet();
}

QList<FluidRecord> AlphaBetaSheet::runBatch(const Builder& build)
{
    Array fluids = mEditor.fluids();
    const Array sources = fluids.copy();
    QList<FluidRecord> results;
    for (const Value& value : sources) {
        const FluidRecord source = value.toDictionary();
        const std::optional<FluidRecord> result = build(source);
        if (!result)
            break;
        const int index = fluids.indexOf(source) + 1;  // by identity: each result beside its own source
        fluids.insert(index, *result);
        results.append(*result);
    }
    return results;
}

}  // namespace quorvel
