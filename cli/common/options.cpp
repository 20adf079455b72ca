#include "cli/common/options.h"

namespace {

const OptionInfo* findOption(const std::vector<OptionInfo>& known, const std::string& name) {
    for (const OptionInfo& option : known)
        if (option.name == name)
            return &option;
    return nullptr;
}

bool looksLikeOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-';
}

} // namespace

std::string ParsedArgs::value(const std::string& name) const {
    const auto found = options.find(name);
    return found == options.end() ? "" : found->second;
}

std::string parseArgs(const std::vector<std::string>& words, const std::vector<OptionInfo>& known,
                      ParsedArgs& args) {
    args = ParsedArgs{};
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || !looksLikeOption(word)) {
            args.positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "--help" || word == "-h") {
            args.help = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const OptionInfo* option = findOption(known, name);
        if (!option)
            return "unknown option " + name;
        if (!option->takesValue) {
            if (equals != std::string::npos)
                return "option " + name + " takes no value";
            args.options[name] = "";
        } else if (equals != std::string::npos) {
            args.options[name] = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            args.options[name] = words[++i];
        } else {
            return "option " + name + " needs a value";
        }
    }
    return "";
}
