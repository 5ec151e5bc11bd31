// The browse edit: a dialog's edit with a "..." button at its right end that opens a picker and
// writes the choice back; SECBrowseDirEdit picks folders.
#pragma once

#include "afx/AfxControls.h"

class SECBrowseButton;

class SECBrowseEditBase : public CEdit {
 public:
  SECBrowseEditBase();
  // Destroys the button when the edit's window outlived the object.
  ~SECBrowseEditBase() override;
  SECBrowseEditBase(const SECBrowseEditBase&) = delete;
  SECBrowseEditBase& operator=(const SECBrowseEditBase&) = delete;

  // Subclasses the dialog's edit nID and attaches the button, enabled like the edit; FALSE when
  // the edit cannot be subclassed or the button cannot be made.
  virtual BOOL Initialize(UINT nID, CWnd* pParent);
  // What the button does.
  virtual void OnBrowse();

  SECBrowseButton* m_pBrowseButton;
  CString m_csTitle;  // the picker's title

 protected:
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void DestroyButton();
};

class SECBrowseButton : public CButton {
 public:
  explicit SECBrowseButton(SECBrowseEditBase* pEdit);

  // Takes the rightmost 26 pixels of the edit (one left as a gap) under the parent's highest free
  // control id, after the edit in the tab order, in the parent's font.
  virtual BOOL Create();

  SECBrowseEditBase* m_pEdit;
  UINT m_nID;

  // The width the edit gives up.
  static constexpr int kWidth = 26;

 protected:
  // The parent reflects the click; the browse runs here and the parent never sees it.
  afx_msg void OnClicked();
  DECLARE_MESSAGE_MAP()
};

class SECBrowseDirEdit : public SECBrowseEditBase {
 public:
  // The title is string 20625 ("Select Directory").
  SECBrowseDirEdit();

  // Opens the folder picker at the folder the edit names (a drive at its root, anything that is
  // not a folder at the picker's own start) and puts the chosen folder into the edit.
  void OnBrowse() override;

  // Bit 0: the old-style file dialog on template 2000; clear: the shell's folder browser.
  WORD m_wPickerMode;

  // The folder the picker starts at for an edit's text: empty unless the text names a folder.
  static CString InitialFolder(const CString& csText);
};
