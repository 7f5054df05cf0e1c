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
    coder.encodeDouble(mT, QStringLiteral("T"));
    coder.encodeDouble(mP, QStringLiteral("P"));
}

void CIsochorPoint::initWithCoder(KeyedUnarchiver& coder)
{
    mT = coder.decodeDouble(QStringLiteral("T"));
    mP = coder.decodeDouble(QStringLiteral("P"));
}

// ---- CBiphasicIsochorPoint

std::shared_ptr<CIsochorPoint> CBiphasicIsochorPoint::copy() const
{
    return std::make_shared<CBiphasicIsochorPoint>(*this);
}

void CBiphasicIsochorPoint::encodeWithCoder(KeyedArchiver& coder) const
{
    CIsochorPoint::encodeWithCoder(coder);
    coder.encodeDouble(mFv, QStringLiteral("Fv"));
    coder.encodeDouble(mOtherV, QStringLiteral("otherV"));
    coder.encodeInt32(mN, QStringLiteral("N"));
    encodeNumbers(coder, mOtherz, QStringLiteral("otherz"));
}

void CBiphasicIsochorPoint::initWithCoder(KeyedUnarchiver& coder)
{
    CIsochorPoint::initWithCoder(coder);
    mFv = coder.decodeDouble(QStringLiteral("Fv"));
    mOtherV = coder.decodeDouble(QStringLiteral("otherV"));
    mN = coder.decodeInt32(QStringLiteral("N"));
    mOtherz = decodeNumbers(coder, QStringLiteral("otherz"));
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
    coder.encodeDouble(mTh, QStringLiteral("Th"));
    coder.encodeDouble(mPh, QStringLiteral("Ph"));
    coder.encodeDouble(mTrap, QStringLiteral("Trap"));
    coder.encodeDouble(mPtrap, QStringLiteral("Ptrap"));
    coder.encodeBool(mHomog != kHomogToVapour, QStringLiteral("homog"));
    coder.encodeBool(mIsBiphasic, QStringLiteral("isBiphasic"));
    coder.encodeDouble(mBulkVolume, QStringLiteral("bulkVolume"));
    coder.encodeDouble(mBulkDensity0, QStringLiteral("bulkDensity0"));
    coder.encodeDouble(mBulkDensity1, QStringLiteral("bulkDensity1"));
    coder.encodeDouble(mBulkMolarWeight, QStringLiteral("bulkMolarWeight"));
    coder.encodeDouble(mGOR, QStringLiteral("GOR"));
    coder.encodeDouble(mAPI, QStringLiteral("API"));
    coder.encodeDouble(mCH4, QStringLiteral("CH4"));
    coder.encodeDouble(mMinT, QStringLiteral("minT"));
    coder.encodeDouble(mMaxT, QStringLiteral("maxT"));
    coder.encodeDouble(mMinFv, QStringLiteral("minFv"));
    coder.encodeDouble(mMaxFv, QStringLiteral("maxFv"));
    encodeRecords(coder, mTrappingLines, QStringLiteral("trappingLines"));
    coder.encodeConditionalObject(sister(), QStringLiteral("sister"));
    coder.encodeConditionalObject(phaseDiagram(), QStringLiteral("phaseDiagram"));
}

void CIsochor::initWithCoder(KeyedUnarchiver& coder)
{
    decodeCurveKeys(coder, QStringLiteral("CIsochorPoint"));
    mTh = coder.decodeDouble(QStringLiteral("Th"));
    mPh = coder.decodeDouble(QStringLiteral("Ph"));
    mTrap = coder.decodeDouble(QStringLiteral("Trap"));
    mPtrap = coder.decodeDouble(QStringLiteral("Ptrap"));
    mHomog = coder.decodeBool(QStringLiteral("homog")) ? kHomogToLiquid : kHomogToVapour;
    mIsBiphasic = coder.decodeBool(QStringLiteral("isBiphasic"));
    mBulkVolume = coder.decodeDouble(QStringLiteral("bulkVolume"));
    mBulkDensity0 = coder.decodeDouble(QStringLiteral("bulkDensity0"));
    mBulkDensity1 = coder.decodeDouble(QStringLiteral("bulkDensity1"));
    mBulkMolarWeight = coder.decodeDouble(QStringLiteral("bulkMolarWeight"));
    mGOR = coder.decodeDouble(QStringLiteral("GOR"));
    mAPI = coder.decodeDouble(QStringLiteral("API"));
    mCH4 = coder.decodeDouble(QStringLiteral("CH4"));
    mMinT = coder.decodeDouble(QStringLiteral("minT"));
    mMaxT = coder.decodeDouble(QStringLiteral("maxT"));
    mMinFv = coder.decodeDouble(QStringLiteral("minFv"));
    mMaxFv = coder.decodeDouble(QStringLiteral("maxFv"));
    mTrappingLines =
        decodeRecords<CTrappingLine>(coder, QStringLiteral("trappingLines"), QStringLiteral("CTrappingLine"));
    mSister = coder.decodeObjectOfClass<CIsochor>(QStringLiteral("sister"));
    mPhaseDiagram = coder.decodeObjectOfClass<CPhaseDiagram>(QStringLiteral("phaseDiagram"));
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
    encodeName(coder, mTrappingName, QStringLiteral("trappingName"));
    coder.encodeObject(isochor(), QStringLiteral("isochor"));
}

void CTrappingLine::initWithCoder(KeyedUnarchiver& coder)
{
    CIsochor::initWithCoder(coder);
    mTrappingName = decodeName(coder, QStringLiteral("trappingName"));
    mIsochor = coder.decodeObjectOfClass<CIsochor>(QStringLiteral("isochor"));
}

} // namespace quorvel
