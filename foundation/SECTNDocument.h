// SECTNDocument: a document whose archive starts with a thumbnail picture of its first view;
// SECTNView: the view that draws that thumbnail.
#pragma once

#include "afx/CView.h"
#include "foundation/SECTNBitmap.h"

class SECTNView : public CView {
  DECLARE_DYNAMIC(SECTNView)

 public:
  // A new bitmap showing the view's content; the caller deletes it. The default draws the view
  // (OnDraw on a white ground) at the size of its client area; a view without a window or with
  // an empty client area gives a blank thumbnail.
  virtual SECTNBitmap* GetThumbnail();
};

class SECTNDocument : public CDocument {
  DECLARE_DYNCREATE(SECTNDocument)

 public:
  virtual CView* GetFirstView();
  // Storing writes the first view's thumbnail (a blank one when there is no thumbnail view);
  // loading reads the thumbnail and discards it. Derived documents serialise their data after it.
  void Serialize(CArchive& ar) override;

 protected:
  DECLARE_MESSAGE_MAP()
};
