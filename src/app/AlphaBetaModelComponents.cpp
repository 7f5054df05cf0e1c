#include "app/AlphaBetaModelComponents.h"

#include "calc/CAlphaBetaModelInterface.h"
#include "calc/FluidRecordKeys.h"
#include "characterisation/Correlations.h"

namespace quorvel {

void writeAlphaBetaModelProperties(const CAlphaBetaModelInterface& model, int i, Dictionary component)
{
    constexpr double kBarPerPascal = 1e-5;
    constexpr double kCm3PerM3 = 1e6;
    component.setValue(componentkey::mole, model.getMoleFraction(i) * 100);
    component.setValue(componentkey::mw, model.getMw(i));
    component.setValue(componentkey::tc, kelvinToCelsius(model.getTc(i)));
    component.setValue(componentkey::pc, model.getPc(i) * kBarPerPascal);
    component.setValue(componentkey::vc, model.getVc(i) * kCm3PerM3);
    component.setValue(componentkey::omega, model.getOmega(i));
    if (i > kLastNamedAlphaBetaComponent)
        component.setValue(componentkey::sg, getJianzhongSG(model.getMw(i)));
}

Dictionary alphaBetaModelComponent(const CAlphaBetaModelInterface& model, int i)
{
    Dictionary component;
    setComponentName(QString::fromStdString(model.getComponentName(i)), component, CorrelationCode::jianzhong0);
    writeAlphaBetaModelProperties(model, i, component);
    return component;
}

}  // namespace quorvel
