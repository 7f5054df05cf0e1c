// The step-wise alpha-beta curve calculation of the alpha-beta plot document.

#include "app/AlphaBetaCurveEngine.h"
#include "app/CAlphaBetaPlotDocument.h"
#include "app/CFluidModelDataDocument.h"
#include "app/DocumentTypes.h"
#include "app/InclusionRecord.h"
#include "app/Ports.h"
#include "calc/FluidRecordKeys.h"
#include "platform/AlertService.h"
#include "platform/Color.h"
#include "platform/DocumentController.h"
#include "platform/NotificationCenter.h"
#include "platform/WindowController.h"
#include "plot/CPlotView.h"

namespace quorvel {

namespace {

constexpr double kKelvinOffset = 273.15;
constexpr int kCurveCapacityHint = 40;

// Numbers of the equilibrium failures that have an alert.
constexpr int kErrorGeneral = 1;
constexpr int kErrorCritical = 5;
constexpr int kErrorLiquidLiquidGas = 6;
constexpr int kErrorNoLiquid = 7;
constexpr int kErrorNoGas = 8;

void alertWhenCurveStored(equilibrium_failure failure)
{
    const int errorIndex = code_number(failure);
    if (errorIndex == kErrorCritical)
        Msg_AlphaBetaCurveCritical();
    else if (errorIndex == kErrorLiquidLiquidGas)
        Msg_AlphaBetaCurveLLGEx();
}

void alertWhenCurveDropped(equilibrium_failure failure)
{
    switch (code_number(failure)) {
    case kErrorGeneral: Msg_AlphaBetaCurveError(); break;
    case kErrorCritical: Msg_AlphaBetaCurveCritical(); break;
    case kErrorLiquidLiquidGas: Msg_AlphaBetaCurveLLG(); break;
    case kErrorNoLiquid: Msg_AlphaBetaCurveNoLiquid(); break;
    case kErrorNoGas: Msg_AlphaBetaCurveNoGas(); break;
    default: break;
    }
}

}  // namespace

void Msg_AlphaBetaCurveLLGEx()
{
    showAlert(QObject::tr("Liquid-liquid-gas equilibria may occur at the temperature of measurement of the bubble "
                          "size.\nIf necessary, extrapolate the beta(alpha) curve, or redo the calculation by using "
                          "volume measurements made at higher temperatures."));
}

void Msg_AlphaBetaCurveCritical() { showAlert(QObject::tr("The curve stops at a critical point.")); }

void Msg_AlphaBetaCurveLLG()
{
    showAlert(QObject::tr("Liquid-liquid-gas equilibria may occur at the temperature of measurement of the bubble size."));
}

void Msg_AlphaBetaCurveNoLiquid()
{
    showAlert(QObject::tr("The bubble is either too large or too small for an inclusion which homogenizes to liquid. "
                          "Check your parameters."));
}

void Msg_AlphaBetaCurveNoGas()
{
    showAlert(QObject::tr("The bubble is too small for an inclusion which homogenizes to vapour."));
}

void Msg_AlphaBetaCurveError()
{
    showAlert(QObject::tr("For some reason, Quorvel was not able to treat these oil inclusion data."));
}

void CAlphaBetaPlotDocument::resetCurve()
{
    if (!mEngine)
        mEngine = AlphaBetaCurveEngine::make();
    mCurve.clear();
}

void CAlphaBetaPlotDocument::dropEngine()
{
    mEngine.reset();
    mCurve.clear();
}

void CAlphaBetaPlotDocument::prepareCalculation(double Th, double Tv, double Fv, double CO2, double N2, double H2S,
                                                Homogenisation homog, const QString& curveName,
                                                const std::optional<Dictionary>& inclusion)
{
    resetCurve();
    mEngine->setTh(Th);
    mEngine->setTfv(Tv);
    mEngine->setFv(Fv);
    mEngine->setCO2(CO2);
    mEngine->setN2(N2);
    mEngine->setH2S(H2S);
    mEngine->setHomog(homog);
    mFirstPoint = RunPhase::runStart;
    mCurveName = curveName;
    mCurrentInclusion = inclusion;
}

void CAlphaBetaPlotDocument::prepareCalculation(const Array& inclusions)
{
    resetCurve();
    mFirstPoint = RunPhase::runStart;
    // The panel rebuilds its list while the run goes on: the run walks a copy of its own.
    mInclusionsList = inclusions.deepCopy();
    mCurrentInclusionIndex = 0;
    mCurrentInclusion.reset();
}

AlphaBetaTurn CAlphaBetaPlotDocument::acceptPoint(double alpha, double beta, double pressure, double* outAlpha,
                                                double* outBeta)
{
    mCurve.append(Array{alpha, beta, pressure});
    *outAlpha = alpha;
    *outBeta = beta;
    mFirstPoint = RunPhase::furtherStep;
    return AlphaBetaTurn::point;
}

// The curve record of the points found so far, appended and plotted.
Dictionary CAlphaBetaPlotDocument::storeCurve(const std::optional<Dictionary>& inclusion)
{
    Dictionary curve{{inclusionkey::name, mCurveName},
                     {inclusionkey::Th, mEngine->getTh() - kKelvinOffset},
                     {inclusionkey::Fv, mEngine->getFv() * 100},
                     {inclusionkey::Tv, mEngine->getTfv() - kKelvinOffset},
                     {inclusionkey::CO2, mEngine->getCO2() * 100},
                     {inclusionkey::N2, mEngine->getN2() * 100},
                     {inclusionkey::H2S, mEngine->getH2S() * 100},
                     {inclusionkey::homog, homogRecordText(mEngine->getHomog())},
                     {alphabetakey::data, mCurve.deepCopy()},
                     {alphabetakey::size, 1},
                     {alphabetakey::color, Color::fromRgb(1, 0, 0)},
                     {alphabetakey::alpha0, mCurve.at(0).toArray().at(0).toDouble()},
                     {alphabetakey::index, mAlphaBetaCurves.size()}};
    if (inclusion)
        curve.setValue(fluidkey::inclusion, inclusion->deepCopy());
    mAlphaBetaCurves.append(curve);
    plotAlphaBetaCurve(curve);
    return curve;
}

AlphaBetaTurn CAlphaBetaPlotDocument::calculateAlphaBetaPoint(double* alpha, double* beta)
{
    if (!mEngine)
        return AlphaBetaTurn::done;  // nothing prepared
    double a = 0, b = 0, pressure = 0;
    if (mFirstPoint != RunPhase::furtherStep) {
        if (mEngine->firstAlphaBeta(&a, &b, &pressure) == equilibrium_failure::none)
            return acceptPoint(a, b, pressure, alpha, beta);
        Msg_AlphaBetaCurveError();
        dropEngine();
        return AlphaBetaTurn::firstPointFailed;
    }
    switch (mEngine->nextAlphaBeta(&a, &b, &pressure)) {
    case AlphaBetaStep::pointFound: return acceptPoint(a, b, pressure, alpha, beta);
    case AlphaBetaStep::retry: return AlphaBetaTurn::retry;
    case AlphaBetaStep::curveEnd: break;
    }
    return endCurve();
}

// The end of a one-curve run: the curve is stored when it has more than its first point,
// with the alert of the failure that ended it.
AlphaBetaTurn CAlphaBetaPlotDocument::endCurve()
{
    const equilibrium_failure failure = mEngine->getErrorMessageIndex();
    if (mCurve.size() > 1) {
        alertWhenCurveStored(failure);
        if (mCurveName == kNewInclusionCurveName)
            mCurveName = InspectorPanels::current().askCurveName(mCurveName);
        storeCurve(mCurrentInclusion);
    } else {
        alertWhenCurveDropped(failure);
    }
    dropEngine();
    return AlphaBetaTurn::done;
}

// Starts the next inclusion of the run that gives a first point; inclusions whose first
// point fails are passed over without an alert.
AlphaBetaTurn CAlphaBetaPlotDocument::startNextInclusion(double* alpha, double* beta)
{
    mCurrentInclusionIndex = mFirstPoint == RunPhase::runStart ? 1 : mCurrentInclusionIndex + 1;
    for (; mCurrentInclusionIndex < mInclusionsList.size(); ++mCurrentInclusionIndex) {
        const Dictionary inclusion = mInclusionsList.at(mCurrentInclusionIndex).toDictionary();
        mCurrentInclusion = inclusion;
        mEngine->setInputParameters(inclusion.doubleValue(inclusionkey::Th), inclusion.doubleValue(inclusionkey::Tv),
                                    inclusion.doubleValue(inclusionkey::Fv), inclusion.doubleValue(inclusionkey::CO2),
                                    inclusion.doubleValue(inclusionkey::N2), inclusion.doubleValue(inclusionkey::H2S),
                                    homogenisationOf(inclusion));
        mCurveName = inclusion.stringValue(inclusionkey::name);
        double a = 0, b = 0, pressure = 0;
        mCurve.clear();
        if (mEngine->firstAlphaBeta(&a, &b, &pressure) == equilibrium_failure::none)
            return acceptPoint(a, b, pressure, alpha, beta);
    }
    mCurrentInclusion.reset();
    dropEngine();
    return AlphaBetaTurn::done;
}

AlphaBetaTurn CAlphaBetaPlotDocument::calculateAlphaBetaPoint1(double* alpha, double* beta)
{
    if (!mEngine)
        return AlphaBetaTurn::done;  // nothing prepared, or the run is over
    if (mFirstPoint != RunPhase::furtherStep)
        return startNextInclusion(alpha, beta);
    double a = 0, b = 0, pressure = 0;
    switch (mEngine->nextAlphaBeta(&a, &b, &pressure)) {
    case AlphaBetaStep::pointFound: return acceptPoint(a, b, pressure, alpha, beta);
    // The engine halved its step: it is asked again, as in the one-curve run, so that an
    // inclusion gives the same curve in both runs.
    case AlphaBetaStep::retry: return AlphaBetaTurn::retry;
    case AlphaBetaStep::curveEnd: break;
    }
    if (mCurve.size() > 1)
        storeCurve(mCurrentInclusion);
    mFirstPoint = RunPhase::nextInclusion;
    mCurve.clear();
    postModified();
    return AlphaBetaTurn::point;
}

void CAlphaBetaPlotDocument::onCalculationEnd()
{
    updateChangeCount(ChangeDone);
    redraw();
    if (mPlotView && mPlotView->window()) {
        mPlotView->window()->raise();
        mPlotView->window()->activateWindow();
    }
    postModified();
}

void CAlphaBetaPlotDocument::generateFluidModel(double alpha, double beta, double CO2, double N2, double H2S)
{
    DocumentController* controller = DocumentController::sharedDocumentController();
    if (!controller)
        return;
    CFluidModelDataDocument* target = nullptr;
    for (Document* document : controller->documents())
        if (document->fileType() == DocumentTypes::FluidModel)
            target = dynamic_cast<CFluidModelDataDocument*>(document);
    if (target) {
        target->generateFluidFromAlphaBetaModel(alpha, beta, CO2, N2, H2S);
    } else {
        std::unique_ptr<Document> made = controller->makeUntitledDocumentOfType(DocumentTypes::FluidModel);
        target = dynamic_cast<CFluidModelDataDocument*>(made.get());
        if (!target)
            return;
        target->generateFluidFromAlphaBetaModel(alpha, beta, CO2, N2, H2S);
        controller->addDocument(std::move(made));
        target->makeWindowControllers();
    }
    target->showWindows();
    if (!target->windowControllers().empty())
        if (auto* editor = dynamic_cast<FluidModelEditor*>(target->windowControllers().front().get()))
            editor->finishGenerateAlphaBetaFluid();
}

}  // namespace quorvel
