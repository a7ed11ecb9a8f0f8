// Runs the built program as a user would, with a given standard input, and checks
// its standard output byte for byte, its exit status and an empty standard error.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#ifndef _WIN32
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#endif
#ifdef WAVINSPECT_FORKPTY_HEADER
#include WAVINSPECT_FORKPTY_HEADER
#endif

#include "header_bytes.hpp"
#include "header_report.hpp"
#include "inspection_driver.hpp"

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr bool WINDOWS = true;
#else
constexpr bool WINDOWS = false;
#endif

// What runs the program: an emulator for a cross-built target, or nothing.
const std::string LAUNCHER = WAVINSPECT_LAUNCHER;

// A path of the build as the program sees it: under wine, a Linux path is on drive Z:.
std::string hostPath(const std::string& path) {
    return WINDOWS ? fs::path("Z:" + path).make_preferred().string() : path;
}
const std::string PROGRAM = hostPath(WAVINSPECT_PROGRAM);
const std::string EXAMPLE = hostPath(WAVINSPECT_EXAMPLE);

// Windows text streams end each line in CR LF; every other byte is the same.
std::string lineEnds(std::string text) {
    for (std::size_t at = 0; WINDOWS && (at = text.find('\n', at)) != std::string::npos; at += 2) {
        text.insert(at, 1, '\r');
    }
    return text;
}

// A name's UTF-8 bytes, as a user gives them on standard input.
std::string utf8(std::u8string_view name) { return {name.begin(), name.end()}; }

const std::string PROMPT  = "Input file name: ";
const std::string FAILURE = PROMPT + lineEnds("Input file not found/corrupted!\n");
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

// A word for the shell: POSIX sh takes anything inside single quotes; cmd.exe
// takes double quotes, which no Windows path can hold.
std::string quoted(const std::string& word) {
    if (WINDOWS) {
        return '"' + word + '"';
    }
    std::string result = "'";
    for (const char c : word) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

std::string programCommand() {
    const std::string program = quoted(PROGRAM);
    return LAUNCHER.empty() ? program : quoted(LAUNCHER) + " " + program;
}

int exitStatus(int systemResult) {
#ifdef _WIN32
    return systemResult;
#else
    return WIFEXITED(systemResult) ? WEXITSTATUS(systemResult) : -1;
#endif
}

class Wavinspect : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        do {
            // A blank and a quote, so that every command line the tests make must quote.
            dir_ = fs::temp_directory_path() / ("wavinspect e2e's-" + std::to_string(random()));
        } while (!fs::create_directory(dir_));
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs a shell command line in the scratch directory; stdout and stderr go to files.
    RunResult shell(const std::string& commandLine, const std::string& stdoutPath = "") {
        const std::string out = stdoutPath.empty() ? (dir_ / "stdout").string() : stdoutPath;
        // A POSIX line is grouped so that a background job in it stays in the directory;
        // cmd.exe gets it as it is (wine's cmd mishandles a redirected group).
        const std::string grouped = WINDOWS ? commandLine : "(" + commandLine + ")";
        const std::string command = (WINDOWS ? "cd /d " : "cd ") + quoted(dir_.string()) + " && " +
                                    grouped + " >" + quoted(out) + " 2>stderr";
        const int status = std::system(command.c_str());
        return {stdoutPath.empty() ? readFile(dir_ / "stdout") : "", readFile(dir_ / "stderr"),
                exitStatus(status)};
    }

    // Runs the program with the given standard input, from a file.
    RunResult run(const std::string& input, const std::string& args = "",
                  const std::string& stdoutPath = "") {
        writeFile(dir_ / "stdin", input);
        return shell(programCommand() + " " + args + " <stdin", stdoutPath);
    }

    // Runs the program once a word on one input file that the runs share, as the test's
    // own standard input, where cmd.exe cannot redirect a group of commands.
    RunResult runSharing(const std::string& input, int runs) {
        writeFile(dir_ / "shared", input);
        EXPECT_NE(std::freopen((dir_ / "shared").string().c_str(), "rb", stdin), nullptr);
        RunResult all{"", "", 0};
        for (int run = 0; run < runs; ++run) {
            const RunResult result = shell(programCommand());
            all                    = {all.out + result.out, all.err + result.err, result.status};
        }
        EXPECT_NE(std::freopen(WINDOWS ? "NUL" : "/dev/null", "rb", stdin), nullptr);
        return all;
    }

    fs::path dir_;
};

TEST_F(Wavinspect, DialogueMatchesByteForByte) {
    HeaderBytes controlBytes = CANONICAL_HEADER;

    controlBytes[1] = 0x1A;  // DOS end-of-file
    controlBytes[2] = '\r';
    controlBytes[3] = '\n';
    const std::string longName(100, 'n');  // one byte over the limit, stated independently

    writeFile(dir_ / "good.wav", asText(CANONICAL_HEADER));
    writeFile(dir_ / "a", asText(CANONICAL_HEADER));
    // Names outside ASCII; Windows takes bytes that are no UTF-8 in its ANSI code page.
    for (const char8_t* name :
         {u8"h\u00e9llo-\u00fc\u00f1\u00ef.wav",
          u8"\u03b5\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.wav", u8"\u65e5\u672c\u8a9e.wav"}) {
        writeFile(dir_ / fs::path(name), asText(CANONICAL_HEADER));
    }
    writeFile(WINDOWS ? dir_ / fs::path(u8"caf\u00e9.wav") : dir_ / "caf\xe9.wav",
              asText(CANONICAL_HEADER));
    writeFile(dir_ / "control.wav", asText(controlBytes));
    writeFile(dir_ / "text.txt", std::string(60, 'T'));
    writeFile(dir_ / "short.wav", asText(CANONICAL_HEADER).substr(0, 43));
    writeFile(dir_ / "empty.wav", "");
    writeFile(dir_ / longName.substr(1), asText(CANONICAL_HEADER));  // 99 bytes
    writeFile(dir_ / longName, asText(CANONICAL_HEADER));            // 100 bytes
    writeFile(dir_ / longName.substr(2), asText(CANONICAL_HEADER));  // its cut-off prefix
    fs::create_directory(dir_ / "folder");
    // Past 2 GiB: a 32-bit program without large-file support cannot open it.
    writeFile(dir_ / "large.wav", asText(CANONICAL_HEADER));
    fs::resize_file(dir_ / "large.wav", 3ULL << 30U);
    // A program being executed cannot be opened for writing, even by root.
    HeaderBytes programStart{};
    std::ifstream(PROGRAM, std::ios::binary)
        .read(reinterpret_cast<char*>(programStart.data()), programStart.size());

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
        {"bundled example", EXAMPLE + "\n", PROMPT + EXAMPLE_REPORT, 0},
        {"name after blank lines and blanks", "\n\n \t good.wav\n", PROMPT + CANONICAL_REPORT, 0},
        {"second word left unread", "good.wav missing.wav\n", PROMPT + CANONICAL_REPORT, 0},
        {"every separator skipped", " \t\n\v\f\rgood.wav\n", PROMPT + CANONICAL_REPORT, 0},
        {"tab ends the name", "good.wav\tmissing.wav\n", PROMPT + CANONICAL_REPORT, 0},
        {"vertical tab ends the name", "good.wav\vmissing.wav\n", PROMPT + CANONICAL_REPORT, 0},
        {"form feed ends the name", "good.wav\fmissing.wav\n", PROMPT + CANONICAL_REPORT, 0},
        {"carriage return ends the name", "good.wav\rmissing.wav\n", PROMPT + CANONICAL_REPORT, 0},
        {"name without line end", "good.wav", PROMPT + CANONICAL_REPORT, 0},
        {"arguments ignored", "good.wav\n", PROMPT + CANONICAL_REPORT, 0, "--help missing.wav"},
        {"control bytes read raw", "control.wav\n", PROMPT + reportOf(controlBytes), 0},
        {"text file", "text.txt\n", PROMPT + reportOf(text), 0},
        {"99-byte name", longName.substr(1) + "\n", PROMPT + CANONICAL_REPORT, 0},
        {"one-byte name", "a\n", PROMPT + CANONICAL_REPORT, 0},
        {"UTF-8 Latin name", utf8(u8"h\u00e9llo-\u00fc\u00f1\u00ef.wav\n"),
         PROMPT + CANONICAL_REPORT, 0},
        {"UTF-8 Greek name", utf8(u8"\u03b5\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.wav\n"),
         PROMPT + CANONICAL_REPORT, 0},
        {"UTF-8 CJK name", utf8(u8"\u65e5\u672c\u8a9e.wav\n"), PROMPT + CANONICAL_REPORT, 0},
        {"cp1252 name", "caf\xe9.wav\n", PROMPT + CANONICAL_REPORT, 0},
        {"file of 3 GiB", "large.wav\n", PROMPT + CANONICAL_REPORT, 0},
        {"program being run", PROGRAM + "\n", PROMPT + reportOf(programStart), 0},
        {"missing file", "missing.wav\n", FAILURE, 1},
        {"short file", "short.wav\n", FAILURE, 1},
        {"empty file", "empty.wav\n", FAILURE, 1},
        {"directory", "folder\n", FAILURE, 1},
        {"empty input", "", FAILURE, 1},
        {"only white space", " \n\t\n", FAILURE, 1},
        {"100-byte name", longName + "\n", FAILURE, 1},
        {"very long name", std::string(1 << 20, 'n'), FAILURE, 1},
        {"zero byte in name", std::string("good.wav\0x", 10) + "\n", FAILURE, 1},
        {"0x1A in name", "good.wav\x1a\n", FAILURE, 1},  // no end of input, as in a text stream
    };
    for (const Case& c : cases) {
        const RunResult result = run(c.input, c.args);
        EXPECT_EQ(result.out, c.status == 0 ? lineEnds(c.expected) : c.expected) << c.name;
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_EQ(result.err, "") << c.name;
    }
}

TEST_F(Wavinspect, ReportThatCannotBeWrittenFails) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "this host has no /dev/full, a device that refuses writes";
    }
    writeFile(dir_ / "good.wav", asText(CANONICAL_HEADER));
    const RunResult result = run("good.wav\n", "", "/dev/full");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "");
}

// Successive runs share one standard input: each takes one name and leaves the rest.
TEST_F(Wavinspect, LeavesTheRestOfStandardInputToTheNextRun) {
    if (WINDOWS) {
        GTEST_SKIP() << "POSIX shell pipelines and FIFOs";
    }
    if (shell("mkfifo probe").status != 0) {
        GTEST_SKIP() << "this host's file system makes no FIFOs";
    }
    writeFile(dir_ / "good.wav", asText(CANONICAL_HEADER));
    writeFile(dir_ / "names", "good.wav\n\n  good.wav good.wav\n");
    // Rejected names followed by a good one; the files their tails name exist.
    writeFile(dir_ / "suffix.wav", asText(CANONICAL_HEADER));
    writeFile(dir_ / "x", asText(CANONICAL_HEADER));
    writeFile(dir_ / "long-name", std::string(100, 'd') + "suffix.wav\ngood.wav\n");
    writeFile(dir_ / "zero-byte", std::string("bad\0x good.wav\n", 15));
    // Written to the pipe at once, so a read of more than the header would take the tail.
    writeFile(dir_ / "through-stdin", "/dev/stdin\n" + asText(CANONICAL_HEADER) + "tail\n");
    const std::string twice = "{ " + programCommand() + "; " + programCommand() + "; }";
    // Ends the program started last, should it wait over 10 s for a prompt that never
    // came; POSIX has no timeout command.
    const std::string WATCHDOG =
        "program=$!; (sleep 10; kill $program) 2>/dev/null & watchdog=$!; ";
    const std::string report = PROMPT + CANONICAL_REPORT;
    struct Case {
        const char* name;
        std::string command;
        std::string expected;
        int status;
    };
    const std::vector<Case> cases = {
        {"pipe", "cat names | " + twice, report + report, 0},
        {"fourth run fails", "cat names | { " + twice + "; " + twice + "; }",
         report + report + report + FAILURE, 1},
        {"long name, then a good one, by pipe", "cat long-name | " + twice, FAILURE + report, 0},
        {"zero byte, then a good name", "cat zero-byte | " + twice, FAILURE + report, 0},
        // The file is the pipe itself: the run takes its 44 bytes and leaves the tail.
        {"no read past the header", "cat through-stdin | { " + programCommand() + "; cat; }",
         report + "tail\n", 0},
        // A front end on two pipes writes the name only once the prompt has arrived.
        {"coprocess",
         "mkfifo to from || exit; " + programCommand() + " <to >from & " + WATCHDOG +
             "exec 3>to 4<from; head -c 17 <&4 && echo good.wav >&3; exec 3>&-; cat <&4; "
             "wait $program; status=$?; kill $watchdog; exit $status",
         report, 0},
        // The reader leaves after the prompt: the report is lost when stdout is closed.
        {"reader gone before the report",
         "mkfifo in out || exit; (trap '' PIPE; exec " + programCommand() + " <in >out) & " +
             WATCHDOG +
             "exec 3>in; head -c 17 out && echo good.wav >&3; exec 3>&-; "
             "wait $program; status=$?; kill $watchdog; exit $status",
         PROMPT, 1},
        {"FIFO written in two parts",
         // The writer is ended whatever happens, so a failed open cannot hang the test.
         "mkfifo fifo && { { head -c 20 good.wav; sleep 0.3; tail -c +21 good.wav; } >fifo & } "
         "&& echo fifo | " +
             programCommand() + "; status=$?; kill $! 2>/dev/null; exit $status",
         report, 0},
    };
    for (const Case& c : cases) {
        const RunResult result = shell(c.command);
        EXPECT_EQ(result.out, c.expected) << c.name;
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_EQ(result.err, "") << c.name;
    }
}

// The same, on a file that successive runs share, on every platform.
TEST_F(Wavinspect, RunsSharingAnInputFileTakeAWordEach) {
    writeFile(dir_ / "good.wav", asText(CANONICAL_HEADER));
    writeFile(dir_ / "suffix.wav", asText(CANONICAL_HEADER));
    const std::string report = PROMPT + lineEnds(CANONICAL_REPORT);
    struct Case {
        std::string input;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"good.wav\n\n  good.wav good.wav\n", report + report},
        {std::string(100, 'd') + "suffix.wav\ngood.wav\n", FAILURE + report},
        {"good.wav\x1a good.wav\n", FAILURE + report},  // 0x1A ends no input
    };
    for (const Case& c : cases) {
        const RunResult result = runSharing(c.input, 2);
        EXPECT_EQ(result.out, c.expected) << c.input;
        EXPECT_EQ(result.err, "") << c.input;
    }
}

#ifdef WAVINSPECT_FORKPTY_HEADER
// Runs the program on a pseudo-terminal (canonical unless raw, no echo, no translation
// of line ends), then a shell `read` that shows in brackets the line the next reader
// gets. Types only once the prompt has shown, so a prompt left in a buffer fails.
RunResult runOnTerminal(const fs::path& dir, const std::string& keys, bool raw) {
    const std::string script =
        "cd " + quoted(dir.string()) + " && " + programCommand() +
        "; status=$?; IFS= read -r rest; printf '[%s]' \"$rest\"; exit $status";
    termios mode{};
    mode.c_lflag      = raw ? 0 : ICANON;
    mode.c_cc[VMIN]   = 1;  // a raw read waits for a byte
    mode.c_cc[VEOF]   = 4;  // ^D
    int terminal      = -1;
    const pid_t child = forkpty(&terminal, nullptr, &mode, nullptr);
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", script.c_str(), nullptr);
        _exit(127);
    }
    if (child < 0) {
        return {"", "", -2};  // this host gives no pseudo-terminal
    }
    std::string out;
    char buffer[256];
    ssize_t count = 0;
    bool typed    = false;
    pollfd ready{terminal, POLLIN, 0};
    // Ends with EIO once the terminal is closed, or after ten silent seconds.
    while (poll(&ready, 1, 10000) > 0 && (count = read(terminal, buffer, sizeof buffer)) > 0) {
        out.append(buffer, static_cast<std::size_t>(count));
        if (!typed && out == PROMPT) {
            typed = write(terminal, keys.data(), keys.size()) > 0;
        }
    }
    close(terminal);
    int status = 0;
    waitpid(child, &status, 0);
    return {out, "", exitStatus(status)};
}
#endif

TEST_F(Wavinspect, TerminalSeesThePromptAndKeepsTheShellsInput) {
#ifndef WAVINSPECT_FORKPTY_HEADER
    GTEST_SKIP() << "this platform has no forkpty, to make a pseudo-terminal";
#else
    HeaderBytes hostile               = CANONICAL_HEADER;
    const unsigned char clearScreen[] = {0xC2, 0x9B, '2', 'J'};  // CSI 2J, in UTF-8
    std::copy(std::begin(clearScreen), std::end(clearScreen), hostile.begin());
    hostile[8]  = 0x1B;  // ESC
    hostile[9]  = 0x7F;  // DEL
    hostile[10] = 0xFF;
    writeFile(dir_ / "good.wav", asText(CANONICAL_HEADER));
    writeFile(dir_ / "hostile.wav", asText(hostile));
    const std::string report = PROMPT + CANONICAL_REPORT;
    const std::string longName(100, 'd');
    struct Case {
        std::string typed;
        std::string expected;
        int status;
        bool raw = false;
    };
    const std::vector<Case> cases = {
        {"good.wav\nnext\n", report + "[next]", 0},
        {"good.wav\rnext\n", report + "[next]", 0, true},  // Enter in raw mode sends CR
        // Typed as part of the name, the rest of the line never reaches the shell.
        {"good.wav touch y\nnext\n", report + "[next]", 0},
        {"good.wav x\x04\x04next\n", report + "[next]", 0},  // input ends inside the line
        {longName + " x\nnext\n", FAILURE + "[next]", 1},
        {"missing.wav\nnext\n", FAILURE + "[next]", 1},
        {"hostile.wav\nnext\n", PROMPT + reportOf(hostile, TagStyle::Visible) + "[next]", 0},
    };
    for (const Case& c : cases) {
        const RunResult result = runOnTerminal(dir_, c.typed, c.raw);
        if (result.status == -2) {
            GTEST_SKIP() << "this host gives no pseudo-terminal (forkpty failed)";
        }
        EXPECT_EQ(result.out, c.expected) << c.typed;
        EXPECT_EQ(result.status, c.status) << c.typed;
    }
#endif
}

#ifdef WAVINSPECT_HAS_FOPENCOOKIE
// A stream that gives the bytes, then fails as a device or a non-blocking pipe does.
std::FILE* failingAfter(std::string& bytes) {
    auto read = [](void* cookie, char* buffer, std::size_t size) -> ssize_t {
        auto& rest = *static_cast<std::string*>(cookie);
        if (rest.empty()) {
            errno = EIO;
            return -1;
        }
        const std::size_t count = rest.copy(buffer, size);
        rest.erase(0, count);
        return static_cast<ssize_t>(count);
    };
    return fopencookie(&bytes, "r", {read, nullptr, nullptr, nullptr});
}
#endif

// In process, so that each check of a failed read or write is the only one that can fail.
TEST_F(Wavinspect, FailedReadOrWriteIsNoSuccess) {
#ifndef WAVINSPECT_HAS_FOPENCOOKIE
    GTEST_SKIP() << "this C library has no fopencookie, to make a stream fail";
#else
    // Names relative to the scratch folder, whose own name holds a blank.
    const fs::path caller = fs::current_path();
    fs::current_path(dir_);
    writeFile("good.wav", asText(CANONICAL_HEADER));
    writeFile("goo", asText(distinctHighBytes()));
    struct Case {
        std::string delivered;  // before the read error
        bool unwritable;
    };
    // Not const: a stream takes the bytes out of its row.
    std::vector<Case> cases = {
        {"goo", false},        // inside the name: "goo" is never opened
        {"good.wav", false},   // where the character that ends it was due
        {"good.wav\n", true},  // the report cannot be written
    };
    for (Case& c : cases) {
        std::FILE* in  = failingAfter(c.delivered);
        std::FILE* out = c.unwritable ? std::fopen("good.wav", "rb") : std::tmpfile();
        EXPECT_EQ(runInspection(in, out), 1) << c.delivered;  // without its check: 0
        std::fclose(in);
        std::fclose(out);
    }
    fs::current_path(caller);
#endif
}

}  // namespace
