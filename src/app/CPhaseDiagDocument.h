#pragma once
// The phase-diagram document ("Quorvel Phase Diagram", .ptd): the phase diagrams of
// fluids (envelope branches, isochores of inclusions, trapping lines) drawn in one P-T
// plot. It runs the envelope and isochore calculations that the phase-diagram panel and
// the plot's context menus ask for, turns their failures into alerts, keeps the plot
// drawn and tells the panel of every change ("PTPlotModified").
// Units: degrees Celsius and bar.

#include "calc/CPhaseDiagram.h"
#include "calc/CalculationInterface.h"
#include "platform/Document.h"
#include "platform/Value.h"
#include "plot/PlotViewProvider.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QPagedPaintDevice;

namespace quorvel {

class CPlotFormat;
class CPlotView;
class CPhaseDiagWindow;

inline const QString PTPlotModified = QStringLiteral("PTPlotModified");
inline const QString PTPlotSelection = QStringLiteral("PTPlotSelection");

// Diagrams are computed with this equation of state whatever the fluid's own.
inline constexpr EquationOfState kPhaseDiagramEos = EquationOfState::pengRobinson;

// The alerts of the envelope and isochore calculations.
void Msg_noThTooLow();
void Msg_noThTooHigh();
void Msg_noIsoplethHomogToLiquid();
void Msg_noIsoplethHomogToGas();
void Msg_IsoplethTooCloseToCriticPt();
void Msg_IsoplethLLG();
void Msg_IsoplethCalculationFailure();

class CPhaseDiagDocument : public Document, public PlotViewProvider
{
    Q_OBJECT

public:
    CPhaseDiagDocument();
    ~CPhaseDiagDocument() override;

    // The diagrams in creation order (the live list).
    std::vector<PhaseDiagramPtr>& phaseDiagrams() { return mPhaseDiagrams; }
    const std::vector<PhaseDiagramPtr>& phaseDiagrams() const { return mPhaseDiagrams; }
    const CPlotFormat& plotFormat() const { return *mPlotFormat; }
    // The file's name; a null string while the document has never been saved.
    QString name() const;

    CPlotView* plotView() const override { return mPlotView; }
    void setPlotView(CPlotView* view) { mPlotView = view; }

    void makeWindowControllers() override;
    QByteArray dataRepresentationOfType(const QString& type, QString* error) override;
    // Refuses data that is not a phase-diagram archive and then changes nothing.
    bool loadDataRepresentation(const QByteArray& data, const QString& type, QString* error) override;

    // ---- Calculations (each alerts, draws, marks the document changed and posts) ----
    // The phase envelope of a fluid record, added and drawn as a new diagram.
    void calculateImmiscibilityLoop(const FluidRecord& fluid);
    // The isochores of an inclusion (none: typed Th and homog) homogenising at Th on the
    // diagram, Ph the pressure picked on the plot or 0. The one-phase isochore goes to the
    // place (may be null).
    isochor_result calculateIsochor(const PhaseDiagramPtr& diagram, const std::optional<InclusionRecord>& inclusion,
                                    double Th, Homogenisation homog, IsochorPtr* monophasic, double Ph);
    // A trapping line at T on the isochore; none (nothing changed, an alert) when the
    // isochore has no pressure at T.
    TrappingLinePtr addTrappingLineTo(const IsochorPtr& isochor, double T);

    // ---- The temporary aqueous homogenisation line (never saved) ----
    void setTemporaryAqueousHomogLine(double T, double P);
    void hideTemporaryAqueousHomogLine();
    void removeAqueousHomogLine();
    const IsochorPtr& aqueousHomogLine() const { return mAqueousHomogLine; }

    // ---- Removals (the caller redraws) ----
    void removeTrappingLine(const TrappingLinePtr& line);
    // Either part of an isochore: both parts leave their diagram.
    void deleteIsochor(const IsochorPtr& isochor);
    void removeFluidPhaseDiagram(const PhaseDiagramPtr& diagram);

    // ---- Drawing ----
    void plotData();
    void plotIsoplethsOfPhaseDiagram(const PhaseDiagramPtr& diagram);
    void plotIsochorsOfPhaseDiagram(const PhaseDiagramPtr& diagram);
    void plotIsoplethCurve(const IsoplethPtr& isopleth);
    void plotBiphasicIsochorCurve(const IsochorPtr& isochor);
    void plotMonophasicIsochorCurve(const IsochorPtr& isochor);
    void plotTrappingLine(const IsochorPtr& line);

    // The trapping report of an isochore or trapping line into the log window.
    void writeTrappingInfoLog(const IsochorPtr& record);

    // ---- Panel pages and menus ----
    void onShowPhaseDiagPanelPage1(QObject* sender);
    void onShowPhaseDiagPanelPage2(QObject* sender);
    void onShowPhaseDiagPanelPage3(QObject* sender);
    void onShowPhaseDiagPanelPage4(QObject* sender);

    // The plot view scaled onto one page.
    void printToDevice(QPagedPaintDevice& device) const;
    bool canPrint() const override { return true; }
    void printDocument() override;

protected:
    void documentDidRevert() override;

private:
    void postModified();
    void redraw();
    void unplotAll();
    void alertIsochorResult(isochor_result code, Homogenisation homog);

    std::vector<PhaseDiagramPtr> mPhaseDiagrams;
    IsochorPtr mAqueousHomogLine;
    std::shared_ptr<CPlotFormat> mPlotFormat;
    CPlotView* mPlotView = nullptr;  // the window's, not owned
};

}  // namespace quorvel
