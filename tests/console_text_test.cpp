#include "console_text.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// A console that gives these units, then CONSOLE_END. A reader that loops past the
// end ends the test run, rather than waiting for a time-out.
struct FakeConsole {
    std::vector<int> units;
    std::size_t next = 0;
};

int readUnit(void* console) {
    auto& fake = *static_cast<FakeConsole*>(console);
    if (fake.next >= fake.units.size() + 100) {
        std::fputs("console read over and over past its end\n", stderr);
        std::abort();
    }
    return fake.next < fake.units.size() ? fake.units[fake.next++] : (++fake.next, CONSOLE_END);
}

TEST(ReadConsoleByte, GivesTheUtf8OfTheTypedLineAndEndsAsTheConsoleDoes) {
    constexpr bool LINE = true;  // the console edits lines, which end in CR LF
    constexpr bool RAW  = false;
    struct Case {
        const char* name;
        std::vector<int> units;
        bool lineInput;
        std::string bytes;  // up to EOF
        bool failed;
        std::size_t unread;  // units left for the next reader
    };
    const std::vector<Case> cases = {
        {"edited line", {'a', 'b', '\r', '\n'}, LINE, "ab\n", false, 0},
        {"raw: CR ends a line", {'a', 'b', '\r', 'n'}, RAW, "ab\rn", false, 0},
        {"each length's bounds",
         {0x00, 0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFF},
         LINE,
         "\x00\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"s,
         false,
         0},
        {"surrogate pairs: U+10000, U+1D11E, U+10FFFF",
         {0xD800, 0xDC00, 0xD834, 0xDD1E, 0xDBFF, 0xDFFF},
         LINE,
         "\xF0\x90\x80\x80\xF0\x9D\x84\x9E\xF4\x8F\xBF\xBF",
         false,
         0},
        {"high surrogate, then no low one", {0xD800, 0xE9}, LINE, "", true, 0},
        {"low surrogate alone", {0xDC00, 'a'}, LINE, "", true, 1},
        {"failed read", {'a', CONSOLE_FAILED, 'b'}, LINE, "a", true, 1},
        {"Ctrl+Z ends the input; its line is dropped",
         {'a', 0x1A, 0, '\r', '\n', 'n'},
         LINE,
         "a",
         false,
         1},
        {"raw: Ctrl+Z's line ends at CR", {'a', 0x1A, 'x', '\r', 'n'}, RAW, "a", false, 1},
        {"failed read in Ctrl+Z's line", {0x1A, 'x', CONSOLE_FAILED, 'n'}, LINE, "", true, 1},
    };
    for (const Case& c : cases) {
        FakeConsole console{c.units};
        ConsoleText text{.lineInput = c.lineInput};
        std::string bytes;
        for (int byte = 0; (byte = readConsoleByte(text, readUnit, &console)) != EOF;) {
            bytes += static_cast<char>(byte);
        }
        const std::size_t read = console.next;
        EXPECT_EQ(readConsoleByte(text, readUnit, &console), EOF) << c.name;  // and stays ended
        EXPECT_EQ(console.next, read) << c.name;
        EXPECT_EQ(bytes, c.bytes) << c.name;
        EXPECT_EQ(text.failed, c.failed) << c.name;
        EXPECT_EQ(c.units.size() - std::min(read, c.units.size()), c.unread) << c.name;
    }
}

}  // namespace
