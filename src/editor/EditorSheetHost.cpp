#include "editor/EditorSheetHost.h"

#include "editor/AlphaBetaSheet.h"
#include "editor/EditorControls.h"
#include "editor/FlashSheet.h"
#include "editor/FluidModelController.h"
#include "editor/LumpSplitSheets.h"
#include "editor/SheetUnits.h"
#include "editor/TestSheet.h"

#include <QComboBox>
#include <QPushButton>

namespace quorvel {

EditorSheetHost::EditorSheetHost(FluidModelController& editor) : mEditor(editor) {}

EditorSheetHost::~EditorSheetHost() = default;

QList<QPushButton*> EditorSheetHost::makeButtons(QWidget* parent)
{
    mFlashButton = makeButton(parent, "mFlashButton", tr("Flash..."));
    mTestButton = makeButton(parent, "mTestButton", tr("Test..."));
    mLumpButton = makeButton(parent, "mLumpButton", tr("Lump..."));
    mSplitButton = makeButton(parent, "mSplitButton", tr("Split..."));
    mMixButton = makeButton(parent, "mMixButton", tr("Mix"));
    mAlphaBetaize = makeButton(parent, "mAlphaBetaize", tr("Alpha-beta..."));
    connect(mAlphaBetaize, &QPushButton::clicked, this, [this] { alphaBetaSheet().onClickAlphaBetaize(); });
    return {mFlashButton, mTestButton, mLumpButton, mSplitButton, mMixButton, mAlphaBetaize};
}

void EditorSheetHost::makeSheets(QWidget* window)
{
    mFlashSheet = new FlashSheet(mEditor, window);
    mTestSheet = new TestSheet(mEditor, window);
    mLumpSheet = new LumpSheet(mEditor, window);
    mSplitSheet = new SplitSheet(mEditor, window);
    connect(mFlashButton, &QPushButton::clicked, mFlashSheet, &FlashSheet::onClickFlash);
    connect(mTestButton, &QPushButton::clicked, mTestSheet, &TestSheet::onClickTest);
    connect(mLumpButton, &QPushButton::clicked, mLumpSheet, &LumpSheet::onClickLump);
    connect(mSplitButton, &QPushButton::clicked, mSplitSheet, &SplitSheet::onClickSplit);
}

void EditorSheetHost::enableFluidSheets(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{
             mSplitButton, mSplitSheet->methodPopup(), mSplitSheet->lastCarbonNumberCombo(), mFlashButton,
             mLumpButton, mMixButton, mTestButton})
        control->setEnabled(enabled);
}

void EditorSheetHost::enableAlphaBetaFitting(bool enabled)
{
    mAlphaBetaize->setEnabled(enabled);
}

void EditorSheetHost::beginSheet(EditorSheet& sheet)
{
    sheet.beginSheet(mEditor.window(), [this](EditorSheet* ended, QDialog::DialogCode returnCode, void* contextInfo) {
        sheetDidEnd(ended, returnCode, contextInfo);
    });
}

void EditorSheetHost::sheetDidEnd(EditorSheet* sheet, QDialog::DialogCode, void*)
{
    sheet->hide();
}

FlashSheet* EditorSheetHost::flashSheet() const
{
    return mFlashSheet;
}

TestSheet* EditorSheetHost::testSheet() const
{
    return mTestSheet;
}

LumpSheet* EditorSheetHost::lumpSheet() const
{
    return mLumpSheet;
}

SplitSheet* EditorSheetHost::splitSheet() const
{
    return mSplitSheet;
}

AlphaBetaSheet& EditorSheetHost::alphaBetaSheet()
{
    if (!mAlphaBetaSheet)
        mAlphaBetaSheet = std::make_unique<AlphaBetaSheet>(mEditor);
    return *mAlphaBetaSheet;
}

}  // namespace quorvel
