#include <iostream>

#include "cli/cas2wav/cas2wavtool.h"

int main(int argc, char** argv) {
    return runCas2Wav(argc, argv, std::cout, std::cerr);
}
