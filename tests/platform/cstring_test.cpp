// Strings of bytes (code page 932) and the arrays: clamped indexes, unsigned
// comparison, upper-casing that steps over double-byte characters, the
// converters, and arrays that grow where they are written.
#include <quillon/platform/Arrays.h>
#include <quillon/platform/CString.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(CStringTest, BytesComparisonConcatenationAndClampedSubstrings) {
    CString s("Quillon");
    EXPECT_TRUE(s.GetLength() == 7 && s.GetAt(99) == '\0');  // outside: no read past the end
    s.Empty();
    EXPECT_STREQ(static_cast<const char*>(s), "");
    const CString a("abc"), b("abd");
    EXPECT_TRUE(a < b && a != b && a == "abc" && "abc" == a);
    EXPECT_EQ(CString(static_cast<const char*>(nullptr)), CString(""));
    // Bytes compare unsigned: a lead byte sorts after every ASCII byte.
    EXPECT_TRUE(_mbscmp("\x82\xA0", "z") > 0 && _mbscmp("ab", "abc") < 0 &&
                _mbscmp(nullptr, "") == 0);
    CString c = a + "-" + b;
    c += 'x';
    c += CString("y");
    EXPECT_TRUE(c == "abc-abdxy" && "<" + a == "<abc");

    const CString t("FM TUNER");
    const std::pair<CString, const char*> parts[] = {
        {t.Left(2), "FM"},   {t.Mid(3), "TUNER"},  {t.Mid(3, 2), "TU"},
        {t.Right(3), "NER"}, {t.Left(-1), ""},     {t.Left(100), "FM TUNER"},
        {t.Mid(100), ""},    {t.Mid(-5, 2), "FM"}, {t.Right(100), "FM TUNER"}};
    for (const auto& [got, want] : parts) EXPECT_EQ(got, want);
    EXPECT_EQ((std::vector<int>{t.Find(' '), t.Find("UN"), t.Find("XYZ"), t.Find('M', 2),
                                t.ReverseFind('R'), t.ReverseFind('N')}),
              (std::vector<int>{2, 4, -1, -1, 7, 5}));
}

TEST(CStringTest, FormatUpperCaseAndShiftJisConversions) {
    CString s;
    s.Format("%s SlotNo[%02d]", "", 3);
    EXPECT_EQ(s, " SlotNo[03]");
    std::string big(5000, 'x');
    s.Format("[%s]", big.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
    // The framework lets a string format itself into itself.
    s = "abc";
    s.Format("%s%s", s.c_str(), s.c_str());
    EXPECT_EQ(s, "abcabc");

    // "ヂ" is 83 61 and "ホ" is 83 7A: their trail bytes look like 'a' and 'z'.
    // A lone lead byte at the end does not reach past the string; half-width
    // katakana (A1-DF) is single-byte.
    const std::pair<const char*, const char*> cases[] = {
        {"ab\x83\x61x\x83\x7Ay", "AB\x83\x61X\x83\x7AY"}, {"a\x83", "A\x83"}, {"\xB1q", "\xB1Q"}};
    for (auto [lower, upper] : cases) {
        CString s(lower);
        s.MakeUpper();
        EXPECT_EQ(s, upper);
        s.MakeLower();
        EXPECT_EQ(s, lower);
    }

    // The converters.
    EXPECT_EQ(FromUtf8("CD再生"), CString("CD\x8D\xC4\x90\xB6"));
    EXPECT_EQ(ToUtf8(CString("CD\x8D\xC4\x90\xB6")), "CD再生");
    // 0x5C is a backslash in code page 932, and "予" carries 5C as its trail.
    EXPECT_EQ(ToUtf8(CString("\\\x97\x5C")), "\\予");
    EXPECT_EQ(FromUtf8("＼"), CString("\x81\x5F"));
    // Broken input is replaced, never cut short.
    EXPECT_EQ(ToUtf8(CString("a\x83")) + ToUtf8(CString("a\x85\x40z")),
              "a\xEF\xBF\xBD"
              "a\xEF\xBF\xBDz");
    EXPECT_EQ(FromUtf8("a\xFFz") + FromUtf8("😀"), CString("a?z?"));
    EXPECT_EQ(ToUtf32(CString("A\x82\xA0")), std::u32string(U"Aあ"));
    // Converted once and kept.
    EXPECT_TRUE(&Sjis("毎日") == &Sjis("毎日") && Sjis("毎日") == CString("\x96\x88\x93\xFA"));
}

TEST(ArraysTest, WritesPastTheEndGrowTheArray) {
    CArray<int, int> a;
    EXPECT_TRUE(a.Add(10) == 0 && a.Add(30) == 1);
    a.InsertAt(1, 20);
    a.InsertAt(5, 7);  // past the end: grows with default elements first
    EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{10, 20, 30, 0, 0, 7}));
    a.RemoveAt(3, 2);
    a.SetAt(0, 11);
    a.SetAtGrow(6, 60);
    EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{11, 20, 30, 7, 0, 0, 60}));
    a.SetSize(2);
    EXPECT_EQ(a.GetUpperBound(), 1);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
    // The tokens of a description line come in an array of 17 empty strings.
    CStringArray s;
    s.SetSize(17);
    EXPECT_TRUE(s[16].IsEmpty());
    int x = 1, y = 2;
    CTypedPtrArray<CPtrArray, int*> p;
    p.Add(&x);
    p.InsertAt(0, &y);
    EXPECT_TRUE(p[0] == &y && *p.GetAt(1) == 1);
}
