#pragma once
// Small phase-diagram records for the record tests, built from (T, P) lists.

#include "calc/CIsochor.h"
#include "calc/CIsopleth.h"
#include "calc/CPhaseDiagram.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace quorvel::test {

struct BranchPoint {
    double T;
    double P;
    int skip = CIsoplethPoint::kOrdinary;
};

inline constexpr int kBreak = CIsoplethPoint::kBreak;

// A branch of the given points; each ordinary point carries `components` mole fractions.
inline IsoplethPtr makeBranch(Homogenisation homog, std::initializer_list<BranchPoint> points, int components = 2)
{
    auto branch = std::make_shared<CIsopleth>();
    branch->setHomog(homog);
    branch->setN(components);
    branch->setXref(std::vector<double>(components, 1.0 / components));
    for (const BranchPoint& p : points) {
        auto point = std::make_shared<CIsoplethPoint>();
        point->setT(p.T);
        point->setP(p.P);
        point->setSkip(p.skip);
        point->setN(components);
        if (p.skip == CIsoplethPoint::kOrdinary)
            point->setOtherz(std::vector<double>(components, 0.5));
        branch->points().push_back(point);
    }
    return branch;
}

struct IsochorPointData {
    double T;
    double P;
};

// A one-phase isochore of the given points, or a two-phase one whose points carry
// `components` mole fractions.
inline IsochorPtr makeIsochor(std::initializer_list<IsochorPointData> points, bool biphasic = false,
                              int components = 2)
{
    auto isochor = std::make_shared<CIsochor>();
    isochor->setIsBiphasic(biphasic);
    for (const IsochorPointData& p : points) {
        IsochorPointPtr point;
        if (biphasic) {
            auto twoPhase = std::make_shared<CBiphasicIsochorPoint>();
            twoPhase->setN(components);
            twoPhase->setOtherz(std::vector<double>(components, 0.5));
            twoPhase->setFv(10);
            twoPhase->setOtherV(2e-4);
            point = twoPhase;
        } else {
            point = std::make_shared<CIsochorPoint>();
        }
        point->setT(p.T);
        point->setP(p.P);
        isochor->points().push_back(point);
    }
    return isochor;
}

// A two-phase and a one-phase isochore of the same inclusion, sisters of each other, added
// to the diagram's lists.
struct IsochorPair {
    IsochorPtr biphasic;
    IsochorPtr monophasic;
};

inline IsochorPair addIsochorPair(const PhaseDiagramPtr& diagram, double Th, Homogenisation homog,
                                  const QString& name = QStringLiteral("Oil A : inclusion 1"))
{
    IsochorPair pair{makeIsochor({{Th - 40, 40}, {Th - 20, 60}, {Th, 80}}, true),
                     makeIsochor({{Th, 80}, {Th + 50, 180}, {Th + 100, 280}})};
    for (const IsochorPtr& isochor : {pair.biphasic, pair.monophasic}) {
        isochor->setTh(Th);
        isochor->setHomog(homog);
        isochor->setName(name);
        isochor->setPhaseDiagram(diagram);
    }
    pair.biphasic->setSister(pair.monophasic);
    pair.monophasic->setSister(pair.biphasic);
    diagram->biphasicIsochors().push_back(pair.biphasic);
    diagram->monophasicIsochors().push_back(pair.monophasic);
    return pair;
}

inline Dictionary componentFluid(const QString& name)
{
    return Dictionary{{"name", name},
                      {"fluidType", 2},
                      {"EOS", "PR"},
                      {"components", Array{Dictionary{{"name", "C1"}, {"nc", 1}, {"mole", 60.0}},
                                           Dictionary{{"name", "C10"}, {"nc", 10}, {"mole", 40.0}}}}};
}

// A diagram of a two-component fluid with a liquid and (optionally) a vapour branch.
inline PhaseDiagramPtr makeDiagram(bool withVapourBranch = true)
{
    auto diagram = std::make_shared<CPhaseDiagram>();
    diagram->setThermoModel(componentFluid(QStringLiteral("Oil A")));
    diagram->setNameByDefault();
    diagram->setLiquidIsopleth(makeBranch(Homogenisation::toLiquid, {{0, 10}, {50, 60}, {100, 110}}));
    diagram->liquidIsopleth()->setPhaseDiagram(diagram);
    if (withVapourBranch) {
        diagram->setVapourIsopleth(makeBranch(Homogenisation::toVapour, {{300, 5}, {200, 80}, {110, 120}}));
        diagram->vapourIsopleth()->setPhaseDiagram(diagram);
    }
    return diagram;
}

} // namespace quorvel::test
