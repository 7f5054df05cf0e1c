#include "panels/PanelPages.h"

#include <QSignalBlocker>

namespace quorvel {

PanelPages::PanelPages(QWidget* parent) : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (index < 0)
            return;
        emit willSelectPage(identifierAt(index));
        emit didSelectPage(identifierAt(index));
    });
}

int PanelPages::addPage(QWidget* page, const QString& identifier, const QString& label)
{
    // The first page added becomes current before its identifier is known: record it first.
    mIdentifiers.append(identifier);
    const QSignalBlocker quiet(this);
    return addTab(page, label);
}

}  // namespace quorvel
