#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

// Every test binary runs offscreen with its own per-user settings store, so no test ever
// touches the real user's settings.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toUtf8());
    // A deleted performer goes to the desktop's trash: the test's own, not the user's (in test
    // mode Qt keeps its data below the home folder's .qttest).
    qputenv("HOME", settingsHome.path().toUtf8());
    QDir().mkpath(settingsHome.path() + "/.qttest/share");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cantoria"));
    QApplication::setOrganizationName(QStringLiteral("Cantoria"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsHome.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsHome.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
