#pragma once
// The prompt for the name of a curve just computed from typed data: the proposed name
// in a field and an OK button, in a modal session nested inside a turn of the
// calculation. It cannot be cancelled; closing it confirms the name shown, as OK does.

#include "platform/WindowController.h"

#include <QString>

class QLineEdit;
class QPushButton;

namespace quorvel {

class ModalSession;

class CAlphaBetaCurveNamePanel : public WindowController
{
    Q_OBJECT

public:
    static CAlphaBetaCurveNamePanel* sharedAlphaBetaCurveNameCtroller();
    CAlphaBetaCurveNamePanel();
    ~CAlphaBetaCurveNamePanel() override;

    void setCurveName(const QString& name) { mCurveName = name; }
    // Shows the proposed name and runs until OK (or the panel is closed).
    void doModal();
    void onOKButton();
    QString getCurveName();

    QLineEdit* curveNameEditField() { window(); return mCurveNameEditField; }
    QPushButton* okButton() { window(); return mOKButton; }

protected:
    QWidget* makeWindow() override;

private:
    QLineEdit* mCurveNameEditField = nullptr;
    QPushButton* mOKButton = nullptr;
    QString mCurveName;
    ModalSession* mSession = nullptr;  // while doModal runs
};

}  // namespace quorvel
