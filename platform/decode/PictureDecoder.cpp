// Pictures through stb_image, and PNG and BMP files through stb_image_write.
//
// Every file is hostile until proven otherwise: the whole file is read (up to
// a limit) and only formats we mean to take reach stb; the picture's size is
// checked against the caps before stb allocates anything for its pixels, and
// the compressed data of a PNG must not inflate to more than its pixels need.
#include "platform/decode/PictureDecoder.h"

#include "platform/LittleEndian.h"

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <memory>
#include <string>

namespace quillon {
namespace platform {
namespace {

std::string g_lastError;

bool Fail(const char* reason) {
    g_lastError = reason ? reason : "unknown error";
    return false;
}

std::uint32_t Be32(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

bool StartsWith(const unsigned char* d, std::size_t size, const char* sig, std::size_t n) {
    return size >= n && std::memcmp(d, sig, n) == 0;
}

// A TGA has no signature; this is the same header test stb makes, and it turns
// away the other formats stb would otherwise try (PSD, PIC, PNM, HDR).
bool LooksLikeTga(const unsigned char* d, std::size_t size) {
    if (size < 18) return false;
    int colorMapType = d[1];
    int imageType = d[2];
    if (colorMapType > 1) return false;
    if (colorMapType == 1) {
        if (imageType != 1 && imageType != 9) return false;
        int entryBits = d[7];
        if (entryBits != 8 && entryBits != 15 && entryBits != 16 && entryBits != 24 &&
            entryBits != 32) {
            return false;
        }
    } else if (imageType != 2 && imageType != 3 && imageType != 10 && imageType != 11) {
        return false;
    }
    int width = d[12] | (d[13] << 8);
    int height = d[14] | (d[15] << 8);
    return width >= 1 && height >= 1;
}

enum class Format { Png, Jpeg, Gif, Bmp, Tga, Unknown };

Format Detect(const unsigned char* d, std::size_t n) {
    if (StartsWith(d, n, "\x89PNG\r\n\x1a\n", 8)) return Format::Png;
    if (StartsWith(d, n, "\xFF\xD8", 2)) return Format::Jpeg;
    if (StartsWith(d, n, "GIF87a", 6) || StartsWith(d, n, "GIF89a", 6)) return Format::Gif;
    if (StartsWith(d, n, "BM", 2)) return Format::Bmp;
    if (LooksLikeTga(d, n)) return Format::Tga;
    return Format::Unknown;
}

// Bytes the filtered rows of a PNG take once inflated.
std::uint64_t PngRawBytes(std::uint64_t width, std::uint64_t height, int bitsPerPixel,
                          bool interlaced) {
    auto rows = [&](std::uint64_t w, std::uint64_t h) -> std::uint64_t {
        if (w == 0 || h == 0) return 0;
        return h * (1 + (w * bitsPerPixel + 7) / 8);
    };
    if (!interlaced) return rows(width, height);
    static const int kPass[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                    {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    std::uint64_t total = 0;
    for (const auto& p : kPass) {
        std::uint64_t w = width > std::uint64_t(p[0]) ? (width - p[0] + p[2] - 1) / p[2] : 0;
        std::uint64_t h = height > std::uint64_t(p[1]) ? (height - p[1] + p[3] - 1) / p[3] : 0;
        total += rows(w, h);
    }
    return total;
}

// stb grows its inflate buffer as long as the data goes on, so a small PNG
// could make it fill gigabytes. Inflate once into a buffer sized for the
// picture (plus a little slack) and refuse a stream that does not fit.
bool PngInflatesWithinPicture(const unsigned char* d, std::size_t size) {
    std::size_t pos = 8;
    std::string idat;
    bool iphone = false;
    std::uint64_t raw = 0;
    bool haveHeader = false;
    while (pos + 12 <= size) {
        std::uint32_t length = Be32(&d[pos]);
        const unsigned char* type = &d[pos + 4];
        if (length > size - pos - 12) return Fail("PNG chunk runs past the end of the file");
        const unsigned char* data = &d[pos + 8];
        if (std::memcmp(type, "CgBI", 4) == 0) iphone = true;
        if (std::memcmp(type, "IHDR", 4) == 0) {
            if (length != 13) return Fail("bad PNG header");
            int depth = data[8];
            int color = data[9];
            int channels = color == 0   ? 1
                           : color == 2 ? 3
                           : color == 3 ? 1
                           : color == 4 ? 2
                           : color == 6 ? 4
                                        : 0;
            if (channels == 0 ||
                (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16)) {
                return Fail("bad PNG header");
            }
            raw = PngRawBytes(Be32(data), Be32(data + 4), depth * channels, data[12] != 0);
            haveHeader = true;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            idat.append(reinterpret_cast<const char*>(data), length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
        pos += std::size_t(length) + 12;
    }
    if (!haveHeader || idat.empty()) return Fail("PNG without header or image data");
    std::uint64_t limit = raw + raw / 16 + 4096;
    if (limit > 0x7FFFFFFF) return Fail("picture too large");
    std::unique_ptr<char[]> out(new (std::nothrow) char[limit]);
    if (!out) return Fail("out of memory");
    int n = iphone ? stbi_zlib_decode_noheader_buffer(out.get(), static_cast<int>(limit),
                                                      idat.data(), static_cast<int>(idat.size()))
                   : stbi_zlib_decode_buffer(out.get(), static_cast<int>(limit), idat.data(),
                                             static_cast<int>(idat.size()));
    if (n < 0) return Fail("PNG image data is corrupt or larger than its picture");
    return true;
}

bool ReadFile(const char* path, std::vector<unsigned char>* bytes) {
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) return Fail("cannot open the file");
    bool ok = false;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        long size = std::ftell(f);
        if (size < 0) {
            Fail("cannot read the file");
        } else if (static_cast<unsigned long>(size) > kMaxPictureFileBytes) {
            Fail("file too large");
        } else if (std::fseek(f, 0, SEEK_SET) == 0) {
            bytes->resize(static_cast<std::size_t>(size));
            ok = std::fread(bytes->data(), 1, bytes->size(), f) == bytes->size();
            if (!ok) Fail("cannot read the file");
        }
    } else {
        Fail("cannot read the file");
    }
    std::fclose(f);
    return ok;
}

// Bytes of LZW data of the first image of a GIF and its pixel count; false
// when the file ends before an image.
bool GifFirstImage(const unsigned char* d, std::size_t n, std::uint64_t* pixels,
                   std::uint64_t* data) {
    std::size_t pos = 13;
    if (n < pos) return false;
    if (d[10] & 0x80) pos += 3u << ((d[10] & 7) + 1);
    auto skipBlocks = [&](std::uint64_t* total) {
        while (pos < n) {
            std::size_t len = d[pos++];
            if (len == 0) return true;
            if (total) *total += len;
            pos += len;
        }
        return false;
    };
    while (pos < n) {
        unsigned char kind = d[pos++];
        if (kind == 0x21) {
            if (pos >= n) return false;
            ++pos;  // the label
            if (!skipBlocks(nullptr)) return false;
        } else if (kind == 0x2C) {
            if (pos + 10 > n) return false;
            *pixels = std::uint64_t(Le16(d + pos + 4)) * Le16(d + pos + 6);
            unsigned char flags = d[pos + 8];
            pos += 9;
            if (flags & 0x80) pos += 3u << ((flags & 7) + 1);
            ++pos;  // the LZW code size
            *data = 0;
            skipBlocks(data);
            return true;
        } else {
            return false;
        }
    }
    return false;
}

// The decoder makes the whole logical screen of a GIF, however small its
// first image: a few hundred bytes could ask for hundreds of megabytes. A
// screen may hold its image with a margin, never dwarf it.
bool GifScreenInProportion(const unsigned char* d, std::size_t n, int w, int h) {
    std::uint64_t framePixels = 0;
    std::uint64_t data = 0;
    if (!GifFirstImage(d, n, &framePixels, &data)) return true;  // stb says why
    return std::uint64_t(w) * std::uint64_t(h) <= framePixels * 4 + 65536;
}

// stb reads zeros past the end of a file, so a header alone would make a
// whole picture. A file must hold at least what its picture needs: BMP and
// uncompressed TGA all their pixels, run-length TGA one packet per 128
// pixels, JPEG one bit per 8 x 8 block (the shortest Huffman code), GIF one
// 3-bit code per 4096 pixels (the longest LZW string).
bool DataPresent(Format format, const unsigned char* d, std::size_t n, int w, int h) {
    const std::uint64_t pixels = std::uint64_t(w) * std::uint64_t(h);
    if (format == Format::Jpeg) {
        std::uint64_t blocks = ((std::uint64_t(w) + 7) / 8) * ((std::uint64_t(h) + 7) / 8);
        return n >= blocks / 8;
    }
    if (format == Format::Gif) {
        std::uint64_t framePixels = 0;
        std::uint64_t data = 0;
        if (!GifFirstImage(d, n, &framePixels, &data)) return true;  // stb says why
        return framePixels <= (data * 8 / 3 + 1) * 4096;
    }
    if (format == Format::Bmp) {
        if (n < 30) return false;
        std::uint32_t headerSize = Le32(d + 14);
        std::uint32_t bits = headerSize == 12 ? Le16(d + 24) : Le16(d + 28);
        if (bits == 0) return true;  // embedded JPEG or PNG: stb turns it away itself
        std::uint64_t start = Le32(d + 10);
        std::uint64_t row = (std::uint64_t(w) * bits + 31) / 32 * 4;
        return start <= n && n - start >= row * std::uint64_t(h);
    }
    if (format == Format::Tga) {
        std::uint64_t start = 18 + std::uint64_t(d[0]);
        if (d[1] == 1) start += std::uint64_t(Le16(d + 5)) * ((d[7] + 7u) / 8);
        std::uint64_t bytesPerPixel = (d[16] + 7u) / 8;
        std::uint64_t need =
            d[2] >= 8 ? (pixels + 127) / 128 * (1 + bytesPerPixel) : pixels * bytesPerPixel;
        return start <= n && n - start >= need;
    }
    return true;
}

// The decoding behind both entry points; `d` holds the whole file.
bool DecodeBytes(const unsigned char* d, std::size_t n, BYTE fill, DecodedPicture* out) {
    if (n > kMaxPictureFileBytes) return Fail("file too large");
    Format format = Detect(d, n);
    if (format == Format::Unknown) return Fail("not a picture format this loader reads");
    const int len = static_cast<int>(n);
    int w = 0;
    int h = 0;
    int channels = 0;
    if (!stbi_info_from_memory(d, len, &w, &h, &channels)) return Fail(stbi_failure_reason());
    if (!PictureSizeAllowed(w, h)) return Fail("picture too large");
    if (format == Format::Gif && !GifScreenInProportion(d, n, w, h))
        return Fail("GIF screen far larger than its first image");
    if (!DataPresent(format, d, n, w, h)) return Fail("file shorter than its picture");
    if (format == Format::Png && !PngInflatesWithinPicture(d, n)) return false;

    unsigned char* rgba = stbi_load_from_memory(d, len, &w, &h, &channels, 4);
    if (rgba == nullptr) return Fail(stbi_failure_reason());
    std::unique_ptr<unsigned char, void (*)(void*)> hold(rgba, stbi_image_free);
    if (!PictureSizeAllowed(w, h)) return Fail("picture too large");

    DecodedPicture picture;
    picture.width = w;
    picture.height = h;
    std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    try {
        picture.bgrx.resize(count * 4);
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    }
    // Straight alpha over a grey of `fill`: alpha 0 gives exactly the fill.
    const unsigned back = fill;
    const unsigned char* src = rgba;
    unsigned char* dst = picture.bgrx.data();
    for (std::size_t i = 0; i < count; ++i, src += 4, dst += 4) {
        unsigned a = src[3];
        if (a == 255) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        } else {
            unsigned under = back * (255 - a) + 127;
            dst[0] = static_cast<unsigned char>((src[2] * a + under) / 255);
            dst[1] = static_cast<unsigned char>((src[1] * a + under) / 255);
            dst[2] = static_cast<unsigned char>((src[0] * a + under) / 255);
        }
        dst[3] = 0;
    }
    *out = std::move(picture);
    return true;
}

}  // namespace

const char* LastDecodeError() {
    return g_lastError.c_str();
}

bool DecodePicture(const char* path, BYTE fill, DecodedPicture* out) {
    g_lastError.clear();
    if (path == nullptr || out == nullptr) return Fail("no file");
    std::vector<unsigned char> bytes;
    if (!ReadFile(path, &bytes)) return false;
    return DecodeBytes(bytes.data(), bytes.size(), fill, out);
}

bool DecodePictureFromMemory(const std::uint8_t* data, std::size_t size, BYTE fill,
                             DecodedPicture* out) {
    g_lastError.clear();
    if (out == nullptr || data == nullptr) return Fail("no data");
    return DecodeBytes(data, size, fill, out);
}

namespace {

// The pixels as tightly packed red, green, blue rows, after the checks both
// writers share.
bool PackRgb(const char* path, int width, int height, const std::uint8_t* bgrx, int stride,
             std::vector<unsigned char>* rgb) {
    g_lastError.clear();
    if (!PictureSizeAllowed(width, height)) return Fail("picture too large");
    if (path == nullptr || bgrx == nullptr) return Fail("no file or no pixels");
    if (static_cast<long long>(stride) < static_cast<long long>(width) * 4) {
        return Fail("row stride shorter than a row");
    }
    try {
        rgb->resize(static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(height));
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    }
    unsigned char* dst = rgb->data();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = bgrx + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < width; ++x, src += 4, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
    return true;
}

}  // namespace

bool WritePng(const char* path, int width, int height, const std::uint8_t* bgrx, int stride) {
    std::vector<unsigned char> rgb;
    if (!PackRgb(path, width, height, bgrx, stride, &rgb)) return false;
    if (!stbi_write_png(path, width, height, 3, rgb.data(), width * 3)) {
        return Fail("cannot write the file");
    }
    return true;
}

bool WriteBmp(const char* path, int width, int height, const std::uint8_t* bgrx, int stride) {
    std::vector<unsigned char> rgb;
    if (!PackRgb(path, width, height, bgrx, stride, &rgb)) return false;
    // Three components give the 24-bit, 40-byte-header form.
    if (!stbi_write_bmp(path, width, height, 3, rgb.data())) return Fail("cannot write the file");
    return true;
}

}  // namespace platform
}  // namespace quillon
