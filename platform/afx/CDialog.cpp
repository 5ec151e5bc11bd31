// CDialog: template dialogs created through the dialog manager with the creation hook, so the
// object owns its window (and its message map sees every message) before WM_INITDIALOG.
#include "afx/CDialog.h"

#include <limits>
#include <optional>
#include <vector>

#include "afx/AfxConstants.h"
#include "afx/AfxResources.h"
#include "afx/CWinApp.h"
#include "afx/DataExchange.h"
#include "os/Help.h"
#include "res/ResourceTemplates.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
  ON_MESSAGE(WM_SETFONT, HandleSetFont)
  ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

namespace {

// The modal framework dialogs running on this thread, innermost last (null while a dialog's
// window is still to come), and the message filter that gives their windows' PreTranslateMessage
// the messages of the dialog loop.
thread_local std::vector<HWND> tModalDialogs;
thread_local HHOOK tMsgFilterHook = nullptr;

LRESULT CALLBACK ModalMsgFilter(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code == MSGF_DIALOGBOX && msg != nullptr && msg->hwnd != nullptr && !tModalDialogs.empty()) {
    HWND dialog = tModalDialogs.back();
    if (dialog != nullptr && (msg->hwnd == dialog || ::IsChild(dialog, msg->hwnd)) &&
        CWnd::WalkPreTranslateTree(dialog, msg))
      return 1;
  }
  return ::CallNextHookEx(tMsgFilterHook, code, wParam, lParam);
}

std::optional<brambolt::DialogTemplate> ReadTemplate(LPCTSTR lpszTemplateName, LPCDLGTEMPLATE lpTemplate) {
  if (lpTemplate != nullptr)
    return brambolt::ParseDialogTemplate(lpTemplate, static_cast<std::size_t>(std::numeric_limits<int>::max()));
  if (lpszTemplateName == nullptr) return std::nullopt;
  HINSTANCE instance = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
  HRSRC found = ::FindResource(instance, lpszTemplateName, RT_DIALOG);
  if (found == nullptr) return std::nullopt;
  const void* data = ::LockResource(::LoadResource(instance, found));
  if (data == nullptr) return std::nullopt;
  return brambolt::ParseDialogTemplate(data, ::SizeofResource(instance, found));
}

// Dialogs without a parent of their own belong to the main window.
HWND ParentOrMainWindow(CWnd* pParentWnd) {
  if (pParentWnd != nullptr && pParentWnd->GetSafeHwnd() != nullptr) return pParentWnd->GetSafeHwnd();
  CWnd* main = AfxGetMainWnd();
  return main != nullptr ? main->GetSafeHwnd() : nullptr;
}

}  // namespace

brambolt::afx::ModalPreTranslateScope::ModalPreTranslateScope(HWND dialog) : m_index(tModalDialogs.size()) {
  if (tModalDialogs.empty())
    tMsgFilterHook = ::SetWindowsHookEx(WH_MSGFILTER, ModalMsgFilter, nullptr, ::GetCurrentThreadId());
  tModalDialogs.push_back(dialog);
}

brambolt::afx::ModalPreTranslateScope::~ModalPreTranslateScope() {
  tModalDialogs.pop_back();
  if (tModalDialogs.empty() && tMsgFilterHook != nullptr) {
    ::UnhookWindowsHookEx(tMsgFilterHook);
    tMsgFilterHook = nullptr;
  }
}

void brambolt::afx::ModalPreTranslateScope::SetDialog(HWND dialog) { tModalDialogs[m_index] = dialog; }

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
  return pDlg != nullptr ? pDlg->OnInitDialog() : TRUE;
}

CDialog::CDialog() = default;

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {
  if (IS_INTRESOURCE(lpszTemplateName)) m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

// ---- creation ----

namespace {

// Makes pWnd the dialog window of a template; `modal` clears WS_CHILD, and WS_VISIBLE: a modal
// dialog shows once its loop has disabled its owner. When no window came into being, no
// WM_NCDESTROY will clean up after a modeless object: PostNcDestroy runs here.
BOOL CreateTemplateWindow(CWnd* pWnd, LPCTSTR lpszTemplateName, LPCDLGTEMPLATE lpTemplate, HWND hWndParent,
                          bool modal, HINSTANCE instance) {
  std::optional<brambolt::DialogTemplate> t = ReadTemplate(lpszTemplateName, lpTemplate);
  if (!t) return FALSE;
  if (modal) t->style &= ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE);
  AfxHookWindowCreate(pWnd);
  HWND hWnd = brambolt::CreateDialogFromTemplate(instance != nullptr ? instance : AfxGetInstanceHandle(), *t,
                                                 hWndParent, AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate() && !modal) pWnd->PostNcDestroy();
  return hWnd != nullptr;
}

}  // namespace

BOOL CDialog::CreateFromTemplate(LPCTSTR lpszTemplateName, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, bool modal) {
  return CreateTemplateWindow(this, lpszTemplateName, lpTemplate, hWndParent, modal, nullptr);
}

BOOL CWnd::CreateDlg(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
  return CreateTemplateWindow(this, lpszTemplateName, nullptr, pParentWnd->GetSafeHwnd(), false, nullptr);
}

BOOL CWnd::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
  if (lpDialogTemplate == nullptr) return FALSE;
  return CreateTemplateWindow(this, nullptr, lpDialogTemplate, pParentWnd->GetSafeHwnd(), false, hInst);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
  m_lpszTemplateName = lpszTemplateName;
  if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
    m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
  m_pParentWnd = pParentWnd;
  return CreateFromTemplate(lpszTemplateName, nullptr, ParentOrMainWindow(pParentWnd), false);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit) {
  m_lpDialogInit = lpDialogInit;
  m_pParentWnd = pParentWnd;
  return CreateFromTemplate(nullptr, lpDialogTemplate, ParentOrMainWindow(pParentWnd), false);
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd) {
  return CreateIndirect(static_cast<LPCDLGTEMPLATE>(::LockResource(hDialogTemplate)), pParentWnd);
}

// ---- modal ----

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit) {
  m_lpDialogTemplate = lpDialogTemplate;
  m_lpDialogInit = lpDialogInit;
  m_pParentWnd = pParentWnd;
  return lpDialogTemplate != nullptr;
}

BOOL CDialog::InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd) {
  return InitModalIndirect(static_cast<LPCDLGTEMPLATE>(::LockResource(hDialogTemplate)), pParentWnd);
}

HWND CDialog::ModalOwner() const {
  HWND parent = ParentOrMainWindow(m_pParentWnd);
  if (parent == nullptr || !::IsWindow(parent)) return nullptr;
  return ::GetAncestor(parent, GA_ROOT);
}

INT_PTR CDialog::DoModal() {
  HWND owner = ModalOwner();
  LPCTSTR name = m_lpDialogTemplate != nullptr ? nullptr : m_lpszTemplateName;
  m_nFlags |= WF_CONTINUEMODAL;
  const std::optional<brambolt::DialogTemplate> t = ReadTemplate(name, m_lpDialogTemplate);
  const bool bVisible = t && (t->style & WS_VISIBLE) != 0;
  if (!CreateFromTemplate(name, m_lpDialogTemplate, owner, true)) {
    m_nFlags &= ~static_cast<UINT>(WF_CONTINUEMODAL);
    return -1;
  }
  brambolt::afx::ModalPreTranslateScope scope(m_hWnd);
  // The loop destroys the window when it returns; WM_NCDESTROY detaches this object.
  const INT_PTR result = brambolt::RunModalDialog(m_hWnd, owner, bVisible);
  m_nFlags &= ~static_cast<UINT>(WF_CONTINUEMODAL);
  return result;
}

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

// ---- initialisation and the default buttons ----

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
  PreInitDialog();
  CRect before;
  GetWindowRect(&before);
  // The dialog procedure answers WM_INITDIALOG with OnInitDialog.
  const LRESULT result = Default();
  // A modal dialog that did not place itself while initialising stands centred over its owner,
  // not at its template's corner of the screen.
  if ((m_nFlags & WF_CONTINUEMODAL) && ::IsWindow(m_hWnd) && !(GetStyle() & WS_CHILD)) {
    CRect after;
    GetWindowRect(&after);
    if (after == before) CenterWindow();
  }
  return result;
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM) {
  OnSetFont(CFont::FromHandle(reinterpret_cast<HFONT>(wParam)));
  return Default();
}

BOOL CDialog::OnInitDialog() {
  BOOL initialised = m_lpDialogInit != nullptr ? ExecuteDlgInit(m_lpDialogInit) : ExecuteDlgInit(m_lpszTemplateName);
  if (!initialised) {
    EndDialog(-1);
    return FALSE;
  }
  UpdateData(FALSE);
  return TRUE;
}

BOOL CWnd::ExecuteDlgInit(LPCTSTR lpszResourceName) {
  if (lpszResourceName == nullptr) return TRUE;
  return brambolt::ExecuteDialogInitResource(m_hWnd, AfxFindResourceHandle(lpszResourceName, RT_DLGINIT),
                                             lpszResourceName);
}

BOOL CWnd::ExecuteDlgInit(LPVOID lpResource) {
  if (lpResource == nullptr) return TRUE;
  // Data in memory carries no size: it ends with its terminating zero id.
  return brambolt::ExecuteDialogInit(m_hWnd, lpResource, std::numeric_limits<std::size_t>::max() / 2);
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

// ---- focus, default button, units ----

void CDialog::NextDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 0, 0); }

void CDialog::PrevDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 1, 0); }

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
  ::SendMessage(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->GetSafeHwnd()), 1);
}

void CDialog::SetDefID(UINT nID) { ::SendMessage(m_hWnd, DM_SETDEFID, nID, 0); }

DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessage(m_hWnd, DM_GETDEFID, 0, 0)); }

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

// ---- messages and commands ----

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;  // tooltips
  // Only input goes through the dialog manager's keyboard and mouse handling.
  bool input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
               (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
  return input && m_hWnd != nullptr && ::IsDialogMessage(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  // Menu and button commands nobody in the dialog handles go on to the owner, then the thread.
  if ((static_cast<UINT>(nCode) != CN_COMMAND && static_cast<UINT>(nCode) != CN_UPDATE_COMMAND_UI) ||
      nID == 0 || nID >= 0xF000 || pHandlerInfo != nullptr)
    return FALSE;
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (CWnd* pOwner = owner != nullptr ? CWnd::FromHandlePermanent(owner) : nullptr)
    if (pOwner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (CWinThread* thread = AfxGetThread()) return thread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  return FALSE;
}

LRESULT CDialog::OnCommandHelp(WPARAM, LPARAM lParam) {
  // A dialog whose template was named after construction has the help of that template.
  UINT nIDHelp = m_nIDHelp;
  if (nIDHelp == 0 && m_lpDialogTemplate == nullptr && m_lpszTemplateName != nullptr && IS_INTRESOURCE(m_lpszTemplateName))
    nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(m_lpszTemplateName));
  if (lParam == 0 && nIDHelp != 0) lParam = static_cast<LPARAM>(HID_BASE_RESOURCE + nIDHelp);
  if (lParam == 0) return FALSE;
  if (CWinApp* pApp = AfxGetApp()) pApp->WinHelp(static_cast<DWORD_PTR>(lParam), HELP_CONTEXT);
  return TRUE;
}
