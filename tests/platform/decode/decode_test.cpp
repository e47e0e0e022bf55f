// Picture decoding: small PNG, JPEG, GIF and TGA files built here,
// compositing over the fill byte, and files that must be refused.
#include "platform/decode/PictureDecoder.h"

#include <cstdlib>

#include <quillon/platform/Geometry.h>

#include "support/picture_files.h"

#include <stb/stb_image_write.h>

using quillon::platform::DecodedPicture;
using quillon::platform::LastDecodeError;
using namespace quillon::testfiles;

namespace {

bool Decode(const Bytes& bytes, int fill, DecodedPicture* p) {
    return quillon::platform::DecodePictureFromMemory(bytes.data(), bytes.size(),
                                                      static_cast<BYTE>(fill), p);
}

// Blue, green, red and the fourth byte of pixel (x, y).
std::vector<int> At(const DecodedPicture& p, int x, int y) {
    const std::uint8_t* q = &p.bgrx[(static_cast<std::size_t>(y) * p.width + x) * 4];
    return {q[0], q[1], q[2], q[3]};
}

std::vector<int> Bgr0(int b, int g, int r) {
    return {b, g, r, 0};
}

}  // namespace

TEST(DecodeTest, PngAndBmpRoundTripsAlphaOverTheFillAndInterlace) {
    // Three by two pixels in rows of 16 bytes (stride longer than a row).
    std::vector<std::uint8_t> bgrx(16 * 2, 0xEE);
    for (int i = 0; i < 6; ++i)
        for (int c = 0; c < 3; ++c) bgrx[i / 3 * 16 + i % 3 * 4 + c] = std::uint8_t(i * 40 + c);
    picturetest::TempDir dir;
    using Writer = bool (*)(const char*, int, int, const std::uint8_t*, int);
    for (auto [writer, name] :
         {std::pair<Writer, const char*>{quillon::platform::WritePng, "x.png"},
          {quillon::platform::WriteBmp, "x.bmp"}}) {
        const std::string path = dir.Path(name);
        ASSERT_TRUE(writer(path.c_str(), 3, 2, bgrx.data(), 16)) << name;
        DecodedPicture p;
        ASSERT_TRUE(quillon::platform::DecodePicture(path.c_str(), 77, &p)) << LastDecodeError();
        ASSERT_TRUE(CSize(p.width, p.height) == CSize(3, 2) && p.bgrx.size() == 24u);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(At(p, i % 3, i / 3), Bgr0(i * 40, i * 40 + 1, i * 40 + 2)) << name;
        // The writers refuse what they cannot write.
        EXPECT_FALSE(writer(path.c_str(), 3, 2, bgrx.data(), 11) ||
                     writer(path.c_str(), 0, 2, bgrx.data(), 16) ||
                     writer(path.c_str(), 3, 2, nullptr, 16) ||
                     writer("/nonexistent-dir/x", 3, 2, bgrx.data(), 16))
            << name;
    }
    // The BMP is the 24-bit form with the 40-byte header.
    const Bytes bmp = picturetest::ReadAll(dir.Path("x.bmp"));
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_TRUE(bmp[0] == 'B' && bmp[1] == 'M' && bmp[14] == 40 && bmp[28] == 24);
    DecodedPicture p;

    // RGBA: alpha 0 is exactly the fill, 255 the colour, between them the
    // rounded straight-alpha blend.
    Bytes rgba = {
        0 /* filter */, 200, 100, 50, 0, 200, 100, 50, 255, 200, 100, 50, 128, 0, 255, 9, 1};
    Bytes alpha = Png(4, 1, 6, 8, false, rgba);
    for (int fill : {0, 255, 77}) {
        ASSERT_TRUE(Decode(alpha, fill, &p)) << LastDecodeError();
        auto blend = [&](int c, int a) { return (c * a + fill * (255 - a) + 127) / 255; };
        EXPECT_EQ(At(p, 0, 0), Bgr0(fill, fill, fill));
        EXPECT_EQ(At(p, 1, 0), Bgr0(50, 100, 200));
        EXPECT_EQ(At(p, 2, 0), Bgr0(blend(50, 128), blend(100, 128), blend(200, 128)));
        EXPECT_EQ(At(p, 3, 0), Bgr0(blend(9, 1), blend(255, 1), blend(0, 1)));
    }

    // A 7 x 5 grey picture in the seven interlace passes: the inflate limit
    // counts every pass's rows.
    Bytes raw;
    static const int kPass[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                    {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& pass : kPass) {
        for (int y = pass[1]; y < 5 && pass[0] < 7; y += pass[3]) {
            raw.push_back(0);
            for (int x = pass[0]; x < 7; x += pass[2]) raw.push_back(std::uint8_t(x * 30 + y));
        }
    }
    ASSERT_TRUE(Decode(Png(7, 5, 0, 8, true, raw), 0, &p)) << LastDecodeError();
    for (int i = 0; i < 35; ++i) {
        const int v = i % 7 * 30 + i / 7;
        EXPECT_EQ(At(p, i % 7, i / 7), Bgr0(v, v, v)) << i;
    }
}

// stb reads zeros past the end of a file; a file must hold what its picture
// needs (a mend), a header may not claim more than the caps, and broken files
// fail, leaving the result alone.
TEST(DecodeTest, TruncatedOversizedBrokenAndForeignFilesFail) {
    DecodedPicture p;
    // A JPEG whose few hundred bytes claim 8000 x 8000 pixels.
    std::vector<std::uint8_t> rgb(16 * 16 * 3, 0);
    for (std::size_t i = 0; i < rgb.size(); i += 3) rgb[i] = 200;
    picturetest::TempDir dir;
    ASSERT_TRUE(stbi_write_jpg(dir.Path("red.jpg").c_str(), 16, 16, 3, rgb.data(), 95));
    Bytes jpeg = picturetest::ReadAll(dir.Path("red.jpg"));
    ASSERT_TRUE(Decode(jpeg, 0, &p)) << LastDecodeError();
    EXPECT_TRUE(std::abs(At(p, 7, 9)[2] - 200) <= 4 && At(p, 7, 9)[0] <= 4);  // lossy, but close
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = jpeg[i + 7] = 8000 >> 8;
            jpeg[i + 6] = jpeg[i + 8] = 8000 & 0xFF;
            break;
        }
    }
    const std::string rgb24 = std::string(QUILLON_TESTDATA_DIR) + "/bmpsuite/g/rgb24.bmp";
    Bytes bmp = picturetest::ReadAll(rgb24);
    ASSERT_TRUE(quillon::platform::DecodePicture(rgb24.c_str(), 0, &p)) << LastDecodeError();
    EXPECT_EQ(CSize(p.width, p.height), CSize(127, 64));
    bmp.pop_back();
    Bytes tga = Tga(1796, 6150, {1});
    Bytes rleShort = tga;
    rleShort[2] = 10;  // run-length coded: one packet header and pixel is not enough
    rleShort.insert(rleShort.end(), {0, 0, 0});
    // Headers claiming past the caps come with a few bytes of data. (stb
    // itself turns away 100000 x 100000; the others pass stb's own check.)
    const Bytes tiny = {0, 0, 0, 0};
    EXPECT_FALSE(Decode(Png(100000, 100000, 0, 8, false, tiny), 0, &p));
    const Palette bw = {{0, 0, 0}, {255, 255, 255}};
    const char *kShort = "file shorter than its picture", *kLarge = "picture too large";
    const std::tuple<const char*, Bytes, const char*> refused[] = {
        {"jpeg", jpeg, kShort},
        {"gif", Gif(4000, 4000, bw, {{Bytes(12, 1), -1}}), kShort},
        {"bmp", bmp, kShort},
        {"tga", tga, kShort},
        {"run-length tga", rleShort, kShort},
        {"16385 x 1", Png(16385, 1, 0, 8, false, tiny), kLarge},
        {"1 x 16385", Png(1, 16385, 0, 8, false, tiny), kLarge},
        // Each side within the caps, the pixels over.
        {"16384 x 4097", Png(16384, 4097, 0, 8, false, tiny), kLarge},
        {"GIF screen", Gif(20000, 20000, bw, {{Bytes(1, 1), -1}}, 1, 1), kLarge},
        {"TGA of 16384 x 4097", Tga(16384, 4097, {1, 2, 3}), kLarge},
        // Refused before the screen is made; an image with a margin around it is not.
        {"1 x 1 image on an 8000 x 8000 screen", Gif(8000, 8000, bw, {{Bytes(1, 1), -1}}, 1, 1),
         "GIF screen far larger than its first image"}};
    for (const auto& [what, bytes, reason] : refused) {
        EXPECT_FALSE(Decode(bytes, 0, &p)) << what;
        EXPECT_STREQ(LastDecodeError(), reason) << what;
    }
    Bytes rle = Tga(256, 1, {0xFF, 1, 2, 3, 0xFF, 4, 5, 6});  // two runs of 128
    rle[2] = 10;
    ASSERT_TRUE(Decode(rle, 0, &p)) << LastDecodeError();
    EXPECT_TRUE(At(p, 0, 0) == Bgr0(1, 2, 3) && At(p, 255, 0) == Bgr0(4, 5, 6));
    EXPECT_TRUE(Decode(Gif(300, 300, bw, {{Bytes(150 * 150, 1), -1}}, 150, 150), 0, &p))
        << LastDecodeError();
    EXPECT_EQ(CSize(p.width, p.height), CSize(300, 300));
    // 16 x 16 grey pixels whose data inflates to 64 MB (the inflate bomb mend).
    EXPECT_FALSE(Decode(PngWithDeflate(16, 16, 0, 8, ZeroBomb(64u << 20)), 0, &p));
    EXPECT_NE(std::string(LastDecodeError()).find("larger than its picture"), std::string::npos)
        << LastDecodeError();

    p.width = 123;
    Bytes png = Png(16, 16, 2, 8, false, Bytes(16 * 49, 0));  // black
    Bytes gif = Gif(4, 3, bw, {{Bytes(12, 1), -1}});
    Bytes noise = {0xFF, 0xD8};  // a JPEG signature
    for (int i = 0; i < 300; ++i) noise.push_back(static_cast<std::uint8_t>(i * 97 + 13));
    const char pnm[] = "P6\n2 2\n255\n\1\2\3\4\5\6\7\10\11\12\13\14";
    const std::pair<const char*, Bytes> broken[] = {
        {"empty", {}},
        {"GIF", {'G', 'I', 'F'}},
        {"half a PNG", Bytes(png.begin(), png.begin() + long(png.size() / 2))},
        {"PNG header only", Bytes(png.begin(), png.begin() + 33)},
        {"GIF cut", Bytes(gif.begin(), gif.begin() + 20)},
        {"noise", noise},
        {"PNM", Bytes(pnm, pnm + sizeof pnm - 1)}};
    for (const auto& [what, bytes] : broken) EXPECT_FALSE(Decode(bytes, 0, &p)) << what;
    EXPECT_NE(std::string(LastDecodeError()).find("format"), std::string::npos);  // PNM
    for (const char* path : {"/nonexistent/picture.png", static_cast<const char*>(nullptr), "/tmp"})
        EXPECT_FALSE(quillon::platform::DecodePicture(path, 0, &p));
    EXPECT_FALSE(Decode(png, 0, nullptr));
    EXPECT_EQ(p.width, 123);
}
