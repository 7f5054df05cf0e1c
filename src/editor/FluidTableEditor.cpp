#include "editor/FluidTableEditor.h"

#include "characterisation/Correlations.h"
#include "editor/EditorChanges.h"
#include "editor/EditorControls.h"
#include "editor/FluidTableControls.h"
#include "platform/Pasteboard.h"

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

double moleSum(const Array& components)
{
    double sum = 0;
    for (const Value& component : components)
        sum += component.toDictionary().doubleValue(componentkey::mole);
    return sum;
}

}  // namespace

FluidTableEditor::FluidTableEditor(const EditorChanges& changes, Hooks hooks)
    : mChanges(changes),
      mHooks(std::move(hooks)),
      mDetails(*this, changes, [this] { mHooks.compositionChanged(); }),
      mControls(std::make_unique<Controls>())
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
    mDetails.makeControls(box);

    grid->addWidget(mComponentsView, 0, 0, 1, 8);
    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* button : {c.addButton, c.deleteButton, c.normalizeButton, c.importButton, c.logButton,
                                c.selectC7plus})
        buttonRow->addWidget(button);
    buttonRow->addStretch();
    buttonRow->addWidget(new QLabel(tr("EOS"), box));
    buttonRow->addWidget(c.equationOfState);
    grid->addLayout(buttonRow, 1, 0, 1, 8);
    mDetails.layOut(*grid, 2, box);
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
    mDetails.finishControls();
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
    return mFluidsView ? mFluidsView->selectedRowWithin(int(mFluids.size())) : -1;
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
    return mComponentsView->selectedRowWithin(int(selectedFluid().arrayValue(fluidkey::components).size()));
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
    mControls->equationOfState->setCurrentIndex(code_number(getEOSCode(fluid.value(fluidkey::eos))));
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

void FluidTableEditor::enableComponentEditing(bool editable)
{
    const Controls& c = *mControls;
    for (QPushButton* button : {c.addButton, c.deleteButton, c.normalizeButton})
        button->setEnabled(editable);
    mComponentsView->setEditable(editable);
    mComponentsView->setDeletable(editable);
    mDetails.setEditable(editable);
}

void FluidTableEditor::refreshComponents()
{
    if (!hasSelectedFluid())
        return;
    const Controls& c = *mControls;
    const QList<int> rows = selectedComponentRows();
    if (rows.size() == 1) {
        mDetails.enableProperties(true);
        c.selectC7plus->setEnabled(true);
        const bool userDefined = mHooks.isUserDefined();
        mDetails.enableNaming(userDefined);
        for (QPushButton* button : {c.deleteButton, c.normalizeButton})
            button->setEnabled(userDefined);
        mDetails.showComponent(selectedFluid().arrayValue(fluidkey::components).at(rows.first()).toDictionary());
        mHooks.updatePlotView();
        return;
    }
    clearComponentDetails();
    if (!rows.isEmpty()) {
        mDetails.enableCorrelations(true);
        for (QPushButton* button : {c.deleteButton, c.normalizeButton})
            button->setEnabled(true);
    }
}

void FluidTableEditor::clearComponentDetails()
{
    const Controls& c = *mControls;
    mDetails.enableProperties(false);
    mDetails.enableNaming(false);
    for (QPushButton* button : {c.selectC7plus, c.deleteButton, c.normalizeButton})
        button->setEnabled(false);
    mDetails.clear();
}

// --- Undoable edits

bool FluidTableEditor::registerSetterUndo(Setter setter, const Dictionary& record, const Value& value,
                                          const QString& key)
{
    const Value old = record.value(key);
    if (!old.isNull() && old.isEqualTo(value))
        return false;
    mChanges.registerUndo([this, setter, record, old, key] { (this->*setter)(record, old, key); });
    return true;
}

void FluidTableEditor::setFluid(FluidRecord fluid, const Value& value, const QString& key)
{
    if (!registerSetterUndo(&FluidTableEditor::setFluid, fluid, value, key))
        return;
    fluid.setValue(key, value);
    reloadFluids();
    mHooks.refreshFluids();
}

void FluidTableEditor::setComponent(ComponentRecord component, const Value& value, const QString& key)
{
    if (!registerSetterUndo(&FluidTableEditor::setComponent, component, value, key))
        return;
    const CorrelationCode code = correlationCodeOf(component);
    if (key == componentkey::name) {
        const QString name = typedComponentName(value.toString());
        mDetails.showName(name);
        setComponentName(name, component, CorrelationCode::jianzhong0);
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
    setComponentName(nextComponentName(nc), component, CorrelationCode::jianzhong0);
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
    if (fluidTypeOf(selectedFluid()) == FluidType::componentList)
        onAddComponent();
    else
        onAddFluid();
}

void FluidTableEditor::onDeleteRow()
{
    if (!hasSelectedFluid())
        return;
    const FluidRecord fluid = selectedFluid();
    if (fluidTypeOf(fluid) != FluidType::componentList)
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
