// SECControlBarInfo: one bar's saved record in the profile ("%s-Bar%d" sections), a persistent
// tree ("Bar-%d" nodes) and an archive. Stored values are not trusted: counts are capped, shares
// kept within [0, 1], sizes not negative, and a placement used only when it is whole.
#include "bars/SECControlBarInfo.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "bars/SECControlBarManager.h"
#include "bars/SECDockState.h"
#include "foundation/SECPersistentTreeNode.h"
#include "os/Paths.h"

IMPLEMENT_DYNAMIC(SECControlBarInfoEx, CObject)

namespace {

constexpr UINT kPlacementSize = 44;
constexpr UINT kUnsetMRUWidth = 32767;

// A bar's window name (a toolbar's is the name the user gave it) as the settings keep it: in the
// one charset every locale reads (os/Paths.h).
CString StoredName(const CString& strName) { return brambolt::StoredTextOf(static_cast<LPCTSTR>(strName)).c_str(); }
CString NameOfStored(const CString& strStored) { return brambolt::TextOfStored(static_cast<LPCTSTR>(strStored)).c_str(); }

CString Format1(LPCTSTR format, int value) {
  CString text;
  text.Format(format, value);
  return text;
}

CString Section(LPCTSTR profile, int index) {
  CString section;
  section.Format("%s-Bar%d", profile, index);
  return section;
}

// A stored placement is used only when it is exactly a whole one.
bool TakePlacement(const BYTE* data, UINT size, WINDOWPLACEMENT& out) {
  if (data == nullptr || size != kPlacementSize || sizeof(WINDOWPLACEMENT) != kPlacementSize) return false;
  WINDOWPLACEMENT wp;
  std::memcpy(&wp, data, kPlacementSize);
  if (wp.length != kPlacementSize) return false;
  out = wp;
  return true;
}

int NotNegative(int value) { return std::max(value, 0); }

}  // namespace

int SECShareToMillionths(float share) {
  if (!(share >= 0.0f)) share = 0.0f;  // NaN too
  share = std::min(share, 1.0f);
  return static_cast<int>(share * 1000000.0f);
}

float SECMillionthsToShare(long long millionths) {
  return static_cast<float>(std::clamp<long long>(millionths, 0, 1000000)) / 1000000.0f;
}

// ---- the extension's default answers ----

void SECControlBarInfoEx::Serialize(CArchive&, SECDockState*) {}
BOOL SECControlBarInfoEx::LoadState(LPCTSTR, SECDockState*) { return FALSE; }
BOOL SECControlBarInfoEx::SaveState(SECPTNFactory*, SECPersistentTreeNode* pNode) { return pNode != nullptr; }
BOOL SECControlBarInfoEx::SaveState(LPCTSTR) { return FALSE; }

// ---- the record ----

SECControlBarInfo::~SECControlBarInfo() { delete m_pExtension; }

BOOL SECControlBarInfo::IsSkipped() const {
  return m_bDockBar && m_bVisible && !m_bFloating && m_pointPos.x == -1 && m_pointPos.y == -1 &&
         m_arrBarID.GetSize() < 2;
}

void SECControlBarInfo::MakeExtension() {
  delete m_pExtension;
  m_pExtension = m_pManager != nullptr ? m_pManager->CreateBarInfoEx(this) : nullptr;
}

void SECControlBarInfo::FitToScreen(const SECDockState* pDockState) {
  if (pDockState == nullptr) return;
  m_szFloat = pDockState->FitSize(m_szFloat);
  m_szHorzDock = pDockState->FitSize(m_szHorzDock);
  m_szVertDock = pDockState->FitSize(m_szVertDock);
  if (m_nMRUWidth != kUnsetMRUWidth) {
    const LONG width = m_nMRUWidth > static_cast<UINT>(INT_MAX) ? -1 : static_cast<LONG>(m_nMRUWidth);
    const LONG fitted = pDockState->FitSize(CSize(width, 0)).cx;
    m_nMRUWidth = fitted > 0 ? static_cast<UINT>(fitted) : kUnsetMRUWidth;
  }
}

// ---- profile ----

BOOL SECControlBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex) {
  if (!CControlBarInfo::SaveState(lpszProfileName, nIndex)) return FALSE;
  CWinApp* app = AfxGetApp();
  const CString section = Section(lpszProfileName, nIndex);
  app->WriteProfileInt(section, "Style", static_cast<int>(m_dwStyle));
  app->WriteProfileInt(section, "ExStyle", static_cast<int>(m_dwExStyle));
  app->WriteProfileInt(section, "PrevFloating", m_bPrevFloating);
  app->WriteProfileInt(section, "MDIChild", m_bMDIChild);
  if (m_bMDIChild) {
    WINDOWPLACEMENT wp = m_wpMDIChild;
    wp.length = kPlacementSize;
    app->WriteProfileBinary(section, "MDIChildWindowPlacement", reinterpret_cast<LPBYTE>(&wp), kPlacementSize);
  }
  app->WriteProfileString(section, "PctWidth", Format1("%d", SECShareToMillionths(m_fPctWidth)));
  app->WriteProfileInt(section, "MRUFloatCX", m_szFloat.cx);
  app->WriteProfileInt(section, "MRUFloatCY", m_szFloat.cy);
  app->WriteProfileInt(section, "MRUHorzDockCX", m_szHorzDock.cx);
  app->WriteProfileInt(section, "MRUHorzDockCY", m_szHorzDock.cy);
  app->WriteProfileInt(section, "MRUVertDockCX", m_szVertDock.cx);
  app->WriteProfileInt(section, "MRUVertDockCY", m_szVertDock.cy);
  app->WriteProfileInt(section, "MRUDockingState", static_cast<int>(m_dwMRUDockingState));
  app->WriteProfileInt(section, "DockingStyle", static_cast<int>(m_dwDockStyle));
  app->WriteProfileInt(section, "TypeID", static_cast<int>(m_dwTypeID));
  app->WriteProfileString(section, "ClassName", m_strClassName);
  app->WriteProfileString(section, "WindowName", StoredName(m_strWindowName));
  app->WriteProfileInt(section, "ResourceID", static_cast<int>(m_nResourceID));
  if (m_pExtension != nullptr) m_pExtension->SaveState(section);
  return TRUE;
}

BOOL SECControlBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, SECDockState* pDockState) {
  if (!CControlBarInfo::LoadState(lpszProfileName, nIndex, pDockState)) return FALSE;
  CWinApp* app = AfxGetApp();
  const CString section = Section(lpszProfileName, nIndex);
  auto get = [&](LPCTSTR key, int def) { return static_cast<int>(app->GetProfileInt(section, key, def)); };
  m_dwStyle = static_cast<DWORD>(get("Style", 0));
  m_dwExStyle = static_cast<DWORD>(get("ExStyle", 0));
  m_bPrevFloating = get("PrevFloating", 0) != 0;
  m_bMDIChild = get("MDIChild", 0) != 0;
  m_bHasMDIPlacement = FALSE;
  if (m_bMDIChild) {
    BYTE* data = nullptr;
    UINT size = 0;
    if (app->GetProfileBinary(section, "MDIChildWindowPlacement", &data, &size))
      m_bHasMDIPlacement = TakePlacement(data, size, m_wpMDIChild);
    delete[] data;
  }
  CString pct = app->GetProfileString(section, "PctWidth", "1000000");
  m_fPctWidth = SECMillionthsToShare(std::strtoll(pct, nullptr, 10));
  m_szFloat = CSize(NotNegative(get("MRUFloatCX", 0)), NotNegative(get("MRUFloatCY", 0)));
  m_szHorzDock = CSize(NotNegative(get("MRUHorzDockCX", 0)), NotNegative(get("MRUHorzDockCY", 0)));
  m_szVertDock = CSize(NotNegative(get("MRUVertDockCX", 0)), NotNegative(get("MRUVertDockCY", 0)));
  m_dwMRUDockingState = static_cast<DWORD>(get("MRUDockingState", static_cast<int>(m_dwMRUDockingState)));
  m_dwDockStyle = static_cast<DWORD>(get("DockingStyle", static_cast<int>(m_dwDockStyle)));
  m_dwTypeID = static_cast<DWORD>(get("TypeID", 0));
  m_strClassName = app->GetProfileString(section, "ClassName", "");
  m_strWindowName = NameOfStored(app->GetProfileString(section, "WindowName", ""));
  m_nResourceID = static_cast<UINT>(get("ResourceID", static_cast<int>(m_nResourceID)));
  FitToScreen(pDockState);
  MakeExtension();
  if (m_pExtension != nullptr) m_pExtension->LoadState(section, pDockState);
  return TRUE;
}

// ---- persistent tree ----

BOOL SECControlBarInfo::SaveState(SECPTNFactory* pFactory, SECPersistentTreeNode* pParent, int nIndex) {
  if (pParent == nullptr || IsSkipped()) return FALSE;
  const CString name = Format1("Bar-%d", nIndex);
  SECPersistentTreeNode* node = pFactory != nullptr ? pFactory->AddChild(name, pParent) : pParent->AddChild(name);
  if (node == nullptr) return FALSE;
  SaveFrameworkPart(node);
  SaveToolkitPart(node);
  if (m_pExtension != nullptr) m_pExtension->SaveState(pFactory, node);
  return TRUE;
}

void SECControlBarInfo::SaveFrameworkPart(SECPersistentTreeNode* node) {
  node->AddKeyValueInt("BarID", static_cast<int>(m_nBarID), TRUE);
  if (!m_bVisible) node->AddKeyValueBool("Visible", m_bVisible, TRUE);
  if (m_bFloating) {
    node->AddKeyValueBool("Horz", m_bHorz, TRUE);
    node->AddKeyValueBool("Floating", m_bFloating, TRUE);
  }
  if (m_pointPos.x != -1) node->AddKeyValueInt("XPos", m_pointPos.x, TRUE);
  if (m_pointPos.y != -1) node->AddKeyValueInt("YPos", m_pointPos.y, TRUE);
  if (m_nMRUWidth != kUnsetMRUWidth) node->AddKeyValueInt("MRUWidth", static_cast<int>(m_nMRUWidth), TRUE);
  if (m_bDocking) {
    node->AddKeyValueBool("Docking", m_bDocking, TRUE);
    node->AddKeyValueInt("MRUDockID", static_cast<int>(m_uMRUDockID), TRUE);
    node->AddKeyValueInt("MRUDockLeftPos", m_rectMRUDockPos.left, TRUE);
    node->AddKeyValueInt("MRUDockTopPos", m_rectMRUDockPos.top, TRUE);
    node->AddKeyValueInt("MRUDockRightPos", m_rectMRUDockPos.right, TRUE);
    node->AddKeyValueInt("MRUDockBottomPos", m_rectMRUDockPos.bottom, TRUE);
    node->AddKeyValueInt("MRUFloatStyle", static_cast<int>(m_dwMRUFloatStyle), TRUE);
    node->AddKeyValueInt("MRUFloatXPos", m_ptMRUFloatPos.x, TRUE);
    node->AddKeyValueInt("MRUFloatYPos", m_ptMRUFloatPos.y, TRUE);
  }
  if (m_arrBarID.GetSize() > 1) {
    node->AddKeyValueInt("Bars", static_cast<int>(m_arrBarID.GetSize()), TRUE);
    for (int i = 0; i < m_arrBarID.GetSize(); ++i)
      node->AddKeyValueInt(Format1("Bar#%d", i), static_cast<int>(reinterpret_cast<UINT_PTR>(m_arrBarID[i])), TRUE);
  }
}

void SECControlBarInfo::SaveToolkitPart(SECPersistentTreeNode* node) {
  node->AddKeyValueInt("Style", static_cast<int>(m_dwStyle), TRUE);
  node->AddKeyValueInt("ExStyle", static_cast<int>(m_dwExStyle), TRUE);
  node->AddKeyValueInt("PrevFloating", m_bPrevFloating, TRUE);
  node->AddKeyValueInt("MDIChild", m_bMDIChild, TRUE);
  if (m_bMDIChild) {
    WINDOWPLACEMENT wp = m_wpMDIChild;
    wp.length = kPlacementSize;
    node->AddKeyValueBinary("MDIChildWindowPlacement", reinterpret_cast<const BYTE*>(&wp), kPlacementSize, TRUE);
  }
  node->AddKeyValueString("PctWidth", Format1("%d", SECShareToMillionths(m_fPctWidth)), TRUE);
  node->AddKeyValueInt("MRUFloatCX", m_szFloat.cx, TRUE);
  node->AddKeyValueInt("MRUFloatCY", m_szFloat.cy, TRUE);
  node->AddKeyValueInt("MRUHorzDockCX", m_szHorzDock.cx, TRUE);
  node->AddKeyValueInt("MRUHorzDockCY", m_szHorzDock.cy, TRUE);
  node->AddKeyValueInt("MRUVertDockCX", m_szVertDock.cx, TRUE);
  node->AddKeyValueInt("MRUVertDockCY", m_szVertDock.cy, TRUE);
  node->AddKeyValueInt("MRUDockingState", static_cast<int>(m_dwMRUDockingState), TRUE);
  node->AddKeyValueInt("DockingStyle", static_cast<int>(m_dwDockStyle), TRUE);
  node->AddKeyValueInt("TypeID", static_cast<int>(m_dwTypeID), TRUE);
  node->AddKeyValueString("ClassName", m_strClassName, TRUE);
  node->AddKeyValueString("WindowName", StoredName(m_strWindowName), TRUE);
  node->AddKeyValueInt("ResourceID", static_cast<int>(m_nResourceID), TRUE);
}

BOOL SECControlBarInfo::LoadState(SECPersistentTreeNode* pNode, SECDockState* pDockState) {
  if (pNode == nullptr) return FALSE;
  LoadFrameworkPart(pNode, pDockState);
  LoadToolkitPart(pNode);
  FitToScreen(pDockState);
  MakeExtension();
  if (m_pExtension != nullptr) m_pExtension->LoadState(pNode);
  return m_nBarID != 0;
}

void SECControlBarInfo::LoadFrameworkPart(SECPersistentTreeNode* node, SECDockState* pDockState) {
  int value = 0;
  BOOL flag = FALSE;
  node->GetKeyValueInt("BarID", &value, 0);
  m_nBarID = static_cast<UINT>(value);
  node->GetKeyValueBool("Visible", &flag, TRUE);
  m_bVisible = flag;
  node->GetKeyValueBool("Horz", &flag, TRUE);
  m_bHorz = flag;
  node->GetKeyValueBool("Floating", &flag, FALSE);
  m_bFloating = flag;
  int x = -1, y = -1;
  node->GetKeyValueInt("XPos", &x, -1);
  node->GetKeyValueInt("YPos", &y, -1);
  m_pointPos = CPoint(x, y);
  if (pDockState != nullptr) pDockState->ScalePoint(m_pointPos);
  node->GetKeyValueInt("MRUWidth", &value, static_cast<int>(kUnsetMRUWidth));
  m_nMRUWidth = static_cast<UINT>(value);
  node->GetKeyValueBool("Docking", &flag, FALSE);
  m_bDocking = flag;
  if (m_bDocking) {
    int l = 0, t = 0, r = 0, b = 0, fx = 0, fy = 0;
    node->GetKeyValueInt("MRUDockID", &value, 0);
    m_uMRUDockID = static_cast<UINT>(value);
    node->GetKeyValueInt("MRUDockLeftPos", &l, 0);
    node->GetKeyValueInt("MRUDockTopPos", &t, 0);
    node->GetKeyValueInt("MRUDockRightPos", &r, 0);
    node->GetKeyValueInt("MRUDockBottomPos", &b, 0);
    m_rectMRUDockPos = CRect(l, t, r, b);
    if (pDockState != nullptr) pDockState->ScaleRectPos(m_rectMRUDockPos);
    node->GetKeyValueInt("MRUFloatStyle", &value, 0);
    m_dwMRUFloatStyle = static_cast<DWORD>(value);
    node->GetKeyValueInt("MRUFloatXPos", &fx, 0);
    node->GetKeyValueInt("MRUFloatYPos", &fy, 0);
    m_ptMRUFloatPos = CPoint(fx, fy);
    if (pDockState != nullptr) pDockState->ScalePoint(m_ptMRUFloatPos);
  }
  int bars = 0;
  node->GetKeyValueInt("Bars", &bars, 0);
  bars = std::clamp(bars, 0, CDockState::kMaxBars);
  m_arrBarID.RemoveAll();
  for (int i = 0; i < bars; ++i) {
    node->GetKeyValueInt(Format1("Bar#%d", i), &value, 0);
    m_arrBarID.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(static_cast<UINT>(value))));
  }
  m_bDockBar = bars > 0 || m_bFloating;
}

void SECControlBarInfo::LoadToolkitPart(SECPersistentTreeNode* node) {
  int value = 0;
  auto getInt = [&](LPCTSTR key, int def) {
    node->GetKeyValueInt(key, &value, def);
    return value;
  };
  m_dwStyle = static_cast<DWORD>(getInt("Style", 0));
  m_dwExStyle = static_cast<DWORD>(getInt("ExStyle", 0));
  m_bPrevFloating = getInt("PrevFloating", 0) != 0;
  m_bMDIChild = getInt("MDIChild", 0) != 0;
  m_bHasMDIPlacement = FALSE;
  if (m_bMDIChild) {
    BYTE* data = nullptr;
    UINT size = 0;
    if (node->GetKeyValueBinary("MDIChildWindowPlacement", &data, &size) == 0)
      m_bHasMDIPlacement = TakePlacement(data, size, m_wpMDIChild);
    delete[] data;
  }
  CString text;
  node->GetKeyValueString("PctWidth", text, "1000000");
  m_fPctWidth = SECMillionthsToShare(std::strtoll(text, nullptr, 10));
  m_szFloat = CSize(NotNegative(getInt("MRUFloatCX", 0)), NotNegative(getInt("MRUFloatCY", 0)));
  m_szHorzDock = CSize(NotNegative(getInt("MRUHorzDockCX", 0)), NotNegative(getInt("MRUHorzDockCY", 0)));
  m_szVertDock = CSize(NotNegative(getInt("MRUVertDockCX", 0)), NotNegative(getInt("MRUVertDockCY", 0)));
  m_dwMRUDockingState = static_cast<DWORD>(getInt("MRUDockingState", static_cast<int>(m_dwMRUDockingState)));
  m_dwDockStyle = static_cast<DWORD>(getInt("DockingStyle", static_cast<int>(m_dwDockStyle)));
  m_dwTypeID = static_cast<DWORD>(getInt("TypeID", 0));
  node->GetKeyValueString("ClassName", m_strClassName, "");
  node->GetKeyValueString("WindowName", m_strWindowName, "");
  m_strWindowName = NameOfStored(m_strWindowName);
  m_nResourceID = static_cast<UINT>(getInt("ResourceID", static_cast<int>(m_nResourceID)));
}

// ---- archive ----

void SECControlBarInfo::Serialize(CArchive& ar, DWORD dwVersion, SECDockState* pDockState) {
  auto size = [&ar](CSize& s) {
    if (ar.IsStoring()) {
      ar << static_cast<int>(s.cx) << static_cast<int>(s.cy);
    } else {
      int cx = 0, cy = 0;
      ar >> cx >> cy;
      s = CSize(NotNegative(cx), NotNegative(cy));
    }
  };
  if (ar.IsStoring()) {
    ar << static_cast<DWORD>(m_nBarID) << static_cast<DWORD>(m_bVisible) << static_cast<DWORD>(m_bFloating)
       << static_cast<DWORD>(m_bHorz) << static_cast<int>(m_pointPos.x) << static_cast<int>(m_pointPos.y);
    if (dwVersion > 1) {
      ar << static_cast<DWORD>(m_nMRUWidth) << static_cast<DWORD>(m_bDocking);
      if (m_bDocking) {
        ar << static_cast<DWORD>(m_uMRUDockID) << static_cast<int>(m_rectMRUDockPos.left)
           << static_cast<int>(m_rectMRUDockPos.top) << static_cast<int>(m_rectMRUDockPos.right)
           << static_cast<int>(m_rectMRUDockPos.bottom) << static_cast<DWORD>(m_dwMRUFloatStyle)
           << static_cast<int>(m_ptMRUFloatPos.x) << static_cast<int>(m_ptMRUFloatPos.y);
      }
    }
    ar << m_dwStyle << m_dwExStyle << static_cast<DWORD>(m_bPrevFloating) << static_cast<DWORD>(m_bMDIChild);
    ar << Format1("%d", SECShareToMillionths(m_fPctWidth));
    size(m_szFloat);
    size(m_szHorzDock);
    size(m_szVertDock);
    ar << m_dwMRUDockingState << m_dwDockStyle << m_dwTypeID;
    if (m_pExtension != nullptr) m_pExtension->Serialize(ar, pDockState);
    ar << static_cast<WORD>(m_arrBarID.GetSize());
    for (int i = 0; i < m_arrBarID.GetSize(); ++i) ar << static_cast<DWORD>(reinterpret_cast<UINT_PTR>(m_arrBarID[i]));
    return;
  }
  DWORD id = 0, visible = 0, floating = 0, horz = 0, value = 0;
  int x = 0, y = 0;
  ar >> id >> visible >> floating >> horz >> x >> y;
  m_nBarID = id;
  m_bVisible = visible != 0;
  m_bFloating = floating != 0;
  m_bHorz = horz != 0;
  m_pointPos = CPoint(x, y);
  if (pDockState != nullptr) pDockState->ScalePoint(m_pointPos);
  if (dwVersion > 1) {
    ar >> value;
    m_nMRUWidth = value;
    ar >> value;
    m_bDocking = value != 0;
    if (m_bDocking) {
      int l = 0, t = 0, r = 0, b = 0;
      ar >> value >> l >> t >> r >> b;
      m_uMRUDockID = value;
      m_rectMRUDockPos = CRect(l, t, r, b);
      if (pDockState != nullptr) pDockState->ScaleRectPos(m_rectMRUDockPos);
      ar >> value >> x >> y;
      m_dwMRUFloatStyle = value;
      m_ptMRUFloatPos = CPoint(x, y);
      if (pDockState != nullptr) pDockState->ScalePoint(m_ptMRUFloatPos);
    }
  }
  DWORD prev = 0, mdi = 0;
  ar >> m_dwStyle >> m_dwExStyle >> prev >> mdi;
  m_bPrevFloating = prev != 0;
  m_bMDIChild = mdi != 0;
  CString pct;
  ar >> pct;
  m_fPctWidth = SECMillionthsToShare(std::strtoll(pct, nullptr, 10));
  size(m_szFloat);
  size(m_szHorzDock);
  size(m_szVertDock);
  ar >> m_dwMRUDockingState >> m_dwDockStyle >> m_dwTypeID;
  FitToScreen(pDockState);
  MakeExtension();
  if (m_pExtension != nullptr) m_pExtension->Serialize(ar, pDockState);
  WORD count = 0;
  ar >> count;
  // No dock bar holds more entries than a layout has bars; more is damage.
  if (count > CDockState::kMaxBars) AfxThrowArchiveException(CArchiveException::badIndex);
  m_arrBarID.RemoveAll();
  for (WORD i = 0; i < count; ++i) {
    ar >> value;
    m_arrBarID.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(value)));
  }
  m_bDockBar = (m_nBarID >= AFX_IDW_DOCKBAR_TOP && m_nBarID <= AFX_IDW_DOCKBAR_FLOAT) || count > 0;
}
