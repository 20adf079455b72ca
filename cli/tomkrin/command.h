#pragma once
// The subcommands of tomkrin: each is an entry of the command table with its name, its usage
// line, its help text and the function that runs it.
#include <ostream>
#include <string>
#include <vector>

#include "cli/common/options.h"

constexpr int kStatusOk = 0;
constexpr int kStatusFailed = 1; // the operation failed, or `check` found something
constexpr int kStatusUsage = 2;  // the command line is wrong

struct CliContext {
    std::ostream& out;
    std::ostream& err;
    bool outIsTerminal; // colour is wanted only there
};

struct Command {
    const char* name;
    const char* usage;   // the arguments after the name, e.g. "FILE"
    const char* summary; // one line for the command list
    const char* help;    // the rest of `tomkrin NAME --help`
    std::vector<OptionInfo> options;
    int (*run)(const ParsedArgs& args, CliContext& context);
};

// Each command file defines one of these.
const Command& infoCommand();
const Command& showCommand();
const Command& checkCommand();
const Command& renderCommand();
const Command& extractCommand();
const Command& insertCommand();
const Command& exportCommand();
const Command& importCommand();
const Command& wavCommand();
const Command& wav2casCommand();

// Every command in the order `tomkrin help` lists them. A new command is one more entry here.
const std::vector<const Command*>& commandTable();

// "tomkrin: WHAT" for the command line, with a pointer to the command's help; returns 2.
int usageError(CliContext& context, const Command& command, const std::string& what);
