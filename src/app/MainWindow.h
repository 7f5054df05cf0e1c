#pragma once

#include <QMainWindow>

namespace quorvel {

// The application's toolbar window: the place the New, Open and Show commands live.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

} // namespace quorvel
