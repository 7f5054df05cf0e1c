#pragma once
// The phase-diagram panel: the one floating inspector through which the user works on the
// phase-diagram document whose window is main. It follows the main window, attaches to a
// phase-diagram window's document (its left edge on that window's right edge) and offers
// six pages, each its own class: phase envelopes of fluids ("isopleths"), isochores of
// inclusions ("isochors"), bubble volumes ("volumes"), trapping lines ("trapping"), an inert
// aqueous page ("aqueous") and a summary tree of the document ("summary"). A click in the
// P-T plot selects the matching rows of the page in front ("PTPlotSelection").
//
// Records of other documents are shown as they are (no copies).

#include "app/Ports.h"
#include "panels/FloatingPanel.h"
#include "panels/PhaseDiagPage.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

class PanelPages;
class PhaseDiagAqueousPage;
class PhaseDiagIsochorsPage;
class PhaseDiagIsoplethsPage;
class PhaseDiagSummaryPage;
class PhaseDiagTrappingPage;
class PhaseDiagVolumesPage;

class CPhaseDiagPanel : public FloatingPanel, private PhaseDiagPageHost
{
    Q_OBJECT

public:
    // Page identifiers, in the order of the tabs and of PhaseDiagPanelPage.
    static inline const QString kIsoplethsPage = QStringLiteral("isopleths");
    static inline const QString kIsochorsPage = QStringLiteral("isochors");
    static inline const QString kVolumesPage = QStringLiteral("volumes");
    static inline const QString kTrappingPage = QStringLiteral("trapping");
    static inline const QString kAqueousPage = QStringLiteral("aqueous");
    static inline const QString kSummaryPage = QStringLiteral("summary");

    // The application's panel, made on first use and never freed.
    static CPhaseDiagPanel* sharedPhaseDiagPanelCtroller();

    // A panel observing the notifications from now on; its window is made when first asked for.
    CPhaseDiagPanel();
    ~CPhaseDiagPanel() override;

    // None before the window is made.
    std::optional<PhaseDiagPanelPage> getSelectedPage() const;
    void selectTabViewIndex(PhaseDiagPanelPage page);
    QString selectedPageIdentifier() const;
    // Refreshes the page of that identifier, or the selected page for an empty one.
    void updatePanel(const QString& page = QString()) override;

    CPhaseDiagDocument* document() const override { return mDocument; }
    CPlotView* plotView() const override;

    // The trapping pressure of the isochore at T (°C) and the temporary line there (the
    // trapping page). An isochore of another open phase-diagram document attaches the panel
    // to that document first.
    void showAqueousHomogLine(const IsochorPtr& isochor, double T);

    // The pages (the window is made first), for the panel's users and tests.
    PhaseDiagIsoplethsPage& isoplethsPage();
    PhaseDiagIsochorsPage& isochorsPage();
    PhaseDiagVolumesPage& volumesPage();
    PhaseDiagTrappingPage& trappingPage();
    PhaseDiagAqueousPage& aqueousPage();
    PhaseDiagSummaryPage& summaryPage();
    PanelPages& tabView();

protected:
    QWidget* makeWindow() override;
    void windowDidLoad() override;

private:
    // ---- Notifications ----
    void mainWindowChanged(const Notification& note);
    void windowClosed(const Notification& note);
    void onPTPlotModified(const Notification& note);
    void onPTPlotSelection(const Notification& note);

    // ---- What the pages share ----
    const std::vector<IsochorPtr>& isochors() const override { return mIsochorsArray; }
    void refreshIsochorsList() override;
    void refreshTrappingsList() override;

    void attach(CPhaseDiagDocument* document, QWidget* mainWindow);
    void detach();
    void postSelection();
    PhaseDiagPage* pageOf(const QString& identifier) const;
    // The page, its window made first.
    template <class Page>
    Page& loaded(const std::unique_ptr<Page>& page);
    // The open phase-diagram document holding the isochore, or none.
    static CPhaseDiagDocument* documentHolding(const IsochorPtr& isochor);

    QPointer<CPhaseDiagDocument> mDocument;
    QMetaObject::Connection mDocumentGone;
    QPointer<CPlotView> mPlotView;
    // The document's one-phase isochores, listed on the volumes and trapping pages.
    std::vector<IsochorPtr> mIsochorsArray;
    PanelPages* mTabView = nullptr;
    // Made with the window, in the order of the tabs; they outlive it.
    std::unique_ptr<PhaseDiagIsoplethsPage> mIsopleths;
    std::unique_ptr<PhaseDiagIsochorsPage> mIsochors;
    std::unique_ptr<PhaseDiagVolumesPage> mVolumes;
    std::unique_ptr<PhaseDiagTrappingPage> mTrapping;
    std::unique_ptr<PhaseDiagAqueousPage> mAqueous;
    std::unique_ptr<PhaseDiagSummaryPage> mSummary;
    std::vector<PhaseDiagPage*> mPages;
};

}  // namespace quorvel
