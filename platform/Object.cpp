#include <quillon/platform/Window.h>

#include <cstdio>

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), nullptr};

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass) {
        if (c == base) return true;
    }
    return false;
}

CDumpContext& CDumpContext::operator<<(const char* text) {
    if (text != nullptr) m_text += text;
    return *this;
}

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

void CObject::Serialize(CArchive& /*ar*/) {}

void CObject::AssertValid() const {}

void CObject::Dump(CDumpContext& dc) const {
    char at[32];
    std::snprintf(at, sizeof at, "%p", static_cast<const void*>(this));
    dc << "a " << GetRuntimeClass()->m_lpszClassName << " at " << at << "\n";
}

bool CObject::IsKindOf(const CRuntimeClass* c) const {
    return c != nullptr && GetRuntimeClass()->IsDerivedFrom(c);
}
