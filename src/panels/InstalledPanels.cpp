#include "panels/InstalledPanels.h"

#include "app/Ports.h"
#include "panels/CPhaseDiagPanel.h"

namespace quorvel {

namespace {

CPhaseDiagPanel* phaseDiagPanel()
{
    return CPhaseDiagPanel::sharedPhaseDiagPanelCtroller();
}

class InstalledPanels final : public InspectorPanels
{
public:
    void showAlphaBetaPanel(QObject*) override {}
    bool isAlphaBetaPanelVisible() const override { return false; }
    int alphaBetaSelectedPage() const override { return 0; }
    void selectAlphaBetaPage(int) override {}

    void showPhaseDiagPanel(QObject*) override { phaseDiagPanel()->showWindow(); }
    bool isPhaseDiagPanelVisible() const override { return phaseDiagPanel()->isWindowVisible(); }
    int phaseDiagSelectedPage() const override { return phaseDiagPanel()->getSelectedPage(); }
    void selectPhaseDiagPage(int index) override { phaseDiagPanel()->selectTabViewIndex(index); }
    void showAqueousHomogLine(const Value& isochore, double temperature) override
    {
        phaseDiagPanel()->showAqueousHomogLine(isochore.toObject<CIsochor>(), temperature);
    }

    QString askCurveName(const QString& proposedName) override { return proposedName; }

    void showFluidPropertiesPanel(QObject*) override {}
};

}  // namespace

void installInspectorPanels()
{
    static InstalledPanels panels;
    InspectorPanels::install(&panels);
    // The panels observe from launch on; their windows load when first shown.
    phaseDiagPanel();
}

}  // namespace quorvel
