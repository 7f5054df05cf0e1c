#include "panels/PhaseDiagTrappingPage.h"

#include "panels/FloatingPanel.h"
#include "plot/CGraphCurve.h"
#include "plot/CPlotView.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvel {

namespace {

constexpr double kZeroCelsius = 273.15;
const QString kNoPressure = QStringLiteral("0.0");
const QString kNewAqueousIsopleth = QStringLiteral("New Aqueous Isopleth");
// The trapping temperature's stepper: 1 °C a step, up to the plot's own maximum.
constexpr double kTrapStepperIncrement = 1;
constexpr double kTrapStepperMaximum = 1000;

}  // namespace

PhaseDiagTrappingPage::PhaseDiagTrappingPage(PhaseDiagPageHost& host, const QString& identifier)
    : PhaseDiagPage(host, identifier)
{
    ui.mIsochorsView1 = makeList("mIsochorsView1", {QStringLiteral("name|Isochors")}, isochorsSource(),
                                 [this] { onSelectIsochor1(); });
    ui.mTrappingsView = makeList(
        "mTrappingsView", {QStringLiteral("name|Trapping lines")},
        {[this] { return int(mTrappingsArray.size()); },
         [this](const QString&, int row) { return mHost.document() ? nameCell(mTrappingsArray, row) : Value(); }},
        [this] { onSelectTrapping(); });
    ui.mThAqEdit = makeField("mThAqEdit");
    ui.mThAqStepper = new ValueStepper(mWidget);
    ui.mThAqStepper->setObjectName(QStringLiteral("mThAqStepper"));
    ui.mThAqStepper->setFixedSize(16, 24);
    ui.mPtrapEdit = makeField("mPtrapEdit", true);
    ui.mSetTrappingButton = makeButton(tr("Set trapping line"), "mSetTrappingButton");
    ui.mWriteLogButton1 = makeButton(tr("Log"), "mWriteLogButton1");
    ui.mTrapLineDeleteButton = makeButton(tr("Delete"), "mTrapLineDeleteButton");
    connect(ui.mThAqEdit, &QLineEdit::returnPressed, this, [this] { onChangeTrapTemp(ui.mThAqEdit); });
    connect(ui.mThAqStepper, &ValueStepper::stepped, this, [this] { onSpinTrapTemp(ui.mThAqStepper); });
    connect(ui.mSetTrappingButton, &QPushButton::clicked, this,
            [this] { onSetTrappingLine(ui.mSetTrappingButton); });
    connect(ui.mWriteLogButton1, &QPushButton::clicked, this, [this] { onWriteLogButton1(ui.mWriteLogButton1); });
    connect(ui.mTrapLineDeleteButton, &QPushButton::clicked, this,
            [this] { onDeleteTrapping(ui.mTrapLineDeleteButton); });

    QGridLayout* temperature =
        labelledFields({{tr("Th (Aq.) (°C):"), ui.mThAqEdit}, {tr("P trap (bar):"), ui.mPtrapEdit}}, 1);
    temperature->addWidget(ui.mThAqStepper, 0, 2);
    temperature->addWidget(ui.mSetTrappingButton, 1, 3);
    QHBoxLayout* buttons = buttonRow({ui.mWriteLogButton1}, {ui.mTrapLineDeleteButton});

    auto* layout = new QVBoxLayout(mWidget);
    layout->addWidget(titleLabel(tr("Isochors")));
    layout->addWidget(ui.mIsochorsView1, 3);
    layout->addLayout(temperature);
    layout->addWidget(titleLabel(tr("Trapping lines")));
    layout->addWidget(ui.mTrappingsView, 2);
    layout->addLayout(buttons);
}

void PhaseDiagTrappingPage::windowDidLoad()
{
    ui.mTrappingsView->setDeletable(true);
    ui.mThAqStepper->setIncrement(kTrapStepperIncrement);
    ui.mThAqStepper->setMaximum(kTrapStepperMaximum);
}

void PhaseDiagTrappingPage::refresh(bool attached)
{
    setControlsEnabled({ui.mIsochorsView1, ui.mTrappingsView, ui.mThAqEdit, ui.mThAqStepper, ui.mPtrapEdit,
                        ui.mWriteLogButton1, ui.mSetTrappingButton, ui.mTrapLineDeleteButton},
                       attached);
    mHost.refreshIsochorsList();
    refreshTrappingsList();
}

void PhaseDiagTrappingPage::documentDetached()
{
    mTrappingsArray.clear();
}

void PhaseDiagTrappingPage::reloadIsochors()
{
    ui.mIsochorsView1->reloadData();
}

void PhaseDiagTrappingPage::refreshTrappingsList()
{
    mTrappingsArray.clear();
    ui.mTrappingsView->setEnabled(mHost.document() != nullptr);
    for (const PhaseDiagramPtr& diagram : mHost.diagrams())
        for (const IsochorPtr& isochor : diagram->monophasicIsochors())
            for (const TrappingLinePtr& line : isochor->trappingLines())
                mTrappingsArray.push_back(line);
    ui.mTrappingsView->reloadData();
}

IsochorPtr PhaseDiagTrappingPage::selectedIsochor() const
{
    const int row = ui.mIsochorsView1->selectedRow();
    const std::vector<IsochorPtr>& isochors = mHost.isochors();
    return row >= 0 && row < int(isochors.size()) ? isochors[row] : nullptr;
}

void PhaseDiagTrappingPage::showAqueousHomogLine(const IsochorPtr& isochor, double T)
{
    CPhaseDiagDocument* document = mHost.document();
    if (!isochor || isochor->Th() > T || !document || !holdsIsochor(*document, isochor)) {
        if (document)
            document->hideTemporaryAqueousHomogLine();
        ui.mPtrapEdit->setText(kNoPressure);
        return;
    }
    setDoubleValue2(*ui.mThAqEdit, T);
    ui.mThAqStepper->setValue(T);
    const double P = isochor->calculateTrappingPressure(T + kZeroCelsius);
    setDoubleValue2(*ui.mPtrapEdit, P);
    document->setTemporaryAqueousHomogLine(T, P);
    ui.mSetTrappingButton->setEnabled(P != 0);
}

void PhaseDiagTrappingPage::onSelectIsochor1()
{
    const IsochorPtr isochor = selectedIsochor();
    if (!isochor) {
        setControlsEnabled({ui.mThAqEdit, ui.mThAqStepper, ui.mSetTrappingButton}, false);
        ui.mPtrapEdit->clear();
    } else {
        const IsochorPtr sister = isochor->sister();
        const double Th = sister ? sister->Th() : isochor->Th();
        mHost.hiliteOff();
        mHost.hiliteTheIsochors(sister, isochor);
        ui.mThAqStepper->setMinimum(Th);
        setControlsEnabled({ui.mThAqEdit, ui.mThAqStepper, ui.mSetTrappingButton, ui.mPtrapEdit}, true);
        showAqueousHomogLine(isochor, Th);
        deselectAll(ui.mTrappingsView);
        if (CPlotView* view = mHost.plotView())
            view->setSelectedObject(isochor->graphCurve().get());
    }
    if (CPlotView* view = mHost.plotView())
        view->updateColorPanel();
}

void PhaseDiagTrappingPage::onSpinTrapTemp(QObject*)
{
    const IsochorPtr isochor = selectedIsochor();
    if (!isochor)
        return;
    const double T = ui.mThAqStepper->value();
    if (T >= isochor->Th())
        showAqueousHomogLine(isochor, T);
    deselectAll(ui.mTrappingsView);
}

void PhaseDiagTrappingPage::onChangeTrapTemp(QObject*)
{
    const IsochorPtr isochor = selectedIsochor();
    if (!isochor)
        return;
    // A trapping temperature below the homogenisation temperature is raised to it.
    const double T = std::max(fieldDouble(ui.mThAqEdit), isochor->Th());
    showAqueousHomogLine(isochor, T);
    ui.mThAqStepper->setValue(T);
    deselectAll(ui.mTrappingsView);
}

void PhaseDiagTrappingPage::onSetTrappingLine(QObject*)
{
    const int row = ui.mIsochorsView1->selectedRow();
    const IsochorPtr isochor = selectedIsochor();
    if (!isochor || !mHost.document())
        return;
    mHost.document()->addTrappingLineTo(isochor, fieldDouble(ui.mThAqEdit));
    selectRow(ui.mIsochorsView1, row, true);
    setControlsEnabled({ui.mSetTrappingButton, ui.mThAqEdit, ui.mThAqStepper}, true);
}

void PhaseDiagTrappingPage::showTrappingLine(const TrappingLinePtr& line)
{
    setDoubleValue2(*ui.mThAqEdit, line->Th());
    setDoubleValue2(*ui.mPtrapEdit, line->Ptrap());
    ui.mSetTrappingButton->setEnabled(false);
    setControlsEnabled({ui.mWriteLogButton1, ui.mTrapLineDeleteButton, ui.mPtrapEdit}, true);
}

void PhaseDiagTrappingPage::onSelectTrapping()
{
    const int row = ui.mTrappingsView->selectedRow();
    if (row < 0 || row >= int(mTrappingsArray.size()))
        return;
    const TrappingLinePtr& line = mTrappingsArray[row];
    showTrappingLine(line);
    if (CPhaseDiagDocument* document = mHost.document())
        document->hideTemporaryAqueousHomogLine();
    if (CPlotView* view = mHost.plotView())
        view->hilite(line->graphCurve().get());
}

void PhaseDiagTrappingPage::onDeleteTrapping(QObject*)
{
    const int row = ui.mTrappingsView->selectedRow();
    if (row < 0 || row >= int(mTrappingsArray.size()) || !mHost.document())
        return;
    mHost.document()->removeTrappingLine(mTrappingsArray[row]);
    mHost.updatePanel();
}

void PhaseDiagTrappingPage::onWriteLogButton1(QObject*) {}

void PhaseDiagTrappingPage::tableViewDeleteSelectedRow(MyTableView* view)
{
    if (view == ui.mTrappingsView)
        onDeleteTrapping(this);
}

// ---- A click in the plot ----

void PhaseDiagTrappingPage::takePlotSelection(const PlotClick& click)
{
    if (!click.anythingSelected) {
        deselectAll(ui.mIsochorsView1);
        deselectAll(ui.mTrappingsView);
        setControlsEnabled({ui.mThAqEdit, ui.mThAqStepper, ui.mPtrapEdit, ui.mSetTrappingButton, ui.mWriteLogButton1,
                            ui.mTrapLineDeleteButton},
                           false);
        if (CPhaseDiagDocument* document = mHost.document())
            document->hideTemporaryAqueousHomogLine();
        return;
    }
    if (!click.curveClicked) {
        setDoubleValue2(*ui.mThAqEdit, 0);
        ui.mPtrapEdit->clear();
        ui.mWriteLogButton1->setEnabled(false);
        showAqueousHomogLine(nullptr, 0);
        ui.mSetTrappingButton->setEnabled(true);
        return;
    }
    takeClickOnCurve(click);
}

void PhaseDiagTrappingPage::takeClickOnCurve(const PlotClick& click)
{
    if (click.kind == PlotClickKind::Isochor) {
        const auto isochor = std::static_pointer_cast<CIsochor>(click.record);
        const std::vector<IsochorPtr>& isochors = mHost.isochors();
        const auto found = std::find(isochors.begin(), isochors.end(), isochor);
        // A two-phase isochore has no row here: nothing is chosen for it.
        if (found == isochors.end())
            return;
        const double T = std::max(click.X, isochor->Th());
        selectRow(ui.mIsochorsView1, int(found - isochors.begin()));
        showAqueousHomogLine(isochor, T);
    } else if (click.kind == PlotClickKind::Isopleth) {
        setDoubleValue2(*ui.mThAqEdit, 0);
        ui.mPtrapEdit->clear();
    } else if (click.kind == PlotClickKind::TrappingLine) {
        const auto line = std::static_pointer_cast<CTrappingLine>(click.record);
        const auto found = std::find(mTrappingsArray.begin(), mTrappingsArray.end(), line);
        if (found == mTrappingsArray.end())
            return;
        selectRow(ui.mTrappingsView, int(found - mTrappingsArray.begin()));
        showTrappingLine(line);
        if (CPlotView* view = mHost.plotView())
            view->hilite(line->graphCurve().get());
    }
}

// ---- The aqueous page ----

PhaseDiagAqueousPage::PhaseDiagAqueousPage(PhaseDiagPageHost& host, const QString& identifier)
    : PhaseDiagPage(host, identifier)
{
    ui.mAqueousView = makeList("mAqueousView", {QStringLiteral("name|Aqueous isopleths")},
                               {[] { return 0; }, [](const QString&, int) { return Value(); }},
                               [this] { onSelectAqueousIsopleth(); });
    ui.mCH4MolalityEdit = makeField("mCH4MolalityEdit");
    ui.mNaClMolalityEdit = makeField("mNaClMolalityEdit");
    ui.mTrapAqEdit = makeField("mTrapAqEdit");
    ui.mPtrapAqEdit = makeField("mPtrapAqEdit");
    ui.mAqueousCalcButton = makeButton(tr("Calculate"), "mAqueousCalcButton");
    ui.mAqueousDeleteButton = makeButton(tr("Delete"), "mAqueousDeleteButton");
    ui.mAqueousLogButton = makeButton(tr("Log"), "mAqueousLogButton");
    connect(ui.mAqueousCalcButton, &QPushButton::clicked, this,
            [this] { onCalculateAqueousButton(ui.mAqueousCalcButton); });
    connect(ui.mAqueousDeleteButton, &QPushButton::clicked, this,
            [this] { onDeleteAqueousButton(ui.mAqueousDeleteButton); });
    connect(ui.mAqueousLogButton, &QPushButton::clicked, this, [this] { onLogAqueousButton(ui.mAqueousLogButton); });

    QGridLayout* fields = labelledFields({{tr("CH4 molality:"), ui.mCH4MolalityEdit},
                                          {tr("NaCl molality:"), ui.mNaClMolalityEdit},
                                          {tr("T trap (°C):"), ui.mTrapAqEdit},
                                          {tr("P trap (bar):"), ui.mPtrapAqEdit}},
                                         2);
    QHBoxLayout* buttons = buttonRow({ui.mAqueousLogButton}, {ui.mAqueousDeleteButton, ui.mAqueousCalcButton});

    auto* layout = new QVBoxLayout(mWidget);
    layout->addWidget(titleLabel(tr("Aqueous isopleths")));
    layout->addWidget(ui.mAqueousView, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);
}

void PhaseDiagAqueousPage::refresh(bool attached)
{
    setControlsEnabled({ui.mAqueousView, ui.mCH4MolalityEdit, ui.mNaClMolalityEdit, ui.mTrapAqEdit, ui.mPtrapAqEdit,
                        ui.mAqueousCalcButton, ui.mAqueousDeleteButton, ui.mAqueousLogButton},
                       attached);
}

void PhaseDiagAqueousPage::refreshAqueousList()
{
    mAqueousArray.clear();
    ui.mAqueousView->setEnabled(mHost.document() != nullptr);
    if (mHost.document())
        mAqueousArray.append(kNewAqueousIsopleth);
    ui.mAqueousView->reloadData();
}

void PhaseDiagAqueousPage::onSelectAqueousIsopleth() {}
void PhaseDiagAqueousPage::onCalculateAqueousButton(QObject*) {}
void PhaseDiagAqueousPage::onDeleteAqueousButton(QObject*) {}
void PhaseDiagAqueousPage::onLogAqueousButton(QObject*) {}

}  // namespace quorvel
