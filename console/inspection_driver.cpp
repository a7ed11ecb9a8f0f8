#include "inspection_driver.hpp"

#include <array>
#include <cstdio>
#include <memory>
#include <span>

#include "header_report.hpp"
#include "platform.hpp"
#include "wav_header.hpp"

namespace {

constexpr const char* PROMPT          = "Input file name: ";
constexpr const char* FAILURE_MESSAGE = "Input file not found/corrupted!\n";
constexpr int STATUS_REPORTED         = 0;
constexpr int STATUS_FAILED           = 1;

using FileName = std::array<char, FILE_NAME_CAPACITY>;

// The characters that precede and end a word under the "%s" conversion.
constexpr bool isWordSeparator(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads one white-space-delimited word into name, and the character that ends it.
// A word that does not fit the buffer, or holds a zero byte, which no file name can,
// is read to its end all the same, in bounded memory, so that no tail of it is left
// for the next reader; it is rejected, rather than a cut-off name opened. At a
// terminal, the rest of the line is the user's too, and is read so that the shell
// never runs it; lines typed ahead stay. The line ends at a carriage return as well,
// which is what Enter sends to a terminal in raw mode. Fails when input ends before a
// word, and on a read error anywhere in this.
bool readFileName(NameInput& input, FileName& name) {
    int c = readNameByte(input);
    while (c != EOF && isWordSeparator(c)) {
        c = readNameByte(input);
    }
    std::size_t length = 0;
    bool fits          = true;
    for (; c != EOF && !isWordSeparator(c); c = readNameByte(input)) {
        fits = fits && c != '\0' && length < name.size() - 1;
        if (fits) {
            name[length++] = static_cast<char>(c);
        }
    }
    name[length] = '\0';
    if (isTerminal(input.stream)) {
        while (c != '\n' && c != '\r' && c != EOF) {
            c = readNameByte(input);
        }
    }
    // A read that failed, or that Ctrl+C cut short at a console, gave EOF as the end of
    // input does: the part read so far would name another file.
    if (nameInputFailed(input)) {
        return false;
    }
    return fits && length > 0;
}

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { static_cast<void>(std::fclose(file)); }
};

// Reads the first WAV_HEADER_SIZE bytes of the named file, as raw bytes. Fails when
// the file cannot be opened or delivers fewer bytes (a short file, a directory, a
// read error), since the report would otherwise show bytes the file does not hold.
// The file is closed on return, before any report output.
bool readHeaderBytes(const char* fileName, std::span<unsigned char, WAV_HEADER_SIZE> raw) {
    const std::unique_ptr<std::FILE, FileCloser> file{openFile(fileName)};
    if (!file) {
        return false;
    }
    // Unbuffered: one request for exactly the header, so nothing past it is taken
    // from a FIFO or a device. fread still completes a short read.
    static_cast<void>(std::setvbuf(file.get(), nullptr, _IONBF, 0));
    return std::fread(raw.data(), 1, raw.size(), file.get()) == raw.size();
}

}  // namespace

int runInspection(std::FILE* input, std::FILE* output) {
    // Unbuffered, so that a name costs a few one-byte reads and nothing after it is
    // taken from a pipe, a file or a terminal, whatever becomes of this run.
    static_cast<void>(std::setvbuf(input, nullptr, _IONBF, 0));
    static_cast<void>(std::fputs(PROMPT, output));
    // Flushed so that the prompt reaches a terminal, or a front end on a pipe,
    // before the read waits.
    static_cast<void>(std::fflush(output));

    NameInput nameInput = openNameInput(input);
    FileName name{};
    std::array<unsigned char, WAV_HEADER_SIZE> raw{};
    if (!readFileName(nameInput, name) || !readHeaderBytes(name.data(), raw)) {
        static_cast<void>(std::fputs(FAILURE_MESSAGE, output));
        return STATUS_FAILED;
    }

    writeHeaderReport(decodeWavHeader(raw), output,
                      isTerminal(output) ? TagStyle::Visible : TagStyle::Raw);
    // A report lost to a full disk or a failed device is no success.
    return std::ferror(output) == 0 ? STATUS_REPORTED : STATUS_FAILED;
}

int runInspection() {
    const int status = runInspection(stdin, stdout);
    // What is still buffered is written now, and some failures show only when the
    // file is closed (NFS, quotas).
    return std::fclose(stdout) == 0 ? status : STATUS_FAILED;
}
