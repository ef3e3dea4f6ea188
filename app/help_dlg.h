// CHelpDlg: the fixed help text in a read-only box, in the font the main window's
// panes use at the moment it opens.
#pragma once

#include <string>

#include "framework/dialog.h"
#include "framework/edit.h"
#include "framework/font.h"

class CHelpDlg : public CDialog {
public:
    explicit CHelpDlg(CWnd* parent = nullptr);
    ~CHelpDlg() override;

    // Borrowed, not owned; when null the box keeps the dialog's font.
    CFont* helpFont = nullptr;
    CEdit helpTextBox;  // 1024

protected:
    MessageMap GetMessageMap() const override;
    void BindControls() override;
    BOOL OnInitDialog() override;

private:
    static const MessageMapEntry messageMap[];

    // The box's own copy of helpFont: the main window makes its font anew, and releases
    // the one it had, when its scale changes, which can happen while help is open.
    CFont textFont;
};

// The whole help text: its paragraphs with CR LF line ends and an empty line between
// each two.
std::string HelpText();
