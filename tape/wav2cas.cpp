#include <iostream>

#include "tape/wav2castool.h"

int main(int argc, char** argv) {
    return runWav2Cas(argc, argv, std::cout, std::cerr);
}
