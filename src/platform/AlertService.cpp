#include "platform/AlertService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace quorvel {

namespace {

AlertService* installed = nullptr;

AlertResponse runAlert(Alert::Style style, const QString& title, const QString& message,
                       const QString& defaultButton = QString(), const QString& alternateButton = QString(),
                       const QString& otherButton = QString())
{
    return AlertService::current().run(Alert{style, title, message, defaultButton, alternateButton, otherButton});
}

}  // namespace

AlertService& AlertService::current()
{
    static MessageBoxAlertService messageBoxes;
    return installed ? *installed : messageBoxes;
}

void AlertService::setCurrent(AlertService* service)
{
    installed = service;
}

void showAlert(const QString& message)
{
    runAlert(Alert::Style::Informational, QString(), message);
}

void showTitledAlert(const QString& title, const QString& message)
{
    runAlert(Alert::Style::Informational, title, message);
}

void showCriticalAlert(const QString& title, const QString& message)
{
    runAlert(Alert::Style::Critical, title, message);
}

AlertResponse confirm(const QString& title, const QString& message, const QString& defaultButton,
                      const QString& alternateButton, const QString& otherButton)
{
    return runAlert(Alert::Style::Informational, title, message, defaultButton, alternateButton, otherButton);
}

AlertResponse MessageBoxAlertService::run(const Alert& alert)
{
    QMessageBox box(QApplication::activeWindow());
    box.setIcon(alert.style == Alert::Style::Critical ? QMessageBox::Critical : QMessageBox::Information);
    // The platform's panels show the title as the bold line and the message below it.
    if (alert.title.isEmpty()) {
        box.setText(alert.message);
    } else {
        box.setText(alert.title);
        box.setInformativeText(alert.message);
    }
    QPushButton* defaultButton =
        box.addButton(alert.defaultButton.isEmpty() ? QObject::tr("OK") : alert.defaultButton, QMessageBox::AcceptRole);
    QPushButton* alternateButton =
        alert.alternateButton.isEmpty() ? nullptr : box.addButton(alert.alternateButton, QMessageBox::RejectRole);
    QPushButton* otherButton =
        alert.otherButton.isEmpty() ? nullptr : box.addButton(alert.otherButton, QMessageBox::DestructiveRole);
    box.setDefaultButton(defaultButton);
    box.exec();
    if (alternateButton && box.clickedButton() == alternateButton)
        return AlertResponse::Alternate;
    if (otherButton && box.clickedButton() == otherButton)
        return AlertResponse::Other;
    return AlertResponse::Default;
}

RecordingAlertService::RecordingAlertService() : mPrevious(installed)
{
    setCurrent(this);
}

RecordingAlertService::~RecordingAlertService()
{
    if (installed == this)
        setCurrent(mPrevious);
}

AlertResponse RecordingAlertService::run(const Alert& alert)
{
    mAlerts.append(alert);
    return mResponses.isEmpty() ? AlertResponse::Default : mResponses.takeFirst();
}

QStringList RecordingAlertService::messages() const
{
    QStringList result;
    for (const Alert& alert : mAlerts)
        result.append(alert.message);
    return result;
}

}  // namespace quorvel
