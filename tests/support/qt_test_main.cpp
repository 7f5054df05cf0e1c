// Entry point of the GUI test programs: one QApplication for the whole run.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Each test case starts from empty settings, as it does in a process of its own, also
// when a developer runs the program's cases one after another (shuffled, repeated).
class EmptySettingsForEachTest : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo&) override { QSettings().clear(); }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every test case runs as a process of its own, in parallel with the others: its
    // settings (window frames, user defaults) live in a folder of its own, removed at the
    // end, so that no test reads what another wrote nor what the user has set.
    const QTemporaryDir settings;
    if (!settings.isValid())
        return EXIT_FAILURE;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new EmptySettingsForEachTest);
    return RUN_ALL_TESTS();
}
