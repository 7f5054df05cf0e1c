#include "panels/InstalledPanels.h"

#include "app/Ports.h"

namespace quorvel {

namespace {

class InstalledPanels final : public InspectorPanels
{
public:
    void showAlphaBetaPanel(QObject*) override {}
    bool isAlphaBetaPanelVisible() const override { return false; }
    int alphaBetaSelectedPage() const override { return 0; }
    void selectAlphaBetaPage(int) override {}

    void showPhaseDiagPanel(QObject*) override {}
    bool isPhaseDiagPanelVisible() const override { return false; }
    int phaseDiagSelectedPage() const override { return 0; }
    void selectPhaseDiagPage(int) override {}
    void showAqueousHomogLine(const Value&, double) override {}

    QString askCurveName(const QString& proposedName) override { return proposedName; }

    void showFluidPropertiesPanel(QObject*) override {}
};

}  // namespace

void installInspectorPanels()
{
    static InstalledPanels panels;
    InspectorPanels::install(&panels);
}

}  // namespace quorvel
