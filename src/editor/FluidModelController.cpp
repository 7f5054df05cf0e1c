#include "editor/FluidModelController.h"

#include "app/AppMenus.h"
#include "calc/CalculationInterface.h"
#include "characterisation/Correlations.h"
#include "editor/EditorControls.h"
#include "editor/LumpSplitSheets.h"
#include "editor/SaturationCells.h"
#include "platform/ActionNames.h"
#include "platform/Pasteboard.h"
#include "platform/ScreenPlacement.h"
#include "plot/CBarPlotView.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressDialog>
#include <QRadioButton>

namespace quorvel {

struct FluidModelController::Controls
{
    QLineEdit* gorEditField = nullptr;
    QLineEdit* apiEditField = nullptr;
    QLineEdit* apcEditField = nullptr;
    QLineEdit* c7plusEditField = nullptr;
    QLineEdit* mwC7plusEditField = nullptr;
    QLineEdit* sgC7plusEditField = nullptr;
    QLineEdit* tsatEditField0 = nullptr;
    QLineEdit* tsatEditField1 = nullptr;
    QLineEdit* psatEditField0 = nullptr;
    QLineEdit* psatEditField1 = nullptr;
    ValueStepper* spinTsat0 = nullptr;
    ValueStepper* spinTsat1 = nullptr;
    QButtonGroup* satRadio = nullptr;
    CBarPlotView* barPlotView = nullptr;
    QCheckBox* referenceCheckBox = nullptr;
};

namespace {

// Window-modal progress of a calculation with Cancel; shown only once it has taken a second.
ProgressCallback progressOf(QProgressDialog& dialog)
{
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(1000);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    return [&dialog](int done, int steps) {
        dialog.setMaximum(steps);
        dialog.setValue(done);
        return !dialog.wasCanceled();
    };
}

const QSize kEditorWindowSize(1320, 760);
constexpr double kApiDisplayLimit = 150;  // above it the API fields show nothing

void showNumber(QLineEdit& field, double value, NumberFormat format)
{
    field.setText(shownNumber(value, format));
}

// The component names and mole percents of a fluid, in order.
std::pair<QStringList, std::vector<double>> compositionOf(const FluidRecord& fluid)
{
    std::pair<QStringList, std::vector<double>> composition;
    for (const Value& value : fluid.arrayValue(fluidkey::components)) {
        const ComponentRecord component = value.toDictionary();
        composition.first.append(component.stringValue(componentkey::name));
        composition.second.push_back(component.doubleValue(componentkey::mole));
    }
    return composition;
}

}  // namespace

FluidModelController::FluidModelController()
    : WindowController(FluidModelLayout),
      mChanges(*this),
      mTables(mChanges, {[this] { refreshFluids(); }, [this] { calculateGORAPI(); }, [this] { updatePlotView(); },
                         [this] { return mModelBox.isUserDefined(); }, [this] { return window(); }}),
      mModelBox(mTables, mChanges,
                {[this] { calculateGORAPI(); }, [this] { updatePlotView(); },
                 [this](bool enabled) { mSheets.enableAlphaBetaFitting(enabled); }}),
      mSheets(*this),
      mControls(std::make_unique<Controls>())
{
    answerActions({
        {actionname::copy, [this](QAction*) { return mTables.hasFluidsSelection(); },
         [this](QObject*) { mTables.copy(); }},
        {actionname::paste, [](QAction*) { return Pasteboard::hasType(Pasteboard::fluidsDataType); },
         [this](QObject*) { mTables.paste(); }},
        {actionname::addRow, [this](QAction*) { return mTables.hasSelectedFluid(); },
         [this](QObject*) { mTables.onAddRow(); }},
        {actionname::deleteRow, [this](QAction*) { return mTables.hasSelectedFluid(); },
         [this](QObject*) { mTables.onDeleteRow(); }},
    });
}

FluidModelController::~FluidModelController()
{
    destroyWindow();  // its tables read the list
    mChanges.forgetUndo();
}

FluidTableEditor& FluidModelController::tables()
{
    window();
    return mTables;
}

EditorSheetHost& FluidModelController::sheets()
{
    window();
    return mSheets;
}

void FluidModelController::setFluids(const Array& fluids)
{
    mTables.setFluids(fluids);
    if (isWindowLoaded()) {
        mTables.reloadFluids();
        mTables.selectFluidRow(fluids.isEmpty() ? -1 : 0);
        refreshFluids();
    }
}

void FluidModelController::finishGenerateAlphaBetaFluid()
{
    mTables.finishGenerateAlphaBetaFluid();
}

// --- Window

QWidget* FluidModelController::makeWindow()
{
    auto* window = new QMainWindow;
    window->setObjectName(FluidModelLayout);
    installApplicationMenus(window);
    auto* central = new QWidget(window);
    auto* layout = new QGridLayout(central);

    mTables.makeTables(central);
    QGroupBox* fluidsBox = mTables.makeFluidsBox(central, [this](QWidget* box) { return mSheets.makeButtons(box); });
    QGroupBox* componentsBox = mTables.makeComponentsBox(central);
    QGroupBox* modelBox = mModelBox.makeBox(central);
    QGroupBox* tankBox = makeStockTankBox(central);
    QGroupBox* saturationBox = makeSaturationBox(central);
    QGroupBox* chartBox = makeChartBox(central);

    // Two columns, so that the window fits a laptop screen: the fluids over their composition
    // chart; the components over the model, the stock tank and the saturation point.
    auto* tankAndSaturation = new QVBoxLayout;
    tankAndSaturation->addWidget(tankBox);
    tankAndSaturation->addWidget(saturationBox);
    tankAndSaturation->addStretch();
    auto* modelRow = new QHBoxLayout;
    modelRow->addWidget(modelBox, 1);
    modelRow->addLayout(tankAndSaturation, 1);
    layout->addWidget(fluidsBox, 0, 0);
    layout->addWidget(chartBox, 1, 0);
    layout->addWidget(componentsBox, 0, 1);
    layout->addLayout(modelRow, 1, 1);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(0, 3);
    layout->setRowStretch(1, 2);
    window->setCentralWidget(central);
    window->resize(kEditorWindowSize);
    fitInsideScreen(window);

    mSheets.makeSheets(window);
    connectControls();
    return window;
}

QGroupBox* FluidModelController::makeStockTankBox(QWidget* parent)
{
    auto* box = new QGroupBox(tr("Stock tank"), parent);
    Controls& c = *mControls;
    const QList<std::tuple<QLineEdit* Controls::*, QString, QString, int, int>> cells{
        {&Controls::gorEditField, "mGOREditField", tr("GOR (m3/m3)"), 0, 0},
        {&Controls::apiEditField, "mAPIEditField", tr("API"), 1, 0},
        {&Controls::apcEditField, "mAPCEditField", tr("API (corr.)"), 2, 0},
        {&Controls::c7plusEditField, "mC7plusEditField", tr("C7+ %"), 0, 2},
        {&Controls::mwC7plusEditField, "mMWC7plusEditField", tr("MW C7+"), 1, 2},
        {&Controls::sgC7plusEditField, "mSGC7plusEditField", tr("SG C7+"), 2, 2}};
    for (const auto& [field, outlet, label, row, column] : cells)
        c.*field = makeField(box, outlet);
    auto* grid = new QGridLayout(box);
    for (const auto& [field, outlet, label, row, column] : cells) {
        (c.*field)->setReadOnly(true);
        grid->addWidget(new QLabel(label, box), row, column);
        grid->addWidget(c.*field, row, column + 1);
    }
    return box;
}

QGroupBox* FluidModelController::makeSaturationBox(QWidget* parent)
{
    Controls& c = *mControls;
    auto* box = new QGroupBox(tr("Saturation"), parent);
    auto* grid = new QGridLayout(box);
    c.tsatEditField0 = makeField(box, "mTsatEditField0");
    c.tsatEditField1 = makeField(box, "mTsatEditField1");
    c.psatEditField0 = makeField(box, "mPsatEditField0");
    c.psatEditField1 = makeField(box, "mPsatEditField1");
    c.psatEditField0->setReadOnly(true);
    c.psatEditField1->setReadOnly(true);
    c.spinTsat0 = makeStepper(box, "mSpinTsat0", -273.15, 1000, 1);
    c.spinTsat1 = makeStepper(box, "mSpinTsat1", -459.67, 1832, 1);
    c.satRadio = new QButtonGroup(box);
    c.satRadio->setObjectName("mSatRadio");
    auto* bubble = new QRadioButton(tr("Bubble point"), box);
    auto* dew = new QRadioButton(tr("Dew point"), box);
    addSaturationCell(*c.satRadio, bubble, SaturationKind::bubblePoint);
    addSaturationCell(*c.satRadio, dew, SaturationKind::dewPoint);
    grid->addWidget(new QLabel(tr("T"), box), 0, 0);
    grid->addWidget(withStepper(box, c.tsatEditField0, c.spinTsat0), 0, 1);
    grid->addWidget(new QLabel("\u00b0C", box), 0, 2);
    grid->addWidget(withStepper(box, c.tsatEditField1, c.spinTsat1), 0, 3);
    grid->addWidget(new QLabel("\u00b0F", box), 0, 4);
    grid->addWidget(new QLabel(tr("P"), box), 1, 0);
    grid->addWidget(c.psatEditField0, 1, 1);
    grid->addWidget(new QLabel("bar", box), 1, 2);
    grid->addWidget(c.psatEditField1, 1, 3);
    grid->addWidget(new QLabel("psia", box), 1, 4);
    grid->addWidget(bubble, 2, 1);
    grid->addWidget(dew, 2, 3);
    return box;
}

QGroupBox* FluidModelController::makeChartBox(QWidget* parent)
{
    auto* box = new QGroupBox(tr("Composition"), parent);
    CBarPlotView* chart = mControls->barPlotView = new CBarPlotView(box);
    chart->setObjectName("mBarPlotView");
    chart->setMinimumSize(360, 220);
    QCheckBox* reference = mControls->referenceCheckBox = new QCheckBox(tr("Show as reference"), box);
    reference->setObjectName("mReferenceCheckBox");
    auto* column = new QVBoxLayout(box);
    column->addWidget(chart, 1);
    column->addWidget(reference);
    return box;
}

void FluidModelController::connectControls()
{
    const Controls& c = *mControls;
    for (QLineEdit* field : {c.tsatEditField0, c.tsatEditField1})
        onFieldEdited(field, this, [this, field] { onChangeSaturationTemperature(field); });
    connect(c.satRadio, &QButtonGroup::idClicked, this, [this] { onChangeSaturationPhase(); });
    connect(c.spinTsat0, &ValueStepper::stepped, this, [this] { onSpinTsat(mControls->spinTsat0); });
    connect(c.spinTsat1, &ValueStepper::stepped, this, [this] { onSpinTsat(mControls->spinTsat1); });
    connect(c.referenceCheckBox, &QCheckBox::clicked, this,
            [this] { onSelectReferenceFluid(mControls->referenceCheckBox); });
}

void FluidModelController::windowDidLoad()
{
    const Controls& c = *mControls;
    for (QLineEdit* field : {c.gorEditField, c.apiEditField, c.apcEditField})
        field->setAlignment(Qt::AlignLeft);
    mTables.finishControls();
    mModelBox.finishControls();

    if (mTables.fluids().isEmpty()) {
        refreshFluids();
        mTables.onAddFluid();
    } else {
        mTables.reloadFluids();
        mTables.selectFirstFluidQuietly();
        refreshFluids();
    }
    c.barPlotView->setIsLogarithmic(true);
    c.barPlotView->setMinimum(0, 100);
}

// --- Selection refresh

void FluidModelController::enableSaturationControls(bool enabled)
{
    const Controls& c = *mControls;
    for (QWidget* control : std::initializer_list<QWidget*>{c.tsatEditField0, c.tsatEditField1, c.psatEditField0,
                                                            c.psatEditField1, c.spinTsat0, c.spinTsat1})
        control->setEnabled(enabled);
    for (QAbstractButton* cell : c.satRadio->buttons())
        cell->setEnabled(enabled);
}

void FluidModelController::refreshFluids()
{
    const bool single = mTables.hasSingleFluidSelected();
    mTables.enableFluidControls(single);
    mSheets.enableFluidSheets(single);
    enableSaturationControls(single);
    if (!single) {
        mSheets.enableAlphaBetaFitting(false);
        mTables.showMcCainType({});
        updatePlotView();
        if (!mTables.hasSelectedFluid()) {
            // No fluid chosen (none left selected, after a deletion or its undo): no components either.
            mTables.reloadComponents();
            mTables.clearComponentDetails();
        }
        return;
    }
    showFluid(mTables.selectedFluid());
}

void FluidModelController::setSaturationFields(double celsius)
{
    const Controls& c = *mControls;
    const double fahrenheit = units::fahrenheitOfCelsius(celsius);
    setDoubleValue2(*c.tsatEditField0, celsius);
    setDoubleValue2(*c.tsatEditField1, fahrenheit);
    c.spinTsat0->setValue(celsius);
    c.spinTsat1->setValue(fahrenheit);
}

void FluidModelController::showFluid(FluidRecord fluid)
{
    mTables.showFluidHeader(fluid);
    mModelBox.showModelOf(fluid);

    double celsius = kDefaultTsat;
    SaturationKind kind = SaturationKind::bubblePoint;
    if (fluid.contains(fluidkey::tsat)) {
        celsius = fluid.doubleValue(fluidkey::tsat);
        if (fluid.contains(fluidkey::satPhase))
            kind = saturationKindFromNumber(fluid.intValue(fluidkey::satPhase));
        else
            fluid.setValue(fluidkey::satPhase, code_number(kind));
    }
    setSaturationFields(celsius);
    checkSaturationCell(*mControls->satRadio, kind);

    mTables.reloadComponents();
    calculateGORAPI();
    mTables.refreshComponents();
}

void FluidModelController::updatePlotView()
{
    CBarPlotView& chart = *mControls->barPlotView;
    const auto [labels, values] =
        mTables.hasSingleFluidSelected() ? compositionOf(mTables.selectedFluid()) : compositionOf(FluidRecord());
    chart.setValues(values);
    chart.setLabels(labels);
    chart.update();
}

void FluidModelController::onSelectReferenceFluid(QObject* sender)
{
    if (!mTables.hasSelectedFluid())
        return;
    CBarPlotView& chart = *mControls->barPlotView;
    auto* box = qobject_cast<QAbstractButton*>(sender);
    if (box && box->isChecked()) {
        const auto [labels, values] = compositionOf(mTables.selectedFluid());
        chart.setReferenceLabels(labels, values);
    } else {
        chart.setReferenceLabels({}, {});
    }
    mTables.reloadFluids();
    chart.update();
}

// --- Saturation point

SaturationKind FluidModelController::selectedSaturationKind() const
{
    return checkedSaturationKind(*mControls->satRadio);
}

void FluidModelController::onChangeSaturationTemperature(QLineEdit* field)
{
    if (!mTables.hasSelectedFluid())
        return;
    const std::optional<double> typed = typedNumber(field->text());
    if (!typed) {  // not a temperature: the fields show the record again
        refreshFluids();
        return;
    }
    const double celsius = field == mControls->tsatEditField0 ? *typed : units::celsiusOfFahrenheit(*typed);
    mTables.setFluid(mTables.selectedFluid(), celsius, fluidkey::tsat);
}

void FluidModelController::onChangeSaturationPhase()
{
    if (!mTables.hasSelectedFluid())
        return;
    mTables.selectedFluid().setValue(fluidkey::satPhase, code_number(selectedSaturationKind()));
    calculateGORAPI();
    mChanges.markChanged();
}

void FluidModelController::onSpinTsat(QObject* sender)
{
    const Controls& c = *mControls;
    double celsius = c.spinTsat0->value();
    if (sender == c.spinTsat1)
        celsius = units::celsiusOfFahrenheit(c.spinTsat1->value());
    setDoubleValue2(*c.tsatEditField0, celsius);
    setDoubleValue2(*c.tsatEditField1, units::fahrenheitOfCelsius(celsius));
    if (!mTables.hasSelectedFluid())
        return;
    mTables.setFluid(mTables.selectedFluid(), celsius, fluidkey::tsat);  // marks the document changed
    calculateGORAPI();
}

// --- Stock-tank properties and saturation pressure

void FluidModelController::clearStockTankFields()
{
    const Controls& c = *mControls;
    for (QLineEdit* field : {c.gorEditField, c.apiEditField, c.apcEditField})
        field->clear();
}

void FluidModelController::showStockTank(FluidRecord fluid, const StockTankResult& result)
{
    clearStockTankFields();  // what this tank has no value for shows nothing, never another fluid's
    const Controls& c = *mControls;
    auto showGravities = [&c, &result] {
        showNumber(*c.apiEditField, result.apiGravity(ApiMethod::untranslatedEos), NumberFormat::Decimals2);
        showNumber(*c.apcEditField, result.apiGravity(ApiMethod::tovikDorvaneTranslation), NumberFormat::Decimals2);
    };
    QString apiText;  // all six gravities as one word, or numbers when empty
    switch (result.state) {
    case StockTankState::TwoPhases:
        fluid.setValue(fluidkey::gor, result.gor);
        fluid.setValue(fluidkey::api, result.apiGravity(ApiMethod::untranslatedEos));
        showNumber(*c.gorEditField, result.gor, NumberFormat::Decimals2);
        if (!(result.apiGravity(ApiMethod::untranslatedEos) > kApiDisplayLimit))
            showGravities();
        break;
    case StockTankState::Gas: apiText = QStringLiteral("Gas"); break;
    case StockTankState::Liquid:
        showGravities();
        apiText = QStringLiteral("Liquid");
        break;
    case StockTankState::None: apiText = QStringLiteral("err"); break;
    }
    for (ApiMethod method : kApiMethods) {
        const Value gravity = apiText.isEmpty() ? Value(result.apiGravity(method)) : Value(apiText);
        fluid.setValue(fluidkey::apiMethod(method), gravity);
    }
}

void FluidModelController::calculateGORAPI()
{
    if (!mTables.hasSelectedFluid() || mTables.fluids().isEmpty())
        return;
    const Controls& c = *mControls;
    FluidRecord fluid = mTables.selectedFluid();
    const FluidType type = fluidTypeOf(fluid);
    const double sum = mTables.selectedMoleSum();
    mTables.showMcCainType(getMcCainFluidType(fluid));
    updatePlotView();

    if (sum == 0) {  // nothing to flash
        showStockTank(fluid, StockTankResult{});
        for (QLineEdit* field : {c.c7plusEditField, c.mwC7plusEditField, c.sgC7plusEditField, c.psatEditField0,
                                 c.psatEditField1})
            field->clear();
        mTables.details().showMoleSum(sum);
        return;
    }
    const FluidType interfaceType = type == FluidType::alphaBeta ? FluidType::alphaBeta : FluidType::componentList;
    std::unique_ptr<StockTankCalculation> calculation =
        mStockTank(interfaceType, getEOSCode(fluid.value(fluidkey::eos)), fluid);
    QProgressDialog progress(tr("Calculating the stock tank…"), tr("Cancel"), 0, 1, window());
    progress.setObjectName(QStringLiteral("stockTankProgress"));
    const StockTankResult result = calculation->calculateGOR(progressOf(progress));
    if (result.stopped)
        return;  // the user's choice: the fluid stays as it was
    fluid.setValue(fluidkey::bulkMw, result.bulkMw);
    fluid.setValue(fluidkey::mwC7plus, result.mwC7plus);
    fluid.setValue(fluidkey::c7plus, result.c7plus);
    fluid.setValue(fluidkey::sgC7plus, result.sgC7plus);
    showNumber(*c.c7plusEditField, result.c7plus, NumberFormat::Decimals2);
    showNumber(*c.mwC7plusEditField, result.mwC7plus, NumberFormat::Decimals2);
    showNumber(*c.sgC7plusEditField, result.sgC7plus, NumberFormat::Decimals2);
    showStockTank(fluid, result);

    const double celsius = Value(c.tsatEditField0->text()).toDouble();
    const SaturationKind kind = selectedSaturationKind();
    const double pressure = calculation->calculateSaturation(celsius, kind);
    if (pressure != kSaturationFailure) {
        showNumber(*c.psatEditField0, pressure, NumberFormat::Decimals2);
        showNumber(*c.psatEditField1, units::psiaOfBar(pressure), NumberFormat::Decimals2);
        fluid.setValue(fluidkey::psat, pressure);
        fluid.setValue(fluidkey::tsat, celsius);
        fluid.setValue(fluidkey::satPhase, code_number(kind));
    } else {
        c.psatEditField0->clear();
        c.psatEditField1->clear();
    }
    mTables.details().showMoleSum(sum);
}

// --- Installation

namespace {

class FluidModelControllerFactory : public FluidModelEditorFactory
{
public:
    std::unique_ptr<WindowController> makeFluidModelController() override
    {
        return std::make_unique<FluidModelController>();
    }
};

}  // namespace

void installFluidModelEditor()
{
    static FluidModelControllerFactory factory;
    FluidModelEditorFactory::install(&factory);
    installCharacterisationLogWindow();
}

}  // namespace quorvel
