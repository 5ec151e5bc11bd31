// The editor view: creation of viewport and controller on the view's window, scroll bars and
// scrolling, resizing, drop-target calls handed to the controller, and split-pane synchronisation.
#include "editor/view/SECEditView.h"

#include "editor/model/SECEdit.h"
#include "editor/view/SECEditScrolling.h"
#include "ole/COleDropTarget.h"

using kelpwood::foundation::IMessage;
using kelpwood::foundation::ISubject;

// ---- the wrapper ----

template <class W, class V>
SECEditCtrlWrapper_T<W, V>::~SECEditCtrlWrapper_T() {
  if (m_bOwnsDropTarget) delete m_pDropTarget;
}

template <class W, class V>
BOOL SECEditCtrlWrapper_T<W, V>::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
  this->m_pWnd = this;
  this->SetContainer(nullptr);
  if (!W::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext)) return FALSE;
  const BOOL created = V::Create(this, nullptr);
  if (created && this->GetEditController() != nullptr) this->GetEditController()->SetModel(this->GetModel());
  return created;
}

template <class W, class V>
BOOL SECEditCtrlWrapper_T<W, V>::OnCreateWindow(LPCREATESTRUCT) {
  this->SetModel(GetViewModel());
  RegisterDropTarget();
  DWORD add = 0;
  if (this->GetScrollBarCtrl(SB_HORZ) == nullptr) add |= WS_HSCROLL;
  if (this->GetScrollBarCtrl(SB_VERT) == nullptr) add |= WS_VSCROLL;
  if (add != 0) this->ModifyStyle(0, add, SWP_FRAMECHANGED);
  return TRUE;
}

template <class W, class V>
BOOL SECEditCtrlWrapper_T<W, V>::PreTranslateMessage(MSG* pMsg) {
  SECEditController* controller = this->GetEditController();
  if (controller != nullptr && controller->PreTranslateMessage(pMsg)) return TRUE;
  return W::PreTranslateMessage(pMsg);
}

template <class W, class V>
COleDropTarget* SECEditCtrlWrapper_T<W, V>::CreateDropTarget(BOOL* pOwn) {
  *pOwn = TRUE;
  return new COleDropTarget;
}

template <class W, class V>
void SECEditCtrlWrapper_T<W, V>::RegisterDropTarget() {
  if (m_pDropTarget == nullptr) m_pDropTarget = CreateDropTarget(&m_bOwnsDropTarget);
  if (m_pDropTarget != nullptr) m_pDropTarget->Register(this);
}

template <class W, class V>
DROPEFFECT SECEditCtrlWrapper_T<W, V>::OnDragEnter(COleDataObject* pData, DWORD dwKeyState, CPoint point) {
  SECEditController* controller = this->GetEditController();
  return controller != nullptr ? controller->OnDragEnter(pData, dwKeyState, point) : DROPEFFECT_NONE;
}

template <class W, class V>
DROPEFFECT SECEditCtrlWrapper_T<W, V>::OnDragOver(COleDataObject* pData, DWORD dwKeyState, CPoint point) {
  SECEditController* controller = this->GetEditController();
  return controller != nullptr ? controller->OnDragOver(pData, dwKeyState, point) : DROPEFFECT_NONE;
}

template <class W, class V>
void SECEditCtrlWrapper_T<W, V>::OnDragLeave() {
  if (SECEditController* controller = this->GetEditController(); controller != nullptr) controller->OnDragLeave();
}

template <class W, class V>
BOOL SECEditCtrlWrapper_T<W, V>::OnDrop(COleDataObject* pData, DROPEFFECT dropEffect, CPoint point) {
  SECEditController* controller = this->GetEditController();
  return controller != nullptr && controller->OnDrop(pData, dropEffect, point);
}

template <class W, class V>
void SECEditCtrlWrapper_T<W, V>::OnInitialUpdate() {
  W::OnInitialUpdate();
  CRect client;
  this->GetClientRect(&client);
  this->SetSize(client.Width(), client.Height());
  UpdateScrollBars();
}

template <class W, class V>
typename SECEditCtrlWrapper_T<W, V>::Units SECEditCtrlWrapper_T<W, V>::GetUnits(bool vertical) {
  Units u{vertical ? GetLineHeight() : GetCharWidth(), 0, 0, 0};
  if (u.unit <= 0) return u;
  const CRect visible = this->GetVisibleLogRect();
  const CSize total = this->GetVirtualSize();
  SECEditController* controller = this->GetEditController();
  const int gutter = controller != nullptr ? controller->GetGutterWidth() : 0;
  u.pos = std::max(0, (vertical ? visible.top : visible.left)) / u.unit;
  u.page = vertical ? visible.Height() / u.unit : std::max(0, visible.Width() - gutter) / u.unit;
  const int count = (vertical ? total.cy : total.cx) / u.unit;
  u.last = std::max(0, count - u.page);
  return u;
}

template <class W, class V>
void SECEditCtrlWrapper_T<W, V>::UpdateScrollBars() {
  SECEditController* controller = this->GetEditController();
  if (controller == nullptr || this->GetSafeHwnd() == nullptr) return;
  const DWORD style = this->GetStyle();
  for (const bool vertical : {true, false}) {
    const int bar = vertical ? SB_VERT : SB_HORZ;
    if ((style & (vertical ? WS_VSCROLL : WS_HSCROLL)) == 0 && this->GetScrollBarCtrl(bar) == nullptr) continue;
    const Units u = GetUnits(vertical);
    if (u.unit <= 0) continue;
    const int count = u.last + u.page;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (this->GetScrollBarCtrl(bar) == nullptr || !AllowScrollBarHiding()) info.fMask |= SIF_DISABLENOSCROLL;
    if (u.page < count) {
      info.nMax = count - 1;
      info.nPage = static_cast<UINT>(u.page);
      info.nPos = u.pos;
    } else {
      // A text that fits: the bar shows no room to scroll and the view returns to its start.
      info.nMax = u.page;
      info.nPage = static_cast<UINT>(u.page + 1);
      info.nPos = 0;
      if (u.pos != 0 && !AllowScrollBarHiding()) ScrollByUnits(vertical, -u.pos);
    }
    this->SetScrollInfo(bar, &info, TRUE);
  }
}

template <class W, class V>
void SECEditCtrlWrapper_T<W, V>::ScrollByUnits(bool vertical, int delta) {
  const int bar = vertical ? SB_VERT : SB_HORZ;
  const Units u = GetUnits(vertical);
  this->SetScrollPos(bar, u.pos + delta, TRUE);
  m_bScrolling = TRUE;
  this->OffsetOrigin(vertical ? 0 : delta * u.unit, vertical ? delta * u.unit : 0);
  m_bScrolling = FALSE;
  SECEditController* controller = this->GetEditController();
  if (vertical) {
    this->ScrollWindow(0, -delta * u.unit);
  } else {
    CRect text;
    this->GetClientRect(&text);
    text.left += controller != nullptr ? controller->GetGutterWidth() : 0;
    this->ScrollWindow(-delta * u.unit, 0, &text, &text);
    if (controller != nullptr) controller->UpdateCaretState();
  }
  this->UpdateWindow();
}

template <class W, class V>
void SECEditCtrlWrapper_T<W, V>::OnScrollBar(bool vertical, UINT nSBCode) {
  const Units u = GetUnits(vertical);
  if (u.unit <= 0) return;
  const int thumb = kelpwood::editor::ScrollMessagePosition(this, vertical ? SB_VERT : SB_HORZ, nSBCode);
  const int delta = kelpwood::editor::ScrollDelta(nSBCode, u.pos, u.last, u.page, thumb);
  if (delta != 0) ScrollByUnits(vertical, delta);
}

template <class W, class V>
BOOL SECEditCtrlWrapper_T<W, V>::OnScroll(UINT nScrollCode, UINT, BOOL bDoScroll) {
  BOOL possible = FALSE;
  const UINT codes[2] = {nScrollCode & 0xFF, (nScrollCode >> 8) & 0xFF};
  for (int i = 0; i < 2; ++i) {
    const bool vertical = i == 1;
    if (codes[i] != SB_LINEUP && codes[i] != SB_LINEDOWN) continue;
    const Units u = GetUnits(vertical);
    possible = codes[i] == SB_LINEUP ? u.pos > 0 : u.pos < u.last;
    if (possible && bDoScroll) OnScrollBar(vertical, codes[i]);
  }
  return possible;
}

template <class W, class V>
void SECEditCtrlWrapper_T<W, V>::OnSizeWindow(UINT, int cx, int cy) {
  if (this->GetModel() != nullptr) {
    V::SetSize(cx, cy);
    UpdateScrollBars();
  }
  kelpwood::editor::RepaintResized(this, &m_rcLastClient);
}

template class SECEditCtrlWrapper_T<CView, SECEditViewport>;

// ---- the view ----

IMPLEMENT_DYNCREATE(SECEditView, CView)

BEGIN_MESSAGE_MAP(SECEditView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_VSCROLL()
  ON_WM_HSCROLL()
  ON_WM_PAINT()
  ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

BOOL SECEditView::PreCreateWindow(CREATESTRUCT& cs) {
  cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_IBEAM), nullptr, nullptr);
  return CView::PreCreateWindow(cs);
}

int SECEditView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CView::OnCreate(lpcs) == -1) return -1;
  OnCreateWindow(lpcs);
  return 0;
}

void SECEditView::OnPaint() {
  CPaintDC dc(this);
  Draw(&dc);
}

BOOL SECEditView::OnEraseBkgnd(CDC*) { return TRUE; }

void SECEditView::OnSize(UINT nType, int cx, int cy) {
  UpdateWindow();
  CView::OnSize(nType, cx, cy);
  OnSizeWindow(nType, cx, cy);
}

void SECEditView::OnVScroll(UINT nSBCode, UINT, CScrollBar*) { OnScrollBar(true, nSBCode); }

void SECEditView::OnHScroll(UINT nSBCode, UINT, CScrollBar*) { OnScrollBar(false, nSBCode); }

void SECEditView::OnUpdate(CView*, LPARAM, CObject*) { CWnd::Invalidate(TRUE); }

void SECEditView::FindSplitter() {
  CWnd* parent = GetParent();
  m_pSplitter = nullptr;
  if (parent == nullptr || !parent->IsKindOf(RUNTIME_CLASS(CSplitterWnd)) || (parent->GetStyle() & SPLS_DYNAMIC_SPLIT) == 0)
    return;
  m_pSplitter = static_cast<CSplitterWnd*>(parent);
  if (!m_pSplitter->IsChildPane(this, &m_nPaneRow, &m_nPaneCol)) m_pSplitter = nullptr;
}

void SECEditView::OnInitialUpdate() {
  SECEditViewWrapper_T::OnInitialUpdate();
  FindSplitter();
  if (m_pSplitter == nullptr || (m_nPaneRow == 0 && m_nPaneCol == 0)) return;
  auto paneView = [&](int row, int col) -> SECEditView* {
    CWnd* pane = m_pSplitter->GetPane(row, col);
    return pane != nullptr && pane->IsKindOf(RUNTIME_CLASS(SECEditView)) ? static_cast<SECEditView*>(pane) : nullptr;
  };
  if (paneView(0, 0) == nullptr) return;
  const CPoint own = GetLogOrigin();
  if (m_nPaneRow > 0) {
    if (SECEditView* above = paneView(0, m_nPaneCol); above != nullptr) SetLogOrigin(above->GetLogOrigin().x, own.y);
  }
  if (m_nPaneCol > 0) {
    if (SECEditView* left = paneView(m_nPaneRow, 0); left != nullptr) SetLogOrigin(GetLogOrigin().x, left->GetLogOrigin().y);
  }
}

CPoint SECEditView::SetLogOrigin(int x, int y) {
  const CPoint old = SECEditViewport::SetLogOrigin(x, y);
  if (m_pSplitter != nullptr && GetSafeHwnd() != nullptr) {
    m_pSplitter->IsChildPane(this, &m_nPaneRow, &m_nPaneCol);
    if (m_pSplitter->GetActivePane() == this && !m_bScrolling && m_pModel != nullptr) {
      SECEditMsg notice(SECEDIT_MSG_SPLITTER);
      m_pModel->UpdateAllObservers(this, &notice);
    }
  }
  return old;
}

void SECEditView::OnUpdate(ISubject* subject, IMessage* msg) {
  if (msg == nullptr || msg->GetTypeID() != SECEDIT_MSG_SPLITTER) {
    SECEditViewport::OnUpdate(subject, msg);
    return;
  }
  if (m_pSplitter == nullptr) return;
  int row = 0, col = 0;
  CWnd* active = m_pSplitter->GetActivePane(&row, &col);
  if (active == nullptr || active == this || !active->IsKindOf(RUNTIME_CLASS(SECEditView))) return;
  const CPoint theirs = static_cast<SECEditView*>(active)->GetLogOrigin();
  CPoint mine = GetLogOrigin();
  bool changed = false;
  if (col == m_nPaneCol && theirs.x != mine.x) {
    mine.x = theirs.x;
    changed = true;
  }
  if (row == m_nPaneRow && theirs.y != mine.y) {
    mine.y = theirs.y;
    changed = true;
  }
  if (!changed) return;
  SECEditViewport::SetLogOrigin(mine.x, mine.y);
  UpdateScrollBars();
  CWnd::Invalidate(TRUE);
}
