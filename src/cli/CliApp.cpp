#include "cli/CliApp.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include <array>
#include <optional>
#include <ostream>

#include <QFile>
#include <QString>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "database/LocalTime.h"
#include "database/MessageDatabase.h"
#include "settings/Settings.h"

namespace {

constexpr const char* kUsage =
    "usage: talvora-cli [--folder DIR --uin N | --data FILE --index FILE] [--settings FILE]\n"
    "                   COMMAND [ARGS]\n"
    "\n"
    "Shows the history a Velmu messenger keeps in <uin>msg.idx and <uin>msg.dat.\n"
    "Texts are printed as UTF-8; a KEY is a member's number, -2 for all members.\n"
    "\n"
    "commands:\n";

void PrintUsage(std::ostream& out) {
    out << kUsage;
    for (const CliCommand& command : CliCommands()) {
        out << "  " << command.usage << '\n';
    }
    out << "\noptions:\n"
           "  --folder DIR --uin N      the pair DIR/<N>msg.dat and DIR/<N>msg.idx\n"
           "  --data FILE --index FILE  the two files themselves\n"
           "  --settings FILE           the settings file to use\n"
           "  --help                    this text\n"
           "exit status: 0 success, 1 the history could not be opened or read, 2 usage error\n";
}

// Says why a file cannot be opened for reading ("" when it can).
std::string OpenFailure(const std::string& path) {
    if (path.empty()) {
        return "no file name";
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::strerror(errno);
    }
    ::close(fd);
    return "cannot be read as a file";
}

}  // namespace

int UsageError(CliContext& context, const std::string& message) {
    context.err << "talvora-cli: " << message << "\n"
                << "Try 'talvora-cli --help'.\n";
    return kExitUsage;
}

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err) {
    CliContext context{nullptr, out, err};
    std::vector<std::string> tokens(argv + 1, argv + argc);

    // Global options stand before the command word.
    std::optional<std::string> folder, uinText, data, index, settings;
    std::size_t i = 0;
    for (; i < tokens.size(); ++i) {
        const std::string& token = tokens[i];
        if (token == "--help" || token == "-h") {
            PrintUsage(out);
            return kExitOk;
        }
        if (token == "--version") {
            out << "talvora-cli 1.00a\n";
            return kExitOk;
        }
        std::optional<std::string>* target = token == "--folder"     ? &folder
                                             : token == "--uin"      ? &uinText
                                             : token == "--data"     ? &data
                                             : token == "--index"    ? &index
                                             : token == "--settings" ? &settings
                                                                     : nullptr;
        if (target == nullptr) {
            if (!token.empty() && token[0] == '-' && !LooksLikeNumber(token)) {
                return UsageError(context, "unknown option " + token);
            }
            break;
        }
        if (i + 1 >= tokens.size()) {
            return UsageError(context, "option " + token + " needs a value");
        }
        *target = tokens[++i];
    }
    if (i >= tokens.size()) {
        return UsageError(context, "no command given");
    }
    const std::string name = tokens[i];
    const std::vector<std::string> args(tokens.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                        tokens.end());
    const CliCommand* command = nullptr;
    for (const CliCommand& candidate : CliCommands()) {
        if (name == candidate.name) {
            command = &candidate;
        }
    }
    if (command == nullptr) {
        return UsageError(context, "unknown command " + name);
    }

    if ((folder.has_value() != uinText.has_value()) || (data.has_value() != index.has_value())) {
        return UsageError(context, "give --folder with --uin, and --data with --index");
    }
    if (folder && data) {
        return UsageError(context, "give either --folder and --uin or --data and --index");
    }
    std::optional<std::int32_t> uin;
    if (uinText) {
        uin = ParseInt32(*uinText);
        if (!uin) {
            return UsageError(context, "not a UIN: " + *uinText);
        }
    }

    // The settings file gives the location when no database options are given, and the
    // members' display names either way.
    SettingsFile settingsFile(
        BuildSettingsPath(settings ? QFile::decodeName(settings->c_str()) : QString()));
    if (settingsFile.Read() == SettingsFileState::Unreadable) {
        err << "talvora-cli: the settings file "
            << QFile::encodeName(settingsFile.path()).toStdString() << " cannot be read ("
            << settingsFile.reason().toStdString() << "); going on without it\n";
    }

    MessageDatabase db;
    if (command->needsDatabase) {
        InitTimeZone();
        if (!folder && !data) {
            const LocationSettings stored = settingsFile.LoadSettings(CliDefaultColors()).location;
            if (stored.location == DatabaseFolder) {
                folder = QFile::encodeName(stored.dbPath).toStdString();
                uin = stored.uin;
            } else if (stored.location == LogFiles) {
                data = QFile::encodeName(stored.msgDatFile).toStdString();
                index = QFile::encodeName(stored.msgIdxFile).toStdString();
            } else {
                err << "talvora-cli: the settings file "
                    << QFile::encodeName(settingsFile.path()).toStdString()
                    << " names no history (Location " << stored.location
                    << "); use --folder DIR --uin N or --data FILE --index FILE\n";
                return kExitFailure;
            }
        }
        const bool opened = folder ? db.OpenFolder(*folder, *uin) : db.Open(*data, *index);
        if (!opened || !db.loaded()) {
            const std::string dataPath =
                db.dataPath().empty()
                    ? (folder ? MessageDatabase::DataFileName(*folder, *uin) : *data)
                    : db.dataPath();
            const std::string indexPath =
                folder ? MessageDatabase::IndexFileName(*folder, *uin) : *index;
            if (db.dataPath().empty()) {
                err << "talvora-cli: cannot open data file " << dataPath << ": "
                    << OpenFailure(dataPath) << '\n';
            } else {
                err << "talvora-cli: cannot open index file " << indexPath << ": "
                    << OpenFailure(indexPath) << '\n';
            }
            return kExitFailure;
        }
        settingsFile.LoadMemberNames(db);
        context.db = &db;
    }
    return command->run(context, args);
}
