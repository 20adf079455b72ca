#pragma once
// Why a file did not give or take what was asked of it, for a message "FILE: WHAT": the tools print
// it after their own name, the editor's front ends show it as they show every message.
#include <string>

struct FileFailure {
    std::string file; // the file, by the name it was given
    std::string what; // what is wrong with it, e.g. "cannot read it: No such file or directory"
};
