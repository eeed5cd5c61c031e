#pragma once

#include <iosfwd>
#include <optional>
#include <string>

// What the window's command line asks for.
struct StartOptions {
    std::optional<int> exitStatus;  // set when the program is to end at once (help, errors)
    std::string settingsPath;       // --settings FILE; empty for the usual place
};

// Reads the command line before the application object exists, so that --help, --version
// and usage errors need no display. Qt's own options (-platform, -style, ...) are let
// through for the application object. Usage errors end with status 2.
StartOptions ParseStartOptions(int argc, char** argv, std::ostream& out, std::ostream& err);
