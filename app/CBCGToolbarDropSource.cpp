// The Project Explorer's drop source: the application's drag cursor for every effect.
#include "app/CBCGToolbarDropSource.h"

#include "resources/ExplorerRes.h"

IMPLEMENT_DYNAMIC(CBCGToolbarDropSource, COleDropSource)

CBCGToolbarDropSource::CBCGToolbarDropSource() = default;

CBCGToolbarDropSource::~CBCGToolbarDropSource() {
  for (HCURSOR hCursor : {m_hcurDelete, m_hcurMove, m_hcurCopy})
    if (hCursor != nullptr) ::DestroyCursor(hCursor);
}

CBCGToolbarDropSource& CBCGToolbarDropSource::Shared() {
  // Made on first use and kept to the end of the process: its cursors must not be freed after
  // the platform's own tables at exit.
  static auto* source = new CBCGToolbarDropSource;
  return *source;
}

SCODE CBCGToolbarDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
  if (m_bDeleteOnDrop && m_hcurDelete != nullptr) ::SetCursor(m_hcurDelete);
  m_bEscapePressed = bEscapePressed;
  return COleDropSource::QueryContinueDrag(bEscapePressed, dwKeyState);
}

SCODE CBCGToolbarDropSource::GiveFeedback(DROPEFFECT dropEffect) {
  HCURSOR hCursor = dropEffect == DROPEFFECT_COPY ? m_hcurCopy
                    : dropEffect == DROPEFFECT_MOVE ? m_hcurMove
                                                    : m_hcurDelete;
  if (hCursor == nullptr) return COleDropSource::GiveFeedback(dropEffect);
  ::SetCursor(hCursor);
  return S_OK;
}

BOOL CBCGToolbarDropSource::OnBeginDrag(CWnd* pWnd) {
  if (m_hcurDelete == nullptr) {
    HINSTANCE hInstance = AfxGetResourceHandle();
    m_hcurDelete = ::LoadCursor(hInstance, MAKEINTRESOURCE(IDC_DRAG_FILE));
    m_hcurMove = ::LoadCursor(hInstance, MAKEINTRESOURCE(IDC_DRAG_FILE));
    m_hcurCopy = ::LoadCursor(hInstance, MAKEINTRESOURCE(IDC_DRAG_FILE));
  }
  m_bDragStarted = TRUE;
  return COleDropSource::OnBeginDrag(pWnd);
}
