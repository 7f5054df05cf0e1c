#include "app/MySplashDocument.h"

#include "app/AppMenus.h"
#include "app/Version.h"
#include "platform/ActionNames.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QVBoxLayout>

namespace quorvel {

void MySplashDocument::makeWindowControllers()
{
    auto controller = std::make_unique<MySplashWindow>();
    controller->setFixedWindowTitle(QString());
    controller->setShouldCloseDocument(true);
    addWindowController(std::move(controller));
}

QByteArray MySplashDocument::dataRepresentationOfType(const QString&, QString* error)
{
    *error = tr("The splash window has no contents to save.");
    return {};
}

bool MySplashDocument::loadDataRepresentation(const QByteArray&, const QString&, QString* error)
{
    *error = tr("The splash window has no file.");
    return false;
}

QStringList MySplashDocument::answeredActions() const
{
    // Only closing applies to the splash window; saving, reverting and printing do not.
    return {actionname::performClose};
}

QWidget* MySplashWindow::makeWindow()
{
    auto* window = new QMainWindow;
    installApplicationMenus(window);
    auto* central = new QWidget(window);
    central->setAutoFillBackground(true);
    QPalette palette = central->palette();
    palette.setColor(QPalette::Window, QColor(0x1f, 0x3a, 0x5f));
    palette.setColor(QPalette::WindowText, Qt::white);
    central->setPalette(palette);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(40, 40, 40, 40);
    auto addLine = [&](const QString& text, int pointSize, bool bold) {
        auto* label = new QLabel(text, central);
        QFont font = label->font();
        font.setPointSize(pointSize);
        font.setBold(bold);
        label->setFont(font);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        layout->addWidget(label);
    };
    layout->addStretch();
    addLine(QStringLiteral("Quorvel"), 36, true);
    addLine(tr("Thermodynamic modelling of petroleum fluid inclusions"), 14, false);
    layout->addSpacing(20);
    addLine(tr("Version %1").arg(ApplicationVersion), 11, false);
    addLine(tr("Start with the toolbar: a new inclusion data document, fluid model, phase diagram or alpha-beta plot."),
            11, false);
    layout->addStretch();
    window->setCentralWidget(central);
    window->resize(560, 360);
    // In the middle of the screen, clear of the toolbar window in its top-left corner.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
    return window;
}

}  // namespace quorvel
