// CImageList: the handle map and the members that take framework objects.
#include "afx/CImageList.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {

using ImageListMap = brambolt::afx::HandleMap<CImageList, HIMAGELIST>;

ImageListMap& Map() {
  return brambolt::afx::ThreadHandleMap<ImageListMap>([](CImageList* list) { list->m_hImageList = nullptr; });
}

CImageList* MakeTemporary(HIMAGELIST hImageList) {
  auto* list = new CImageList;
  list->m_hImageList = hImageList;
  return list;
}

}  // namespace

CImageList::~CImageList() { DeleteImageList(); }

CImageList* CImageList::FromHandle(HIMAGELIST hImageList) {
  return Map().FromHandle(hImageList, MakeTemporary);
}

CImageList* CImageList::FromHandlePermanent(HIMAGELIST hImageList) {
  return Map().LookupPermanent(hImageList);
}

void CImageList::DeleteTempMap() { Map().DeleteTemp(); }

BOOL CImageList::Attach(HIMAGELIST hImageList) { return Map().Attach(this, m_hImageList, hImageList); }

HIMAGELIST CImageList::Detach() { return Map().Detach(this, m_hImageList); }

BOOL CImageList::DeleteImageList() {
  if (m_hImageList == nullptr) return FALSE;
  return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy) {
  return Attach(ImageList_Merge(imagelist1.m_hImageList, nImage1, imagelist2.m_hImageList, nImage2, dx, dy));
}

BOOL CImageList::Create(CImageList* pImageList) { return Attach(ImageList_Duplicate(pImageList->GetSafeHandle())); }

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
  return ImageList_Add(m_hImageList, static_cast<HBITMAP>(pbmImage->GetSafeHandle()),
                       static_cast<HBITMAP>(pbmMask->GetSafeHandle()));
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
  return ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(pbmImage->GetSafeHandle()), crMask);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
  return ImageList_Replace(m_hImageList, nImage, static_cast<HBITMAP>(pbmImage->GetSafeHandle()),
                           static_cast<HBITMAP>(pbmMask->GetSafeHandle()));
}
