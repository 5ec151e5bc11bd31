// MySECCustomStatusBar: the main frame's status bar. Every pane is owner-drawn (its text in its own
// colours and alignment, or a bitmap), panes may carry child windows, and pane 0 shows a progress
// bar behind a label while long work runs on the user-interface thread.
#pragma once

#include <memory>
#include <vector>

#include "afx/afx.h"
#include "bars/SECProgressCtrl.h"
#include "bars/SECStatusBar.h"

class MySECCustomStatusBar : public SECCustomStatusBar {
  DECLARE_DYNAMIC(MySECCustomStatusBar)

 public:
  // Bits of a pane description's mask; kAlign to kCursor are also the pane's drawing flags.
  enum : DWORD {
    kMaskID = 0x1,
    kMaskStyle = 0x2,
    kMaskWidth = 0x4,
    kMaskText = 0x8,
    kAlign = 0x10,      // the alignment is set
    kTextColor = 0x20,  // the text colour is set
    kBackColor = 0x40,  // the background is filled
    kBitmap = 0x80,     // the bitmap is drawn instead of the text
    kCursor = 0x100,    // the pane's cursor is shown over it
    kDrawFlags = kAlign | kTextColor | kBackColor | kBitmap | kCursor,
  };
  // Flags of a window placed in a pane.
  enum : UINT { kKeepWidth = 1, kKeepHeight = 2, kInsetOnePixel = 4 };
  // The progress bar's child id.
  static constexpr UINT kProgressID = 1;

  // How one pane is drawn.
  struct PaneDrawInfo {
    COLORREF clrText = 0;
    COLORREF clrBack = 0;
    CBitmap* pBitmap = nullptr;  // not owned
    HCURSOR hCursor = nullptr;
    UINT nTextAlign = TA_LEFT;  // the SetTextAlign value: TA_RIGHT, TA_CENTER, else left
    DWORD dwFlags = 0;
  };
  // A pane as GetPaneInfoEx gives it and SetPaneInfoEx applies it (the fields the mask names).
  struct PaneDescription {
    int nIndex = 0;
    UINT nID = 0;
    UINT nStyle = 0;
    int cxWidth = 0;
    CString strText;
    COLORREF clrText = 0;
    COLORREF clrBack = 0;
    CBitmap* pBitmap = nullptr;
    HCURSOR hCursor = nullptr;
    UINT nTextAlign = TA_LEFT;
    DWORD dwMask = 0;
  };

  MySECCustomStatusBar();
  ~MySECCustomStatusBar() override;

  // The base's panes, every one owner-drawn, with fresh drawing records and no pane windows.
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  // Draws one pane into rect: its bitmap, else its text (only pane 0 while progress shows).
  virtual void DrawPane(CDC* pDC, int nIndex, const CRect& rect);

  // FALSE for an index outside the panes.
  BOOL GetPaneInfoEx(PaneDescription& desc) const;
  // bAdjustHeight: a bitmap taller than the bar raises the bar's minimum height.
  BOOL SetPaneInfoEx(const PaneDescription& desc, BOOL bAdjustHeight = FALSE);
  const PaneDrawInfo* GetPaneDrawInfo(int nIndex) const;

  // Shows a progress bar in pane 0 after lpszLabel (pane 0 is kept and given back by EndProgress);
  // TRUE when the progress bar exists.
  virtual BOOL InitProgress(LPCTSTR lpszLabel, UINT nLower, UINT nUpper, BOOL bSetPos = FALSE,
                            DWORD dwProgressStyle = SECP_DEFAULT_STYLE);
  // Nothing without a progress bar. The bar is painted at once when it changes, at most every
  // kProgressPaintMs; between, it is only marked for painting, so that a long fill on this thread
  // does not spend its time drawing a bar no one can follow that fast.
  void SetProgressPos(int nPos);
  static constexpr DWORD kProgressPaintMs = 40;
  virtual void EndProgress();
  BOOL IsProgressShown() const { return m_pProgress != nullptr; }
  SECProgressCtrl* GetProgressCtrl() const { return m_pProgress.get(); }

  // A child window of the bar shown in a pane (nullptr takes it away); nFlags as kKeepWidth...
  BOOL SetPaneWindow(int nIndex, CWnd* pWnd, UINT nFlags = 0);
  // Null and 0 for an index outside the panes.
  CWnd* GetPaneWindow(int nIndex) const;
  UINT GetPaneWindowFlags(int nIndex) const;
  virtual void ShowPaneWindows(BOOL bShow);
  virtual void LayoutPaneWindows();
  // Every pane as wide as its text (or bitmap); the pane windows and the frame laid out again.
  void FitPanesToContents();

 protected:
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  // The width of a text in the bar's font.
  int TextWidth(const CString& strText) const;
  // The progress bar over pane 0 right of the label, or the pane windows, in their panes.
  void LayoutChildren();
  void PlaceProgress();
  bool ValidPane(int nIndex) const { return nIndex >= 0 && nIndex < static_cast<int>(m_pPaneData.size()); }

  std::unique_ptr<SECProgressCtrl> m_pProgress;
  std::unique_ptr<PaneDescription> m_pSavedPane;  // pane 0 before the progress label
  std::vector<PaneDrawInfo> m_pPaneData;
  std::vector<CWnd*> m_arrPaneWnds;
  std::vector<UINT> m_arrPaneWndFlags;
  int m_cxProgressLabel = 0;
  bool m_bProgressPainted = false;  // since InitProgress, at m_dwProgressPainted
  DWORD m_dwProgressPainted = 0;
};
