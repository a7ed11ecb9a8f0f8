#include "inspection_driver.hpp"

#include <array>
#include <cstdio>
#include <iostream>
#include <memory>
#include <span>
#include <streambuf>
#include <string_view>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include "header_report.hpp"
#include "wav_header.hpp"

namespace {

constexpr std::string_view PROMPT          = "Input file name: ";
constexpr std::string_view FAILURE_MESSAGE = "Input file not found/corrupted!\n";
constexpr int STATUS_REPORTED              = 0;
constexpr int STATUS_FAILED                = 1;

using FileName = std::array<char, FILE_NAME_CAPACITY>;

constexpr auto END_OF_INPUT = std::streambuf::traits_type::eof();

// The characters that precede and end a word under the "%s" conversion.
constexpr bool isWordSeparator(std::streambuf::int_type c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads one white-space-delimited word into name, leaving the character after it
// unread. Fails when input ends before a word, when the word would not fit the
// buffer (nothing is opened rather than a cut-off name) or when it holds a zero
// byte, which no file name can. Memory stays bounded however long the word is.
bool readFileName(std::streambuf& input, FileName& name) {
    auto c = input.sgetc();
    while (c != END_OF_INPUT && isWordSeparator(c)) {
        c = input.snextc();
    }
    std::size_t length = 0;
    for (; c != END_OF_INPUT && !isWordSeparator(c); c = input.snextc()) {
        if (length == name.size() - 1 || c == '\0') {
            return false;
        }
        name[length++] = std::streambuf::traits_type::to_char_type(c);
    }
    name[length] = '\0';
    return length > 0;
}

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { static_cast<void>(std::fclose(file)); }
};

// Reads the first WAV_HEADER_SIZE bytes of the named file, as raw bytes. Fails when
// the file cannot be opened or delivers fewer bytes (a short file, a directory, a
// read error), since the report would otherwise show bytes the file does not hold.
// The file is closed on return, before any report output.
bool readHeaderBytes(const char* fileName, std::span<unsigned char, WAV_HEADER_SIZE> raw) {
    const std::unique_ptr<std::FILE, FileCloser> file{std::fopen(fileName, "rb")};
    if (!file) {
        return false;
    }
    // Unbuffered: one request for exactly the header, so nothing past it is taken
    // from a FIFO or a device. fread still completes a short read.
    static_cast<void>(std::setvbuf(file.get(), nullptr, _IONBF, 0));
    return std::fread(raw.data(), 1, raw.size(), file.get()) == raw.size();
}

}  // namespace

int runInspection(std::streambuf& input, std::ostream& output, TagStyle style) {
    // Flushed so that the prompt shows on a terminal before the read waits.
    output << PROMPT << std::flush;

    FileName name{};
    std::array<unsigned char, WAV_HEADER_SIZE> raw{};
    if (!readFileName(input, name) || !readHeaderBytes(name.data(), raw)) {
        output << FAILURE_MESSAGE << std::flush;
        return STATUS_FAILED;
    }

    writeHeaderReport(decodeWavHeader(raw), output, style);
    // A report lost to a full disk or a failed device is no success.
    return output.flush() ? STATUS_REPORTED : STATUS_FAILED;
}

int runInspection() {
    // A pipe, terminal or socket is read byte by byte, so that what follows the name
    // stays there for the next run. A seekable input (a regular file) is read in
    // blocks, and its offset is set back to just after the word once it is read.
#ifdef _WIN32
    const bool seekable = false;  // fseek on a Windows pipe or console is undefined
#else
    const bool seekable = std::fseek(stdin, 0, SEEK_CUR) == 0;
#endif
    if (!seekable) {
        static_cast<void>(std::setvbuf(stdin, nullptr, _IONBF, 0));
    }
    const TagStyle style = isatty(fileno(stdout)) != 0 ? TagStyle::Caret : TagStyle::Raw;
    const int status     = runInspection(*std::cin.rdbuf(), std::cout, style);
    if (seekable) {
        static_cast<void>(std::fflush(stdin));
    }
    return status;
}
