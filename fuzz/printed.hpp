#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// Everything write sends to a C stream, caught in memory: no file per run.
template <class Write>
std::string printed(Write write) {
    char* text       = nullptr;
    std::size_t size = 0;
    std::FILE* out   = open_memstream(&text, &size);
    write(out);
    std::fclose(out);
    std::string result(text, size);
    std::free(text);
    return result;
}
