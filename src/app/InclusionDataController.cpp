#include "app/InclusionDataController.h"

#include "app/AppMenus.h"
#include "app/CInclusionDataDocument.h"
#include "app/InclusionAlerts.h"
#include "app/InclusionRecord.h"
#include "app/RecordTableModel.h"
#include "app/VolumeDiagram.h"
#include "platform/ActionNames.h"
#include "platform/AlertService.h"
#include "platform/Document.h"
#include "platform/NotificationCenter.h"
#include "platform/UndoManager.h"
#include "plot/CPlotView.h"
#include "widgets/MyTableView.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSplitter>

namespace quorvel {

namespace {

const QStringList kNumberKeys{inclusionkey::Th, inclusionkey::Fv,  inclusionkey::Tv, inclusionkey::CO2,
                              inclusionkey::N2, inclusionkey::H2S, volumekey::Tvol,  volumekey::Fvol};
// The percentages, each with the alert that refuses a value outside 0 .. 100.
const QHash<QString, void (*)()> kPercentAlerts{{inclusionkey::Fv, Msg_FvNotValid},
                                                {volumekey::Fvol, Msg_FvNotValid},
                                                {inclusionkey::CO2, Msg_CO2NotValid},
                                                {inclusionkey::N2, Msg_N2NotValid},
                                                {inclusionkey::H2S, Msg_H2SNotValid}};
constexpr double kMaxPercent = 100;
const QStringList kType0Items{"Oil", "Gas", "Aq."};
const QString kNbVol = QStringLiteral("nbVol");

QString type0OfIndex(int index)
{
    return index == 1 ? QStringLiteral("Gas") : index == 2 ? QStringLiteral("Aq.") : QStringLiteral("Oil");
}

}  // namespace

QString inclusionActionName(const QString& key)
{
    static const QHash<QString, QString> names{{inclusionkey::name, "Inclusion Name Change"},
                                               {inclusionkey::Th, "Th Change"},
                                               {inclusionkey::Tv, "Tv Change"},
                                               {inclusionkey::Fv, "Fv Change"},
                                               {inclusionkey::homog, "Homogenisation Change"},
                                               {inclusionkey::CO2, "CO2 Change"},
                                               {inclusionkey::N2, "N2 Change"},
                                               {inclusionkey::H2S, "H2S Change"},
                                               {inclusionkey::type0, "Type Change"},
                                               {inclusionkey::type1, "Type Change"},
                                               {inclusionkey::comment, "Comment Change"}};
    return QObject::tr(names.value(key, key).toUtf8().constData());
}

InclusionDataController::InclusionDataController() : WindowController(QStringLiteral("inclusionData"))
{
    answerActions({
        {actionname::addRow, nullptr, [this](QObject*) { onAddRow(); }},
        {actionname::deleteRow, [this](QAction*) { return hasSelectedInclusion(); },
         [this](QObject*) { onDeleteRow(); }},
    });
}

InclusionDataController::~InclusionDataController()
{
    destroyWindow();  // its tables read the list
    if (UndoManager* undo = undoManager())
        undo->removeAllActions(this);
}

UndoManager* InclusionDataController::undoManager() const
{
    return document() ? document()->undoManager() : nullptr;
}

void InclusionDataController::postModified()
{
    NotificationCenter::defaultCenter().postNotification(InclusionsDataDocModified, this);
}

void InclusionDataController::setInclusionsArray(const Array& inclusions)
{
    mInclusionsArray = inclusions;
    mHasArray = true;
    if (isWindowLoaded()) {
        reloadTable(mInclusionsView);
        selectInclusionRow(mInclusionsArray.isEmpty() ? -1 : 0);
        tableViewSelectionDidChange(mInclusionsView);
    }
}

// --- Window

QWidget* InclusionDataController::makeWindow()
{
    auto* window = new QMainWindow;
    installApplicationMenus(window);
    auto* central = new QWidget(window);
    auto* layout = new QGridLayout(central);

    auto makeField = [central](const QString& key) {
        auto* field = new QLineEdit(central);
        field->setObjectName(key);
        field->setAlignment(Qt::AlignLeft);
        return field;
    };
    mInclusionEditField = makeField(inclusionkey::name);
    mThEditField = makeField(inclusionkey::Th);
    mFvEditField = makeField(inclusionkey::Fv);
    mTvEditField = makeField(inclusionkey::Tv);
    mCO2EditField = makeField(inclusionkey::CO2);
    mN2EditField = makeField(inclusionkey::N2);
    mH2SEditField = makeField(inclusionkey::H2S);
    mType1EditField = makeField(inclusionkey::type1);
    mCommentEditField = makeField(inclusionkey::comment);
    mTvolEditField = makeField(volumekey::Tvol);
    mFvolEditField = makeField(volumekey::Fvol);
    for (QLineEdit* f : {mInclusionEditField, mThEditField, mFvEditField, mTvEditField, mCO2EditField, mN2EditField,
                         mH2SEditField, mType1EditField, mCommentEditField})
        connect(f, &QLineEdit::editingFinished, this, [this, f] { if (f->isModified()) onChangeParameters(f); });
    connect(mTvolEditField, &QLineEdit::editingFinished, this,
            [this] { if (mTvolEditField->isModified()) onChangeTvol(mTvolEditField); });
    connect(mFvolEditField, &QLineEdit::editingFinished, this,
            [this] { if (mFvolEditField->isModified()) onChangeFvol(mFvolEditField); });

    mHomogCheck = new QButtonGroup(central);
    mHomogCheck->setObjectName(inclusionkey::homog);
    auto* homogBox = new QWidget(central);
    auto* homogLayout = new QHBoxLayout(homogBox);
    homogLayout->setContentsMargins(0, 0, 0, 0);
    for (const auto& [id, title] : {std::pair{0, tr("Liquid")}, std::pair{1, tr("Gas")}}) {
        auto* cell = new QRadioButton(title, homogBox);
        mHomogCheck->addButton(cell, id);
        homogLayout->addWidget(cell);
    }
    connect(mHomogCheck, &QButtonGroup::idClicked, this, [this] { onChangeParameters(mHomogCheck); });

    mType0Popup = new QComboBox(central);
    mType0Popup->setObjectName(inclusionkey::type0);
    mType0Popup->addItems(kType0Items);
    connect(mType0Popup, &QComboBox::activated, this, [this] { onChangeParameters(mType0Popup); });

    auto makeTable = [this, central](const QList<RecordTableModel::Column>& columns, RecordTableModel*& model) {
        auto* table = new MyTableView(central);
        model = new RecordTableModel(
            columns,
            {[this, table] { return numberOfRows(table); },
             [this, table](const QString& key, int row) { return objectValue(table, key, row); },
             [this, table](const Value& v, const QString& key, int row) { setObjectValue(table, v, key, row); }},
            table);
        table->setModel(model);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->verticalHeader()->hide();
        table->sizeColumnsToContents();
        connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, table] { tableViewSelectionDidChange(table); });
        return table;
    };
    mInclusionsView = makeTable({{inclusionkey::name, tr("Name")},
                                 {inclusionkey::Th, tr("Th (\u00b0C)")},
                                 {inclusionkey::Fv, tr("Fv (%)")},
                                 {inclusionkey::Tv, tr("Tv (\u00b0C)")},
                                 {inclusionkey::homog, tr("Homog.")},
                                 {inclusionkey::type0, tr("Type"), false},
                                 {kNbVol, tr("Points"), false}},
                                mInclusionsModel);
    mVolumesView =
        makeTable({{volumekey::Tvol, tr("T (\u00b0C)")}, {volumekey::Fvol, tr("Bubble (%)")}}, mVolumesModel);

    auto makeButton = [this, central](const QString& title, void (InclusionDataController::*action)()) {
        auto* button = new QPushButton(title, central);
        connect(button, &QPushButton::clicked, this, action);
        return button;
    };
    mAddInclusionButton = makeButton(tr("Add inclusion"), &InclusionDataController::onAddInclusion);
    mDeleteInclusionButton = makeButton(tr("Delete inclusion"), &InclusionDataController::onDeleteInclusion);
    mAddVolumeButton = makeButton(tr("Add point"), &InclusionDataController::onAddVolume);
    mDeleteVolumeButton = makeButton(tr("Delete point"), &InclusionDataController::onDeleteVolume);

    auto* inclusionBox = new QGroupBox(tr("Inclusion"), central);
    auto* form = new QFormLayout(inclusionBox);
    form->addRow(tr("Name"), mInclusionEditField);
    form->addRow(tr("Th (\u00b0C)"), mThEditField);
    form->addRow(tr("Fv (%)"), mFvEditField);
    form->addRow(tr("Tv (\u00b0C)"), mTvEditField);
    form->addRow(tr("Homogenisation"), homogBox);
    form->addRow(tr("CO2 (%)"), mCO2EditField);
    form->addRow(tr("N2 (%)"), mN2EditField);
    form->addRow(tr("H2S (%)"), mH2SEditField);
    form->addRow(tr("Type"), mType0Popup);
    form->addRow(tr("Sub-type"), mType1EditField);
    form->addRow(tr("Comment"), mCommentEditField);

    auto* pointBox = new QGroupBox(tr("Volume point"), central);
    auto* pointForm = new QFormLayout(pointBox);
    pointForm->addRow(tr("T (\u00b0C)"), mTvolEditField);
    pointForm->addRow(tr("Bubble (%)"), mFvolEditField);

    mPlotView = new CPlotView(QRect(0, 0, 400, 300), central);
    mPlotView->setMinimumSize(400, 300);

    auto* inclusionButtons = new QHBoxLayout;
    inclusionButtons->addWidget(mAddInclusionButton);
    inclusionButtons->addWidget(mDeleteInclusionButton);
    inclusionButtons->addStretch();
    auto* volumeButtons = new QHBoxLayout;
    volumeButtons->addWidget(mAddVolumeButton);
    volumeButtons->addWidget(mDeleteVolumeButton);
    volumeButtons->addStretch();

    layout->addWidget(mInclusionsView, 0, 0, 1, 2);
    layout->addLayout(inclusionButtons, 1, 0, 1, 2);
    layout->addWidget(inclusionBox, 2, 0);
    auto* volumeColumn = new QVBoxLayout;
    volumeColumn->addWidget(mVolumesView);
    volumeColumn->addLayout(volumeButtons);
    volumeColumn->addWidget(pointBox);
    layout->addLayout(volumeColumn, 2, 1);
    layout->addWidget(mPlotView, 0, 2, 3, 1);
    layout->setRowStretch(0, 1);
    layout->setColumnStretch(2, 1);
    window->setCentralWidget(central);
    window->resize(1180, 640);
    return window;
}

void InclusionDataController::windowDidLoad()
{
    for (MyTableView* table : {mInclusionsView.data(), mVolumesView.data()})
        table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    VolumeDiagram::prepare(*mPlotView);
    if (!mInclusionsArray.isEmpty()) {
        reloadTable(mInclusionsView);
        selectInclusionRow(0);
        tableViewSelectionDidChange(mInclusionsView);
    } else {
        tableViewSelectionDidChange(mInclusionsView);
        onAddInclusion();
    }
}

QLineEdit* InclusionDataController::field(const QString& key)
{
    return window()->findChild<QLineEdit*>(key);
}

QRadioButton* InclusionDataController::homogCell(int column)
{
    window();
    return qobject_cast<QRadioButton*>(mHomogCheck->button(column));
}

// --- Selection and tables

int InclusionDataController::selectedInclusionRow() const
{
    return mInclusionsView ? mInclusionsView->selectedRowWithin(int(mInclusionsArray.size())) : -1;
}

bool InclusionDataController::hasSelectedInclusion() const
{
    return selectedInclusionRow() >= 0;
}

Dictionary InclusionDataController::selectedInclusion() const
{
    return mInclusionsArray.at(selectedInclusionRow()).toDictionary();
}

Array InclusionDataController::selectedVolumes() const
{
    return selectedInclusion().arrayValue(inclusionkey::volumes);
}

int InclusionDataController::selectedVolumeRow() const
{
    if (!mVolumesView || !hasSelectedInclusion())
        return -1;
    return mVolumesView->selectedRowWithin(int(selectedVolumes().size()));
}

void InclusionDataController::selectInclusionRow(int row)
{
    mInclusionsView->selectRowOrNone(row);
}

void InclusionDataController::selectVolumeRow(int row)
{
    mVolumesView->selectRowOrNone(row);
}

// Re-reads the table's rows keeping the selected row (quietly) while it still exists.
void InclusionDataController::reloadTable(MyTableView* table)
{
    const int row = table->selectedRow();
    QSignalBlocker quiet(table->selectionModel());
    (table == mInclusionsView ? mInclusionsModel : mVolumesModel)->reload();
    if (row >= 0 && row < table->model()->rowCount())
        table->selectRow(row);
}

int InclusionDataController::numberOfRows(const MyTableView* table) const
{
    if (table == mInclusionsView)
        return mInclusionsArray.size();
    return hasSelectedInclusion() ? selectedVolumes().size() : 0;
}

Value InclusionDataController::objectValue(const MyTableView* table, const QString& key, int row) const
{
    if (table == mInclusionsView) {
        const Dictionary inclusion = mInclusionsArray.at(row).toDictionary();
        return key == kNbVol ? Value(inclusion.arrayValue(inclusionkey::volumes).size()) : inclusion.value(key);
    }
    if (!hasSelectedInclusion())
        return {};
    return selectedVolumes().at(row).toDictionary().value(key);
}

void InclusionDataController::setObjectValue(const MyTableView* table, const Value& value, const QString& key,
                                             int row)
{
    if (row < 0)
        return;
    if (table == mInclusionsView) {
        const Value typed = kNumberKeys.contains(key) ? typedValue(key, value.toString()) : value;
        if (typed.isNull())  // refused: the cell shows the record's value again
            reloadTable(mInclusionsView);
        else
            setInclusion(mInclusionsArray.at(row).toDictionary(), typed, key);
        return;
    }
    QLineEdit* pointField = key == volumekey::Tvol ? mTvolEditField : mFvolEditField;
    pointField->setText(value.toString());
    if (key == volumekey::Tvol)
        onChangeTvol(pointField);
    else
        onChangeFvol(pointField);
}

void InclusionDataController::tableViewSelectionDidChange(MyTableView* table)
{
    if (table == mInclusionsView)
        refreshInclusionControls();
    else
        refreshVolumeControls();
}

void InclusionDataController::enableInclusionControls(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{
             mInclusionEditField, mThEditField, mFvEditField, mTvEditField, mCO2EditField, mN2EditField,
             mH2SEditField, mType0Popup, mType1EditField, mCommentEditField, mVolumesView, mDeleteInclusionButton})
        control->setEnabled(enabled);
    for (QAbstractButton* cell : mHomogCheck->buttons())
        cell->setEnabled(enabled);
}

void InclusionDataController::showInclusion(const Dictionary& inclusion)
{
    for (QLineEdit* f : {mInclusionEditField, mThEditField, mFvEditField, mTvEditField, mCO2EditField, mN2EditField,
                         mH2SEditField, mType1EditField, mCommentEditField})
        f->setText(inclusion.value(f->objectName()).toString());
    const int type = kType0Items.indexOf(inclusion.stringValue(inclusionkey::type0));
    if (type >= 0)
        mType0Popup->setCurrentIndex(type);
    mHomogCheck->button(homogenisationOf(inclusion) == Homogenisation::toLiquid ? 0 : 1)->setChecked(true);
}

void InclusionDataController::refreshInclusionControls()
{
    const bool selected = hasSelectedInclusion();
    enableInclusionControls(selected);
    if (selected) {
        showInclusion(selectedInclusion());
    } else {
        for (QLineEdit* f : {mInclusionEditField, mThEditField, mFvEditField, mTvEditField, mCO2EditField,
                             mN2EditField, mH2SEditField})
            f->clear();
        mDeleteVolumeButton->setEnabled(false);
    }
    reloadTable(mVolumesView);
    updatePlotView();
    refreshVolumeControls();
}

void InclusionDataController::setVolumeFields(const Dictionary* point)
{
    mTvolEditField->setEnabled(point != nullptr);
    mFvolEditField->setEnabled(point != nullptr);
    mTvolEditField->setText(point ? point->value(volumekey::Tvol).toString() : QString());
    mFvolEditField->setText(point ? point->value(volumekey::Fvol).toString() : QString());
}

void InclusionDataController::refreshVolumeControls()
{
    mAddVolumeButton->setEnabled(hasSelectedInclusion());
    const int row = selectedVolumeRow();
    if (row >= 0) {
        const Dictionary point = selectedVolumes().at(row).toDictionary();
        setVolumeFields(&point);
        // The inclusion's own reading and its homogenisation point are never deleted.
        mDeleteVolumeButton->setEnabled(volumeCodeOf(point) == VolumeCode::User);
    } else {
        setVolumeFields(nullptr);
        mDeleteVolumeButton->setEnabled(false);
    }
    updatePlotView();
}

// --- Edits

Value InclusionDataController::valueOfControl(QObject* sender, QString* key) const
{
    *key = sender->objectName();
    if (sender == mHomogCheck)
        return homogRecordText(mHomogCheck->checkedId() != 0 ? Homogenisation::toVapour : Homogenisation::toLiquid);
    if (sender == mType0Popup)
        return type0OfIndex(mType0Popup->currentIndex());
    return typedValue(*key, static_cast<QLineEdit*>(sender)->text());
}

// The value of text typed for the key: a number for the number keys, within 0 .. 100 for
// the percentages; a null value, after the alert, when the text is refused.
Value InclusionDataController::typedValue(const QString& key, const QString& text) const
{
    if (!kNumberKeys.contains(key))
        return text;
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok) {
        showAlert(tr("\u201c%1\u201d is not a number.").arg(text));
        return {};
    }
    if (const auto alert = kPercentAlerts.constFind(key);
        alert != kPercentAlerts.constEnd() && !(number >= 0 && number <= kMaxPercent)) {
        (*alert)();
        return {};
    }
    return number;
}

void InclusionDataController::onChangeParameters(QObject* sender)
{
    if (!hasSelectedInclusion())
        return;
    QString key;
    const Value value = valueOfControl(sender, &key);
    if (value.isNull()) {  // refused: the field shows the record's value again
        refreshInclusionControls();
        return;
    }
    setInclusion(selectedInclusion(), value, key);
    reloadTable(mInclusionsView);
}

void InclusionDataController::onChangeTvol(QObject* sender)
{
    changeSelectedPoint(sender, volumekey::Tvol);
}

void InclusionDataController::onChangeFvol(QObject* sender)
{
    changeSelectedPoint(sender, volumekey::Fvol);
}

// The value of the point's field for the selected point, under the key; a refused value
// gives the field back the point's value.
void InclusionDataController::changeSelectedPoint(QObject* sender, const QString& key)
{
    const int row = selectedVolumeRow();
    if (row < 0)
        return;
    QString fieldKey;
    const Value value = valueOfControl(sender, &fieldKey);
    if (value.isNull()) {
        refreshVolumeControls();
        return;
    }
    setInclusionVolume(selectedInclusion(), selectedVolumes().at(row).toDictionary(), value, key);
}

void InclusionDataController::setInclusion(const Dictionary& inclusion, const Value& value, const QString& key)
{
    Dictionary record = inclusion;
    const Value current = record.value(key);
    if (current == value)
        return;
    undoManager()->registerInverse(
        this, inclusionActionName(key), [this, record, key](const Value& v) { setInclusion(record, v, key); }, current);
    record.setValue(key, value);
    reloadTable(mInclusionsView);
    refreshInclusionControls();

    // The inclusion's reading and homogenisation point follow its values (without sorting).
    static const QHash<QString, std::pair<VolumeCode, QString>> coupled{
        {inclusionkey::Th, {VolumeCode::Homogenisation, volumekey::Tvol}},
        {inclusionkey::Tv, {VolumeCode::Reading, volumekey::Tvol}},
        {inclusionkey::Fv, {VolumeCode::Reading, volumekey::Fvol}}};
    if (coupled.contains(key)) {
        const auto& [code, pointKey] = coupled.value(key);
        for (const Value& element : record.arrayValue(inclusionkey::volumes)) {
            Dictionary point = element.toDictionary();
            if (volumeCodeOf(point) == code)
                point.setValue(pointKey, value);
        }
        reloadTable(mVolumesView);
        refreshVolumeControls();
    }
    postModified();
}

void InclusionDataController::setInclusionVolume(const Dictionary& inclusion, const Dictionary& point,
                                                 const Value& value, const QString& key)
{
    Dictionary record = inclusion, edited = point;
    const Value current = edited.value(key);
    if (current == value)
        return;
    postModified();
    undoManager()->registerUndo(this, [this, record, edited, current, key] {
        setInclusionVolume(record, edited, current, key);
    });
    const VolumeCode code = volumeCodeOf(edited);
    if (key == volumekey::Tvol) {
        undoManager()->setActionName(tr("Temperature Change"));
        if (code == VolumeCode::Reading)
            record.setValue(inclusionkey::Tv, value);
        else if (code == VolumeCode::Homogenisation)
            record.setValue(inclusionkey::Th, value);
        edited.setValue(volumekey::Tvol, value);
        sortVolumes(record.arrayValue(inclusionkey::volumes));
        reloadTable(mInclusionsView);
        if (record == selectedInclusion()) {
            reloadTable(mVolumesView);
            selectVolumeRow(record.arrayValue(inclusionkey::volumes).indexOf(edited));
            showInclusion(record);
        }
    } else {
        undoManager()->setActionName(tr("Bubble Volume Change"));
        edited.setValue(volumekey::Fvol, value);
        if (code == VolumeCode::Reading)
            record.setValue(inclusionkey::Fv, value);
        else if (code == VolumeCode::Homogenisation)
            edited.setValue(volumekey::Fvol, 0);  // the bubble has vanished at homogenisation
        reloadTable(mInclusionsView);
        if (record == selectedInclusion())
            showInclusion(record);
    }
    reloadTable(mVolumesView);
    updatePlotView();
    refreshVolumeControls();
}

// --- Add and delete

void InclusionDataController::onAddInclusion()
{
    const Dictionary inclusion = newInclusionRecord();
    const int selected = selectedInclusionRow();
    const int row = selected >= 0 ? selected + 1 : mInclusionsArray.size();
    mInclusionsArray.insert(row, inclusion);
    reloadTable(mInclusionsView);
    reloadTable(mVolumesView);
    selectInclusionRow(row);
    refreshVolumeControls();
    undoManager()->registerUndo(this, [this, inclusion] { deleteInclusion(inclusion); });
    postModified();
}

void InclusionDataController::onDeleteInclusion()
{
    if (!hasSelectedInclusion())
        return;
    deleteInclusion(selectedInclusion());
    postModified();
}

void InclusionDataController::onDeleteRow()
{
    if (!mInclusionsArray.isEmpty())
        onDeleteInclusion();
}

void InclusionDataController::onAddVolume()
{
    if (!hasSelectedInclusion())
        return;
    const Dictionary inclusion = selectedInclusion();
    Array volumes = selectedVolumes();
    const Dictionary point = newVolumePoint(0, 0, VolumeCode::User);
    const int row = selectedVolumeRow();
    volumes.insert(row >= 0 ? row : volumes.size(), point);
    sortVolumes(volumes);
    reloadTable(mVolumesView);
    selectVolumeRow(volumes.indexOf(point));
    mDeleteVolumeButton->setEnabled(true);
    reloadTable(mInclusionsView);
    updatePlotView();
    postModified();
    undoManager()->registerUndo(this, [this, inclusion, point] { deleteVolume(inclusion, point); });
}

void InclusionDataController::onDeleteVolume()
{
    const int row = selectedVolumeRow();
    if (row < 0)
        return;
    const Dictionary inclusion = selectedInclusion();
    Array volumes = selectedVolumes();
    const Dictionary point = volumes.at(row).toDictionary();
    if (volumeCodeOf(point) != VolumeCode::User)
        return;
    undoManager()->registerUndo(this, [this, inclusion, point, row] { addVolume(inclusion, point, row); });
    volumes.removeAt(row);
    reloadTable(mVolumesView);
    reloadTable(mInclusionsView);
    updatePlotView();
    refreshVolumeControls();
    postModified();
}

void InclusionDataController::addInclusion(const Dictionary& inclusion, int index)
{
    undoManager()->registerUndo(this, [this, inclusion] { deleteInclusion(inclusion); });
    mInclusionsArray.insert(index, inclusion);
    reloadTable(mInclusionsView);
    refreshInclusionControls();
}

void InclusionDataController::deleteInclusion(const Dictionary& inclusion)
{
    const int index = mInclusionsArray.indexOf(inclusion);
    if (index < 0)
        return;
    undoManager()->registerUndo(this, [this, inclusion, index] { addInclusion(inclusion, index); });
    mInclusionsArray.removeAt(index);
    reloadTable(mInclusionsView);
    refreshInclusionControls();
}

void InclusionDataController::addVolume(const Dictionary& inclusion, const Dictionary& point, int index)
{
    undoManager()->registerUndo(this, [this, inclusion, point] { deleteVolume(inclusion, point); });
    inclusion.arrayValue(inclusionkey::volumes).insert(index, point);
    reloadTable(mVolumesView);
    reloadTable(mInclusionsView);
    refreshVolumeControls();
}

void InclusionDataController::deleteVolume(const Dictionary& inclusion, const Dictionary& point)
{
    Array volumes = inclusion.arrayValue(inclusionkey::volumes);
    const int index = volumes.indexOf(point);
    if (index < 0)
        return;
    undoManager()->registerUndo(this, [this, inclusion, point, index] { addVolume(inclusion, point, index); });
    volumes.removeAt(index);
    reloadTable(mVolumesView);
    reloadTable(mInclusionsView);
    refreshVolumeControls();
}

void InclusionDataController::updatePlotView()
{
    if (!hasSelectedInclusion())
        return;  // the diagram keeps its last drawing
    makeVolumeDiagram(*mPlotView, selectedVolumes());
    mPlotView->update();
}

}  // namespace quorvel
