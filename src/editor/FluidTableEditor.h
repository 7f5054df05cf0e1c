#pragma once
// The editing of the fluid model editor's two tables: the list of fluids (with the
// "reference" mark) and the selected fluid's components, with the selected component in
// detail (ComponentDetails), and the commands on both lists. Edits of records go through
// keyed setters and add/delete primitives that register their inverse as the undo.

#include "editor/ComponentDetails.h"
#include "editor/FluidRecord.h"
#include "editor/FluidTableModel.h"
#include "widgets/MyTableView.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QGroupBox;
class QPushButton;

namespace quorvel {

class EditorChanges;

class FluidTableEditor : public QObject, public MyTableViewDelegate
{
    Q_OBJECT

public:
    // What the tables ask of the window around them.
    struct Hooks
    {
        std::function<void()> refreshFluids;       // the selection shown again in every box
        std::function<void()> compositionChanged;  // stock tank, saturation and chart again
        std::function<void()> updatePlotView;      // the chart of the selected fluid
        std::function<bool()> isUserDefined;       // the model in force is a list edited by hand
        std::function<QWidget*()> window;          // made on first use
    };

    FluidTableEditor(const EditorChanges& changes, Hooks hooks);
    ~FluidTableEditor() override;

    // The tables, then the boxes that show them: the fluids box shows the sheets' buttons
    // after its own.
    using SheetButtonsMaker = std::function<QList<QPushButton*>(QWidget* box)>;
    void makeTables(QWidget* parent);
    QGroupBox* makeFluidsBox(QWidget* parent, const SheetButtonsMaker& makeSheetButtons);
    QGroupBox* makeComponentsBox(QWidget* parent);
    void finishControls();

    Array fluids() const { return mFluids; }
    void setFluids(const Array& fluids);
    FluidRecord referenceFluid() const { return mReferenceFluid; }

    // Selection: the fluid at the fluids table's selected row (the last one selected), the
    // components of the selected fluid's list at the components table's selected rows.
    int selectedFluidRow() const;
    bool hasSelectedFluid() const { return selectedFluidRow() >= 0; }
    bool hasSingleFluidSelected() const;
    FluidRecord selectedFluid() const;
    int selectedComponentRow() const;
    QList<int> selectedComponentRows() const;
    void selectFluidRow(int row);  // -1: none; raises the selection refresh when it changes
    void selectComponentRow(int row);
    // The first fluid selected without the selection refresh.
    void selectFirstFluidQuietly();
    bool hasFluidsSelection() const;
    MyTableView* fluidsView() const { return mFluidsView; }
    MyTableView* componentsView() const { return mComponentsView; }

    // Showing the selection.
    void reloadFluids();
    void reloadComponents();
    void refreshComponents();
    void clearComponentDetails();  // no single component is chosen
    void showFluidHeader(const FluidRecord& fluid);
    void enableFluidControls(bool enabled);
    // The component list of a generated model is read-only; a user-defined list is edited by hand.
    void enableComponentEditing(bool editable);
    void showMcCainType(const QString& type);
    [[nodiscard]] double selectedMoleSum() const;
    ComponentDetails& details() { return mDetails; }

    // Keyed setters, each registering itself with the old value as its undo.
    void setFluid(FluidRecord fluid, const Value& value, const QString& key);
    void setComponent(ComponentRecord component, const Value& value, const QString& key);
    // Several fluids at once, one undoable step: inserted from the row, and taken away again.
    void addFluids(const QList<FluidRecord>& fluids, int index);
    // Gives the fluid another component list and fluid type, undoably.
    void replaceComponents(FluidRecord fluid, const Array& components, const Value& fluidType);
    // The components shown again after a change of the fluid's list, when it is the one shown.
    void afterComponentChange(const FluidRecord& fluid);
    void finishAddFluid(const FluidRecord& fluid, int index);
    // The results of a batch, already in the list: reload, select the last one, mark the
    // document changed, register one undo step that removes them all, post the change.
    void finishAddFluids(const QList<FluidRecord>& fluids);
    void finishGenerateAlphaBetaFluid();

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

    void onNormalizeButton();
    // C7+ selection and equation of state (EditorCorrelations.cpp).
    void onSelectC7plus();
    void onChangeEquationOfState();

    // Imports of text tables chosen by the user, and the fluid report (FluidImports.cpp,
    // FluidReport.cpp).
    void onClickImport();
    void onImportData();
    void onWriteLog();

    struct Controls;  // FluidTableControls.h

private:

    MyTableView* makeTable(QWidget* parent, const QString& outlet, const QList<FluidTableModel::Column>& columns,
                           FluidTableModel*& model);
    void connectControls();
    void connectCharacterisationControls();
    int numberOfRows(const MyTableView* table) const;
    Value objectValue(const MyTableView* table, const QString& key, int row) const;
    void setObjectValue(const MyTableView* table, const Value& value, const QString& key, int row);
    void tableViewSelectionDidChange(MyTableView* table);
    // The keyed setter with the record's old value registered as the undo; false when the
    // record holds the value already.
    using Setter = void (FluidTableEditor::*)(Dictionary, const Value&, const QString&);
    [[nodiscard]] bool registerSetterUndo(Setter setter, const Dictionary& record, const Value& value,
                                          const QString& key);
    void moveSelectedRow(MyTableView* table, int step);
    // Add and delete primitives, each the other's undo. The component primitives act on
    // the fluid they are given, whichever is selected when they run.
    void addFluid(const FluidRecord& fluid, int index);
    void deleteFluid(const FluidRecord& fluid);
    void deleteFluids(const QList<FluidRecord>& fluids);
    void addComponent(FluidRecord fluid, const ComponentRecord& component, int index);
    void deleteComponent(FluidRecord fluid, const ComponentRecord& component);
    void restoreEquationOfStateTo(EquationOfState eos, FluidRecord fluid);

    const EditorChanges& mChanges;
    Hooks mHooks;
    ComponentDetails mDetails;
    Array mFluids;
    FluidRecord mReferenceFluid;  // null identity when none
    bool mHasReference = false;
    bool mReloading = false;              // table reloads raise no selection refresh
    bool mDeferComponentRefresh = false;  // while several components go at once
    QPointer<MyTableView> mFluidsView;
    QPointer<MyTableView> mComponentsView;
    FluidTableModel* mFluidsModel = nullptr;
    FluidTableModel* mComponentsModel = nullptr;
    std::unique_ptr<Controls> mControls;
};

}  // namespace quorvel
