// On Windows a file name is text, not bytes. What is typed at a console is read as
// UTF-16 and handed on as UTF-8, so that a name in any script arrives whole; a file
// or a pipe is read as raw bytes, as on POSIX, with no end-of-file character and no
// CR LF joined. A name that is UTF-8 opens through the UTF-16 interface; any other
// goes to fopen unchanged, in the ANSI code page. What the console's calls return
// means what console_text.cpp says; this file only makes the calls.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <array>
#include <cstdio>

#include "platform.hpp"

static_assert(CONSOLE_PROCESSED_INPUT == ENABLE_PROCESSED_INPUT &&
              CONSOLE_LINE_INPUT == ENABLE_LINE_INPUT);

namespace {

ConsoleRead readConsoleUnit(void* console) {
    wchar_t unit         = 0;
    DWORD count          = 0;
    const bool succeeded = ReadConsoleW(console, &unit, 1, &count, nullptr) != 0;
    return {succeeded, count, static_cast<char16_t>(unit)};
}

}  // namespace

NameInput openNameInput(std::FILE* stream) {
    NameInput input{stream};
    auto* const handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode         = 0;
    if (GetConsoleMode(handle, &mode) == 0) {
        // In text mode, 0x1A would end the input and CR LF would be joined.
        input.text.failed = _setmode(_fileno(stream), _O_BINARY) == -1;
        return input;
    }
    input.console = handle;
    input.read    = readConsoleUnit;
    input.text    = consoleTextOf(mode);
    return input;
}

bool isTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

std::FILE* openFile(const char* name) {
    std::array<wchar_t, FILE_NAME_CAPACITY> wide{};
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, wide.data(),
                            static_cast<int>(wide.size())) == 0) {
        return std::fopen(name, "rb");
    }
    return _wfopen(wide.data(), L"rb");
}
