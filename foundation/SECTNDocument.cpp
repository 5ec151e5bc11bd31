// The thumbnail document and the thumbnail view.
#include "foundation/SECTNDocument.h"

#include <memory>

#include "afx/CDC.h"

IMPLEMENT_DYNAMIC(SECTNView, CView)

SECTNBitmap* SECTNView::GetThumbnail() {
  auto thumbnail = std::make_unique<SECTNBitmap>();
  CRect client(0, 0, 0, 0);
  if (GetSafeHwnd() != nullptr) GetClientRect(&client);
  if (client.IsRectEmpty()) {
    thumbnail->CreateBlank();
    return thumbnail.release();
  }
  CDC screen, dc;
  screen.CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  dc.CreateCompatibleDC(&screen);
  thumbnail->CreateCompatibleBitmap(&screen, client.Width(), client.Height());
  CBitmap* old = dc.SelectObject(thumbnail.get());
  dc.FillSolidRect(&client, RGB(255, 255, 255));
  OnDraw(&dc);
  dc.SelectObject(old);
  return thumbnail.release();
}

IMPLEMENT_DYNCREATE(SECTNDocument, CDocument)
BEGIN_MESSAGE_MAP(SECTNDocument, CDocument)
END_MESSAGE_MAP()

CView* SECTNDocument::GetFirstView() {
  POSITION pos = GetFirstViewPosition();
  return pos != nullptr ? GetNextView(pos) : nullptr;
}

void SECTNDocument::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    // A document without a thumbnail view still writes a thumbnail, so every archive it
    // stores can be read back by the loading branch.
    auto* view = dynamic_cast<SECTNView*>(GetFirstView());
    std::unique_ptr<SECTNBitmap> thumbnail(view != nullptr ? view->GetThumbnail() : nullptr);
    if (!thumbnail) thumbnail = std::make_unique<SECTNBitmap>();
    thumbnail->Serialize(ar);
    thumbnail->DeleteObject();
  } else {
    SECTNBitmap thumbnail;
    thumbnail.Serialize(ar);
  }
}
