#include <unistd.h>

#include <cstdio>

#include "platform.hpp"

NameInput openNameInput(std::FILE* stream) { return {stream}; }

int readNameByte(NameInput& input) { return std::getc(input.stream); }

bool nameInputFailed(const NameInput& input) { return std::ferror(input.stream) != 0; }

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

std::FILE* openFile(const char* name) { return std::fopen(name, "rb"); }
