// The trapping page of the phase-diagram panel (the pressure of an isochore at a trapping
// temperature, the temporary aqueous homogenisation line, stored trapping lines) and the
// aqueous page, whose controls have no function.

#include "panels/CPhaseDiagPanel.h"

#include "platform/DocumentController.h"
#include "plot/CGraphCurve.h"
#include "plot/CPlotView.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QLineEdit>
#include <QPushButton>

#include <typeinfo>

namespace quorvel {

namespace {

constexpr double kZeroCelsius = 273.15;
const QString kNoPressure = QStringLiteral("0.0");
const QString kNewAqueousIsopleth = QStringLiteral("New Aqueous Isopleth");

bool holds(const CPhaseDiagDocument& document, const IsochorPtr& isochor)
{
    for (const PhaseDiagramPtr& diagram : document.phaseDiagrams())
        for (const auto* list : {&diagram->monophasicIsochors(), &diagram->biphasicIsochors()})
            if (std::find(list->begin(), list->end(), isochor) != list->end())
                return true;
    return false;
}

}  // namespace

void CPhaseDiagPanel::refreshTrappingsList()
{
    mTrappingsArray.clear();
    mTrappingsView->setEnabled(mDocument != nullptr);
    for (const PhaseDiagramPtr& diagram : diagrams())
        for (const IsochorPtr& isochor : diagram->monophasicIsochors())
            for (const TrappingLinePtr& line : isochor->trappingLines())
                mTrappingsArray.push_back(line);
    reload(mTrappingsView);
}

CPhaseDiagDocument* CPhaseDiagPanel::documentHolding(const IsochorPtr& isochor) const
{
    if (!isochor)
        return nullptr;
    if (DocumentController* controller = DocumentController::sharedDocumentController())
        for (Document* document : controller->documents())
            if (auto* diagrams = qobject_cast<CPhaseDiagDocument*>(document); diagrams && holds(*diagrams, isochor))
                return diagrams;
    return nullptr;
}

void CPhaseDiagPanel::showAqueousHomogLine(const IsochorPtr& isochor, double T)
{
    window();
    // A command from the plot of another phase-diagram document works on that document.
    if (CPhaseDiagDocument* owner = documentHolding(isochor); owner && owner != mDocument) {
        QWidget* ownWindow = nullptr;
        if (!owner->windowControllers().empty() && owner->windowControllers().front()->isWindowLoaded())
            ownWindow = owner->windowControllers().front()->window();
        attach(owner, ownWindow);
    }
    if (!isochor || isochor->Th() > T || !mDocument || !holds(*mDocument, isochor)) {
        if (mDocument)
            mDocument->hideTemporaryAqueousHomogLine();
        mPtrapEdit->setText(kNoPressure);
        return;
    }
    setDoubleValue2(*mThAqEdit, T);
    mThAqStepper->setValue(T);
    const double P = isochor->calculateTrappingPressure(T + kZeroCelsius);
    setDoubleValue2(*mPtrapEdit, P);
    mDocument->setTemporaryAqueousHomogLine(T, P);
    mSetTrappingButton->setEnabled(P != 0);
}

void CPhaseDiagPanel::onSelectIsochor1()
{
    const int row = mIsochorsView1->selectedRow();
    const IsochorPtr isochor = row >= 0 && row < int(mIsochorsArray.size()) ? mIsochorsArray[row] : nullptr;
    if (!isochor) {
        for (QWidget* control : std::initializer_list<QWidget*>{mThAqEdit, mThAqStepper, mSetTrappingButton})
            control->setEnabled(false);
        mPtrapEdit->clear();
    } else {
        const IsochorPtr sister = isochor->sister();
        const double Th = sister ? sister->Th() : isochor->Th();
        hiliteOff();
        hiliteTheIsochors(sister, isochor);
        mThAqStepper->setMinimum(Th);
        for (QWidget* control :
             std::initializer_list<QWidget*>{mThAqEdit, mThAqStepper, mSetTrappingButton, mPtrapEdit})
            control->setEnabled(true);
        showAqueousHomogLine(isochor, Th);
        deselectAll(mTrappingsView);
        if (CPlotView* view = plotView())
            view->setSelectedObject(isochor->graphCurve().get());
    }
    if (CPlotView* view = plotView())
        view->updateColorPanel();
}

void CPhaseDiagPanel::onSpinTrapTemp(QObject*)
{
    const int row = mIsochorsView1->selectedRow();
    if (row < 0 || row >= int(mIsochorsArray.size()))
        return;
    const IsochorPtr& isochor = mIsochorsArray[row];
    const double T = mThAqStepper->value();
    if (T >= isochor->Th())
        showAqueousHomogLine(isochor, T);
    deselectAll(mTrappingsView);
}

void CPhaseDiagPanel::onChangeTrapTemp(QObject*)
{
    const int row = mIsochorsView1->selectedRow();
    if (row < 0 || row >= int(mIsochorsArray.size()))
        return;
    const IsochorPtr isochor = mIsochorsArray[row];
    // A trapping temperature below the homogenisation temperature is raised to it.
    const double T = std::max(fieldDouble(mThAqEdit), isochor->Th());
    showAqueousHomogLine(isochor, T);
    mThAqStepper->setValue(T);
    deselectAll(mTrappingsView);
}

void CPhaseDiagPanel::onSetTrappingLine(QObject*)
{
    const int row = mIsochorsView1->selectedRow();
    if (row < 0 || row >= int(mIsochorsArray.size()) || !mDocument)
        return;
    mDocument->addTrappingLineTo(mIsochorsArray[row], fieldDouble(mThAqEdit));
    selectRow(mIsochorsView1, row, true);
    for (QWidget* control : std::initializer_list<QWidget*>{mSetTrappingButton, mThAqEdit, mThAqStepper})
        control->setEnabled(true);
}

void CPhaseDiagPanel::onSelectTrapping()
{
    const int row = mTrappingsView->selectedRow();
    if (row < 0 || row >= int(mTrappingsArray.size()))
        return;
    const TrappingLinePtr& line = mTrappingsArray[row];
    setDoubleValue2(*mThAqEdit, line->Th());
    setDoubleValue2(*mPtrapEdit, line->Ptrap());
    mSetTrappingButton->setEnabled(false);
    for (QWidget* control : std::initializer_list<QWidget*>{mWriteLogButton1, mTrapLineDeleteButton, mPtrapEdit})
        control->setEnabled(true);
    if (mDocument)
        mDocument->hideTemporaryAqueousHomogLine();
    if (CPlotView* view = plotView())
        view->hilite(line->graphCurve().get());
}

void CPhaseDiagPanel::onDeleteTrapping(QObject*)
{
    const int row = mTrappingsView->selectedRow();
    if (row < 0 || row >= int(mTrappingsArray.size()) || !mDocument)
        return;
    mDocument->removeTrappingLine(mTrappingsArray[row]);
    updatePanel();
}

// ---- The aqueous page: its controls read and change nothing ----

void CPhaseDiagPanel::refreshAqueousList()
{
    mAqueousArray.clear();
    mAqueousView->setEnabled(mDocument != nullptr);
    if (mDocument)
        mAqueousArray.append(kNewAqueousIsopleth);
    reload(mAqueousView);
}

void CPhaseDiagPanel::onSelectAqueousIsopleth() {}
void CPhaseDiagPanel::onCalculateAqueousButton(QObject*) {}
void CPhaseDiagPanel::onDeleteAqueousButton(QObject*) {}
void CPhaseDiagPanel::onLogAqueousButton(QObject*) {}

}  // namespace quorvel
