#pragma once
// The application's small toolbar window: the New, Open and Show commands, sent to the
// document controller, and the application's menus.

#include <QMainWindow>

namespace quorvel {

class CCQuorvelDocumentController;

class ToolBarWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit ToolBarWindow(CCQuorvelDocumentController& controller, QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;

private:
    CCQuorvelDocumentController& mController;
};

}  // namespace quorvel
