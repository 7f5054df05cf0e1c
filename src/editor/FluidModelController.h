#pragma once
// The fluid model editor: the window of a fluid-model document. It lays out and joins its
// parts, the tables of fluids and components (FluidTableEditor), the model box (ModelBox)
// and the sheets (EditorSheetHost), and itself shows the selected fluid's stock-tank
// summary, its saturation point and a bar chart of its composition.

#include "app/Ports.h"
#include "editor/EditorChanges.h"
#include "editor/EditorSheetHost.h"
#include "editor/FluidTableEditor.h"
#include "editor/ModelBox.h"
#include "editor/StockTank.h"
#include "platform/WindowController.h"

#include <memory>

class QGroupBox;
class QLineEdit;

namespace quorvel {

class EditorSheet;

inline const QString FluidModelLayout = QStringLiteral("fluidModel");

class FluidModelController : public WindowController, public FluidModelEditor
{
    Q_OBJECT

public:
    FluidModelController();
    ~FluidModelController() override;

    void setFluids(const Array& fluids) override;
    Array fluids() const { return mTables.fluids(); }
    void finishGenerateAlphaBetaFluid() override;
    // The stock-tank and saturation calculation (the engine's unless replaced).
    void setStockTankCalculationFactory(StockTankCalculationFactory factory) { mStockTank = std::move(factory); }
    const StockTankCalculationFactory& stockTankCalculationFactory() const { return mStockTank; }

    // The parts, the window loaded first.
    FluidTableEditor& tables();
    EditorSheetHost& sheets();

    // What the sheets ask of the editor.
    int selectedFluidRow() const { return mTables.selectedFluidRow(); }
    bool hasSelectedFluid() const { return mTables.hasSelectedFluid(); }
    FluidRecord selectedFluid() const { return mTables.selectedFluid(); }
    void selectFluidRow(int row) { mTables.selectFluidRow(row); }
    void selectComponentRow(int row) { mTables.selectComponentRow(row); }
    void finishAddFluid(const FluidRecord& fluid, int index) { mTables.finishAddFluid(fluid, index); }
    void finishAddFluids(const QList<FluidRecord>& fluids) { mTables.finishAddFluids(fluids); }
    void beginSheet(EditorSheet& sheet) { mSheets.beginSheet(sheet); }
    FluidRecord createAlphaBetaFluid(double alpha, double beta, double CO2, double N2, double H2S,
                                     const QString& name)
    {
        return mModelBox.createAlphaBetaFluid(alpha, beta, CO2, N2, H2S, name);
    }

    // Stock-tank properties and saturation pressure of the selected fluid.
    void calculateGORAPI();
    void onChangeSaturationPhase();

    // Controls by outlet name ("mMoleEditField", "mSatRadio", ...); the window is loaded first.
    template <class T>
    T* control(const QString& name)
    {
        return window()->findChild<T*>(name);
    }
    MyTableView* fluidsView() { return tables().fluidsView(); }
    MyTableView* componentsView() { return tables().componentsView(); }

protected:
    QWidget* makeWindow() override;
    void windowDidLoad() override;

private:
    struct Controls;

    QGroupBox* makeStockTankBox(QWidget* parent);
    QGroupBox* makeSaturationBox(QWidget* parent);
    QGroupBox* makeChartBox(QWidget* parent);
    void connectControls();
    void refreshFluids();
    void showFluid(FluidRecord fluid);
    void enableSaturationControls(bool enabled);
    void setSaturationFields(double celsius);
    SaturationKind selectedSaturationKind() const;
    void onChangeSaturationTemperature(QLineEdit* field);
    void onSpinTsat(QObject* sender);
    void updatePlotView();
    void onSelectReferenceFluid(QObject* sender);
    void showStockTank(FluidRecord fluid, const StockTankResult& result);
    void clearStockTankFields();

    EditorChanges mChanges;
    FluidTableEditor mTables;
    ModelBox mModelBox;
    EditorSheetHost mSheets;
    StockTankCalculationFactory mStockTank = engineStockTankCalculation();
    std::unique_ptr<Controls> mControls;
};

// Installs the editor behind the documents' port (main, and tests that open fluid-model files).
void installFluidModelEditor();

}  // namespace quorvel
