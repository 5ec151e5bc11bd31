// Hyperlink statics: a link's text in the link, visited or hover colour, a hand cursor and a
// tooltip with the target, opened with the shell on a click. CCJHyperLink is the configurable one
// (virtual setters, sized to its text); CHyperLink the plain one of the About box.
#pragma once

#include "afx/AfxCommonControls.h"
#include "afx/AfxControls.h"
#include "afx/GdiObjects.h"

// What both link controls share: their state, drawing, hover tracking and opening.
class CHyperLinkBase : public CStatic {
 public:
  CHyperLinkBase();
  ~CHyperLinkBase() override;

  // The browser command line for a URL from an ".htm" open command: cut where "%1" (quoted or
  // not) first stands, then a blank and the URL.
  static CString BuildBrowserCommand(const CString& strCommand, LPCTSTR lpszURL);
  // The explanation of a shell error code, after the prefix.
  static CString ErrorText(int nError);

 protected:
  // The prefix of the error box ("Unable to open hyperlink:\n\n" or the Chinese one).
  virtual CString ErrorPrefix() const = 0;
  // Called at the end of subclassing and whenever the text or settings change the size.
  virtual void AdjustWindow() {}
  // The class's own opening, visited marking and error report, which a click runs.
  virtual int Open(LPCTSTR lpszURL, int nShowCmd) = 0;
  virtual void MarkVisited() = 0;
  virtual void Report(int nError) { ShowError(nError); }

  // Opens the URL: the shell first, then the ".htm" class's browser; a value above 32 on success.
  int OpenURL(LPCTSTR lpszURL, int nShowCmd);
  void ShowError(int nError);
  LONG ReadClassesRootValue(LPCTSTR lpszSubKey, CString& strValue);
  void LoadHandCursor();
  void BuildFont();
  void Redraw();
  void StoreColors(COLORREF crLinkColour, COLORREF crVisitedColour, COLORREF crHoverColour);
  void StoreVisited(BOOL bVisited);

  void PreSubclassWindow() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  afx_msg void OnClicked();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

  COLORREF m_crLinkColour = RGB(0, 0, 238);
  COLORREF m_crVisitedColour = RGB(85, 26, 139);
  COLORREF m_crHoverColour;
  BOOL m_bOverControl = FALSE;
  BOOL m_bVisited = FALSE;
  BOOL m_bUnderline = TRUE;
  BOOL m_bAdjustToFit = TRUE;
  CString m_strURL;
  CFont m_Font;
  HCURSOR m_hLinkCursor = nullptr;
  CToolTipCtrl m_ToolTip;
};

class CCJHyperLink : public CHyperLinkBase {
 public:
  virtual void SetURL(CString strURL);
  virtual CString GetURL() const { return m_strURL; }
  // A hover colour of -1 takes the system highlight colour.
  virtual void SetColors(COLORREF crLinkColour, COLORREF crVisitedColour, COLORREF crHoverColour = static_cast<COLORREF>(-1));
  virtual COLORREF GetLinkColor() const { return m_crLinkColour; }
  virtual COLORREF GetVisitedColor() const { return m_crVisitedColour; }
  virtual COLORREF GetHoverColor() const { return m_crHoverColour; }
  virtual void SetVisited(BOOL bVisited = TRUE);
  virtual BOOL GetVisited() const { return m_bVisited; }
  // NULL takes the default hand cursor.
  virtual void SetLinkCursor(HCURSOR hCursor);
  virtual HCURSOR GetLinkCursor() const { return m_hLinkCursor; }
  virtual void SetUnderline(BOOL bUnderline = TRUE);
  virtual BOOL GetUnderline() const { return m_bUnderline; }
  virtual void SetAutoSize(BOOL bAutoSize = TRUE);
  virtual BOOL GetAutoSize() const { return m_bAdjustToFit; }
  // The shell's result: above 32 on success.
  virtual int GotoURL(LPCTSTR lpszURL, int nShowCmd) { return OpenURL(lpszURL, nShowCmd); }
  virtual void ReportError(int nError) { ShowError(nError); }
  virtual LONG GetRegKey(HKEY hKey, LPCTSTR lpszSubKey, LPTSTR lpszRetData);
  // Sizes the window to its text (when auto-size is on), honouring SS_CENTERIMAGE, SS_CENTER and
  // SS_RIGHT.
  virtual void PositionWindow();
  virtual void SetDefaultCursor() { LoadHandCursor(); }

 protected:
  CString ErrorPrefix() const override { return "Unable to open hyperlink:\n\n"; }
  void AdjustWindow() override { PositionWindow(); }
  int Open(LPCTSTR lpszURL, int nShowCmd) override { return GotoURL(lpszURL, nShowCmd); }
  void MarkVisited() override { SetVisited(TRUE); }
  void Report(int nError) override { ReportError(nError); }
};

class CHyperLink : public CHyperLinkBase {
 public:
  // Stores the URL and updates the tooltip; the window keeps its size.
  void SetURL(CString strURL);
  CString GetURL() const { return m_strURL; }
  void SetColors(COLORREF crLinkColour, COLORREF crVisitedColour, COLORREF crHoverColour = static_cast<COLORREF>(-1));
  void SetVisited(BOOL bVisited = TRUE);
  BOOL GetVisited() const { return m_bVisited; }
  void SetAutoSize(BOOL bAutoSize = TRUE) { m_bAdjustToFit = bAutoSize; }
  int GotoURL(LPCTSTR lpszURL, int nShowCmd) { return OpenURL(lpszURL, nShowCmd); }

 protected:
  CString ErrorPrefix() const override;
  int Open(LPCTSTR lpszURL, int nShowCmd) override { return GotoURL(lpszURL, nShowCmd); }
  void MarkVisited() override { SetVisited(TRUE); }
};
