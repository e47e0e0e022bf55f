// What the library tells the tools: why a picture did not load, and which
// line of a description the reader is on.

#include <quillon/testing.h>

#include <string>

#include "frame/IniFile.h"
#include "frame/pictures/DibPicture.h"
#include "frame/pictures/MaskPicture.h"
#include "support/picture_files.h"

using picturetest::BmpSuite;

TEST(LoadReasons, EveryRefusalSaysWhatToFix) {
    quillon::testing::Harness h;
    picturetest::TempDir dir;
    const picturetest::Bytes good = picturetest::MakeGreyBmp(2, 1, {255, 0});
    const picturetest::Bytes png =
        quillon::testfiles::Png(2, 2, 0, 8, false, picturetest::Bytes(6, 0));
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {dir.Path("missing.bmp"), "cannot be opened"},
        {dir.Path(""), "is not a plain file"},
        {BmpSuite("g/pal8v4.bmp"),
         "BMP with a 108-byte header is not supported; save it with a 40-byte header"},
        {BmpSuite("g/pal8v5.bmp"), "BMP with a 124-byte header is not supported"},
        {BmpSuite("g/pal8os2.bmp"), "BMP with a 12-byte header"},
        {BmpSuite("q/pal2.bmp"), "BMP with 2 bits per pixel is not supported"},
        {BmpSuite("g/pal8rle.bmp"), "compressed BMP is not supported; save it uncompressed"},
        {BmpSuite("b/rletopdown.bmp"), "compressed BMP"},
        {BmpSuite("g/pal8topdown.bmp"), "top-down BMP is not supported"},
        {BmpSuite("b/shortfile.bmp"), "file shorter than its pixels"},
        {BmpSuite("b/badpalettesize.bmp"), "colour table of"},
        {BmpSuite("b/badwidth.bmp"), "has no pixels"},
        {dir.Write("head.bmp", picturetest::Bytes(good.begin(), good.begin() + 30)),
         "file shorter than its BMP header"},
        {dir.Write("text.png", picturetest::Bytes{'h', 'e', 'l', 'l', 'o'}),
         "not a picture format this loader reads"},
        {dir.Write("cut.png", picturetest::Bytes(png.begin(), png.begin() + 50)),
         "PNG chunk runs past the end of the file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        CDibPicture picture;
        CMaskPicture mask;
        // A load that works in between leaves no reason behind.
        ASSERT_TRUE(picture.Load(dir.Write("good.bmp", good).c_str()));
        EXPECT_STREQ(CDibPicture::LastLoadError(), "");
        EXPECT_FALSE(picture.Load(c.path.c_str()));
        EXPECT_NE(std::string(CDibPicture::LastLoadError()).find(c.reason), std::string::npos)
            << CDibPicture::LastLoadError();
        ASSERT_TRUE(mask.Load(dir.Path("good.bmp").c_str()));
        EXPECT_STREQ(CMaskPicture::LastLoadError(), "");
        EXPECT_FALSE(mask.Load(c.path.c_str()));
        EXPECT_STREQ(CMaskPicture::LastLoadError(), CDibPicture::LastLoadError());
    }
}

TEST(IniLines, TheLineOfEachTokenLineCountsSkippedLines) {
    picturetest::TempDir dir;
    const std::string text = "// note\r\nBG\r\n\r\n\tBMP\t\"a.bmp\"\n\t// indented note\n\nEND";
    CIniFile ini;
    ASSERT_TRUE(ini.Open(dir.Write("T.INI", text).c_str(), CFile::modeRead | CFile::typeText));
    EXPECT_EQ(ini.GetLineNo(), 0);
    CStringArray t;
    for (const auto& [key, line] : {std::pair{"BG", 2}, {"BMP", 4}, {"END", 7}}) {
        ASSERT_TRUE(ini.ReadTokenLine(&t));
        EXPECT_EQ(t[0], key);
        EXPECT_EQ(ini.GetLineNo(), line);
    }
    EXPECT_FALSE(ini.ReadTokenLine(&t));
    EXPECT_EQ(ini.GetLineNo(), 7);
    // Opening again counts from the start.
    ini.Close();
    ASSERT_TRUE(ini.Open(dir.Path("T.INI").c_str(), CFile::modeRead | CFile::typeText));
    ASSERT_TRUE(ini.ReadTokenLine(&t));
    EXPECT_EQ(ini.GetLineNo(), 2);
}
