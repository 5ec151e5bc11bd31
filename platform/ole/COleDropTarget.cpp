// COleDropTarget: the drag's calls turned into the framework's handlers, with drag scrolling.
#include "ole/COleDropTarget.h"

#include "afx/CView.h"

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

int COleDropTarget::nScrollInset = 11;
UINT COleDropTarget::nScrollDelay = 50;
UINT COleDropTarget::nScrollInterval = 50;

namespace {

// An effect the source does not allow: a copy becomes a move or the other way round when that
// one is allowed, anything else no drop. The scroll bit stays.
DROPEFFECT Allowed(DROPEFFECT effect, DROPEFFECT allowed) {
  DROPEFFECT scroll = effect & DROPEFFECT_SCROLL;
  DROPEFFECT base = effect & ~DROPEFFECT_SCROLL;
  if ((base & allowed) == base) return effect;
  if (base == DROPEFFECT_COPY && (allowed & DROPEFFECT_MOVE)) return DROPEFFECT_MOVE | scroll;
  if (base == DROPEFFECT_MOVE && (allowed & DROPEFFECT_COPY)) return DROPEFFECT_COPY | scroll;
  return scroll;
}

CPoint ClientPoint(HWND hwnd, POINTL pt) {
  POINT p{pt.x, pt.y};
  ScreenToClient(hwnd, &p);
  return CPoint(p);
}

}  // namespace

// The drop target belongs to its window's object, not to the registration.
struct COleDropTarget::Interface final : brambolt::ole::ContainedInterface<IDropTarget, IID_IDropTarget> {
  explicit Interface(COleDropTarget* target) : owner(target) {}

  STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
    if (data == nullptr || effect == nullptr) return E_INVALIDARG;
    data->AddRef();
    if (owner->m_lpDataObject) owner->m_lpDataObject->Release();
    owner->m_lpDataObject = data;
    owner->scrollSince_ = 0;
    return Ask(keys, pt, effect, true);
  }
  STDMETHODIMP DragOver(DWORD keys, POINTL pt, DWORD* effect) override {
    if (effect == nullptr) return E_INVALIDARG;
    if (owner->m_lpDataObject == nullptr) {
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    return Ask(keys, pt, effect, false);
  }
  STDMETHODIMP DragLeave() override {
    if (CWnd* wnd = owner->Window()) owner->OnDragLeave(wnd);
    owner->scrollSince_ = 0;
    if (owner->m_lpDataObject) owner->m_lpDataObject->Release();
    owner->m_lpDataObject = nullptr;
    return S_OK;
  }
  STDMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
    if (data == nullptr || effect == nullptr) return E_INVALIDARG;
    COleDropTarget* target = owner;
    if (target->m_lpDataObject) target->m_lpDataObject->Release();
    target->m_lpDataObject = nullptr;
    target->scrollSince_ = 0;
    CWnd* wnd = target->Window();
    if (wnd == nullptr) {
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    data->AddRef();
    COleDataObject dataObject;  // holds the data until the handlers are done
    dataObject.Attach(data, TRUE);
    CPoint point = ClientPoint(wnd->m_hWnd, pt);
    DROPEFFECT allowed = *effect;
    DROPEFFECT dropDefault = Allowed(target->OnDragOver(wnd, &dataObject, keys, point), allowed) & ~DROPEFFECT_SCROLL;
    // The handlers may destroy the window and this target with it: nothing of either is used
    // after them.
    DROPEFFECT result = target->OnDropEx(wnd, &dataObject, dropDefault, allowed, point);
    if (result == static_cast<DROPEFFECT>(-1)) {
      if (dropDefault == DROPEFFECT_NONE) {
        target->OnDragLeave(wnd);
        result = DROPEFFECT_NONE;
      } else {
        result = target->OnDrop(wnd, &dataObject, dropDefault, point) ? dropDefault : DROPEFFECT_NONE;
      }
    }
    *effect = result;
    return S_OK;
  }

  HRESULT Ask(DWORD keys, POINTL pt, DWORD* effect, bool enter) {
    CWnd* wnd = owner->Window();
    if (wnd == nullptr) {
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    CPoint point = ClientPoint(wnd->m_hWnd, pt);
    bool scrolled = false;
    DROPEFFECT e = owner->Scroll(keys, point, &scrolled);
    if (!scrolled) {
      COleDataObject dataObject;
      dataObject.Attach(owner->m_lpDataObject, FALSE);
      e = enter ? owner->OnDragEnter(wnd, &dataObject, keys, point) : owner->OnDragOver(wnd, &dataObject, keys, point);
    }
    *effect = Allowed(e, *effect);
    return S_OK;
  }

  COleDropTarget* owner;
};

COleDropTarget::COleDropTarget() : interface_(new Interface(this)) {}

COleDropTarget::~COleDropTarget() {
  Revoke();
  if (m_lpDataObject) m_lpDataObject->Release();
  delete interface_;
}

BOOL COleDropTarget::Register(CWnd* pWnd) {
  if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr) return FALSE;
  if (FAILED(RegisterDragDrop(pWnd->m_hWnd, interface_))) return FALSE;
  m_hWnd = pWnd->m_hWnd;
  return TRUE;
}

void COleDropTarget::Revoke() {
  if (m_hWnd != nullptr) RevokeDragDrop(m_hWnd);
  m_hWnd = nullptr;
}

CWnd* COleDropTarget::Window() const {
  return m_hWnd != nullptr && IsWindow(m_hWnd) ? CWnd::FromHandle(m_hWnd) : nullptr;
}

DROPEFFECT COleDropTarget::Scroll(DWORD keys, CPoint point, bool* scrolled) {
  *scrolled = false;
  CRect client;
  GetClientRect(m_hWnd, &client);
  CRect inner = client;
  inner.DeflateRect(nScrollInset, nScrollInset);
  if (!client.PtInRect(point) || inner.PtInRect(point)) {
    scrollSince_ = 0;
    return DROPEFFECT_NONE;
  }
  // Tick 0 marks "outside", so a tick of 0 itself counts as 1.
  DWORD now = GetTickCount() | 1;
  if (scrollSince_ == 0) {
    scrollSince_ = now;
    lastScroll_ = now - nScrollInterval;
  }
  if (now - scrollSince_ < nScrollDelay || now - lastScroll_ < nScrollInterval) return DROPEFFECT_NONE;
  lastScroll_ = now;
  DROPEFFECT e = OnDragScroll(Window(), keys, point);
  *scrolled = (e & DROPEFFECT_SCROLL) != 0;
  return e;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  CView* view = dynamic_cast<CView*>(pWnd);
  return view ? view->OnDragEnter(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  CView* view = dynamic_cast<CView*>(pWnd);
  return view ? view->OnDragOver(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd* pWnd) {
  if (CView* view = dynamic_cast<CView*>(pWnd)) view->OnDragLeave();
}

BOOL COleDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
  CView* view = dynamic_cast<CView*>(pWnd);
  return view ? view->OnDrop(pDataObject, dropEffect, point) : FALSE;
}

DROPEFFECT COleDropTarget::OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                    DROPEFFECT dropList, CPoint point) {
  CView* view = dynamic_cast<CView*>(pWnd);
  return view ? view->OnDropEx(pDataObject, dropDefault, dropList, point) : static_cast<DROPEFFECT>(-1);
}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) {
  CView* view = dynamic_cast<CView*>(pWnd);
  return view ? view->OnDragScroll(dwKeyState, point) : DROPEFFECT_NONE;
}
