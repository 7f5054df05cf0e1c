#pragma once
// Shared pieces of the phase-diagram panel tests: an envelope made by hand, a scripted
// envelope and isochore calculator, and a fixture with a document controller, a panel and
// the way to make a document's window the main window.

#include "app/support/AppTestSupport.h"
#include "app/support/PhaseDiagramRecords.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CFluidModelDataDocument.h"
#include "app/CInclusionDataDocument.h"
#include "app/CPhaseDiagDocument.h"
#include "app/CPhaseDiagWindow.h"
#include "app/DocumentTypes.h"
#include "app/PhaseDiagramCalculator.h"
#include "panels/CPhaseDiagPanel.h"
#include "panels/PanelPages.h"
#include "panels/PhaseDiagIsochorsPage.h"
#include "panels/PhaseDiagIsoplethsPage.h"
#include "panels/PhaseDiagSummaryPage.h"
#include "panels/PhaseDiagTrappingPage.h"
#include "panels/PhaseDiagVolumesPage.h"
#include "plot/CPlotView.h"

#include <QLineEdit>
#include <QTableView>

namespace quorvel::test {

// An envelope whose liquid branch rises from (50, 100) to (200, 210) and whose vapour
// branch falls back from (250, 50).
inline PhaseDiagramPtr envelopeOf(const Dictionary& fluid)
{
    auto made = std::make_shared<CPhaseDiagram>();
    made->setName(fluid.stringValue("name"));
    made->setThermoModel(fluid);
    IsoplethPtr liquid = branch(kToLiquid, {{50, 100}, {100, 150}, {150, 190}, {175, 200}, {200, 210}});
    IsoplethPtr vapour = branch(kToVapour, {{250, 50}, {230, 120}, {210, 180}, {200.5, 210}});
    for (const IsoplethPtr& part : {liquid, vapour})
        part->setPhaseDiagram(made);
    made->setLiquidIsopleth(liquid);
    made->setVapourIsopleth(vapour);
    made->setAPI(35.5);
    made->setGOR(120.25);
    return made;
}

// The envelope and isochore calculations: the envelope of any fluid is envelopeOf(fluid);
// isochores are made as addIsochorPair makes them. Each call is recorded.
struct CalculatorScript
{
    struct Call
    {
        Dictionary fluid;
        double Th = 0, Ph = 0;
        std::optional<Homogenisation> homog;  // none for an envelope
        QString inclusion;
    };
    QList<Call> envelopes;
    QList<Call> isochores;
    bool failEnvelope = false;
};

class ScriptedCalculator : public PhaseDiagramCalculator
{
public:
    explicit ScriptedCalculator(CalculatorScript& script) : script(script) {}

    EnvelopeTrace calculateImmiscibilityLoop(const FluidRecord& fluid, PhaseDiagramPtr* made) override
    {
        script.envelopes.append({fluid, 0, 0, std::nullopt, QString()});
        if (!script.failEnvelope)
            *made = envelopeOf(fluid.deepCopy());
        return {step_code::end_of_curve};
    }
    isochor_result calculateIsochors(const PhaseDiagramPtr& on, const InclusionRecord* inclusion, double Th, double Ph,
                          Homogenisation homog, IsochorPtr* monophasic, IsochorPtr* biphasic) override
    {
        script.isochores.append({Dictionary(), Th, Ph, homog, inclusion ? inclusion->stringValue("name") : QString()});
        auto [twoPhase, onePhase] = addIsochorPair(on, Th, Ph > 0 ? Ph : 160, homog, "made");
        *monophasic = onePhase;
        *biphasic = twoPhase;
        return isochor_result::both_made;
    }

private:
    CalculatorScript& script;
};

struct ScriptedCalculatorInstalled
{
    CalculatorScript script;
    ScriptedCalculatorInstalled()
    {
        PhaseDiagramCalculator::setFactory([this](FluidType, EquationOfState) { return std::make_unique<ScriptedCalculator>(script); });
    }
    ~ScriptedCalculatorInstalled() { PhaseDiagramCalculator::setFactory(nullptr); }
};

struct PanelFixture : AppFixture
{
    CPhaseDiagPanel panel;
    // The pages and their controls.
    PhaseDiagIsoplethsPage& isopleths = panel.isoplethsPage();
    PhaseDiagIsochorsPage& isochors = panel.isochorsPage();
    PhaseDiagVolumesPage& volumes = panel.volumesPage();
    PhaseDiagTrappingPage& trapping = panel.trappingPage();
    PhaseDiagAqueousPage& aqueous = panel.aqueousPage();
    PhaseDiagSummaryPage& summary = panel.summaryPage();
    const PhaseDiagIsoplethsPage::Controls& isoplethsUi = isopleths.controls();
    const PhaseDiagIsochorsPage::Controls& isochorsUi = isochors.controls();
    const PhaseDiagVolumesPage::Controls& volumesUi = volumes.controls();
    const PhaseDiagTrappingPage::Controls& trappingUi = trapping.controls();
    const PhaseDiagAqueousPage::Controls& aqueousUi = aqueous.controls();
    const PhaseDiagSummaryPage::Controls& summaryUi = summary.controls();

    PanelFixture() { panel.showWindow(); }
    ~PanelFixture()
    {
        // Documents go before the panel's checks of them end.
        for (Document* document : controller->documents())
            document->updateChangeCount(Document::ChangeCleared);
    }

    CPhaseDiagDocument* phaseDiagDocument()
    {
        return shownDocumentOfType<CPhaseDiagDocument>(DocumentTypes::PhaseDiagram);
    }
    template <class Kind>
    Kind* listedDocument(const QString& type)
    {
        std::unique_ptr<Document> made = controller->makeUntitledDocumentOfType(type);
        auto* document = dynamic_cast<Kind*>(made.get());
        controller->addDocument(std::move(made));
        return document;
    }
    static QWidget* windowOf(Document& document) { return document.windowControllers().front()->window(); }
    static void makeMain(Document& document)
    {
        NotificationCenter::defaultCenter().postNotification(WindowDidBecomeMainNotification, windowOf(document));
    }
    // A document holding one envelope with isochores at Th 120 (liquid) and 60 (vapour), attached.
    CPhaseDiagDocument* attachedDocumentWithIsochores()
    {
        CPhaseDiagDocument* document = phaseDiagDocument();
        const PhaseDiagramPtr diagram = envelopeOf(alphaBetaFluid("Fluid A"));
        addIsochorPair(diagram, 120, 190, kToLiquid, "Q-120");
        addIsochorPair(diagram, 60, 110, kToVapour, "Q-60");
        document->phaseDiagrams().push_back(diagram);
        document->plotData();
        makeMain(*document);
        return document;
    }
    void showPage(const QString& identifier)
    {
        for (int i = 0; i < panel.tabView().count(); ++i)
            if (panel.tabView().widget(i)->objectName() == identifier)
                panel.tabView().setCurrentIndex(i);
    }
    // A click in the plot that selected the object (none: nothing) at (x, y).
    void clickPlot(CGraphObject* object, float x = 0, float y = 0)
    {
        CPlotView* view = panel.document()->plotView();
        view->setSelectedObject(object);
        view->setSelectedPointX(x);
        view->setSelectedPointY(y);
        NotificationCenter::defaultCenter().postNotification(PTPlotSelection, view);
    }
};

inline int selectedRow(const QTableView* view)
{
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

inline QList<int> selectedRows(const QTableView* view)
{
    QList<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

inline QString cell(const QTableView* view, int row, int column = 0)
{
    return view->model()->index(row, column).data().toString();
}

inline void selectListRow(QTableView* view, int row)
{
    view->selectionModel()->setCurrentIndex(view->model()->index(row, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

}  // namespace quorvel::test
