// COleDropSource: the default drag decisions and the wait before a drag starts.
#include "ole/COleDropSource.h"

#include "win/ModalLoop.h"

IMPLEMENT_DYNAMIC(COleDropSource, CCmdTarget)

int COleDropSource::nDragMinDist = 2;
UINT COleDropSource::nDragDelay = 200;

namespace {
constexpr UINT_PTR kDragDelayTimer = 0xDD01;
}  // namespace

// The interface DoDragDrop calls; it lives as long as its drop source.
struct COleDropSource::Interface final : brambolt::ole::ContainedInterface<IDropSource, IID_IDropSource> {
  explicit Interface(COleDropSource* source) : owner(source) {}
  STDMETHODIMP QueryContinueDrag(BOOL escape, DWORD keys) override { return owner->QueryContinueDrag(escape, keys); }
  STDMETHODIMP GiveFeedback(DWORD effect) override { return owner->GiveFeedback(effect); }
  COleDropSource* owner;
};

COleDropSource::COleDropSource() : interface_(new Interface(this)) {}
COleDropSource::~COleDropSource() { delete interface_; }

LPDROPSOURCE COleDropSource::GetDropSource() { return interface_; }

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
  if (bEscapePressed || (dwKeyState & m_dwButtonCancel)) return DRAGDROP_S_CANCEL;
  if (!(dwKeyState & m_dwButtonDrop)) return DRAGDROP_S_DROP;
  return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

BOOL COleDropSource::OnBeginDrag(CWnd* pWnd) {
  m_bDragStarted = FALSE;
  POINT cursor;
  GetCursorPos(&cursor);
  HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
  if (!m_rectStartDrag.PtInRect(cursor) || hwnd == nullptr) {
    m_bDragStarted = TRUE;
    return TRUE;
  }
  enum { waiting, start, cancel } outcome = waiting;
  SetCapture(hwnd);
  SetTimer(hwnd, kDragDelayTimer, nDragDelay, nullptr);
  brambolt::ModalLoopOptions options;
  options.filterCode = MSGF_USER;
  options.preTranslate = [&](MSG& msg) {
    UINT buttonUp = m_dwButtonDrop == MK_RBUTTON ? WM_RBUTTONUP : WM_LBUTTONUP;
    if (msg.message == WM_TIMER && msg.hwnd == hwnd && msg.wParam == kDragDelayTimer) {
      outcome = start;
    } else if (msg.message == WM_MOUSEMOVE) {
      if (!m_rectStartDrag.PtInRect(msg.pt)) outcome = start;
    } else if (msg.message == buttonUp) {
      outcome = cancel;
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      outcome = cancel;
    } else if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
               (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)) {
      // Other input waits until the drag is decided.
    } else {
      return false;
    }
    return true;
  };
  options.done = [&] { return outcome != waiting || GetCapture() != hwnd; };
  brambolt::RunModalLoop(hwnd, options);
  KillTimer(hwnd, kDragDelayTimer);
  if (GetCapture() == hwnd) ReleaseCapture();
  m_bDragStarted = outcome == start;
  return m_bDragStarted;
}
