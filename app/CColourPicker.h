// CColourPicker: an owner-drawn button that shows a colour with a drop-down arrow and opens a
// CColourPopup; it forwards the popup's notifications (CPN_*) to its parent with its control id.
#pragma once

#include "afx/AfxControls.h"
#include "afx/DataExchange.h"
#include "app/CColourPopup.h"

class CColourPicker : public CButton {
  DECLARE_DYNCREATE(CColourPicker)

 public:
  CColourPicker();

  // The text colour in selection mode 1, else the background colour.
  COLORREF GetColour() const { return m_nSelectionMode == CP_MODE_TEXT ? m_crColourText : m_crColourBk; }
  void SetColour(COLORREF crColour);
  COLORREF GetBkColour() const { return m_crColourBk; }
  void SetBkColour(COLORREF crColourBk);
  COLORREF GetTextColour() const { return m_crColourText; }
  void SetTextColour(COLORREF crColourText);
  void SetDefaultText(LPCTSTR szDefaultText) { m_strDefaultText = szDefaultText != nullptr ? szDefaultText : ""; }
  void SetCustomText(LPCTSTR szCustomText) { m_strCustomText = szCustomText != nullptr ? szCustomText : ""; }
  // With tracking on, the button shows each colour the popup's pointer passes over.
  void SetTrackSelection(BOOL bTracking = TRUE) { m_bTrackSelection = bTracking; }
  BOOL GetTrackSelection() const { return m_bTrackSelection; }
  // CP_MODE_TEXT makes the chosen colour the text colour; anything else the background colour.
  void SetSelectionMode(UINT nMode) { m_nSelectionMode = static_cast<int>(nMode); }
  UINT GetSelectionMode() const { return static_cast<UINT>(m_nSelectionMode); }
  BOOL IsPopupActive() const { return m_bActive; }
  CRect GetArrowRect() const { return m_ArrowRect; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

  enum { CP_MODE_TEXT = 1, CP_MODE_BK = 2 };

 protected:
  void PreSubclassWindow() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnClicked();
  afx_msg LRESULT OnSelEndOK(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSelEndCancel(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSelChange(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // Height from the arrow's size, width at least two arrows; the arrow sits at the right.
  void SetWindowSize();
  void Notify(UINT nMessage, COLORREF crColour);
  void RedrawNow();

  BOOL m_bActive = FALSE;
  BOOL m_bTrackSelection = FALSE;
  COLORREF m_crColourBk;
  COLORREF m_crColourText;
  int m_nSelectionMode = CP_MODE_BK;
  CRect m_ArrowRect;
  CString m_strDefaultText = "Automatic";
  CString m_strCustomText = "More Colours...";
};

// Moves a picker's colour to the value on load and back on save.
void DDX_ColourPicker(CDataExchange* pDX, int nIDC, COLORREF& crColour);
