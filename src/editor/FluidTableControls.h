#pragma once
// The controls of the editor's tables, shared by the files that implement them.

#include "editor/FluidTableEditor.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace quorvel {

class ValueStepper;

struct FluidTableEditor::Controls
{
    QPushButton* fluidAddButton = nullptr;
    QPushButton* duplicateButton = nullptr;
    QPushButton* fluidDeleteButton = nullptr;
    QPushButton* importFileButton = nullptr;
    QLineEdit* fluidNameEdit = nullptr;
    QLineEdit* fluidCommentEdit = nullptr;
    QLineEdit* mcCainType = nullptr;

    QPushButton* addButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* normalizeButton = nullptr;
    QPushButton* importButton = nullptr;
    QPushButton* logButton = nullptr;
    QPushButton* selectC7plus = nullptr;
    QComboBox* equationOfState = nullptr;
    QComboBox* componentCombo = nullptr;
    QComboBox* mwChoice = nullptr;
    QComboBox* correlationChoice = nullptr;
    QLineEdit* moleEditField = nullptr;
    ValueStepper* spinMole = nullptr;
    QLineEdit* mwEditField = nullptr;
    QLineEdit* sgEditField = nullptr;
    QLineEdit* tcEditField = nullptr;
    QLineEdit* tkEditField = nullptr;
    QLineEdit* tcREditField = nullptr;
    QLineEdit* pcEditField = nullptr;
    QLineEdit* pcPsiaEditField = nullptr;
    QLineEdit* omegaEditField = nullptr;
    QLineEdit* tbEditField = nullptr;
    QLineEdit* tbKEditField = nullptr;
    QLineEdit* tbREditField = nullptr;
    QLineEdit* vcEditField = nullptr;
    QLineEdit* vcFtEditField = nullptr;
    QLineEdit* moleSum = nullptr;
    QCheckBox* normalizeCheckBox = nullptr;

    // The property fields of the selected component, in the order they are shown.
    QList<QLineEdit*> componentFields() const
    {
        return {moleEditField, mwEditField,  sgEditField,  tcEditField,  tkEditField,  tcREditField, pcEditField,
                pcPsiaEditField, omegaEditField, tbEditField, tbKEditField, tbREditField, vcEditField, vcFtEditField};
    }
};

}  // namespace quorvel
