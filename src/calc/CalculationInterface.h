#pragma once

#include "platform/Value.h"
#include "thermo/ClaCubic0.h"
#include "thermo/Oil.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

class CIsopleth;

// A fluid record ("fluidType", "components", the alpha-beta keys, ...) and one entry of its
// "components" array ("name", "nc", "mole", "mw", "SG", "Tc", "Tb", "Pc", "Vc", "omega",
// "corr", optionally "slope"). Record units: degrees Celsius, bar, cm3/mol, mole percent.
using FluidRecord = Dictionary;
using ComponentRecord = Dictionary;

// Fluid types of a fluid record.
inline constexpr int kAlphaBetaFluid = 1;
inline constexpr int kComponentFluid = 2;
inline constexpr int kCarbonNumberFluid = 4;

// Equation-of-state codes of a component fluid.
inline constexpr int kPengRobinsonEos = 0;
inline constexpr int kSrkEos = 1;

// The value calculateSaturation gives when there is no saturation point.
inline constexpr double kSaturationFailure = -10000;

// The door to the thermodynamic engine for one fluid: owns a liquid-type and a vapour-type
// phase model and the equilibrium object on them, loads a fluid record into them, runs
// point calculations and property reports, and keeps the results callers read back.
//
// An interface answers calculations only once a fluid is loaded: a component fluid after a
// successful setModelFluid, the alpha-beta fluid from construction on. Without an engine,
// after a record of another fluid type or a refused record, every calculation gives its
// failure value (kSaturationFailure, false or not-a-number) without reaching the engine.
class CalculationInterface {
public:
    CalculationInterface(int fluidType, int eosCode);
    ~CalculationInterface();
    CalculationInterface(const CalculationInterface&) = delete;
    CalculationInterface& operator=(const CalculationInterface&) = delete;

    // ---- Loading ----
    // Loads a record of the interface's own fluid type; another type is refused with a
    // message on standard error.
    void setThermodynamicModel(const FluidRecord& record);
    // Loads the record's components into both phase models and the equilibrium object.
    // Returns false, with a message on standard error and nothing loaded, for a record
    // the engine cannot take (a component without a positive critical temperature or
    // pressure, an alpha-beta fluid without its 17 components, no engine).
    bool setModelFluid(int modelFluidType, const FluidRecord& record);
    // Hands the alpha-beta fields to the alpha-beta model fluid; nothing for other types.
    // Fields whose distribution has a negative or non-finite mole fraction leave nothing
    // loaded, with a message on standard error.
    void finalize();
    bool isLoaded() const { return loaded; }

    // ---- Accessors ----
    void setHomog(int value) { homog = static_cast<signed char>(value); }
    void setTh(double value) { Th = value; }
    void setPh(double value) { Ph = value; }
    void setAlpha(double value) { alpha = value; }
    void setBeta(double value) { beta = value; }
    void setCO2(double value) { CO2 = value; }
    void setN2(double value) { N2 = value; }
    void setH2S(double value) { H2S = value; }
    void setBranch(int value) { branch = value; }
    void setIsopleth(CIsopleth* value) { isopleth = value; }

    int getNumberOfComponents() const;
    double getIsoplethComposition(int i) const;  // feed mole fraction
    double getLiquidVolume() const;              // m3/mol
    double getLiquidDensity() const;             // g/cm3
    double getVapourVolume() const;              // m3/mol
    double getVapourDensity() const;             // g/cm3
    double getLiquidComposition(int i) const;
    double getVapourComposition(int i) const;
    double getBubbleVolumeFraction() const;
    double getBulkVolume() const { return bulkVolume; }
    double getC7plus() const;                    // mole percent
    double getCH4() const { return CH4; }

    // ---- Point calculations ----
    // Pressure (bar) of the homogeneous fluid at T (K) and bulkVolume, with the phase model
    // chosen by homog.
    double calculateTrappingPressure(double T);
    // Bubble (bubble != 0) or dew pressure (bar) at T (degrees Celsius), or kSaturationFailure.
    double calculateSaturation(double T, int bubble);
    // Flash at T (K) and P (bar); on success fills the given records with the two phases.
    // The feed is given back afterwards. Returns false, writing nothing, on failure.
    bool calculateFlash(double T, double P, std::optional<FluidRecord> liquid,
                        std::optional<FluidRecord> vapour);
    // The last flash's liquid (phase 2) or vapour (phase 1) as a new component fluid.
    void recuperateFlashedFluid(FluidRecord record, int phase);
    // Single-phase properties of the feed at T (K) and P (bar), left in the engine; true when
    // the equation of state gave a finite density.
    bool calculateBulkDensity(double T, double P, int useLiquidModel);
    // Stock-tank gas-oil ratios, API gravities, CH4 and C7+ data into the fields. True when
    // the fluid separates into gas and oil at stock-tank conditions; a value that could not
    // be computed is not-a-number.
    bool calculateGOR();
    // Ahmed split of the loaded fluid's C7+ part into single carbon numbers from C7 on: at
    // most 38 mole fractions, summing to the C7+ fraction; none for a fluid without heavy
    // components or with a C7+ molar weight not above that of C7.
    std::vector<double> generateAhmedFluid() const;

    // ---- Reports into the shared log window ----
    void printFlashProperties(double T, double P);  // K, bar
    void printSTProperties();
    void printBulkProperties(double T, double P);   // K, bar

    // ---- Fields (public: some callers read and write them directly) ----
    std::unique_ptr<ClaCubic0> liquidPhase;
    std::unique_ptr<ClaCubic0> vapourPhase;
    std::unique_ptr<Oil> oil;
    int branch = 1;                 // 1 bubble-point branch, 0 dew-point branch
    int lowTemperatureStart = 0;
    int fluidType = 0;
    double alpha = 0;
    double beta = 0;
    double CO2 = 0;                 // mole fraction
    double N2 = 0;                  // mole fraction
    double H2S = 0;                 // mole fraction
    // Non-translated PR EOS, Standing-Katz, Alani-Kennedy, translated PR EOS.
    std::array<double, 4> GOR{};    // Stdm3/Stdm3
    std::array<double, 4> API{};    // degrees API
    double CH4 = 0;                 // mole percent
    double C7plus = 0;              // mole percent
    double mwC7plus = 0;            // g/mol
    double SGC7plus = 0;
    double bulkDensity1 = 0;        // g/cm3, Standing-Katz
    double step = 0;
    signed char homog = 1;          // 1 to liquid, 0 to vapour
    double Th = 0;                  // degrees Celsius
    double bulkVolume = 0;          // m3/mol
    double bulkMolarWeight = 0;     // g/mol
    double bulkDensity0 = 0;        // g/cm3, equation of state
    double Ph = 0;                  // bar
    CIsopleth* isopleth = nullptr;  // not owned
    FluidPhase* currentPhase = nullptr;  // not owned
    double Tmin = 0;
    double Tmax = 0;
    double Pmax = 0;
    int error = 0;

private:
    bool isEngineReady() const { return oil && loaded; }
    // Why the record cannot be loaded, or an empty text.
    std::string refusalOf(const FluidRecord& record) const;
    void writeComponent(int i, const ComponentRecord& component);
    // The engine's flash, keeping the feed; true on success.
    bool runFlash(double T, double P);
    // The engine's stock-tank calculation with no result of an earlier one left over.
    bool runStockTank();
    void clearStockTankFields();

    bool loaded = false;
};

} // namespace quorvel
