#include <quillon/platform/Arrays.h>
#include <quillon/platform/CString.h>

#include <gtest/gtest.h>

TEST(CStringTest, BasicsAndComparison) {
    CString s("Quillon");
    EXPECT_EQ(s.GetLength(), 7);
    EXPECT_FALSE(s.IsEmpty());
    EXPECT_EQ(s.GetAt(0), 'Q');
    EXPECT_EQ(s.GetAt(99), '\0');  // outside: no read past the end
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(static_cast<const char*>(s), "");

    CString a("abc");
    CString b("abd");
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a == "abc");
    EXPECT_TRUE("abc" == a);
    EXPECT_EQ(CString(static_cast<const char*>(nullptr)), CString(""));
    // Bytes compare unsigned: a lead byte sorts after every ASCII byte.
    EXPECT_GT(_mbscmp("\x82\xA0", "z"), 0);
    EXPECT_LT(_mbscmp("ab", "abc"), 0);
    EXPECT_EQ(_mbscmp(nullptr, ""), 0);

    CString c = a + "-" + b;
    c += 'x';
    c += CString("y");
    EXPECT_EQ(c, "abc-abdxy");
    EXPECT_EQ("<" + a, "<abc");
}

TEST(CStringTest, SubstringsAndSearch) {
    CString s("FM TUNER");
    EXPECT_EQ(s.Left(2), "FM");
    EXPECT_EQ(s.Mid(3), "TUNER");
    EXPECT_EQ(s.Mid(3, 2), "TU");
    EXPECT_EQ(s.Right(3), "NER");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Left(100), "FM TUNER");
    EXPECT_EQ(s.Mid(100), "");
    EXPECT_EQ(s.Mid(-5, 2), "FM");
    EXPECT_EQ(s.Right(100), "FM TUNER");
    EXPECT_EQ(s.Find(' '), 2);
    EXPECT_EQ(s.Find("UN"), 4);
    EXPECT_EQ(s.Find("XYZ"), -1);
    EXPECT_EQ(s.Find('M', 2), -1);
    EXPECT_EQ(s.ReverseFind('R'), 7);
    EXPECT_EQ(s.ReverseFind('N'), 5);
}

TEST(CStringTest, FormatHandlesLongTextsAndSelfReference) {
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
}

TEST(CStringTest, MakeUpperLeavesDoubleByteCharactersAlone) {
    // "ヂ" is 83 61 and "ホ" is 83 7A: their trail bytes look like 'a' and 'z'.
    CString s("ab\x83\x61x\x83\x7Ay");
    s.MakeUpper();
    EXPECT_EQ(s, "AB\x83\x61X\x83\x7AY");
    s.MakeLower();
    EXPECT_EQ(s, "ab\x83\x61x\x83\x7Ay");
    // A lone lead byte at the end does not reach past the string.
    CString t("a\x83");
    t.MakeUpper();
    EXPECT_EQ(t, "A\x83");
    // Half-width katakana (A1-DF) is single-byte.
    CString k("\xB1q");
    k.MakeUpper();
    EXPECT_EQ(k, "\xB1Q");
}

TEST(CStringTest, ShiftJisConversions) {
    EXPECT_EQ(FromUtf8("CD再生"), CString("CD\x8D\xC4\x90\xB6"));
    EXPECT_EQ(ToUtf8(CString("CD\x8D\xC4\x90\xB6")), "CD再生");
    // 0x5C is a backslash in code page 932, and "予" carries 5C as its trail.
    EXPECT_EQ(ToUtf8(CString("\\\x97\x5C")), "\\予");
    EXPECT_EQ(FromUtf8("＼"), CString("\x81\x5F"));
    // Broken input is replaced, never cut short.
    EXPECT_EQ(ToUtf8(CString("a\x83")), "a\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8(CString("a\x85\x40z")), "a\xEF\xBF\xBDz");
    EXPECT_EQ(FromUtf8("a\xFFz"), CString("a?z"));
    EXPECT_EQ(FromUtf8("😀"), CString("?"));
    EXPECT_EQ(ToUtf32(CString("A\x82\xA0")), std::u32string(U"Aあ"));
    // Converted once and kept.
    EXPECT_EQ(&Sjis("毎日"), &Sjis("毎日"));
    EXPECT_EQ(Sjis("毎日"), CString("\x96\x88\x93\xFA"));
}

TEST(ArraysTest, GrowInsertRemove) {
    CArray<int, int> a;
    EXPECT_EQ(a.GetSize(), 0);
    EXPECT_EQ(a.Add(10), 0);
    EXPECT_EQ(a.Add(30), 1);
    a.InsertAt(1, 20);
    a.InsertAt(5, 7);  // past the end: grows with default elements first
    ASSERT_EQ(a.GetSize(), 6);
    EXPECT_EQ(a[1], 20);
    EXPECT_EQ(a[3], 0);
    EXPECT_EQ(a[5], 7);
    a.RemoveAt(3, 2);
    ASSERT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a.GetAt(3), 7);
    a.SetAt(0, 11);
    a.SetAtGrow(6, 60);
    EXPECT_EQ(a.GetSize(), 7);
    EXPECT_EQ(a[0], 11);
    a.SetSize(2);
    a.FreeExtra();
    EXPECT_EQ(a.GetUpperBound(), 1);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());

    CStringArray s;
    s.SetSize(17);
    EXPECT_TRUE(s[16].IsEmpty());
    s[3] = "X";
    EXPECT_EQ(s.GetAt(3), "X");

    int x = 1;
    int y = 2;
    CTypedPtrArray<CPtrArray, int*> p;
    p.Add(&x);
    p.InsertAt(0, &y);
    EXPECT_EQ(p[0], &y);
    EXPECT_EQ(*p.GetAt(1), 1);
}
