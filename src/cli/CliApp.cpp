#include "cli/CliApp.h"

#include <array>
#include <optional>
#include <ostream>

#include <QFile>
#include <QString>

#include "TalvoraVersion.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "database/LocalTime.h"
#include "database/MessageDatabase.h"
#include "settings/Settings.h"

namespace {

void PrintUsage(std::ostream& out) {
    std::string text =
        "usage: talvora-cli [OPTIONS] COMMAND [ARGS]\n"
        "\n"
        "Shows the history a Velmu messenger keeps in <uin>msg.idx and <uin>msg.dat.\n"
        "Texts are printed as UTF-8; a KEY is a member's number, -2 for all members.\n"
        "Without --folder or --data the history is the one the settings file names.\n"
        "\n"
        "commands:\n";
    std::vector<std::pair<std::string, std::string>> rows;
    for (const CliCommand* command : CliCommands()) {
        std::string left = command->name;
        if (*command->arguments != '\0') {
            left += ' ';
            left += command->arguments;
        }
        rows.emplace_back(std::move(left), command->summary);
    }
    AppendHelpColumns(rows, text);
    text += "\noptions (before or after the command):\n";
    AppendOptionHelp(GlobalCliOptions(), text);
    text +=
        "\n'talvora-cli COMMAND --help' shows the options of a command.\n"
        "exit status: 0 success, 1 the history could not be opened or read, 2 usage error\n";
    out << text;
}

void PrintCommandUsage(const CliCommand& command, std::ostream& out) {
    std::string text = "usage: talvora-cli [OPTIONS] " + std::string(command.name);
    if (*command.arguments != '\0') {
        text += ' ';
        text += command.arguments;
    }
    text += "\n\n" + std::string(command.summary) + "\n";
    if (!command.options.empty()) {
        text += "\noptions:\n";
        AppendOptionHelp(command.options, text);
    }
    text += "\nglobal options:\n";
    AppendOptionHelp(GlobalCliOptions(), text);
    out << text;
}

const CliCommand* FindCommand(const std::string& name) {
    for (const CliCommand* command : CliCommands()) {
        if (name == command->name) {
            return command;
        }
    }
    return nullptr;
}

const char* OpenErrorText(OpenError error) {
    switch (error) {
        case OpenError::None:
            return "no error";
        case OpenError::NotFound:
            return "no such file";
        case OpenError::PermissionDenied:
            return "permission denied";
        case OpenError::NotAHistory:
            return "not a plain file";
        case OpenError::AlreadyOpen:
            return "already open";
        case OpenError::ReadError:
            break;
    }
    return "cannot be read";
}

}  // namespace

int UsageError(CliContext& context, const std::string& message) {
    context.err << "talvora-cli: " << message << "\n"
                << "Try 'talvora-cli --help'.\n";
    return kExitUsage;
}

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err) {
    CliContext context{nullptr, out, err};
    const std::vector<std::string> tokens(argv + 1, argv + argc);

    // The global options up to the command word, then the command's and the global ones.
    CliArgs args;
    std::size_t next = 0;
    std::string error;
    if (!args.Read(tokens, next, GlobalCliOptions(), true, error)) {
        return UsageError(context, error);
    }
    const CliCommand* command = nullptr;
    if (next < tokens.size()) {
        command = FindCommand(tokens[next]);
        if (command == nullptr) {
            return UsageError(context, "unknown command " + tokens[next]);
        }
        std::vector<CliOption> options(GlobalCliOptions().begin(), GlobalCliOptions().end());
        options.insert(options.end(), command->options.begin(), command->options.end());
        ++next;
        if (!args.Read(tokens, next, options, false, error)) {
            return UsageError(context, error);
        }
    }
    if (args.Has("--help")) {
        command != nullptr ? PrintCommandUsage(*command, out) : PrintUsage(out);
        return kExitOk;
    }
    if (args.Has("--version")) {
        out << "talvora-cli " << kTalvoraVersion << '\n';
        return kExitOk;
    }
    if (command == nullptr) {
        return UsageError(context, "no command given");
    }
    std::optional<std::string> folder = args.Value("--folder");
    std::optional<std::string> uinText = args.Value("--uin");
    std::optional<std::string> data = args.Value("--data");
    std::optional<std::string> index = args.Value("--index");
    const std::optional<std::string> settings = args.Value("--settings");
    const std::optional<std::string> zone = args.Value("--time-zone");
    if (zone && !IsTimeZoneName(*zone)) {
        return UsageError(context, "not a time zone: " + *zone +
                                       " (an IANA name such as Asia/Tokyo or Europe/Berlin)");
    }

    if ((folder.has_value() != uinText.has_value()) || (data.has_value() != index.has_value())) {
        return UsageError(context, "give --folder with --uin, and --data with --index");
    }
    if (folder && data) {
        return UsageError(context, "give either --folder and --uin or --data and --index");
    }
    const std::optional<std::string> recentText = args.Value("--recent");
    std::optional<std::int32_t> recent;
    if (recentText) {
        recent = ParseInt32(*recentText);
        if (!recent || *recent < 1 || *recent > static_cast<int>(SettingsFile::kRecentHistories)) {
            return UsageError(context,
                              "not an entry of the recent histories (1 to 5): " + *recentText);
        }
        if (folder || data) {
            return UsageError(context, "give either --recent or the history's files");
        }
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
    const std::string settingsName = QFile::encodeName(settingsFile.path()).toStdString();
    const SettingsFileState settingsState = settingsFile.Read();
    if (settingsState == SettingsFileState::Unreadable) {
        err << "talvora-cli: the settings file " << settingsName << " cannot be read ("
            << settingsFile.reason().english.toStdString() << "); going on without it\n";
    } else if (settingsState == SettingsFileState::Missing && settings && command->needsDatabase &&
               (folder || data)) {
        err << "talvora-cli: the settings file " << settingsName
            << " does not exist; going on without it\n";
    }

    context.settingsPath = settingsName;
    const StoredSettings stored = settingsFile.LoadSettings(CliDefaultColors());
    context.colors = &stored.colors;
    MessageDatabase db;
    LocationSettings location;
    context.settings = &settingsFile;
    context.location = &location;
    if (command->needsDatabase) {
        InitTimeZone();
        if (folder) {
            location.location = DatabaseFolder;
            location.dbPath = QFile::decodeName(folder->c_str());
            location.uin = *uin;
        } else if (data) {
            location.location = LogFiles;
            location.msgDatFile = QFile::decodeName(data->c_str());
            location.msgIdxFile = QFile::decodeName(index->c_str());
        } else {
            location = stored.location;
            if (recent) {
                const std::vector<LocationSettings> list = settingsFile.LoadRecentHistories();
                const auto number = static_cast<std::size_t>(*recent);
                if (list.size() < number) {
                    err << "talvora-cli: the settings file " << settingsName << " lists "
                        << list.size() << " recent histories, not " << number << '\n';
                    return kExitFailure;
                }
                location = list[number - 1];
            }
            if (location.location == DatabaseFolder) {
                folder = QFile::encodeName(location.dbPath).toStdString();
                uin = location.uin;
            } else if (location.location == LogFiles) {
                data = QFile::encodeName(location.msgDatFile).toStdString();
                index = QFile::encodeName(location.msgIdxFile).toStdString();
            } else if (settingsState == SettingsFileState::Missing) {
                err << "talvora-cli: the settings file " << settingsName
                    << " does not exist, so it names no history; use --folder DIR --uin N or "
                       "--data FILE --index FILE\n";
                return kExitFailure;
            } else {
                err << "talvora-cli: the settings file " << settingsName
                    << " names no history (Location " << location.location
                    << "); use --folder DIR --uin N or --data FILE --index FILE\n";
                return kExitFailure;
            }
        }
        // The zone the times are shown by: the option's, else the one stored with the
        // location in the settings file (or the recent entry), else the machine's.
        if (zone) {
            location.timeZone = QString::fromStdString(*zone);
        } else if (!recent) {
            location.timeZone = stored.location.timeZone;
        }
        if (!location.timeZone.isEmpty() && !UseTimeZone(location.timeZone.toStdString())) {
            err << "talvora-cli: the settings file names no known time zone ("
                << location.timeZone.toStdString() << "); showing times in the machine's zone\n";
            location.timeZone.clear();
        }
        const OpenResult opened = folder ? db.OpenFolder(*folder, *uin) : db.Open(*data, *index);
        if (!opened) {
            const std::string path =
                opened.atIndexFile
                    ? (folder ? MessageDatabase::IndexFileName(*folder, *uin) : *index)
                    : (folder ? MessageDatabase::DataFileName(*folder, *uin) : *data);
            err << "talvora-cli: cannot open " << (opened.atIndexFile ? "index" : "data")
                << " file " << path << ": " << OpenErrorText(opened.error) << '\n';
            return kExitFailure;
        }
        settingsFile.LoadMemberNames(db);
        context.db = &db;
    }
    return command->run(context, args);
}
