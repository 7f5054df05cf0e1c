#include "editor/FluidModelController.h"

#include "app/AppMenus.h"
#include "app/RecordTableModel.h"
#include "calc/CAlphaBetaModelInterface.h"
#include "calc/CalculationInterface.h"
#include "calc/GammaModelInterface.h"
#include "characterisation/Correlations.h"
#include "editor/AlphaBetaSheet.h"
#include "editor/FlashSheet.h"
#include "editor/FluidTableModel.h"
#include "editor/LumpSplitSheets.h"
#include "editor/SheetUnits.h"
#include "editor/TestSheet.h"
#include "platform/Document.h"
#include "platform/NotificationCenter.h"
#include "platform/Pasteboard.h"
#include "platform/ScreenPlacement.h"
#include "platform/UndoManager.h"
#include "plot/CBarPlotView.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

// Window-modal progress of a calculation with Cancel; shown only once it has taken a second.
ProgressCallback progressOf(QProgressDialog& dialog)
{
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(1000);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    return [&dialog](int done, int steps) {
        dialog.setMaximum(steps);
        dialog.setValue(done);
        return !dialog.wasCanceled();
    };
}

const QString kCopy = QStringLiteral("copy:");
const QString kPaste = QStringLiteral("paste:");
const QString kAddRow = QStringLiteral("onAddRow:");
const QString kDeleteRow = QStringLiteral("onDeleteRow:");

constexpr double kApiDisplayLimit = 150;  // above it the API fields show nothing

// Model box defaults shown when the window opens.
constexpr double kDefaultAlpha = 0.9;
constexpr double kDefaultBeta = 0.1;
constexpr double kDefaultDelta = 1;

const QStringList kSpeciesNames{"N2", "CO2", "H2S", "C1", "C2", "C3", "iC4", "nC4", "iC5", "nC5", "C6",
                                "C7", "C8", "C9", "C10", "C11", "C12", "C13", "C14", "C15", "C16", "C17",
                                "C18", "C19", "C20", "C7+", "C10+", "C12+", "C20+", "C30+", "Cn1", "Cn2"};

const QList<std::pair<int, QString>> kCorrelationItems{
    {0, "Jianzhong (carbon number)"}, {1, "Jianzhong (mw, SG)"}, {2, "Jianzhong (Tb, SG)"},
    {3, "Katz-Firoozabadi"},          {4, "Ahmed"},              {5, "Riazi-Daubert"},
    {6, "Edmister"},                  {7, "Lee-Kesler"},         {8, "Winn"},
    {9, "Cavett"},                    {10, "Pedersen"},          {11, "Montel"},
    {12, "Twu"},                      {13, "Riazi-Al-Sahhaf"},   {14, "Stamataki"},
    {15, "Pedersen (Tb)"},            {16, "Whitson (Tb)"}};

// A typed number; none for text that is not one.
std::optional<double> numberOfText(const QString& text)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

// The component names and mole percents of a fluid, in order.
void showNumber(QLineEdit& field, double value, NumberFormat format)
{
    field.setText(shownNumber(value, format));
}

std::pair<QStringList, std::vector<double>> compositionOf(const FluidRecord& fluid)
{
    std::pair<QStringList, std::vector<double>> composition;
    for (const Value& value : fluid.arrayValue(fluidkey::components)) {
        const ComponentRecord component = value.toDictionary();
        composition.first.append(component.stringValue(componentkey::name));
        composition.second.push_back(component.doubleValue(componentkey::mole));
    }
    return composition;
}

double moleSum(const Array& components)
{
    double sum = 0;
    for (const Value& component : components)
        sum += component.toDictionary().doubleValue(componentkey::mole);
    return sum;
}

}  // namespace

FluidModelController::FluidModelController()
    : WindowController(FluidModelLayout), mAlphaBetaInterface(std::make_unique<CAlphaBetaModelInterface>())
{
}

FluidModelController::~FluidModelController()
{
    destroyWindow();  // its tables read the list
    if (UndoManager* undo = undoManager())
        undo->removeAllActions(this);
}

UndoManager* FluidModelController::undoManager() const
{
    return document() ? document()->undoManager() : nullptr;
}

void FluidModelController::markChanged()
{
    if (document())
        document()->updateChangeCount(Document::ChangeDone);
}

void FluidModelController::postModified()
{
    NotificationCenter::defaultCenter().postNotification(QStringLiteral("FluidModelDataDocModified"), this);
}

void FluidModelController::setFluids(const Array& fluids)
{
    mFluids = fluids;
    mHasReference = false;
    if (isWindowLoaded()) {
        reloadFluids();
        selectFluidRow(mFluids.isEmpty() ? -1 : 0);
        refreshFluids();
    }
}

// --- Window

namespace {

const QSize kEditorWindowSize(1320, 760);

QLineEdit* makeField(QWidget* parent, const QString& outlet)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(outlet);
    field->setMinimumWidth(72);
    return field;
}

ValueStepper* makeStepper(QWidget* parent, const QString& outlet, double minimum, double maximum, double increment)
{
    auto* stepper = new ValueStepper(parent);
    stepper->setObjectName(outlet);
    stepper->setMinimum(minimum);
    stepper->setMaximum(maximum);
    stepper->setIncrement(increment);
    return stepper;
}

QPushButton* makeButton(QWidget* parent, const QString& outlet, const QString& title)
{
    auto* button = new QPushButton(title, parent);
    button->setObjectName(outlet);
    return button;
}

QComboBox* makePopup(QWidget* parent, const QString& outlet)
{
    auto* popup = new QComboBox(parent);
    popup->setObjectName(outlet);
    return popup;
}

// A field with its stepper to the right.
QWidget* withStepper(QWidget* parent, QWidget* field, ValueStepper* stepper)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(field, 1);
    stepper->setFixedWidth(18);
    row->addWidget(stepper);
    return box;
}

}  // namespace

QWidget* FluidModelController::makeWindow()
{
    auto* window = new QMainWindow;
    window->setObjectName(FluidModelLayout);
    installApplicationMenus(window);
    auto* central = new QWidget(window);
    auto* layout = new QGridLayout(central);

    auto makeTable = [this, central](const QString& outlet, const QList<FluidTableModel::Column>& columns,
                                     FluidTableModel*& model) {
        auto* table = new MyTableView(central);
        table->setObjectName(outlet);
        model = new FluidTableModel(
            columns,
            {[this, table] { return numberOfRows(table); },
             [this, table](const QString& key, int row) { return objectValue(table, key, row); },
             [this, table](const Value& v, const QString& key, int row) { setObjectValue(table, v, key, row); }},
            table);
        table->setModel(model);
        table->setDelegate(this);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::ExtendedSelection);
        table->verticalHeader()->hide();
        table->verticalHeader()->setDefaultSectionSize(20);
        table->sizeColumnsToContents();
        connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, table] { tableViewSelectionDidChange(table); });
        return table;
    };
    const auto two = NumberFormat::Decimals2;
    const auto four = NumberFormat::Decimals4;
    mFluidsView = makeTable("mFluidsView",
                            {{fluidkey::reference, tr("Ref."), std::nullopt, true, true},
                             {fluidkey::name, tr("Name")},
                             {fluidkey::fluidType, tr("Type"), std::nullopt, false},
                             {fluidkey::eos, tr("EOS"), std::nullopt, false},
                             {fluidkey::gor, tr("GOR"), two, false},
                             {fluidkey::api, tr("API"), two, false},
                             {fluidkey::c7plus, tr("C7+"), two, false}},
                            mFluidsModel);
    mComponentsView = makeTable("mComponentsView",
                                {{componentkey::name, tr("Name")},
                                 {componentkey::mole, tr("Mole %"), four},
                                 {componentkey::mw, tr("MW"), two},
                                 {componentkey::sg, tr("SG"), four},
                                 {componentkey::tc, tr("Tc (\u00b0C)"), two},
                                 {componentkey::pc, tr("Pc (bar)"), two},
                                 {componentkey::omega, tr("Omega"), four},
                                 {componentkey::tb, tr("Tb (\u00b0C)"), two},
                                 {componentkey::vc, tr("Vc (cm3/mol)"), two},
                                 {componentkey::corr, tr("Corr."), std::nullopt, false}},
                                mComponentsModel);

    // Fluids box.
    auto* fluidsBox = new QGroupBox(tr("Fluids"), central);
    auto* fluidsGrid = new QGridLayout(fluidsBox);
    mFluidAddButton = makeButton(fluidsBox, "mFluidAddButton", tr("New"));
    mDuplicateButton = makeButton(fluidsBox, "mDuplicateButton", tr("Duplicate"));
    mFluidDeleteButton = makeButton(fluidsBox, "mFluidDeleteButton", tr("Delete"));
    mFlashButton = makeButton(fluidsBox, "mFlashButton", tr("Flash..."));
    mTestButton = makeButton(fluidsBox, "mTestButton", tr("Test..."));
    mLumpButton = makeButton(fluidsBox, "mLumpButton", tr("Lump..."));
    mSplitButton = makeButton(fluidsBox, "mSplitButton", tr("Split..."));
    mMixButton = makeButton(fluidsBox, "mMixButton", tr("Mix"));
    mAlphaBetaize = makeButton(fluidsBox, "mAlphaBetaize", tr("Alpha-beta..."));
    mImportFileButton = makeButton(fluidsBox, "mImportFileButton", tr("Import fluids..."));
    mFluidNameEdit = makeField(fluidsBox, "mFluidNameEdit");
    mFluidCommentEdit = makeField(fluidsBox, "mFluidCommentEdit");
    mMcCainType = makeField(fluidsBox, "mMcCainType");
    mMcCainType->setReadOnly(true);
    fluidsGrid->addWidget(mFluidsView, 0, 0, 1, 5);
    const QList<QPushButton*> fluidButtons{mFluidAddButton, mDuplicateButton, mFluidDeleteButton, mFlashButton,
                                           mTestButton,     mLumpButton,      mSplitButton,       mMixButton,
                                           mAlphaBetaize,   mImportFileButton};
    for (int i = 0; i < fluidButtons.size(); ++i)
        fluidsGrid->addWidget(fluidButtons[i], 1 + i / 5, i % 5);
    fluidsGrid->addWidget(new QLabel(tr("Name"), fluidsBox), 3, 0);
    fluidsGrid->addWidget(mFluidNameEdit, 3, 1, 1, 4);
    fluidsGrid->addWidget(new QLabel(tr("Comment"), fluidsBox), 4, 0);
    fluidsGrid->addWidget(mFluidCommentEdit, 4, 1, 1, 4);
    fluidsGrid->addWidget(new QLabel(tr("McCain type"), fluidsBox), 5, 0);
    fluidsGrid->addWidget(mMcCainType, 5, 1, 1, 2);
    fluidsGrid->setRowStretch(0, 1);

    // Components box.
    auto* componentsBox = new QGroupBox(tr("Components"), central);
    auto* componentsGrid = new QGridLayout(componentsBox);
    mAddButton = makeButton(componentsBox, "mAddButton", tr("Add"));
    mDeleteButton = makeButton(componentsBox, "mDeleteButton", tr("Delete"));
    mNormalizeButton = makeButton(componentsBox, "mNormalizeButton", tr("Normalise"));
    mImportButton = makeButton(componentsBox, "mImportButton", tr("Import..."));
    mLogButton = makeButton(componentsBox, "mLogButton", tr("Report"));
    mSelectC7plus = makeButton(componentsBox, "mSelectC7plus", tr("Select C7+"));
    mEquationOfState = makePopup(componentsBox, "mEquationOfState");
    mEquationOfState->addItems({tr("Peng-Robinson"), tr("SRK")});
    mComponentCombo = makePopup(componentsBox, "mComponentCombo");
    mComponentCombo->setEditable(true);
    mComponentCombo->setInsertPolicy(QComboBox::NoInsert);
    mComponentCombo->addItems(kSpeciesNames);
    mMwChoice = makePopup(componentsBox, "mMwChoice");
    mMwChoice->addItems({QStringLiteral("14n + 2"), QStringLiteral("14n - 4")});
    mCorrelationChoice = makePopup(componentsBox, "mCorrelationChoice");
    for (const auto& [code, title] : kCorrelationItems)
        mCorrelationChoice->addItem(title, code);
    for (int code = kFirstCorrelationSet; code <= kLastCorrelationSet; ++code)
        mCorrelationChoice->addItem(tr("Set %1").arg(code), code);
    mMoleEditField = makeField(componentsBox, "mMoleEditField");
    mSpinMole = makeStepper(componentsBox, "mSpinMole", 0, 100, 0.1);
    mMWEditField = makeField(componentsBox, "mMWEditField");
    mSGEditField = makeField(componentsBox, "mSGEditField");
    mTcEditField = makeField(componentsBox, "mTcEditField");
    mTkEditField = makeField(componentsBox, "mTkEditField");
    mTcREditField = makeField(componentsBox, "mTcREditField");
    mPcEditField = makeField(componentsBox, "mPcEditField");
    mPcPsiaEditField = makeField(componentsBox, "mPcPsiaEditField");
    mOmegaEditField = makeField(componentsBox, "mOmegaEditField");
    mTbEditField = makeField(componentsBox, "mTbEditField");
    mTbKEditField = makeField(componentsBox, "mTbKEditField");
    mTbREditField = makeField(componentsBox, "mTbREditField");
    mVcEditField = makeField(componentsBox, "mVcEditField");
    mVcFtEditField = makeField(componentsBox, "mVcFtEditField");
    mMoleSum = makeField(componentsBox, "mMoleSum");
    mMoleSum->setReadOnly(true);
    mNormalizeCheckBox = new QCheckBox(tr("Keep 100 %"), componentsBox);
    mNormalizeCheckBox->setObjectName("mNormalizeCheckBox");

    componentsGrid->addWidget(mComponentsView, 0, 0, 1, 8);
    const QList<QPushButton*> componentButtons{mAddButton, mDeleteButton, mNormalizeButton, mImportButton,
                                               mLogButton, mSelectC7plus};
    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* button : componentButtons)
        buttonRow->addWidget(button);
    buttonRow->addStretch();
    buttonRow->addWidget(new QLabel(tr("EOS"), componentsBox));
    buttonRow->addWidget(mEquationOfState);
    componentsGrid->addLayout(buttonRow, 1, 0, 1, 8);
    auto addRow = [componentsGrid, componentsBox](int row, const QString& label, QList<std::pair<QWidget*, QString>> cells) {
        componentsGrid->addWidget(new QLabel(label, componentsBox), row, 0);
        int column = 1;
        for (const auto& [widget, unit] : cells) {
            componentsGrid->addWidget(widget, row, column++);
            componentsGrid->addWidget(new QLabel(unit, componentsBox), row, column++);
        }
    };
    componentsGrid->addWidget(new QLabel(tr("Component"), componentsBox), 2, 0);
    componentsGrid->addWidget(mComponentCombo, 2, 1);
    componentsGrid->addWidget(new QLabel(tr("Correlation"), componentsBox), 2, 3);
    componentsGrid->addWidget(mCorrelationChoice, 2, 4, 1, 2);
    componentsGrid->addWidget(mMwChoice, 2, 6, 1, 2);
    addRow(3, tr("Mole"), {{withStepper(componentsBox, mMoleEditField, mSpinMole), "%"},
                           {mMoleSum, tr("% total")}});
    componentsGrid->addWidget(mNormalizeCheckBox, 3, 5, 1, 2);
    addRow(4, tr("MW"), {{mMWEditField, "g/mol"}, {mSGEditField, "SG"}, {mOmegaEditField, tr("omega")}});
    addRow(5, tr("Tc"), {{mTcEditField, "\u00b0C"}, {mTkEditField, "K"}, {mTcREditField, "\u00b0R"}});
    addRow(6, tr("Tb"), {{mTbEditField, "\u00b0C"}, {mTbKEditField, "K"}, {mTbREditField, "\u00b0R"}});
    addRow(7, tr("Pc"), {{mPcEditField, "bar"}, {mPcPsiaEditField, "psia"}});
    addRow(8, tr("Vc"), {{mVcEditField, "cm3/mol"}, {mVcFtEditField, "ft3/lb"}});
    componentsGrid->setRowStretch(0, 1);

    // Model box.
    auto* modelBox = new QGroupBox(tr("Model"), central);
    auto* modelGrid = new QGridLayout(modelBox);
    mModelRadio = new QButtonGroup(modelBox);
    mModelRadio->setObjectName("mModelRadio");
    const QList<std::pair<int, QString>> models{{kFluidTypeComponentList, tr("User defined")},
                                                {kFluidTypeAlphaBeta, tr("Alpha-beta")},
                                                {kFluidTypeCarbonNumber, tr("Alpha-beta expanded")},
                                                {kFluidTypeGamma, tr("Gamma")}};
    for (int i = 0; i < models.size(); ++i) {
        auto* cell = new QRadioButton(models[i].second, modelBox);
        mModelRadio->addButton(cell, models[i].first);
        modelGrid->addWidget(cell, i / 2, (i % 2) * 3, 1, 3);
    }
    mUserDefinedRadio = qobject_cast<QRadioButton*>(mModelRadio->button(kFluidTypeComponentList));
    mUserDefinedRadio->setObjectName("mUserDefinedRadio");
    mAlphaEditField = makeField(modelBox, "mAlphaEditField");
    mBetaEditField = makeField(modelBox, "mBetaEditField");
    mDeltaEditField = makeField(modelBox, "mDeltaEditField");
    mCO2EditField = makeField(modelBox, "mCO2EditField");
    mN2EditField = makeField(modelBox, "mN2EditField");
    mH2SEditField = makeField(modelBox, "mH2SEditField");
    mSpinAlpha = makeStepper(modelBox, "mSpinAlpha", 0, 10, 0.01);
    mSpinBeta = makeStepper(modelBox, "mSpinBeta", 0, 10, 0.01);
    mSpinDelta = makeStepper(modelBox, "mSpinDelta", 1, 50, 1);
    const QList<std::tuple<QString, QWidget*, int, int>> modelCells{
        {tr("alpha"), withStepper(modelBox, mAlphaEditField, mSpinAlpha), 2, 0},
        {tr("beta"), withStepper(modelBox, mBetaEditField, mSpinBeta), 3, 0},
        {tr("delta"), withStepper(modelBox, mDeltaEditField, mSpinDelta), 4, 0},
        {tr("CO2 %"), mCO2EditField, 2, 3},
        {tr("N2 %"), mN2EditField, 3, 3},
        {tr("H2S %"), mH2SEditField, 4, 3}};
    for (const auto& [label, widget, row, column] : modelCells) {
        modelGrid->addWidget(new QLabel(label, modelBox), row, column);
        modelGrid->addWidget(widget, row, column + 1, 1, 2);
    }

    // Stock-tank box.
    auto* tankBox = new QGroupBox(tr("Stock tank"), central);
    auto* tankGrid = new QGridLayout(tankBox);
    mGOREditField = makeField(tankBox, "mGOREditField");
    mAPIEditField = makeField(tankBox, "mAPIEditField");
    mAPCEditField = makeField(tankBox, "mAPCEditField");
    mC7plusEditField = makeField(tankBox, "mC7plusEditField");
    mMWC7plusEditField = makeField(tankBox, "mMWC7plusEditField");
    mSGC7plusEditField = makeField(tankBox, "mSGC7plusEditField");
    const QList<std::tuple<QString, QLineEdit*, int, int>> tankCells{
        {tr("GOR (m3/m3)"), mGOREditField, 0, 0},  {tr("API"), mAPIEditField, 1, 0},
        {tr("API (corr.)"), mAPCEditField, 2, 0},  {tr("C7+ %"), mC7plusEditField, 0, 2},
        {tr("MW C7+"), mMWC7plusEditField, 1, 2}, {tr("SG C7+"), mSGC7plusEditField, 2, 2}};
    for (const auto& [label, field, row, column] : tankCells) {
        field->setReadOnly(true);
        tankGrid->addWidget(new QLabel(label, tankBox), row, column);
        tankGrid->addWidget(field, row, column + 1);
    }

    // Saturation box.
    auto* saturationBox = new QGroupBox(tr("Saturation"), central);
    auto* saturationGrid = new QGridLayout(saturationBox);
    mTsatEditField0 = makeField(saturationBox, "mTsatEditField0");
    mTsatEditField1 = makeField(saturationBox, "mTsatEditField1");
    mPsatEditField0 = makeField(saturationBox, "mPsatEditField0");
    mPsatEditField1 = makeField(saturationBox, "mPsatEditField1");
    mPsatEditField0->setReadOnly(true);
    mPsatEditField1->setReadOnly(true);
    mSpinTsat0 = makeStepper(saturationBox, "mSpinTsat0", -273.15, 1000, 1);
    mSpinTsat1 = makeStepper(saturationBox, "mSpinTsat1", -459.67, 1832, 1);
    mSatRadio = new QButtonGroup(saturationBox);
    mSatRadio->setObjectName("mSatRadio");
    auto* bubble = new QRadioButton(tr("Bubble point"), saturationBox);
    auto* dew = new QRadioButton(tr("Dew point"), saturationBox);
    mSatRadio->addButton(bubble, kBubblePoint);
    mSatRadio->addButton(dew, kDewPoint);
    saturationGrid->addWidget(new QLabel(tr("T"), saturationBox), 0, 0);
    saturationGrid->addWidget(withStepper(saturationBox, mTsatEditField0, mSpinTsat0), 0, 1);
    saturationGrid->addWidget(new QLabel("\u00b0C", saturationBox), 0, 2);
    saturationGrid->addWidget(withStepper(saturationBox, mTsatEditField1, mSpinTsat1), 0, 3);
    saturationGrid->addWidget(new QLabel("\u00b0F", saturationBox), 0, 4);
    saturationGrid->addWidget(new QLabel(tr("P"), saturationBox), 1, 0);
    saturationGrid->addWidget(mPsatEditField0, 1, 1);
    saturationGrid->addWidget(new QLabel("bar", saturationBox), 1, 2);
    saturationGrid->addWidget(mPsatEditField1, 1, 3);
    saturationGrid->addWidget(new QLabel("psia", saturationBox), 1, 4);
    saturationGrid->addWidget(bubble, 2, 1);
    saturationGrid->addWidget(dew, 2, 3);

    // Composition chart.
    auto* chartBox = new QGroupBox(tr("Composition"), central);
    auto* chartColumn = new QVBoxLayout(chartBox);
    mBarPlotView = new CBarPlotView(chartBox);
    mBarPlotView->setObjectName("mBarPlotView");
    mBarPlotView->setMinimumSize(360, 220);
    mReferenceCheckBox = new QCheckBox(tr("Show as reference"), chartBox);
    mReferenceCheckBox->setObjectName("mReferenceCheckBox");
    chartColumn->addWidget(mBarPlotView, 1);
    chartColumn->addWidget(mReferenceCheckBox);

    // Two columns, so that the window fits a laptop screen: the fluids over their composition
    // chart; the components over the model, the stock tank and the saturation point.
    auto* tankAndSaturation = new QVBoxLayout;
    tankAndSaturation->addWidget(tankBox);
    tankAndSaturation->addWidget(saturationBox);
    tankAndSaturation->addStretch();
    auto* modelRow = new QHBoxLayout;
    modelRow->addWidget(modelBox, 1);
    modelRow->addLayout(tankAndSaturation, 1);
    layout->addWidget(fluidsBox, 0, 0);
    layout->addWidget(chartBox, 1, 0);
    layout->addWidget(componentsBox, 0, 1);
    layout->addLayout(modelRow, 1, 1);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(0, 3);
    layout->setRowStretch(1, 2);
    window->setCentralWidget(central);
    window->resize(kEditorWindowSize);
    fitInsideScreen(window);

    makeSheets(window);
    connectActions();
    return window;
}

FlashSheet* FluidModelController::flashSheet()
{
    window();
    return mFlashSheet;
}

TestSheet* FluidModelController::testSheet()
{
    window();
    return mTestSheet;
}

LumpSheet* FluidModelController::lumpSheet()
{
    window();
    return mLumpSheet;
}

SplitSheet* FluidModelController::splitSheet()
{
    window();
    return mSplitSheet;
}

void FluidModelController::makeSheets(QWidget* window)
{
    mFlashSheet = new FlashSheet(*this, window);
    mTestSheet = new TestSheet(*this, window);
    mLumpSheet = new LumpSheet(*this, window);
    mSplitSheet = new SplitSheet(*this, window);
    mSplitChoice = mSplitSheet->methodPopup();
    mSplitLastCombo = mSplitSheet->lastCarbonNumberCombo();
    connect(mFlashButton, &QPushButton::clicked, mFlashSheet, &FlashSheet::onClickFlash);
    connect(mTestButton, &QPushButton::clicked, mTestSheet, &TestSheet::onClickTest);
    connect(mLumpButton, &QPushButton::clicked, mLumpSheet, &LumpSheet::onClickLump);
    connect(mSplitButton, &QPushButton::clicked, mSplitSheet, &SplitSheet::onClickSplit);
}

void FluidModelController::connectActions()
{
    auto onFinished = [this](QLineEdit* field, auto action) {
        connect(field, &QLineEdit::editingFinished, this, [this, field, action] {
            if (field->isModified()) {
                field->setModified(false);
                (this->*action)(field);
            }
        });
    };
    for (QLineEdit* field : {mFluidNameEdit, mFluidCommentEdit, mTsatEditField0, mTsatEditField1})
        onFinished(field, &FluidModelController::onChangeFluidParameter);
    for (QLineEdit* field : {mMoleEditField, mMWEditField, mSGEditField, mTcEditField, mTkEditField, mTcREditField,
                             mPcEditField, mPcPsiaEditField, mOmegaEditField, mTbEditField, mTbKEditField,
                             mTbREditField, mVcEditField, mVcFtEditField})
        onFinished(field, &FluidModelController::onChangeComponentParameter);
    connect(mComponentCombo->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { onChangeComponentParameter(mComponentCombo); });
    connect(mComponentCombo, &QComboBox::activated, this,
            [this](int index) { comboBoxSelectionDidChange(mComponentCombo->itemText(index)); });
    connect(mSatRadio, &QButtonGroup::idClicked, this, [this] { onChangeSaturationPhase(); });
    connect(mSpinTsat0, &ValueStepper::stepped, this, [this] { onSpinTsat(mSpinTsat0); });
    connect(mSpinTsat1, &ValueStepper::stepped, this, [this] { onSpinTsat(mSpinTsat1); });
    connect(mSpinMole, &ValueStepper::stepped, this, [this] { onSpinComposition(); });
    connect(mReferenceCheckBox, &QCheckBox::clicked, this, [this] { onSelectReferenceFluid(mReferenceCheckBox); });
    const QList<std::pair<QPushButton*, void (FluidModelController::*)()>> buttons{
        {mFluidAddButton, &FluidModelController::onAddFluid},
        {mDuplicateButton, &FluidModelController::onDuplicateFluid},
        {mFluidDeleteButton, &FluidModelController::onDeleteFluid},
        {mAddButton, &FluidModelController::onAddComponent},
        {mDeleteButton, &FluidModelController::onDeleteComponent},
        {mNormalizeButton, &FluidModelController::onNormalizeButton},
        {mImportFileButton, &FluidModelController::onClickImport},
        {mImportButton, &FluidModelController::onImportData},
        {mLogButton, &FluidModelController::onWriteLog}};
    for (const auto& [button, action] : buttons)
        connect(button, &QPushButton::clicked, this, action);
    connect(mAlphaBetaize, &QPushButton::clicked, this, [this] { alphaBetaSheet().onClickAlphaBetaize(); });
    connectModelActions();
    connectCharacterisationActions();
}

void FluidModelController::windowDidLoad()
{
    for (QLineEdit* field : {mMoleEditField, mMWEditField, mSGEditField, mTcEditField, mTkEditField, mPcEditField,
                             mOmegaEditField, mGOREditField, mAPIEditField, mAPCEditField, mAlphaEditField,
                             mBetaEditField, mDeltaEditField, mCO2EditField, mN2EditField, mH2SEditField,
                             mTcREditField, mTbREditField, mPcPsiaEditField, mVcFtEditField})
        field->setAlignment(Qt::AlignLeft);
    for (MyTableView* table : {mFluidsView.data(), mComponentsView.data()}) {
        table->setFrameShape(QFrame::Panel);
        table->setFrameShadow(QFrame::Sunken);
        table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    mOldSelectedModelRadio = mUserDefinedRadio;

    // The model fields take their defaults before the first fluid is shown, which sets them.
    setDoubleValue4(*mAlphaEditField, kDefaultAlpha);
    setDoubleValue4(*mBetaEditField, kDefaultBeta);
    setDoubleValue4(*mDeltaEditField, kDefaultDelta);
    for (QLineEdit* gas : {mCO2EditField, mN2EditField, mH2SEditField})
        setDoubleValue3(*gas, 0);

    if (mFluids.isEmpty()) {
        refreshFluids();
        onAddFluid();
    } else {
        reloadFluids();
        {
            QScopedValueRollback quiet(mReloading, true);
            selectFluidRow(0);
        }
        refreshFluids();
    }
    mBarPlotView->setIsLogarithmic(true);
    mBarPlotView->setMinimum(0, 100);
}

// --- Selection and tables

int FluidModelController::selectedFluidRow() const
{
    if (!mFluidsView)
        return -1;
    const int row = mFluidsView->selectedRow();
    return row >= 0 && row < mFluids.size() ? row : -1;
}

FluidRecord FluidModelController::selectedFluid() const
{
    return mFluids.at(selectedFluidRow()).toDictionary();
}

int FluidModelController::selectedComponentRow() const
{
    if (!mComponentsView || !hasSelectedFluid())
        return -1;
    const int row = mComponentsView->selectedRow();
    return row >= 0 && row < selectedFluid().arrayValue(fluidkey::components).size() ? row : -1;
}

QList<int> FluidModelController::selectedComponentRows() const
{
    QList<int> rows;
    if (!mComponentsView || !hasSelectedFluid())
        return rows;
    const int count = selectedFluid().arrayValue(fluidkey::components).size();
    for (const QModelIndex& index : mComponentsView->selectionModel()->selectedRows())
        if (index.row() < count)
            rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FluidModelController::selectFluidRow(int row)
{
    mFluidsView->selectRowOrNone(row);
}

void FluidModelController::selectComponentRow(int row)
{
    mComponentsView->selectRowOrNone(row);
}

void FluidModelController::reloadFluids()
{
    QScopedValueRollback quiet(mReloading, true);
    mFluidsModel->reload();
}

void FluidModelController::reloadComponents()
{
    QScopedValueRollback quiet(mReloading, true);
    mComponentsModel->reload();
}

int FluidModelController::numberOfRows(const MyTableView* table) const
{
    if (table == mFluidsView)
        return mFluids.size();
    return hasSelectedFluid() ? selectedFluid().arrayValue(fluidkey::components).size() : 0;
}

Value FluidModelController::objectValue(const MyTableView* table, const QString& key, int row) const
{
    if (table == mFluidsView) {
        const FluidRecord fluid = mFluids.at(row).toDictionary();
        if (key == fluidkey::reference)
            return mHasReference && fluid.identity() == mReferenceFluid.identity();
        return fluid.value(key);
    }
    if (!hasSelectedFluid())
        return {};
    return selectedFluid().arrayValue(fluidkey::components).at(row).toDictionary().value(key);
}

void FluidModelController::setObjectValue(const MyTableView* table, const Value& value, const QString& key, int row)
{
    if (row < 0)
        return;
    if (table == mFluidsView) {
        FluidRecord fluid = mFluids.at(row).toDictionary();
        if (key == fluidkey::name) {
            fluid.setValue(fluidkey::name, value.toString());
            mFluidNameEdit->setText(value.toString());
            markChanged();
        } else if (key == fluidkey::reference) {
            mHasReference = value.toBool();
            mReferenceFluid = mHasReference ? fluid : FluidRecord();
            mFluidsModel->reload();
        }
        return;
    }
    if (!hasSelectedFluid())
        return;
    const Array components = selectedFluid().arrayValue(fluidkey::components);
    if (row < components.size())
        setComponent(components.at(row).toDictionary(), value, key);
}

void FluidModelController::tableViewSelectionDidChange(MyTableView* table)
{
    if (mReloading)
        return;
    if (table == mFluidsView)
        refreshFluids();
    else
        refreshComponents();
}

// --- Selection refresh

void FluidModelController::enableFluidControls(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{
             mFluidNameEdit, mFluidCommentEdit, mLogButton, mSplitButton, mSplitChoice, mSplitLastCombo,
             mEquationOfState, mTsatEditField0, mTsatEditField1, mPsatEditField0, mPsatEditField1, mSpinTsat0,
             mSpinTsat1, mFlashButton, mDuplicateButton, mLumpButton, mMixButton, mFluidDeleteButton, mTestButton})
        control->setEnabled(enabled);
    for (QAbstractButton* cell : mSatRadio->buttons())
        cell->setEnabled(enabled);
}

void FluidModelController::refreshFluids()
{
    const int row = selectedFluidRow();
    const bool single = row >= 0 && mFluidsView->selectionModel()->selectedRows().size() == 1;
    if (!single) {
        enableFluidControls(false);
        mAlphaBetaize->setEnabled(false);
        mMcCainType->clear();
        updatePlotView();
        if (row < 0) {
            // No fluid chosen (none left selected, after a deletion or its undo): no components either.
            reloadComponents();
            clearComponentDetails();
        }
        return;
    }
    enableFluidControls(true);
    showFluid(selectedFluid());
}

void FluidModelController::setSaturationFields(double celsius)
{
    const double fahrenheit = units::fahrenheitOfCelsius(celsius);
    setDoubleValue2(*mTsatEditField0, celsius);
    setDoubleValue2(*mTsatEditField1, fahrenheit);
    mSpinTsat0->setValue(celsius);
    mSpinTsat1->setValue(fahrenheit);
}

void FluidModelController::showFluid(FluidRecord fluid)
{
    mFluidNameEdit->setText(fluid.stringValue(fluidkey::name));
    mFluidCommentEdit->setText(fluid.stringValue(fluidkey::comment));
    mEquationOfState->setCurrentIndex(getEOSCode(fluid.value(fluidkey::eos)));
    const int type = fluid.intValue(fluidkey::fluidType);
    if (QAbstractButton* cell = mModelRadio->button(type))
        cell->setChecked(true);
    updateModelBoxView(type, fluid);

    double celsius = kDefaultTsat;
    int phase = kBubblePoint;
    if (fluid.contains(fluidkey::tsat)) {
        celsius = fluid.doubleValue(fluidkey::tsat);
        if (fluid.contains(fluidkey::satPhase))
            phase = fluid.intValue(fluidkey::satPhase);
        else
            fluid.setValue(fluidkey::satPhase, kBubblePoint);
    }
    setSaturationFields(celsius);
    if (QAbstractButton* cell = mSatRadio->button(phase == kDewPoint ? kDewPoint : kBubblePoint))
        cell->setChecked(true);

    reloadComponents();
    calculateGORAPI();
    refreshComponents();
}

void FluidModelController::enableComponentControls(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{
             mMoleEditField, mMWEditField, mSGEditField, mTcEditField, mTkEditField, mPcEditField, mOmegaEditField,
             mSpinMole, mNormalizeCheckBox, mTbEditField, mTbKEditField, mVcEditField, mCorrelationChoice,
             mTcREditField, mTbREditField, mPcPsiaEditField, mVcFtEditField, mMwChoice, mSelectC7plus})
        control->setEnabled(enabled);
}

void FluidModelController::refreshComponents()
{
    if (!hasSelectedFluid())
        return;
    const QList<int> rows = selectedComponentRows();
    if (rows.size() == 1) {
        enableComponentControls(true);
        const bool userDefined = mUserDefinedRadio->isChecked();
        for (QWidget* control : {static_cast<QWidget*>(mComponentCombo), static_cast<QWidget*>(mDeleteButton),
                                 static_cast<QWidget*>(mNormalizeButton)})
            control->setEnabled(userDefined);
        showComponent(selectedFluid().arrayValue(fluidkey::components).at(rows.first()).toDictionary());
        updatePlotView();
        return;
    }
    clearComponentDetails();
    if (!rows.isEmpty())
        for (QWidget* control : {static_cast<QWidget*>(mCorrelationChoice), static_cast<QWidget*>(mMwChoice),
                                 static_cast<QWidget*>(mDeleteButton), static_cast<QWidget*>(mNormalizeButton)})
            control->setEnabled(true);
}

void FluidModelController::clearComponentDetails()
{
    enableComponentControls(false);
    for (QWidget* control : {static_cast<QWidget*>(mComponentCombo), static_cast<QWidget*>(mDeleteButton),
                             static_cast<QWidget*>(mNormalizeButton)})
        control->setEnabled(false);
    for (QLineEdit* field : {mMoleEditField, mMWEditField, mSGEditField, mTcEditField, mPcEditField, mOmegaEditField,
                             mTkEditField, mTbEditField, mTbKEditField, mVcEditField, mTcREditField, mTbREditField,
                             mPcPsiaEditField, mVcFtEditField})
        field->clear();
}

void FluidModelController::showComponent(const ComponentRecord& component)
{
    using namespace componentkey;
    mComponentCombo->setEditText(component.stringValue(name));
    const double tc = component.doubleValue(componentkey::tc);
    const double tb = component.doubleValue(componentkey::tb);
    const double pc = component.doubleValue(componentkey::pc);
    setDoubleValue2(*mMoleEditField, component.doubleValue(mole));
    setDoubleValue2(*mMWEditField, component.doubleValue(mw));
    setDoubleValue4(*mSGEditField, component.doubleValue(sg));
    setDoubleValue2(*mTcEditField, tc);
    setDoubleValue2(*mPcEditField, pc);
    setDoubleValue4(*mOmegaEditField, component.doubleValue(omega));
    setDoubleValue2(*mTkEditField, units::kelvinOfCelsius(tc));
    setDoubleValue2(*mTbEditField, tb);
    setDoubleValue2(*mTbKEditField, units::kelvinOfCelsius(tb));
    setDoubleValue2(*mVcEditField, component.doubleValue(vc));
    mSpinMole->setValue(component.doubleValue(mole));
    setDoubleValue2(*mTcREditField, units::rankineOfCelsius(tc));
    setDoubleValue2(*mTbREditField, units::rankineOfCelsius(tb));
    setDoubleValue2(*mPcPsiaEditField, units::psiaOfBar(pc));
    setDoubleValue2(*mVcFtEditField, units::ft3PerLbOfVc(component.doubleValue(vc), component.doubleValue(mw)));
    const int item = mCorrelationChoice->findData(component.intValue(corr));
    if (item >= 0)
        mCorrelationChoice->setCurrentIndex(item);
}

void FluidModelController::updatePlotView()
{
    const bool single = hasSelectedFluid() && mFluidsView->selectionModel()->selectedRows().size() == 1;
    const auto [labels, values] = single ? compositionOf(selectedFluid()) : compositionOf(FluidRecord());
    mBarPlotView->setValues(values);
    mBarPlotView->setLabels(labels);
    mBarPlotView->update();
}

void FluidModelController::onSelectReferenceFluid(QObject* sender)
{
    if (!hasSelectedFluid())
        return;
    auto* box = qobject_cast<QAbstractButton*>(sender);
    if (box && box->isChecked()) {
        const auto [labels, values] = compositionOf(selectedFluid());
        mBarPlotView->setReferenceLabels(labels, values);
    } else {
        mBarPlotView->setReferenceLabels({}, {});
    }
    reloadFluids();
    mBarPlotView->update();
}

AlphaBetaSheet& FluidModelController::alphaBetaSheet()
{
    if (!mAlphaBetaSheet)
        mAlphaBetaSheet = std::make_unique<AlphaBetaSheet>(*this);
    return *mAlphaBetaSheet;
}

void FluidModelController::finishAddFluid(const FluidRecord& fluid, int index)
{
    reloadFluids();
    selectFluidRow(index);
    registerUndo([this, fluid] { deleteFluid(fluid); });
    postModified();
}

void FluidModelController::finishAddFluids(const QList<FluidRecord>& fluids)
{
    if (fluids.isEmpty())
        return;
    reloadFluids();
    selectFluidRow(mFluids.indexOf(fluids.last()));
    // The undo group, once closed, marks the document changed: one step, as Undo takes back.
    UndoManager* undo = undoManager();
    if (undo)
        undo->beginUndoGrouping();
    for (const FluidRecord& fluid : fluids)
        registerUndo([this, fluid] { deleteFluid(fluid); });
    if (undo)
        undo->endUndoGrouping();
    postModified();
}

void FluidModelController::beginSheet(EditorSheet& sheet)
{
    sheet.beginSheet(window(), [this](EditorSheet* ended, int returnCode, void* contextInfo) {
        sheetDidEnd(ended, returnCode, contextInfo);
    });
}

void FluidModelController::sheetDidEnd(EditorSheet* sheet, int, void*)
{
    sheet->hide();
}

void FluidModelController::finishGenerateAlphaBetaFluid()
{
    if (mFluids.isEmpty())
        return;
    window();
    const int last = mFluids.size() - 1;
    reloadFluids();
    selectFluidRow(last);
    const FluidRecord fluid = mFluids.at(last).toDictionary();
    registerUndo([this, fluid] { deleteFluid(fluid); });
}

// --- Undoable edits

void FluidModelController::registerUndo(std::function<void()> inverse)
{
    if (UndoManager* undo = undoManager())
        undo->registerUndo(this, std::move(inverse));
}

void FluidModelController::setFluid(FluidRecord fluid, const Value& value, const QString& key)
{
    const Value old = fluid.value(key);
    if (!old.isNull() && old.isEqualTo(value))
        return;
    registerUndo([this, fluid, old, key] { setFluid(fluid, old, key); });
    fluid.setValue(key, value);
    reloadFluids();
    refreshFluids();
}

void FluidModelController::setComponent(ComponentRecord component, const Value& value, const QString& key)
{
    const Value old = component.value(key);
    if (!old.isNull() && old.isEqualTo(value))
        return;
    registerUndo([this, component, old, key] { setComponent(component, old, key); });
    const int code = component.intValue(componentkey::corr);
    if (key == componentkey::name) {
        const QString name = typedComponentName(value.toString());
        mComponentCombo->setEditText(name);
        setComponentName(name, component, kCorrelationJianzhong0);
    } else {
        component.setValue(key, value);
        if (correlationReadsKey(code, key))
            applyCorrelation(component, code);
    }
    reloadComponents();
    calculateGORAPI();
    refreshComponents();
}

void FluidModelController::deleteFluid(const FluidRecord& fluid)
{
    deleteFluids({fluid});
}

void FluidModelController::addFluid(const FluidRecord& fluid, int index)
{
    addFluids({fluid}, index);
}

// The fluids stand one after another from the first one's row, as addFluids put them.
void FluidModelController::deleteFluids(const QList<FluidRecord>& fluids)
{
    const int index = fluids.isEmpty() ? -1 : mFluids.indexOf(fluids.first());
    if (index < 0)
        return;
    registerUndo([this, fluids, index] { addFluids(fluids, index); });
    for (const FluidRecord& fluid : fluids)
        if (mHasReference && mReferenceFluid.identity() == fluid.identity()) {
            mHasReference = false;
            mReferenceFluid = FluidRecord();
        }
    // From the last, so that fluids at the end of the list go without moving the others.
    for (qsizetype i = fluids.size() - 1; i >= 0; --i) {
        const int row = index + int(i);
        mFluids.removeAt(mFluids.at(row).identity() == fluids[i].identity() ? row : mFluids.indexOf(fluids[i]));
    }
    reloadFluids();
    refreshFluids();
}

void FluidModelController::addFluids(const QList<FluidRecord>& fluids, int index)
{
    registerUndo([this, fluids] { deleteFluids(fluids); });
    const int first = std::clamp(index, 0, mFluids.size());
    for (qsizetype i = 0; i < fluids.size(); ++i)
        mFluids.insert(first + int(i), fluids[i]);
    reloadFluids();
    refreshFluids();
}

void FluidModelController::afterComponentChange(const FluidRecord& fluid)
{
    if (mDeferComponentRefresh || !hasSelectedFluid() || selectedFluid().identity() != fluid.identity())
        return;
    reloadComponents();
    calculateGORAPI();
    refreshComponents();
}

void FluidModelController::deleteComponent(FluidRecord fluid, const ComponentRecord& component)
{
    Array components = fluid.arrayValue(fluidkey::components);
    const int index = components.indexOf(component);
    if (index < 0)
        return;
    registerUndo([this, fluid, component, index] { addComponent(fluid, component, index); });
    components.removeAt(index);
    afterComponentChange(fluid);
}

void FluidModelController::addComponent(FluidRecord fluid, const ComponentRecord& component, int index)
{
    Array components = fluid.arrayValue(fluidkey::components);
    registerUndo([this, fluid, component] { deleteComponent(fluid, component); });
    components.insert(std::clamp(index, 0, components.size()), component);
    afterComponentChange(fluid);
}

// --- Commands

void FluidModelController::onAddFluid()
{
    const FluidRecord fluid = makeNewFluid(mFluids.isEmpty());
    const int row = selectedFluidRow();
    const int index = row >= 0 ? row + 1 : mFluids.size();
    mFluids.insert(index, fluid);
    finishAddFluid(fluid, index);
}

void FluidModelController::onDuplicateFluid()
{
    const int row = selectedFluidRow();
    if (row < 0)
        return;
    const FluidRecord copy = duplicateFluid(mFluids.at(row).toDictionary());
    mFluids.insert(row + 1, copy);
    finishAddFluid(copy, row + 1);
}

void FluidModelController::onDeleteFluid()
{
    const int row = selectedFluidRow();
    if (row < 0)
        return;
    deleteFluid(mFluids.at(row).toDictionary());
    selectFluidRow(std::min(row, mFluids.size() - 1));
    reloadComponents();
    refreshComponents();
    postModified();
}

void FluidModelController::onAddComponent()
{
    if (!hasSelectedFluid())
        return;
    FluidRecord fluid = selectedFluid();
    Array components = fluid.arrayValue(fluidkey::components);
    const int row = selectedComponentRow();
    const int nc = row >= 0 ? components.at(row).toDictionary().intValue(componentkey::nc) : 0;
    ComponentRecord component;
    setComponentName(nextComponentName(nc), component, kCorrelationJianzhong0);
    component.setValue(componentkey::mole, 0.0);
    const int index = row >= 0 ? row + 1 : components.size();
    components.insert(index, component);
    if (!fluid.contains(fluidkey::components))
        fluid.setValue(fluidkey::components, components);
    reloadComponents();
    selectComponentRow(index);
    registerUndo([this, fluid, component] { deleteComponent(fluid, component); });
}

void FluidModelController::onDeleteComponent()
{
    if (!hasSelectedFluid())
        return;
    const FluidRecord fluid = selectedFluid();
    const Array components = fluid.arrayValue(fluidkey::components);
    const QList<int> rows = selectedComponentRows();
    if (rows.size() == 1) {
        deleteComponent(fluid, components.at(rows.first()).toDictionary());
        return;
    }
    if (rows.isEmpty())
        return;
    // Several components go as one undoable step; from the last row up, so that their
    // undo puts each back at its own index.
    UndoManager* undo = undoManager();
    if (undo)
        undo->beginUndoGrouping();
    {
        QScopedValueRollback defer(mDeferComponentRefresh, true);
        for (auto row = rows.rbegin(); row != rows.rend(); ++row)
            deleteComponent(fluid, components.at(*row).toDictionary());
    }
    if (undo)
        undo->endUndoGrouping();
    afterComponentChange(fluid);
}

void FluidModelController::onAddRow()
{
    if (!hasSelectedFluid())
        return;
    if (selectedFluid().intValue(fluidkey::fluidType) == kFluidTypeComponentList)
        onAddComponent();
    else
        onAddFluid();
}

void FluidModelController::onDeleteRow()
{
    if (!hasSelectedFluid())
        return;
    const FluidRecord fluid = selectedFluid();
    if (fluid.intValue(fluidkey::fluidType) != kFluidTypeComponentList)
        onDeleteFluid();
    else if (!fluid.arrayValue(fluidkey::components).isEmpty())
        onDeleteComponent();
}

void FluidModelController::tableViewDeleteSelectedRow(MyTableView*)
{
    onDeleteComponent();
}

void FluidModelController::tableViewShiftDownSelectedRow(MyTableView* tableView)
{
    moveSelectedRow(tableView, 1);
}

void FluidModelController::tableViewShiftUpSelectedRow(MyTableView* tableView)
{
    moveSelectedRow(tableView, -1);
}

void FluidModelController::moveSelectedRow(MyTableView* table, int step)
{
    const bool fluids = table == mFluidsView;
    const int row = fluids ? selectedFluidRow() : selectedComponentRow();
    if (row < 0)
        return;
    Array list = fluids ? mFluids : selectedFluid().arrayValue(fluidkey::components);
    const int target = row + step;
    if (target < 0 || target >= list.size())
        return;
    list.swap(row, target);
    if (fluids) {
        reloadFluids();
        selectFluidRow(target);
    } else {
        reloadComponents();
        selectComponentRow(target);
    }
    markChanged();
}

void FluidModelController::copy()
{
    if (!mFluidsView)
        return;
    QList<int> rows;
    for (const QModelIndex& index : mFluidsView->selectionModel()->selectedRows())
        if (index.row() < mFluids.size())
            rows.append(index.row());
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    Array copied;
    for (int row : rows)
        copied.append(mFluids.at(row));
    Pasteboard::clear();
    Pasteboard::setArchivedValue(Pasteboard::fluidsDataType, copied);
}

void FluidModelController::paste()
{
    if (!Pasteboard::hasType(Pasteboard::fluidsDataType))
        return;
    const Value pasted = Pasteboard::archivedValue(Pasteboard::fluidsDataType);
    if (!pasted.isArray())
        return;
    // The pasted fluids are one undoable step, which marks the document changed.
    UndoManager* undo = undoManager();
    if (undo)
        undo->beginUndoGrouping();
    for (const Value& value : pasted.toArray()) {
        if (!value.isDictionary())
            continue;
        const FluidRecord fluid = value.toDictionary();
        mFluids.append(fluid);
        registerUndo([this, fluid] { deleteFluid(fluid); });
    }
    if (undo)
        undo->endUndoGrouping();
    reloadFluids();
}

// --- Detail editing

int FluidModelController::selectedSatPhase() const
{
    return mSatRadio->checkedId() == kDewPoint ? kDewPoint : kBubblePoint;
}

void FluidModelController::onChangeFluidParameter(QObject* sender)
{
    if (!hasSelectedFluid())
        return;
    const FluidRecord fluid = selectedFluid();
    if (sender == mFluidNameEdit || sender == mFluidCommentEdit) {
        const QString key = sender == mFluidNameEdit ? fluidkey::name : fluidkey::comment;
        setFluid(fluid, static_cast<QLineEdit*>(sender)->text(), key);
    } else if (sender == mTsatEditField0 || sender == mTsatEditField1) {
        const std::optional<double> typed = numberOfText(static_cast<QLineEdit*>(sender)->text());
        if (!typed) {  // not a temperature: the fields show the record again
            refreshFluids();
            return;
        }
        const double celsius = sender == mTsatEditField0 ? *typed : units::celsiusOfFahrenheit(*typed);
        setFluid(fluid, celsius, fluidkey::tsat);
    } else if (sender == mSatRadio) {
        setFluid(fluid, selectedSatPhase(), fluidkey::satPhase);
    }
}

void FluidModelController::onChangeSaturationPhase()
{
    if (!hasSelectedFluid())
        return;
    selectedFluid().setValue(fluidkey::satPhase, selectedSatPhase());
    calculateGORAPI();
    markChanged();
}

void FluidModelController::onSpinTsat(QObject* sender)
{
    double celsius = mSpinTsat0->value();
    if (sender == mSpinTsat1)
        celsius = units::celsiusOfFahrenheit(mSpinTsat1->value());
    setDoubleValue2(*mTsatEditField0, celsius);
    setDoubleValue2(*mTsatEditField1, units::fahrenheitOfCelsius(celsius));
    if (!hasSelectedFluid())
        return;
    setFluid(selectedFluid(), celsius, fluidkey::tsat);  // marks the document changed
    calculateGORAPI();
}

void FluidModelController::onChangeComponentParameter(QObject* sender)
{
    const int row = selectedComponentRow();
    if (row < 0 || selectedComponentRows().size() != 1)
        return;
    ComponentRecord component = selectedFluid().arrayValue(fluidkey::components).at(row).toDictionary();
    if (sender == mComponentCombo) {
        const QString name = typedComponentName(mComponentCombo->currentText());
        setComponentName(name, component, component.intValue(componentkey::corr));
        afterComponentChange(selectedFluid());
        markChanged();
        return;
    }
    auto* field = qobject_cast<QLineEdit*>(sender);
    const std::optional<double> typed = field ? numberOfText(field->text()) : std::nullopt;
    if (!typed) {  // not a number: the fields show the component again
        refreshComponents();
        return;
    }
    using Conversion = std::function<double(double)>;
    const Conversion none = [](double v) { return v; };
    const double mw = component.doubleValue(componentkey::mw);
    const QList<std::tuple<QLineEdit*, QString, Conversion>> fields{
        {mMoleEditField, componentkey::mole, none},
        {mMWEditField, componentkey::mw, none},
        {mSGEditField, componentkey::sg, none},
        {mTcEditField, componentkey::tc, none},
        {mTkEditField, componentkey::tc, units::celsiusOfKelvin},
        {mTcREditField, componentkey::tc, units::celsiusOfRankine},
        {mPcEditField, componentkey::pc, none},
        {mPcPsiaEditField, componentkey::pc, units::barOfPsia},
        {mOmegaEditField, componentkey::omega, none},
        {mTbEditField, componentkey::tb, none},
        {mTbKEditField, componentkey::tb, units::celsiusOfKelvin},
        {mTbREditField, componentkey::tb, units::celsiusOfRankine},
        {mVcEditField, componentkey::vc, none},
        {mVcFtEditField, componentkey::vc, [mw](double v) { return units::vcOfFt3PerLb(v, mw); }}};
    for (const auto& [control, key, convert] : fields)
        if (control == field) {
            setComponent(component, convert(*typed), key);
            return;
        }
}

void FluidModelController::comboBoxSelectionDidChange(const QString& item)
{
    const int row = selectedComponentRow();
    if (row < 0 || selectedComponentRows().size() != 1)
        return;
    setComponentName(item, selectedFluid().arrayValue(fluidkey::components).at(row).toDictionary(),
                     kCorrelationJianzhong0);
    afterComponentChange(selectedFluid());
    markChanged();
}

void FluidModelController::onSpinComposition()
{
    const int row = selectedComponentRow();
    if (row < 0)
        return;
    const FluidRecord fluid = selectedFluid();
    const Array components = fluid.arrayValue(fluidkey::components);
    ComponentRecord stepped = components.at(row).toDictionary();
    const double value = mSpinMole->value();
    stepped.setValue(componentkey::mole, value);
    if (mNormalizeCheckBox->isChecked()) {
        double others = 0;
        for (const Value& component : components)
            if (component.toDictionary().identity() != stepped.identity())
                others += component.toDictionary().doubleValue(componentkey::mole);
        if (others > 0)
            for (const Value& element : components) {
                ComponentRecord component = element.toDictionary();
                if (component.identity() != stepped.identity())
                    component.setValue(componentkey::mole,
                                       component.doubleValue(componentkey::mole) * (100 - value) / others);
            }
    }
    afterComponentChange(fluid);
    markChanged();
}

void FluidModelController::onNormalizeButton()
{
    if (!hasSelectedFluid())
        return;
    const FluidRecord fluid = selectedFluid();
    const Array components = fluid.arrayValue(fluidkey::components);
    const double sum = moleSum(components);
    if (!std::isfinite(sum))  // a sum that is no number would turn every fraction into one
        return;
    if (sum == 0) {
        if (components.isEmpty())
            return;
        components.at(0).toDictionary().setValue(componentkey::mole, 100.0);
    } else if (sum != 100) {
        for (const Value& element : components) {
            ComponentRecord component = element.toDictionary();
            component.setValue(componentkey::mole, component.doubleValue(componentkey::mole) * 100 / sum);
        }
    } else {
        return;
    }
    afterComponentChange(fluid);
    markChanged();
}

// --- Stock-tank properties and saturation pressure

void FluidModelController::clearStockTankFields()
{
    for (QLineEdit* field : {mGOREditField, mAPIEditField, mAPCEditField})
        field->clear();
}

void FluidModelController::showStockTank(FluidRecord fluid, const StockTankResult& result)
{
    clearStockTankFields();  // what this tank has no value for shows nothing, never another fluid's
    auto showGravities = [this, &result] {
        showNumber(*mAPIEditField, result.api[0], NumberFormat::Decimals2);
        showNumber(*mAPCEditField, result.api[3], NumberFormat::Decimals2);
    };
    QString apiText;  // all six gravities as one word, or numbers when empty
    switch (result.state) {
    case StockTankState::TwoPhases:
        fluid.setValue(fluidkey::gor, result.gor);
        fluid.setValue(fluidkey::api, result.api[0]);
        showNumber(*mGOREditField, result.gor, NumberFormat::Decimals2);
        if (!(result.api[0] > kApiDisplayLimit))
            showGravities();
        break;
    case StockTankState::Gas: apiText = QStringLiteral("Gas"); break;
    case StockTankState::Liquid:
        showGravities();
        apiText = QStringLiteral("Liquid");
        break;
    case StockTankState::None: apiText = QStringLiteral("err"); break;
    }
    for (int i = 0; i < int(result.api.size()); ++i)
        fluid.setValue(fluidkey::apiMethod(i), apiText.isEmpty() ? Value(result.api[i]) : Value(apiText));
}

void FluidModelController::calculateGORAPI()
{
    if (!hasSelectedFluid() || mFluids.isEmpty())
        return;
    FluidRecord fluid = selectedFluid();
    const Array components = fluid.arrayValue(fluidkey::components);
    const int type = fluid.intValue(fluidkey::fluidType);
    const double sum = moleSum(components);
    mMcCainType->setText(getMcCainFluidType(fluid));
    updatePlotView();

    if (sum == 0) {  // nothing to flash
        showStockTank(fluid, StockTankResult{});
        for (QLineEdit* field : {mC7plusEditField, mMWC7plusEditField, mSGC7plusEditField, mPsatEditField0,
                                 mPsatEditField1})
            field->clear();
        showNumber(*mMoleSum, sum, NumberFormat::Decimals4);
        return;
    }
    const int interfaceType = type == kFluidTypeAlphaBeta ? kFluidTypeAlphaBeta : kFluidTypeComponentList;
    std::unique_ptr<StockTankCalculation> calculation =
        mStockTank(interfaceType, getEOSCode(fluid.value(fluidkey::eos)), fluid);
    QProgressDialog progress(tr("Calculating the stock tank…"), tr("Cancel"), 0, 1, window());
    progress.setObjectName(QStringLiteral("stockTankProgress"));
    const StockTankResult result = calculation->calculateGOR(progressOf(progress));
    if (result.stopped)
        return;  // the user's choice: the fluid stays as it was
    fluid.setValue(fluidkey::bulkMw, result.bulkMw);
    fluid.setValue(fluidkey::mwC7plus, result.mwC7plus);
    fluid.setValue(fluidkey::c7plus, result.c7plus);
    fluid.setValue(fluidkey::sgC7plus, result.sgC7plus);
    showNumber(*mC7plusEditField, result.c7plus, NumberFormat::Decimals2);
    showNumber(*mMWC7plusEditField, result.mwC7plus, NumberFormat::Decimals2);
    showNumber(*mSGC7plusEditField, result.sgC7plus, NumberFormat::Decimals2);
    showStockTank(fluid, result);

    const double celsius = Value(mTsatEditField0->text()).toDouble();
    const int kind = selectedSatPhase();
    const double pressure = calculation->calculateSaturation(celsius, kind);
    if (pressure != kSaturationFailure) {
        showNumber(*mPsatEditField0, pressure, NumberFormat::Decimals2);
        showNumber(*mPsatEditField1, units::psiaOfBar(pressure), NumberFormat::Decimals2);
        fluid.setValue(fluidkey::psat, pressure);
        fluid.setValue(fluidkey::tsat, celsius);
        fluid.setValue(fluidkey::satPhase, kind);
    } else {
        mPsatEditField0->clear();
        mPsatEditField1->clear();
    }
    showNumber(*mMoleSum, sum, NumberFormat::Decimals4);
}

// --- Menu commands

QStringList FluidModelController::answeredActions() const
{
    return WindowController::answeredActions() + QStringList{kCopy, kPaste, kAddRow, kDeleteRow};
}

bool FluidModelController::validateAction(const QString& action, QAction* item)
{
    if (action == kCopy)
        return mFluidsView && mFluidsView->selectionModel()->hasSelection();
    if (action == kPaste)
        return Pasteboard::hasType(Pasteboard::fluidsDataType);
    if (action == kAddRow || action == kDeleteRow)
        return hasSelectedFluid();
    return WindowController::validateAction(action, item);
}

void FluidModelController::performAction(const QString& action, QObject* sender)
{
    if (action == kCopy)
        copy();
    else if (action == kPaste)
        paste();
    else if (action == kAddRow)
        onAddRow();
    else if (action == kDeleteRow)
        onDeleteRow();
    else
        WindowController::performAction(action, sender);
}

// --- Installation

namespace {

class FluidModelControllerFactory : public FluidModelEditorFactory
{
public:
    std::unique_ptr<WindowController> makeFluidModelController() override
    {
        return std::make_unique<FluidModelController>();
    }
};

}  // namespace

void installFluidModelEditor()
{
    static FluidModelControllerFactory factory;
    FluidModelEditorFactory::install(&factory);
    installCharacterisationLogWindow();
}

}  // namespace quorvel
