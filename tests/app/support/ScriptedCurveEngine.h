#pragma once
// An alpha-beta curve engine that plays a script of steps per homogenisation temperature,
// in place of the model, for the document and panel tests.

#include "app/AlphaBetaCurveEngine.h"

#include <deque>
#include <map>

namespace quorvel::test {

constexpr double kCelsiusZero = 273.15;

// A step's code as the script gives it: 0 a point; for a first step otherwise the number of
// its equilibrium failure, for a next step 1 a retry and -1 the curve's end.
struct EngineStep
{
    signed char code;
    double alpha = 0, beta = 0, pressure = 0;
    int errorIndex = 0;
};

// Steps by Th in kelvin, as the engine holds it; an inclusion without steps ends at once (-1).
struct EngineScript
{
    std::map<double, std::deque<EngineStep>> stepsByTh;
    int steps = 0;
    int liveEngines = 0;
    int enginesMade = 0;
};

class ScriptedCurveEngine : public AlphaBetaCurveEngine
{
public:
    explicit ScriptedCurveEngine(EngineScript& script) : mScript(script)
    {
        ++mScript.liveEngines;
        ++mScript.enginesMade;
    }
    ~ScriptedCurveEngine() override { --mScript.liveEngines; }

    void setTh(double v) override { mTh = v; }
    void setTfv(double v) override { mTfv = v; }
    void setFv(double v) override { mFv = v; }
    void setCO2(double v) override { mCO2 = v; }
    void setN2(double v) override { mN2 = v; }
    void setH2S(double v) override { mH2S = v; }
    void setHomog(Homogenisation v) override { mHomog = v; }
    void setInputParameters(double th, double tfv, double fv, double co2, double n2, double h2s,
                            Homogenisation mode) override
    {
        mTh = th + kCelsiusZero, mTfv = tfv + kCelsiusZero, mFv = fv / 100, mCO2 = co2 / 100, mN2 = n2 / 100;
        mH2S = h2s / 100, mHomog = mode;
    }
    double getTh() const override { return mTh; }
    double getTfv() const override { return mTfv; }
    double getFv() const override { return mFv; }
    double getCO2() const override { return mCO2; }
    double getN2() const override { return mN2; }
    double getH2S() const override { return mH2S; }
    Homogenisation getHomog() const override { return mHomog; }
    equilibrium_failure firstAlphaBeta(double* a, double* b, double* p) override
    {
        const signed char code = step(a, b, p);
        if (code == 0)
            return equilibrium_failure::none;
        return code > 0 ? static_cast<equilibrium_failure>(code) : equilibrium_failure::solve_failed;
    }
    AlphaBetaStep nextAlphaBeta(double* a, double* b, double* p) override
    {
        switch (step(a, b, p)) {
        case 0: return AlphaBetaStep::pointFound;
        case 1: return AlphaBetaStep::retry;
        default: return AlphaBetaStep::curveEnd;
        }
    }
    equilibrium_failure getErrorMessageIndex() const override { return static_cast<equilibrium_failure>(mErrorIndex); }

private:
    signed char step(double* a, double* b, double* p)
    {
        ++mScript.steps;
        std::deque<EngineStep>& steps = mScript.stepsByTh[mTh];
        if (steps.empty())
            return -1;
        const EngineStep next = steps.front();
        steps.pop_front();
        mErrorIndex = next.errorIndex;
        if (next.code == 0)
            *a = next.alpha, *b = next.beta, *p = next.pressure;
        return next.code;
    }
    EngineScript& mScript;
    double mTh = 0, mTfv = 0, mFv = 0, mCO2 = 0, mN2 = 0, mH2S = 0;
    Homogenisation mHomog = Homogenisation::toVapour;
    int mErrorIndex = 0;
};

}  // namespace quorvel::test
