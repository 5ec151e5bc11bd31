// SECAccelTable: copying, editing and archiving shortcut entries, and naming hot keys.
#include "bars/SECAccelTable.h"

#include <vector>

HACCEL SECAccelTable::s_hAccelTable = nullptr;

namespace {

// Keys the hot-key control marks as extended: page keys, end, home, arrows, select, print,
// execute, snapshot, insert, delete, help; the Windows and application keys; numeric-pad divide.
bool IsExtendedKey(UINT vk) { return (vk >= 33 && vk <= 47) || (vk >= 91 && vk <= 93) || vk == 111; }

}  // namespace

HACCEL SECAccelTable::GetCurrentTable() {
  if (s_hAccelTable != nullptr) return s_hAccelTable;
  auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
  return frame != nullptr ? frame->GetDefaultAccelerator() : nullptr;
}

void SECAccelTable::LoadCurrentTable() {
  m_entries.SetSize(0);
  HACCEL table = GetCurrentTable();
  const int count = table != nullptr ? ::CopyAcceleratorTable(table, nullptr, 0) : 0;
  if (count <= 0) return;
  std::vector<ACCEL> entries(static_cast<size_t>(count));
  const int copied = ::CopyAcceleratorTable(table, entries.data(), count);
  for (int i = 0; i < copied; ++i) m_entries.Add(entries[static_cast<size_t>(i)]);
}

int SECAccelTable::FindKey(WORD wHotKey) const {
  ACCEL wanted;
  HotKeyToAccel(wHotKey, wanted);
  const BYTE modifiers = FSHIFT | FCONTROL | FALT;
  for (int i = 0; i < GetSize(); ++i) {
    const ACCEL& entry = m_entries[i];
    if (entry.key == wanted.key && (entry.fVirt & modifiers) == (wanted.fVirt & modifiers)) return i;
  }
  return -1;
}

void SECAccelTable::SetCommandKey(WORD wHotKey, UINT nCommand) {
  ACCEL accel;
  HotKeyToAccel(wHotKey, accel);
  accel.cmd = static_cast<WORD>(nCommand);
  const int existing = FindKey(wHotKey);
  if (existing >= 0)
    m_entries[existing].cmd = accel.cmd;
  else
    m_entries.Add(accel);
}

void SECAccelTable::RemoveAt(int nIndex) {
  if (nIndex >= 0 && nIndex < GetSize()) m_entries.RemoveAt(nIndex);
}

HACCEL SECAccelTable::CreateTable() const {
  if (GetSize() == 0) return nullptr;
  std::vector<ACCEL> entries(m_entries.GetData(), m_entries.GetData() + GetSize());
  return ::CreateAcceleratorTable(entries.data(), GetSize());
}

void SECAccelTable::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << static_cast<DWORD>(GetSize());
    for (int i = 0; i < GetSize(); ++i) ar << m_entries[i].fVirt << m_entries[i].key << m_entries[i].cmd;
    return;
  }
  DWORD count = 0;
  ar >> count;
  m_entries.SetSize(0);
  for (DWORD i = 0; i < count; ++i) {
    ACCEL entry{};
    ar >> entry.fVirt >> entry.key >> entry.cmd;
    m_entries.Add(entry);
  }
}

void SECAccelTable::HotKeyToAccel(WORD wHotKey, ACCEL& accel) {
  const BYTE modifiers = HIBYTE(wHotKey);
  accel.fVirt = FVIRTKEY | FNOINVERT;
  if (modifiers & HOTKEYF_SHIFT) accel.fVirt |= FSHIFT;
  if (modifiers & HOTKEYF_CONTROL) accel.fVirt |= FCONTROL;
  if (modifiers & HOTKEYF_ALT) accel.fVirt |= FALT;
  accel.key = LOBYTE(wHotKey);
  accel.cmd = 0;
}

void SECAccelTable::AccelToHotKey(const ACCEL& accel, WORD& wHotKey) {
  BYTE modifiers = 0;
  if (accel.fVirt & FALT) modifiers |= HOTKEYF_ALT;
  if (accel.fVirt & FCONTROL) modifiers |= HOTKEYF_CONTROL;
  if (accel.fVirt & FSHIFT) modifiers |= HOTKEYF_SHIFT;
  if (IsExtendedKey(accel.key)) modifiers |= HOTKEYF_EXT;
  wHotKey = MAKEWORD(static_cast<BYTE>(accel.key), modifiers);
}

CString SECAccelTable::KeyName(UINT nVirtualKey, BOOL bExtended) {
  const UINT scan = ::MapVirtualKeyEx(nVirtualKey, MAPVK_VK_TO_VSC, nullptr);
  LONG lParam = static_cast<LONG>(scan << 16);
  if (bExtended) lParam |= 1L << 24;
  char name[64] = {};
  ::GetKeyNameText(lParam, name, sizeof(name));
  return name;
}

void SECAccelTable::HotKeyText(WORD wHotKey, CString& strText) {
  strText.Empty();
  if (wHotKey == 0) return;
  const BYTE modifiers = HIBYTE(wHotKey);
  if (modifiers & HOTKEYF_CONTROL) strText += KeyName(VK_CONTROL, FALSE) + "+";
  if (modifiers & HOTKEYF_ALT) strText += KeyName(VK_MENU, FALSE) + "+";
  if (modifiers & HOTKEYF_SHIFT) strText += KeyName(VK_SHIFT, FALSE) + "+";
  strText += KeyName(LOBYTE(wHotKey), (modifiers & HOTKEYF_EXT) != 0);
}
