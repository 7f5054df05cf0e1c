#include "thermo/ClaCubic0.h"
#include "thermo/FluidPhase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel {
namespace {

// Records the calls that the base classes make through their virtual operations.
class RecordingPhase : public FluidPhase {
public:
    RecordingPhase()
        : FluidPhase(0, phase_kind::vapour)
    {
    }
    void read_component_data(short i, const std::string& name) override
    {
        calls.push_back("data " + std::to_string(i) + " " + name);
    }
    void read_remaining_component_data() override { calls.push_back("remaining"); }
    void calculate_molar_volume() override { calls.push_back("volume"); }
    void calculate_fugacities() override { calls.push_back("fugacities"); }

    std::vector<std::string> calls;
};

TEST(Phase, FreshPhaseIsEmptyAndOneComponentIsTheWholePhase)
{
    Phase phase;
    EXPECT_EQ(phase.componentCount(), 0);
    EXPECT_EQ(code_number(phase.phase_type), 0);
    EXPECT_EQ(phase.totalMoles(), 0);

    phase.number_of_components(1);
    EXPECT_EQ(phase.totalMoles(), 1);
    EXPECT_EQ(phase.moleFraction()[0], 1);
    EXPECT_EQ(phase.componentMoles()[0], 1);
    EXPECT_EQ(phase.fugacityDn().rows(), 1);
}

TEST(Phase, FractionsAndAmountsFollowEachOtherOnlyWithATotal)
{
    Phase phase;
    phase.number_of_components(3);
    phase.composition_of_component(0, 0.25);
    phase.number_of_moles_of_component(1, 4);
    EXPECT_EQ(phase.moleFraction()[0], 0.25);
    EXPECT_EQ(phase.componentMoles()[0], 0);
    EXPECT_EQ(phase.componentMoles()[1], 4);
    EXPECT_EQ(phase.moleFraction()[1], 0);

    phase.total_number_of_moles(2);
    EXPECT_EQ(phase.componentMoles()[1], 4);  // a new total leaves amounts alone
    phase.composition_of_component(2, 0.5);
    EXPECT_EQ(phase.componentMoles()[2], 1);
    phase.number_of_moles_of_component(0, 0.5);
    EXPECT_EQ(phase.moleFraction()[0], 0.25);

    phase.composition(std::vector<double>{0.2, 0.3, 0.5});
    EXPECT_EQ(phase.componentMoles()[1], 0.6);
    phase.setMolarWeight(0, 10);
    phase.setMolarWeight(1, 20);
    phase.setMolarWeight(2, 30);
    EXPECT_DOUBLE_EQ(phase.calculate_molar_weight(), 2 + 6 + 15);
}

TEST(Phase, StateSettersAndUnits)
{
    Phase phase;
    phase.pressure(1.0);
    phase.temperature(300.0);
    phase.volume(1e-4);
    phase.set_the_phase_as(phase_kind::liquid);
    EXPECT_EQ(phase.pressurePa(), 100000);
    EXPECT_EQ(phase.temperatureK(), 300);
    EXPECT_EQ(phase.molarVolume(), 1e-4);
    EXPECT_EQ(code_number(phase.phase_type), 2);
}

TEST(Phase, AddComponentReadsRemainingDataAfterTheLastOne)
{
    RecordingPhase phase;
    phase.number_of_components(3);
    EXPECT_EQ(phase.partialMolarVolume().size(), 3u);
    phase.add_component(0, "C1");
    phase.add_component(1, "C2");
    EXPECT_EQ(phase.calls, (std::vector<std::string>{"data 0 C1", "data 1 C2"}));
    phase.add_component(2, "C3");
    EXPECT_EQ(phase.calls, (std::vector<std::string>{"data 0 C1", "data 1 C2", "data 2 C3", "remaining"}));
    EXPECT_EQ(phase.componentName()[2], "C3");
    EXPECT_EQ(code_number(phase.phase_type), 1);
}

TEST(FluidPhase, DescribeIsVolumeThenFugacities)
{
    RecordingPhase phase;
    phase.describe();
    EXPECT_EQ(phase.calls, (std::vector<std::string>{"volume", "fugacities"}));
}

TEST(ClaCubic0, SizesEveryLevel)
{
    ClaCubic0 phase;
    phase.number_of_components(4);
    EXPECT_EQ(phase.moleFraction().size(), 4u);
    EXPECT_EQ(phase.partialMolarVolume().size(), 4u);
    EXPECT_EQ(phase.lnPhi().size(), 4u);
    EXPECT_EQ(phase.aOverBDn2().rows(), 4);
    EXPECT_EQ(phase.kaij().columns(), 4);
    EXPECT_EQ(phase.criticalTemperature().size(), 4u);
    EXPECT_EQ(phase.slopeIsGiven(), (std::vector<int>{0, 0, 0, 0}));
    phase.set_binary_interaction_kbij(3, 1, 0.1);
    EXPECT_EQ(phase.kbij()[1][3], 0.1);
    EXPECT_EQ(phase.kbij()[3][1], 0.1);
}

}  // namespace
}  // namespace quorvel
