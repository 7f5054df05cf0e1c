#include "editor/LumpSplitSheets.h"

#include "characterisation/AlphaBetaFits.h"
#include "characterisation/CharacterisationLog.h"
#include "characterisation/Lumping.h"
#include "characterisation/SplittingMethods.h"
#include "editor/FluidModelController.h"
#include "editor/SheetUnits.h"
#include "platform/AlertService.h"
#include "widgets/CLogWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorvel {

namespace {

bool isLogOnScreen()
{
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    return log->isWindowLoaded() && log->window()->isVisible();
}

QPushButton* addButton(EditorSheet* panel, QHBoxLayout* row, const QString& outlet, const QString& title)
{
    auto* button = new QPushButton(title, panel);
    button->setObjectName(outlet);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

}  // namespace

FluidRecord lumpFluid(const FluidRecord& source, LumpScheme scheme)
{
    switch (scheme) {
    case LumpScheme::cn1Cn2: return lumpFluidCn1Cn2(source);
    case LumpScheme::pedersen: return lumpFluidPedersen(source);
    default: return lumpFluidC7plus(source);
    }
}

FluidRecord doSplit(const FluidRecord& source, SplitMethod method, int lastCarbonNumber, bool writeLog, bool plus)
{
    // The heavy part as the components give it: a stored key may be stale or a fraction.
    FluidRecord measured = source.copy();
    const CompositionSummary heavy = analyseFluidComposition(source);
    measured.setValue(fluidkey::c7plus, heavy.zC7plus * 100);
    if (heavy.zC7plus > 0) {
        measured.setValue(fluidkey::mwC7plus, heavy.mwC7plus);
        measured.setValue(fluidkey::sgC7plus, heavy.SGC7plus);
    }
    FluidRecord result;
    using enum SplitMethod;
    switch (method) {
    case ahmed: result = getAhmedSplittedFluid(measured, lastCarbonNumber, writeLog, plus); break;
    case lohrenz: result = getLohrenzSplittedFluid(measured, lastCarbonNumber, writeLog, plus); break;
    case pedersen: result = getPedersenSplittedFluid(measured, lastCarbonNumber, writeLog, plus); break;
    case alMeshari: result = getAlMeshariSplittedFluid(measured, lastCarbonNumber, writeLog, plus); break;
    case montel:
    case montelAgain: result = getMontelSplittedFluid(measured, lastCarbonNumber, writeLog, plus); break;
    case montelModel: result = getMontelSplittedFluid0(measured, lastCarbonNumber, writeLog); break;
    default: result = getKatzSplittedFluid(measured, lastCarbonNumber, writeLog, plus); break;
    }
    if (source.contains(fluidkey::tsat)) {
        result.setValue(fluidkey::tsat, source.value(fluidkey::tsat));
        result.setValue(fluidkey::satPhase, source.value(fluidkey::satPhase));
    }
    return result;
}

QStringList splitBatchLog(const QList<FluidRecord>& results)
{
    QStringList lines{QString(), formatString("%12s %12s %12s", "Name", "ardx (%)", "aadx (%)")};
    for (const FluidRecord& result : results)
        lines << formatString("%@ %12f %12f", result.stringValue(fluidkey::name), result.doubleValue(fluidkey::ardx),
                              result.doubleValue(fluidkey::aadx));
    lines << QString();
    return lines;
}

void installCharacterisationLogWindow()
{
    setCharacterisationLogWriter([](const QString& line) {
        QString text = line;
        text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        CLogWindow::sharedLogWindowCtroller()->appendString(text);
    });
}

// --- Lump sheet

LumpSheet::LumpSheet(FluidModelController& editor, QWidget* window) : QObject(window), mEditor(editor)
{
    mLumpPanel = new EditorSheet(window);
    mLumpPanel->setObjectName("mLumpPanel");
    mLumpPanel->setWindowTitle(tr("Lump"));
    mLumpChoice = new QComboBox(mLumpPanel);
    mLumpChoice->setObjectName("mLumpChoice");
    mLumpChoice->addItems({tr("One C7+"), tr("Cn1 (C7 to C25) and Cn2 (C26+)"), tr("Pedersen groups")});
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    connect(addButton(mLumpPanel, buttons, "mLumpCloseButton", tr("Close")), &QPushButton::clicked, this,
            &LumpSheet::onCloseLumpPanel);
    connect(addButton(mLumpPanel, buttons, "mLumpDoButton", tr("Lump")), &QPushButton::clicked, this,
            &LumpSheet::onDoLump);
    auto* column = new QVBoxLayout(mLumpPanel);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Lump the heavy fractions into"), mLumpPanel));
    row->addWidget(mLumpChoice, 1);
    column->addLayout(row);
    column->addLayout(buttons);
}

void LumpSheet::onClickLump()
{
    if (mEditor.hasSelectedFluid())
        mEditor.beginSheet(*mLumpPanel);
}

void LumpSheet::onDoLump()
{
    const int row = mEditor.selectedFluidRow();
    if (row < 0)
        return;
    const FluidRecord result = lumpFluid(mEditor.selectedFluid(), lumpSchemeFromNumber(mLumpChoice->currentIndex()));
    mEditor.fluids().insert(row + 1, result);
    mEditor.finishAddFluid(result, row + 1);
    mLumpPanel->endSheet();
}

void LumpSheet::onCloseLumpPanel()
{
    mLumpPanel->endSheet();
}

// --- Split sheet

SplitSheet::SplitSheet(FluidModelController& editor, QWidget* window) : QObject(window), mEditor(editor)
{
    mSplitPanel = new EditorSheet(window);
    mSplitPanel->setObjectName("mSplitPanel");
    mSplitPanel->setWindowTitle(tr("Split"));
    mSplitChoice = new QComboBox(mSplitPanel);
    mSplitChoice->setObjectName("mSplitChoice");
    mSplitChoice->addItems({tr("Katz"), tr("Ahmed"), tr("Lohrenz"), tr("Pedersen"), tr("Al-Meshari"),
                            tr("Alpha-beta (Montel)"), tr("Alpha-beta (Montel), again"),
                            tr("Alpha-beta model components")});
    mSplitLastCombo = new QComboBox(mSplitPanel);
    mSplitLastCombo->setObjectName("mSplitLastCombo");
    mSplitLastCombo->setEditable(true);
    mSplitLastCombo->setInsertPolicy(QComboBox::NoInsert);
    for (int n = kFirstSplitLast; n <= kLastSplitLast; ++n)
        mSplitLastCombo->addItem(QString::number(n));
    mSplitBatch = new QCheckBox(tr("Split every fluid"), mSplitPanel);
    mSplitBatch->setObjectName("mSplitBatch");
    mSplitPlus = new QCheckBox(tr("Match the C7+ molar weight and gravity"), mSplitPanel);
    mSplitPlus->setObjectName("mSplitPlus");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Method"), mSplitPanel), 0, 0);
    grid->addWidget(mSplitChoice, 0, 1);
    grid->addWidget(new QLabel(tr("Last carbon number"), mSplitPanel), 1, 0);
    grid->addWidget(mSplitLastCombo, 1, 1);
    grid->addWidget(mSplitPlus, 2, 0, 1, 2);
    grid->addWidget(mSplitBatch, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    connect(addButton(mSplitPanel, buttons, "mSplitCloseButton", tr("Close")), &QPushButton::clicked, this,
            &SplitSheet::onCloseSplitPanel);
    connect(addButton(mSplitPanel, buttons, "mSplitDoButton", tr("Split")), &QPushButton::clicked, this,
            &SplitSheet::onSelectSplitCorrelation);
    auto* column = new QVBoxLayout(mSplitPanel);
    column->addLayout(grid);
    column->addLayout(buttons);
}

void SplitSheet::onClickSplit()
{
    if (mEditor.hasSelectedFluid())
        mEditor.beginSheet(*mSplitPanel);
}

int SplitSheet::typedLastCarbonNumber() const
{
    const int item = mSplitLastCombo->findText(mSplitLastCombo->currentText().trimmed(), Qt::MatchExactly);
    return item < 0 ? -1 : item + kFirstSplitLast;
}

void SplitSheet::onSelectSplitCorrelation()
{
    const SplitMethod method = splitMethodFromNumber(mSplitChoice->currentIndex());
    const int last = typedLastCarbonNumber();
    if (last < 0) {
        showAlert(QStringLiteral("The last carbon number must be one of %1 to %2.")
                      .arg(kFirstSplitLast)
                      .arg(kLastSplitLast));
        return;
    }
    const bool writeLog = isLogOnScreen();
    const bool plus = mSplitPlus->isChecked();
    Array fluids = mEditor.fluids();

    QList<FluidRecord> results;
    if (!mSplitBatch->isChecked()) {
        const int row = mEditor.selectedFluidRow();
        if (row < 0)
            return;
        const FluidRecord result = doSplit(fluids.at(row).toDictionary(), method, last, writeLog, plus);
        fluids.insert(row + 1, result);
        results.append(result);
    } else {
        const Array sources = fluids.copy();  // the new fluids are not split themselves
        for (const Value& source : sources) {
            const FluidRecord result = doSplit(source.toDictionary(), method, last, writeLog, plus);
            fluids.insert(fluids.indexOf(source) + 1, result);
            results.append(result);
        }
        if (isLogOnScreen()) {
            CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
            for (const QString& line : splitBatchLog(results))
                log->appendFormat1("%@", line);
            log->scrollToEnd();
        }
    }
    mEditor.finishAddFluids(results);
    mSplitPanel->endSheet();
}

void SplitSheet::onCloseSplitPanel()
{
    mSplitPanel->endSheet();
}

}  // namespace quorvel
