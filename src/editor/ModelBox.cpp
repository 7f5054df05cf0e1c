// The model box of the fluid model editor: which compositional model the selected fluid
// follows, the model's parameters with their steppers, the change of model with its
// confirmation, and the regeneration of a model fluid when a parameter changes.

#include "editor/FluidModelController.h"

#include "calc/CAlphaBetaModelInterface.h"
#include "platform/AlertService.h"
#include "platform/Document.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
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

bool isGeneratedModel(int type)
{
    return type == kFluidTypeAlphaBeta || type == kFluidTypeCarbonNumber || type == kFluidTypeGamma;
}

std::optional<double> numberIn(const QLineEdit& field)
{
    bool ok = false;
    const double number = field.text().trimmed().toDouble(&ok);
    return ok && std::isfinite(number) ? std::optional<double>(number) : std::nullopt;
}

}  // namespace

void FluidModelController::connectModelActions()
{
    connect(mModelRadio, &QButtonGroup::idClicked, this, [this] { onChooseModel(); });
    for (QLineEdit* field : {mAlphaEditField, mBetaEditField, mDeltaEditField, mCO2EditField, mN2EditField,
                             mH2SEditField})
        connect(field, &QLineEdit::editingFinished, this, [this, field] {
            if (field->isModified()) {
                field->setModified(false);
                updateModelDistribution(field);
            }
        });
    for (ValueStepper* stepper : {mSpinAlpha, mSpinBeta, mSpinDelta})
        connect(stepper, &ValueStepper::stepped, this, [this, stepper] { updateModelDistribution(stepper); });
}

// The component list of a generated model is read-only; a user-defined list is edited by hand.
void FluidModelController::enableComponentEditing(bool editable)
{
    for (QPushButton* button : {mAddButton, mDeleteButton, mNormalizeButton})
        button->setEnabled(editable);
    mComponentsView->setEditable(editable);
    mComponentsView->setDeletable(editable);
    mComponentCombo->setEnabled(editable);
    mComponentCombo->lineEdit()->setReadOnly(!editable);
    for (QLineEdit* field : {mMoleEditField, mMWEditField, mSGEditField, mTcEditField, mPcEditField, mOmegaEditField,
                             mTcREditField, mTbREditField, mPcPsiaEditField, mVcFtEditField})
        field->setReadOnly(!editable);
}

void FluidModelController::setModelStepperRanges(int type)
{
    if (type == kFluidTypeGamma) {
        setRange(*mSpinAlpha, kGammaShapeRange);
        setRange(*mSpinBeta, kGammaScaleRange);
        setRange(*mSpinDelta, kGammaDeltaRange);
    } else {
        setRange(*mSpinAlpha, kAlphaBetaRange);
        setRange(*mSpinBeta, kAlphaBetaRange);
    }
}

void FluidModelController::updateModelBoxView(int type, const FluidRecord& fluid)
{
    if (type != kFluidTypeComponentList && !isGeneratedModel(type))
        return;
    // The question before a model change compares with the model in force for this fluid.
    if (auto* cell = qobject_cast<QRadioButton*>(mModelRadio->button(type)))
        mOldSelectedModelRadio = cell;
    if (type == kFluidTypeComponentList) {
        enableComponentEditing(true);
        mAlphaBetaize->setEnabled(true);
        for (QLineEdit* field : {mAlphaEditField, mBetaEditField, mCO2EditField, mN2EditField, mH2SEditField,
                                 mDeltaEditField})
            field->setEnabled(false);
        setDoubleValue4(*mAlphaEditField, 0);
        setDoubleValue4(*mBetaEditField, 0);
        for (QLineEdit* gas : {mCO2EditField, mN2EditField, mH2SEditField})
            setDoubleValue3(*gas, 0);
        setDoubleValue2(*mDeltaEditField, 0);
        return;
    }
    enableComponentEditing(false);
    const bool gamma = type == kFluidTypeGamma;
    mAlphaBetaize->setEnabled(gamma);
    for (QLineEdit* field : {mAlphaEditField, mBetaEditField, mCO2EditField, mN2EditField, mH2SEditField})
        field->setEnabled(true);
    setDoubleValue4(*mAlphaEditField, fluid.doubleValue("alpha"));
    setDoubleValue4(*mBetaEditField, fluid.doubleValue("beta"));
    setDoubleValue3(*mCO2EditField, fluid.doubleValue("CO2") * 100);
    setDoubleValue3(*mN2EditField, fluid.doubleValue("N2") * 100);
    setDoubleValue3(*mH2SEditField, fluid.doubleValue("H2S") * 100);
    mSpinAlpha->setValue(fluid.doubleValue("alpha"));
    mSpinBeta->setValue(fluid.doubleValue("beta"));
    if (gamma) {
        mDeltaEditField->setEnabled(true);
        mDeltaEditField->setText(fluid.stringValue("delta"));
        mSpinDelta->setValue(fluid.intValue("delta"));
    }
    setModelStepperRanges(type);
}

void FluidModelController::onChooseModel()
{
    if (!hasSelectedFluid())
        return;
    FluidRecord fluid = selectedFluid();
    auto* selected = qobject_cast<QRadioButton*>(mModelRadio->checkedButton());
    const int tag = mModelRadio->checkedId();
    if (isGeneratedModel(tag)) {
        if (selected != mOldSelectedModelRadio
            && confirm(QString(), kConfirmModelChange, tr("OK"), tr("Cancel")) != AlertResponse::Default) {
            // Only the cell goes back: running its action would rebuild the fluid from the box's defaults.
            if (mOldSelectedModelRadio)
                mOldSelectedModelRadio->setChecked(true);
            return;
        }
        enableComponentEditing(false);
        for (QLineEdit* field : {mAlphaEditField, mBetaEditField, mCO2EditField, mN2EditField, mH2SEditField})
            field->setEnabled(true);
        if (tag == kFluidTypeGamma)
            mDeltaEditField->setEnabled(true);
        mOldSelectedModelRadio = selected;
        fluid.setValue(fluidkey::fluidType, tag);
        if (tag == kFluidTypeAlphaBeta)
            generateAlphaBetaFluid();
        else if (tag == kFluidTypeCarbonNumber)
            generateAlphaBetaFluidEx();
        else
            generateGammaFluid();
        markChanged();
    } else if (tag == kFluidTypeComponentList) {
        enableComponentEditing(true);
        for (QLineEdit* field : {mDeltaEditField, mAlphaEditField, mBetaEditField, mCO2EditField, mN2EditField,
                                 mH2SEditField})
            field->setEnabled(false);
        mOldSelectedModelRadio = mUserDefinedRadio;
        fluid.setValue(fluidkey::fluidType, kFluidTypeComponentList);
        markChanged();
    }
}

// Whether the parameters in the box, with the sender's new value, suit the model in force;
// otherwise says why and shows the parameters the fluid was last built from again.
bool FluidModelController::acceptModelParameter(QObject* sender)
{
    const int type = mModelRadio->checkedId();
    if (!isGeneratedModel(type))
        return true;
    const bool gamma = type == kFluidTypeGamma;
    std::optional<double> alpha = numberIn(*mAlphaEditField);
    std::optional<double> beta = numberIn(*mBetaEditField);
    std::optional<double> delta = numberIn(*mDeltaEditField);
    if (sender == mSpinAlpha)
        alpha = mSpinAlpha->value();
    else if (sender == mSpinBeta)
        beta = mSpinBeta->value();
    else if (sender == mSpinDelta)
        delta = mSpinDelta->value();
    double gases = 0;
    bool gasesValid = true;
    for (QLineEdit* gas : {mCO2EditField, mN2EditField, mH2SEditField}) {
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
    else if (!gamma && !mAlphaBetaInterface->calculateComposition(*alpha, *beta, numberIn(*mCO2EditField).value() / 100,
                                                                  numberIn(*mN2EditField).value() / 100,
                                                                  numberIn(*mH2SEditField).value() / 100))
        refusal = sender == mBetaEditField || sender == mSpinBeta ? kBetaNotValid : kAlphaNotValid;
    if (refusal.isEmpty())
        return true;
    showAlert(refusal);
    if (hasSelectedFluid())
        updateModelBoxView(type, selectedFluid());
    return false;
}

void FluidModelController::updateModelDistribution(QObject* sender)
{
    if (!acceptModelParameter(sender))
        return;
    const int type = mModelRadio->checkedId();
    if (isGeneratedModel(type)) {
        // Fields and steppers in step with the one the user changed.
        if (sender == mAlphaEditField)
            mSpinAlpha->setValue(Value(mAlphaEditField->text()).toDouble());
        else if (sender == mBetaEditField)
            mSpinBeta->setValue(Value(mBetaEditField->text()).toDouble());
        else if (sender == mSpinAlpha)
            setDoubleValue4(*mAlphaEditField, mSpinAlpha->value());
        else if (sender == mSpinBeta)
            setDoubleValue4(*mBetaEditField, mSpinBeta->value());
        else if (type == kFluidTypeGamma && sender == mDeltaEditField)
            mSpinDelta->setValue(Value(mDeltaEditField->text()).toDouble());
        else if (type == kFluidTypeGamma && sender == mSpinDelta)
            mDeltaEditField->setText(QString::number(mSpinDelta->value()));
        if (type == kFluidTypeAlphaBeta)
            updateAlphaBetaDistribution();
        else if (type == kFluidTypeCarbonNumber)
            updateAlphaBetaExDistribution();
        else
            updateGammaDistribution();
    }
    calculateGORAPI();
    updatePlotView();
    markChanged();
}

}  // namespace quorvel
