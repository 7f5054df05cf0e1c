#pragma once
// What the alpha-beta curve calculation asks of the engine: the inclusion's data in,
// one curve point per step out. The model interface of the calculation layer is the
// engine of the application; tests script their own.

#include "calc/AlphaBetaCodes.h"
#include "thermo/Homogenisation.h"

#include <functional>
#include <memory>

namespace quorvel {

class AlphaBetaCurveEngine
{
public:
    virtual ~AlphaBetaCurveEngine() = default;

    // Kelvin and fractions.
    virtual void setTh(double value) = 0;
    virtual void setTfv(double value) = 0;
    virtual void setFv(double value) = 0;
    virtual void setCO2(double value) = 0;
    virtual void setN2(double value) = 0;
    virtual void setH2S(double value) = 0;
    virtual void setHomog(Homogenisation value) = 0;
    // Record units: degrees Celsius and percent.
    virtual void setInputParameters(double Th, double Tfv, double Fv, double CO2, double N2, double H2S,
                                    Homogenisation homog) = 0;

    virtual double getTh() const = 0;
    virtual double getTfv() const = 0;
    virtual double getFv() const = 0;
    virtual double getCO2() const = 0;
    virtual double getN2() const = 0;
    virtual double getH2S() const = 0;
    virtual Homogenisation getHomog() const = 0;

    // No failure and a point (pressure in bar), or the equilibrium failure.
    [[nodiscard]] virtual equilibrium_failure firstAlphaBeta(double* alpha, double* beta, double* P) = 0;
    // A point, a retry after halving the step, or the curve's end.
    [[nodiscard]] virtual AlphaBetaStep nextAlphaBeta(double* alpha, double* beta, double* P) = 0;
    // The failure of the last step, which picks the alert of a curve's end.
    [[nodiscard]] virtual equilibrium_failure getErrorMessageIndex() const = 0;

    using Factory = std::function<std::unique_ptr<AlphaBetaCurveEngine>()>;
    // A new engine of the installed factory; the alpha-beta model by default.
    static std::unique_ptr<AlphaBetaCurveEngine> make();
    static void setFactory(Factory factory);  // none: back to the alpha-beta model
};

}  // namespace quorvel
