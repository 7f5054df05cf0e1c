// The isopleths page of the phase-diagram panel: the document's phase envelopes, the fluids
// offered for a new one (alpha-beta fluids, typed or stored, and component-list fluids),
// and the choice of a diagram on the isochores page.

#include "panels/CPhaseDiagPanel.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CFluidModelDataDocument.h"
#include "platform/DocumentController.h"
#include "plot/CGraphCurve.h"
#include "plot/CPlotView.h"
#include "widgets/NumberFields.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <typeinfo>

namespace quorvel {

namespace {

const QString kFluidType = QStringLiteral("fluidType");
const QStringList kModelKeys{QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("CO2"),
                             QStringLiteral("N2"), QStringLiteral("H2S")};

// The open documents of exactly that class, in the controller's order.
template <class Kind>
QList<Kind*> openDocumentsOf()
{
    QList<Kind*> found;
    if (DocumentController* controller = DocumentController::sharedDocumentController())
        for (Document* document : controller->documents())
            if (document && typeid(*document) == typeid(Kind))
                found << static_cast<Kind*>(document);
    return found;
}

QString zeroText()
{
    return formatNumber(0, NumberFormat::Decimals2);
}

// The model fields' texts of an alpha-beta fluid: the gases always in percent, whether the
// record holds fractions (fluids) or percents (markers).
QStringList modelFieldTexts(const Dictionary& record, bool gasesInPercent)
{
    const double toPercent = gasesInPercent ? 1.0 : 100.0;
    QStringList texts{record.stringValue(kModelKeys[0]), record.stringValue(kModelKeys[1])};
    for (int i = 2; i < kModelKeys.size(); ++i)
        texts << formatNumber(record.doubleValue(kModelKeys[i]) * toPercent, NumberFormat::Decimals2);
    return texts;
}

}  // namespace

Dictionary CPhaseDiagPanel::envelopeFluidOf(const Dictionary& record) const
{
    return mMarkers.contains(record.identity()) ? alphaBetaFluidFromMarker(record) : record;
}

void CPhaseDiagPanel::appendOpenAlphaBetaFluids(bool leaveOutUsed)
{
    const auto offer = [&](const Dictionary& record, bool isMarker) {
        const Dictionary fluid = isMarker ? alphaBetaFluidFromMarker(record) : record;
        if (leaveOutUsed && isFluidModelAlreadyUsed(diagrams(), fluid))
            return;
        if (isMarker)
            mMarkers.insert(record.identity());
        mAlphaBetaModelsArray.append(record);
    };
    if (DocumentController* controller = DocumentController::sharedDocumentController())
        for (Document* document : controller->documents()) {
            if (!document)
                continue;
            if (typeid(*document) == typeid(CAlphaBetaPlotDocument)) {
                for (const Value& marker : static_cast<CAlphaBetaPlotDocument*>(document)->alphaBetaPoints())
                    offer(marker.toDictionary(), true);
            } else if (typeid(*document) == typeid(CFluidModelDataDocument)) {
                for (const Value& fluid : static_cast<CFluidModelDataDocument*>(document)->fluids())
                    if (fluid.toDictionary().intValue(kFluidType) == kAlphaBetaFluid)
                        offer(fluid.toDictionary(), false);
            }
        }
}

void CPhaseDiagPanel::refreshAlphaBetaFluidsList()
{
    if (mModelTabView->currentIndex() != kAlphaBetaFluidsTab)
        return;
    mAlphaBetaModelsArray.clear();
    mMarkers.clear();
    mAlphaBetaModelsArray.append(kNewAlphaBetaFluid);
    appendOpenAlphaBetaFluids(mDocument != nullptr);
    mAlphaBetaModelsView->setEnabled(mDocument != nullptr);
    reload(mAlphaBetaModelsView);
}

void CPhaseDiagPanel::refreshFluidModelsList()
{
    if (mModelTabView->currentIndex() != kComponentFluidsTab)
        return;
    mFluidModelsArray.clear();
    for (CFluidModelDataDocument* document : openDocumentsOf<CFluidModelDataDocument>())
        for (const Value& entry : document->fluids()) {
            const Dictionary fluid = entry.toDictionary();
            const int type = fluid.intValue(kFluidType);
            if (type != kComponentFluid && type != kCarbonNumberFluid)
                continue;
            if (mDocument && isFluidModelAlreadyUsed(diagrams(), fluid))
                continue;
            mFluidModelsArray.append(fluid);
        }
    if (!mDocument) {
        mFluidModelsView->setEnabled(false);
    } else if (mFluidModelsArray.isEmpty()) {
        mIsoplethCalcButton->setEnabled(false);
        mFluidModelsView->setEnabled(false);
    } else {
        mFluidModelsView->setEnabled(true);
    }
    reload(mFluidModelsView);
}

void CPhaseDiagPanel::onSelectPhaseEnvelope()
{
    const PhaseDiagramPtr diagram = diagramAt(mIsoplethsView->selectedRow());
    if (!diagram) {
        hiliteOff();
        mIsoplethDeleteButton->setEnabled(false);
        return;
    }
    // The fluid lists let go of their choice first, so that the fields then keep the diagram's fluid.
    deselectAll(mAlphaBetaModelsView);
    deselectAll(mFluidModelsView);
    const Dictionary& fluid = diagram->thermoModel();
    if (fluid.intValue(kFluidType) == kAlphaBetaFluid) {
        const QList<QLineEdit*> fields{mAlphaEdit, mBetaEdit, mCO2Edit, mN2Edit, mH2SEdit};
        const QStringList texts = modelFieldTexts(fluid, false);
        for (int i = 0; i < fields.size(); ++i)
            setAlphaBetaField(fields[i], texts[i]);
        setAlphaBetaFieldsEditable(false);
    }
    mIsoplethCalcButton->setEnabled(false);
    mIsoplethDeleteButton->setEnabled(true);
    hiliteTheIsopleths(diagram);
}

void CPhaseDiagPanel::onSelectAlphaBetaModel()
{
    const QList<QLineEdit*> fields{mAlphaEdit, mBetaEdit, mCO2Edit, mN2Edit, mH2SEdit};
    const int row = mAlphaBetaModelsView->selectedRow();
    if (row < 0) {
        setAlphaBetaFieldsEditable(false);
        for (QLineEdit* field : fields)
            setAlphaBetaField(field, QString());
        mIsoplethCalcButton->setEnabled(false);
        return;
    }
    if (row == 0) {
        setAlphaBetaFieldsEditable(true);
        for (QLineEdit* field : fields)
            setAlphaBetaField(field, zeroText());
        hiliteOff();
        deselectAll(mIsoplethsView);
        mIsoplethCalcButton->setEnabled(true);
        mIsoplethDeleteButton->setEnabled(false);
        return;
    }
    setAlphaBetaFieldsEditable(false);
    mIsoplethCalcButton->setEnabled(true);
    mIsoplethDeleteButton->setEnabled(false);
    hiliteOff();
    deselectAll(mIsoplethsView);
    const Dictionary record = mAlphaBetaModelsArray.at(row).toDictionary();
    const QStringList texts = modelFieldTexts(record, mMarkers.contains(record.identity()));
    for (int i = 0; i < fields.size(); ++i)
        setAlphaBetaField(fields[i], texts[i]);
}

void CPhaseDiagPanel::onSelectFluidModel()
{
    if (mFluidModelsView->selectedRow() < 0) {
        mIsoplethCalcButton->setEnabled(false);
        return;
    }
    mIsoplethCalcButton->setEnabled(true);
    mIsoplethDeleteButton->setEnabled(false);
    hiliteOff();
    deselectAll(mIsoplethsView);
}

void CPhaseDiagPanel::onCalculateIsopleth(QObject*)
{
    if (!mDocument)
        return;
    QPointer<CPhaseDiagDocument> target = mDocument;
    if (mModelTabView->currentIndex() == kAlphaBetaFluidsTab) {
        const int row = mAlphaBetaModelsView->selectedRow();
        if (row < 0)
            return;
        if (row == 0) {
            // Typed gases are percent, as a marker's: the fluid is named from them and calculates with fractions.
            target->calculateImmiscibilityLoop(alphaBetaFluidFromMarker(
                newAlphaBetaPoint(fieldDouble(mAlphaEdit), fieldDouble(mBetaEdit), fieldDouble(mCO2Edit),
                                  fieldDouble(mN2Edit), fieldDouble(mH2SEdit))));
        } else {
            target->calculateImmiscibilityLoop(envelopeFluidOf(mAlphaBetaModelsArray.at(row).toDictionary()));
        }
    } else {
        const int row = mFluidModelsView->selectedRow();
        if (row < 0)
            return;
        target->calculateImmiscibilityLoop(mFluidModelsArray.at(row).toDictionary());
    }
    updatePanel();
}

void CPhaseDiagPanel::onDeleteIsopleth(QObject*)
{
    if (const PhaseDiagramPtr diagram = diagramAt(mIsoplethsView->selectedRow()); diagram && mDocument)
        mDocument->removeFluidPhaseDiagram(diagram);
}

void CPhaseDiagPanel::onSelectIsopleth()
{
    hiliteOff();
    const PhaseDiagramPtr diagram = diagramAt(mIsoplethsView1->selectedRow());
    if (!diagram) {
        mSelectedPhaseDiagram.reset();
        for (QLineEdit* field : {mDensityEdit, mAPIEdit, mGOREdit})
            field->clear();
        for (QWidget* control : std::initializer_list<QWidget*>{mThEdit, mIsochorCalcButton, mLiquidRadio, mGasRadio})
            control->setEnabled(false);
        reload(mIsochorsView);
        return;
    }
    mSelectedPhaseDiagram = diagram;
    mInclusionsView->setEnabled(true);
    mIsochorsView->setEnabled(true);
    reload(mIsochorsView);
    if (diagram->monophasicIsochors().empty()) {
        selectRow(mInclusionsView, 0);
        deselectAll(mIsochorsView);
        const IsoplethPtr branch = diagram->liquidIsopleth() ? diagram->liquidIsopleth() : diagram->vapourIsopleth();
        CPlotView* view = plotView();
        if (branch && view) {
            view->setSelectedObject(branch->graphCurve().get());
            if (!branch->points().empty()) {
                const IsoplethPointPtr& middle = branch->points()[branch->points().size() / 2];
                view->setSelectedPointX(float(middle->T()));
                view->setSelectedPointY(float(middle->P()));
            }
            view->showSelectionPoint(true);
        }
        mDensityEdit->clear();
        hiliteTheIsopleths(diagram);
    } else {
        deselectAll(mInclusionsView);
        selectRow(mIsochorsView, 0);
    }
    showDiagramStockTank(diagram);
    refreshInclusionsList();
}

}  // namespace quorvel
