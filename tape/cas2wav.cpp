#include <iostream>

#include "tape/cas2wavtool.h"

int main(int argc, char** argv) {
    return runCas2Wav(argc, argv, std::cerr);
}
