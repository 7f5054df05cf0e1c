#pragma once

// A textbook Peng-Robinson mixture (Peng and Robinson 1976, van der Waals mixing rules)
// with its saturation pressures found by successive substitution on the K-values, written
// from the published equations and sharing no code with the engine. The interaction
// coefficients on a are those of the generalised correlation the engine documents for
// hydrocarbon pairs up to 160 g/mol (Chueh-Prausnitz form in the critical
// compressibilities), 0 for pairs with N2, CO2, H2S or H2O.

#include <optional>
#include <string>
#include <vector>

namespace quorvel::textbook {

// The gas constant the engine takes, J/(mol K): the same value keeps the comparisons sharp.
inline constexpr double R = 8.31451198983133;

struct Species {
    std::string name;
    double Tc;     // K
    double Pc;     // Pa
    double omega;
    double mw;     // g/mol
    double Vc;     // m3/mol
};

enum class Root { liquid, vapour };

class PengRobinsonMixture {
public:
    explicit PengRobinsonMixture(std::vector<Species> species);

    int size() const { return static_cast<int>(mSpecies.size()); }
    double kij(int i, int j) const;
    // Pressure (Pa) at T (K) and molar volume v (m3/mol) of composition x.
    double pressure(double T, double v, const std::vector<double>& x) const;
    // ln of the fugacity coefficients of composition x at T (K) and P (Pa) on one root.
    std::vector<double> lnPhi(const std::vector<double>& x, double T, double P, Root root) const;
    // Bubble and dew pressures (Pa) of feed z at T (K); nothing when the iteration does
    // not converge or collapses to the trivial solution.
    std::optional<double> bubblePressure(double T, const std::vector<double>& z) const;
    std::optional<double> dewPressure(double T, const std::vector<double>& z) const;
    // Bubble or dew pressure (Pa) of feed z at T (K) iterated from a start near it: the
    // pressure P0 (Pa) and the incipient phase w0, which pick the root where there are two.
    // The incipient phase found goes to incipient when given.
    std::optional<double> saturationPressureFrom(double T, const std::vector<double>& z, bool bubble,
                                                 double P0, const std::vector<double>& w0,
                                                 std::vector<double>* incipient = nullptr) const;
    // The same by Newton's method on the ln K and ln P, with a difference Jacobian: it
    // converges next to the critical point, where successive substitution stalls.
    std::optional<double> saturationPressureByNewton(double T, const std::vector<double>& z, bool bubble,
                                                     double P0, const std::vector<double>& w0,
                                                     std::vector<double>* incipient = nullptr) const;
    // The highest saturation pressure (Pa) on the curve through (T0, P0, w0), searched by
    // golden section in [T0 - dT, T0 + dT] (K); the temperature goes to Tmax.
    std::optional<double> highestPressureNear(double T0, double dT, const std::vector<double>& z, bool bubble,
                                              double P0, const std::vector<double>& w0, double& Tmax) const;
    // Bubble or dew temperature (K) of feed z at P (Pa) iterated from the temperature T0 (K)
    // and the incipient phase w0.
    std::optional<double> saturationTemperatureFrom(double P, const std::vector<double>& z, bool bubble,
                                                    double T0, const std::vector<double>& w0) const;
    // The highest saturation temperature (K) on the curve through (T0, P0, w0), searched by
    // golden section in [P0 - dP, P0 + dP] (Pa); the pressure goes to Pmax.
    std::optional<double> highestTemperatureNear(double P0, double dP, const std::vector<double>& z, bool bubble,
                                                 double T0, const std::vector<double>& w0, double& Pmax) const;

private:
    struct Parameters {
        std::vector<double> a;  // Pa m6/mol2 at T
        std::vector<double> b;  // m3/mol
    };
    Parameters parametersAt(double T) const;
    std::optional<double> saturationPressure(double T, const std::vector<double>& z, bool bubble) const;
    // Successive substitution from the pressure P (Pa) and the K-values K.
    std::optional<double> iterate(double T, const std::vector<double>& z, bool bubble, double P,
                                  std::vector<double> K, std::vector<double>* incipient = nullptr) const;

    std::vector<Species> mSpecies;
};

} // namespace quorvel::textbook
