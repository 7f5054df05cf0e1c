#pragma once
// A computed P-T phase diagram of one fluid: a copy of the fluid record, the two branches
// of its envelope, its isochores and a few stock-tank properties. Archived as "CPhaseDiagram".

#include "calc/CIsochor.h"
#include "calc/CIsopleth.h"
#include "plot/CGraphPoint.h"

#include "platform/Value.h"

#include <memory>
#include <vector>

namespace quorvel {

class CPhaseDiagram : public ArchivableObject, public std::enable_shared_from_this<CPhaseDiagram>
{
public:
    // Two last branch points further apart than this (degrees Celsius) get no common critical point.
    static constexpr double kCriticalPointGap = 30.0;
    // Isochores of homogenisation temperatures closer than these are the same (degrees Celsius).
    static constexpr double kSameIsochorTh = 0.001;
    static constexpr double kNearIsochorTh = 4.0;

    CPhaseDiagram();

    const QString& name() const { return mName; }
    void setName(const QString& name) { mName = name; }
    // The fluid record the diagram was computed from. The diagram keeps its own deep copy,
    // without the run-time keys, so later edits of the fluid leave it unchanged.
    const Dictionary& thermoModel() const { return mThermoModel; }
    void setThermoModel(const Dictionary& fluid);
    bool hasThermoModel() const { return !mThermoModel.isEmpty(); }
    const IsoplethPtr& liquidIsopleth() const { return mLiquidIsopleth; }
    void setLiquidIsopleth(IsoplethPtr isopleth) { mLiquidIsopleth = std::move(isopleth); }
    const IsoplethPtr& vapourIsopleth() const { return mVapourIsopleth; }
    void setVapourIsopleth(IsoplethPtr isopleth) { mVapourIsopleth = std::move(isopleth); }
    std::vector<IsochorPtr>& biphasicIsochors() { return mBiphasicIsochors; }
    const std::vector<IsochorPtr>& biphasicIsochors() const { return mBiphasicIsochors; }
    std::vector<IsochorPtr>& monophasicIsochors() { return mMonophasicIsochors; }
    const std::vector<IsochorPtr>& monophasicIsochors() const { return mMonophasicIsochors; }
    double GOR() const { return mGOR; }
    void setGOR(double GOR) { mGOR = GOR; }
    double API() const { return mAPI; }
    void setAPI(double API) { mAPI = API; }
    double CH4() const { return mCH4; }
    void setCH4(double CH4) { mCH4 = CH4; }
    double massVolLiq() const { return mMassVolLiq; }
    void setMassVolLiq(double density) { mMassVolLiq = density; }
    double liqMolarWeight() const { return mLiqMolarWeight; }
    void setLiqMolarWeight(double molarWeight) { mLiqMolarWeight = molarWeight; }
    // The critical-point marker (run time only), owned: a marker let go of, by a new one or
    // by freeing the diagram, leaves the plot view.
    const std::shared_ptr<CGraphPoint>& criticalPoint() const { return mCriticalPoint.get(); }
    void setCriticalPoint(std::shared_ptr<CGraphPoint> marker) { mCriticalPoint.reset(std::move(marker)); }

    // Saturation pressure at T on the branch homog names (see CIsopleth::getPh); 0 with
    // null points when the diagram has no such branch.
    double getPh(double T, Homogenisation homog, double Pref, IsoplethPointPtr* first, IsoplethPointPtr* second) const;
    // The first one-phase isochore whose Th is within kNearIsochorTh of Th, or null.
    IsochorPtr getMonophasicIsochorOfTh(double Th) const;
    // Whether an isochore of that Th and homogenisation type exists; the first match of each
    // list goes to its place (each may be null), or null. The one-phase list is only
    // searched for its place, and nothing matches while there is no two-phase isochore.
    bool isIsochorAlreadyCalculated(double Th, Homogenisation homog, IsochorPtr* biphasic,
                                    IsochorPtr* monophasic) const;
    // The name from the model: "AB alpha beta" for an alpha-beta fluid, the record's name for a
    // component fluid; any other fluid type keeps the name.
    void setNameByDefault();
    // Closes both branches on a common point halfway between the last points of their first
    // stretches (before any break), placed right after them, unless those lie more than
    // kCriticalPointGap apart or a branch is missing.
    void buildCriticalPoint();

    void encodeWithCoder(KeyedArchiver& coder) const override;
    // Takes the branches back with their diagram; refuses an archive whose points do not
    // carry one mole fraction per component.
    void initWithCoder(KeyedUnarchiver& coder) override;

private:
    // What makes the diagram's points disagree with its component count, or nothing.
    QString componentCountFault() const;

    QString mName;
    Dictionary mThermoModel;
    IsoplethPtr mLiquidIsopleth;
    IsoplethPtr mVapourIsopleth;
    std::vector<IsochorPtr> mBiphasicIsochors;
    std::vector<IsochorPtr> mMonophasicIsochors;
    double mGOR = 0;
    double mAPI = 0;
    double mCH4 = 0;
    double mMassVolLiq = 0;
    double mLiqMolarWeight = 0;
    OwnedPlotObject<CGraphPoint> mCriticalPoint;
};

using PhaseDiagramPtr = std::shared_ptr<CPhaseDiagram>;

// Whether one of the diagrams was computed from the fluid: same fluid type, and the same
// name (component fluid) or alpha, beta, CO2, N2 and H2S within 0.001 (alpha-beta fluid).
// The first such diagram goes to `found` (may be null), or null.
bool isFluidModelAlreadyUsed(const std::vector<PhaseDiagramPtr>& diagrams, const Dictionary& fluid,
                             PhaseDiagramPtr* found = nullptr);

} // namespace quorvel
