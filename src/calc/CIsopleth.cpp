#include "calc/CIsopleth.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace quorvel {

// ---- CIsoplethPoint

CIsoplethPoint::CIsoplethPoint()
{
    registerPhaseDiagramClasses();
}

void CIsoplethPoint::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeDouble(mT, phasediagramkey::T);
    coder.encodeDouble(mP, phasediagramkey::P);
    coder.encodeDouble(mLiquidVolume, phasediagramkey::liquidVolume);
    coder.encodeDouble(mVapourVolume, phasediagramkey::vapourVolume);
    coder.encodeDouble(mLiquidDensity, phasediagramkey::liquidDensity);
    coder.encodeDouble(mVapourDensity, phasediagramkey::vapourDensity);
    coder.encodeInt32(mN, phasediagramkey::N);
    coder.encodeInt32(mSkip, phasediagramkey::skip);
    encodeNumbers(coder, mOtherz, phasediagramkey::otherz);
}

void CIsoplethPoint::initWithCoder(KeyedUnarchiver& coder)
{
    mT = coder.decodeDouble(phasediagramkey::T);
    mP = coder.decodeDouble(phasediagramkey::P);
    mLiquidVolume = coder.decodeDouble(phasediagramkey::liquidVolume);
    mVapourVolume = coder.decodeDouble(phasediagramkey::vapourVolume);
    mLiquidDensity = coder.decodeDouble(phasediagramkey::liquidDensity);
    mVapourDensity = coder.decodeDouble(phasediagramkey::vapourDensity);
    mN = coder.decodeInt32(phasediagramkey::N);
    mSkip = coder.decodeInt32(phasediagramkey::skip);
    mOtherz = decodeNumbers(coder, phasediagramkey::otherz);
}

// ---- Searches along a branch

namespace {

// Two consecutive ordinary points of a stretch, in the order of the search.
struct Interval
{
    const CIsoplethPoint* prev = nullptr;
    const CIsoplethPoint* cur = nullptr;
};

// Calls visit(interval, index of cur) for each interval of consecutive ordinary points,
// from `begin` on, until it answers true. `prev` is the ordinary point before `begin`
// (null: the first ordinary point opens a stretch). A break point takes no part, and the
// next ordinary point starts a new stretch.
template <class Visit>
void visitIntervals(const std::vector<const CIsoplethPoint*>& ordered, std::size_t begin,
                    const CIsoplethPoint* prev, Visit visit)
{
    for (std::size_t i = begin; i < ordered.size(); ++i) {
        const CIsoplethPoint* cur = ordered[i];
        if (!cur || !cur->isOrdinary()) {
            prev = nullptr;
            continue;
        }
        if (prev && visit(Interval{prev, cur}, i))
            return;
        prev = cur;
    }
}

// Whether the interval brackets T, counting its start and not its end.
bool brackets(const Interval& interval, double T)
{
    const double Tprev = interval.prev->T();
    const double Tcur = interval.cur->T();
    return (Tprev <= T && T < Tcur) || (Tcur < T && T <= Tprev);
}

struct Crossing
{
    Interval interval;
    double r = 0;  // position of T in the interval, 0 at prev
    std::size_t next = 0;  // index after the interval's end

    double pressure() const { return interval.prev->P() * (1 - r) + interval.cur->P() * r; }
};

std::optional<Crossing> findCrossing(const std::vector<const CIsoplethPoint*>& ordered, std::size_t begin,
                                     const CIsoplethPoint* prev, double T)
{
    std::optional<Crossing> crossing;
    visitIntervals(ordered, begin, prev, [&](const Interval& interval, std::size_t index) {
        if (!brackets(interval, T))
            return false;
        const double r = (T - interval.prev->T()) / (interval.cur->T() - interval.prev->T());
        crossing = Crossing{interval, r, index + 1};
        return true;
    });
    return crossing;
}

std::vector<const CIsoplethPoint*> pointsInOrder(const std::vector<IsoplethPointPtr>& points, bool fromTheEnd)
{
    std::vector<const CIsoplethPoint*> ordered;
    ordered.reserve(points.size());
    for (const IsoplethPointPtr& point : points)
        ordered.push_back(point.get());
    if (fromTheEnd)
        std::reverse(ordered.begin(), ordered.end());
    return ordered;
}

// The shared pointer of a point of the branch.
IsoplethPointPtr owning(const std::vector<IsoplethPointPtr>& points, const CIsoplethPoint* point)
{
    const auto found = std::find_if(points.begin(), points.end(),
                                    [point](const IsoplethPointPtr& listed) { return listed.get() == point; });
    return found == points.end() ? nullptr : *found;
}

void store(IsoplethPointPtr* place, IsoplethPointPtr point)
{
    if (place)
        *place = std::move(point);
}

} // namespace

// ---- CIsopleth

double CIsopleth::getPh(double T, Homogenisation /*homog*/, double Pref, IsoplethPointPtr* first,
                        IsoplethPointPtr* second, bool& twoCrossings) const
{
    twoCrossings = false;
    const bool isVapourBranch = mHomog == Homogenisation::toVapour;
    const std::vector<const CIsoplethPoint*> ordered = pointsInOrder(points(), isVapourBranch);
    std::optional<Crossing> crossing = findCrossing(ordered, 0, nullptr, T);
    if (crossing && isVapourBranch) {
        // The dew-point curve may pass T twice; the second search goes on from the end of
        // the first crossing, so the interval right after it is examined too.
        const std::optional<Crossing> other = findCrossing(ordered, crossing->next, crossing->interval.cur, T);
        if (other && Pref > 0) {
            if (std::fabs(crossing->pressure() - Pref) > std::fabs(other->pressure() - Pref))
                crossing = other;
            twoCrossings = true;
        }
    }
    if (!crossing) {
        store(first, nullptr);
        store(second, nullptr);
        return 0;
    }
    store(first, owning(points(), crossing->interval.prev));
    store(second, owning(points(), crossing->interval.cur));
    return crossing->pressure();
}

bool CIsopleth::testPointInclusion(double T, double P) const
{
    double distance = 100000;
    visitIntervals(pointsInOrder(points(), false), 0, nullptr, [&](const Interval& interval, std::size_t) {
        const double Tprev = interval.prev->T();
        const double Tcur = interval.cur->T();
        if ((Tprev <= T && T < Tcur) || (Tcur <= T && T < Tprev)) {
            const double Pi = interval.prev->P() + (interval.cur->P() - interval.prev->P()) * (T - Tprev) / (Tcur - Tprev);
            distance = std::min(distance, std::fabs(Pi - P));
        }
        return false;
    });
    return distance < kInclusionTolerance;
}

void CIsopleth::encodeWithCoder(KeyedArchiver& coder) const
{
    encodeCurveKeys(coder);
    coder.encodeDouble(mTh, phasediagramkey::Th);
    coder.encodeInt32(mN, phasediagramkey::N);
    encodeNumbers(coder, mXref, phasediagramkey::xref);
    coder.encodeBool(mHomog == Homogenisation::toLiquid, phasediagramkey::homog);
    coder.encodeDouble(mMinT, phasediagramkey::minT);
    coder.encodeDouble(mMaxT, phasediagramkey::maxT);
    coder.encodeDouble(mMinP, phasediagramkey::minP);
    coder.encodeDouble(mMaxP, phasediagramkey::maxP);
}

void CIsopleth::initWithCoder(KeyedUnarchiver& coder)
{
    decodeCurveKeys(coder, QStringLiteral("CIsoplethPoint"));
    mTh = coder.decodeDouble(phasediagramkey::Th);
    mN = coder.decodeInt32(phasediagramkey::N);
    mXref = decodeNumbers(coder, phasediagramkey::xref);
    mHomog = homogenisationFromFlag(coder.decodeBool(phasediagramkey::homog));
    mMinT = coder.decodeDouble(phasediagramkey::minT);
    mMaxT = coder.decodeDouble(phasediagramkey::maxT);
    mMinP = coder.decodeDouble(phasediagramkey::minP);
    mMaxP = coder.decodeDouble(phasediagramkey::maxP);
}

} // namespace quorvel
