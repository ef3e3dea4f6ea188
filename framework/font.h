// CFont: owns one font handle, or none, and releases it.
#pragma once

#include <windows.h>

class CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    BOOL CreateFontIndirect(const LOGFONTA* description) {
        DeleteObject();
        m_hObject = ::CreateFontIndirectA(description);
        return m_hObject != nullptr;
    }
    void DeleteObject() {
        if (m_hObject) ::DeleteObject(m_hObject);
        m_hObject = nullptr;
    }
    // Takes over `font`, releasing the handle held until now.
    void Attach(HFONT font) {
        DeleteObject();
        m_hObject = font;
    }
    // Gives up the handle without releasing it; the caller owns it from then on.
    HFONT Detach() {
        HFONT font = m_hObject;
        m_hObject = nullptr;
        return font;
    }
    operator HFONT() const { return m_hObject; }

private:
    HFONT m_hObject = nullptr;
};
