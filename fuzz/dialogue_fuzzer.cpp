// Runs the dialogue in process on any input as standard input, in a scratch folder
// that holds a few files, and checks the output, the exit status and what was left
// unread against a small model of the word rules: skip white space, take the word up
// to the next white space or the end, and the one character that ends it; fail on no
// word, on more than 99 bytes or on a zero byte, and report only a file of at least
// 44 bytes. Whatever the word, nothing after its end is read.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>

#include "header_report.hpp"
#include "inspection_driver.hpp"
#include "printed.hpp"
#include "wav_header.hpp"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view PROMPT  = "Input file name: ";
constexpr std::string_view FAILURE = "Input file not found/corrupted!\n";

[[noreturn]] void mismatch(const char* what) {
    std::fprintf(stderr, "dialogue mismatch: %s\n", what);
    std::abort();
}

// The scratch folder's files and the output each name should give.
std::map<std::string, std::string> makeScratchFolder() {
    std::string folder = (fs::temp_directory_path() / "dialogue-fuzz-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr || chdir(folder.c_str()) != 0) {
        mismatch("no scratch folder");
    }
    std::array<unsigned char, WAV_HEADER_SIZE> header{};
    for (std::size_t i = 0; i < header.size(); ++i) {
        header[i] = static_cast<unsigned char>('A' + i);
    }
    const std::string bytes(header.begin(), header.end());
    const std::string report =
        printed([&](std::FILE* out) { writeHeaderReport(decodeWavHeader(header), out); });

    std::map<std::string, std::string> expected;
    for (const std::string& name : {std::string("a"), std::string("b.wav"), std::string(99, 'n')}) {
        std::ofstream(name, std::ios::binary) << bytes << "audio";
        expected[name] = report;
    }
    std::ofstream("short", std::ios::binary) << bytes.substr(0, 43);
    fs::create_directory("dir");
    return expected;
}

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::map<std::string, std::string> files = makeScratchFolder();

    // No name may leave the scratch folder: a slash becomes an underscore.
    std::string input(reinterpret_cast<const char*>(data), size);
    for (char& c : input) {
        c = c == '/' ? '_' : c;
    }

    std::size_t start = 0;
    while (start < input.size() && isSeparator(input[start])) {
        ++start;
    }
    std::size_t end = start;
    while (end < input.size() && !isSeparator(input[end])) {
        ++end;
    }
    const std::string word = input.substr(start, end - start);
    const auto file        = files.find(word);
    const bool reported    = file != files.end();

    std::FILE* in            = fmemopen(input.data(), input.size(), "r");
    int status               = 0;
    const std::string output = printed([&](std::FILE* out) { status = runInspection(in, out); });

    const std::string expected =
        std::string(PROMPT) + (reported ? file->second : std::string(FAILURE));
    if (output != expected) {
        mismatch("output");
    }
    if (status != (reported ? 0 : 1)) {
        mismatch("exit status");
    }
    // Every word, rejected or not, leaves all after the character that ended it unread.
    std::string rest;
    for (int c = std::getc(in); c != EOF; c = std::getc(in)) {
        rest += static_cast<char>(c);
    }
    std::fclose(in);
    if (rest != input.substr(std::min(end + 1, input.size()))) {
        mismatch("input left unread");
    }
    return 0;
}
