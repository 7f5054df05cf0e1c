// What the phase-diagram panel does when the selection of the P-T plot changes: the page in
// front selects the rows of the clicked envelope, isochore or trapping line and fills its
// fields; with nothing clicked it clears them. A record without a row on the page (a
// two-phase isochore without its twin, a marker standing for no diagram, an object of
// another page) selects nothing.

#include "panels/CPhaseDiagPanel.h"

#include "panels/PhaseDiagOutlineModel.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CPlotView.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <typeinfo>

namespace quorvel {

namespace {

// What was clicked, decided in this order.
const QString kIsopleth = QStringLiteral("isopleth");
const QString kIsochor = QStringLiteral("isochor");
const QString kTrappingLine = QStringLiteral("trapping line");
const QString kOtherCurve = QStringLiteral("other curve");
const QString kPoint = QStringLiteral("point");
const QString kNothing = QStringLiteral("nothing");

// Exact classes: a trapping line is a kind of isochore.
QString kindOfCurveRecord(const ArchivableObject* record)
{
    if (!record)
        return kOtherCurve;
    if (typeid(*record) == typeid(CIsopleth))
        return kIsopleth;
    if (typeid(*record) == typeid(CIsochor))
        return kIsochor;
    if (typeid(*record) == typeid(CTrappingLine))
        return kTrappingLine;
    return kOtherCurve;
}

PhaseDiagramPtr diagramOfRecord(const QString& kind, const std::shared_ptr<ArchivableObject>& record)
{
    if (kind == kIsopleth)
        return std::static_pointer_cast<CIsopleth>(record)->phaseDiagram();
    if (kind == kIsochor || kind == kTrappingLine)
        return std::static_pointer_cast<CIsochor>(record)->phaseDiagram();
    if (kind == kPoint)
        return std::dynamic_pointer_cast<CPhaseDiagram>(record);
    return nullptr;
}

void selectRows(QAbstractItemView* view, const QList<int>& rows)
{
    QItemSelection selection;
    for (int row : rows)
        selection.select(view->model()->index(row, 0), view->model()->index(row, view->model()->columnCount() - 1));
    view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

}  // namespace

void CPhaseDiagPanel::onPTPlotSelection(const Notification&)
{
    if (!isWindowLoaded())
        return;
    hiliteOff();
    CPlotView* view = plotView();
    CGraphObject* selected = view ? view->selectedObject() : nullptr;
    const double X = view ? double(view->selectedPointX()) : 0.0;
    QString kind = kNothing;
    std::shared_ptr<ArchivableObject> record;
    const bool curveClicked = dynamic_cast<CGraphCurve*>(selected) != nullptr;
    if (curveClicked) {
        record = selected->referenceObject().toObject();
        kind = kindOfCurveRecord(record.get());
    } else if (dynamic_cast<CGraphPoint*>(selected)) {
        record = selected->referenceObject().toObject();
        kind = kPoint;
    }
    const QString page = selectedPageIdentifier();
    if (page == kIsoplethsPage)
        selectIsoplethsPageFor(kind, record);
    else if (page == kIsochorsPage)
        selectIsochorsPageFor(kind, record, X);
    else if (page == kVolumesPage)
        selectVolumesPageFor(curveClicked ? kind : kNothing, record);
    else if (page == kTrappingPage)
        selectTrappingPageFor(kind, record, X, curveClicked, selected != nullptr);
    else if (page == kSummaryPage)
        selectSummaryPageFor(curveClicked ? kind : kNothing, record);
}

void CPhaseDiagPanel::selectIsoplethsPageFor(const QString& kind, const std::shared_ptr<ArchivableObject>& record)
{
    if (kind != kNothing) {
        // Another curve, or a marker standing for no diagram of the document, selects nothing.
        selectRow(mIsoplethsView, rowOfDiagram(diagramOfRecord(kind, record)));
        return;
    }
    deselectAll(mIsoplethsView);
    if (mModelTabView->currentIndex() == kAlphaBetaFluidsTab) {
        if (mAlphaBetaModelsView->selectedRow() == 0)
            onSelectAlphaBetaModel();
        else
            selectRow(mAlphaBetaModelsView, 0, true);
        setAlphaBetaFieldsEditable(true);
        for (QLineEdit* field : {mAlphaEdit, mBetaEdit, mCO2Edit, mN2Edit, mH2SEdit})
            setAlphaBetaField(field, formatNumber(0, NumberFormat::Decimals2));
        mIsoplethCalcButton->setEnabled(true);
        mIsoplethDeleteButton->setEnabled(false);
    } else {
        deselectAll(mFluidModelsView);
        mIsoplethCalcButton->setEnabled(false);
        mIsoplethDeleteButton->setEnabled(false);
    }
}

void CPhaseDiagPanel::selectIsochorsPageFor(const QString& kind, const std::shared_ptr<ArchivableObject>& record,
                                            double X)
{
    const PhaseDiagramPtr diagram = diagramOfRecord(kind, record);
    if (kind == kPoint) {
        if (rowOfDiagram(diagram) < 0)
            return;  // a marker standing for no diagram of the document
        selectRow(mIsoplethsView1, rowOfDiagram(diagram));
        hiliteTheIsopleths(diagram);
        selectRow(mInclusionsView, 0, true);
        for (QWidget* control : std::initializer_list<QWidget*>{mInclusionsView, mThEdit, mLiquidRadio, mGasRadio})
            control->setEnabled(true);
        setDoubleValue2(*mThEdit, X);
        setHomogRadios(true);
        mIsochorCalcButton->setEnabled(true);
        mWriteLogButton->setEnabled(false);
        mDensityEdit->clear();
        showDiagramStockTank(diagram);
        return;
    }
    if (kind == kNothing) {
        deselectAll(mInclusionsView);
        deselectAll(mIsochorsView);
        for (QWidget* control : std::initializer_list<QWidget*>{mThEdit, mPhEdit, mLiquidRadio, mGasRadio,
                                                                mIsochorCalcButton, mWriteLogButton,
                                                                mIsochorDeleteButton})
            control->setEnabled(false);
        for (QLineEdit* field : {mThEdit, mPhEdit, mDensityEdit, mAPIEdit, mGOREdit})
            field->clear();
        setHomogRadios(true);
        return;
    }
    if (rowOfDiagram(diagram) < 0)
        return;
    IsochorPtr isochor;
    if (kind == kIsopleth)
        isochor = diagram->getMonophasicIsochorOfTh(X);
    else if (kind == kIsochor)
        isochor = std::static_pointer_cast<CIsochor>(record);
    else if (kind == kTrappingLine)
        isochor = std::static_pointer_cast<CTrappingLine>(record)->isochor();
    selectRow(mIsoplethsView1, rowOfDiagram(diagram));
    showDiagramStockTank(diagram);
    for (QWidget* control : std::initializer_list<QWidget*>{mInclusionsView, mThEdit, mLiquidRadio, mGasRadio})
        control->setEnabled(true);
    if (isochor) {
        const IsochorPtr sister = isochor->sister();
        // The list shows one-phase isochores: a two-phase one is found by its twin, if any.
        selectRow(mIsochorsView, rowOfMonophasicIsochor(isochor->isBiphasic() ? sister : isochor));
        mWriteLogButton->setEnabled(true);
        mIsochorDeleteButton->setEnabled(true);
        mIsochorCalcButton->setEnabled(false);
        hiliteTheIsopleths(diagram);
        hiliteTheIsochors(isochor, sister);
        mThEdit->setReadOnly(true);
        setDoubleValue2(*mThEdit, isochor->Th());
        const bool toLiquid = isochor->homog() == CIsochor::kHomogToLiquid;
        setDoubleValue2(*mDensityEdit, toLiquid ? isochor->bulkDensity1() : isochor->bulkDensity0());
        setHomogRadios(toLiquid);
        setDoubleValue2(*mPhEdit, isochor->Ph());
        deselectAll(mInclusionsView);
        return;
    }
    // An isopleth clicked where no isochore has that Th: a new inclusion at the clicked Th.
    selectRow(mInclusionsView, 0, true);
    deselectAll(mIsochorsView);
    for (QWidget* control : std::initializer_list<QWidget*>{mThEdit, mLiquidRadio, mGasRadio})
        control->setEnabled(true);
    mThEdit->setReadOnly(false);
    setDoubleValue2(*mThEdit, X);
    if (kind == kIsopleth)
        setHomogRadios(std::static_pointer_cast<CIsopleth>(record)->homog() == CIsopleth::kLiquidBranch);
    mDensityEdit->clear();
    mIsochorCalcButton->setEnabled(true);
    mWriteLogButton->setEnabled(false);
    mIsochorDeleteButton->setEnabled(false);
    hiliteTheIsopleths(diagram);
}

void CPhaseDiagPanel::selectVolumesPageFor(const QString& kind, const std::shared_ptr<ArchivableObject>& record)
{
    if (kind == kIsochor) {
        const auto found = std::find(mIsochorsArray.begin(), mIsochorsArray.end(), record);
        if (found != mIsochorsArray.end())
            selectRow(mIsochorsView2, int(found - mIsochorsArray.begin()));
    } else if (kind == kIsopleth) {
        const PhaseDiagramPtr diagram = diagramOfRecord(kind, record);
        QList<int> rows;
        for (int row = 0; row < int(mIsochorsArray.size()); ++row)
            if (diagram && mIsochorsArray[row]->phaseDiagram() == diagram)
                rows << row;
        selectRows(mIsochorsView2, rows);
    } else if (kind == kNothing) {
        deselectAll(mIsochorsView2);
    }
}

void CPhaseDiagPanel::selectTrappingPageFor(const QString& kind, const std::shared_ptr<ArchivableObject>& record,
                                            double X, bool curveClicked, bool anythingSelected)
{
    if (!anythingSelected) {
        deselectAll(mIsochorsView1);
        deselectAll(mTrappingsView);
        for (QWidget* control : std::initializer_list<QWidget*>{mThAqEdit, mThAqStepper, mPtrapEdit,
                                                                mSetTrappingButton, mWriteLogButton1,
                                                                mTrapLineDeleteButton})
            control->setEnabled(false);
        if (mDocument)
            mDocument->hideTemporaryAqueousHomogLine();
        return;
    }
    if (!curveClicked) {
        setDoubleValue2(*mThAqEdit, 0);
        mPtrapEdit->clear();
        mWriteLogButton1->setEnabled(false);
        showAqueousHomogLine(nullptr, 0);
        mSetTrappingButton->setEnabled(true);
        return;
    }
    if (kind == kIsochor) {
        const auto isochor = std::static_pointer_cast<CIsochor>(record);
        const auto found = std::find(mIsochorsArray.begin(), mIsochorsArray.end(), isochor);
        // A two-phase isochore has no row here: nothing is chosen for it.
        if (found == mIsochorsArray.end())
            return;
        const double T = std::max(X, isochor->Th());
        selectRow(mIsochorsView1, int(found - mIsochorsArray.begin()));
        showAqueousHomogLine(isochor, T);
    } else if (kind == kIsopleth) {
        setDoubleValue2(*mThAqEdit, 0);
        mPtrapEdit->clear();
    } else if (kind == kTrappingLine) {
        const auto line = std::static_pointer_cast<CTrappingLine>(record);
        const auto found = std::find(mTrappingsArray.begin(), mTrappingsArray.end(), line);
        if (found == mTrappingsArray.end())
            return;
        selectRow(mTrappingsView, int(found - mTrappingsArray.begin()));
        setDoubleValue2(*mThAqEdit, line->Th());
        setDoubleValue2(*mPtrapEdit, line->Ptrap());
        mSetTrappingButton->setEnabled(false);
        for (QWidget* control : std::initializer_list<QWidget*>{mWriteLogButton1, mTrapLineDeleteButton, mPtrapEdit})
            control->setEnabled(true);
        if (CPlotView* view = plotView())
            view->hilite(line->graphCurve().get());
    }
}

void CPhaseDiagPanel::selectSummaryPageFor(const QString& kind, const std::shared_ptr<ArchivableObject>& record)
{
    // Only a node whose parents are expanded has a row.
    const auto selectNode = [this](const ArchivableObject* item) {
        const QModelIndex node = mOutlineModel->indexOf(item);
        for (QModelIndex parent = node.parent(); parent.isValid(); parent = parent.parent())
            if (!mPhaseDiagView->isExpanded(parent))
                return;
        if (node.isValid())
            mPhaseDiagView->selectRowAndScroll(node);
    };
    if (kind == kIsopleth) {
        const PhaseDiagramPtr diagram = diagramOfRecord(kind, record);
        hiliteTheIsopleths(diagram);
        selectNode(diagram.get());
    } else if (kind == kIsochor) {
        const auto isochor = std::static_pointer_cast<CIsochor>(record);
        const IsochorPtr sister = isochor->sister();
        selectNode(isochor->isBiphasic() ? sister.get() : isochor.get());
        hiliteTheIsochors(isochor, sister);
    } else if (kind == kTrappingLine) {
        const auto line = std::static_pointer_cast<CTrappingLine>(record);
        selectNode(line.get());
        hiliteTheTrappingLine(line);
    } else if (kind == kNothing) {
        mPhaseDiagView->clearSelection();
    }
}

}  // namespace quorvel
