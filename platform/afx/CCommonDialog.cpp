// CCommonDialog and the hook procedure that ties a platform common dialog to its framework object.
#include "afx/CCommonDialog.h"

#include "afx/AfxConstants.h"
#include "afx/AfxRes.h"

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)

BEGIN_MESSAGE_MAP(CCommonDialog, CDialog)
  ON_MESSAGE(WM_INITDIALOG, HandleCommonInitDialog)
END_MESSAGE_MAP()

namespace {

// The common dialog whose window is the next one its hook procedure sees (Explorer-style dialogs
// hook a child dialog that the platform creates after the dialog itself).
thread_local CCommonDialog* tAlternateInit = nullptr;

// The Help button of the common dialogs (pshHelp).
constexpr int kHelpButton = 0x040E;

// An Explorer-style dialog's framework object is the hook dialog inside it: help asked of the
// dialog around it (F1 on its own controls) is asked of the object.
constexpr const char* kOuterProc = "AfxCommonDialogOuterProc";
constexpr const char* kInnerDialog = "AfxCommonDialogInner";

LRESULT CALLBACK OuterDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(::GetProp(hWnd, kOuterProc));
  if (message == WM_COMMANDHELP) {
    const auto inner = static_cast<HWND>(::GetProp(hWnd, kInnerDialog));
    if (inner != nullptr && ::IsWindow(inner) && ::SendMessage(inner, WM_COMMANDHELP, wParam, lParam) != 0) return TRUE;
  } else if (message == WM_NCDESTROY && previous != nullptr) {
    ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    ::RemoveProp(hWnd, kOuterProc);
    ::RemoveProp(hWnd, kInnerDialog);
  }
  return previous != nullptr ? ::CallWindowProc(previous, hWnd, message, wParam, lParam) : 0;
}

}  // namespace

UINT_PTR CALLBACK AfxCommDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hWnd == nullptr) return 0;
  if (tAlternateInit != nullptr && CWnd::FromHandlePermanent(hWnd) == nullptr) {
    CCommonDialog* pDlg = tAlternateInit;
    tAlternateInit = nullptr;
    pDlg->SubclassWindow(hWnd);
  }
  auto* pDlg = dynamic_cast<CCommonDialog*>(CWnd::FromHandlePermanent(hWnd));
  if (message == WM_INITDIALOG) {
    if (pDlg != nullptr) {
      pDlg->m_bInitThroughHook = true;
      pDlg->DialogCreated(hWnd);
    }
    return static_cast<UINT_PTR>(AfxDlgProc(hWnd, message, wParam, lParam));
  }
  // The Help button gives the help of the dialog (its help id), else asks for help as ID_HELP.
  if (pDlg != nullptr && message == WM_COMMAND && LOWORD(wParam) == kHelpButton && HIWORD(wParam) == BN_CLICKED) {
    if (pDlg->SendMessage(WM_COMMANDHELP, 0, 0) == 0) pDlg->SendMessage(WM_COMMAND, ID_HELP);
    return 1;
  }
  return pDlg != nullptr ? pDlg->OnHookMessage(message, wParam, lParam) : 0;
}

CCommonDialog::CCommonDialog(CWnd* pParentWnd) { m_pParentWnd = pParentWnd; }

void CCommonDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  // The platform dialog checks and ends itself.
  Default();
}

void CCommonDialog::OnCancel() { Default(); }

UINT_PTR CCommonDialog::OnHookMessage(UINT, WPARAM, LPARAM) { return 0; }

LRESULT CCommonDialog::HandleCommonInitDialog(WPARAM wParam, LPARAM lParam) {
  m_bInitThroughHook = false;
  DialogCreated(m_hWnd);
  LRESULT result = HandleInitDialog(wParam, lParam);
  if (!m_bInitThroughHook) result = OnInitDialog();
  return result;
}

HWND CCommonDialog::PreModal(bool alternate) {
  HWND owner = ModalOwner();
  m_pModalScope = std::make_unique<brambolt::afx::ModalPreTranslateScope>();
  m_pOuterAlternate = tAlternateInit;
  if (alternate)
    tAlternateInit = this;
  else
    AfxHookWindowCreate(this);
  return owner;
}

void CCommonDialog::PostModal() {
  AfxUnhookWindowCreate();
  tAlternateInit = m_pOuterAlternate;
  m_pOuterAlternate = nullptr;
  m_pModalScope.reset();
}

void CCommonDialog::DialogCreated(HWND hWnd) {
  // An Explorer-style object has the child dialog; the loop runs for the dialog around it.
  const HWND hRoot = ::GetAncestor(hWnd, GA_ROOT);
  if (m_pModalScope != nullptr) m_pModalScope->SetDialog(hRoot);
  if (hRoot != nullptr && hRoot != hWnd && ::GetProp(hRoot, kOuterProc) == nullptr) {
    ::SetProp(hRoot, kInnerDialog, hWnd);
    ::SetProp(hRoot, kOuterProc,
              reinterpret_cast<HANDLE>(::SetWindowLongPtr(hRoot, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OuterDialogProc))));
  }
}
