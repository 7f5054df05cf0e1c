#include "app/Ports.h"

#include "platform/WindowController.h"

namespace quorvel {

namespace {

// Until the panels exist: nothing shown, every panel hidden (the alpha-beta one on its first
// page, the phase-diagram one windowless), names kept as proposed.
class AbsentPanels final : public InspectorPanels
{
public:
    void showAlphaBetaPanel(QObject*) override {}
    bool isAlphaBetaPanelVisible() const override { return false; }
    AlphaBetaPanelPage alphaBetaSelectedPage() const override { return AlphaBetaPanelPage::Curves; }
    void selectAlphaBetaPage(AlphaBetaPanelPage) override {}
    void showPhaseDiagPanel(QObject*) override {}
    bool isPhaseDiagPanelVisible() const override { return false; }
    std::optional<PhaseDiagPanelPage> phaseDiagSelectedPage() const override { return std::nullopt; }
    void selectPhaseDiagPage(PhaseDiagPanelPage) override {}
    void showAqueousHomogLine(const Value&, double) override {}
    QString askCurveName(const QString& proposedName) override { return proposedName; }
    void showFluidPropertiesPanel(QObject*) override {}
};

AbsentPanels gAbsentPanels;
InspectorPanels* gPanels = nullptr;
FluidModelEditorFactory* gEditorFactory = nullptr;

}  // namespace

InspectorPanels& InspectorPanels::current()
{
    return gPanels ? *gPanels : gAbsentPanels;
}

void InspectorPanels::install(InspectorPanels* panels)
{
    gPanels = panels;
}

FluidModelEditorFactory* FluidModelEditorFactory::current()
{
    return gEditorFactory;
}

void FluidModelEditorFactory::install(FluidModelEditorFactory* factory)
{
    gEditorFactory = factory;
}

}  // namespace quorvel
