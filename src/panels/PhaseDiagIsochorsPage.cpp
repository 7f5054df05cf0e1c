#include "panels/PhaseDiagIsochorsPage.h"

#include "app/CInclusionDataDocument.h"
#include "app/InclusionRecord.h"
#include "calc/FluidRecordKeys.h"
#include "calc/InclusionRecordKeys.h"
#include "panels/FloatingPanel.h"
#include "platform/DocumentController.h"
#include "plot/CGraphCurve.h"
#include "plot/CPlotView.h"
#include "widgets/NumberFields.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <optional>
#include <typeinfo>

namespace quorvel {

namespace {

// A new inclusion's Th starts here (°C, to liquid).
constexpr double kNewInclusionTh = 100.0;
const QString kOilInclusion = QStringLiteral("Oil");

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
            if (inclusion.toDictionary().stringValue(inclusionkey::type0) == kOilInclusion)
                list.append(inclusion);
    }
}

}  // namespace

PhaseDiagIsochorsPage::PhaseDiagIsochorsPage(PhaseDiagPageHost& host, const QString& identifier)
    : PhaseDiagPage(host, identifier)
{
    ui.mIsoplethsView1 = makeList("mIsoplethsView1", {QStringLiteral("name|Phase envelopes")}, diagramsSource(),
                                  [this] { onSelectIsopleth(); });
    ui.mInclusionsView = makeList(
        "mInclusionsView",
        {QStringLiteral("name|Inclusion"), QStringLiteral("Th|Th (°C)"), QStringLiteral("homog|Homog.")},
        recordsSource(mInclusionsArray, true), [this] { onSelectInclusion(); });
    ui.mIsochorsView = makeList(
        "mIsochorsView", {QStringLiteral("name|Isochors")},
        {[this] {
             const PhaseDiagramPtr chosen = selectedPhaseDiagram();
             return chosen ? int(chosen->monophasicIsochors().size()) : 0;
         },
         [this](const QString&, int row) {
             const PhaseDiagramPtr chosen = selectedPhaseDiagram();
             return chosen ? nameCell(chosen->monophasicIsochors(), row) : Value();
         }},
        [this] { onSelectIsochor(); });
    ui.mThEdit = makeField("mThEdit");
    ui.mLiquidRadio = new QRadioButton(tr("Liquid"), mWidget);
    ui.mLiquidRadio->setObjectName(QStringLiteral("mLiquidRadio"));
    ui.mGasRadio = new QRadioButton(tr("Vapour"), mWidget);
    ui.mGasRadio->setObjectName(QStringLiteral("mGasRadio"));
    // The two actions keep the radios exclusive; both may also be cleared.
    ui.mLiquidRadio->setAutoExclusive(false);
    ui.mGasRadio->setAutoExclusive(false);
    ui.mIsochorCalcButton = makeButton(tr("Calculate"), "mIsochorCalcButton");
    ui.mIsochorDeleteButton = makeButton(tr("Delete"), "mIsochorDeleteButton");
    ui.mWriteLogButton = makeButton(tr("Log"), "mWriteLogButton");
    ui.mDensityEdit = makeField("mDensityEdit", true);
    ui.mPhEdit = makeField("mPhEdit", true);
    ui.mAPIEdit = makeField("mAPIEdit", true);
    ui.mGOREdit = makeField("mGOREdit", true);
    connect(ui.mThEdit, &QLineEdit::returnPressed, this, [this] { onThChanged(ui.mThEdit); });
    connect(ui.mLiquidRadio, &QRadioButton::clicked, this, [this] { onSetLiquidHomog(ui.mLiquidRadio); });
    connect(ui.mGasRadio, &QRadioButton::clicked, this, [this] { onSetVapourHomog(ui.mGasRadio); });
    connect(ui.mIsochorCalcButton, &QPushButton::clicked, this, [this] { onCalculateIsochor(ui.mIsochorCalcButton); });
    connect(ui.mIsochorDeleteButton, &QPushButton::clicked, this,
            [this] { onDeleteIsochor(ui.mIsochorDeleteButton); });
    connect(ui.mWriteLogButton, &QPushButton::clicked, this, [this] { onWriteLogButton(ui.mWriteLogButton); });

    auto* homog = new QHBoxLayout;
    homog->addWidget(new QLabel(tr("Th (°C):"), mWidget));
    homog->addWidget(ui.mThEdit);
    homog->addWidget(ui.mLiquidRadio);
    homog->addWidget(ui.mGasRadio);
    homog->addWidget(ui.mIsochorCalcButton);
    QGridLayout* results = labelledFields({{tr("Density (g/cm3):"), ui.mDensityEdit},
                                           {tr("Ph (bar):"), ui.mPhEdit},
                                           {tr("API:"), ui.mAPIEdit},
                                           {tr("GOR:"), ui.mGOREdit}},
                                          2);
    QHBoxLayout* buttons = buttonRow({ui.mWriteLogButton}, {ui.mIsochorDeleteButton});

    auto* layout = new QVBoxLayout(mWidget);
    layout->addWidget(titleLabel(tr("Phase envelope")));
    layout->addWidget(ui.mIsoplethsView1, 2);
    layout->addWidget(titleLabel(tr("Inclusion")));
    layout->addWidget(ui.mInclusionsView, 2);
    layout->addLayout(homog);
    layout->addWidget(titleLabel(tr("Isochors of the phase envelope")));
    layout->addWidget(ui.mIsochorsView, 2);
    layout->addLayout(results);
    layout->addLayout(buttons);
}

void PhaseDiagIsochorsPage::windowDidLoad()
{
    ui.mIsochorsView->setDeletable(true);
}

void PhaseDiagIsochorsPage::refresh(bool attached)
{
    setControlsEnabled({ui.mIsoplethsView1, ui.mInclusionsView, ui.mIsochorsView, ui.mThEdit, ui.mLiquidRadio,
                        ui.mGasRadio, ui.mIsochorCalcButton, ui.mPhEdit, ui.mDensityEdit, ui.mAPIEdit, ui.mGOREdit,
                        ui.mWriteLogButton, ui.mIsochorDeleteButton},
                       attached);
    ui.mIsoplethsView1->reloadData();
    refreshInclusionsList();
    ui.mIsochorsView->reloadData();
}

void PhaseDiagIsochorsPage::documentDetached()
{
    mSelectedPhaseDiagram.reset();
    // The page lets go of the diagram it had chosen, and disables its controls.
    deselectAll(ui.mIsoplethsView1);
}

void PhaseDiagIsochorsPage::dropGoneDiagram()
{
    const PhaseDiagramPtr chosen = selectedPhaseDiagram();
    if (!chosen)
        return;
    const auto& held = mHost.diagrams();
    if (std::find(held.begin(), held.end(), chosen) != held.end())
        return;
    mSelectedPhaseDiagram.reset();
    deselectAll(ui.mIsoplethsView1);
}

IsochorPtr PhaseDiagIsochorsPage::monophasicIsochorAt(int row) const
{
    const PhaseDiagramPtr chosen = selectedPhaseDiagram();
    if (!chosen || row < 0 || row >= int(chosen->monophasicIsochors().size()))
        return nullptr;
    return chosen->monophasicIsochors()[row];
}

int PhaseDiagIsochorsPage::rowOfMonophasicIsochor(const IsochorPtr& isochor) const
{
    const PhaseDiagramPtr chosen = selectedPhaseDiagram();
    if (!chosen || !isochor)
        return -1;
    const auto& list = chosen->monophasicIsochors();
    const auto found = std::find(list.begin(), list.end(), isochor);
    return found != list.end() ? int(found - list.begin()) : -1;
}

void PhaseDiagIsochorsPage::setHomogRadios(Homogenisation homog)
{
    const bool toLiquid = homog == Homogenisation::toLiquid;
    ui.mLiquidRadio->setChecked(toLiquid);
    ui.mGasRadio->setChecked(!toLiquid);
}

Homogenisation PhaseDiagIsochorsPage::checkedHomogenisation() const
{
    return homogenisationFromFlag(ui.mLiquidRadio->isChecked());
}

void PhaseDiagIsochorsPage::showDiagramStockTank(const PhaseDiagramPtr& diagram)
{
    setDoubleValue2(*ui.mAPIEdit, diagram->API());
    setDoubleValue2(*ui.mGOREdit, diagram->GOR());
}

void PhaseDiagIsochorsPage::refreshInclusionsList()
{
    mInclusionsArray.clear();
    if (!mHost.document()) {
        ui.mInclusionsView->setEnabled(false);
        mInclusionsArray.append(kNoPhaseDiagram);
    } else {
        mInclusionsArray.append(kNewInclusion);
        if (const PhaseDiagramPtr chosen = selectedPhaseDiagram()) {
            const Value stored = chosen->thermoModel().value(fluidkey::inclusion);
            if (!stored.isNull())
                mInclusionsArray.append(stored);
        }
        appendOpenOilInclusions(mInclusionsArray);
    }
    ui.mInclusionsView->reloadData();
}

void PhaseDiagIsochorsPage::onSelectIsopleth()
{
    mHost.hiliteOff();
    const PhaseDiagramPtr diagram = mHost.diagramAt(ui.mIsoplethsView1->selectedRow());
    if (!diagram) {
        mSelectedPhaseDiagram.reset();
        for (QLineEdit* field : {ui.mDensityEdit, ui.mAPIEdit, ui.mGOREdit})
            field->clear();
        setControlsEnabled({ui.mThEdit, ui.mIsochorCalcButton, ui.mLiquidRadio, ui.mGasRadio}, false);
        ui.mIsochorsView->reloadData();
        return;
    }
    mSelectedPhaseDiagram = diagram;
    ui.mInclusionsView->setEnabled(true);
    ui.mIsochorsView->setEnabled(true);
    ui.mIsochorsView->reloadData();
    if (diagram->monophasicIsochors().empty()) {
        selectRow(ui.mInclusionsView, 0);
        deselectAll(ui.mIsochorsView);
        const IsoplethPtr branch = diagram->liquidIsopleth() ? diagram->liquidIsopleth() : diagram->vapourIsopleth();
        CPlotView* view = mHost.plotView();
        if (branch && view) {
            view->setSelectedObject(branch->graphCurve().get());
            if (!branch->points().empty()) {
                const IsoplethPointPtr& middle = branch->points()[branch->points().size() / 2];
                view->setSelectedPointX(float(middle->T()));
                view->setSelectedPointY(float(middle->P()));
            }
            view->showSelectionPoint(true);
        }
        ui.mDensityEdit->clear();
        mHost.hiliteTheIsopleths(diagram);
    } else {
        deselectAll(ui.mInclusionsView);
        selectRow(ui.mIsochorsView, 0);
    }
    showDiagramStockTank(diagram);
    refreshInclusionsList();
}

void PhaseDiagIsochorsPage::onSelectInclusion()
{
    const int row = ui.mInclusionsView->selectedRow();
    const bool diagramChosen = selectedPhaseDiagram() != nullptr;
    if (row < 0) {
        setControlsEnabled({ui.mThEdit, ui.mLiquidRadio, ui.mGasRadio, ui.mIsochorCalcButton}, false);
        return;
    }
    if (row == 0) {
        setDoubleValue2(*ui.mThEdit, kNewInclusionTh);
        setControlsEnabled({ui.mThEdit, ui.mLiquidRadio, ui.mGasRadio}, true);
        ui.mThEdit->setReadOnly(false);
        setHomogRadios(Homogenisation::toLiquid);
        ui.mIsochorCalcButton->setEnabled(diagramChosen);
        return;
    }
    const Dictionary inclusion = mInclusionsArray.at(row).toDictionary();
    ui.mThEdit->setText(inclusion.stringValue(inclusionkey::Th));
    setHomogRadios(homogenisationOf(inclusion));
    ui.mThEdit->setReadOnly(true);
    ui.mLiquidRadio->setEnabled(false);
    ui.mGasRadio->setEnabled(false);
    ui.mIsochorCalcButton->setEnabled(diagramChosen);
}

void PhaseDiagIsochorsPage::onSetLiquidHomog(QObject* sender)
{
    ui.mGasRadio->setChecked(false);
    onThChanged(sender);
}

void PhaseDiagIsochorsPage::onSetVapourHomog(QObject* sender)
{
    ui.mLiquidRadio->setChecked(false);
    onThChanged(sender);
}

void PhaseDiagIsochorsPage::onThChanged(QObject*)
{
    const PhaseDiagramPtr chosen = selectedPhaseDiagram();
    if (!chosen)
        return;
    const float Th = float(fieldDouble(ui.mThEdit));
    const Homogenisation homog = checkedHomogenisation();
    CPlotView* view = mHost.plotView();
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
        mHost.hiliteOff();
        mHost.hiliteTheIsochors(twoPhase, onePhase);
        // A two-phase isochore without its one-phase twin has no row: the list stays as it is.
        selectRow(ui.mIsochorsView, rowOfMonophasicIsochor(onePhase));
        if (twoPhase)
            setDoubleValue2(*ui.mDensityEdit, twoPhase->bulkDensity1());
        ui.mIsochorCalcButton->setEnabled(false);
        ui.mWriteLogButton->setEnabled(true);
    } else {
        ui.mIsochorCalcButton->setEnabled(true);
        ui.mWriteLogButton->setEnabled(false);
    }
    mHost.redrawPlot();
}

void PhaseDiagIsochorsPage::onSelectIsochor()
{
    mHost.hiliteOff();
    const IsochorPtr isochor = monophasicIsochorAt(ui.mIsochorsView->selectedRow());
    if (!isochor) {
        setControlsEnabled({ui.mWriteLogButton, ui.mIsochorDeleteButton, ui.mThEdit, ui.mLiquidRadio, ui.mGasRadio},
                           false);
        for (QLineEdit* field : {ui.mPhEdit, ui.mDensityEdit, ui.mThEdit})
            field->clear();
        ui.mLiquidRadio->setChecked(false);
        ui.mGasRadio->setChecked(false);
        return;
    }
    const IsochorPtr sister = isochor->sister();
    // A pair shares Th, Ph and type; without the twin the isochore's own values are shown.
    const IsochorPtr shown = sister ? sister : isochor;
    setDoubleValue2(*ui.mDensityEdit, isochor->bulkDensity1());
    setControlsEnabled({ui.mThEdit, ui.mPhEdit, ui.mLiquidRadio, ui.mGasRadio}, true);
    setDoubleValue2(*ui.mThEdit, shown->Th());
    setDoubleValue2(*ui.mPhEdit, shown->Ph());
    setHomogRadios(shown->homog());
    mHost.hiliteTheIsopleths(isochor->phaseDiagram());
    mHost.hiliteTheIsochors(isochor, sister);
    if (CPlotView* view = mHost.plotView())
        view->setSelectedObject(isochor->graphCurve().get());
    ui.mWriteLogButton->setEnabled(true);
    ui.mIsochorDeleteButton->setEnabled(true);
}

void PhaseDiagIsochorsPage::onCalculateIsochor(QObject*)
{
    const PhaseDiagramPtr chosen = selectedPhaseDiagram();
    CPhaseDiagDocument* document = mHost.document();
    if (!chosen || !document)
        return;
    const float Th = float(fieldDouble(ui.mThEdit));
    const Homogenisation homog = checkedHomogenisation();
    float x = 0, referenceP = 0;
    if (CPlotView* view = mHost.plotView())
        view->getSelectedPoint(x, referenceP);
    const int row = ui.mInclusionsView->selectedRow();
    std::optional<InclusionRecord> inclusion;
    if (row > 0)
        inclusion = mInclusionsArray.at(row).toDictionary();
    IsochorPtr made;
    document->calculateIsochor(chosen, inclusion, double(Th), homog, &made, double(referenceP));
    mHost.updatePanel();
}

void PhaseDiagIsochorsPage::onDeleteIsochor(QObject*)
{
    const IsochorPtr isochor = monophasicIsochorAt(ui.mIsochorsView->selectedRow());
    if (!isochor || !mHost.document())
        return;
    mHost.document()->deleteIsochor(isochor);
    mHost.updatePanel();
    mHost.redrawPlot();
}

void PhaseDiagIsochorsPage::onWriteLogButton(QObject*) {}

void PhaseDiagIsochorsPage::tableViewDeleteSelectedRow(MyTableView* view)
{
    if (view == ui.mIsochorsView)
        onDeleteIsochor(this);
}

// ---- A click in the plot ----

void PhaseDiagIsochorsPage::takePlotSelection(const PlotClick& click)
{
    const PhaseDiagramPtr diagram = click.diagram();
    if (click.kind == PlotClickKind::Point) {
        if (mHost.rowOfDiagram(diagram) < 0)
            return;  // a marker standing for no diagram of the document
        selectRow(ui.mIsoplethsView1, mHost.rowOfDiagram(diagram));
        mHost.hiliteTheIsopleths(diagram);
        selectRow(ui.mInclusionsView, 0, true);
        setControlsEnabled({ui.mInclusionsView, ui.mThEdit, ui.mLiquidRadio, ui.mGasRadio}, true);
        setDoubleValue2(*ui.mThEdit, click.X);
        setHomogRadios(Homogenisation::toLiquid);
        ui.mIsochorCalcButton->setEnabled(true);
        ui.mWriteLogButton->setEnabled(false);
        ui.mDensityEdit->clear();
        showDiagramStockTank(diagram);
        return;
    }
    if (click.kind == PlotClickKind::Nothing) {
        clearPlotSelection();
        return;
    }
    if (mHost.rowOfDiagram(diagram) < 0)
        return;
    IsochorPtr isochor;
    if (click.kind == PlotClickKind::Isopleth)
        isochor = diagram->getMonophasicIsochorOfTh(click.X);
    else if (click.kind == PlotClickKind::Isochor)
        isochor = std::static_pointer_cast<CIsochor>(click.record);
    else if (click.kind == PlotClickKind::TrappingLine)
        isochor = std::static_pointer_cast<CTrappingLine>(click.record)->isochor();
    selectRow(ui.mIsoplethsView1, mHost.rowOfDiagram(diagram));
    showDiagramStockTank(diagram);
    setControlsEnabled({ui.mInclusionsView, ui.mThEdit, ui.mLiquidRadio, ui.mGasRadio}, true);
    if (isochor) {
        showClickedIsochor(diagram, isochor);
        return;
    }
    // An isopleth clicked where no isochore has that Th: a new inclusion at the clicked Th.
    selectRow(ui.mInclusionsView, 0, true);
    deselectAll(ui.mIsochorsView);
    setControlsEnabled({ui.mThEdit, ui.mLiquidRadio, ui.mGasRadio}, true);
    ui.mThEdit->setReadOnly(false);
    setDoubleValue2(*ui.mThEdit, click.X);
    if (click.kind == PlotClickKind::Isopleth)
        setHomogRadios(std::static_pointer_cast<CIsopleth>(click.record)->homog());
    ui.mDensityEdit->clear();
    ui.mIsochorCalcButton->setEnabled(true);
    ui.mWriteLogButton->setEnabled(false);
    ui.mIsochorDeleteButton->setEnabled(false);
    mHost.hiliteTheIsopleths(diagram);
}

void PhaseDiagIsochorsPage::clearPlotSelection()
{
    deselectAll(ui.mInclusionsView);
    deselectAll(ui.mIsochorsView);
    setControlsEnabled({ui.mThEdit, ui.mPhEdit, ui.mLiquidRadio, ui.mGasRadio, ui.mIsochorCalcButton,
                        ui.mWriteLogButton, ui.mIsochorDeleteButton},
                       false);
    for (QLineEdit* field : {ui.mThEdit, ui.mPhEdit, ui.mDensityEdit, ui.mAPIEdit, ui.mGOREdit})
        field->clear();
    setHomogRadios(Homogenisation::toLiquid);
}

void PhaseDiagIsochorsPage::showClickedIsochor(const PhaseDiagramPtr& diagram, const IsochorPtr& isochor)
{
    const IsochorPtr sister = isochor->sister();
    // The list shows one-phase isochores: a two-phase one is found by its twin, if any.
    selectRow(ui.mIsochorsView, rowOfMonophasicIsochor(isochor->isBiphasic() ? sister : isochor));
    ui.mWriteLogButton->setEnabled(true);
    ui.mIsochorDeleteButton->setEnabled(true);
    ui.mIsochorCalcButton->setEnabled(false);
    mHost.hiliteTheIsopleths(diagram);
    mHost.hiliteTheIsochors(isochor, sister);
    ui.mThEdit->setReadOnly(true);
    setDoubleValue2(*ui.mThEdit, isochor->Th());
    const bool toLiquid = isochor->homog() == Homogenisation::toLiquid;
    setDoubleValue2(*ui.mDensityEdit, toLiquid ? isochor->bulkDensity1() : isochor->bulkDensity0());
    setHomogRadios(isochor->homog());
    setDoubleValue2(*ui.mPhEdit, isochor->Ph());
    deselectAll(ui.mInclusionsView);
}

}  // namespace quorvel
