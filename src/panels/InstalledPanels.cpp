#include "panels/InstalledPanels.h"

#include "panels/CAlphaBetaCurveNamePanel.h"
#include "panels/CAlphaBetaPanel.h"
#include "panels/CFluidPropertiesPanel.h"

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
    void showAlphaBetaPanel(QObject*) override { CAlphaBetaPanel::sharedAlphaBetaPanelCtroller()->showWindow(); }
    bool isAlphaBetaPanelVisible() const override
    {
        return CAlphaBetaPanel::sharedAlphaBetaPanelCtroller()->isWindowVisible();
    }
    AlphaBetaPanelPage alphaBetaSelectedPage() const override
    {
        return CAlphaBetaPanel::sharedAlphaBetaPanelCtroller()->getSelectedPage();
    }
    void selectAlphaBetaPage(AlphaBetaPanelPage page) override
    {
        CAlphaBetaPanel::sharedAlphaBetaPanelCtroller()->selectTabViewIndex(page);
    }

    void showPhaseDiagPanel(QObject*) override { phaseDiagPanel()->showWindow(); }
    bool isPhaseDiagPanelVisible() const override { return phaseDiagPanel()->isWindowVisible(); }
    std::optional<PhaseDiagPanelPage> phaseDiagSelectedPage() const override
    {
        return phaseDiagPanel()->getSelectedPage();
    }
    void selectPhaseDiagPage(PhaseDiagPanelPage page) override { phaseDiagPanel()->selectTabViewIndex(page); }
    void showAqueousHomogLine(const Value& isochore, double temperature) override
    {
        phaseDiagPanel()->showAqueousHomogLine(isochore.toObject<CIsochor>(), temperature);
    }

    QString askCurveName(const QString& proposedName) override
    {
        CAlphaBetaCurveNamePanel* prompt = CAlphaBetaCurveNamePanel::sharedAlphaBetaCurveNameCtroller();
        prompt->setCurveName(proposedName);
        prompt->doModal();
        return prompt->getCurveName();
    }

    void showFluidPropertiesPanel(QObject*) override
    {
        CFluidPropertiesPanel::sharedFluidPropertiesPanel()->showWindow();
    }
};

}  // namespace

void installInspectorPanels()
{
    static InstalledPanels panels;
    InspectorPanels::install(&panels);
    // Made at launch: they follow the documents before they are first shown.
    CAlphaBetaPanel::sharedAlphaBetaPanelCtroller();
    CFluidPropertiesPanel::sharedFluidPropertiesPanel();
    phaseDiagPanel();
}

}  // namespace quorvel
