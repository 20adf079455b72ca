#pragma once
// The command line of the tools and of each tomkrin command: its words split into positional
// arguments and options. Options may stand anywhere; "--name=value" and "--name value" are the
// same; "--" ends the options; a lone "-" is a positional argument.
#include <map>
#include <string>
#include <vector>

struct OptionInfo {
    std::string name; // "-o", "--scale", "-2"
    bool takesValue;
};

struct ParsedArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    bool help = false; // --help or -h was given

    bool has(const std::string& name) const { return options.count(name) != 0; }
    std::string value(const std::string& name) const;
};

// Splits `words` by the `known` options. Returns an empty string on success, otherwise what is
// wrong.
std::string parseArgs(const std::vector<std::string>& words, const std::vector<OptionInfo>& known,
                      ParsedArgs& args);
