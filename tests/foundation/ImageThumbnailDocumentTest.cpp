// Documents that carry a thumbnail of their first view at the head of their archive.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "afx/CDC.h"
#include "core/CException.h"
#include "core/CMemFile.h"
#include "foundation/SECTNDocument.h"
#include "testing/testing.h"
#include "tests/foundation/ImageTestSupport.h"

namespace {

using namespace image_test;

class NoteDocument : public SECTNDocument {
 public:
  NoteDocument() { m_bAutoDelete = FALSE; }
  CString m_text;
  void Serialize(CArchive& ar) override {
    SECTNDocument::Serialize(ar);
    if (ar.IsStoring())
      ar << m_text;
    else
      ar >> m_text;
  }
};

class PlainView : public SECTNView {
 public:
  void OnDraw(CDC*) override {}
};

// A view that draws its own thumbnail: a picture of the given size in one colour.
class PictureView : public SECTNView {
 public:
  PictureView(int width, int height, COLORREF colour) : width_(width), height_(height), colour_(colour) {}
  void OnDraw(CDC*) override {}
  SECTNBitmap* GetThumbnail() override {
    auto* bitmap = new SECTNBitmap;
    CDC screen, dc;
    screen.CreateDC("DISPLAY", nullptr, nullptr, nullptr);
    dc.CreateCompatibleDC(&screen);
    bitmap->CreateCompatibleBitmap(&screen, width_, height_);
    CBitmap* old = dc.SelectObject(bitmap);
    dc.FillSolidRect(0, 0, width_, height_, colour_);
    dc.SelectObject(old);
    ++made;
    return bitmap;
  }
  int made = 0;

 private:
  int width_, height_;
  COLORREF colour_;
};

TEST(ThumbnailDocument, StoresTheFirstViewThumbnailBeforeItsDataAndReadsBoth) {
  NoteDocument doc;
  PictureView first(5, 3, RGB(200, 0, 0));
  PictureView second(9, 9, RGB(0, 0, 200));
  doc.AddView(&first);
  doc.AddView(&second);
  doc.m_text = "notes";

  std::string bytes = StoredObject(doc);
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(Le32At(bytes, 18), 5u);  // width of the first view's picture
  EXPECT_EQ(Le32At(bytes, 22), 3u);
  EXPECT_EQ(first.made, 1);
  EXPECT_EQ(second.made, 0);
  // The document's own data follows the thumbnail stream.
  unsigned thumbnailSize = Le32At(bytes, 2);
  EXPECT_EQ(bytes.size(), thumbnailSize + 1 + 5);

  NoteDocument loaded;
  LoadObject(loaded, bytes);
  EXPECT_EQ(loaded.m_text, "notes");
}

TEST(ThumbnailDocument, GetFirstViewIsTheHeadOfTheViewList) {
  NoteDocument doc;
  EXPECT_EQ(doc.GetFirstView(), nullptr);
  PlainView a, b;
  doc.AddView(&a);
  doc.AddView(&b);
  EXPECT_EQ(doc.GetFirstView(), &a);
  doc.RemoveView(&a);
  EXPECT_EQ(doc.GetFirstView(), &b);
}

TEST(ThumbnailDocument, WithoutAThumbnailViewABlankPictureIsStored) {
  NoteDocument doc;
  doc.m_text = "alone";
  std::string bytes = StoredObject(doc);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(Le32At(bytes, 18), 1u);
  EXPECT_EQ(Le32At(bytes, 22), 1u);
  NoteDocument loaded;
  LoadObject(loaded, bytes);
  EXPECT_EQ(loaded.m_text, "alone");
}

TEST(ThumbnailDocument, AnArchiveWithoutAThumbnailThrowsTheArchiveException) {
  std::string bytes = "XX not a bitmap at all, just text";
  NoteDocument doc;
  bool thrown = false;
  try {
    LoadObject(doc, bytes);
  } catch (CArchiveException* e) {
    thrown = true;
    EXPECT_EQ(e->m_cause, CArchiveException::genericException);
    e->Delete();
  }
  EXPECT_TRUE(thrown);
}

TEST(ThumbnailView, TheDefaultOfAViewWithoutAWindowIsABlankPicture) {
  PlainView view;
  std::unique_ptr<SECTNBitmap> thumbnail(view.GetThumbnail());
  ASSERT_NE(thumbnail, nullptr);
  BITMAP bm{};
  ASSERT_NE(thumbnail->GetBitmap(&bm), 0);
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmHeight, 1);
  EXPECT_EQ(PixelOfBitmap(*thumbnail, 0, 0), RGB(255, 255, 255));
}

// Paints a blue stripe in its top-left corner and nothing else.
class StripeView : public SECTNView {
 public:
  void OnDraw(CDC* pDC) override { pDC->FillSolidRect(0, 0, 2, 1, RGB(0, 0, 200)); }
};

TEST(ThumbnailView, TheDefaultDrawsTheViewOnWhiteAtTheSizeOfItsClientArea) {
  brambolt::test::UiSession session;
  auto* view = new StripeView;  // a view window deletes itself when destroyed
  ASSERT_TRUE(view->CreateEx(0, nullptr, "view", WS_POPUP, 0, 0, 6, 4, nullptr, 0));
  std::unique_ptr<SECTNBitmap> thumbnail(view->GetThumbnail());
  view->DestroyWindow();
  BITMAP bm{};
  ASSERT_NE(thumbnail->GetBitmap(&bm), 0);
  EXPECT_EQ(bm.bmWidth, 6);
  EXPECT_EQ(bm.bmHeight, 4);
  EXPECT_EQ(PixelOfBitmap(*thumbnail, 1, 0), RGB(0, 0, 200));
  EXPECT_EQ(PixelOfBitmap(*thumbnail, 2, 0), RGB(255, 255, 255));
  EXPECT_EQ(PixelOfBitmap(*thumbnail, 5, 3), RGB(255, 255, 255));
}

TEST(ThumbnailView, AViewDrawsItsOwnThumbnailThatSurvivesTheArchive) {
  PictureView view(4, 2, RGB(0, 160, 0));
  std::unique_ptr<SECTNBitmap> thumbnail(view.GetThumbnail());
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    thumbnail->Serialize(ar);
  }
  file.SeekToBegin();
  SECTNBitmap back;
  {
    CArchive ar(&file, CArchive::load);
    back.Serialize(ar);
  }
  BITMAP bm{};
  ASSERT_NE(back.GetBitmap(&bm), 0);
  EXPECT_EQ(bm.bmWidth, 4);
  EXPECT_EQ(bm.bmHeight, 2);
  EXPECT_EQ(PixelOfBitmap(back, 3, 1), RGB(0, 160, 0));
}

}  // namespace
