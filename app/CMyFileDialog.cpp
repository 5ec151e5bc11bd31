// The taller file dialog.
#include "app/CMyFileDialog.h"

#include "afx/AfxConstants.h"
#include "controls/FileDialog.h"

BEGIN_MESSAGE_MAP(CMyFileDialog, CFileDialog)
  ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

CMyFileDialog::CMyFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                             LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd) {}

namespace {

// A control's rectangle in its parent's client coordinates.
CRect ChildRect(HWND hParent, HWND hChild) {
  CRect rc;
  ::GetWindowRect(hChild, rc);
  ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(static_cast<LPRECT>(rc)), 2);
  return rc;
}

}  // namespace

BOOL CMyFileDialog::OnInitDialog() {
  // This object's window is the hook dialog inside the Explorer-style dialog.
  const HWND hDialog = ::GetParent(m_hWnd);
  const HWND hFileList = ::GetDlgItem(hDialog, lst1);
  if (hDialog != nullptr && hFileList != nullptr) {
    CRect rcDialog;
    ::GetWindowRect(hDialog, rcDialog);
    ::SetWindowPos(hDialog, nullptr, 0, 0, rcDialog.Width(), rcDialog.Height() + kExtraHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The name and type with their labels, OK and Cancel (and whatever else sits under the file
    // list) move down; the lists grow by the same amount.
    const int nListBottom = ChildRect(hDialog, hFileList).bottom;
    for (HWND hChild = ::GetWindow(hDialog, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
      if (hChild == m_hWnd) continue;
      const CRect rc = ChildRect(hDialog, hChild);
      const int nID = ::GetDlgCtrlID(hChild);
      if (nID == lst1 || nID == lst2)
        ::SetWindowPos(hChild, nullptr, 0, 0, rc.Width(), rc.Height() + kExtraHeight, SWP_NOMOVE | SWP_NOZORDER);
      else if (rc.top >= nListBottom)
        ::SetWindowPos(hChild, nullptr, rc.left, rc.top + kExtraHeight, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
  }
  return CFileDialog::OnInitDialog();
}

LRESULT CMyFileDialog::OnCommandHelp(WPARAM wParam, LPARAM lParam) {
  if (lParam == 0 && m_nIDHelpCommand != 0) lParam = static_cast<LPARAM>(HID_BASE_COMMAND + m_nIDHelpCommand);
  return CFileDialog::OnCommandHelp(wParam, lParam);
}
