// SECDib: the BMP format over the image's own BMP stream.
#include "foundation/SECDib.h"

namespace kelpwood::foundation {

IMPLEMENT_DYNCREATE(SECDib, SECImage)

void SECDib::Serialize(CArchive& ar) { SECImage::Serialize(ar); }

BOOL SECDib::DoSaveImage(CFile* pFile) {
  if (!pFile || !GetBitmapInfo() || !GetBits()) return FALSE;
  WriteBmpStream([pFile](const void* p, UINT n) { pFile->Write(p, n); });
  return TRUE;
}

BOOL SECDib::DoLoadImage(CFile* pFile) {
  if (!pFile) return FALSE;
  ULONGLONG length = pFile->GetLength();
  ULONGLONG position = pFile->GetPosition();
  ULONGLONG available = length > position ? length - position : 0;
  auto read = [pFile](void* p, UINT n) { return pFile->Read(p, n); };
  return ReadBmpStream(read, available) == BmpResult::ok ? TRUE : FALSE;
}

}  // namespace kelpwood::foundation
