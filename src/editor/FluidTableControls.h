#pragma once
// The controls of the editor's tables, shared by the files that implement them.

#include "editor/FluidTableEditor.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quorvel {

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
};

}  // namespace quorvel
