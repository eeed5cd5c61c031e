#include "cli/commands/DetectCommand.h"

#include <QFile>

#include <ostream>

#include "cli/CliArgs.h"
#include "settings/VelmuSettings.h"

int RunDetectCommand(CliContext& context, const std::vector<std::string>& args) {
    std::string error;
    auto parsed = CliArgs::Parse(args, {}, {}, error);
    if (!parsed) {
        return UsageError(context, error);
    }
    if (!parsed->positionals().empty()) {
        return UsageError(context, "detect takes no arguments");
    }
    const VelmuSettings found = ReadVelmuSettings();
    if (!found.ok) {
        context.err << "talvora-cli: cannot read the messenger's settings: "
                    << found.reason.toStdString() << '\n';
        return kExitFailure;
    }
    if (found.folder) {
        context.out << "folder\t" << QFile::encodeName(*found.folder).toStdString() << '\n';
    }
    if (found.uin) {
        context.out << "uin\t" << *found.uin << '\n';
    }
    context.out.flush();
    return kExitOk;
}
