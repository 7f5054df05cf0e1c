#include "app/AlphaBetaCurveEngine.h"

#include "calc/CAlphaBetaModelInterface.h"

namespace quorvel {

namespace {

class ModelCurveEngine : public AlphaBetaCurveEngine
{
public:
    void setTh(double value) override { model.setTh(value); }
    void setTfv(double value) override { model.setTfv(value); }
    void setFv(double value) override { model.setFv(value); }
    void setCO2(double value) override { model.setCO2(value); }
    void setN2(double value) override { model.setN2(value); }
    void setH2S(double value) override { model.setH2S(value); }
    void setHomog(Homogenisation value) override { model.setHomog(value); }
    void setInputParameters(double Th, double Tfv, double Fv, double CO2, double N2, double H2S,
                            Homogenisation homog) override
    {
        model.setInputParameters(Th, Tfv, Fv, CO2, N2, H2S, homog);
    }

    double getTh() const override { return model.getTh(); }
    double getTfv() const override { return model.getTfv(); }
    double getFv() const override { return model.getFv(); }
    double getCO2() const override { return model.getCO2(); }
    double getN2() const override { return model.getN2(); }
    double getH2S() const override { return model.getH2S(); }
    Homogenisation getHomog() const override { return model.getHomog(); }

    equilibrium_failure firstAlphaBeta(double* alpha, double* beta, double* P) override
    {
        return model.firstAlphaBeta(alpha, beta, P);
    }
    AlphaBetaStep nextAlphaBeta(double* alpha, double* beta, double* P) override
    {
        return model.nextAlphaBeta(alpha, beta, P);
    }
    equilibrium_failure getErrorMessageIndex() const override { return model.getErrorMessageIndex(); }

private:
    CAlphaBetaModelInterface model;
};

AlphaBetaCurveEngine::Factory& installedFactory()
{
    static AlphaBetaCurveEngine::Factory factory;
    return factory;
}

}  // namespace

std::unique_ptr<AlphaBetaCurveEngine> AlphaBetaCurveEngine::make()
{
    if (installedFactory())
        return installedFactory()();
    return std::make_unique<ModelCurveEngine>();
}

void AlphaBetaCurveEngine::setFactory(Factory factory)
{
    installedFactory() = std::move(factory);
}

}  // namespace quorvel
