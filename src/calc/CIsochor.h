#pragma once
// An inclusion's isochore on a phase diagram, held as two sister CIsochor records (the
// two-phase part with CBiphasicIsochorPoint points, the one-phase part with CIsochorPoint
// points), and the trapping lines (CTrappingLine) set on an isochore.
// Units: degrees Celsius unless said otherwise, bar, m3/mol.

#include "calc/PhaseDiagramRecords.h"

#include "platform/ArchivableObject.h"
#include "thermo/Homogenisation.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

class CPhaseDiagram;
class CTrappingLine;

// One point of a one-phase isochore. Archived as "CIsochorPoint".
class CIsochorPoint : public ArchivableObject
{
public:
    CIsochorPoint();

    double T() const { return mT; }
    void setT(double T) { mT = T; }
    double P() const { return mP; }
    void setP(double P) { mP = P; }

    // A new point with the same values.
    virtual std::shared_ptr<CIsochorPoint> copy() const;

    void encodeWithCoder(KeyedArchiver& coder) const override;
    void initWithCoder(KeyedUnarchiver& coder) override;

private:
    double mT = 0;
    double mP = 0;
};

using IsochorPointPtr = std::shared_ptr<CIsochorPoint>;

// One point of a two-phase isochore. Archived as "CBiphasicIsochorPoint".
class CBiphasicIsochorPoint : public CIsochorPoint
{
public:
    int N() const { return mN; }
    void setN(int N) { mN = N; }
    // Volume percent of the bubble in the inclusion.
    double Fv() const { return mFv; }
    void setFv(double Fv) { mFv = Fv; }
    // Mole fractions of the phase that disappears at homogenisation, in component order.
    const std::vector<double>& otherz() const { return mOtherz; }
    void setOtherz(std::vector<double> otherz) { mOtherz = std::move(otherz); }
    // Molar volume of that phase (m3/mol).
    double otherV() const { return mOtherV; }
    void setOtherV(double volume) { mOtherV = volume; }

    std::shared_ptr<CIsochorPoint> copy() const override;

    void encodeWithCoder(KeyedArchiver& coder) const override;
    void initWithCoder(KeyedUnarchiver& coder) override;

private:
    int mN = 0;
    double mFv = 0;
    std::vector<double> mOtherz;
    double mOtherV = 0;
};

// One part of an isochore. Owns its points, trapping lines and curve; refers to its
// diagram and its sister without keeping them alive. Archived as "CIsochor".
class CIsochor : public ArchivableObject,
                 public CurveRecord<CIsochorPoint>,
                 public std::enable_shared_from_this<CIsochor>
{
public:
    CIsochor();

    // Homogenisation temperature; on a trapping line, the trapping temperature.
    double Th() const { return mTh; }
    void setTh(double Th) { mTh = Th; }
    double Ph() const { return mPh; }
    void setPh(double Ph) { mPh = Ph; }
    // The temperature of the last trapping calculation as stored in files: kelvin on an
    // isochore, degrees Celsius on a trapping line. Read trapCelsius() to show it.
    double Trap() const { return mTrap; }
    void setTrap(double Trap) { mTrap = Trap; }
    virtual double trapCelsius() const;
    double Ptrap() const { return mPtrap; }
    void setPtrap(double Ptrap) { mPtrap = Ptrap; }
    Homogenisation homog() const { return mHomog; }
    void setHomog(Homogenisation homog) { mHomog = homog; }
    bool isBiphasic() const { return mIsBiphasic; }
    void setIsBiphasic(bool biphasic) { mIsBiphasic = biphasic; }
    double bulkVolume() const { return mBulkVolume; }
    void setBulkVolume(double volume) { mBulkVolume = volume; }
    double bulkDensity0() const { return mBulkDensity0; }
    void setBulkDensity0(double density) { mBulkDensity0 = density; }
    double bulkDensity1() const { return mBulkDensity1; }
    void setBulkDensity1(double density) { mBulkDensity1 = density; }
    double bulkMolarWeight() const { return mBulkMolarWeight; }
    void setBulkMolarWeight(double molarWeight) { mBulkMolarWeight = molarWeight; }
    double GOR() const { return mGOR; }
    void setGOR(double GOR) { mGOR = GOR; }
    double API() const { return mAPI; }
    void setAPI(double API) { mAPI = API; }
    double CH4() const { return mCH4; }
    void setCH4(double CH4) { mCH4 = CH4; }
    std::shared_ptr<CPhaseDiagram> phaseDiagram() const { return mPhaseDiagram.lock(); }
    void setPhaseDiagram(const std::shared_ptr<CPhaseDiagram>& diagram) { mPhaseDiagram = diagram; }
    // The other part of the same isochore; null once that part is gone.
    std::shared_ptr<CIsochor> sister() const { return mSister.lock(); }
    void setSister(const std::shared_ptr<CIsochor>& sister) { mSister = sister; }
    double minT() const { return mMinT; }
    void setMinT(double T) { mMinT = T; }
    double maxT() const { return mMaxT; }
    void setMaxT(double T) { mMaxT = T; }
    double minFv() const { return mMinFv; }
    void setMinFv(double Fv) { mMinFv = Fv; }
    double maxFv() const { return mMaxFv; }
    void setMaxFv(double Fv) { mMaxFv = Fv; }
    std::vector<std::shared_ptr<CTrappingLine>>& trappingLines() { return mTrappingLines; }
    const std::vector<std::shared_ptr<CTrappingLine>>& trappingLines() const { return mTrappingLines; }
    void setTrappingLines(std::vector<std::shared_ptr<CTrappingLine>> lines) { mTrappingLines = std::move(lines); }

    // Pressure on the isochore at T, interpolated in the first rising interval of its points
    // that holds T (start counted, end not); its dP/dT (bar per degree) goes to the place
    // (may be null). 0, and a slope of 0, when no rising interval holds T.
    double getPressure(double T, double* dPdT) const;
    // Pressure of the homogeneous inclusion fluid at the isochore's bulk molar volume and T
    // (kelvin), through a calculation interface on the diagram's fluid. Stores Trap (kelvin)
    // and Ptrap and refreshes GOR, API, CH4 and the bulk properties. 0, with nothing stored,
    // without a diagram or when the engine gives no pressure.
    double calculateTrappingPressure(double T);

    // A new isochore with copies of the points, format and trapping lines, the same values,
    // homogenisation type and diagram; no curve and no sister.
    virtual std::shared_ptr<CIsochor> copy() const;

    // Takes the curve's current size and colour into the format first, so that the file
    // keeps the style last set in the plot.
    void encodeWithCoder(KeyedArchiver& coder) const override;
    void initWithCoder(KeyedUnarchiver& coder) override;

protected:
    // The values that a copy and a trapping line take over (not the points, lines or links).
    void copyValuesInto(CIsochor& target) const;

private:
    struct Interpolation
    {
        double P = 0;
        double dPdT = 0;
    };
    std::optional<Interpolation> interpolate(double T) const;
    friend class CTrappingLine;

    double mTh = 0;
    double mPh = 0;
    double mTrap = 0;
    double mPtrap = 0;
    Homogenisation mHomog = Homogenisation::toVapour;
    bool mIsBiphasic = false;
    double mBulkVolume = 0;
    double mBulkDensity0 = 0;
    double mBulkDensity1 = 0;
    double mBulkMolarWeight = 0;
    double mGOR = 0;
    double mAPI = 0;
    double mCH4 = 0;
    std::weak_ptr<CPhaseDiagram> mPhaseDiagram;
    std::weak_ptr<CIsochor> mSister;
    double mMinT = 0;
    double mMaxT = 0;
    double mMinFv = 0;
    double mMaxFv = 0;
    std::vector<std::shared_ptr<CTrappingLine>> mTrappingLines;
};

using IsochorPtr = std::shared_ptr<CIsochor>;

// A short two-point isochore drawn across an isochore at a trapping temperature, labelled
// with the trapping pressure read on it. Archived as "CTrappingLine".
class CTrappingLine : public CIsochor
{
public:
    // The line spans the isochore's pressure change over this many degrees on either side.
    static constexpr double kHalfSpan = 10.0;

    const QString& trappingName() const { return mTrappingName; }
    void setTrappingName(const QString& name) { mTrappingName = name; }
    // The isochore the line stands on; null once it is gone.
    IsochorPtr isochor() const { return mIsochor.lock(); }
    void setIsochor(const IsochorPtr& isochor) { mIsochor = isochor; }

    double trapCelsius() const override { return Trap(); }

    // Builds the line at T (degrees Celsius) on the isochore and adds it to the isochore's
    // trappingLines. Refuses (false, nothing changed) when no rising interval of the
    // isochore holds T. The line must be held by a shared pointer.
    bool attachToIsochor(const IsochorPtr& isochor, double T);

    std::shared_ptr<CIsochor> copy() const override;

    void encodeWithCoder(KeyedArchiver& coder) const override;
    void initWithCoder(KeyedUnarchiver& coder) override;

private:
    // Takes the line out of the isochore it stood on before.
    void detachFromIsochor();

    QString mTrappingName;
    std::weak_ptr<CIsochor> mIsochor;
};

using TrappingLinePtr = std::shared_ptr<CTrappingLine>;

} // namespace quorvel
