#include "cli/tomkrin/command.h"

const std::vector<const Command*>& commandTable() {
    static const std::vector<const Command*> table = {
        &infoCommand(),   &showCommand(),   &checkCommand(),  &renderCommand(), &extractCommand(),
        &insertCommand(), &exportCommand(), &importCommand(), &wavCommand(),    &wav2casCommand(),
    };
    return table;
}

int usageError(CliContext& context, const Command& command, const std::string& what) {
    context.err << "tomkrin: " << command.name << ": " << what << " (usage: tomkrin "
                << command.name << " " << command.usage << "; see tomkrin " << command.name
                << " --help)\n";
    return kStatusUsage;
}
