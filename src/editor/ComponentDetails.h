#pragma once
// The selected component of the fluid model editor in detail: its name, its mole percent
// with a stepper (which may keep the composition at 100 %), its properties in several units,
// and their re-estimation by a correlation (undoable) or by a molar-weight rule.

#include "editor/FluidRecord.h"

#include <QObject>

#include <functional>
#include <memory>

class QGridLayout;

namespace quorvel {

class EditorChanges;
class FluidTableEditor;

class ComponentDetails : public QObject
{
    Q_OBJECT

public:
    ComponentDetails(FluidTableEditor& tables, const EditorChanges& changes,
                     std::function<void()> compositionChanged);
    ~ComponentDetails() override;

    // The controls, made in the components box, then laid out from the grid's row.
    void makeControls(QWidget* box);
    void layOut(QGridLayout& grid, int firstRow, QWidget* box);
    void finishControls();

    void showComponent(const ComponentRecord& component);
    void showName(const QString& name);
    void showMoleSum(double sum);
    void clear();
    void enableProperties(bool enabled);
    void enableNaming(bool enabled);
    void enableCorrelations(bool enabled);
    // Read-only for a generated model's list.
    void setEditable(bool editable);

    // Edits of the selected component.
    void onChangeComponentParameter(QObject* sender);
    void comboBoxSelectionDidChange(const QString& item);
    void onSpinComposition();
    // Of the selected components.
    void onChangeCorrelation();
    void onChangeMwCorrelation();

private:
    struct Controls;

    void connectControls();
    void restoreCorrelationTo(const ComponentRecord& values, ComponentRecord component);

    FluidTableEditor& mTables;
    const EditorChanges& mChanges;
    std::function<void()> mCompositionChanged;
    std::unique_ptr<Controls> mControls;
};

}  // namespace quorvel
