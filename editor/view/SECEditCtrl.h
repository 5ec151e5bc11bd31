// The child-window form of the code editor, for dialogs and other windows: a window that hosts
// an editor viewport with its controller and model, its scroll bars, and focus notices to its
// parent.
#pragma once

#include <memory>

#include "editor/view/SECEditViewport.h"

class SECEditCtrl : public CWnd {
  DECLARE_DYNAMIC(SECEditCtrl)

 public:
  SECEditCtrl();
  ~SECEditCtrl() override;

  // Shows `model` (not owned) instead of a model of the window's own; call before Create.
  void SetEditModel(SECEdit* model) { m_pModel = model; }
  SECEdit* GetEditModel() { return m_pModel; }
  SECEditViewport* GetViewport() { return &m_viewport; }
  SECEditController* GetController() { return m_viewport.GetEditController(); }

  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Brings the scroll bars in step with the viewport's origin and the text's size.
  void UpdateScrollBars();

 protected:
  // The window's own model when none was given: an empty document.
  virtual SECEdit* CreateModel();

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg UINT OnGetDlgCode();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  DECLARE_MESSAGE_MAP()

 private:
  // The viewport tells the window when its origin or extent changed.
  class Viewport : public SECEditViewport {
   public:
    explicit Viewport(SECEditCtrl* owner) : m_pOwner(owner) {}
    void UpdateScrollBars() override { m_pOwner->UpdateScrollBars(); }

   private:
    SECEditCtrl* m_pOwner;
  };
  void Scroll(int bar, UINT code);
  void NotifyParent(WORD code);

  // The window's own model outlives the viewport, which leaves it as an observer on its way.
  std::unique_ptr<SECEdit> m_pOwnModel;
  Viewport m_viewport{this};
  SECEdit* m_pModel = nullptr;
  CRect m_rcLastClient{0, 0, 0, 0};
};
