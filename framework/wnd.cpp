#include "framework/wnd.h"

std::string CWnd::GetWindowText() const {
    // The length is an upper bound for multibyte texts; the copy says how much there is.
    int length = ::GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = ::GetWindowTextA(m_hWnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void CWnd::SetWindowTextIfChanged(const std::string& text) {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    if (length >= 0 && static_cast<size_t>(length) == text.size() && GetWindowText() == text)
        return;
    SetWindowText(text);
}
