// A bitmap font: one mask picture per character code (a byte), loaded from
// files named by a prefix, and a string drawing operation that aligns the
// text in a rectangle.
#pragma once

#include <quillon/platform/Arrays.h>
#include <quillon/platform/CString.h>
#include <quillon/platform/Geometry.h>
#include <quillon/platform/Types.h>

class CDibPicture;
class CMaskPicture;

class CBitmapFont {
public:
    // Loads prefix + name + ".bmp" for every code: the digits are named "0"
    // to "9", "/" is "slash" and every other code has the empty name.
    explicit CBitmapFont(const CString& prefix);
    virtual ~CBitmapFont();
    CBitmapFont(const CBitmapFont&) = delete;
    CBitmapFont& operator=(const CBitmapFont&) = delete;

    // Draws the text aligned in the rectangle (GetAlignedPos codes); a
    // character without a glyph is a 16 x 16 frame in the colour.
    bool DrawString(CDibPicture* target, COLORREF color, const CString& text, const RECT& rect,
                    int halign, int valign);

    // The glyph of a character code, or null.
    CMaskPicture* GetGlyph(BYTE code) const;
    // The file the glyph of a code is loaded from.
    static CString GlyphFile(const CString& prefix, BYTE code);

private:
    CPtrArray m_glyphs;
};
