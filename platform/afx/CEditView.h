// CEditView: a view that is a multi-line edit control, with the edit commands, find and replace
// through the modeless CFindReplaceDialog, and the text read and written raw or counted.
#pragma once

#include "afx/AfxControls.h"
#include "afx/CView.h"

class CArchive;
class CFindReplaceDialog;

class CEditView : public CView {
  DECLARE_DYNCREATE(CEditView)

 public:
  static const DWORD dwStyleDefault;

  CEditView() = default;
  ~CEditView() override;

  // The view's window is the edit control: the same object seen as one (CEdit adds no data).
  CEdit& GetEditCtrl() const { return *reinterpret_cast<CEdit*>(const_cast<CEditView*>(this)); }
  void GetSelectedText(CString& strResult) const;
  // The text as one string; valid until the text changes or UnlockBuffer.
  LPCTSTR LockBuffer() const;
  void UnlockBuffer() const;
  UINT GetBufferLength() const;
  void SetPrinterFont(CFont* pFont) { m_pPrinterFont = pFont; }
  CFont* GetPrinterFont() const { return m_pPrinterFont; }

  // The text as the file's bytes: written as they are, read from the whole file.
  void SerializeRaw(CArchive& ar);
  // The text with its length before it (a DWORD), as part of a larger archive.
  void Serialize(CArchive& ar) override;

  // Selects the next (or previous) match after the selection, wrapping around; FALSE when none.
  BOOL FindText(LPCTSTR lpszFind, BOOL bNext = TRUE, BOOL bCase = TRUE);
  virtual void OnFindNext(LPCTSTR lpszFind, BOOL bNext, BOOL bCase);
  // Replaces the selection when it is a match, then finds the next one.
  virtual void OnReplaceSel(LPCTSTR lpszFind, BOOL bNext, BOOL bCase, LPCTSTR lpszReplace);
  virtual void OnReplaceAll(LPCTSTR lpszFind, LPCTSTR lpszReplace, BOOL bCase);
  virtual void OnTextNotFound(LPCTSTR lpszFind);

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void OnDraw(CDC*) override {}

 protected:
  // Opens the Find (bFindOnly) or Replace dialog, or brings the open one forward.
  void OnEditFindReplace(BOOL bFindOnly);

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  afx_msg BOOL OnEditChange();
  afx_msg void OnEditCut();
  afx_msg void OnEditCopy();
  afx_msg void OnEditPaste();
  afx_msg void OnEditClear();
  afx_msg void OnEditUndo();
  afx_msg void OnEditSelectAll();
  afx_msg void OnEditFind();
  afx_msg void OnEditReplace();
  afx_msg void OnEditRepeat();
  afx_msg void OnUpdateNeedSel(CCmdUI* pCmdUI);
  afx_msg void OnUpdateNeedClip(CCmdUI* pCmdUI);
  afx_msg void OnUpdateNeedText(CCmdUI* pCmdUI);
  afx_msg void OnUpdateNeedFind(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
  afx_msg LRESULT OnFindReplaceCmd(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CFont* m_pPrinterFont = nullptr;
  mutable CString m_strShadow;  // what LockBuffer returns
};
