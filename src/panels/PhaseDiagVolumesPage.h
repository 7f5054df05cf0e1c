#pragma once
// The volumes page of the phase-diagram panel: measured bubble volumes of inclusions and the
// computed bubble fraction along isochores, temperature across, bubble percent up.

#include "panels/PhaseDiagPage.h"

namespace quorvel {

class PhaseDiagVolumesPage : public PhaseDiagPage
{
    Q_OBJECT

public:
    PhaseDiagVolumesPage(PhaseDiagPageHost& host, const QString& identifier);

    void refresh(bool attached) override;
    void takePlotSelection(const PlotClick& click) override;
    void windowDidLoad() override;
    // The list of the document's isochores reads them again.
    void reloadIsochors();

    void refreshInclusions2();
    void onSelectInclusion2();
    void onSelectIsochor2();

    struct Controls
    {
        RecordTable *mIsochorsView2 = nullptr, *mInclusionsView2 = nullptr;
        CPlotView* mVolumePlotView = nullptr;
    };
    const Controls& controls() const { return ui; }

private:
    Controls ui;
    Array mInclusionsArray2;
};

}  // namespace quorvel
