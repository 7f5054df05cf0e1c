#include "panels/PhaseDiagOutlineModel.h"

#include <QItemSelectionModel>
#include <QSet>
#include <QTreeView>

namespace quorvel {

namespace {

const QString kNatureOfKind[] = {QStringLiteral("Phase Diagram"), QStringLiteral("Isopleth"),
                                 QStringLiteral("Isochor"), QStringLiteral("Trap line")};

}  // namespace

PhaseDiagOutlineModel::PhaseDiagOutlineModel(QObject* parent) : QAbstractItemModel(parent) {}

int PhaseDiagOutlineModel::addNode(Kind kind, const std::shared_ptr<ArchivableObject>& record,
                                   const void* identity, int parent, const QString& name)
{
    const int id = int(mNodes.size());
    const int row = parent < 0 ? 0 : int(mNodes[parent].children.size());
    mNodes.push_back({kind, record, identity, parent, row, name, {}});
    if (parent >= 0)
        mNodes[parent].children.push_back(id);
    return id;
}

void PhaseDiagOutlineModel::build(CPhaseDiagDocument* document)
{
    mNodes.clear();
    if (!document)
        return;
    const int root = addNode(Kind::Document, nullptr, document, -1, document->name());
    for (const PhaseDiagramPtr& diagram : document->phaseDiagrams()) {
        if (!diagram)
            continue;
        const int diagramNode = addNode(Kind::PhaseDiagram, diagram, diagram.get(), root, diagram->name());
        for (const IsochorPtr& isochor : diagram->monophasicIsochors()) {
            if (!isochor)
                continue;
            const int isochorNode = addNode(Kind::Isochor, isochor, isochor.get(), diagramNode, isochor->name());
            for (const TrappingLinePtr& line : isochor->trappingLines())
                if (line)
                    addNode(Kind::TrappingLine, line, line.get(), isochorNode, line->name());
        }
    }
}

void PhaseDiagOutlineModel::reload(CPhaseDiagDocument* document, QTreeView* view)
{
    QSet<const void*> expanded;
    const void* selected = nullptr;
    if (view) {
        for (const Node& node : mNodes) {
            const QModelIndex at = createIndex(node.row, 0, quintptr(&node - mNodes.data()));
            if (view->isExpanded(at))
                expanded.insert(node.identity);
        }
        if (view->selectionModel()) {
            const QModelIndexList rows = view->selectionModel()->selectedRows();
            if (!rows.isEmpty())
                if (const Node* node = nodeOf(rows.first()))
                    selected = node->identity;
        }
    }
    beginResetModel();
    build(document);
    endResetModel();
    if (!view)
        return;
    QModelIndex reselected;
    for (const Node& node : mNodes) {
        const QModelIndex at = createIndex(node.row, 0, quintptr(&node - mNodes.data()));
        if (expanded.contains(node.identity))
            view->setExpanded(at, true);
        if (selected && node.identity == selected)
            reselected = at;
    }
    if (!view->selectionModel())
        return;
    if (reselected.isValid()) {
        const QSignalBlocker quiet(view->selectionModel());
        view->selectionModel()->select(reselected, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else if (selected) {
        // The chosen node went: the tree now has no selection.
        emit view->selectionModel()->selectionChanged(QItemSelection(), QItemSelection());
    }
}

const PhaseDiagOutlineModel::Node* PhaseDiagOutlineModel::nodeOf(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this || index.internalId() >= mNodes.size())
        return nullptr;
    return &mNodes[index.internalId()];
}

PhaseDiagOutlineModel::Kind PhaseDiagOutlineModel::kindOf(const QModelIndex& index) const
{
    const Node* node = nodeOf(index);
    return node ? node->kind : Kind::Document;
}

bool PhaseDiagOutlineModel::isDocumentNode(const QModelIndex& index) const
{
    const Node* node = nodeOf(index);
    return node && node->kind == Kind::Document;
}

std::shared_ptr<ArchivableObject> PhaseDiagOutlineModel::recordOf(const QModelIndex& index) const
{
    const Node* node = nodeOf(index);
    return node ? node->record.lock() : nullptr;
}

QModelIndex PhaseDiagOutlineModel::indexOf(const ArchivableObject* record) const
{
    if (!record)
        return {};
    for (const Node& node : mNodes)
        if (node.identity == record)
            return createIndex(node.row, 0, quintptr(&node - mNodes.data()));
    return {};
}

QModelIndex PhaseDiagOutlineModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column < 0 || column >= 2 || row < 0)
        return {};
    if (!parent.isValid())
        return !mNodes.empty() && row == 0 ? createIndex(0, column, quintptr(0)) : QModelIndex();
    const Node* node = nodeOf(parent);
    if (!node || row >= int(node->children.size()))
        return {};
    return createIndex(row, column, quintptr(node->children[row]));
}

QModelIndex PhaseDiagOutlineModel::parent(const QModelIndex& child) const
{
    const Node* node = nodeOf(child);
    if (!node || node->parent < 0)
        return {};
    return createIndex(mNodes[node->parent].row, 0, quintptr(node->parent));
}

int PhaseDiagOutlineModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return mNodes.empty() ? 0 : 1;
    if (parent.column() != 0)
        return 0;
    const Node* node = nodeOf(parent);
    return node ? int(node->children.size()) : 0;
}

int PhaseDiagOutlineModel::columnCount(const QModelIndex&) const
{
    return 2;
}

QVariant PhaseDiagOutlineModel::data(const QModelIndex& index, int role) const
{
    const Node* node = nodeOf(index);
    if (!node || role != Qt::DisplayRole)
        return {};
    return index.column() == 0 ? node->name : kNatureOfKind[int(node->kind)];
}

QVariant PhaseDiagOutlineModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? tr("Name") : tr("Nature");
}

}  // namespace quorvel
