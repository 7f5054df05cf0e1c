// The isochores page of the phase-diagram panel: an inclusion (or a typed Th and type) on
// the chosen diagram, the isochores it has already, and their calculation and deletion.

#include "panels/CPhaseDiagPanel.h"

#include "app/CInclusionDataDocument.h"
#include "platform/DocumentController.h"
#include "plot/CGraphCurve.h"
#include "plot/CPlotView.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <optional>
#include <typeinfo>

namespace quorvel {

namespace {

// A new inclusion's Th starts here (°C, to liquid).
constexpr double kNewInclusionTh = 100.0;
const QString kOilInclusion = QStringLiteral("Oil");
const QString kHomogToLiquid = QStringLiteral("liquid");

// Every oil inclusion of the open inclusion-data documents, in the controller's order.
void appendOpenOilInclusions(Array& list)
{
    DocumentController* controller = DocumentController::sharedDocumentController();
    if (!controller)
        return;
    for (Document* document : controller->documents()) {
        if (!document || typeid(*document) != typeid(CInclusionDataDocument))
            continue;
        for (const Value& inclusion : static_cast<CInclusionDataDocument*>(document)->getInclusions())
            if (inclusion.toDictionary().stringValue(QStringLiteral("type0")) == kOilInclusion)
                list.append(inclusion);
    }
}

}  // namespace

void CPhaseDiagPanel::refreshInclusionsList()
{
    mInclusionsArray.clear();
    if (!mDocument) {
        mInclusionsView->setEnabled(false);
        mInclusionsArray.append(kNoPhaseDiagram);
    } else {
        mInclusionsArray.append(kNewInclusion);
        if (const PhaseDiagramPtr chosen = selectedPhaseDiagram()) {
            const Value stored = chosen->thermoModel().value(QStringLiteral("inclusion"));
            if (!stored.isNull())
                mInclusionsArray.append(stored);
        }
        appendOpenOilInclusions(mInclusionsArray);
    }
    reload(mInclusionsView);
}

void CPhaseDiagPanel::refreshIsochorsList()
{
    mIsochorsArray.clear();
    for (const PhaseDiagramPtr& diagram : diagrams())
        for (const IsochorPtr& isochor : diagram->monophasicIsochors())
            mIsochorsArray.push_back(isochor);
    reload(mIsochorsView1);
    reload(mIsochorsView2);
}

void CPhaseDiagPanel::onSelectInclusion()
{
    const int row = mInclusionsView->selectedRow();
    const bool diagramChosen = selectedPhaseDiagram() != nullptr;
    if (row < 0) {
        for (QWidget* control : std::initializer_list<QWidget*>{mThEdit, mLiquidRadio, mGasRadio, mIsochorCalcButton})
            control->setEnabled(false);
        return;
    }
    if (row == 0) {
        setDoubleValue2(*mThEdit, kNewInclusionTh);
        for (QWidget* control : std::initializer_list<QWidget*>{mThEdit, mLiquidRadio, mGasRadio})
            control->setEnabled(true);
        mThEdit->setReadOnly(false);
        setHomogRadios(true);
        mIsochorCalcButton->setEnabled(diagramChosen);
        return;
    }
    const Dictionary inclusion = mInclusionsArray.at(row).toDictionary();
    mThEdit->setText(inclusion.stringValue(QStringLiteral("Th")));
    setHomogRadios(inclusion.stringValue(QStringLiteral("homog")) == kHomogToLiquid);
    mThEdit->setReadOnly(true);
    mLiquidRadio->setEnabled(false);
    mGasRadio->setEnabled(false);
    mIsochorCalcButton->setEnabled(diagramChosen);
}

void CPhaseDiagPanel::onSetLiquidHomog(QObject* sender)
{
    mGasRadio->setChecked(false);
    onThChanged(sender);
}

void CPhaseDiagPanel::onSetVapourHomog(QObject* sender)
{
    mLiquidRadio->setChecked(false);
    onThChanged(sender);
}

void CPhaseDiagPanel::onThChanged(QObject*)
{
    const PhaseDiagramPtr chosen = selectedPhaseDiagram();
    if (!chosen)
        return;
    const float Th = float(fieldDouble(mThEdit));
    const auto homog = static_cast<signed char>(mLiquidRadio->isChecked() ? 1 : 0);
    CPlotView* view = plotView();
    float x = 0, referenceP = 0;
    if (view)
        view->getSelectedPoint(x, referenceP);
    const float Ph = float(chosen->getPh(double(Th), homog, double(referenceP), nullptr, nullptr));
    if (Ph != 0 && view) {
        view->setSelectedPoint(Th, Ph);
        view->showSelectionPoint(true);
    }
    IsochorPtr twoPhase;
    IsochorPtr onePhase;
    if (chosen->isIsochorAlreadyCalculated(double(Th), homog, &twoPhase, &onePhase)) {
        hiliteOff();
        hiliteTheIsochors(twoPhase, onePhase);
        // A two-phase isochore without its one-phase twin has no row: the list stays as it is.
        selectRow(mIsochorsView, rowOfMonophasicIsochor(onePhase));
        if (twoPhase)
            setDoubleValue2(*mDensityEdit, twoPhase->bulkDensity1());
        mIsochorCalcButton->setEnabled(false);
        mWriteLogButton->setEnabled(true);
    } else {
        mIsochorCalcButton->setEnabled(true);
        mWriteLogButton->setEnabled(false);
    }
    redrawPlot();
}

void CPhaseDiagPanel::onSelectIsochor()
{
    hiliteOff();
    const IsochorPtr isochor = monophasicIsochorAt(mIsochorsView->selectedRow());
    if (!isochor) {
        for (QWidget* control : std::initializer_list<QWidget*>{mWriteLogButton, mIsochorDeleteButton, mThEdit,
                                                                mLiquidRadio, mGasRadio})
            control->setEnabled(false);
        for (QLineEdit* field : {mPhEdit, mDensityEdit, mThEdit})
            field->clear();
        mLiquidRadio->setChecked(false);
        mGasRadio->setChecked(false);
        return;
    }
    const IsochorPtr sister = isochor->sister();
    // A pair shares Th, Ph and type; without the twin the isochore's own values are shown.
    const IsochorPtr shown = sister ? sister : isochor;
    setDoubleValue2(*mDensityEdit, isochor->bulkDensity1());
    for (QWidget* control : std::initializer_list<QWidget*>{mThEdit, mPhEdit, mLiquidRadio, mGasRadio})
        control->setEnabled(true);
    setDoubleValue2(*mThEdit, shown->Th());
    setDoubleValue2(*mPhEdit, shown->Ph());
    setHomogRadios(shown->homog() != 0);
    hiliteTheIsopleths(isochor->phaseDiagram());
    hiliteTheIsochors(isochor, sister);
    if (CPlotView* view = plotView())
        view->setSelectedObject(isochor->graphCurve().get());
    mWriteLogButton->setEnabled(true);
    mIsochorDeleteButton->setEnabled(true);
}

void CPhaseDiagPanel::onCalculateIsochor(QObject*)
{
    const PhaseDiagramPtr chosen = selectedPhaseDiagram();
    if (!chosen || !mDocument)
        return;
    const float Th = float(fieldDouble(mThEdit));
    const auto homog = static_cast<signed char>(mLiquidRadio->isChecked() ? 1 : 0);
    float x = 0, referenceP = 0;
    if (CPlotView* view = plotView())
        view->getSelectedPoint(x, referenceP);
    const int row = mInclusionsView->selectedRow();
    std::optional<InclusionRecord> inclusion;
    if (row > 0)
        inclusion = mInclusionsArray.at(row).toDictionary();
    IsochorPtr made;
    mDocument->calculateIsochor(chosen, inclusion, double(Th), homog, &made, double(referenceP));
    updatePanel();
}

void CPhaseDiagPanel::onDeleteIsochor(QObject*)
{
    const IsochorPtr isochor = monophasicIsochorAt(mIsochorsView->selectedRow());
    if (!isochor || !mDocument)
        return;
    mDocument->deleteIsochor(isochor);
    updatePanel();
    redrawPlot();
}

}  // namespace quorvel
