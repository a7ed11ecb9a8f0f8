// Runs the built program as a user would, with a given standard input, and checks
// its standard output byte for byte, its exit status and an empty standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "console/inspection_driver.hpp"
#include "header/header_report.hpp"
#include "header_bytes.hpp"

namespace {

namespace fs = std::filesystem;

const std::string PROMPT  = "Input file name: ";
const std::string FAILURE = PROMPT + "Input file not found/corrupted!\n";
const std::string EXAMPLE_REPORT =
    "ChunkID: RIFF\nChunkSize: 1636 bytes\nFormat: WAVE\nSubchunk1ID: fmt \n"
    "Subchunk1Size: 16 bytes\nAudioFormat: 1\nNumChannels: 1\nSampleRate: 8000 Hz\n"
    "ByteRate: 16000 bytes/second\nBlockAlign: 2 bytes\nBitsPerSample: 16\n"
    "Subchunk2ID: data\nSubchunk2Size: 1600 bytes\n";

struct RunResult {
    std::string out;
    std::string err;
    int status;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string reportOf(const HeaderBytes& bytes) {
    std::ostringstream out;
    writeHeaderReport(decodeWavHeader(bytes), out);
    return out.str();
}

class Wavinspect : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "wavinspect-e2e-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the program in the scratch directory; stdout goes to stdoutPath if given.
    RunResult run(const std::string& input, const std::string& args = "",
                  const std::string& stdoutPath = "") {
        writeFile(dir_ / "stdin", input);
        const std::string out     = stdoutPath.empty() ? (dir_ / "stdout").string() : stdoutPath;
        const std::string command = "cd '" + dir_.string() + "' && '" WAVINSPECT_PROGRAM "' " +
                                    args + " <stdin >'" + out + "' 2>stderr";
        const int status = std::system(command.c_str());
        return {stdoutPath.empty() ? readFile(dir_ / "stdout") : "", readFile(dir_ / "stderr"),
                WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    }

    fs::path dir_;
};

TEST_F(Wavinspect, DialogueMatchesByteForByte) {
    HeaderBytes controlBytes = CANONICAL_HEADER;

    controlBytes[1] = 0x1A;  // DOS end-of-file
    controlBytes[2] = '\r';
    controlBytes[3] = '\n';
    const std::string longName(FILE_NAME_CAPACITY, 'n');

    writeFile(dir_ / "good.wav", asText(CANONICAL_HEADER));
    writeFile(dir_ / "control.wav", asText(controlBytes));
    writeFile(dir_ / "text.txt", std::string(60, 'T'));
    writeFile(dir_ / "short.wav", asText(CANONICAL_HEADER).substr(0, 43));
    writeFile(dir_ / "empty.wav", "");
    writeFile(dir_ / longName.substr(1), asText(CANONICAL_HEADER));  // 99 bytes
    writeFile(dir_ / longName, asText(CANONICAL_HEADER));            // 100 bytes
    writeFile(dir_ / longName.substr(2), asText(CANONICAL_HEADER));  // its cut-off prefix
    fs::create_directory(dir_ / "folder");

    HeaderBytes text{};
    text.fill('T');
    struct Case {
        const char* name;
        std::string input;
        std::string expected;
        int status;
        std::string args{};
    };
    const std::vector<Case> cases = {
        {"canonical file", "good.wav\n", PROMPT + CANONICAL_REPORT, 0},
        {"bundled example", WAVINSPECT_EXAMPLE "\n", PROMPT + EXAMPLE_REPORT, 0},
        {"name after blank lines and blanks", "\n\n \t good.wav\n", PROMPT + CANONICAL_REPORT, 0},
        {"second word left unread", "good.wav missing.wav\n", PROMPT + CANONICAL_REPORT, 0},
        {"name without line end", "good.wav", PROMPT + CANONICAL_REPORT, 0},
        {"arguments ignored", "good.wav\n", PROMPT + CANONICAL_REPORT, 0, "--help missing.wav"},
        {"control bytes read raw", "control.wav\n", PROMPT + reportOf(controlBytes), 0},
        {"text file", "text.txt\n", PROMPT + reportOf(text), 0},
        {"99-byte name", longName.substr(1) + "\n", PROMPT + CANONICAL_REPORT, 0},
        {"missing file", "missing.wav\n", FAILURE, 1},
        {"short file", "short.wav\n", FAILURE, 1},
        {"empty file", "empty.wav\n", FAILURE, 1},
        {"directory", "folder\n", FAILURE, 1},
        {"empty input", "", FAILURE, 1},
        {"only white space", " \n\t\n", FAILURE, 1},
        {"100-byte name", longName + "\n", FAILURE, 1},
        {"very long name", std::string(1 << 20, 'n'), FAILURE, 1},
        {"zero byte in name", std::string("good.wav\0x", 10) + "\n", FAILURE, 1},
    };
    for (const Case& c : cases) {
        const RunResult result = run(c.input, c.args);
        EXPECT_EQ(result.out, c.expected) << c.name;
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_EQ(result.err, "") << c.name;
    }
}

TEST_F(Wavinspect, ReportThatCannotBeWrittenFails) {
    writeFile(dir_ / "good.wav", asText(CANONICAL_HEADER));
    const RunResult result = run("good.wav\n", "", "/dev/full");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "");
}

}  // namespace
