#include "app/StartOptions.h"

#include <ostream>
#include <vector>

#include "TalvoraVersion.h"
#include "cli/CliArgs.h"

namespace {

constexpr CliOption kOptions[] = {
    {"--settings", nullptr, "FILE", "the settings file to use"},
    {"--help", "-h", nullptr, "this text"},
    {"--version", nullptr, nullptr, "the version number"},
    // Qt's own, taken by the application object.
    {"--platform", "-platform", "NAME", nullptr},
    {"--platformpluginpath", "-platformpluginpath", "PATH", nullptr},
    {"--platformtheme", "-platformtheme", "NAME", nullptr},
    {"--plugin", "-plugin", "NAME", nullptr},
    {"--qwindowgeometry", "-qwindowgeometry", "GEOMETRY", nullptr},
    {"--qwindowicon", "-qwindowicon", "ICON", nullptr},
    {"--qwindowtitle", "-qwindowtitle", "TITLE", nullptr},
    {"--session", "-session", "ID", nullptr},
    {"--display", "-display", "DISPLAY", nullptr},
    {"--geometry", "-geometry", "GEOMETRY", nullptr},
    {"--style", "-style", "STYLE", nullptr},
    {"--stylesheet", "-stylesheet", "FILE", nullptr},
    {"--reverse", "-reverse", nullptr, nullptr},
    {"--widgetcount", "-widgetcount", nullptr, nullptr},
    {"--nograb", "-nograb", nullptr, nullptr},
    {"--dograb", "-dograb", nullptr, nullptr},
    {"--sync", "-sync", nullptr, nullptr},
};

constexpr int kExitUsage = 2;

}  // namespace

StartOptions ParseStartOptions(int argc, char** argv, std::ostream& out, std::ostream& err) {
    StartOptions start;
    const std::vector<std::string> tokens(argv + 1, argv + argc);
    std::string error;
    const auto args = CliArgs::Parse(tokens, kOptions, error);
    if (args && !args->positionals().empty()) {
        error = "unexpected argument " + args->positionals().front();
    }
    if (!error.empty()) {
        err << "talvora: " << error << "\nTry 'talvora --help'.\n";
        start.exitStatus = kExitUsage;
        return start;
    }
    if (args->Has("--help")) {
        std::string text =
            "usage: talvora [OPTIONS]\n"
            "\n"
            "Shows the history a Velmu messenger keeps in <uin>msg.idx and <uin>msg.dat.\n"
            "\n"
            "options:\n";
        AppendOptionHelp(kOptions, text);
        text += "Qt's own options (-platform NAME, -style STYLE, ...) are accepted too.\n";
        out << text;
        start.exitStatus = 0;
    } else if (args->Has("--version")) {
        out << "talvora " << kTalvoraVersion << '\n';
        start.exitStatus = 0;
    }
    start.settingsPath = args->Value("--settings").value_or(std::string());
    return start;
}
