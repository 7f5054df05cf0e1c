#include "panels/CAlphaBetaCurveNamePanel.h"

#include "platform/ModalSession.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvel {

CAlphaBetaCurveNamePanel* CAlphaBetaCurveNamePanel::sharedAlphaBetaCurveNameCtroller()
{
    static CAlphaBetaCurveNamePanel* const panel = new CAlphaBetaCurveNamePanel;  // lives as long as the application
    return panel;
}

CAlphaBetaCurveNamePanel::CAlphaBetaCurveNamePanel() : WindowController(QStringLiteral("alphaBetaCurveName")) {}

CAlphaBetaCurveNamePanel::~CAlphaBetaCurveNamePanel()
{
    destroyWindow();
}

QWidget* CAlphaBetaCurveNamePanel::makeWindow()
{
    auto* panel = new QWidget(nullptr, Qt::Dialog);
    panel->setObjectName(QStringLiteral("alphaBetaCurveName"));
    panel->setWindowTitle(tr("Curve Name"));
    mCurveNameEditField = new QLineEdit(panel);
    mCurveNameEditField->setObjectName(QStringLiteral("mCurveNameEditField"));
    mOKButton = new QPushButton(tr("OK"), panel);
    mOKButton->setObjectName(QStringLiteral("mOKButton"));
    mOKButton->setDefault(true);
    connect(mOKButton, &QPushButton::clicked, this, &CAlphaBetaCurveNamePanel::onOKButton);
    connect(mCurveNameEditField, &QLineEdit::returnPressed, this, &CAlphaBetaCurveNamePanel::onOKButton);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mOKButton);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(new QLabel(tr("Name of the new alpha-beta curve:"), panel));
    layout->addWidget(mCurveNameEditField);
    layout->addLayout(buttons);
    panel->setMinimumWidth(320);
    panel->adjustSize();
    return panel;
}

void CAlphaBetaCurveNamePanel::doModal()
{
    ModalSession session(window());
    mSession = &session;
    curveNameEditField()->setText(mCurveName);
    // Closing the panel ends the session as OK does (the platform answers Abort then).
    session.run();
    session.end();
    mSession = nullptr;
}

void CAlphaBetaCurveNamePanel::onOKButton()
{
    if (mSession)
        mSession->stop();
    close();
}

QString CAlphaBetaCurveNamePanel::getCurveName()
{
    return curveNameEditField()->text();
}

}  // namespace quorvel
