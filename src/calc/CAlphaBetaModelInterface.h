#pragma once

#include "calc/AlphaBetaCodes.h"
#include "thermo/Montel.h"
#include "thermo/Oil1.h"

#include <QString>

#include <memory>
#include <string>

namespace quorvel {

// Where a grid went: whether the file was written, and why not.
struct GridWriteResult {
    bool written = false;
    QString error;  // empty when written
};

// The calculation object of the alpha-beta model: a petroleum fluid given by the two
// distribution parameters alpha and beta and its CO2, N2 and H2S contents, expanded by the
// engine into 17 components on two Montel phase models.
//
// It traces the alpha-beta curve of one inclusion (the (alpha, beta) pairs whose model
// fluid, kept at its saturation volume at Th, shows the vapour fraction Fv at Tfv), gives
// the composition and component properties of any (alpha, beta), and writes the
// developers' grids of the alpha-beta plane.
//
// Temperatures are in kelvin and contents are fractions, except in setInputParameters.
// The composition calls and the grids change the engine's fluid: they must not be
// interleaved with a curve on the same instance.
class CAlphaBetaModelInterface {
public:
    CAlphaBetaModelInterface();
    ~CAlphaBetaModelInterface();
    CAlphaBetaModelInterface(const CAlphaBetaModelInterface&) = delete;
    CAlphaBetaModelInterface& operator=(const CAlphaBetaModelInterface&) = delete;

    // ---- Inclusion data ----
    void setTh(double value) { Th = value; }
    double getTh() const { return Th; }
    void setTfv(double value) { Tfv = value; }
    double getTfv() const { return Tfv; }
    void setFv(double value) { Fv = value; }
    double getFv() const { return Fv; }
    void setCO2(double value) { CO2 = value; }
    double getCO2() const { return CO2; }
    void setN2(double value) { N2 = value; }
    double getN2() const { return N2; }
    void setH2S(double value) { H2S = value; }
    double getH2S() const { return H2S; }
    void setHomog(Homogenisation value) { homog = value; }
    Homogenisation getHomog() const { return homog; }
    // All inputs from record units: Th and Tfv in degrees Celsius, Fv and the gases in percent.
    void setInputParameters(double Th, double Tfv, double Fv, double CO2, double N2, double H2S,
                            Homogenisation homog);

    // ---- The engine ----
    [[nodiscard]] Oil1* engine() const { return oil.get(); }
    [[nodiscard]] Montel* liquidModel() const { return liquidPhase.get(); }
    [[nodiscard]] Montel* vapourModel() const { return vapourPhase.get(); }

    // ---- The curve's state ----
    [[nodiscard]] double getAlpha() const { return alpha; }
    [[nodiscard]] double getBeta() const { return beta; }
    [[nodiscard]] double getLastAlpha() const { return lastAlpha; }  // of the last point found
    [[nodiscard]] double getLastBeta() const { return lastBeta; }
    [[nodiscard]] double getStep() const { return step; }  // factor of the beta increment
    // The next point of the curve is sought from (fromAlpha, fromBeta), as if that were the last found.
    void resumeCurveFrom(double fromAlpha, double fromBeta) { lastAlpha = fromAlpha; lastBeta = fromBeta; }

    // The equilibrium failure of the last engine step, by which the application picks its message.
    [[nodiscard]] equilibrium_failure getErrorMessageIndex() const { return errorIndex; }

    // ---- The model fluid ----
    int getNumberOfComponents() const;
    // Name of component i; empty outside 0 .. getNumberOfComponents() - 1.
    std::string getComponentName(int i) const;
    // Per-component values; not-a-number outside the component range.
    double getMoleFraction(int i) const;  // current feed
    double getTc(int i) const;            // K
    double getPc(int i) const;            // Pa
    double getOmega(int i) const;
    double getMw(int i) const;            // g/mol
    double getVc(int i) const;            // m3/mol
    double getCt0(int i) const;           // volume translation c = Ct0 + Ct1 T, m3/mol
    double getCt1(int i) const;           // m3/(mol K)

    // Makes the engine's fluid the one of (alpha, beta) with the given gas fractions.
    // False when the engine finds no sound composition there: it then keeps the previous one.
    bool calculateComposition(double alpha, double beta, double CO2, double N2, double H2S);
    // Stock-tank properties of the current fluid; the results stay in the engine.
    void calculateGOR(double unused = 0);

    // ---- The alpha-beta curve of the inclusion ----
    // First point, always at beta 0. Returns the equilibrium failure (none: a point, with
    // P the homogenisation pressure in bar).
    [[nodiscard]] equilibrium_failure firstAlphaBeta(double* alpha, double* beta, double* P);
    // Next point: pointFound with the point, retry (call again, with a halved beta step), or
    // curveEnd.
    [[nodiscard]] AlphaBetaStep nextAlphaBeta(double* alpha, double* beta, double* P);

    // ---- Grids of the alpha-beta plane, written as Igor text into `folder` ----
    GridWriteResult calculateCompoGrid(const QString& folder);    // "grid1.txt"
    GridWriteResult calculateMacCainGrid(const QString& folder);  // "grid2.txt"
    GridWriteResult calculateFvGrid(const QString& folder);       // "grid3.txt"
    GridWriteResult calculateGORAPIGrid(const QString& folder);   // "grid.txt"

    // One row of grid3.txt for the point (alpha, beta), or an empty text when the engine
    // finds no vapour fraction there.
    QByteArray fvGridRow(double alpha, double beta);

    // ---- Alpha of a given beta for a stock-tank API gravity or gas-oil ratio ----
    // found with *alpha set, or notFound with *alpha unchanged. The first forms
    // start from alpha 0.8, the next forms from *alpha.
    [[nodiscard]] AlphaSearch firstAlphaBetaAPI(double API, double* alpha, double beta);
    [[nodiscard]] AlphaSearch nextAlphaBetaAPI(double API, double* alpha, double beta);
    [[nodiscard]] AlphaSearch firstAlphaBetaGOR(double GOR, double* alpha, double beta);
    [[nodiscard]] AlphaSearch nextAlphaBetaGOR(double GOR, double* alpha, double beta);

private:
    // Solves alpha at the engine's beta; the failure code goes to errorIndex.
    bool solveAlpha();
    // The solved point becomes the last one and goes to the out-arguments.
    void acceptPoint(double* alphaOut, double* betaOut, double* P);
    [[nodiscard]] AlphaSearch alphaForTarget(double start, double* alphaOut, double beta, double target, bool api);

    std::unique_ptr<Montel> liquidPhase;
    std::unique_ptr<Montel> vapourPhase;
    std::unique_ptr<Oil1> oil;
    double Th = 0;     // K
    double Tfv = 0;    // K
    double Fv = 0;     // volumetric vapour fraction
    double CO2 = 0;    // mole fractions
    double N2 = 0;
    double H2S = 0;
    Homogenisation homog = Homogenisation::toLiquid;
    double alpha = 0;
    double beta = 0;
    double step = 1;   // factor of the beta increment, 0 < step <= 1
    double lastAlpha = 0;
    double lastBeta = 0;
    equilibrium_failure errorIndex = equilibrium_failure::none;
};

} // namespace quorvel
