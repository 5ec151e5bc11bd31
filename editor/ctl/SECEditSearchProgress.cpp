// The progress window of long searches: shown after half a second, pumped between the steps of
// the search at a rate a person can follow, cancelled by its button or Esc.
#include "editor/ctl/SECEditSearchProgress.h"

#include <algorithm>
#include <chrono>

#include "controls/CommCtrl.h"

namespace {

// How long a search runs before it shows its progress, and how often the window answers then.
constexpr ULONGLONG kShowAfterMs = 500;
constexpr ULONGLONG kPumpEveryMs = 50;

SECEditSearchProgress::Clock& TheClock() {
  static SECEditSearchProgress::Clock clock;
  return clock;
}

ULONGLONG Now() {
  if (TheClock()) return TheClock()();
  return static_cast<ULONGLONG>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

}  // namespace

SECEditSearchProgress::Clock SECEditSearchProgress::SetClock(Clock clock) {
  Clock old = std::move(TheClock());
  TheClock() = std::move(clock);
  return old;
}

SECEditSearchProgress::SECEditSearchProgress(HWND owner, LPCTSTR caption)
    : m_hOwner(owner), m_strCaption(caption), m_ulStart(Now()) {}

SECEditSearchProgress::~SECEditSearchProgress() {
  // The owner takes input again before the window goes, so that activation returns to it.
  if (m_hDisabled != nullptr && ::IsWindow(m_hDisabled)) ::EnableWindow(m_hDisabled, TRUE);
  if (m_window.GetSafeHwnd() != nullptr) m_window.DestroyWindow();
}

BOOL SECEditSearchProgress::Continue(long long done, long long total) {
  if (m_bCancelled) return FALSE;
  const ULONGLONG now = Now();
  if (m_window.GetSafeHwnd() == nullptr) {
    if (now - m_ulStart < kShowAfterMs) return TRUE;
    Show();
  } else if (now - m_ulLastPump < kPumpEveryMs) {
    return TRUE;
  }
  m_ulLastPump = now;
  if (m_window.GetSafeHwnd() != nullptr && total > 0) {
    const long long permille = std::min<long long>(1000, done * 1000 / total);
    m_window.SendDlgItemMessage(IDC_SECEDIT_SEARCH_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(permille), 0);
  }
  Pump();
  return !m_bCancelled;
}

void SECEditSearchProgress::Show() {
  HWND top = m_hOwner;
  while (top != nullptr && (::GetWindowLong(top, GWL_STYLE) & WS_CHILD) && ::GetParent(top) != nullptr)
    top = ::GetParent(top);
  if (!m_window.Create(IDD_SECEDIT_SEARCH_PROGRESS, CWnd::FromHandle(top))) return;
  // A modeless window is left where its template puts it: it is placed over the editor's window
  // as the editor's other boxes are, before it shows.
  m_window.CenterWindow();
  m_window.SetWindowText(m_strCaption);
  m_window.SendDlgItemMessage(IDC_SECEDIT_SEARCH_PROGRESS_BAR, PBM_SETRANGE32, 0, 1000);
  m_window.ShowWindow(SW_SHOW);
  if (top != nullptr && ::IsWindowEnabled(top)) {
    ::EnableWindow(top, FALSE);
    m_hDisabled = top;
  }
  m_window.UpdateWindow();
}

void SECEditSearchProgress::Pump() {
  MSG msg;
  while (!m_bCancelled && ::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The program is ending: the search stops and the quit goes on to the loop that ends it.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      m_bCancelled = TRUE;
      break;
    }
    if (m_window.GetSafeHwnd() != nullptr && ::IsDialogMessage(m_window.m_hWnd, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
}
