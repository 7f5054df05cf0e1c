#pragma once
// The application object that widget benchmarks need; the offscreen platform serves
// without a display.

#include <QApplication>

namespace quorvel::bench {

inline void ensureApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

}  // namespace quorvel::bench
