#include <QApplication>
#include <QFile>

#include <iostream>

#include "TalvoraVersion.h"
#include "app/CTalvoraApp.h"
#include "app/QuitSignals.h"
#include "app/StartOptions.h"
#include "settings/Settings.h"
#include "ui/controls/Prompts.h"
#include "ui/frame/CMainFrame.h"

int main(int argc, char** argv) {
    const StartOptions start = ParseStartOptions(argc, argv, std::cout, std::cerr);
    if (start.exitStatus) {
        return *start.exitStatus;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Talvora"));
    QApplication::setApplicationVersion(QString::fromUtf8(kTalvoraVersion));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(kTalvoraAppId));

    CTalvoraApp app(BuildSettingsPath(QFile::decodeName(start.settingsPath.c_str())),
                    DialogPrompts());
    // Before start-up: a quit signal during the first-run options sheet is a normal exit too.
    InstallQuitSignals([&app] { app.RequestQuit(); });
    if (!app.InitInstance()) {
        return 1;
    }
    if (app.quitRequested()) {
        return 0;  // the settings were saved when the window closed
    }
    return QApplication::exec();
}
