// The drawing half of the code editor: paints an editor model line by line in its colours with
// the controller's selection, whitespace glyphs and the gutter, keeps its origin on the character
// grid and turns each notification of the model into the smallest repaint it can.
#pragma once

#include "editor/ctl/SECEditController.h"
#include "editor/mvc/MvcViewport.h"

class SECEdit;
class SECEditColorInfo;
class ISECEditLangConfig;

constexpr UINT IDB_SECEDIT_GUTTER = 22500;

class SECEditViewport : public kelpwood::foundation::MvcViewport {
 public:
  SECEditViewport();
  ~SECEditViewport() override;
  SECEditViewport(const SECEditViewport&) = delete;
  SECEditViewport& operator=(const SECEditViewport&) = delete;

  void Draw(CDC* pDC) override;
  BOOL OnInitialize() override;
  CRect Scroll(int dx, int dy) override;
  // Mouse messages outside the bounds still reach the controller.
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void OnUpdate(kelpwood::foundation::ISubject* subject, kelpwood::foundation::IMessage* msg) override;
  // Makes the editor controller (owned).
  virtual BOOL CreateController();

  // ---- coordinates: a plain translation by the origin, which stays on the character grid ----
  CSize GetVirtualSize() override;
  CPoint SetLogOrigin(int x, int y) override;
  void LPtoDP(SIZE*) override {}
  void LPtoDP(RECT* rect) override;
  void LPtoDP(POINT* points, int n) override;
  void DPtoLP(SIZE*) override {}
  void DPtoLP(RECT* rect) override;
  void DPtoLP(POINT* points, int n) override;
  // Called after the origin or the extent changed; the view updates its scroll bars.
  virtual void UpdateScrollBars() {}

  // ---- the editor's own operations ----
  virtual CPoint OffsetOrigin(int dx, int dy);
  virtual SECEditFontInfo* GetFontInfo();
  virtual SECEdit* GetEditModel();
  virtual SECEditController* GetEditController();
  virtual ISECEditLangConfig* GetLangConfig();
  virtual void DrawGutterBackground(CDC* pDC, const RECT* rect);
  virtual void DrawGutter(CRect clip);
  virtual void DrawCircleMark(int line, CDC* pDC, CRect cell);
  virtual void DrawBookmarkMark(int line, CDC* pDC, CRect cell);
  virtual void DrawMarkUnder(int, CDC*, CRect) {}
  virtual void DrawLineMarks(int line, CDC* pDC, CRect cell);
  virtual void DrawLineNumber(int line, CDC* pDC, CRect cell);
  virtual void DrawMarkOver(int, CDC*, CRect) {}
  // Draws count bytes of a line from column at (lineLeft + x, y); returns the size drawn.
  virtual CSize DrawTextRun(CDC* pDC, int tabWidth, int x, int y, int lineLeft, LPCTSTR text, int count, int column,
                            int line, SECEditColorInfo* colours, BOOL bShowWhitespace, BOOL bSelected, int selFirst,
                            int selLast);
  virtual CSize OutputText(CDC* pDC, int tabWidth, int x, int y, int lineLeft, LPCTSTR text, int count,
                           COLORREF fore, COLORREF back);
  virtual void FillBackground(CDC* pDC, const RECT* rect, COLORREF colour);
  virtual void DrawDragSelection(CDC* pDC);
  virtual ISECEditPresentationState* GetPresentationState();

  // Repaints lines first..last (last -1: to the bottom) without erasing.
  void InvalidateLineRange(int first, int last);
  // The character width and line height of the model's font (0 without one).
  int GetCharWidth();
  int GetLineHeight();

 protected:
  // The view's scroll-bar update after a change of the whole area.
  void RepaintAll();

  CBrush* m_pGutterBrush = nullptr;
};
