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

// Lumping schemes, numbered by their pop-up index.
enum class LumpScheme : int { c7plus = 0, cn1Cn2 = 1, pedersen = 2 };

// Splitting methods, numbered by their pop-up index.
enum class SplitMethod : int {
    katz = 0,
    ahmed = 1,
    lohrenz = 2,
    pedersen = 3,
    alMeshari = 4,
    montel = 5,
    montelAgain = 6,  // the same split as montel
    montelModel = 7,  // onto the alpha-beta model's components
};

[[nodiscard]] constexpr int code_number(LumpScheme scheme) { return static_cast<int>(scheme); }
[[nodiscard]] constexpr int code_number(SplitMethod method) { return static_cast<int>(method); }
// A pop-up index of no scheme or method keeps its value and equals no named one.
[[nodiscard]] constexpr LumpScheme lumpSchemeFromNumber(int number) { return static_cast<LumpScheme>(number); }
[[nodiscard]] constexpr SplitMethod splitMethodFromNumber(int number) { return static_cast<SplitMethod>(number); }

// The last carbon numbers the split combo box offers, its item i being kFirstSplitLast + i.
inline constexpr int kFirstSplitLast = 8;
inline constexpr int kLastSplitLast = 44;

// The lumped fluid of the scheme (an unknown one lumps into one C7+).
FluidRecord lumpFluid(const FluidRecord& source, LumpScheme scheme);

// The split fluid of a source: the method (Katz when unknown) run on a copy of the source whose
// "C7+" (mole percent), "mwC7+" and "SGC7+" are recomputed from its components; the source's "Tsat" and
// "satPhase" are carried over.
FluidRecord doSplit(const FluidRecord& source, SplitMethod method, int lastCarbonNumber, bool writeLog, bool plus);

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
