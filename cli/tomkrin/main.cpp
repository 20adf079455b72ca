// tomkrin: the command line of the Tomkrin Editor (see cli/tomkrin/tomkrin.h).
#include <cstdio>
#include <iostream>

#include "cli/tomkrin/tomkrin.h"

#ifdef _WIN32
// Colour needs a console that understands escape sequences, which older Windows consoles do
// not: on Windows the grid is plain unless --color=always asks for colour.
static bool stdoutIsColourTerminal() {
    return false;
}
#else
#include <unistd.h>
static bool stdoutIsColourTerminal() {
    return isatty(fileno(stdout)) != 0;
}
#endif

int main(int argc, char** argv) {
    const int status = runTomkrin(argc, argv, std::cout, std::cerr, stdoutIsColourTerminal());
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "tomkrin: standard output: cannot write\n";
        return status == 0 ? 1 : status;
    }
    return status;
}
