#include "app/main_app.h"

#include "app/main_dlg.h"

CMainApp theApp;

BOOL CMainApp::InitInstance() {
    CMainDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // No message loop of our own: the program ends with the dialog.
    return FALSE;
}
