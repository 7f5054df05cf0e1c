#pragma once
// The controls of the editor's model box, shared by the files that implement it.

#include "editor/ModelBox.h"
#include "widgets/ValueStepper.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QList>
#include <QRadioButton>

namespace quorvel {

struct ModelBox::Controls
{
    QButtonGroup* modelRadio = nullptr;
    QRadioButton* userDefinedRadio = nullptr;
    QRadioButton* oldSelectedModelRadio = nullptr;  // the model in force, for the question before a change
    QLineEdit* alphaEditField = nullptr;
    QLineEdit* betaEditField = nullptr;
    QLineEdit* deltaEditField = nullptr;
    QLineEdit* co2EditField = nullptr;
    QLineEdit* n2EditField = nullptr;
    QLineEdit* h2sEditField = nullptr;
    ValueStepper* spinAlpha = nullptr;
    ValueStepper* spinBeta = nullptr;
    ValueStepper* spinDelta = nullptr;

    QList<QLineEdit*> gasFields() const { return {co2EditField, n2EditField, h2sEditField}; }
};

}  // namespace quorvel
