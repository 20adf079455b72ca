#include "cli/tomkrin/tomkrin.h"

#include <exception>
#include <string>
#include <vector>

#include "cli/tomkrin/command.h"
#include "cli/tomkrin/levelarg.h"

#ifndef TK_VERSION
#define TK_VERSION "unknown"
#endif

namespace {

const Command* findCommand(const std::string& name) {
    for (const Command* command : commandTable())
        if (name == command->name)
            return command;
    return nullptr;
}

void printOverview(std::ostream& out) {
    out << "usage: tomkrin COMMAND ARGS...\n"
           "Reads, shows, checks and renders the levels of Tomkrin, takes them out of and puts\n"
           "them into the game's tape image, and turns a tape image into a .wav recording\n"
           "and a recording of a cassette back into a tape image.\n"
           "A LEVEL is a level file (.bin) or standard level N (0 to 19) of a tape image,\n"
           "written TAPE.cas:N";
    out << ", a Tiled map (.tmx, .tmj, .json; see tomkrin export), or a picture of a level\n"
           "that tomkrin render wrote (it carries the level).\n"
        << "\ncommands:\n";
    for (const Command* command : commandTable()) {
        std::string name = command->name;
        name.resize(9, ' ');
        out << "  " << name << command->summary << '\n';
    }
    out << "\n`tomkrin help COMMAND` or `tomkrin COMMAND --help` explains a command;\n"
           "`tomkrin --version` prints the version.\n"
           "Exit status: 0 done, 1 failed (or check found something), 2 wrong command line.\n";
}

void printCommandHelp(std::ostream& out, const Command& command) {
    out << "usage: tomkrin " << command.name << " " << command.usage << "\n"
        << command.summary << ".\n\n"
        << command.help;
}

int runHelp(const std::vector<std::string>& words, CliContext& context) {
    if (words.empty()) {
        printOverview(context.out);
        return kStatusOk;
    }
    const Command* command = findCommand(words[0]);
    if (!command || words.size() > 1) {
        context.err << "tomkrin: help: no command " << words[0] << " (see tomkrin help)\n";
        return kStatusUsage;
    }
    printCommandHelp(context.out, *command);
    return kStatusOk;
}

int runCommand(const Command& command, const std::vector<std::string>& words, CliContext& context) {
    ParsedArgs args;
    const std::string problem = parseArgs(words, command.options, args);
    if (args.help) {
        printCommandHelp(context.out, command);
        return kStatusOk;
    }
    if (!problem.empty())
        return usageError(context, command, problem);
    return command.run(args, context);
}

} // namespace

int runTomkrin(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
               bool outIsTerminal) {
    CliContext context{out, err, outIsTerminal};
    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (words.empty()) {
        printOverview(err);
        return kStatusUsage;
    }
    const std::string& name = words[0];
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (name == "--version" || name == "version") {
        out << "tomkrin " << TK_VERSION << '\n';
        return kStatusOk;
    }
    if (name == "help" || name == "--help" || name == "-h")
        return runHelp(rest, context);
    const Command* command = findCommand(name);
    if (!command) {
        err << "tomkrin: " << name << ": no such command (see tomkrin help)\n";
        return kStatusUsage;
    }
    try {
        return runCommand(*command, rest, context);
    } catch (const std::exception& e) {
        err << "tomkrin: " << name << ": " << e.what() << '\n';
        return kStatusFailed;
    }
}
