#include "cli/commands/DetectCommand.h"

#include <QFile>

#include <ostream>

#include "cli/CliArgs.h"
#include "settings/VelmuSettings.h"

namespace {

int RunDetect(CliContext& context, const CliArgs& args) {
    if (!args.positionals().empty()) {
        return UsageError(context, "detect takes no arguments");
    }
    const VelmuSettings found = ReadVelmuSettings();
    if (!found.ok) {
        context.err << "talvora-cli: cannot read the messenger's settings: "
                    << found.reason.toStdString() << '\n';
        return kExitFailure;
    }
    if (!found.folder && !found.uin) {
        const std::string where = QFile::encodeName(found.source).toStdString();
        context.err << "talvora-cli: found no settings of the messenger in " << where
                    << (QFile::exists(found.source)
                            ? "\n"
                            : " (there is no such file: no Wine prefix there; WINEPREFIX names "
                              "another)\n");
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

}  // namespace

const CliCommand& DetectCommand() {
    static const CliCommand command{
        "detect", "", "the history folder and owner UIN the messenger uses", RunDetect, false, {}};
    return command;
}
