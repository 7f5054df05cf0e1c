#pragma once
// The test sheet of the fluid model editor: runs the characterisation test chain on the
// selected fluid or on every fluid, adds each result after its source and writes the
// results to the log window as Igor text (in batch mode with the commands that plot the
// computed against the measured saturation pressures and give the deviations' statistics).

#include "editor/FluidRecord.h"
#include "editor/SheetUnits.h"

#include <QObject>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quorvel {

class EditorSheet;
class FluidModelController;
class ValueStepper;

// The log lines of tested fluids, each without its line end: the WAVES line, one values
// line per result, and the batch's Igor block (the table between "BEGIN" and "END" and
// the plotting and statistics commands).
QString testWavesLine();
QString testValuesLine(const FluidRecord& result);
QStringList testBatchLog(const QList<FluidRecord>& results);

class TestSheet : public QObject
{
    Q_OBJECT

public:
    TestSheet(FluidModelController& editor, QWidget* window);

    EditorSheet* panel() const { return mTestPanel; }

    void onClickTest();
    void onSpinTestT();
    void onSpinTestP();
    void onChangeTestT();
    void onChangeTestP();
    void onChangeTestTUnit();
    void onChangeTestPUnit();
    void onDoTest();
    void onCloseTestPanel();

private:
    void makePanel(QWidget* window);
    void connectActions();
    void writeLog(const QStringList& lines) const;

    FluidModelController& mEditor;
    EditorSheet* mTestPanel = nullptr;
    QComboBox* mTestChoice = nullptr;
    QCheckBox* mTestBatch = nullptr;
    QLineEdit* mTestT = nullptr;
    QLineEdit* mTestP = nullptr;
    ValueStepper* mSpinTestT = nullptr;
    ValueStepper* mSpinTestP = nullptr;
    QComboBox* mTestTUnit = nullptr;
    QComboBox* mTestPUnit = nullptr;
    QButtonGroup* mTestPhase = nullptr;
    QCheckBox* mTestTovik = nullptr;
    TemperatureUnit mTestTUnitCode = TemperatureUnit::kelvin;
    PressureUnit mTestPUnitCode = PressureUnit::bar;
    double mTestTValue = 0;
    double mTestPValue = 0;
};

}  // namespace quorvel
