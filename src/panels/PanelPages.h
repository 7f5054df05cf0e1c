#pragma once
// The tab pages of a panel, each known by an identifier. Changing the page announces
// the page about to be shown (its refresh), then the page shown.

#include <QStringList>
#include <QTabWidget>

namespace quorvel {

class PanelPages : public QTabWidget
{
    Q_OBJECT

public:
    explicit PanelPages(QWidget* parent = nullptr);

    int addPage(QWidget* page, const QString& identifier, const QString& label);
    QString identifierAt(int index) const { return mIdentifiers.value(index); }
    QString selectedIdentifier() const { return identifierAt(currentIndex()); }
    int indexOfIdentifier(const QString& identifier) const { return int(mIdentifiers.indexOf(identifier)); }

signals:
    void willSelectPage(const QString& identifier);
    void didSelectPage(const QString& identifier);

private:
    QStringList mIdentifiers;
};

}  // namespace quorvel
