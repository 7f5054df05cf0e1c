#include "editor/FluidTableEditor.h"

#include "characterisation/Correlations.h"
#include "editor/EditorChanges.h"
#include "editor/EditorControls.h"
#include "editor/FluidTableControls.h"
#include "platform/Pasteboard.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

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

double moleSum(const Array& components)
{
    double sum = 0;
    for (const Value& component : components)
        sum += component.toDictionary().doubleValue(componentkey::mole);
    return sum;
}

}  // namespace

FluidTableEditor::FluidTableEditor(const EditorChanges& changes, Hooks hooks)
    : mChanges(changes), mHooks(std::move(hooks)), mControls(std::make_unique<Controls>())
{
}

FluidTableEditor::~FluidTableEditor() = default;

void FluidTableEditor::setFluids(const Array& fluids)
{
    mFluids = fluids;
    mHasReference = false;
}

// --- Boxes

MyTableView* FluidTableEditor::makeTable(QWidget* parent, const QString& outlet,
                                         const QList<FluidTableModel::Column>& columns, FluidTableModel*& model)
{
    auto* table = new MyTableView(parent);
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
}

void FluidTableEditor::makeTables(QWidget* parent)
{
    const auto two = NumberFormat::Decimals2;
    const auto four = NumberFormat::Decimals4;
    mFluidsView = makeTable(parent, "mFluidsView",
                            {{fluidkey::reference, tr("Ref."), std::nullopt, true, true},
                             {fluidkey::name, tr("Name")},
                             {fluidkey::fluidType, tr("Type"), std::nullopt, false},
                             {fluidkey::eos, tr("EOS"), std::nullopt, false},
                             {fluidkey::gor, tr("GOR"), two, false},
                             {fluidkey::api, tr("API"), two, false},
                             {fluidkey::c7plus, tr("C7+"), two, false}},
                            mFluidsModel);
    mComponentsView = makeTable(parent, "mComponentsView",
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
}

QGroupBox* FluidTableEditor::makeFluidsBox(QWidget* parent, const SheetButtonsMaker& makeSheetButtons)
{
    Controls& c = *mControls;
    auto* box = new QGroupBox(tr("Fluids"), parent);
    const QList<std::tuple<QPushButton* Controls::*, QString, QString>> listButtons{
        {&Controls::fluidAddButton, "mFluidAddButton", tr("New")},
        {&Controls::duplicateButton, "mDuplicateButton", tr("Duplicate")},
        {&Controls::fluidDeleteButton, "mFluidDeleteButton", tr("Delete")}};
    for (const auto& [button, outlet, title] : listButtons)
        c.*button = makeButton(box, outlet, title);
    const QList<QPushButton*> sheetButtons = makeSheetButtons(box);
    c.importFileButton = makeButton(box, "mImportFileButton", tr("Import fluids..."));
    c.fluidNameEdit = makeField(box, "mFluidNameEdit");
    c.fluidCommentEdit = makeField(box, "mFluidCommentEdit");
    c.mcCainType = makeField(box, "mMcCainType");
    c.mcCainType->setReadOnly(true);
    auto* grid = new QGridLayout(box);
    grid->addWidget(mFluidsView, 0, 0, 1, 5);
    const QList<QPushButton*> buttons = QList<QPushButton*>{c.fluidAddButton, c.duplicateButton, c.fluidDeleteButton}
                                        + sheetButtons + QList<QPushButton*>{c.importFileButton};
    for (int i = 0; i < buttons.size(); ++i)
        grid->addWidget(buttons[i], 1 + i / 5, i % 5);
    grid->addWidget(new QLabel(tr("Name"), box), 3, 0);
    grid->addWidget(c.fluidNameEdit, 3, 1, 1, 4);
    grid->addWidget(new QLabel(tr("Comment"), box), 4, 0);
    grid->addWidget(c.fluidCommentEdit, 4, 1, 1, 4);
    grid->addWidget(new QLabel(tr("McCain type"), box), 5, 0);
    grid->addWidget(c.mcCainType, 5, 1, 1, 2);
    grid->setRowStretch(0, 1);
    return box;
}

QGroupBox* FluidTableEditor::makeComponentsBox(QWidget* parent)
{
    Controls& c = *mControls;
    auto* box = new QGroupBox(tr("Components"), parent);
    auto* grid = new QGridLayout(box);
    c.addButton = makeButton(box, "mAddButton", tr("Add"));
    c.deleteButton = makeButton(box, "mDeleteButton", tr("Delete"));
    c.normalizeButton = makeButton(box, "mNormalizeButton", tr("Normalise"));
    c.importButton = makeButton(box, "mImportButton", tr("Import..."));
    c.logButton = makeButton(box, "mLogButton", tr("Report"));
    c.selectC7plus = makeButton(box, "mSelectC7plus", tr("Select C7+"));
    c.equationOfState = makePopup(box, "mEquationOfState");
    c.equationOfState->addItems({tr("Peng-Robinson"), tr("SRK")});
    c.componentCombo = makePopup(box, "mComponentCombo");
    c.componentCombo->setEditable(true);
    c.componentCombo->setInsertPolicy(QComboBox::NoInsert);
    c.componentCombo->addItems(kSpeciesNames);
    c.mwChoice = makePopup(box, "mMwChoice");
    c.mwChoice->addItems({QStringLiteral("14n + 2"), QStringLiteral("14n - 4")});
    c.correlationChoice = makePopup(box, "mCorrelationChoice");
    for (const auto& [code, title] : kCorrelationItems)
        c.correlationChoice->addItem(title, code);
    for (int code = kFirstCorrelationSet; code <= kLastCorrelationSet; ++code)
        c.correlationChoice->addItem(tr("Set %1").arg(code), code);
    c.moleEditField = makeField(box, "mMoleEditField");
    c.spinMole = makeStepper(box, "mSpinMole", 0, 100, 0.1);
    c.mwEditField = makeField(box, "mMWEditField");
    c.sgEditField = makeField(box, "mSGEditField");
    c.tcEditField = makeField(box, "mTcEditField");
    c.tkEditField = makeField(box, "mTkEditField");
    c.tcREditField = makeField(box, "mTcREditField");
    c.pcEditField = makeField(box, "mPcEditField");
    c.pcPsiaEditField = makeField(box, "mPcPsiaEditField");
    c.omegaEditField = makeField(box, "mOmegaEditField");
    c.tbEditField = makeField(box, "mTbEditField");
    c.tbKEditField = makeField(box, "mTbKEditField");
    c.tbREditField = makeField(box, "mTbREditField");
    c.vcEditField = makeField(box, "mVcEditField");
    c.vcFtEditField = makeField(box, "mVcFtEditField");
    c.moleSum = makeField(box, "mMoleSum");
    c.moleSum->setReadOnly(true);
    c.normalizeCheckBox = new QCheckBox(tr("Keep 100 %"), box);
    c.normalizeCheckBox->setObjectName("mNormalizeCheckBox");

    grid->addWidget(mComponentsView, 0, 0, 1, 8);
    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* button : {c.addButton, c.deleteButton, c.normalizeButton, c.importButton, c.logButton,
                                c.selectC7plus})
        buttonRow->addWidget(button);
    buttonRow->addStretch();
    buttonRow->addWidget(new QLabel(tr("EOS"), box));
    buttonRow->addWidget(c.equationOfState);
    grid->addLayout(buttonRow, 1, 0, 1, 8);
    auto addRow = [grid, box](int row, const QString& label, QList<std::pair<QWidget*, QString>> cells) {
        grid->addWidget(new QLabel(label, box), row, 0);
        int column = 1;
        for (const auto& [widget, unit] : cells) {
            grid->addWidget(widget, row, column++);
            grid->addWidget(new QLabel(unit, box), row, column++);
        }
    };
    grid->addWidget(new QLabel(tr("Component"), box), 2, 0);
    grid->addWidget(c.componentCombo, 2, 1);
    grid->addWidget(new QLabel(tr("Correlation"), box), 2, 3);
    grid->addWidget(c.correlationChoice, 2, 4, 1, 2);
    grid->addWidget(c.mwChoice, 2, 6, 1, 2);
    addRow(3, tr("Mole"), {{withStepper(box, c.moleEditField, c.spinMole), "%"}, {c.moleSum, tr("% total")}});
    grid->addWidget(c.normalizeCheckBox, 3, 5, 1, 2);
    addRow(4, tr("MW"), {{c.mwEditField, "g/mol"}, {c.sgEditField, "SG"}, {c.omegaEditField, tr("omega")}});
    addRow(5, tr("Tc"), {{c.tcEditField, "\u00b0C"}, {c.tkEditField, "K"}, {c.tcREditField, "\u00b0R"}});
    addRow(6, tr("Tb"), {{c.tbEditField, "\u00b0C"}, {c.tbKEditField, "K"}, {c.tbREditField, "\u00b0R"}});
    addRow(7, tr("Pc"), {{c.pcEditField, "bar"}, {c.pcPsiaEditField, "psia"}});
    addRow(8, tr("Vc"), {{c.vcEditField, "cm3/mol"}, {c.vcFtEditField, "ft3/lb"}});
    grid->setRowStretch(0, 1);
    connectControls();
    return box;
}

void FluidTableEditor::connectControls()
{
    Controls& c = *mControls;
    for (const auto& [field, key] : {std::pair{c.fluidNameEdit, fluidkey::name}, std::pair{c.fluidCommentEdit, fluidkey::comment}})
        onFieldEdited(field, this, [this, field = field, key = key] {
            if (hasSelectedFluid())
                setFluid(selectedFluid(), field->text(), key);
        });
    for (QLineEdit* field : c.componentFields())
        onFieldEdited(field, this, [this, field] { onChangeComponentParameter(field); });
    connect(c.componentCombo->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { onChangeComponentParameter(mControls->componentCombo); });
    connect(c.componentCombo, &QComboBox::activated, this,
            [this](int index) { comboBoxSelectionDidChange(mControls->componentCombo->itemText(index)); });
    connect(c.spinMole, &ValueStepper::stepped, this, [this] { onSpinComposition(); });
    const QList<std::pair<QPushButton*, void (FluidTableEditor::*)()>> buttons{
        {c.fluidAddButton, &FluidTableEditor::onAddFluid},
        {c.duplicateButton, &FluidTableEditor::onDuplicateFluid},
        {c.fluidDeleteButton, &FluidTableEditor::onDeleteFluid},
        {c.addButton, &FluidTableEditor::onAddComponent},
        {c.deleteButton, &FluidTableEditor::onDeleteComponent},
        {c.normalizeButton, &FluidTableEditor::onNormalizeButton},
        {c.importFileButton, &FluidTableEditor::onClickImport},
        {c.importButton, &FluidTableEditor::onImportData},
        {c.logButton, &FluidTableEditor::onWriteLog}};
    for (const auto& [button, action] : buttons)
        connect(button, &QPushButton::clicked, this, action);
    connectCharacterisationControls();
}

void FluidTableEditor::finishControls()
{
    const Controls& c = *mControls;
    for (QLineEdit* field : {c.moleEditField, c.mwEditField, c.sgEditField, c.tcEditField, c.tkEditField,
                             c.pcEditField, c.omegaEditField, c.tcREditField, c.tbREditField, c.pcPsiaEditField,
                             c.vcFtEditField})
        field->setAlignment(Qt::AlignLeft);
    for (MyTableView* table : {mFluidsView.data(), mComponentsView.data()}) {
        table->setFrameShape(QFrame::Panel);
        table->setFrameShadow(QFrame::Sunken);
        table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
}

// --- Selection and tables

int FluidTableEditor::selectedFluidRow() const
{
    if (!mFluidsView)
        return -1;
    const int row = mFluidsView->selectedRow();
    return row >= 0 && row < mFluids.size() ? row : -1;
}

bool FluidTableEditor::hasSingleFluidSelected() const
{
    return hasSelectedFluid() && mFluidsView->selectionModel()->selectedRows().size() == 1;
}

bool FluidTableEditor::hasFluidsSelection() const
{
    return mFluidsView && mFluidsView->selectionModel()->hasSelection();
}

FluidRecord FluidTableEditor::selectedFluid() const
{
    return mFluids.at(selectedFluidRow()).toDictionary();
}

int FluidTableEditor::selectedComponentRow() const
{
    if (!mComponentsView || !hasSelectedFluid())
        return -1;
    const int row = mComponentsView->selectedRow();
    return row >= 0 && row < selectedFluid().arrayValue(fluidkey::components).size() ? row : -1;
}

QList<int> FluidTableEditor::selectedComponentRows() const
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

void FluidTableEditor::selectFluidRow(int row)
{
    mFluidsView->selectRowOrNone(row);
}

void FluidTableEditor::selectComponentRow(int row)
{
    mComponentsView->selectRowOrNone(row);
}

void FluidTableEditor::selectFirstFluidQuietly()
{
    QScopedValueRollback quiet(mReloading, true);
    selectFluidRow(0);
}

void FluidTableEditor::reloadFluids()
{
    QScopedValueRollback quiet(mReloading, true);
    mFluidsModel->reload();
}

void FluidTableEditor::reloadComponents()
{
    QScopedValueRollback quiet(mReloading, true);
    mComponentsModel->reload();
}

int FluidTableEditor::numberOfRows(const MyTableView* table) const
{
    if (table == mFluidsView)
        return mFluids.size();
    return hasSelectedFluid() ? selectedFluid().arrayValue(fluidkey::components).size() : 0;
}

Value FluidTableEditor::objectValue(const MyTableView* table, const QString& key, int row) const
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

void FluidTableEditor::setObjectValue(const MyTableView* table, const Value& value, const QString& key, int row)
{
    if (row < 0)
        return;
    if (table == mFluidsView) {
        FluidRecord fluid = mFluids.at(row).toDictionary();
        if (key == fluidkey::name) {
            fluid.setValue(fluidkey::name, value.toString());
            mControls->fluidNameEdit->setText(value.toString());
            mChanges.markChanged();
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

void FluidTableEditor::tableViewSelectionDidChange(MyTableView* table)
{
    if (mReloading)
        return;
    if (table == mFluidsView)
        mHooks.refreshFluids();
    else
        refreshComponents();
}

// --- Showing the selection

void FluidTableEditor::showFluidHeader(const FluidRecord& fluid)
{
    mControls->fluidNameEdit->setText(fluid.stringValue(fluidkey::name));
    mControls->fluidCommentEdit->setText(fluid.stringValue(fluidkey::comment));
    mControls->equationOfState->setCurrentIndex(getEOSCode(fluid.value(fluidkey::eos)));
}

void FluidTableEditor::enableFluidControls(bool enabled)
{
    const Controls& c = *mControls;
    for (QWidget* control : std::initializer_list<QWidget*>{c.fluidNameEdit, c.fluidCommentEdit, c.logButton,
                                                            c.equationOfState, c.duplicateButton,
                                                            c.fluidDeleteButton})
        control->setEnabled(enabled);
}

void FluidTableEditor::showMcCainType(const QString& type)
{
    mControls->mcCainType->setText(type);
}

double FluidTableEditor::selectedMoleSum() const
{
    return hasSelectedFluid() ? moleSum(selectedFluid().arrayValue(fluidkey::components)) : 0;
}

void FluidTableEditor::showMoleSum(double sum)
{
    mControls->moleSum->setText(shownNumber(sum, NumberFormat::Decimals4));
}

void FluidTableEditor::enableComponentEditing(bool editable)
{
    const Controls& c = *mControls;
    for (QPushButton* button : {c.addButton, c.deleteButton, c.normalizeButton})
        button->setEnabled(editable);
    mComponentsView->setEditable(editable);
    mComponentsView->setDeletable(editable);
    c.componentCombo->setEnabled(editable);
    c.componentCombo->lineEdit()->setReadOnly(!editable);
    for (QLineEdit* field : {c.moleEditField, c.mwEditField, c.sgEditField, c.tcEditField, c.pcEditField,
                             c.omegaEditField, c.tcREditField, c.tbREditField, c.pcPsiaEditField, c.vcFtEditField})
        field->setReadOnly(!editable);
}

void FluidTableEditor::enableComponentControls(bool enabled)
{
    const Controls& c = *mControls;
    for (QWidget* control : std::initializer_list<QWidget*>{
             c.moleEditField, c.mwEditField, c.sgEditField, c.tcEditField, c.tkEditField, c.pcEditField,
             c.omegaEditField, c.spinMole, c.normalizeCheckBox, c.tbEditField, c.tbKEditField, c.vcEditField,
             c.correlationChoice, c.tcREditField, c.tbREditField, c.pcPsiaEditField, c.vcFtEditField, c.mwChoice,
             c.selectC7plus})
        control->setEnabled(enabled);
}

void FluidTableEditor::refreshComponents()
{
    if (!hasSelectedFluid())
        return;
    const Controls& c = *mControls;
    const QList<int> rows = selectedComponentRows();
    if (rows.size() == 1) {
        enableComponentControls(true);
        const bool userDefined = mHooks.isUserDefined();
        for (QWidget* control : std::initializer_list<QWidget*>{c.componentCombo, c.deleteButton, c.normalizeButton})
            control->setEnabled(userDefined);
        showComponent(selectedFluid().arrayValue(fluidkey::components).at(rows.first()).toDictionary());
        mHooks.updatePlotView();
        return;
    }
    clearComponentDetails();
    if (!rows.isEmpty())
        for (QWidget* control :
             std::initializer_list<QWidget*>{c.correlationChoice, c.mwChoice, c.deleteButton, c.normalizeButton})
            control->setEnabled(true);
}

void FluidTableEditor::clearComponentDetails()
{
    const Controls& c = *mControls;
    enableComponentControls(false);
    for (QWidget* control : std::initializer_list<QWidget*>{c.componentCombo, c.deleteButton, c.normalizeButton})
        control->setEnabled(false);
    for (QLineEdit* field : c.componentFields())
        field->clear();
}

void FluidTableEditor::showComponent(const ComponentRecord& component)
{
    using namespace componentkey;
    const Controls& c = *mControls;
    c.componentCombo->setEditText(component.stringValue(name));
    const double tc = component.doubleValue(componentkey::tc);
    const double tb = component.doubleValue(componentkey::tb);
    const double pc = component.doubleValue(componentkey::pc);
    setDoubleValue2(*c.moleEditField, component.doubleValue(mole));
    setDoubleValue2(*c.mwEditField, component.doubleValue(mw));
    setDoubleValue4(*c.sgEditField, component.doubleValue(sg));
    setDoubleValue2(*c.tcEditField, tc);
    setDoubleValue2(*c.pcEditField, pc);
    setDoubleValue4(*c.omegaEditField, component.doubleValue(omega));
    setDoubleValue2(*c.tkEditField, units::kelvinOfCelsius(tc));
    setDoubleValue2(*c.tbEditField, tb);
    setDoubleValue2(*c.tbKEditField, units::kelvinOfCelsius(tb));
    setDoubleValue2(*c.vcEditField, component.doubleValue(vc));
    c.spinMole->setValue(component.doubleValue(mole));
    setDoubleValue2(*c.tcREditField, units::rankineOfCelsius(tc));
    setDoubleValue2(*c.tbREditField, units::rankineOfCelsius(tb));
    setDoubleValue2(*c.pcPsiaEditField, units::psiaOfBar(pc));
    setDoubleValue2(*c.vcFtEditField, units::ft3PerLbOfVc(component.doubleValue(vc), component.doubleValue(mw)));
    const int item = c.correlationChoice->findData(component.intValue(corr));
    if (item >= 0)
        c.correlationChoice->setCurrentIndex(item);
}

// --- Undoable edits

void FluidTableEditor::setFluid(FluidRecord fluid, const Value& value, const QString& key)
{
    const Value old = fluid.value(key);
    if (!old.isNull() && old.isEqualTo(value))
        return;
    mChanges.registerUndo([this, fluid, old, key] { setFluid(fluid, old, key); });
    fluid.setValue(key, value);
    reloadFluids();
    mHooks.refreshFluids();
}

void FluidTableEditor::setComponent(ComponentRecord component, const Value& value, const QString& key)
{
    const Value old = component.value(key);
    if (!old.isNull() && old.isEqualTo(value))
        return;
    mChanges.registerUndo([this, component, old, key] { setComponent(component, old, key); });
    const int code = component.intValue(componentkey::corr);
    if (key == componentkey::name) {
        const QString name = typedComponentName(value.toString());
        mControls->componentCombo->setEditText(name);
        setComponentName(name, component, kCorrelationJianzhong0);
    } else {
        component.setValue(key, value);
        if (correlationReadsKey(code, key))
            applyCorrelation(component, code);
    }
    reloadComponents();
    mHooks.compositionChanged();
    refreshComponents();
}

void FluidTableEditor::deleteFluid(const FluidRecord& fluid)
{
    deleteFluids({fluid});
}

void FluidTableEditor::addFluid(const FluidRecord& fluid, int index)
{
    addFluids({fluid}, index);
}

// The fluids stand one after another from the first one's row, as addFluids put them.
void FluidTableEditor::deleteFluids(const QList<FluidRecord>& fluids)
{
    const int index = fluids.isEmpty() ? -1 : mFluids.indexOf(fluids.first());
    if (index < 0)
        return;
    mChanges.registerUndo([this, fluids, index] { addFluids(fluids, index); });
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
    mHooks.refreshFluids();
}

void FluidTableEditor::addFluids(const QList<FluidRecord>& fluids, int index)
{
    mChanges.registerUndo([this, fluids] { deleteFluids(fluids); });
    const int first = std::clamp(index, 0, mFluids.size());
    for (qsizetype i = 0; i < fluids.size(); ++i)
        mFluids.insert(first + int(i), fluids[i]);
    reloadFluids();
    mHooks.refreshFluids();
}

void FluidTableEditor::afterComponentChange(const FluidRecord& fluid)
{
    if (mDeferComponentRefresh || !hasSelectedFluid() || selectedFluid().identity() != fluid.identity())
        return;
    reloadComponents();
    mHooks.compositionChanged();
    refreshComponents();
}

void FluidTableEditor::deleteComponent(FluidRecord fluid, const ComponentRecord& component)
{
    Array components = fluid.arrayValue(fluidkey::components);
    const int index = components.indexOf(component);
    if (index < 0)
        return;
    mChanges.registerUndo([this, fluid, component, index] { addComponent(fluid, component, index); });
    components.removeAt(index);
    afterComponentChange(fluid);
}

void FluidTableEditor::addComponent(FluidRecord fluid, const ComponentRecord& component, int index)
{
    Array components = fluid.arrayValue(fluidkey::components);
    mChanges.registerUndo([this, fluid, component] { deleteComponent(fluid, component); });
    components.insert(std::clamp(index, 0, components.size()), component);
    afterComponentChange(fluid);
}

void FluidTableEditor::finishAddFluid(const FluidRecord& fluid, int index)
{
    reloadFluids();
    selectFluidRow(index);
    mChanges.registerUndo([this, fluid] { deleteFluid(fluid); });
    mChanges.postModified();
}

void FluidTableEditor::finishAddFluids(const QList<FluidRecord>& fluids)
{
    if (fluids.isEmpty())
        return;
    reloadFluids();
    selectFluidRow(mFluids.indexOf(fluids.last()));
    {
        // The undo group, once closed, marks the document changed: one step, as Undo takes back.
        const EditorChanges::Group step = mChanges.group();
        for (const FluidRecord& fluid : fluids)
            mChanges.registerUndo([this, fluid] { deleteFluid(fluid); });
    }
    mChanges.postModified();
}

void FluidTableEditor::finishGenerateAlphaBetaFluid()
{
    if (mFluids.isEmpty())
        return;
    mHooks.window();
    const int last = mFluids.size() - 1;
    reloadFluids();
    selectFluidRow(last);
    const FluidRecord fluid = mFluids.at(last).toDictionary();
    mChanges.registerUndo([this, fluid] { deleteFluid(fluid); });
}

// --- Commands

void FluidTableEditor::onAddFluid()
{
    const FluidRecord fluid = makeNewFluid(mFluids.isEmpty());
    const int row = selectedFluidRow();
    const int index = row >= 0 ? row + 1 : mFluids.size();
    mFluids.insert(index, fluid);
    finishAddFluid(fluid, index);
}

void FluidTableEditor::onDuplicateFluid()
{
    const int row = selectedFluidRow();
    if (row < 0)
        return;
    const FluidRecord copy = duplicateFluid(mFluids.at(row).toDictionary());
    mFluids.insert(row + 1, copy);
    finishAddFluid(copy, row + 1);
}

void FluidTableEditor::onDeleteFluid()
{
    const int row = selectedFluidRow();
    if (row < 0)
        return;
    deleteFluid(mFluids.at(row).toDictionary());
    selectFluidRow(std::min(row, mFluids.size() - 1));
    reloadComponents();
    refreshComponents();
    mChanges.postModified();
}

void FluidTableEditor::onAddComponent()
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
    mChanges.registerUndo([this, fluid, component] { deleteComponent(fluid, component); });
}

void FluidTableEditor::onDeleteComponent()
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
    {
        // Several components go as one undoable step; from the last row up, so that their
        // undo puts each back at its own index.
        const EditorChanges::Group step = mChanges.group();
        QScopedValueRollback defer(mDeferComponentRefresh, true);
        for (auto row = rows.rbegin(); row != rows.rend(); ++row)
            deleteComponent(fluid, components.at(*row).toDictionary());
    }
    afterComponentChange(fluid);
}

void FluidTableEditor::onAddRow()
{
    if (!hasSelectedFluid())
        return;
    if (selectedFluid().intValue(fluidkey::fluidType) == kFluidTypeComponentList)
        onAddComponent();
    else
        onAddFluid();
}

void FluidTableEditor::onDeleteRow()
{
    if (!hasSelectedFluid())
        return;
    const FluidRecord fluid = selectedFluid();
    if (fluid.intValue(fluidkey::fluidType) != kFluidTypeComponentList)
        onDeleteFluid();
    else if (!fluid.arrayValue(fluidkey::components).isEmpty())
        onDeleteComponent();
}

void FluidTableEditor::tableViewDeleteSelectedRow(MyTableView*)
{
    onDeleteComponent();
}

void FluidTableEditor::tableViewShiftDownSelectedRow(MyTableView* tableView)
{
    moveSelectedRow(tableView, 1);
}

void FluidTableEditor::tableViewShiftUpSelectedRow(MyTableView* tableView)
{
    moveSelectedRow(tableView, -1);
}

void FluidTableEditor::moveSelectedRow(MyTableView* table, int step)
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
    mChanges.markChanged();
}

void FluidTableEditor::copy()
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

void FluidTableEditor::paste()
{
    if (!Pasteboard::hasType(Pasteboard::fluidsDataType))
        return;
    const Value pasted = Pasteboard::archivedValue(Pasteboard::fluidsDataType);
    if (!pasted.isArray())
        return;
    {
        // The pasted fluids are one undoable step, which marks the document changed.
        const EditorChanges::Group step = mChanges.group();
        for (const Value& value : pasted.toArray()) {
            if (!value.isDictionary())
                continue;
            const FluidRecord fluid = value.toDictionary();
            mFluids.append(fluid);
            mChanges.registerUndo([this, fluid] { deleteFluid(fluid); });
        }
    }
    reloadFluids();
}

// --- Detail editing

void FluidTableEditor::onChangeComponentParameter(QObject* sender)
{
    const int row = selectedComponentRow();
    if (row < 0 || selectedComponentRows().size() != 1)
        return;
    const Controls& c = *mControls;
    ComponentRecord component = selectedFluid().arrayValue(fluidkey::components).at(row).toDictionary();
    if (sender == c.componentCombo) {
        const QString name = typedComponentName(c.componentCombo->currentText());
        setComponentName(name, component, component.intValue(componentkey::corr));
        afterComponentChange(selectedFluid());
        mChanges.markChanged();
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
        {c.moleEditField, componentkey::mole, none},
        {c.mwEditField, componentkey::mw, none},
        {c.sgEditField, componentkey::sg, none},
        {c.tcEditField, componentkey::tc, none},
        {c.tkEditField, componentkey::tc, units::celsiusOfKelvin},
        {c.tcREditField, componentkey::tc, units::celsiusOfRankine},
        {c.pcEditField, componentkey::pc, none},
        {c.pcPsiaEditField, componentkey::pc, units::barOfPsia},
        {c.omegaEditField, componentkey::omega, none},
        {c.tbEditField, componentkey::tb, none},
        {c.tbKEditField, componentkey::tb, units::celsiusOfKelvin},
        {c.tbREditField, componentkey::tb, units::celsiusOfRankine},
        {c.vcEditField, componentkey::vc, none},
        {c.vcFtEditField, componentkey::vc, [mw](double v) { return units::vcOfFt3PerLb(v, mw); }}};
    for (const auto& [control, key, convert] : fields)
        if (control == field) {
            setComponent(component, convert(*typed), key);
            return;
        }
}

void FluidTableEditor::comboBoxSelectionDidChange(const QString& item)
{
    const int row = selectedComponentRow();
    if (row < 0 || selectedComponentRows().size() != 1)
        return;
    setComponentName(item, selectedFluid().arrayValue(fluidkey::components).at(row).toDictionary(),
                     kCorrelationJianzhong0);
    afterComponentChange(selectedFluid());
    mChanges.markChanged();
}

void FluidTableEditor::onSpinComposition()
{
    const int row = selectedComponentRow();
    if (row < 0)
        return;
    const FluidRecord fluid = selectedFluid();
    const Array components = fluid.arrayValue(fluidkey::components);
    ComponentRecord stepped = components.at(row).toDictionary();
    const double value = mControls->spinMole->value();
    stepped.setValue(componentkey::mole, value);
    if (mControls->normalizeCheckBox->isChecked()) {
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
    mChanges.markChanged();
}

void FluidTableEditor::onNormalizeButton()
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
    mChanges.markChanged();
}

}  // namespace quorvel
