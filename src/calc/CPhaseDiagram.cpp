#include "calc/CPhaseDiagram.h"

#include "calc/CalculationInterface.h"
#include "calc/FluidRecordKeys.h"
#include "platform/RunTimeKeys.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

// Keys of a fluid record that hold plot objects or links to other records at run time;
// the diagram's copy of the fluid goes without them.
const QStringList& runTimeFluidKeys()
{
    static const QStringList keys{fluidkey::curve, runtimekey::graphPoint, runtimekey::graphCurve};
    return keys;
}

Dictionary withoutRunTimeKeys(const Dictionary& fluid)
{
    Dictionary copy = fluid.deepCopy();
    for (const QString& key : runTimeFluidKeys())
        copy.remove(key);
    return copy;
}

bool hasRunTimeKeys(const Dictionary& fluid)
{
    for (const QString& key : runTimeFluidKeys())
        if (fluid.contains(key))
            return true;
    return false;
}

// A look-up that finds nothing leaves null in its places.
template <class Pointer>
void clearPlace(Pointer* place)
{
    if (place)
        place->reset();
}

// The first isochore of the list with that Th (within kSameIsochorTh) and homogenisation type.
IsochorPtr findIsochor(const std::vector<IsochorPtr>& isochors, double Th, Homogenisation homog)
{
    for (const IsochorPtr& isochor : isochors)
        if (std::fabs(isochor->Th() - Th) < CPhaseDiagram::kSameIsochorTh
            && isochor->homog() == homog)
            return isochor;
    return nullptr;
}

} // namespace

CPhaseDiagram::CPhaseDiagram()
    : mName(QStringLiteral("Undefined"))
{
    registerPhaseDiagramClasses();
    mBiphasicIsochors.reserve(10);
    mMonophasicIsochors.reserve(10);
}

void CPhaseDiagram::setThermoModel(const Dictionary& fluid)
{
    mThermoModel = withoutRunTimeKeys(fluid);
}

double CPhaseDiagram::getPh(double T, Homogenisation homog, double Pref, IsoplethPointPtr* first,
                            IsoplethPointPtr* second) const
{
    const IsoplethPtr& branch = homog == Homogenisation::toLiquid ? mLiquidIsopleth : mVapourIsopleth;
    if (!branch) {
        clearPlace(first);
        clearPlace(second);
        return 0;
    }
    bool twoCrossings = false;
    return branch->getPh(T, homog, Pref, first, second, twoCrossings);
}

IsochorPtr CPhaseDiagram::getMonophasicIsochorOfTh(double Th) const
{
    for (const IsochorPtr& isochor : mMonophasicIsochors)
        if (std::fabs(isochor->Th() - Th) < kNearIsochorTh)
            return isochor;
    return nullptr;
}

bool CPhaseDiagram::isIsochorAlreadyCalculated(double Th, Homogenisation homog, IsochorPtr* biphasic,
                                               IsochorPtr* monophasic) const
{
    clearPlace(biphasic);
    clearPlace(monophasic);
    if (mBiphasicIsochors.empty())
        return false;
    bool found = false;
    if (biphasic) {
        *biphasic = findIsochor(mBiphasicIsochors, Th, homog);
        found = *biphasic != nullptr;
    }
    if (monophasic) {
        *monophasic = findIsochor(mMonophasicIsochors, Th, homog);
        found = found || *monophasic != nullptr;
    }
    return found;
}

void CPhaseDiagram::setNameByDefault()
{
    switch (fluidTypeOf(mThermoModel)) {
    case FluidType::alphaBeta:
        mName = QString::asprintf("AB %.3f %.3f", mThermoModel.doubleValue(fluidkey::alpha),
                                  mThermoModel.doubleValue(fluidkey::beta));
        break;
    case FluidType::componentList: mName = mThermoModel.stringValue(fluidkey::name); break;
    default: break;
    }
}

namespace {

// Past the last point before the first break (the end when there is none).
std::vector<IsoplethPointPtr>::iterator endOfFirstStretch(std::vector<IsoplethPointPtr>& points)
{
    return std::find_if(points.begin(), points.end(),
                        [](const IsoplethPointPtr& point) { return point && !point->isOrdinary(); });
}

} // namespace

void CPhaseDiagram::buildCriticalPoint()
{
    if (!mLiquidIsopleth || !mVapourIsopleth)
        return;
    // The branches meet at the ends of their first stretches; a liquid-liquid-gas or second
    // dew segment appended after a break is no part of that.
    auto& liquid = mLiquidIsopleth->points();
    auto& vapour = mVapourIsopleth->points();
    const auto liquidEnd = endOfFirstStretch(liquid);
    const auto vapourEnd = endOfFirstStretch(vapour);
    if (liquidEnd == liquid.begin() || vapourEnd == vapour.begin())
        return;
    // Held by value: inserting into the branches may move their point lists.
    const IsoplethPointPtr L = *std::prev(liquidEnd);
    const IsoplethPointPtr V = *std::prev(vapourEnd);
    if (!L || !V || std::fabs(L->T() - V->T()) > kCriticalPointGap)
        return;
    const auto criticalPoint = [&] {
        auto point = std::make_shared<CIsoplethPoint>();
        point->setT((L->T() + V->T()) / 2);
        point->setP((L->P() + V->P()) / 2);
        const double volume = (L->liquidVolume() + V->liquidVolume()) / 2;
        point->setLiquidVolume(volume);
        point->setVapourVolume(volume);
        const double density = (L->liquidDensity() + V->liquidDensity()) / 2;
        point->setLiquidDensity(density);
        point->setVapourDensity(density);
        point->setN(L->N());
        point->setOtherz(mLiquidIsopleth->xref());
        return point;
    };
    const auto vapourIndex = vapourEnd - vapour.begin();
    liquid.insert(liquidEnd, criticalPoint());
    vapour.insert(vapour.begin() + vapourIndex, criticalPoint());
}

// ---- Keyed coding

void CPhaseDiagram::encodeWithCoder(KeyedArchiver& coder) const
{
    encodeName(coder, mName, phasediagramkey::name);
    encodeRecords(coder, mMonophasicIsochors, phasediagramkey::monophasicIsochors);
    encodeRecords(coder, mBiphasicIsochors, phasediagramkey::biphasicIsochors);
    if (mLiquidIsopleth)
        coder.encodeObject(mLiquidIsopleth, phasediagramkey::liquidIsopleth);
    if (mVapourIsopleth)
        coder.encodeObject(mVapourIsopleth, phasediagramkey::vapourIsopleth);
    const Dictionary model = hasRunTimeKeys(mThermoModel) ? withoutRunTimeKeys(mThermoModel) : mThermoModel;
    coder.encodeObject(hasThermoModel() ? Value(model) : Value(), phasediagramkey::thermoModel);
    coder.encodeDouble(mGOR, phasediagramkey::GOR);
    coder.encodeDouble(mAPI, phasediagramkey::API);
    coder.encodeDouble(mLiqMolarWeight, phasediagramkey::liqMolarWeight);
    coder.encodeDouble(mMassVolLiq, phasediagramkey::massVolLiq);
    coder.encodeDouble(mCH4, phasediagramkey::CH4);
}

namespace {

// Describes the first branch or point whose mole fractions disagree with the diagram's
// component count.
class ComponentCountCheck
{
public:
    // count -1: a diagram without branches, whose points only have to agree with themselves.
    explicit ComponentCountCheck(int count) : mCount(count) {}

    QString branchFault(const CIsopleth& branch, const QString& branchName) const
    {
        QString found = fault(QStringLiteral("its %1 branch").arg(branchName), branch.N(), branch.xref().size());
        for (const IsoplethPointPtr& point : branch.points()) {
            if (!point->isOrdinary() && point->otherz().empty())
                continue;  // a break point may carry no fractions at all
            if (found.isEmpty())
                found = fault(QStringLiteral("a point of its %1 branch").arg(branchName), point->N(),
                              point->otherz().size());
        }
        return found;
    }

    QString isochorFault(const CIsochor& isochor) const
    {
        for (const IsochorPointPtr& point : isochor.points())
            if (const auto* biphasic = dynamic_cast<const CBiphasicIsochorPoint*>(point.get())) {
                const QString found = fault(QStringLiteral("a point of the isochore \"%1\"").arg(isochor.name()),
                                            biphasic->N(), biphasic->otherz().size());
                if (!found.isEmpty())
                    return found;
            }
        return {};
    }

private:
    QString fault(const QString& where, int N, std::size_t fractions) const
    {
        const int expected = mCount >= 0 ? mCount : N;
        if (N != expected)
            return QStringLiteral("%1 counts %2 components where the diagram has %3").arg(where).arg(N).arg(expected);
        if (fractions != std::size_t(expected))
            return QStringLiteral("%1 has %2 mole fractions for %3 components").arg(where).arg(fractions).arg(expected);
        return {};
    }

    int mCount;
};

} // namespace

void CPhaseDiagram::initWithCoder(KeyedUnarchiver& coder)
{
    mName = decodeName(coder, phasediagramkey::name);
    mMonophasicIsochors =
        decodeRecords<CIsochor>(coder, phasediagramkey::monophasicIsochors, QStringLiteral("CIsochor"));
    mBiphasicIsochors = decodeRecords<CIsochor>(coder, phasediagramkey::biphasicIsochors, QStringLiteral("CIsochor"));
    // A branch the file has no key for comes back as none.
    mLiquidIsopleth = coder.decodeObjectOfClass<CIsopleth>(phasediagramkey::liquidIsopleth);
    mVapourIsopleth = coder.decodeObjectOfClass<CIsopleth>(phasediagramkey::vapourIsopleth);
    const Value model = coder.decodeObject(phasediagramkey::thermoModel);
    if (!model.isNull() && !model.isDictionary())
        coder.failWithError(QStringLiteral("The fluid of a phase diagram is not a fluid record."));
    mThermoModel = model.isDictionary() ? model.toDictionary() : Dictionary();
    mGOR = coder.decodeDouble(phasediagramkey::GOR);
    mAPI = coder.decodeDouble(phasediagramkey::API);
    mLiqMolarWeight = coder.decodeDouble(phasediagramkey::liqMolarWeight);
    mMassVolLiq = coder.decodeDouble(phasediagramkey::massVolLiq);
    mCH4 = coder.decodeDouble(phasediagramkey::CH4);

    const std::shared_ptr<CPhaseDiagram> self = weak_from_this().lock();
    for (const IsoplethPtr& branch : {mLiquidIsopleth, mVapourIsopleth})
        if (branch && self)
            branch->setPhaseDiagram(self);
    if (const QString fault = componentCountFault(); !fault.isEmpty())
        coder.failWithError(QStringLiteral("The phase diagram \"%1\" is damaged: %2.").arg(mName, fault));
}

QString CPhaseDiagram::componentCountFault() const
{
    const IsoplethPtr& reference = mLiquidIsopleth ? mLiquidIsopleth : mVapourIsopleth;
    const ComponentCountCheck check(reference ? reference->N() : -1);
    QString fault;
    if (mLiquidIsopleth)
        fault = check.branchFault(*mLiquidIsopleth, QStringLiteral("liquid"));
    if (fault.isEmpty() && mVapourIsopleth)
        fault = check.branchFault(*mVapourIsopleth, QStringLiteral("vapour"));
    for (const auto* list : {&mBiphasicIsochors, &mMonophasicIsochors})
        for (const IsochorPtr& isochor : *list)
            if (fault.isEmpty())
                fault = check.isochorFault(*isochor);
    return fault;
}

// ---- Look-up across diagrams

namespace {

bool isSameFluid(const Dictionary& model, const Dictionary& fluid, FluidType fluidType)
{
    constexpr double kSameAmount = 0.001;
    if (fluidTypeOf(model) != fluidType)
        return false;
    switch (fluidType) {
    case FluidType::componentList: return model.stringValue(fluidkey::name) == fluid.stringValue(fluidkey::name);
    case FluidType::alphaBeta:
        for (const QString& key : {fluidkey::alpha, fluidkey::beta, fluidkey::CO2, fluidkey::N2, fluidkey::H2S})
            if (std::fabs(model.doubleValue(key) - fluid.doubleValue(key)) >= kSameAmount)
                return false;
        return true;
    default: return false;
    }
}

} // namespace

bool isFluidModelAlreadyUsed(const std::vector<PhaseDiagramPtr>& diagrams, const Dictionary& fluid,
                             PhaseDiagramPtr* found)
{
    const FluidType fluidType = fluidTypeOf(fluid);
    for (const PhaseDiagramPtr& diagram : diagrams) {
        if (diagram && isSameFluid(diagram->thermoModel(), fluid, fluidType)) {
            if (found)
                *found = diagram;
            return true;
        }
    }
    clearPlace(found);
    return false;
}

} // namespace quorvel
