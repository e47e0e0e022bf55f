#include "frame/IniFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Writes `bytes` to a fresh file and reads every token line from it.
std::vector<std::vector<std::string>> ReadAll(const std::string& bytes) {
    char path[] = "/tmp/quillon-ini-XXXXXX";
    int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(fd);
    std::vector<std::vector<std::string>> lines;
    CIniFile ini;
    EXPECT_TRUE(ini.Open(path, CFile::modeRead | CFile::typeText));
    CStringArray tokens;
    while (ini.ReadTokenLine(&tokens)) {
        EXPECT_GE(tokens.GetSize(), CIniFile::kTokens);
        EXPECT_TRUE(tokens[16].IsEmpty());
        std::vector<std::string> line;
        for (int i = 0; i < CIniFile::kTokens; ++i) line.push_back(tokens[i].str());
        while (!line.empty() && line.back().empty()) line.pop_back();
        lines.push_back(line);
    }
    unlink(path);
    return lines;
}

using Lines = std::vector<std::vector<std::string>>;

}  // namespace

TEST(IniFileTest, TabsSeparateAndCommentsStartOnlyAToken) {
    Lines lines = ReadAll(
        "NAME\t\"FM TUNER\"\n"
        "\t\tposition\t10, 20\n"
        "key\tvalue // a note\n"
        "key\tvalue\t// a note\tmore\n"
        "// a whole comment line\n"
        "\n"
        "\t\t\n"
        "end\n");
    Lines expected = {{"NAME", "FM TUNER"},
                      {"POSITION", "10, 20"},
                      {"KEY", "VALUE // A NOTE"},
                      {"KEY", "VALUE"},
                      {"END"}};
    EXPECT_EQ(lines, expected);
}

TEST(IniFileTest, QuotesKeepCaseEverythingElseIsUpperCased) {
    Lines lines = ReadAll(
        "BMP\tback.bmp\t\"back.bmp\"\n"
        "TIP\t\"\x83\x61 mixed\"\t\x83\x61x\n"  // ヂ's trail byte looks like 'a'
        "Q\t\"\t\"\"\tab\"\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (std::vector<std::string>{"BMP", "BACK.BMP", "back.bmp"}));
    EXPECT_EQ(lines[1], (std::vector<std::string>{"TIP", "\x83\x61 mixed", "\x83\x61X"}));
    // A lone quote and a pair both unquote to nothing; one quote at the end
    // only is not a quoted token.
    EXPECT_EQ(lines[2], (std::vector<std::string>{"Q", "", "", "AB\""}));
}

TEST(IniFileTest, SeventeenthTokenIsLost) {
    std::string line;
    for (int i = 0; i < 18; ++i) line += "t" + std::to_string(i) + "\t";
    Lines lines = ReadAll(line + "\n");
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].size(), 16u);
    EXPECT_EQ(lines[0][15], "T15");
}

TEST(IniFileTest, WindowsLineEndsAndALastLineWithoutLineEnd) {
    Lines lines = ReadAll("BG\r\nNAME\t\"x\"\r\n\r\nEND\r\nA\rB\tc");
    Lines expected = {{"BG"}, {"NAME", "x"}, {"END"}, {"A\rB", "C"}};
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(ReadAll("").empty());
    EXPECT_TRUE(ReadAll("\n\n//x\n").empty());
}

TEST(IniFileTest, MissingFileDoesNotOpen) {
    CIniFile ini;
    EXPECT_FALSE(ini.Open("/nonexistent/TARVIK.INI", CFile::modeRead | CFile::typeText));
    CStringArray tokens;
    EXPECT_FALSE(ini.ReadTokenLine(&tokens));
}

TEST(IniFileTest, ScanIntsReadsCommaSeparatedNumbersAsScanfDoes) {
    int v[3] = {7, 7, 7};
    EXPECT_EQ(CIniFile::ScanInts("300,0,-1", v, 3), 3);
    EXPECT_EQ(v[0], 300);
    EXPECT_EQ(v[1], 0);
    EXPECT_EQ(v[2], -1);
    int w[3] = {7, 7, 7};
    EXPECT_EQ(CIniFile::ScanInts(" +1, 2x,3", w, 3), 2);  // a blank after the comma is fine
    EXPECT_EQ(w[0], 1);
    EXPECT_EQ(w[1], 2);
    EXPECT_EQ(w[2], 7);  // "x" is no comma: left alone
    int x[2] = {7, 7};
    EXPECT_EQ(CIniFile::ScanInts("5 ,6", x, 2), 1);  // the comma must follow directly
    EXPECT_EQ(CIniFile::ScanInts("", x, 2), 0);
    EXPECT_EQ(CIniFile::ScanInts("-", x, 2), 0);
    EXPECT_EQ(CIniFile::ScanInts(nullptr, x, 2), 0);
    EXPECT_EQ(x[0], 5);
    EXPECT_EQ(x[1], 7);
    int big[2] = {0, 0};
    EXPECT_EQ(CIniFile::ScanInts("99999999999999999999999,-99999999999", big, 2), 2);
    EXPECT_EQ(big[0], INT_MAX);
    EXPECT_EQ(big[1], INT_MIN);
}
