#pragma once
// The summary tree of a phase-diagram document: the document, its phase diagrams, their
// one-phase isochores and the trapping lines on those. Columns "name" and "nature". The
// tree is read from the document at each reload; a node refers to its record weakly, so a
// record gone from the document since is simply not there any more.

#include "app/CPhaseDiagDocument.h"

#include <QAbstractItemModel>
#include <QPointer>

#include <memory>
#include <vector>

class QTreeView;

namespace quorvel {

class PhaseDiagOutlineModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum class Kind { Document, PhaseDiagram, Isochor, TrappingLine };

    static inline const QString kNameColumn = QStringLiteral("name");
    static inline const QString kNatureColumn = QStringLiteral("nature");

    explicit PhaseDiagOutlineModel(QObject* parent = nullptr);

    // Re-reads the tree of the document (none: an empty tree), keeping the selection and
    // the expanded nodes of the view whose records are still there.
    void reload(CPhaseDiagDocument* document, QTreeView* view);

    Kind kindOf(const QModelIndex& index) const;
    // The record of a node (none for the document's node or an invalid index).
    std::shared_ptr<ArchivableObject> recordOf(const QModelIndex& index) const;
    // The node of a record, or an invalid index when the tree has none.
    QModelIndex indexOf(const ArchivableObject* record) const;
    bool isDocumentNode(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Node
    {
        Kind kind;
        std::weak_ptr<ArchivableObject> record;
        const void* identity;  // the record (or document) the node stands for
        int parent;            // index into mNodes; -1 for the document's node
        int row;               // among its parent's children
        QString name;
        std::vector<int> children;
    };
    int addNode(Kind kind, const std::shared_ptr<ArchivableObject>& record, const void* identity, int parent,
                const QString& name);
    const Node* nodeOf(const QModelIndex& index) const;
    void build(CPhaseDiagDocument* document);

    std::vector<Node> mNodes;  // node 0 is the document's, when there is one
};

}  // namespace quorvel
