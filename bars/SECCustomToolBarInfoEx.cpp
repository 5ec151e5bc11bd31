// A customisable toolbar's title and buttons in the saved docking layout.
#include "bars/SECCustomToolBarInfoEx.h"

#include <memory>

#include "foundation/SECPersistentTreeNode.h"
#include "os/Paths.h"

IMPLEMENT_DYNCREATE(SECCustomToolBarInfoEx, SECControlBarInfoEx)

namespace {
constexpr char kNode[] = "ToolBarInfoEx";
constexpr char kTitle[] = "Title";
constexpr char kButtons[] = "Buttons";

// The title the user gave the bar, kept in the one charset every locale reads (os/Paths.h).
CString StoredTitle(const CString& strTitle) { return brambolt::StoredTextOf(static_cast<LPCTSTR>(strTitle)).c_str(); }
CString TitleOfStored(const CString& strStored) { return brambolt::TextOfStored(static_cast<LPCTSTR>(strStored)).c_str(); }
}  // namespace

void SECCustomToolBarInfoEx::Serialize(CArchive& ar, SECDockState* /*pDockState*/) { SerializeEx(ar); }

void SECCustomToolBarInfoEx::SerializeEx(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_strTitle;
    m_btnInfo.Write(ar);
  } else {
    ar >> m_strTitle;
    m_btnInfo.Read(ar);
  }
}

BOOL SECCustomToolBarInfoEx::LoadState(SECPersistentTreeNode* pNode) {
  if (!SECControlBarInfoEx::LoadState(pNode)) return FALSE;
  SECPersistentTreeNode* pChild = pNode->FindChild(kNode);
  if (pChild == nullptr) return FALSE;
  pChild->GetKeyValueString(kTitle, m_strTitle);
  m_strTitle = TitleOfStored(m_strTitle);
  BYTE* pData = nullptr;
  UINT nSize = 0;
  if (pChild->GetKeyValueBinary(kButtons, &pData, &nSize) == 0 && pData != nullptr) {
    std::unique_ptr<BYTE[]> data(pData);
    m_btnInfo.Decode(brambolt::ByteSpan(data.get(), nSize));
  }
  return TRUE;
}

BOOL SECCustomToolBarInfoEx::LoadState(LPCTSTR lpszSection, SECDockState* /*pDockState*/) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return FALSE;
  m_strTitle = TitleOfStored(pApp->GetProfileString(lpszSection, kTitle));
  BYTE* pData = nullptr;
  UINT nSize = 0;
  if (pApp->GetProfileBinary(lpszSection, kButtons, &pData, &nSize) && pData != nullptr) {
    std::unique_ptr<BYTE[]> data(pData);
    m_btnInfo.Decode(brambolt::ByteSpan(data.get(), nSize));
  }
  return TRUE;
}

BOOL SECCustomToolBarInfoEx::SaveState(SECPTNFactory* pFactory, SECPersistentTreeNode* pNode) {
  if (!SECControlBarInfoEx::SaveState(pFactory, pNode)) return FALSE;
  SECPersistentTreeNode* pChild = pFactory->AddChild(kNode, pNode);
  if (pChild == nullptr) return FALSE;
  pChild->AddKeyValueString(kTitle, StoredTitle(m_strTitle), TRUE);
  // A bar without buttons still stores its (empty) value: the data pointer is never null.
  std::vector<BYTE> bytes = m_btnInfo.Encode();
  static BYTE empty = 0;
  pChild->AddKeyValueBinary(kButtons, bytes.empty() ? &empty : bytes.data(), static_cast<UINT>(bytes.size()), TRUE);
  return TRUE;
}

BOOL SECCustomToolBarInfoEx::SaveState(LPCTSTR lpszSection) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return FALSE;
  if (!m_strTitle.IsEmpty()) pApp->WriteProfileString(lpszSection, kTitle, StoredTitle(m_strTitle));
  std::vector<BYTE> bytes = m_btnInfo.Encode();
  static BYTE empty = 0;
  pApp->WriteProfileBinary(lpszSection, kButtons, bytes.empty() ? &empty : bytes.data(), static_cast<UINT>(bytes.size()));
  return TRUE;
}
