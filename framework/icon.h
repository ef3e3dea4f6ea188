// CIcon: owns one icon handle made for this program (not a shared one from LoadIcon),
// or none, and destroys it.
#pragma once

#include <windows.h>

class CIcon {
public:
    CIcon() = default;
    ~CIcon() { Attach(nullptr); }
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;

    // Takes over `icon`, destroying the one held until now.
    void Attach(HICON icon) {
        if (m_hIcon) ::DestroyIcon(m_hIcon);
        m_hIcon = icon;
    }
    operator HICON() const { return m_hIcon; }

private:
    HICON m_hIcon = nullptr;
};
