// The picture loader and saver.
#include "app/CPicture.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "afx/CWinApp.h"
#include "base/ByteOrder.h"
#include "core/CFile.h"
#include "core/CMemFile.h"
#include "core/CMirrorFile.h"
#include "foundation/SECDib.h"
#include "foundation/SECFileSystem.h"
#include "os/FileApi.h"

namespace {

const char kCaption[] = "CPicture Error";
constexpr int kHimetricPerInch = 2540;
constexpr int kScreenDpi = 96;

// A 32-bit top-down DIB section drawn into by `paint` through a memory DC.
struct RenderedBitmap {
  CBitmap bitmap;
  DWORD* pBits = nullptr;
  BOOL Create(int nWidth, int nHeight) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap == nullptr) return FALSE;
    bitmap.Attach(hBitmap);
    this->pBits = static_cast<DWORD*>(pBits);
    return TRUE;
  }
};

}  // namespace

void CPicture::ShowError(LPCTSTR lpszText) {
  CWnd* pMain = AfxGetMainWnd();
  brambolt::afx::GetMessageBoxPresenter()(pMain != nullptr ? pMain->GetSafeHwnd() : nullptr, lpszText, kCaption,
                                          MB_OK | MB_ICONSTOP);
}

std::pair<LONG, LONG> CPicture::HimetricSize() const {
  OLE_XSIZE_HIMETRIC nWidth = 0;
  OLE_YSIZE_HIMETRIC nHeight = 0;
  if (m_pPicture != nullptr) {
    m_pPicture->get_Width(&nWidth);
    m_pPicture->get_Height(&nHeight);
  }
  return {nWidth, nHeight};
}

void CPicture::Release() {
  if (m_pPicture != nullptr) m_pPicture->Release();
  m_pPicture = nullptr;
  m_nHeight = m_nFileSize = m_nWidth = 0;
}

BOOL CPicture::LoadFromFile(LPCTSTR lpszPath) {
  // The wait cursor belongs to the application; without one there is nothing to show it.
  std::optional<CWaitCursor> wait;
  if (AfxGetApp() != nullptr) wait.emplace();
  Release();
  CFile file;
  CFileException error;
  if (!file.Open(lpszPath, CFile::modeRead | CFile::typeBinary, &error)) {
    char szText[512] = "";
    error.GetErrorMessage(szText, sizeof szText);
    ShowError(szText);
    return FALSE;
  }
  const auto nLength = static_cast<ULONGLONG>(file.GetLength());
  if (nLength > static_cast<ULONGLONG>(INT_MAX)) {
    ShowError("Can not allocate enough memory\t");
    return FALSE;
  }
  std::vector<BYTE> bytes(static_cast<size_t>(nLength));
  const UINT nRead = bytes.empty() ? 0 : file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  file.Close();
  const BOOL bLoaded = LoadFromMemory(bytes.data(), static_cast<int>(nRead));
  m_nFileSize = static_cast<int>(nRead);
  if (!bLoaded || m_pPicture == nullptr) {
    m_nWidth = m_nHeight = 0;
    return FALSE;
  }
  const auto [nWidth, nHeight] = HimetricSize();
  m_nWidth = MulDiv(nWidth, kScreenDpi, kHimetricPerInch);
  m_nHeight = MulDiv(nHeight, kScreenDpi, kHimetricPerInch);
  return TRUE;
}

BOOL CPicture::LoadFromMemory(const BYTE* pBuffer, int nSize) {
  HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(std::max(nSize, 1)));
  void* pData = hGlobal != nullptr ? ::GlobalLock(hGlobal) : nullptr;
  if (pData == nullptr) {
    if (hGlobal != nullptr) ::GlobalFree(hGlobal);
    ShowError("Can not allocate enough memory\t");
    return FALSE;
  }
  if (nSize > 0) std::memcpy(pData, pBuffer, static_cast<size_t>(nSize));
  ::GlobalUnlock(hGlobal);
  IStream* pStream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(hGlobal, TRUE, &pStream))) {
    ::GlobalFree(hGlobal);
    return FALSE;
  }
  const HRESULT hr = OleLoadPicture(pStream, nSize, FALSE, IID_IPicture, reinterpret_cast<void**>(&m_pPicture));
  pStream->Release();
  if (hr == E_NOINTERFACE) {
    ShowError("IPicture interface is not supported\t");
    return FALSE;
  }
  if (hr == E_OUTOFMEMORY) {
    m_pPicture = nullptr;
    ShowError("Can not allocate enough memory\t");
    return FALSE;
  }
  if (FAILED(hr) || m_pPicture == nullptr) {
    // Damaged files, pictures beyond the platform's size limit and formats it cannot read
    // (metafiles) are said so once: the window never just stays white.
    m_pPicture = nullptr;
    ShowError(
        "Cannot read this picture: the file is damaged, larger than 64 million pixels, or not a BMP, JPEG, GIF or ICO "
        "picture.\t");
    return FALSE;
  }
  // A file cut short gives the part it holds; the user is told the rest is missing.
  if (brambolt::ole::IsPictureIncomplete(m_pPicture))
    ShowError("This picture is incomplete: the file ends before the whole picture, so only the part it holds is "
              "shown.\t");
  return TRUE;
}

void CPicture::Swap(CPicture& other) {
  std::swap(m_pPicture, other.m_pPicture);
  std::swap(m_nHeight, other.m_nHeight);
  std::swap(m_nFileSize, other.m_nFileSize);
  std::swap(m_nWidth, other.m_nWidth);
}

BOOL CPicture::Draw(CDC* pDC, const CRect& rect) {
  if (pDC == nullptr || m_pPicture == nullptr) return FALSE;
  const auto [nWidth, nHeight] = HimetricSize();
  return SUCCEEDED(m_pPicture->Render(pDC->GetSafeHdc(), rect.left, rect.top, rect.Width(), rect.Height(), 0,
                                      nHeight, nWidth, -nHeight, nullptr));
}

BOOL CPicture::DrawMagnified(CDC* pDC, int nLeft, int nTop, int nWidth, int nHeight, int nMagnifyX,
                             int nMagnifyY) {
  if (pDC == nullptr || m_pPicture == nullptr) return FALSE;
  const auto [nHimetricWidth, nHimetricHeight] = HimetricSize();
  const int nDeviceWidth = MulDiv(nHimetricWidth, pDC->GetDeviceCaps(LOGPIXELSX), kHimetricPerInch);
  const int nDeviceHeight = MulDiv(nHimetricHeight, pDC->GetDeviceCaps(LOGPIXELSY), kHimetricPerInch);
  return SUCCEEDED(m_pPicture->Render(pDC->GetSafeHdc(), nLeft, nTop, nWidth + nDeviceWidth * nMagnifyX,
                                      nHeight + nDeviceHeight * nMagnifyY, 0, nHimetricHeight, nHimetricWidth,
                                      -nHimetricHeight, nullptr));
}

BOOL CPicture::MeasureOnDC(CDC* pDC) {
  if (pDC == nullptr || m_pPicture == nullptr) {
    m_nWidth = m_nHeight = 0;
    return FALSE;
  }
  const auto [nWidth, nHeight] = HimetricSize();
  const bool bPrinting = pDC->IsPrinting() != FALSE;
  m_nWidth = MulDiv(nWidth, bPrinting ? kScreenDpi : pDC->GetDeviceCaps(LOGPIXELSX), kHimetricPerInch);
  m_nHeight = MulDiv(nHeight, bPrinting ? kScreenDpi : pDC->GetDeviceCaps(LOGPIXELSY), kHimetricPerInch);
  return TRUE;
}

std::vector<DWORD> CPicture::Render(int nWidth, int nHeight) const {
  RenderedBitmap rendered;
  if (m_pPicture == nullptr || nWidth <= 0 || nHeight <= 0 || !rendered.Create(nWidth, nHeight)) return {};
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* pOld = dc.SelectObject(&rendered.bitmap);
  dc.FillSolidRect(0, 0, nWidth, nHeight, RGB(255, 255, 255));
  const auto [nHimetricWidth, nHimetricHeight] = HimetricSize();
  m_pPicture->Render(dc.GetSafeHdc(), 0, 0, nWidth, nHeight, 0, nHimetricHeight, nHimetricWidth, -nHimetricHeight,
                     nullptr);
  ::GdiFlush();
  std::vector<DWORD> pixels(rendered.pBits, rendered.pBits + static_cast<size_t>(nWidth) * nHeight);
  dc.SelectObject(pOld);
  return pixels;
}

std::vector<BYTE> CPicture::SavedBytes() const {
  IStream* pStream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &pStream))) return {};
  std::vector<BYTE> bytes;
  LONG nSize = 0;
  HGLOBAL hGlobal = nullptr;
  if (SUCCEEDED(m_pPicture->SaveAsFile(pStream, TRUE, &nSize)) && nSize > 0 &&
      SUCCEEDED(GetHGlobalFromStream(pStream, &hGlobal))) {
    const auto* pData = static_cast<const BYTE*>(::GlobalLock(hGlobal));
    if (pData != nullptr) bytes.assign(pData, pData + nSize);
    ::GlobalUnlock(hGlobal);
  }
  pStream->Release();
  return bytes;
}

std::vector<BYTE> CPicture::EncodeBitmap(int nWidth, int nHeight) const {
  RenderedBitmap rendered;
  const std::vector<DWORD> pixels = Render(nWidth, nHeight);
  if (pixels.empty() || !rendered.Create(nWidth, nHeight)) return {};
  std::memcpy(rendered.pBits, pixels.data(), pixels.size() * sizeof(DWORD));
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  kelpwood::foundation::SECDib dib;
  CMemFile file;
  if (!dib.CreateFromBitmap(&dc, &rendered.bitmap) || !dib.SaveImage(&file)) return {};
  const auto nLength = static_cast<size_t>(file.GetLength());
  std::vector<BYTE> bytes(nLength);
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(nLength));
  return bytes;
}

std::vector<BYTE> CPicture::EncodeIcon(const std::vector<DWORD>& pixels, int nWidth, int nHeight) {
  using brambolt::AppendLE16;
  using brambolt::AppendLE32;
  const auto nMaskRow = static_cast<DWORD>(((nWidth + 31) / 32) * 4);
  const auto nImage = static_cast<DWORD>(40 + nWidth * nHeight * 4 + nMaskRow * nHeight);
  std::vector<BYTE> bytes;
  // The directory of one image, then its header (twice the height: colours and mask).
  AppendLE16(bytes, 0);
  AppendLE16(bytes, 1);
  AppendLE16(bytes, 1);
  bytes.push_back(static_cast<BYTE>(nWidth >= 256 ? 0 : nWidth));
  bytes.push_back(static_cast<BYTE>(nHeight >= 256 ? 0 : nHeight));
  bytes.push_back(0);
  bytes.push_back(0);
  AppendLE16(bytes, 1);
  AppendLE16(bytes, 32);
  AppendLE32(bytes, nImage);
  AppendLE32(bytes, 22);
  AppendLE32(bytes, 40);
  AppendLE32(bytes, static_cast<DWORD>(nWidth));
  AppendLE32(bytes, static_cast<DWORD>(nHeight * 2));
  AppendLE16(bytes, 1);
  AppendLE16(bytes, 32);
  AppendLE32(bytes, BI_RGB);
  AppendLE32(bytes, nImage - 40);
  for (int i = 0; i < 4; ++i) AppendLE32(bytes, 0);
  // Rows bottom-up, opaque; the mask lets every pixel show.
  for (int y = nHeight - 1; y >= 0; --y)
    for (int x = 0; x < nWidth; ++x) AppendLE32(bytes, pixels[static_cast<size_t>(y) * nWidth + x] | 0xFF000000u);
  bytes.insert(bytes.end(), static_cast<size_t>(nMaskRow) * nHeight, 0);
  return bytes;
}

BOOL CPicture::SaveToFile(LPCTSTR lpszPath) {
  if (m_pPicture == nullptr) return FALSE;
  const CString strPath = lpszPath;
  const bool bIcon = strPath.GetLength() >= 4 && strPath.Right(4).CompareNoCase(".ico") == 0;
  SHORT nType = PICTYPE_NONE;
  m_pPicture->get_Type(&nType);
  std::vector<BYTE> bytes;
  // The picture object's own bytes when it already is the format asked for; else it is drawn and
  // written in that format (a JPEG or GIF becomes a real BMP, a bitmap a real icon).
  if (nType == (bIcon ? PICTYPE_ICON : PICTYPE_BITMAP)) bytes = SavedBytes();
  if (bytes.empty() && bIcon) {
    const double scale = std::min(1.0, 256.0 / std::max(1, std::max(m_nWidth, m_nHeight)));
    const int nWidth = std::max(1, static_cast<int>(m_nWidth * scale));
    const int nHeight = std::max(1, static_cast<int>(m_nHeight * scale));
    const std::vector<DWORD> pixels = Render(nWidth, nHeight);
    if (!pixels.empty()) bytes = EncodeIcon(pixels, nWidth, nHeight);
  } else if (bytes.empty()) {
    bytes = EncodeBitmap(m_nWidth, m_nHeight);
  }
  if (bytes.empty()) {
    ShowError("Can not allocate enough memory\t");
    return FALSE;
  }
  // Written as every file the user names: whole or nothing (a picture the name held stays as it
  // was when the disk is full, and no part-written file is left under the name), with the file's
  // permissions kept, and through a link into the file it names.
  const bool bExisted = ::GetFileAttributes(lpszPath) != INVALID_FILE_ATTRIBUTES;
  CMirrorFile file;
  CFileException error;
  // The system's reason, or a general one when the exception carries none.
  auto reason = [](const CFileException& e) { return e.m_lOsError != 0 ? static_cast<DWORD>(e.m_lOsError) : ERROR_WRITE_FAULT; };
  DWORD dwError = 0;
  if (!file.Open(lpszPath, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &error)) {
    dwError = reason(error);
  } else {
    try {
      file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
      file.Close();
    } catch (CFileException* e) {
      dwError = reason(*e);
      e->Delete();
      file.Abort();
    }
  }
  if (dwError != 0) {
    CString strText;
    strText.Format("%s could not be written: %s.\n%s", lpszPath,
                   static_cast<LPCTSTR>(SECFileSystem::DescribeError(dwError)),
                   bExisted ? "The file is as it was before the save." : "No file was made.");
    ShowError(strText);
    return FALSE;
  }
  return TRUE;
}
