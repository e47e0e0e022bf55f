// Placeholder until the FreeType renderer lands.
#include "platform/text/Font.h"

namespace quillon {
namespace platform {
struct FontFace {};
CFont* DefaultGuiFont() {
    static CFont font;
    return &font;
}
int FontLineHeight(CFont*) { return 12; }
int LayoutText(CFont*, const CString&, int, int,
               const std::function<void(const GlyphImage&, int, int)>&) {
    return 0;
}
}  // namespace platform
}  // namespace quillon

CFont::CFont() = default;
CFont::~CFont() = default;
bool CFont::CreateFont(int, int, int, int, int, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE,
                       const char*) {
    return false;
}
void CFont::DeleteObject() { m_face.reset(); }
