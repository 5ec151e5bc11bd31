// CWindowDlg: the "Windows" dialog of the main frame: the document windows listed by title, with
// buttons that activate, save, close, minimise, cascade or tile the selected ones.
#pragma once

#include "afx/AfxControls.h"
#include "app/CResizableDialog.h"

class CMDIFrameWnd;

class CWindowDlg : public CResizableDialog {
 public:
  explicit CWindowDlg(CMDIFrameWnd* pMDIFrame);

  // Which buttons a selection of nSelected windows enables: Close, Save and Minimize need one,
  // Cascade and the two Tiles two, Activate exactly one.
  struct ButtonStates {
    BOOL bActivate, bSave, bClose, bMinimize, bCascade, bTile;
  };
  static ButtonStates StatesFor(int nSelected);

 protected:
  BOOL OnInitDialog() override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

  // Lists the MDI client's children in window order, each with its handle as item data.
  void FillWindowList();
  // Selects only the MDI client's active child.
  void SelectActiveWindow();
  void UpdateButtons();
  // Fill, select and update: what every action that changes the windows ends with.
  void Refresh();
  HWND ItemWindow(int nIndex) const;
  // Restores the selected windows and minimises the others, then sends nMessage to the client.
  void Arrange(UINT nMessage, WPARAM wParam);

  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg void OnSelChange();
  afx_msg void OnActivate();
  afx_msg void OnSave();
  afx_msg void OnCloseWindows();
  afx_msg void OnMinimize();
  afx_msg void OnCascade();
  afx_msg void OnTileHorz();
  afx_msg void OnTileVert();
  DECLARE_MESSAGE_MAP()

  CMDIFrameWnd* m_pMDIFrame;
  CListBox m_wndList;
};
