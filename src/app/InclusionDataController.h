#pragma once
// The inclusion editor: the window of an inclusion-data document. A table of the
// inclusions, a table of the selected inclusion's volume points, fields for both, add
// and delete commands, and the selected inclusion's bubble-volume diagram. Every edit
// is undoable through the document's undo manager and posts "InclusionsDataDocModified".

#include "platform/Value.h"
#include "platform/WindowController.h"

#include "widgets/MyTableView.h"

#include <QPointer>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quorvel {

class CPlotView;
class UndoManager;
class MyTableView;
class RecordTableModel;

class InclusionDataController : public WindowController
{
    Q_OBJECT

public:
    InclusionDataController();
    ~InclusionDataController() override;

    void setInclusionsArray(const Array& inclusions);
    Array inclusionsArray() const { return mInclusionsArray; }

    // Selection: the record at the inclusions table's selected row, the point at the volumes
    // table's selected row in that record's "volumes"; none without a selected row.
    Dictionary selectedInclusion() const;  // a null-identity check: hasSelectedInclusion
    bool hasSelectedInclusion() const;
    int selectedInclusionRow() const;
    int selectedVolumeRow() const;
    void selectInclusionRow(int row);  // -1: none
    void selectVolumeRow(int row);

    // Table data source.
    int numberOfRows(const MyTableView* table) const;
    Value objectValue(const MyTableView* table, const QString& key, int row) const;
    void setObjectValue(const MyTableView* table, const Value& value, const QString& key, int row);
    void tableViewSelectionDidChange(MyTableView* table);

    // Edit actions, from the inclusion's controls and the point's fields.
    void onChangeParameters(QObject* sender);
    void onChangeTvol(QObject* sender);
    void onChangeFvol(QObject* sender);
    void setInclusion(const Dictionary& inclusion, const Value& value, const QString& key);
    void setInclusionVolume(const Dictionary& inclusion, const Dictionary& point, const Value& value,
                            const QString& key);

    // Add and delete commands.
    void onAddInclusion();
    void onAddRow() { onAddInclusion(); }
    void onDeleteInclusion();
    void onDeleteRow();
    void onAddVolume();
    void onDeleteVolume();

    // Undo primitives, each the inverse of the other. The volume primitives act on the
    // inclusion they are given, whichever is selected when they run.
    void addInclusion(const Dictionary& inclusion, int index);
    void deleteInclusion(const Dictionary& inclusion);
    void addVolume(const Dictionary& inclusion, const Dictionary& point, int index);
    void deleteVolume(const Dictionary& inclusion, const Dictionary& point);

    void updatePlotView();

    // Controls, for the window's users and tests (the window is loaded first).
    MyTableView* inclusionsView() { window(); return mInclusionsView; }
    MyTableView* volumesView() { window(); return mVolumesView; }
    QLineEdit* field(const QString& key);  // "name", "Th", ..., "Tvol", "Fvol"
    QRadioButton* homogCell(int column);
    QComboBox* type0Popup() { window(); return mType0Popup; }
    QPushButton* deleteInclusionButton() { window(); return mDeleteInclusionButton; }
    QPushButton* addVolumeButton() { window(); return mAddVolumeButton; }
    QPushButton* deleteVolumeButton() { window(); return mDeleteVolumeButton; }
    CPlotView* plotView() { window(); return mPlotView; }

protected:
    QWidget* makeWindow() override;
    void windowDidLoad() override;

private:
    UndoManager* undoManager() const;
    void postModified();
    void reloadTable(MyTableView* table);
    void refreshInclusionControls();
    void refreshVolumeControls();
    void showInclusion(const Dictionary& inclusion);
    void enableInclusionControls(bool enabled);
    void setVolumeFields(const Dictionary* point);
    Value valueOfControl(QObject* sender, QString* key) const;
    Value typedValue(const QString& key, const QString& text) const;
    void changeSelectedPoint(QObject* sender, const QString& key);
    Array selectedVolumes() const;

    Array mInclusionsArray;
    bool mHasArray = false;
    QPointer<MyTableView> mInclusionsView;
    QPointer<MyTableView> mVolumesView;
    RecordTableModel* mInclusionsModel = nullptr;
    RecordTableModel* mVolumesModel = nullptr;
    QLineEdit* mInclusionEditField = nullptr;
    QLineEdit* mThEditField = nullptr;
    QLineEdit* mFvEditField = nullptr;
    QLineEdit* mTvEditField = nullptr;
    QButtonGroup* mHomogCheck = nullptr;
    QLineEdit* mCO2EditField = nullptr;
    QLineEdit* mN2EditField = nullptr;
    QLineEdit* mH2SEditField = nullptr;
    QLineEdit* mTvolEditField = nullptr;
    QLineEdit* mFvolEditField = nullptr;
    QComboBox* mType0Popup = nullptr;
    QLineEdit* mType1EditField = nullptr;
    QLineEdit* mCommentEditField = nullptr;
    QPushButton* mAddInclusionButton = nullptr;
    QPushButton* mDeleteInclusionButton = nullptr;
    QPushButton* mAddVolumeButton = nullptr;
    QPushButton* mDeleteVolumeButton = nullptr;
    CPlotView* mPlotView = nullptr;
};

// The undo action name of an inclusion key ("Th Change", ...).
QString inclusionActionName(const QString& key);

}  // namespace quorvel
