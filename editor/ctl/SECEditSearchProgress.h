// The progress of a long search over the text (Replace All, Mark All, a Find that runs through
// the whole text): once it has run for about half a second, a small window shows how far it got
// and offers Cancel, while the window the search runs for takes no input.
#pragma once

#include <functional>

#include "afx/CDialog.h"

// The window: template 22710, a progress bar and Cancel.
constexpr UINT IDD_SECEDIT_SEARCH_PROGRESS = 22710;
constexpr UINT IDC_SECEDIT_SEARCH_PROGRESS_BAR = 1010;

class SECEditSearchProgress {
 public:
  // Milliseconds from some fixed moment; tests put a clock of their own in its place (an empty
  // one puts the steady clock back). Returns the one it replaced.
  using Clock = std::function<ULONGLONG()>;
  static Clock SetClock(Clock clock);

  // `owner` is any window of the editor; its top-level window is the one disabled while the
  // progress shows. `caption` names the search.
  SECEditSearchProgress(HWND owner, LPCTSTR caption);
  ~SECEditSearchProgress();
  SECEditSearchProgress(const SECEditSearchProgress&) = delete;
  SECEditSearchProgress& operator=(const SECEditSearchProgress&) = delete;

  // Between two steps of the search, `done` of `total` (any unit): shows the window once the
  // search is long, moves its bar and lets it answer. FALSE once the user cancelled.
  BOOL Continue(long long done, long long total);
  BOOL IsCancelled() const { return m_bCancelled; }

 private:
  class Window : public CDialog {
   public:
    explicit Window(BOOL* cancelled) : m_pCancelled(cancelled) {}
    void OnCancel() override { *m_pCancelled = TRUE; }
    void OnOK() override {}

   private:
    BOOL* m_pCancelled;
  };
  void Show();
  void Pump();

  HWND m_hOwner;
  CString m_strCaption;
  ULONGLONG m_ulStart;
  ULONGLONG m_ulLastPump = 0;
  BOOL m_bCancelled = FALSE;
  HWND m_hDisabled = nullptr;
  Window m_window{&m_bCancelled};
};
