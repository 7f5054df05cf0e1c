#pragma once
// The fluid model editor: the window of a fluid-model document. A table of the fluids
// (with the "reference" mark), a table of the selected fluid's components, the fluid's
// name, comment and saturation point, the selected component's properties in several
// units, the stock-tank summary and a bar chart of the composition. Edits of records go
// through keyed setters and add/delete primitives that register their inverse with the
// document's undo manager.

#include "app/Ports.h"
#include "editor/FluidRecord.h"
#include "editor/StockTank.h"
#include "platform/WindowController.h"
#include "widgets/MyTableView.h"

#include <QPointer>

#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quorvel {

class CAlphaBetaModelInterface;
class AlphaBetaSheet;
class CBarPlotView;
class EditorSheet;
class FlashSheet;
class FluidTableModel;
class GammaModelInterface;
class LumpSheet;
class SplitSheet;
class TestSheet;
class UndoManager;
class ValueStepper;

inline const QString FluidModelLayout = QStringLiteral("fluidModel");

class FluidModelController : public WindowController, public FluidModelEditor, public MyTableViewDelegate
{
    Q_OBJECT

public:
    FluidModelController();
    ~FluidModelController() override;

    void setFluids(const Array& fluids) override;
    Array fluids() const { return mFluids; }
    void finishGenerateAlphaBetaFluid() override;
    // The stock-tank and saturation calculation (the engine's unless replaced).
    void setStockTankCalculationFactory(StockTankCalculationFactory factory) { mStockTank = std::move(factory); }
    const StockTankCalculationFactory& stockTankCalculationFactory() const { return mStockTank; }
    // The alpha-beta sheet (Montel fit and Tovik estimate), made on first use.
    AlphaBetaSheet& alphaBetaSheet();

    // Data source and delegate of both tables.
    int numberOfRows(const MyTableView* table) const;
    Value objectValue(const MyTableView* table, const QString& key, int row) const;
    void setObjectValue(const MyTableView* table, const Value& value, const QString& key, int row);
    void tableViewSelectionDidChange(MyTableView* table);

    // Selection: the fluid at the fluids table's selected row (the last one selected), the
    // components of the selected fluid's list at the components table's selected rows.
    int selectedFluidRow() const;
    bool hasSelectedFluid() const { return selectedFluidRow() >= 0; }
    FluidRecord selectedFluid() const;
    int selectedComponentRow() const;
    QList<int> selectedComponentRows() const;
    void selectFluidRow(int row);  // -1: none; raises the selection refresh when it changes
    void selectComponentRow(int row);

    // Keyed setters, each registering itself with the old value as its undo.
    void setFluid(FluidRecord fluid, const Value& value, const QString& key);
    void setComponent(ComponentRecord component, const Value& value, const QString& key);

    // Add and delete primitives, each the other's undo. The component primitives act on
    // the fluid they are given, whichever is selected when they run.
    void addFluid(const FluidRecord& fluid, int index);
    void deleteFluid(const FluidRecord& fluid);
    // Several fluids at once, one undoable step: inserted from the row, and taken away again.
    void addFluids(const QList<FluidRecord>& fluids, int index);
    void deleteFluids(const QList<FluidRecord>& fluids);
    void addComponent(FluidRecord fluid, const ComponentRecord& component, int index);
    void deleteComponent(FluidRecord fluid, const ComponentRecord& component);

    // Commands.
    void onAddFluid();
    void onDuplicateFluid();
    void onDeleteFluid();
    void onAddComponent();
    void onDeleteComponent();
    void onAddRow();
    void onDeleteRow();
    void copy();
    void paste();
    void tableViewShiftDownSelectedRow(MyTableView* tableView) override;
    void tableViewShiftUpSelectedRow(MyTableView* tableView) override;
    void tableViewDeleteSelectedRow(MyTableView* tableView) override;

    // Detail editing.
    void onChangeFluidParameter(QObject* sender);
    void onChangeSaturationPhase();
    void onSpinTsat(QObject* sender);
    void onChangeComponentParameter(QObject* sender);
    void comboBoxSelectionDidChange(const QString& item);
    void onSpinComposition();
    void onNormalizeButton();
    void onSelectReferenceFluid(QObject* sender);

    // Stock-tank properties and saturation pressure of the selected fluid.
    void calculateGORAPI();
    void updatePlotView();
    void finishAddFluid(const FluidRecord& fluid, int index);
    // The results of a batch, already in the list: reload, select the last one, mark the
    // document changed, register one undo step that removes them all, post the change.
    void finishAddFluids(const QList<FluidRecord>& fluids);

    // Sheets: begun on the editor's window with sheetDidEnd as their did-end callback,
    // which orders the sheet out.
    void beginSheet(EditorSheet& sheet);
    void sheetDidEnd(EditorSheet* sheet, int returnCode, void* contextInfo);

    FluidRecord referenceFluid() const { return mReferenceFluid; }

    // Imports of text tables chosen by the user, and the fluid report (FluidImports.cpp,
    // FluidReport.cpp).
    void onClickImport();
    void onImportData();
    void onWriteLog();
    // Gives the fluid another component list and fluid type, undoably.
    void replaceComponents(FluidRecord fluid, const Array& components, const Value& fluidType);

    // Compositional models: the model box, the alpha-beta and gamma model fluids.
    void updateModelBoxView(int type, const FluidRecord& fluid);
    void onChooseModel();
    void updateModelDistribution(QObject* sender);
    void generateAlphaBetaFluid();
    void generateAlphaBetaFluidEx();
    void updateAlphaBetaDistribution();
    void updateAlphaBetaExDistribution();
    FluidRecord createAlphaBetaFluid(double alpha, double beta, double CO2, double N2, double H2S,
                                     const QString& name);
    void generateGammaFluid();
    void updateGammaDistribution();

    // Correlations, C7+ selection and equation of state.
    void onChangeCorrelation();
    void restoreCorrelationTo(const ComponentRecord& values, ComponentRecord component);
    void onChangeMwCorrelation();
    void onSelectC7plus();
    void onChangeEquationOfState();
    void restoreEquationOfStateTo(int code, FluidRecord fluid);

    // Controls by outlet name ("mMoleEditField", "mSatRadio", ...); the window is loaded first.
    template <class T>
    T* control(const QString& name)
    {
        return window()->findChild<T*>(name);
    }
    MyTableView* fluidsView() { window(); return mFluidsView; }
    MyTableView* componentsView() { window(); return mComponentsView; }
    CBarPlotView* barPlotView() { window(); return mBarPlotView; }
    FlashSheet* flashSheet();
    TestSheet* testSheet();
    LumpSheet* lumpSheet();
    SplitSheet* splitSheet();

    QStringList answeredActions() const override;
    bool validateAction(const QString& action, QAction* item) override;
    void performAction(const QString& action, QObject* sender) override;

protected:
    QWidget* makeWindow() override;
    void windowDidLoad() override;

private:
    void connectActions();
    void connectModelActions();
    void connectCharacterisationActions();
    void enableComponentEditing(bool editable);
    void setModelStepperRanges(int type);
    bool acceptModelParameter(QObject* sender);
    void makeSheets(QWidget* window);
    void registerUndo(std::function<void()> inverse);
    UndoManager* undoManager() const;
    void markChanged();
    void postModified();
    void reloadFluids();
    void reloadComponents();
    void refreshFluids();
    void refreshComponents();
    void showFluid(FluidRecord fluid);
    void enableFluidControls(bool enabled);
    void enableComponentControls(bool enabled);
    void showComponent(const ComponentRecord& component);
    // The component controls disabled and emptied: no single component is chosen.
    void clearComponentDetails();
    void afterComponentChange(const FluidRecord& fluid);
    void setSaturationFields(double celsius);
    int selectedSatPhase() const;
    int selectedModelType() const;
    void moveSelectedRow(MyTableView* table, int step);
    void showStockTank(FluidRecord fluid, const StockTankResult& result);
    void clearStockTankFields();

    Array mFluids;
    FluidRecord mReferenceFluid;  // null identity when none
    bool mHasReference = false;
    StockTankCalculationFactory mStockTank = engineStockTankCalculation();
    std::unique_ptr<AlphaBetaSheet> mAlphaBetaSheet;
    bool mReloading = false;       // table reloads raise no selection refresh
    bool mDeferComponentRefresh = false;  // while several components go at once

    QPointer<MyTableView> mFluidsView;
    QPointer<MyTableView> mComponentsView;
    FluidTableModel* mFluidsModel = nullptr;
    FluidTableModel* mComponentsModel = nullptr;
    QPushButton* mFluidAddButton = nullptr;
    QPushButton* mFluidDeleteButton = nullptr;
    QLineEdit* mFluidNameEdit = nullptr;
    QLineEdit* mFluidCommentEdit = nullptr;
    QLineEdit* mMcCainType = nullptr;
    QComboBox* mEquationOfState = nullptr;
    QComboBox* mComponentCombo = nullptr;
    QLineEdit* mMoleEditField = nullptr;
    ValueStepper* mSpinMole = nullptr;
    QLineEdit* mMWEditField = nullptr;
    QLineEdit* mSGEditField = nullptr;
    QLineEdit* mTcEditField = nullptr;
    QLineEdit* mTkEditField = nullptr;
    QLineEdit* mPcEditField = nullptr;
    QLineEdit* mOmegaEditField = nullptr;
    QLineEdit* mTbEditField = nullptr;
    QLineEdit* mTbKEditField = nullptr;
    QLineEdit* mVcEditField = nullptr;
    QLineEdit* mTcREditField = nullptr;
    QLineEdit* mTbREditField = nullptr;
    QLineEdit* mPcPsiaEditField = nullptr;
    QLineEdit* mVcFtEditField = nullptr;
    QComboBox* mMwChoice = nullptr;
    QComboBox* mCorrelationChoice = nullptr;
    QPushButton* mLogButton = nullptr;
    QPushButton* mImportButton = nullptr;
    QPushButton* mAddButton = nullptr;
    QPushButton* mDeleteButton = nullptr;
    QPushButton* mNormalizeButton = nullptr;
    CBarPlotView* mBarPlotView = nullptr;
    QLineEdit* mGOREditField = nullptr;
    QLineEdit* mAPIEditField = nullptr;
    QLineEdit* mAPCEditField = nullptr;
    QLineEdit* mC7plusEditField = nullptr;
    QLineEdit* mMWC7plusEditField = nullptr;
    QLineEdit* mSGC7plusEditField = nullptr;
    QButtonGroup* mModelRadio = nullptr;
    QRadioButton* mUserDefinedRadio = nullptr;
    QLineEdit* mAlphaEditField = nullptr;
    QLineEdit* mBetaEditField = nullptr;
    QLineEdit* mDeltaEditField = nullptr;
    QLineEdit* mCO2EditField = nullptr;
    QLineEdit* mN2EditField = nullptr;
    QLineEdit* mH2SEditField = nullptr;
    ValueStepper* mSpinAlpha = nullptr;
    ValueStepper* mSpinBeta = nullptr;
    ValueStepper* mSpinDelta = nullptr;
    QCheckBox* mNormalizeCheckBox = nullptr;
    QRadioButton* mOldSelectedModelRadio = nullptr;
    QPushButton* mSplitButton = nullptr;
    QComboBox* mSplitChoice = nullptr;
    QComboBox* mSplitLastCombo = nullptr;
    QLineEdit* mTsatEditField0 = nullptr;
    QLineEdit* mTsatEditField1 = nullptr;
    QLineEdit* mPsatEditField0 = nullptr;
    QLineEdit* mPsatEditField1 = nullptr;
    ValueStepper* mSpinTsat0 = nullptr;
    ValueStepper* mSpinTsat1 = nullptr;
    QButtonGroup* mSatRadio = nullptr;
    QPushButton* mLumpButton = nullptr;
    QPushButton* mAlphaBetaize = nullptr;
    QLineEdit* mMoleSum = nullptr;
    QPushButton* mSelectC7plus = nullptr;
    QPushButton* mImportFileButton = nullptr;
    QPushButton* mDuplicateButton = nullptr;
    QPushButton* mFlashButton = nullptr;
    QPushButton* mMixButton = nullptr;
    QPushButton* mTestButton = nullptr;
    QCheckBox* mReferenceCheckBox = nullptr;
    std::unique_ptr<CAlphaBetaModelInterface> mAlphaBetaInterface;
    std::unique_ptr<GammaModelInterface> mGammaInterface;  // made on first use
    bool mRefreshComponentsView = false;
    QPointer<FlashSheet> mFlashSheet;
    QPointer<TestSheet> mTestSheet;
    QPointer<LumpSheet> mLumpSheet;
    QPointer<SplitSheet> mSplitSheet;
};

// Installs the editor behind the documents' port (main, and tests that open fluid-model files).
void installFluidModelEditor();

}  // namespace quorvel
