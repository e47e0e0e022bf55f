#include "frame/pictures/DibPicture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <string>
#include <system_error>
#include <utility>

#include "platform/LittleEndian.h"
#include "platform/decode/PictureDecoder.h"

namespace {

using quillon::platform::Le16;
using quillon::platform::Le32;

// A picture file opened for reading. Only regular files: a FIFO or a device
// named as a picture must not block or stream forever.
class PictureFile {
public:
    explicit PictureFile(const char* path) {
        std::error_code ec;
        if (!path || !std::filesystem::is_regular_file(path, ec)) return;
        std::uintmax_t size = std::filesystem::file_size(path, ec);
        if (ec) return;
        m_file = std::fopen(path, "rb");
        m_size = size;
    }
    ~PictureFile() {
        if (m_file) std::fclose(m_file);
    }
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    std::uintmax_t Size() const { return m_size; }
    // True only when all n bytes were read.
    bool Read(void* buffer, std::size_t n) {
        return m_file && std::fread(buffer, 1, n, m_file) == n;
    }
    std::size_t ReadSome(void* buffer, std::size_t n) {
        return m_file ? std::fread(buffer, 1, n, m_file) : 0;
    }
    bool Seek(std::uintmax_t offset) {
        return m_file && offset <= static_cast<std::uintmax_t>(std::numeric_limits<long>::max()) &&
               std::fseek(m_file, static_cast<long>(offset), SEEK_SET) == 0;
    }

private:
    std::FILE* m_file = nullptr;
    std::uintmax_t m_size = 0;
};

// The reason of the last refusal, for tools that tell a skin author what
// to fix; the loaders themselves only answer true or false.
std::string g_lastLoadError;

bool Refuse(std::string reason) {
    g_lastLoadError = std::move(reason);
    return false;
}

std::string Num(std::uint64_t v) {
    return std::to_string(v);
}

// Shows the wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor() { BeginWaitCursor(); }
    ~WaitCursor() { EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void WriteHeader(BITMAPINFOHEADER* h, int width, int height, int bitCount, int colors) {
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = static_cast<WORD>(bitCount);
    h->biCompression = BI_RGB;
    h->biSizeImage = 0;
    h->biXPelsPerMeter = 0;
    h->biYPelsPerMeter = 0;
    h->biClrUsed = static_cast<DWORD>(colors);
    h->biClrImportant = static_cast<DWORD>(colors);
}

int TableEntries(const BITMAPINFOHEADER& h) {
    if (h.biClrUsed != 0) return static_cast<int>(std::min<DWORD>(h.biClrUsed, 256));
    int colors = DibColorCount(h.biBitCount);
    return colors > 0 ? colors : 0;
}

}  // namespace

int DibColorCount(int bitCount) {
    switch (bitCount) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        case 16:
        case 24:
        case 32:
            return 0;
        default:
            return -1;
    }
}

CDibPicture::CDibPicture() = default;

const char* CDibPicture::LastLoadError() {
    return g_lastLoadError.c_str();
}

CDibPicture::~CDibPicture() {
    Release();
}

void CDibPicture::OnCreated() {}

void CDibPicture::Release() {
    if (m_pMemDC) {
        m_pMemDC->SelectObject(static_cast<HBITMAP>(nullptr));
        m_pMemDC->DeleteDC();
        m_pMemDC.reset();
    }
    m_pMask.reset();
    if (m_hBitmap) {
        DeleteObject(m_hBitmap);
        m_hBitmap = nullptr;
    }
    m_pBits = nullptr;
    if (m_hPalette) {
        DeleteObject(m_hPalette);
        m_hPalette = nullptr;
    }
    SetRectEmpty(&m_rcClip);
    // Without its bits the picture can no longer be drawn.
    m_bLoaded = false;
}

BITMAPINFO* CDibPicture::InfoBlock() {
    if (!m_pBitmapInfo) m_pBitmapInfo.reset(new (std::nothrow) BITMAPINFO{});
    return m_pBitmapInfo.get();
}

// Header, colour table count, memory context and DIB section for a picture
// whose colour table (if any) is already in the information block.
bool CDibPicture::MakeBlank(int width, int height, int bitCount) {
    int colors = DibColorCount(bitCount);
    if (colors < 0 || !quillon::platform::PictureSizeAllowed(width, height)) return false;
    if (InfoBlock() == nullptr) return false;
    m_nColors = colors;
    m_nStride = quillon::platform::DibStride(width, bitCount);
    m_pMemDC = std::make_unique<CDC>();
    m_pMemDC->CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    m_hBitmap =
        CreateDIBSection(m_pMemDC.get(), m_pBitmapInfo.get(), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_hBitmap) return false;
    m_pBits = static_cast<BYTE*>(bits);
    m_pMemDC->SelectObject(m_hBitmap);
    return true;
}

bool CDibPicture::Create(int width, int height, int bitCount) {
    Release();
    CDC screen;
    if (width < 1) {
        width = screen.GetDeviceCaps(HORZRES);
        height = screen.GetDeviceCaps(VERTRES);
    }
    if (bitCount < 1) bitCount = screen.GetDeviceCaps(BITSPIXEL);
    int colors = DibColorCount(bitCount);
    if (colors < 0 || !quillon::platform::PictureSizeAllowed(width, height)) return false;
    if (InfoBlock() == nullptr) return false;
    WriteHeader(&m_pBitmapInfo->bmiHeader, width, height, bitCount, colors);
    RGBQUAD* table = m_pBitmapInfo->bmiColors;
    if (bitCount == 1) {
        table[0] = RGBQUAD{0, 0, 0, 0};
        table[1] = RGBQUAD{255, 255, 255, 0};
    } else if (colors > 0) {
        HPALETTE halftone = CreateHalftonePalette(&screen);
        PALETTEENTRY entries[256] = {};
        UINT got = GetPaletteEntries(halftone, 0, static_cast<UINT>(colors), entries);
        DeleteObject(halftone);
        for (int i = 0; i < colors; ++i) {
            const PALETTEENTRY& e = entries[i];
            table[i] = static_cast<UINT>(i) < got ? RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0}
                                                  : RGBQUAD{0, 0, 0, 0};
        }
    }
    if (!MakeBlank(width, height, bitCount)) {
        Release();
        return false;
    }
    Fill(0);
    BuildPalette();
    ClipToWhole();
    m_bLoaded = true;
    OnCreated();
    return true;
}

bool CDibPicture::Load(CString path) {
    WaitCursor wait;
    g_lastLoadError.clear();
    BYTE head[16] = {};
    std::size_t got = 0;
    {
        PictureFile file(path);
        if (!file.IsOpen()) {
            Release();
            std::error_code ec;
            if (std::filesystem::exists(static_cast<const char*>(path), ec) &&
                !std::filesystem::is_regular_file(static_cast<const char*>(path), ec))
                return Refuse("is not a plain file");
            return Refuse("cannot be opened");
        }
        got = file.ReadSome(head, sizeof(head));
    }
    bool ok;
    if (got >= 2 && head[0] == 'B' && head[1] == 'M')
        ok = LoadBmp(path);
    else if (got >= 3 && std::memcmp(head, "GIF", 3) == 0)
        ok = LoadGif(path);
    else
        ok = LoadWithPlatform(path, 0);
    if (!ok) {
        Release();
        if (g_lastLoadError.empty()) g_lastLoadError = "cannot be read";
        return false;
    }
    g_lastLoadError.clear();
    BuildPalette();
    ClipToWhole();
    m_bLoaded = true;
    OnCreated();
    return true;
}

// The header is checked against the file before anything is allocated: a
// picture must be bottom-up, uncompressed, 1/4/8/16/24/32 bits, within the
// size cap, and its colour table and every pixel row must be in the file.
bool CDibPicture::LoadBmp(const CString& path) {
    PictureFile file(path);
    if (!file.IsOpen()) return Refuse("cannot be opened");
    Release();
    BYTE fileHeader[14];
    if (!file.Read(fileHeader, sizeof(fileHeader)) || fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return Refuse("file shorter than its BMP header");
    BYTE info[40];
    if (!file.Read(info, 4)) return Refuse("file shorter than its BMP header");
    if (Le32(info) != 40)
        return Refuse("BMP with a " + Num(Le32(info)) +
                      "-byte header is not supported; save it with a 40-byte header");
    if (!file.Read(info + 4, sizeof(info) - 4)) return Refuse("file shorter than its BMP header");

    BITMAPINFOHEADER h{};
    h.biSize = 40;
    h.biWidth = static_cast<LONG>(Le32(info + 4));
    h.biHeight = static_cast<LONG>(Le32(info + 8));
    h.biPlanes = Le16(info + 12);
    h.biBitCount = Le16(info + 14);
    h.biCompression = Le32(info + 16);
    h.biSizeImage = Le32(info + 20);
    h.biXPelsPerMeter = static_cast<LONG>(Le32(info + 24));
    h.biYPelsPerMeter = static_cast<LONG>(Le32(info + 28));
    h.biClrUsed = Le32(info + 32);
    h.biClrImportant = Le32(info + 36);

    const int bitCount = h.biBitCount;
    const int colors = DibColorCount(bitCount);
    if (colors < 0)
        return Refuse("BMP with " + Num(h.biBitCount) +
                      " bits per pixel is not supported; save it with 1, 4, 8, 16, 24 or 32");
    if (h.biCompression != BI_RGB)
        return Refuse("compressed BMP is not supported; save it uncompressed");
    if (h.biHeight < 0) return Refuse("top-down BMP is not supported; save it bottom row first");
    if (h.biWidth < 1 || h.biHeight < 1)
        return Refuse("BMP of " + std::to_string(h.biWidth) + " x " + std::to_string(h.biHeight) +
                      " pixels has no pixels");
    if (!quillon::platform::PictureSizeAllowed(h.biWidth, h.biHeight))
        return Refuse("BMP of " + std::to_string(h.biWidth) + " x " + std::to_string(h.biHeight) +
                      " pixels is larger than a picture may be");
    // A table never holds more entries than the pixels can index; a
    // true-colour file may carry one of at most 256 entries.
    const std::uint64_t tableLimit = colors > 0 ? static_cast<std::uint64_t>(colors) : 256;
    if (h.biClrUsed > tableLimit)
        return Refuse("BMP colour table of " + Num(h.biClrUsed) + " entries is too long for " +
                      Num(h.biBitCount) + " bits per pixel");
    const int entries = h.biClrUsed != 0 ? static_cast<int>(h.biClrUsed) : colors;

    const int stride = quillon::platform::DibStride(h.biWidth, bitCount);
    const std::uint64_t pixelBytes =
        static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(h.biHeight);
    const std::uint64_t tableEnd = 14 + 40 + 4 * static_cast<std::uint64_t>(entries);
    // The pixels follow the table, unless the header's offset points past
    // it: then there is a gap to skip.
    const std::uint64_t offset = Le32(fileHeader + 10);
    const std::uint64_t pixelStart = offset > tableEnd ? offset : tableEnd;
    if (pixelStart + pixelBytes > file.Size()) return Refuse("file shorter than its pixels");

    if (InfoBlock() == nullptr) return Refuse("out of memory");
    m_pBitmapInfo->bmiHeader = h;
    BYTE table[256 * 4];
    if (entries > 0 && !file.Read(table, 4 * static_cast<std::size_t>(entries)))
        return Refuse("file shorter than its colour table");
    for (int i = 0; i < 256; ++i) {
        m_pBitmapInfo->bmiColors[i] =
            i < entries ? RGBQUAD{table[4 * i], table[4 * i + 1], table[4 * i + 2], 0}
                        : RGBQUAD{0, 0, 0, 0};
    }
    if (!MakeBlank(h.biWidth, h.biHeight, bitCount)) return Refuse("out of memory");
    if (pixelStart != tableEnd && !file.Seek(pixelStart)) return Refuse("cannot be read");
    if (!file.Read(m_pBits, static_cast<std::size_t>(pixelBytes)))
        return Refuse("file shorter than its pixels");
    return true;
}

bool CDibPicture::LoadWithPlatform(const CString& path, BYTE fill) {
    quillon::platform::DecodedPicture decoded;
    if (!quillon::platform::DecodePicture(path, fill, &decoded))
        return Refuse(quillon::platform::LastDecodeError());
    const int width = decoded.width, height = decoded.height;
    if (!quillon::platform::PictureSizeAllowed(width, height) ||
        decoded.bgrx.size() !=
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4)
        return Refuse("picture too large");
    Release();
    CDC screen;
    int bitCount = screen.GetDeviceCaps(BITSPIXEL);
    if (bitCount <= 8) bitCount = 16;
    if (bitCount != 16 && bitCount != 24) bitCount = 32;
    if (InfoBlock() == nullptr) return Refuse("out of memory");
    WriteHeader(&m_pBitmapInfo->bmiHeader, width, height, bitCount, 0);
    if (!MakeBlank(width, height, bitCount)) return Refuse("out of memory");
    Fill(fill);
    // Decoded rows are top row first; ours bottom row first.
    const std::uint8_t* src = decoded.bgrx.data();
    for (int y = 0; y < height; ++y, src += 4 * static_cast<std::ptrdiff_t>(width)) {
        BYTE* row = GetRow(y);
        if (bitCount == 32) {
            std::memcpy(row, src, 4 * static_cast<std::size_t>(width));
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = src + 4 * x;
            if (bitCount == 24) {
                row[3 * x] = p[0];
                row[3 * x + 1] = p[1];
                row[3 * x + 2] = p[2];
            } else {
                unsigned v = ((p[2] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[0] >> 3);
                row[2 * x] = static_cast<BYTE>(v);
                row[2 * x + 1] = static_cast<BYTE>(v >> 8);
            }
        }
    }
    return true;
}

// Rendered over black and over white: a pixel that differs between the two
// is transparent. Compared through the memory contexts, as the pictures are
// not marked loaded yet.
bool CDibPicture::LoadGif(const CString& path) {
    if (!LoadWithPlatform(path, 0)) return false;
    CDibPicture overWhite;
    if (!overWhite.LoadWithPlatform(path, 255)) return false;
    CSize size = GetSize();
    if (overWhite.GetSize() != size) return Refuse("GIF renders differ in size");
    CDC* black = m_pMemDC.get();
    CDC* white = overWhite.m_pMemDC.get();
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            if (black->GetPixel(x, y) == white->GetPixel(x, y)) continue;
            if (!m_pMask) {
                m_pMask = std::make_unique<CDibPicture>();
                if (!m_pMask->Create(size.cx, size.cy, 1)) return Refuse("out of memory");
            }
            m_pMask->SetPixel(x, y, RGB(255, 255, 255));
        }
    }
    return true;
}

void CDibPicture::BuildPalette() {
    if (m_nColors == 0 || !m_pBitmapInfo) return;
    auto palette = std::make_unique<LOGPALETTE>();
    palette->palVersion = 0x300;
    int entries = TableEntries(m_pBitmapInfo->bmiHeader);
    palette->palNumEntries = static_cast<WORD>(entries);
    for (int i = 0; i < entries; ++i) {
        const RGBQUAD& q = m_pBitmapInfo->bmiColors[i];
        palette->palPalEntry[i] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
    }
    m_hPalette = CreatePalette(palette.get());
}

void CDibPicture::ClipToWhole() {
    CSize size = GetSize();
    SetRect(&m_rcClip, 0, 0, size.cx, size.cy);
    if (m_pMemDC) m_pMemDC->SetClipBox(&m_rcClip);
}

void CDibPicture::Fill(BYTE value) {
    if (!m_pBits) return;
    std::memset(m_pBits, value,
                static_cast<std::size_t>(m_nStride) * static_cast<std::size_t>(GetSize().cy));
}

CSize CDibPicture::GetSize() const {
    if (!m_pBitmapInfo) return CSize(0, 0);
    return CSize(m_pBitmapInfo->bmiHeader.biWidth, m_pBitmapInfo->bmiHeader.biHeight);
}

COLORREF CDibPicture::GetPixel(int x, int y) const {
    if (!m_bLoaded || !m_pBits) return 0;
    CSize size = GetSize();
    if (x < 0 || y < 0 || x >= size.cx || y >= size.cy) return 0;
    const BYTE* row = GetRow(y);
    switch (GetBitCount()) {
        case 8: {
            int index = row[x];
            if (index >= TableEntries(m_pBitmapInfo->bmiHeader)) return RGB(0, 0, 0);
            const RGBQUAD& q = m_pBitmapInfo->bmiColors[index];
            return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        }
        case 16: {
            unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
            return RGB(((v >> 10) & 31) * 8, ((v >> 5) & 31) * 8, (v & 31) * 8);
        }
        case 24:
            return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        default:
            return m_pMemDC->GetPixel(x, y);
    }
}

bool CDibPicture::SetPixel(int x, int y, COLORREF color) {
    if (!m_bLoaded || !m_pBits) return false;
    CSize size = GetSize();
    if (x < 0 || y < 0 || x >= size.cx || y >= size.cy) return false;
    BYTE* row = GetRow(y);
    switch (GetBitCount()) {
        case 16: {
            unsigned old = row[2 * x] | (row[2 * x + 1] << 8);
            unsigned v = (old & 0x8000u) | ((GetRValue(color) >> 3u) << 10) |
                         ((GetGValue(color) >> 3u) << 5) | (GetBValue(color) >> 3u);
            row[2 * x] = static_cast<BYTE>(v);
            row[2 * x + 1] = static_cast<BYTE>(v >> 8);
            return true;
        }
        case 24:
        case 32: {
            BYTE* p = row + (GetBitCount() / 8) * x;
            p[0] = GetBValue(color);
            p[1] = GetGValue(color);
            p[2] = GetRValue(color);
            return true;
        }
        default:
            return m_pMemDC->SetPixel(x, y, color) != CLR_INVALID;
    }
}

bool CDibPicture::SetClipRect(int left, int top, int right, int bottom) {
    CSize size = GetSize();
    RECT whole{0, 0, size.cx, size.cy};
    RECT wanted{left, top, right, bottom};
    if (!IntersectRect(&m_rcClip, &whole, &wanted)) {
        SetRectEmpty(&m_rcClip);
        if (m_pMemDC) m_pMemDC->SetClipBox(&m_rcClip);
        return false;
    }
    if (m_pMemDC) m_pMemDC->SetClipBox(&m_rcClip);
    return true;
}

bool CDibPicture::SetBrightness(int percent) {
    WaitCursor wait;
    CSize size = GetSize();
    auto scale = [percent](int c) {
        std::int64_t v = std::int64_t{c} * percent / 100;
        return static_cast<int>(std::clamp<std::int64_t>(v, 0, 255));
    };
    const int bits = GetBitCount();
    if (m_bLoaded && m_pBits && (bits == 24 || bits == 32)) {
        // True colour: each component through one table, row by row (the
        // dimmed background is a whole screen of pixels).
        std::uint8_t table[256];
        for (int i = 0; i < 256; ++i) table[i] = static_cast<std::uint8_t>(scale(i));
        const int bytes = bits / 8;
        for (int y = 0; y < size.cy; ++y) {
            BYTE* p = GetRow(y);
            for (int x = 0; x < size.cx; ++x, p += bytes) {
                p[0] = table[p[0]];
                p[1] = table[p[1]];
                p[2] = table[p[2]];
            }
        }
        return true;
    }
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            COLORREF c = GetPixel(x, y);
            SetPixel(x, y, RGB(scale(GetRValue(c)), scale(GetGValue(c)), scale(GetBValue(c))));
        }
    }
    return true;
}

// The step shared by every copy: the palette (when there is one) selected
// and realised, colour-on-colour stretching, source rows counted from the
// bottom; a masked picture goes as mask AND destination, then picture XOR.
void CDibPicture::DrawOnto(CDC* dc, const RECT& dest, const RECT& source) const {
    HPALETTE oldPalette = nullptr;
    if (m_hPalette) {
        oldPalette = dc->SelectPalette(m_hPalette, FALSE);
        dc->RealizePalette();
    }
    dc->SetStretchBltMode(COLORONCOLOR);
    const int height = GetSize().cy;
    const int xSrc = source.left, ySrc = height - source.bottom;
    const int srcWidth = source.right - source.left, srcHeight = source.bottom - source.top;
    const int destWidth = dest.right - dest.left, destHeight = dest.bottom - dest.top;
    if (m_pMask && m_pMask->m_pBits) {
        dc->StretchDIBits(dest.left, dest.top, destWidth, destHeight, xSrc, ySrc, srcWidth,
                          srcHeight, m_pMask->m_pBits, m_pMask->m_pBitmapInfo.get(), DIB_RGB_COLORS,
                          SRCAND);
        dc->StretchDIBits(dest.left, dest.top, destWidth, destHeight, xSrc, ySrc, srcWidth,
                          srcHeight, m_pBits, m_pBitmapInfo.get(), DIB_RGB_COLORS, SRCINVERT);
    } else {
        dc->StretchDIBits(dest.left, dest.top, destWidth, destHeight, xSrc, ySrc, srcWidth,
                          srcHeight, m_pBits, m_pBitmapInfo.get(), DIB_RGB_COLORS, SRCCOPY);
    }
    // The context must not keep a palette this picture may delete.
    if (m_hPalette) dc->SelectPalette(oldPalette, FALSE);
}

bool CDibPicture::DrawTo(CDibPicture* target, int x, int y) {
    if (!m_bLoaded) return true;
    if (!target) return false;
    if (!target->m_pMemDC) return true;  // no image: an empty clip, nothing to draw
    CSize size = GetSize();
    const RECT& clip = target->m_rcClip;
    // Positions far outside the target cannot meet its clip rectangle.
    std::int64_t l = std::max<std::int64_t>(x, clip.left);
    std::int64_t t = std::max<std::int64_t>(y, clip.top);
    std::int64_t r = std::min<std::int64_t>(std::int64_t{x} + size.cx, clip.right);
    std::int64_t b = std::min<std::int64_t>(std::int64_t{y} + size.cy, clip.bottom);
    if (l >= r || t >= b) return true;
    RECT dest{static_cast<LONG>(l), static_cast<LONG>(t), static_cast<LONG>(r),
              static_cast<LONG>(b)};
    RECT source{static_cast<LONG>(l - x), static_cast<LONG>(t - y), static_cast<LONG>(r - x),
                static_cast<LONG>(b - y)};
    DrawOnto(target->m_pMemDC.get(), dest, source);
    return true;
}

bool CDibPicture::StretchTo(CDibPicture* target, const RECT& dest, const RECT& source) {
    if (!m_bLoaded) return true;
    if (!target) return false;
    const int width = dest.right - dest.left, height = dest.bottom - dest.top;
    // An empty destination would make the temporary picture screen-sized.
    // (An empty source draws nothing into the black temporary picture.)
    if (width < 1 || height < 1) return true;
    CDibPicture scaled;
    CDC screen;
    if (!scaled.Create(width, height, screen.GetDeviceCaps(BITSPIXEL))) return false;
    CSize size(width, height);
    Draw(scaled.GetMemDC(), 0, 0, &size, &source);
    return scaled.DrawTo(target, dest.left, dest.top);
}

bool CDibPicture::Draw(CDC* dc, int x, int y, const CSize* size, const RECT* source) {
    if (!m_bLoaded) return true;
    if (!dc) return false;
    CSize whole = GetSize();
    CSize destSize = size ? *size : whole;
    RECT src = source ? *source : RECT{0, 0, whole.cx, whole.cy};
    auto clampLong = [](std::int64_t v) {
        return static_cast<LONG>(std::clamp<std::int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
    };
    RECT dest{clampLong(x), clampLong(y), clampLong(std::int64_t{x} + destSize.cx),
              clampLong(std::int64_t{y} + destSize.cy)};
    DrawOnto(dc, dest, src);
    return true;
}
