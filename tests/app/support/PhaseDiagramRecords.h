#pragma once
// Phase-diagram records made by hand for the document and panel tests: envelope branches,
// an alpha-beta fluid and the two parts of an isochore.

#include "calc/CPhaseDiagram.h"
#include "platform/Value.h"

#include <initializer_list>
#include <memory>
#include <type_traits>
#include <utility>

namespace quorvel::test {

inline constexpr Homogenisation kToLiquid = Homogenisation::toLiquid;
inline constexpr Homogenisation kToVapour = Homogenisation::toVapour;

struct BranchPoint
{
    double T, P;
    int skip = 0;
};

inline IsoplethPtr branch(Homogenisation homog, std::initializer_list<BranchPoint> values)
{
    auto isopleth = std::make_shared<CIsopleth>();
    isopleth->setHomog(homog);
    for (const BranchPoint& value : values) {
        auto point = std::make_shared<CIsoplethPoint>();
        point->setT(value.T);
        point->setP(value.P);
        point->setSkip(value.skip);
        isopleth->points().push_back(point);
    }
    return isopleth;
}

inline Dictionary alphaBetaFluid(const QString& name, double alpha = 0.5, double beta = 0.2, double CO2 = 0)
{
    return Dictionary{{"name", name}, {"fluidType", 1}, {"alpha", alpha}, {"beta", beta},
                      {"CO2", CO2},   {"N2", 0.0},      {"H2S", 0.0}};
}

template <class Point>
std::shared_ptr<Point> isochorPoint(double T, double P, double Fv = 0)
{
    auto point = std::make_shared<Point>();
    point->setT(T);
    point->setP(P);
    if constexpr (std::is_same_v<Point, CBiphasicIsochorPoint>)
        point->setFv(Fv);
    return point;
}

// The two parts of an isochore homogenising at (Th, Ph), added to the diagram: the
// two-phase part falls 40 °C and 60 bar with the bubble growing to 10 %, the one-phase
// part rises 4 bar per °C.
inline std::pair<IsochorPtr, IsochorPtr> addIsochorPair(const PhaseDiagramPtr& on, double Th, double Ph,
                                                        Homogenisation homog, const QString& name)
{
    auto twoPhase = std::make_shared<CIsochor>();
    auto onePhase = std::make_shared<CIsochor>();
    for (const IsochorPtr& part : {twoPhase, onePhase}) {
        part->setTh(Th);
        part->setPh(Ph);
        part->setHomog(homog);
        part->setName(name);
        part->setPhaseDiagram(on);
        part->setBulkDensity0(0.6);
        part->setBulkDensity1(0.62);
        part->setBulkMolarWeight(90);
    }
    twoPhase->setIsBiphasic(true);
    twoPhase->points() = {isochorPoint<CBiphasicIsochorPoint>(Th, Ph, 0),
                          isochorPoint<CBiphasicIsochorPoint>(Th - 40, Ph - 60, 10)};
    onePhase->points() = {isochorPoint<CIsochorPoint>(Th, Ph), isochorPoint<CIsochorPoint>(Th + 50, Ph + 200),
                          isochorPoint<CIsochorPoint>(Th + 100, Ph + 400)};
    twoPhase->setSister(onePhase);
    onePhase->setSister(twoPhase);
    on->biphasicIsochors().push_back(twoPhase);
    on->monophasicIsochors().push_back(onePhase);
    return {twoPhase, onePhase};
}

}  // namespace quorvel::test
