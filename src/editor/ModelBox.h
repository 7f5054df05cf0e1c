#pragma once
// The model box of the fluid model editor: which compositional model the selected fluid
// follows (a list edited by hand, alpha-beta, alpha-beta by carbon number, gamma), the
// model's parameters with their steppers, and the model fluid rebuilt when one changes.

#include "editor/FluidRecord.h"

#include <QObject>

#include <functional>
#include <memory>

class QAbstractButton;
class QGroupBox;

namespace quorvel {

class CAlphaBetaModelInterface;
class EditorChanges;
class FluidTableEditor;
class GammaModelInterface;

class ModelBox : public QObject
{
    Q_OBJECT

public:
    // What the box asks of the window around it.
    struct Hooks
    {
        std::function<void()> compositionChanged;         // stock tank, saturation and chart again
        std::function<void()> updatePlotView;             // the chart of the selected fluid
        std::function<void(bool)> enableAlphaBetaFitting;  // the alpha-beta sheet's button
    };

    ModelBox(FluidTableEditor& tables, const EditorChanges& changes, Hooks hooks);
    ~ModelBox() override;

    QGroupBox* makeBox(QWidget* parent);
    // The fields take their defaults before the first fluid is shown, which sets them.
    void finishControls();

    // The fluid's model checked and its parameters shown.
    void showModelOf(const FluidRecord& fluid);
    void updateModelBoxView(FluidType type, const FluidRecord& fluid);
    bool isUserDefined() const;

    void onChooseModel();
    void updateModelDistribution(QObject* sender);
    // The complete record of an alpha-beta fluid fitted to another one's name (AlphaBetaFluids.cpp).
    FluidRecord createAlphaBetaFluid(double alpha, double beta, double CO2, double N2, double H2S,
                                     const QString& name);

    struct Controls;  // ModelBoxControls.h

private:

    void connectControls();
    // The model cells are numbered by the fluid types they choose.
    FluidType checkedModel() const;
    QAbstractButton* modelCell(FluidType type) const;
    void setModelStepperRanges(FluidType type);
    void enableParameterFields(bool enabled, bool delta);
    bool acceptModelParameter(QObject* sender);
    void syncFieldsAndSteppers(FluidType type, QObject* sender);
    // Model fluids (AlphaBetaFluids.cpp, GammaFluids.cpp).
    void generateAlphaBetaFluid();
    void generateAlphaBetaFluidEx();
    void updateAlphaBetaDistribution();
    void updateAlphaBetaExDistribution();
    void generateGammaFluid();
    void updateGammaDistribution();
    void showNewComponents();

    FluidTableEditor& mTables;
    const EditorChanges& mChanges;
    Hooks mHooks;
    std::unique_ptr<Controls> mControls;
    std::unique_ptr<CAlphaBetaModelInterface> mAlphaBetaInterface;
    std::unique_ptr<GammaModelInterface> mGammaInterface;  // made on first use
};

}  // namespace quorvel
