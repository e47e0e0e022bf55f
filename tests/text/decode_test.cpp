// Picture decoding: small PNG, GIF and TGA files built here, compositing over
// the fill byte, and files that must be refused.
#include "platform/decode/PictureDecoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "support/picture_encoders.h"

#include <stb/stb_image_write.h>

using quillon::platform::DecodedPicture;
using quillon::platform::DecodePicture;
using quillon::platform::LastDecodeError;
using namespace quillon::testfiles;

namespace {

class TempFiles {
public:
    ~TempFiles() {
        for (const std::string& p : m_paths) std::remove(p.c_str());
    }
    std::string Write(const Bytes& bytes) {
        std::string path = "/tmp/quillon-decode-" + std::to_string(getpid()) + "-" +
                           std::to_string(m_paths.size());
        std::FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f) {
            if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        m_paths.push_back(path);
        return path;
    }
    std::string Path() {
        m_paths.push_back("/tmp/quillon-decode-" + std::to_string(getpid()) + "-" +
                          std::to_string(m_paths.size()) + ".png");
        return m_paths.back();
    }

private:
    std::vector<std::string> m_paths;
};

// Blue, green, red of pixel (x, y).
std::vector<int> At(const DecodedPicture& p, int x, int y) {
    const std::uint8_t* q = &p.bgrx[(static_cast<std::size_t>(y) * p.width + x) * 4];
    return {q[0], q[1], q[2], q[3]};
}

std::vector<int> Bgr0(int b, int g, int r) {
    return {b, g, r, 0};
}

}  // namespace

TEST(DecodeTest, PngRoundTripAndAlphaOverTheFill) {
    TempFiles files;
    // Three by two pixels in rows of 16 bytes (stride longer than a row).
    std::vector<std::uint8_t> bgrx(16 * 2, 0xEE);
    const int pixels[2][3][3] = {{{1, 2, 3}, {40, 50, 60}, {255, 0, 128}},
                                 {{7, 8, 9}, {0, 0, 0}, {255, 255, 255}}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            for (int c = 0; c < 3; ++c) bgrx[y * 16 + x * 4 + c] = pixels[y][x][c];
        }
    }
    std::string path = files.Path();
    ASSERT_TRUE(quillon::platform::WritePng(path.c_str(), 3, 2, bgrx.data(), 16));
    DecodedPicture p;
    ASSERT_TRUE(DecodePicture(path.c_str(), 77, &p)) << LastDecodeError();
    ASSERT_EQ(p.width, 3);
    ASSERT_EQ(p.height, 2);
    ASSERT_EQ(p.bgrx.size(), 24u);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(At(p, x, y), Bgr0(pixels[y][x][0], pixels[y][x][1], pixels[y][x][2]))
                << x << "," << y;
        }
    }
    // The writer refuses what it cannot write.
    EXPECT_FALSE(quillon::platform::WritePng(path.c_str(), 3, 2, bgrx.data(), 11));
    EXPECT_FALSE(quillon::platform::WritePng(path.c_str(), 0, 2, bgrx.data(), 16));
    EXPECT_FALSE(quillon::platform::WritePng(path.c_str(), 3, 2, nullptr, 16));
    EXPECT_FALSE(quillon::platform::WritePng("/nonexistent-dir/x.png", 3, 2, bgrx.data(), 16));

    // RGBA: alpha 0 is exactly the fill, 255 the colour, between them the
    // rounded straight-alpha blend.
    Bytes rgba = {200, 100, 50, 0, 200, 100, 50, 255, 200, 100, 50, 128, 0, 255, 9, 1};
    std::string alphaPath = files.Write(Png(4, 1, 6, 8, false, Rows(4, 1, 4, rgba)));
    for (int fill : {0, 255, 77}) {
        DecodedPicture q;
        ASSERT_TRUE(DecodePicture(alphaPath.c_str(), static_cast<BYTE>(fill), &q))
            << LastDecodeError();
        auto blend = [&](int c, int a) { return (c * a + fill * (255 - a) + 127) / 255; };
        EXPECT_EQ(At(q, 0, 0), Bgr0(fill, fill, fill));
        EXPECT_EQ(At(q, 1, 0), Bgr0(50, 100, 200));
        EXPECT_EQ(At(q, 2, 0), Bgr0(blend(50, 128), blend(100, 128), blend(200, 128)));
        EXPECT_EQ(At(q, 3, 0), Bgr0(blend(9, 1), blend(255, 1), blend(0, 1)));
    }
}

TEST(DecodeTest, InterlacedAndGreyPngs) {
    TempFiles files;
    // A 7 x 5 RGB picture stored in the seven interlace passes.
    const int w = 7;
    const int h = 5;
    auto colour = [](int x, int y, int c) { return (x * 30 + y * 7 + c * 50) & 0xFF; };
    Bytes raw;
    static const int kPass[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                    {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& pass : kPass) {
        for (int y = pass[1]; y < h; y += pass[3]) {
            if (pass[0] >= w) break;
            raw.push_back(0);
            for (int x = pass[0]; x < w; x += pass[2]) {
                for (int c = 0; c < 3; ++c)
                    raw.push_back(static_cast<std::uint8_t>(colour(x, y, c)));
            }
        }
    }
    DecodedPicture p;
    std::string path = files.Write(Png(w, h, 2, 8, true, raw));
    ASSERT_TRUE(DecodePicture(path.c_str(), 0, &p)) << LastDecodeError();
    ASSERT_EQ(p.width, w);
    ASSERT_EQ(p.height, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            EXPECT_EQ(At(p, x, y), Bgr0(colour(x, y, 2), colour(x, y, 1), colour(x, y, 0)));
        }
    }
    // One-bit grey: a row of eight pixels in one byte.
    std::string grey = files.Write(Png(8, 1, 0, 1, false, {0, 0xA5}));
    ASSERT_TRUE(DecodePicture(grey.c_str(), 0, &p)) << LastDecodeError();
    EXPECT_EQ(At(p, 0, 0), Bgr0(255, 255, 255));
    EXPECT_EQ(At(p, 1, 0), Bgr0(0, 0, 0));
    EXPECT_EQ(At(p, 7, 0), Bgr0(255, 255, 255));
}

TEST(DecodeTest, GifFirstFrameWithAndWithoutTransparency) {
    TempFiles files;
    const Palette palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    // 4 x 3, index 2 (green) transparent in the first file.
    const Bytes indexes = {0, 1, 2, 3, 3, 2, 1, 0, 2, 2, 1, 1};
    std::string clear = files.Write(Gif(4, 3, palette, {{indexes, 2}}));
    std::string opaque = files.Write(Gif(4, 3, palette, {{indexes, -1}}));
    auto expected = [&](int i, int fill) {
        switch (indexes[i]) {
            case 0:
                return Bgr0(0, 0, 0);
            case 1:
                return Bgr0(0, 0, 255);
            case 2:
                return Bgr0(fill, fill, fill);  // only when transparent
            default:
                return Bgr0(255, 0, 0);
        }
    };
    for (int fill : {0, 255}) {
        DecodedPicture p;
        ASSERT_TRUE(DecodePicture(clear.c_str(), static_cast<BYTE>(fill), &p)) << LastDecodeError();
        ASSERT_EQ(p.width, 4);
        ASSERT_EQ(p.height, 3);
        for (int i = 0; i < 12; ++i) EXPECT_EQ(At(p, i % 4, i / 4), expected(i, fill)) << i;

        DecodedPicture q;
        ASSERT_TRUE(DecodePicture(opaque.c_str(), static_cast<BYTE>(fill), &q));
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(At(q, i % 4, i / 4), indexes[i] == 2 ? Bgr0(0, 255, 0) : expected(i, fill));
        }
    }
    // An animation gives its first frame.
    const Bytes second(12, 3);
    std::string anim = files.Write(Gif(4, 3, palette, {{indexes, -1}, {second, -1}}));
    DecodedPicture a;
    ASSERT_TRUE(DecodePicture(anim.c_str(), 0, &a)) << LastDecodeError();
    EXPECT_EQ(At(a, 0, 0), Bgr0(0, 0, 0));
    EXPECT_EQ(At(a, 1, 0), Bgr0(0, 0, 255));
}

TEST(DecodeTest, JpegAndItsSizeAgainstItsData) {
    TempFiles files;
    Bytes jpeg;
    std::vector<std::uint8_t> rgb(16 * 16 * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = 200;
        rgb[i + 1] = 100;
        rgb[i + 2] = 50;
    }
    auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<Bytes*>(context);
        out->insert(out->end(), static_cast<std::uint8_t*>(data),
                    static_cast<std::uint8_t*>(data) + size);
    };
    ASSERT_TRUE(stbi_write_jpg_to_func(append, &jpeg, 16, 16, 3, rgb.data(), 95));
    DecodedPicture p;
    ASSERT_TRUE(DecodePicture(files.Write(jpeg).c_str(), 0, &p)) << LastDecodeError();
    ASSERT_EQ(p.width, 16);
    ASSERT_EQ(p.height, 16);
    std::vector<int> px = At(p, 7, 9);
    EXPECT_NEAR(px[0], 50, 4);  // lossy, but close
    EXPECT_NEAR(px[1], 100, 4);
    EXPECT_NEAR(px[2], 200, 4);

    // The same few hundred bytes claiming 8000 x 8000 pixels cannot hold the
    // million blocks of such a picture.
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = 8000 >> 8;
            jpeg[i + 6] = 8000 & 0xFF;
            jpeg[i + 7] = 8000 >> 8;
            jpeg[i + 8] = 8000 & 0xFF;
            break;
        }
    }
    EXPECT_FALSE(DecodePicture(files.Write(jpeg).c_str(), 0, &p));
    EXPECT_STREQ(LastDecodeError(), "file shorter than its picture");
    // Nor can twelve LZW codes fill a 4000 x 4000 GIF frame.
    Bytes gif = Gif(4000, 4000, {{0, 0, 0}, {255, 255, 255}}, {{Bytes(12, 1), -1}});
    EXPECT_FALSE(DecodePicture(files.Write(gif).c_str(), 0, &p));
    EXPECT_STREQ(LastDecodeError(), "file shorter than its picture");
}

TEST(DecodeTest, TgaRowOrderAndBmp) {
    TempFiles files;
    // 2 x 2, 24 bits, stored bottom row first (the TGA default).
    Bytes bottomUp = Tga(2, 2, 24, false, {1, 2, 3, 4, 5, 6, 10, 20, 30, 40, 50, 60});
    std::string path = files.Write(bottomUp);
    DecodedPicture p;
    ASSERT_TRUE(DecodePicture(path.c_str(), 0, &p)) << LastDecodeError();
    EXPECT_EQ(At(p, 0, 0), Bgr0(10, 20, 30));  // the last stored row is the top
    EXPECT_EQ(At(p, 1, 1), Bgr0(4, 5, 6));
    // 32 bits, top row first, with alpha.
    Bytes topDown = Tga(2, 1, 32, true, {1, 2, 3, 0, 4, 5, 6, 255});
    path = files.Write(topDown);
    ASSERT_TRUE(DecodePicture(path.c_str(), 255, &p)) << LastDecodeError();
    EXPECT_EQ(At(p, 0, 0), Bgr0(255, 255, 255));
    EXPECT_EQ(At(p, 1, 0), Bgr0(4, 5, 6));

    const std::string bmp = std::string(QUILLON_TESTDATA_DIR) + "/bmpsuite/g/rgb24.bmp";
    ASSERT_TRUE(DecodePicture(bmp.c_str(), 0, &p)) << LastDecodeError();
    EXPECT_EQ(p.width, 127);
    EXPECT_EQ(p.height, 64);
}

TEST(DecodeTest, BrokenAndForeignFilesFail) {
    TempFiles files;
    DecodedPicture p;
    p.width = 123;  // a failure leaves the result alone
    EXPECT_FALSE(DecodePicture("/nonexistent/picture.png", 0, &p));
    EXPECT_FALSE(DecodePicture(nullptr, 0, &p));
    EXPECT_FALSE(DecodePicture("/tmp", 0, &p));  // a folder
    EXPECT_FALSE(DecodePicture(files.Write({}).c_str(), 0, nullptr));
    EXPECT_FALSE(DecodePicture(files.Write({}).c_str(), 0, &p));
    EXPECT_FALSE(DecodePicture(files.Write({'G', 'I', 'F'}).c_str(), 0, &p));

    Bytes good = Png(16, 16, 2, 8, false, Rows(16, 16, 3, Bytes(16 * 16 * 3, 0x42)));
    Bytes truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    EXPECT_FALSE(DecodePicture(files.Write(truncated).c_str(), 0, &p));
    Bytes noData(good.begin(), good.begin() + 33);  // signature and header only
    EXPECT_FALSE(DecodePicture(files.Write(noData).c_str(), 0, &p));

    Bytes gif = Gif(4, 3, {{0, 0, 0}, {255, 255, 255}}, {{Bytes(12, 1), -1}});
    Bytes cutGif(gif.begin(), gif.begin() + 20);
    EXPECT_FALSE(DecodePicture(files.Write(cutGif).c_str(), 0, &p));

    // Headers of BMP and TGA without their pixels (stb would read zeros on).
    Bytes tga = Tga(1796, 6150, 24, false, {1});
    EXPECT_FALSE(DecodePicture(files.Write(tga).c_str(), 0, &p));
    EXPECT_STREQ(LastDecodeError(), "file shorter than its picture");
    tga[2] = 10;  // run-length coded: one packet header and pixel is not enough
    tga.insert(tga.end(), {0, 0, 0});
    EXPECT_FALSE(DecodePicture(files.Write(tga).c_str(), 0, &p));
    Bytes rle = Tga(256, 1, 24, false, {0xFF, 1, 2, 3, 0xFF, 4, 5, 6});  // two runs of 128
    rle[2] = 10;
    ASSERT_TRUE(DecodePicture(files.Write(rle).c_str(), 0, &p)) << LastDecodeError();
    EXPECT_EQ(At(p, 0, 0), Bgr0(1, 2, 3));
    EXPECT_EQ(At(p, 255, 0), Bgr0(4, 5, 6));
    p.width = 123;
    p.bgrx.clear();
    std::FILE* f =
        std::fopen((std::string(QUILLON_TESTDATA_DIR) + "/bmpsuite/g/rgb24.bmp").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    Bytes bmp(100000);
    bmp.resize(std::fread(bmp.data(), 1, bmp.size(), f));
    std::fclose(f);
    bmp.pop_back();
    EXPECT_FALSE(DecodePicture(files.Write(bmp).c_str(), 0, &p));
    EXPECT_STREQ(LastDecodeError(), "file shorter than its picture");

    // Noise with a JPEG signature, and a format this loader does not take.
    Bytes noise = {0xFF, 0xD8};
    for (int i = 0; i < 300; ++i) noise.push_back(static_cast<std::uint8_t>(i * 97 + 13));
    EXPECT_FALSE(DecodePicture(files.Write(noise).c_str(), 0, &p));
    const char pnm[] = "P6\n2 2\n255\n\1\2\3\4\5\6\7\10\11\12\13\14";
    EXPECT_FALSE(DecodePicture(files.Write(Bytes(pnm, pnm + sizeof pnm - 1)).c_str(), 0, &p));
    EXPECT_NE(std::string(LastDecodeError()).find("format"), std::string::npos);
    EXPECT_EQ(p.width, 123);
    EXPECT_TRUE(p.bgrx.empty());
}

TEST(DecodeTest, OversizedPicturesAreRefusedFromTheirHeader) {
    TempFiles files;
    DecodedPicture p;
    // Headers claiming 100000 x 100000, 16385 x 1 pixels and so on, and a GIF
    // screen of 20000 x 20000, each with a few bytes of data. (stb itself
    // turns away the first from its header; the others pass stb's own check.)
    const Bytes tiny = {0, 0, 0, 0};
    EXPECT_FALSE(DecodePicture(files.Write(Png(100000, 100000, 0, 8, false, tiny)).c_str(), 0, &p));
    for (auto size : {std::pair<int, int>{16385, 1}, {1, 16385}, {16384, 4097}}) {
        std::string path = files.Write(Png(size.first, size.second, 0, 8, false, tiny));
        EXPECT_FALSE(DecodePicture(path.c_str(), 0, &p)) << size.first << "x" << size.second;
        EXPECT_STREQ(LastDecodeError(), "picture too large");
    }
    Bytes gif = Gif(20000, 20000, {{0, 0, 0}, {255, 255, 255}}, {{Bytes(1, 1), -1}}, 1, 1);
    EXPECT_FALSE(DecodePicture(files.Write(gif).c_str(), 0, &p));
    EXPECT_STREQ(LastDecodeError(), "picture too large");
    Bytes tga = Tga(1, 1, 24, false, {1, 2, 3});
    tga[12] = 0x00;  // 16384 x 4097: within each side's cap, over the pixel cap
    tga[13] = 0x40;
    tga[14] = 0x01;
    tga[15] = 0x10;
    EXPECT_FALSE(DecodePicture(files.Write(tga).c_str(), 0, &p));
    EXPECT_STREQ(LastDecodeError(), "picture too large");
    // A picture of 16 x 16 grey pixels whose data inflates to 64 MB.
    std::string bomb = files.Write(PngWithDeflate(16, 16, 0, 8, ZeroBomb(64u << 20)));
    EXPECT_FALSE(DecodePicture(bomb.c_str(), 0, &p));
    EXPECT_NE(std::string(LastDecodeError()).find("larger than its picture"), std::string::npos)
        << LastDecodeError();
}
