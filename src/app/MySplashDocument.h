#pragma once
// The file-less document shown at launch, and its window.

#include "platform/Document.h"
#include "platform/WindowController.h"

namespace quorvel {

class MySplashDocument : public Document
{
    Q_OBJECT

public:
    void makeWindowControllers() override;
    // Never saved nor read.
    QByteArray dataRepresentationOfType(const QString& type, QString* error) override;
    bool loadDataRepresentation(const QByteArray& data, const QString& type, QString* error) override;
    QStringList answeredActions() const override;
};

class MySplashWindow : public WindowController
{
    Q_OBJECT

public:
    MySplashWindow() = default;

protected:
    QWidget* makeWindow() override;
};

}  // namespace quorvel
