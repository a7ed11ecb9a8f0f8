#pragma once

#include <cstdio>

/// One run on the given streams: writes the prompt to output, reads a file name from
/// input, and writes that file's header report to output. Input is read unbuffered
/// and only as far as the character that ends the name, a rejected name included;
/// when input is a terminal, the rest of that line is read too. Tags are shown as
/// cat -v shows them when output is a terminal. Returns the exit status: 0 after the
/// report; 1 when no name is read, the name is rejected, the file cannot be opened or
/// is shorter than a header, or a write has failed. What output still buffers is the
/// caller's to flush, and to check.
int runInspection(std::FILE* input, std::FILE* output);

/// The program's run on standard input and output. Closes standard output at the
/// end, and returns 1 when that fails, since the report is then lost.
int runInspection();
