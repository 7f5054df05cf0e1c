#pragma once
// The lump and split sheets of the fluid model editor: the selected fluid mixed into fewer
// heavy pseudo-components, or its C7+ part split into single carbon numbers (for one fluid
// or every fluid), each new fluid placed right after its source.

#include "editor/FluidRecord.h"

#include <QObject>

class QCheckBox;
class QComboBox;

namespace quorvel {

class EditorSheet;
class FluidModelController;

// Lumping schemes by pop-up index.
inline constexpr int kLumpC7plus = 0;
inline constexpr int kLumpCn1Cn2 = 1;
inline constexpr int kLumpPedersen = 2;

// Splitting methods by pop-up index.
inline constexpr int kSplitKatz = 0;
inline constexpr int kSplitAhmed = 1;
inline constexpr int kSplitLohrenz = 2;
inline constexpr int kSplitPedersen = 3;
inline constexpr int kSplitAlMeshari = 4;
inline constexpr int kSplitMontel = 5;
inline constexpr int kSplitMontelAgain = 6;  // the same split as kSplitMontel
inline constexpr int kSplitMontelModel = 7;  // onto the alpha-beta model's components

// The last carbon numbers the split combo box offers, its item i being kFirstSplitLast + i.
inline constexpr int kFirstSplitLast = 8;
inline constexpr int kLastSplitLast = 44;

// The lumped fluid of the scheme's index (an unknown index lumps into one C7+).
FluidRecord lumpFluid(const FluidRecord& source, int scheme);

// The split fluid of a source: the method of the index run on a copy of the source whose
// "C7+" (mole percent), "mwC7+" and "SGC7+" are recomputed from its components; the source's "Tsat" and
// "satPhase" are carried over.
FluidRecord doSplit(const FluidRecord& source, int method, int lastCarbonNumber, bool writeLog, bool plus);

// The lines of a batch split's table (without line ends).
QStringList splitBatchLog(const QList<FluidRecord>& results);

// The characterisation functions write their reports to the log window.
void installCharacterisationLogWindow();

class LumpSheet : public QObject
{
    Q_OBJECT

public:
    LumpSheet(FluidModelController& editor, QWidget* window);

    EditorSheet* panel() const { return mLumpPanel; }

    void onClickLump();
    void onDoLump();
    void onCloseLumpPanel();

private:
    FluidModelController& mEditor;
    EditorSheet* mLumpPanel = nullptr;
    QComboBox* mLumpChoice = nullptr;
};

class SplitSheet : public QObject
{
    Q_OBJECT

public:
    SplitSheet(FluidModelController& editor, QWidget* window);

    EditorSheet* panel() const { return mSplitPanel; }
    QComboBox* methodPopup() const { return mSplitChoice; }
    QComboBox* lastCarbonNumberCombo() const { return mSplitLastCombo; }

    void onClickSplit();
    void onSelectSplitCorrelation();
    void onCloseSplitPanel();

private:
    int typedLastCarbonNumber() const;  // -1 when the typed value is none of the items

    FluidModelController& mEditor;
    EditorSheet* mSplitPanel = nullptr;
    QComboBox* mSplitChoice = nullptr;
    QComboBox* mSplitLastCombo = nullptr;
    QCheckBox* mSplitBatch = nullptr;
    QCheckBox* mSplitPlus = nullptr;
};

}  // namespace quorvel
