#include "calc/CIsochor.h"

#include "calc/CPhaseDiagram.h"
#include "calc/Units.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

// ---- CIsochorPoint

CIsochorPoint::CIsochorPoint()
{
    registerPhaseDiagramClasses();
}

std::shared_ptr<CIsochorPoint> CIsochorPoint::copy() const
{
    return std::make_shared<CIsochorPoint>(*this);
}

void CIsochorPoint::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeDouble(mT, phasediagramkey::T);
    coder.encodeDouble(mP, phasediagramkey::P);
}

void CIsochorPoint::initWithCoder(KeyedUnarchiver& coder)
{
    mT = coder.decodeDouble(phasediagramkey::T);
    mP = coder.decodeDouble(phasediagramkey::P);
}

// ---- CBiphasicIsochorPoint

std::shared_ptr<CIsochorPoint> CBiphasicIsochorPoint::copy() const
{
    return std::make_shared<CBiphasicIsochorPoint>(*this);
}

void CBiphasicIsochorPoint::encodeWithCoder(KeyedArchiver& coder) const
{
    CIsochorPoint::encodeWithCoder(coder);
    coder.encodeDouble(mFv, phasediagramkey::Fv);
    coder.encodeDouble(mOtherV, phasediagramkey::otherV);
    coder.encodeInt32(mN, phasediagramkey::N);
    encodeNumbers(coder, mOtherz, phasediagramkey::otherz);
}

void CBiphasicIsochorPoint::initWithCoder(KeyedUnarchiver& coder)
{
    CIsochorPoint::initWithCoder(coder);
    mFv = coder.decodeDouble(phasediagramkey::Fv);
    mOtherV = coder.decodeDouble(phasediagramkey::otherV);
    mN = coder.decodeInt32(phasediagramkey::N);
    mOtherz = decodeNumbers(coder, phasediagramkey::otherz);
}

// ---- CIsochor

CIsochor::CIsochor()
{
    mTrappingLines.reserve(3);
}

double CIsochor::trapCelsius() const
{
    return units::celsius(mTrap);
}

std::optional<CIsochor::Interpolation> CIsochor::interpolate(double T) const
{
    const CIsochorPoint* prev = nullptr;
    for (const IsochorPointPtr& cur : points()) {
        if (!cur)
            continue;
        // Only rising intervals count: a one-phase isochore is traced towards higher temperatures.
        if (prev && prev->T() <= T && T < cur->T()) {
            const double dPdT = (cur->P() - prev->P()) / (cur->T() - prev->T());
            return Interpolation{prev->P() + dPdT * (T - prev->T()), dPdT};
        }
        prev = cur.get();
    }
    return std::nullopt;
}

double CIsochor::getPressure(double T, double* dPdT) const
{
    const std::optional<Interpolation> found = interpolate(T);
    if (dPdT)
        *dPdT = found ? found->dPdT : 0;
    return found ? found->P : 0;
}

void CIsochor::copyValuesInto(CIsochor& target) const
{
    target.setName(name());
    target.mTh = mTh;
    target.mPh = mPh;
    target.mTrap = mTrap;
    target.mPtrap = mPtrap;
    target.mHomog = mHomog;
    target.mIsBiphasic = mIsBiphasic;
    target.mBulkVolume = mBulkVolume;
    target.mBulkDensity0 = mBulkDensity0;
    target.mBulkDensity1 = mBulkDensity1;
    target.mBulkMolarWeight = mBulkMolarWeight;
    target.mGOR = mGOR;
    target.mAPI = mAPI;
    target.mCH4 = mCH4;
    target.mMinT = mMinT;
    target.mMaxT = mMaxT;
    target.mMinFv = mMinFv;
    target.mMaxFv = mMaxFv;
    target.mPhaseDiagram = mPhaseDiagram;
    target.setCurveFormat(curveFormat()->copy());
    for (const IsochorPointPtr& point : points())
        target.points().push_back(point ? point->copy() : nullptr);
}

std::shared_ptr<CIsochor> CIsochor::copy() const
{
    auto isochor = std::make_shared<CIsochor>();
    copyValuesInto(*isochor);
    for (const TrappingLinePtr& line : mTrappingLines) {
        auto lineCopy = std::static_pointer_cast<CTrappingLine>(line->copy());
        lineCopy->setIsochor(isochor);
        isochor->mTrappingLines.push_back(std::move(lineCopy));
    }
    return isochor;
}

void CIsochor::encodeWithCoder(KeyedArchiver& coder) const
{
    if (const auto& curve = graphCurve()) {
        curveFormat()->setSize(static_cast<qint32>(curve->getToolSizeFactor()));
        if (curve->getColor())
            curveFormat()->setColor(*curve->getColor());
    }
    encodeCurveKeys(coder);
    coder.encodeDouble(mTh, phasediagramkey::Th);
    coder.encodeDouble(mPh, phasediagramkey::Ph);
    coder.encodeDouble(mTrap, phasediagramkey::Trap);
    coder.encodeDouble(mPtrap, phasediagramkey::Ptrap);
    coder.encodeBool(mHomog == Homogenisation::toLiquid, phasediagramkey::homog);
    coder.encodeBool(mIsBiphasic, phasediagramkey::isBiphasic);
    coder.encodeDouble(mBulkVolume, phasediagramkey::bulkVolume);
    coder.encodeDouble(mBulkDensity0, phasediagramkey::bulkDensity0);
    coder.encodeDouble(mBulkDensity1, phasediagramkey::bulkDensity1);
    coder.encodeDouble(mBulkMolarWeight, phasediagramkey::bulkMolarWeight);
    coder.encodeDouble(mGOR, phasediagramkey::GOR);
    coder.encodeDouble(mAPI, phasediagramkey::API);
    coder.encodeDouble(mCH4, phasediagramkey::CH4);
    coder.encodeDouble(mMinT, phasediagramkey::minT);
    coder.encodeDouble(mMaxT, phasediagramkey::maxT);
    coder.encodeDouble(mMinFv, phasediagramkey::minFv);
    coder.encodeDouble(mMaxFv, phasediagramkey::maxFv);
    encodeRecords(coder, mTrappingLines, phasediagramkey::trappingLines);
    coder.encodeConditionalObject(sister(), phasediagramkey::sister);
    coder.encodeConditionalObject(phaseDiagram(), phasediagramkey::phaseDiagram);
}

void CIsochor::initWithCoder(KeyedUnarchiver& coder)
{
    decodeCurveKeys(coder, QStringLiteral("CIsochorPoint"));
    mTh = coder.decodeDouble(phasediagramkey::Th);
    mPh = coder.decodeDouble(phasediagramkey::Ph);
    mTrap = coder.decodeDouble(phasediagramkey::Trap);
    mPtrap = coder.decodeDouble(phasediagramkey::Ptrap);
    mHomog = homogenisationFromFlag(coder.decodeBool(phasediagramkey::homog));
    mIsBiphasic = coder.decodeBool(phasediagramkey::isBiphasic);
    mBulkVolume = coder.decodeDouble(phasediagramkey::bulkVolume);
    mBulkDensity0 = coder.decodeDouble(phasediagramkey::bulkDensity0);
    mBulkDensity1 = coder.decodeDouble(phasediagramkey::bulkDensity1);
    mBulkMolarWeight = coder.decodeDouble(phasediagramkey::bulkMolarWeight);
    mGOR = coder.decodeDouble(phasediagramkey::GOR);
    mAPI = coder.decodeDouble(phasediagramkey::API);
    mCH4 = coder.decodeDouble(phasediagramkey::CH4);
    mMinT = coder.decodeDouble(phasediagramkey::minT);
    mMaxT = coder.decodeDouble(phasediagramkey::maxT);
    mMinFv = coder.decodeDouble(phasediagramkey::minFv);
    mMaxFv = coder.decodeDouble(phasediagramkey::maxFv);
    mTrappingLines =
        decodeRecords<CTrappingLine>(coder, phasediagramkey::trappingLines, QStringLiteral("CTrappingLine"));
    mSister = coder.decodeObjectOfClass<CIsochor>(phasediagramkey::sister);
    mPhaseDiagram = coder.decodeObjectOfClass<CPhaseDiagram>(phasediagramkey::phaseDiagram);
}

// ---- CTrappingLine

bool CTrappingLine::attachToIsochor(const IsochorPtr& isochor, double T)
{
    const std::optional<Interpolation> found = isochor ? isochor->interpolate(T) : std::nullopt;
    if (!found)
        return false;  // no pressure on the isochore at T: there is no line to draw
    detachFromIsochor();
    setIsochor(isochor);
    setTrap(T);
    setPtrap(found->P);
    auto lower = std::make_shared<CIsochorPoint>();
    lower->setT(T);
    lower->setP(std::max(0.0, found->P - kHalfSpan * found->dPdT));
    auto upper = std::make_shared<CIsochorPoint>();
    upper->setT(T);
    upper->setP(found->P + kHalfSpan * found->dPdT);
    setPoints({lower, upper});
    setTrappingName(QString::asprintf("%s, Thaq = %.0f, Pt = %.0f", qUtf8Printable(isochor->name()), T, found->P));
    curveFormat()->setSize(1);
    curveFormat()->setColor(Color::black());
    setTh(T);
    setName(isochor->name());
    setBulkVolume(isochor->bulkVolume());
    setBulkDensity0(isochor->bulkDensity0());
    setBulkDensity1(isochor->bulkDensity1());
    setBulkMolarWeight(isochor->bulkMolarWeight());
    setGOR(isochor->GOR());
    setAPI(isochor->API());
    setCH4(isochor->CH4());
    isochor->trappingLines().push_back(std::static_pointer_cast<CTrappingLine>(shared_from_this()));
    setPhaseDiagram(isochor->phaseDiagram());
    return true;
}

void CTrappingLine::detachFromIsochor()
{
    if (const IsochorPtr former = isochor())
        std::erase(former->trappingLines(), std::static_pointer_cast<CTrappingLine>(shared_from_this()));
}

std::shared_ptr<CIsochor> CTrappingLine::copy() const
{
    auto line = std::make_shared<CTrappingLine>();
    copyValuesInto(*line);
    line->mTrappingName = mTrappingName;
    line->mIsochor = mIsochor;
    return line;
}

void CTrappingLine::encodeWithCoder(KeyedArchiver& coder) const
{
    CIsochor::encodeWithCoder(coder);
    encodeName(coder, mTrappingName, phasediagramkey::trappingName);
    coder.encodeObject(isochor(), phasediagramkey::isochor);
}

void CTrappingLine::initWithCoder(KeyedUnarchiver& coder)
{
    CIsochor::initWithCoder(coder);
    mTrappingName = decodeName(coder, phasediagramkey::trappingName);
    mIsochor = coder.decodeObjectOfClass<CIsochor>(phasediagramkey::isochor);
}

} // namespace quorvel
