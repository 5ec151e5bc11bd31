// The browse edit, its "..." button, and the edit that picks folders.
#include "SECBrowseEdit.h"

#include "SECDirSelectDlg.h"
#include "os/FileApi.h"
#include "os/Paths.h"

namespace {

// The picker's title of a folder browse edit.
constexpr UINT kSelectDirectoryString = 20625;
// The button takes the highest id the parent does not use.
constexpr UINT kHighestControlId = 32767;

}  // namespace

// ---- SECBrowseEditBase ----

BEGIN_MESSAGE_MAP(SECBrowseEditBase, CEdit)
  ON_WM_ENABLE()
  ON_WM_SHOWWINDOW()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

SECBrowseEditBase::SECBrowseEditBase() : m_pBrowseButton(nullptr) {}

SECBrowseEditBase::~SECBrowseEditBase() { DestroyButton(); }

void SECBrowseEditBase::DestroyButton() {
  if (m_pBrowseButton == nullptr) return;
  SECBrowseButton* pButton = m_pBrowseButton;
  m_pBrowseButton = nullptr;
  if (pButton->GetSafeHwnd() != nullptr) pButton->DestroyWindow();
  delete pButton;
}

BOOL SECBrowseEditBase::Initialize(UINT nID, CWnd* pParent) {
  if (pParent == nullptr || m_pBrowseButton != nullptr) return FALSE;
  const BOOL bEnabled = ::IsWindowEnabled(::GetDlgItem(pParent->GetSafeHwnd(), static_cast<int>(nID)));
  if (!SubclassDlgItem(nID, pParent)) return FALSE;
  m_pBrowseButton = new SECBrowseButton(this);
  if (!m_pBrowseButton->Create()) {
    DestroyButton();
    return FALSE;
  }
  m_pBrowseButton->EnableWindow(bEnabled);
  return TRUE;
}

void SECBrowseEditBase::OnBrowse() {}

void SECBrowseEditBase::OnEnable(BOOL bEnable) {
  CEdit::OnEnable(bEnable);
  if (m_pBrowseButton != nullptr && m_pBrowseButton->GetSafeHwnd() != nullptr) m_pBrowseButton->EnableWindow(bEnable);
}

void SECBrowseEditBase::OnShowWindow(BOOL bShow, UINT nStatus) {
  CEdit::OnShowWindow(bShow, nStatus);
  if (m_pBrowseButton != nullptr && m_pBrowseButton->GetSafeHwnd() != nullptr)
    m_pBrowseButton->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void SECBrowseEditBase::OnDestroy() {
  DestroyButton();
  CEdit::OnDestroy();
}

// ---- SECBrowseButton ----

BEGIN_MESSAGE_MAP(SECBrowseButton, CButton)
  ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

SECBrowseButton::SECBrowseButton(SECBrowseEditBase* pEdit) : m_pEdit(pEdit), m_nID(0) {}

BOOL SECBrowseButton::Create() {
  CWnd* pParent = m_pEdit != nullptr ? m_pEdit->GetParent() : nullptr;
  if (pParent == nullptr) return FALSE;
  CRect rcEdit;
  m_pEdit->GetWindowRect(&rcEdit);
  pParent->ScreenToClient(&rcEdit);
  m_pEdit->SetWindowPos(nullptr, 0, 0, rcEdit.Width() - kWidth, rcEdit.Height(),
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const CRect rcButton(rcEdit.right - (kWidth - 1), rcEdit.top, rcEdit.right, rcEdit.bottom);

  UINT nID = kHighestControlId;
  while (nID > 1 && ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) != nullptr) --nID;
  m_nID = nID;

  if (!CButton::Create("...", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rcButton, pParent, m_nID)) return FALSE;
  SetWindowPos(m_pEdit, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetFont(pParent->GetFont());
  return TRUE;
}

void SECBrowseButton::OnClicked() {
  if (m_pEdit != nullptr) m_pEdit->OnBrowse();
}

// ---- SECBrowseDirEdit ----

SECBrowseDirEdit::SECBrowseDirEdit() : m_wPickerMode(SECDirSelectDlg::kOldStyle) {
  m_csTitle.LoadString(kSelectDirectoryString);
}

CString SECBrowseDirEdit::InitialFolder(const CString& csText) {
  CString csFolder = csText;
  if (csFolder.IsEmpty()) return csFolder;
  const std::string_view text(csFolder, static_cast<std::size_t>(csFolder.GetLength()));
  // The root itself keeps its separator.
  if (text.size() > 1 && brambolt::IsPathSeparatorAt(text, text.size() - 1)) csFolder = csFolder.Left(csFolder.GetLength() - 1);
  // A drive stands for its root (the platform maps "X:\" there); the folder itself is tested.
  if (csFolder.Right(1) == ":") csFolder += '\\';
  const DWORD dwAttributes = ::GetFileAttributes(csFolder);
  if (dwAttributes == INVALID_FILE_ATTRIBUTES || !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) csFolder.Empty();
  return csFolder;
}

void SECBrowseDirEdit::OnBrowse() {
  CString csText;
  GetWindowText(csText);
  SECDirSelectDlg dlg(m_wPickerMode, m_csTitle, InitialFolder(csText), GetParent());
  if (dlg.DoModal() != IDOK) return;
  CString csPath;
  dlg.GetPathName(csPath);
  SetWindowText(csPath);
}
