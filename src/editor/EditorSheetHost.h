#pragma once
// The sheets of the fluid model editor: the flash, test, lump and split sheets made with
// the window, the alpha-beta sheet made on first use, the buttons that open them, and the
// beginning and end of a sheet over the editor's window.

#include <QDialog>
#include <QObject>
#include <QPointer>

#include <memory>

class QPushButton;
class QWidget;

namespace quorvel {

class AlphaBetaSheet;
class EditorSheet;
class FlashSheet;
class FluidModelController;
class LumpSheet;
class SplitSheet;
class TestSheet;

class EditorSheetHost : public QObject
{
    Q_OBJECT

public:
    explicit EditorSheetHost(FluidModelController& editor);
    ~EditorSheetHost() override;

    // The buttons, in the order the fluids box shows them, then the sheets over the window.
    QList<QPushButton*> makeButtons(QWidget* parent);
    void makeSheets(QWidget* window);

    // The buttons of the sheets that act on one fluid.
    void enableFluidSheets(bool enabled);
    void enableAlphaBetaFitting(bool enabled);

    // Begun on the editor's window with sheetDidEnd as their did-end callback, which orders
    // the sheet out.
    void beginSheet(EditorSheet& sheet);
    void sheetDidEnd(EditorSheet* sheet, QDialog::DialogCode returnCode, void* contextInfo);

    FlashSheet* flashSheet() const;
    TestSheet* testSheet() const;
    LumpSheet* lumpSheet() const;
    SplitSheet* splitSheet() const;
    AlphaBetaSheet& alphaBetaSheet();

private:
    FluidModelController& mEditor;
    QPushButton* mFlashButton = nullptr;
    QPushButton* mTestButton = nullptr;
    QPushButton* mLumpButton = nullptr;
    QPushButton* mSplitButton = nullptr;
    QPushButton* mMixButton = nullptr;
    QPushButton* mAlphaBetaize = nullptr;
    QPointer<FlashSheet> mFlashSheet;
    QPointer<TestSheet> mTestSheet;
    QPointer<LumpSheet> mLumpSheet;
    QPointer<SplitSheet> mSplitSheet;
    std::unique_ptr<AlphaBetaSheet> mAlphaBetaSheet;
};

}  // namespace quorvel
