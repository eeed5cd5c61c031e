#include <QApplication>
#include <QCommandLineParser>

#include "app/CTalvoraApp.h"
#include "app/QuitSignals.h"
#include "settings/Settings.h"
#include "ui/controls/Prompts.h"
#include "ui/frame/CMainFrame.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Talvora"));
    QApplication::setApplicationVersion(QStringLiteral("1.00a"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Viewer for the Velmu messenger's history"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption settings(QStringLiteral("settings"),
                                QStringLiteral("The settings file to use."),
                                QStringLiteral("FILE"));
    parser.addOption(settings);
    parser.process(application);

    CTalvoraApp app(BuildSettingsPath(parser.value(settings)), DialogPrompts());
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
