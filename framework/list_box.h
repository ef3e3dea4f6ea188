// CListBox: the list-box operations the program performs.
#pragma once

#include "framework/wnd.h"

class CListBox : public CWnd {
public:
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    // Room for `rows` more rows holding `bytes` of text, asked for once before a fill.
    void InitStorage(int rows, size_t bytes) {
        SendMessage(LB_INITSTORAGE, static_cast<WPARAM>(rows), static_cast<LPARAM>(bytes));
    }
    int AddString(const std::string& text) {
        return static_cast<int>(
            SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    // Puts the row in at `row`, the rows from there on moving down one.
    int InsertString(int row, const std::string& text) {
        return static_cast<int>(
            SendMessage(LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int SetItemData(int row, LPARAM data) {
        return static_cast<int>(SendMessage(LB_SETITEMDATA, row, data));
    }
    LPARAM GetItemData(int row) const { return SendMessage(LB_GETITEMDATA, row); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    // -1 removes the selection. Sends no LBN_SELCHANGE.
    int SetCurSel(int row) { return static_cast<int>(SendMessage(LB_SETCURSEL, row)); }
    int DeleteString(int row) { return static_cast<int>(SendMessage(LB_DELETESTRING, row)); }
    // The row shown at the top, and scrolling so that a row is.
    int GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }
    int SetTopIndex(int row) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, row)); }
};
