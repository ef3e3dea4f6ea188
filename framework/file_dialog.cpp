#include "framework/file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "framework/wide_text.h"

std::optional<std::string> AskFileToOpen(HWND owner, const std::string& title,
                                         std::string_view filter, const std::string& folder) {
    const std::wstring wideTitle = WideFromUtf8(title), wideFilter = WideFromUtf8(filter);
    const std::wstring wideFolder = WideFromUtf8(folder);
    // Room for the longest path there is, whatever the folder's depth.
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = wideFilter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrInitialDir = wideFolder.c_str();
    request.lpstrTitle = wideTitle.c_str();
    request.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&request)) return std::nullopt;
    return Utf8FromWide(file.data());
}
