#include "editor/ModelBox.h"

#include "calc/CAlphaBetaModelInterface.h"
#include "calc/FluidRecordKeys.h"
#include "calc/GammaModelInterface.h"
#include "editor/EditorChanges.h"
#include "editor/EditorControls.h"
#include "editor/FluidTableEditor.h"
#include "editor/ModelBoxControls.h"
#include "platform/AlertService.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cmath>
#include <optional>

namespace quorvel {

namespace {

const QString kConfirmModelChange =
    QStringLiteral("Do you confirm this model change ? This will erase the present component distribution.");
const QString kAlphaNotValid =
    QStringLiteral("This is not a valid number for the alpha parameter (which must be between 0 and 1).");
const QString kBetaNotValid =
    QStringLiteral("This is not a valid number for the beta parameter (which must be between 0 and 1).");
const QString kShapeNotValid = QStringLiteral("This is not a valid number for the alpha parameter of the gamma model.");
const QString kScaleNotValid =
    QStringLiteral("This is not a valid number for the beta parameter of the gamma model (which must be above 0).");
const QString kDeltaNotValid =
    QStringLiteral("This is not a valid number for the delta parameter (which must be between 1 and 50).");
const QString kGasNotValid = QStringLiteral(
    "This is not a valid gas content (each must be at least 0 % and together below 100 %).");

// Stepper ranges (minimum, maximum, increment) per model.
struct StepperRange
{
    double minimum, maximum, increment;
};
constexpr StepperRange kAlphaBetaRange{0, 1, 0.01};
constexpr StepperRange kGammaShapeRange{1, 100, 0.1};
constexpr StepperRange kGammaScaleRange{0, 500, 1};
constexpr StepperRange kGammaDeltaRange{1, 50, 1};

void setRange(ValueStepper& stepper, const StepperRange& range)
{
    stepper.setMinimum(range.minimum);
    stepper.setMaximum(range.maximum);
    stepper.setIncrement(range.increment);
}

bool isGeneratedModel(FluidType type)
{
    return type == FluidType::alphaBeta || type == FluidType::carbonNumbers || type == FluidType::gamma;
}

std::optional<double> numberIn(const QLineEdit& field)
{
    bool ok = false;
    const double number = field.text().trimmed().toDouble(&ok);
    return ok && std::isfinite(number) ? std::optional<double>(number) : std::nullopt;
}

// Defaults shown when the window opens.
constexpr double kDefaultAlpha = 0.9;
constexpr double kDefaultBeta = 0.1;
constexpr double kDefaultDelta = 1;

}  // namespace

ModelBox::ModelBox(FluidTableEditor& tables, const EditorChanges& changes, Hooks hooks)
    : mTables(tables), mChanges(changes), mHooks(std::move(hooks)), mControls(std::make_unique<Controls>()),
      mAlphaBetaInterface(std::make_unique<CAlphaBetaModelInterface>())
{
}

ModelBox::~ModelBox() = default;

QGroupBox* ModelBox::makeBox(QWidget* parent)
{
    Controls& c = *mControls;
    auto* box = new QGroupBox(tr("Model"), parent);
    auto* grid = new QGridLayout(box);
    c.modelRadio = new QButtonGroup(box);
    c.modelRadio->setObjectName("mModelRadio");
    const QList<std::pair<FluidType, QString>> models{{FluidType::componentList, tr("User defined")},
                                                {FluidType::alphaBeta, tr("Alpha-beta")},
                                                {FluidType::carbonNumbers, tr("Alpha-beta expanded")},
                                                {FluidType::gamma, tr("Gamma")}};
    for (int i = 0; i < models.size(); ++i) {
        auto* cell = new QRadioButton(models[i].second, box);
        c.modelRadio->addButton(cell, code_number(models[i].first));
        grid->addWidget(cell, i / 2, (i % 2) * 3, 1, 3);
    }
    c.userDefinedRadio = qobject_cast<QRadioButton*>(modelCell(FluidType::componentList));
    c.userDefinedRadio->setObjectName("mUserDefinedRadio");
    c.alphaEditField = makeField(box, "mAlphaEditField");
    c.betaEditField = makeField(box, "mBetaEditField");
    c.deltaEditField = makeField(box, "mDeltaEditField");
    c.co2EditField = makeField(box, "mCO2EditField");
    c.n2EditField = makeField(box, "mN2EditField");
    c.h2sEditField = makeField(box, "mH2SEditField");
    c.spinAlpha = makeStepper(box, "mSpinAlpha", 0, 10, 0.01);
    c.spinBeta = makeStepper(box, "mSpinBeta", 0, 10, 0.01);
    c.spinDelta = makeStepper(box, "mSpinDelta", 1, 50, 1);
    const QList<std::tuple<QString, QWidget*, int, int>> cells{
        {tr("alpha"), withStepper(box, c.alphaEditField, c.spinAlpha), 2, 0},
        {tr("beta"), withStepper(box, c.betaEditField, c.spinBeta), 3, 0},
        {tr("delta"), withStepper(box, c.deltaEditField, c.spinDelta), 4, 0},
        {tr("CO2 %"), c.co2EditField, 2, 3},
        {tr("N2 %"), c.n2EditField, 3, 3},
        {tr("H2S %"), c.h2sEditField, 4, 3}};
    for (const auto& [label, widget, row, column] : cells) {
        grid->addWidget(new QLabel(label, box), row, column);
        grid->addWidget(widget, row, column + 1, 1, 2);
    }
    connectControls();
    return box;
}

void ModelBox::connectControls()
{
    const Controls& c = *mControls;
    connect(c.modelRadio, &QButtonGroup::idClicked, this, [this] { onChooseModel(); });
    for (QLineEdit* field : {c.alphaEditField, c.betaEditField, c.deltaEditField, c.co2EditField, c.n2EditField,
                             c.h2sEditField})
        onFieldEdited(field, this, [this, field] { updateModelDistribution(field); });
    for (ValueStepper* stepper : {c.spinAlpha, c.spinBeta, c.spinDelta})
        connect(stepper, &ValueStepper::stepped, this, [this, stepper] { updateModelDistribution(stepper); });
}

void ModelBox::finishControls()
{
    Controls& c = *mControls;
    for (QLineEdit* field : {c.alphaEditField, c.betaEditField, c.deltaEditField, c.co2EditField, c.n2EditField,
                             c.h2sEditField})
        field->setAlignment(Qt::AlignLeft);
    c.oldSelectedModelRadio = c.userDefinedRadio;
    setDoubleValue4(*c.alphaEditField, kDefaultAlpha);
    setDoubleValue4(*c.betaEditField, kDefaultBeta);
    setDoubleValue4(*c.deltaEditField, kDefaultDelta);
    for (QLineEdit* gas : c.gasFields())
        setDoubleValue3(*gas, 0);
}

bool ModelBox::isUserDefined() const
{
    return mControls->userDefinedRadio->isChecked();
}

void ModelBox::setModelStepperRanges(FluidType type)
{
    const Controls& c = *mControls;
    if (type == FluidType::gamma) {
        setRange(*c.spinAlpha, kGammaShapeRange);
        setRange(*c.spinBeta, kGammaScaleRange);
        setRange(*c.spinDelta, kGammaDeltaRange);
    } else {
        setRange(*c.spinAlpha, kAlphaBetaRange);
        setRange(*c.spinBeta, kAlphaBetaRange);
    }
}

// The alpha, beta and gas fields, and the delta field when asked.
void ModelBox::enableParameterFields(bool enabled, bool delta)
{
    const Controls& c = *mControls;
    for (QLineEdit* field : {c.alphaEditField, c.betaEditField, c.co2EditField, c.n2EditField, c.h2sEditField})
        field->setEnabled(enabled);
    if (delta)
        c.deltaEditField->setEnabled(enabled);
}

FluidType ModelBox::checkedModel() const { return fluidTypeFromNumber(mControls->modelRadio->checkedId()); }

QAbstractButton* ModelBox::modelCell(FluidType type) const { return mControls->modelRadio->button(code_number(type)); }

void ModelBox::showModelOf(const FluidRecord& fluid)
{
    const FluidType type = fluidTypeOf(fluid);
    if (QAbstractButton* cell = modelCell(type))
        cell->setChecked(true);
    updateModelBoxView(type, fluid);
}

void ModelBox::updateModelBoxView(FluidType type, const FluidRecord& fluid)
{
    if (type != FluidType::componentList && !isGeneratedModel(type))
        return;
    Controls& c = *mControls;
    // The question before a model change compares with the model in force for this fluid.
    if (auto* cell = qobject_cast<QRadioButton*>(modelCell(type)))
        c.oldSelectedModelRadio = cell;
    if (type == FluidType::componentList) {
        mTables.enableComponentEditing(true);
        mHooks.enableAlphaBetaFitting(true);
        enableParameterFields(false, true);
        setDoubleValue4(*c.alphaEditField, 0);
        setDoubleValue4(*c.betaEditField, 0);
        for (QLineEdit* gas : c.gasFields())
            setDoubleValue3(*gas, 0);
        setDoubleValue2(*c.deltaEditField, 0);
        return;
    }
    mTables.enableComponentEditing(false);
    const bool gamma = type == FluidType::gamma;
    mHooks.enableAlphaBetaFitting(gamma);
    enableParameterFields(true, gamma);
    setDoubleValue4(*c.alphaEditField, fluid.doubleValue(fluidkey::alpha));
    setDoubleValue4(*c.betaEditField, fluid.doubleValue(fluidkey::beta));
    setDoubleValue3(*c.co2EditField, fluid.doubleValue(fluidkey::CO2) * 100);
    setDoubleValue3(*c.n2EditField, fluid.doubleValue(fluidkey::N2) * 100);
    setDoubleValue3(*c.h2sEditField, fluid.doubleValue(fluidkey::H2S) * 100);
    c.spinAlpha->setValue(fluid.doubleValue(fluidkey::alpha));
    c.spinBeta->setValue(fluid.doubleValue(fluidkey::beta));
    if (gamma) {
        c.deltaEditField->setText(fluid.stringValue(fluidkey::delta));
        c.spinDelta->setValue(fluid.intValue(fluidkey::delta));
    }
    setModelStepperRanges(type);
}

void ModelBox::onChooseModel()
{
    if (!mTables.hasSelectedFluid())
        return;
    Controls& c = *mControls;
    FluidRecord fluid = mTables.selectedFluid();
    auto* selected = qobject_cast<QRadioButton*>(c.modelRadio->checkedButton());
    const FluidType tag = checkedModel();
    if (isGeneratedModel(tag)) {
        if (selected != c.oldSelectedModelRadio
            && confirm(QString(), kConfirmModelChange, tr("OK"), tr("Cancel")) != AlertResponse::Default) {
            // Only the cell goes back: running its action would rebuild the fluid from the box's defaults.
            if (c.oldSelectedModelRadio)
                c.oldSelectedModelRadio->setChecked(true);
            return;
        }
        mTables.enableComponentEditing(false);
        enableParameterFields(true, tag == FluidType::gamma);
        c.oldSelectedModelRadio = selected;
        fluid.setValue(fluidkey::fluidType, code_number(tag));
        if (tag == FluidType::alphaBeta)
            generateAlphaBetaFluid();
        else if (tag == FluidType::carbonNumbers)
            generateAlphaBetaFluidEx();
        else
            generateGammaFluid();
        mChanges.markChanged();
    } else if (tag == FluidType::componentList) {
        mTables.enableComponentEditing(true);
        enableParameterFields(false, true);
        c.oldSelectedModelRadio = c.userDefinedRadio;
        fluid.setValue(fluidkey::fluidType, code_number(FluidType::componentList));
        mChanges.markChanged();
    }
}

// Whether the parameters in the box, with the sender's new value, suit the model in force;
// otherwise says why and shows the parameters the fluid was last built from again.
bool ModelBox::acceptModelParameter(QObject* sender)
{
    const Controls& c = *mControls;
    const FluidType type = checkedModel();
    if (!isGeneratedModel(type))
        return true;
    const bool gamma = type == FluidType::gamma;
    std::optional<double> alpha = numberIn(*c.alphaEditField);
    std::optional<double> beta = numberIn(*c.betaEditField);
    std::optional<double> delta = numberIn(*c.deltaEditField);
    if (sender == c.spinAlpha)
        alpha = c.spinAlpha->value();
    else if (sender == c.spinBeta)
        beta = c.spinBeta->value();
    else if (sender == c.spinDelta)
        delta = c.spinDelta->value();
    double gases = 0;
    bool gasesValid = true;
    for (QLineEdit* gas : c.gasFields()) {
        const std::optional<double> content = numberIn(*gas);
        gasesValid = gasesValid && content && *content >= 0;
        gases += content.value_or(0);
    }
    gasesValid = gasesValid && gases < 100;

    auto inUnitRange = [](const std::optional<double>& v) { return v && *v >= 0 && *v <= 1; };
    QString refusal;
    if (!gasesValid)
        refusal = kGasNotValid;
    else if (gamma && !alpha)
        refusal = kShapeNotValid;
    else if (gamma && !(beta && *beta > 0))
        refusal = kScaleNotValid;
    else if (gamma && !(delta && *delta >= kGammaDeltaRange.minimum && *delta <= kGammaDeltaRange.maximum))
        refusal = kDeltaNotValid;
    else if (!gamma && !inUnitRange(alpha))
        refusal = kAlphaNotValid;
    else if (!gamma && !inUnitRange(beta))
        refusal = kBetaNotValid;
    else if (!gamma && !mAlphaBetaInterface->calculateComposition(*alpha, *beta, numberIn(*c.co2EditField).value() / 100,
                                                                  numberIn(*c.n2EditField).value() / 100,
                                                                  numberIn(*c.h2sEditField).value() / 100))
        refusal = sender == c.betaEditField || sender == c.spinBeta ? kBetaNotValid : kAlphaNotValid;
    if (refusal.isEmpty())
        return true;
    showAlert(refusal);
    if (mTables.hasSelectedFluid())
        updateModelBoxView(type, mTables.selectedFluid());
    return false;
}

void ModelBox::updateModelDistribution(QObject* sender)
{
    if (!acceptModelParameter(sender))
        return;
    const FluidType type = checkedModel();
    if (isGeneratedModel(type)) {
        syncFieldsAndSteppers(type, sender);
        if (type == FluidType::alphaBeta)
            updateAlphaBetaDistribution();
        else if (type == FluidType::carbonNumbers)
            updateAlphaBetaExDistribution();
        else
            updateGammaDistribution();
    }
    mHooks.compositionChanged();
    mHooks.updatePlotView();
    mChanges.markChanged();
}

// Fields and steppers in step with the one the user changed.
void ModelBox::syncFieldsAndSteppers(FluidType type, QObject* sender)
{
    const Controls& c = *mControls;
    if (sender == c.alphaEditField)
        c.spinAlpha->setValue(Value(c.alphaEditField->text()).toDouble());
    else if (sender == c.betaEditField)
        c.spinBeta->setValue(Value(c.betaEditField->text()).toDouble());
    else if (sender == c.spinAlpha)
        setDoubleValue4(*c.alphaEditField, c.spinAlpha->value());
    else if (sender == c.spinBeta)
        setDoubleValue4(*c.betaEditField, c.spinBeta->value());
    else if (type == FluidType::gamma && sender == c.deltaEditField)
        c.spinDelta->setValue(Value(c.deltaEditField->text()).toDouble());
    else if (type == FluidType::gamma && sender == c.spinDelta)
        c.deltaEditField->setText(QString::number(c.spinDelta->value()));
}

// The model fluid's new list in the components table.
void ModelBox::showNewComponents()
{
    mTables.reloadComponents();
    mTables.refreshComponents();
}

}  // namespace quorvel
