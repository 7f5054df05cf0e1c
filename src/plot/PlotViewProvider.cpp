#include "plot/PlotViewProvider.h"

#include <QHash>
#include <QObject>
#include <QWidget>

namespace quorvel {

namespace {
QHash<const QWidget*, PlotViewProvider*>& documentsByWindow()
{
    static QHash<const QWidget*, PlotViewProvider*> documents;
    return documents;
}
} // namespace

void PlotViewProvider::setDocumentOfWindow(QWidget* window, PlotViewProvider* document)
{
    if (!window)
        return;
    auto& documents = documentsByWindow();
    if (!document) {
        documents.remove(window);
        return;
    }
    if (!documents.contains(window))
        QObject::connect(window, &QObject::destroyed, [window] { documentsByWindow().remove(window); });
    documents.insert(window, document);
}

PlotViewProvider* PlotViewProvider::documentOfWindow(const QWidget* window)
{
    return window ? documentsByWindow().value(window, nullptr) : nullptr;
}

} // namespace quorvel
