#pragma once
// One branch of a phase envelope (CIsopleth) and its points (CIsoplethPoint), with the
// look-ups the isochore calculation and the phase-diagram panel make on a branch.
// Units: degrees Celsius, bar, m3/mol, mole fractions.

#include "calc/PhaseDiagramRecords.h"

#include "platform/ArchivableObject.h"
#include "thermo/Homogenisation.h"

#include <QString>

#include <memory>
#include <vector>

namespace quorvel {

class CPhaseDiagram;

// One point of an envelope branch. Archived as "CIsoplethPoint".
class CIsoplethPoint : public ArchivableObject
{
public:
    // A point with `skip` set breaks its branch: it is neither drawn nor searched, and the
    // next point starts a new stretch.
    static constexpr int kOrdinary = 0;
    static constexpr int kBreak = 1;

    CIsoplethPoint();

    double T() const { return mT; }
    void setT(double T) { mT = T; }
    double P() const { return mP; }
    void setP(double P) { mP = P; }
    double liquidVolume() const { return mLiquidVolume; }
    void setLiquidVolume(double volume) { mLiquidVolume = volume; }
    double vapourVolume() const { return mVapourVolume; }
    void setVapourVolume(double volume) { mVapourVolume = volume; }
    double liquidDensity() const { return mLiquidDensity; }
    void setLiquidDensity(double density) { mLiquidDensity = density; }
    double vapourDensity() const { return mVapourDensity; }
    void setVapourDensity(double density) { mVapourDensity = density; }
    int N() const { return mN; }
    void setN(int N) { mN = N; }
    // Mole fractions of the incipient phase, in component order.
    const std::vector<double>& otherz() const { return mOtherz; }
    void setOtherz(std::vector<double> otherz) { mOtherz = std::move(otherz); }
    int skip() const { return mSkip; }
    void setSkip(int skip) { mSkip = skip; }
    bool isOrdinary() const { return mSkip == kOrdinary; }

    void encodeWithCoder(KeyedArchiver& coder) const override;
    void initWithCoder(KeyedUnarchiver& coder) override;

private:
    double mT = 0;
    double mP = 0;
    double mLiquidVolume = 0;
    double mVapourVolume = 0;
    double mLiquidDensity = 0;
    double mVapourDensity = 0;
    int mN = 0;
    std::vector<double> mOtherz;
    int mSkip = kOrdinary;
};

using IsoplethPointPtr = std::shared_ptr<CIsoplethPoint>;

// One branch of a phase envelope: the liquid (bubble-point) or vapour (dew-point) branch,
// by `homog`. Owns its points and the curve that draws it. Archived as "CIsopleth".
class CIsopleth : public ArchivableObject, public CurveRecord<CIsoplethPoint>
{
public:
    // Two points (T, P) closer than this lie on the same branch (bar).
    static constexpr double kInclusionTolerance = 3.0;

    double Th() const { return mTh; }
    void setTh(double Th) { mTh = Th; }
    int N() const { return mN; }
    void setN(int N) { mN = N; }
    // Bulk mole fractions of the fluid the branch was traced for, in component order.
    const std::vector<double>& xref() const { return mXref; }
    void setXref(std::vector<double> xref) { mXref = std::move(xref); }
    Homogenisation homog() const { return mHomog; }
    void setHomog(Homogenisation homog) { mHomog = homog; }
    double minT() const { return mMinT; }
    void setMinT(double T) { mMinT = T; }
    double maxT() const { return mMaxT; }
    void setMaxT(double T) { mMaxT = T; }
    double minP() const { return mMinP; }
    void setMinP(double P) { mMinP = P; }
    double maxP() const { return mMaxP; }
    void setMaxP(double P) { mMaxP = P; }
    // The diagram holding the branch (not owned, not archived).
    std::shared_ptr<CPhaseDiagram> phaseDiagram() const { return mPhaseDiagram.lock(); }
    void setPhaseDiagram(const std::shared_ptr<CPhaseDiagram>& diagram) { mPhaseDiagram = diagram; }

    // Saturation pressure of the branch at T (bar), interpolated in the first interval of
    // consecutive ordinary points that brackets T; 0 when the branch does not reach T.
    // A liquid branch is searched in tracing order. A vapour branch is searched from its
    // end, and on to a second crossing; with Pref > 0 and two crossings, the one nearer
    // Pref is taken and twoCrossings is set. `homog` is not used (the branch's own decides).
    // The interval's end points go to `first` and `second` (each may be null), or null
    // when nothing is found.
    double getPh(double T, Homogenisation homog, double Pref, IsoplethPointPtr* first, IsoplethPointPtr* second,
                 bool& twoCrossings) const;
    // Whether (T, P) lies within kInclusionTolerance of the branch.
    bool testPointInclusion(double T, double P) const;

    void encodeWithCoder(KeyedArchiver& coder) const override;
    void initWithCoder(KeyedUnarchiver& coder) override;

private:
    double mTh = 0;
    int mN = 0;
    std::vector<double> mXref;
    Homogenisation mHomog = Homogenisation::toVapour;
    double mMinT = 0;
    double mMaxT = 0;
    double mMinP = 0;
    double mMaxP = 0;
    std::weak_ptr<CPhaseDiagram> mPhaseDiagram;
};

using IsoplethPtr = std::shared_ptr<CIsopleth>;

} // namespace quorvel
