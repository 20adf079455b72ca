#include <iostream>

#include "cli/wav2cas/wav2castool.h"

int main(int argc, char** argv) {
    return runWav2Cas(argc, argv, std::cout, std::cerr);
}
