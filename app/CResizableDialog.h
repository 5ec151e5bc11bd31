// CResizableDialog: a dialog whose controls keep their places relative to anchor points of the
// client area (corners, edge middles, centre) while it is resized, with a size grip and limits
// on its track size; it can remember its placement in the profile.
#pragma once

#include "afx/CDialog.h"
#include "core/Lists.h"

class CResizableDialog : public CDialog {
 public:
  // The nine anchor points of the client area; for the bottom-right corner 0 keeps the size.
  enum { KEEP_SIZE = 0, TOP_LEFT = 1, TOP_CENTER, TOP_RIGHT, MIDDLE_LEFT, MIDDLE_CENTER, MIDDLE_RIGHT,
         BOTTOM_LEFT, BOTTOM_CENTER, BOTTOM_RIGHT };

  // One control's anchoring: its anchor types and its corners' distances from their anchors.
  struct Layout {
    HWND hWnd = nullptr;
    BOOL bAdjHScroll = FALSE;  // a list box whose horizontal scroll needs a look after a resize
    int nTypeTL = TOP_LEFT;
    int nOffsetLeft = 0, nOffsetTop = 0;
    int nTypeBR = KEEP_SIZE;
    int nOffsetRight = 0, nOffsetBottom = 0;
  };

  explicit CResizableDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  explicit CResizableDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  ~CResizableDialog() override;

  BOOL OnInitDialog() override;
  // FALSE for no window or a top-left type outside 1 to 9.
  BOOL AddAnchor(HWND hWnd, int nTypeTL, int nTypeBR = KEEP_SIZE);
  BOOL AddAnchor(UINT nID, int nTypeTL, int nTypeBR = KEEP_SIZE) {
    return AddAnchor(::GetDlgItem(m_hWnd, static_cast<int>(nID)), nTypeTL, nTypeBR);
  }
  void ShowSizeGrip(BOOL bShow);
  void SetMinTrackSize(const CSize& size);
  void SetMaxTrackSize(const CSize& size);
  void SetMaximizedRect(const CRect& rect);
  // Writes the window placement to the profile when the dialog is destroyed.
  void EnableSaveRestore(LPCTSTR pszSection, LPCTSTR pszEntry);

  // The anchoring of a control at `rect` in a client area of `client`.
  static Layout MakeLayout(int nTypeTL, int nTypeBR, const CRect& rect, const CSize& client);
  // Where an anchored control of `size` goes in a client area of `client`.
  static CRect ArrangeLayout(const Layout& layout, const CSize& client, const CSize& size);

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void RepositionControls();
  void UpdateGripRect();

  BOOL m_bShowGrip = TRUE;
  BOOL m_bUseMaxTrack = FALSE;
  CSize m_szMaxTrack{0, 0};
  BOOL m_bUseMinTrack = TRUE;
  CSize m_szMinTrack{0, 0};
  BOOL m_bUseMaxRect = FALSE;
  CPoint m_ptMaxPos{0, 0};
  CSize m_szMaxSize{0, 0};
  BOOL m_bEnableSaveRestore = FALSE;
  CString m_strSection;
  CString m_strEntry;
  BOOL m_bInitDone = FALSE;
  CSize m_szGripSize;
  CRect m_rcGripRect;
  CPtrList m_plLayoutList{10};
};
