#include <unistd.h>

#include <cstdio>

#include "platform.hpp"

NameInput openNameInput(std::FILE* stream) { return {stream}; }

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

std::FILE* openFile(const char* name) { return std::fopen(name, "rb"); }
