#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace quorvel {

// One modal alert: an informational or critical panel with an optional title,
// a message and up to three buttons (default, alternate, other).
struct Alert
{
    enum class Style { Informational, Critical };
    Style style = Style::Informational;
    QString title;
    QString message;
    QString defaultButton;  // empty: "OK"
    QString alternateButton;
    QString otherButton;
};

// Which button closed an alert, with the platform's return values.
enum class AlertResponse { Default = 1, Alternate = 0, Other = -1 };

// Every alert of the application goes through the current service: modal
// message boxes in the application, a recording service in tests.
class AlertService
{
public:
    virtual ~AlertService() = default;
    virtual AlertResponse run(const Alert& alert) = 0;

    static AlertService& current();
    // Installs a service (not owned); nullptr goes back to the message boxes.
    static void setCurrent(AlertService* service);
};

// The platform's alert panels as the Msg_ functions use them.
void showAlert(const QString& message);                              // no title, OK
void showTitledAlert(const QString& title, const QString& message);  // e.g. "Alert"
void showCriticalAlert(const QString& title, const QString& message);
AlertResponse confirm(const QString& title, const QString& message, const QString& defaultButton,
                      const QString& alternateButton, const QString& otherButton = QString());

// Modal QMessageBox over the active window.
class MessageBoxAlertService : public AlertService
{
public:
    AlertResponse run(const Alert& alert) override;
};

// Records the alerts instead of showing them and answers with preset
// responses (the default button when none is left). Installs itself while it lives.
class RecordingAlertService : public AlertService
{
public:
    RecordingAlertService();
    ~RecordingAlertService() override;

    AlertResponse run(const Alert& alert) override;

    void queueResponse(AlertResponse response) { mResponses.append(response); }
    const QList<Alert>& alerts() const { return mAlerts; }
    QStringList messages() const;
    void clear() { mAlerts.clear(); }

private:
    QList<Alert> mAlerts;
    QList<AlertResponse> mResponses;
    AlertService* mPrevious;
};

}  // namespace quorvel
