#include <QApplication>
#include <QFile>

#include <iostream>

#include "TalvoraVersion.h"
#include "app/CTalvoraApp.h"
#include "app/QuitSignals.h"
#include "app/StartOptions.h"
#include "settings/Settings.h"
#include "ui/controls/JapaneseUi.h"
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
    if (!app.InitInstance()) {
        return 1;
    }
    InstallQuitSignals([&app] {
        if (app.mainFrame() != nullptr) {
            app.mainFrame()->close();
        }
    });
    return QApplication::exec();
}
