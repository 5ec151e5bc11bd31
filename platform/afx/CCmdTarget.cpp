// Command routing through message maps: the lookup of an entry and the call of a command,
// update or notification handler.
#include "afx/CCmdTarget.h"

#include <cstddef>
#include <cstdint>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

// Searches one table; *pUnnumbered is set when it passed a registered message not numbered yet.
const AFX_MSGMAP_ENTRY* FindInTable(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode, UINT nID,
                                    bool* pUnnumbered) {
  for (; lpEntry->nSig != AfxSig_end; ++lpEntry) {
    UINT message = lpEntry->nMessage;
    if (message == 0xC000) {
      message = *reinterpret_cast<const UINT*>(lpEntry->nSig);
      if (message == 0) *pUnnumbered = true;
    }
    if (message == nMsg && lpEntry->nCode == nCode && nID >= lpEntry->nID && nID <= lpEntry->nLastID) return lpEntry;
  }
  return nullptr;
}

// The last answers of AfxFindMessageEntryInChain on this thread, one per slot of a table
// addressed by a hash of the question. Maps are constant tables, so an answer stays right; the
// only entries read indirectly are registered messages, whose numbers are fixed once known.
struct MessageEntryCacheSlot {
  const AFX_MSGMAP* pMap;
  UINT nMsg;
  UINT nCode;
  UINT nID;
  const AFX_MSGMAP_ENTRY* pEntry;
};

constexpr size_t kMessageEntryCacheSlots = 512;  // a power of two

// Plain thread storage, zeroed, with nothing to destroy: windows destroyed while the thread's
// other objects go at its end still find it.
thread_local MessageEntryCacheSlot t_messageEntryCache[kMessageEntryCacheSlots];

}  // namespace

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode, UINT nID) {
  bool unnumbered = false;
  return FindInTable(lpEntry, nMsg, nCode, nID, &unnumbered);
}

const AFX_MSGMAP_ENTRY* AfxFindMessageEntryInChain(const AFX_MSGMAP* pMap, UINT nMsg, UINT nCode, UINT nID) {
  if (pMap == nullptr) return nullptr;
  size_t hash = reinterpret_cast<uintptr_t>(pMap) >> 4;
  hash = hash * 31 + nMsg;
  hash = hash * 31 + nCode;
  hash = hash * 31 + nID;
  hash ^= hash >> 13;
  MessageEntryCacheSlot& slot = t_messageEntryCache[hash & (kMessageEntryCacheSlots - 1)];
  if (slot.pMap == pMap && slot.nMsg == nMsg && slot.nCode == nCode && slot.nID == nID) return slot.pEntry;
  const AFX_MSGMAP_ENTRY* found = nullptr;
  // A registered message not yet numbered may match later: such an answer is not kept.
  bool unnumbered = false;
  for (const AFX_MSGMAP* map = pMap; map != nullptr && found == nullptr;
       map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr)
    found = FindInTable(map->lpEntries, nMsg, nCode, nID, &unnumbered);
  if (!unnumbered) slot = MessageEntryCacheSlot{pMap, nMsg, nCode, nID, found};
  return found;
}

BOOL AfxDispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra, UINT_PTR nSig,
                       AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (pHandlerInfo != nullptr) {
    pHandlerInfo->pTarget = pTarget;
    pHandlerInfo->pmf = pfn;
    return TRUE;
  }
  auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
  switch (nSig) {
    case AfxSigCmd_v:
      AfxCallHandler<void>(pTarget, pfn);
      return TRUE;
    case AfxSigCmd_b:
      return AfxCallHandler<BOOL>(pTarget, pfn);
    case AfxSigCmd_RANGE:
      AfxCallHandler<void, UINT>(pTarget, pfn, nID);
      return TRUE;
    case AfxSigCmd_EX:
      return AfxCallHandler<BOOL, UINT>(pTarget, pfn, nID);
    case AfxSigCmdUI: {
      auto* pCmdUI = static_cast<CCmdUI*>(pExtra);
      pCmdUI->m_bContinueRouting = FALSE;
      AfxCallHandler<void, CCmdUI*>(pTarget, pfn, pCmdUI);
      BOOL handled = !pCmdUI->m_bContinueRouting;
      pCmdUI->m_bContinueRouting = FALSE;
      return handled;
    }
    case AfxSigNotify_v:
      AfxCallHandler<void, NMHDR*, LRESULT*>(pTarget, pfn, notify->pNMHDR, notify->pResult);
      return TRUE;
    case AfxSigNotify_b:
      return AfxCallHandler<BOOL, NMHDR*, LRESULT*>(pTarget, pfn, notify->pNMHDR, notify->pResult);
    case AfxSigNotify_RANGE:
      AfxCallHandler<void, UINT, NMHDR*, LRESULT*>(pTarget, pfn, nID, notify->pNMHDR, notify->pResult);
      return TRUE;
    case AfxSigNotify_EX:
      return AfxCallHandler<BOOL, UINT, NMHDR*, LRESULT*>(pTarget, pfn, nID, notify->pNMHDR, notify->pResult);
    default:
      // A window-message entry matched as a command: it is no command handler.
      static_cast<void>(nCode);
      return FALSE;
  }
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // Notifications carry their message in the high word of the code; commands and updates are
  // WM_COMMAND.
  UINT message = 0;
  UINT code = static_cast<UINT>(nCode);
  if (code != CN_UPDATE_COMMAND_UI) {
    message = HIWORD(code);
    code = LOWORD(code);
  }
  if (message == 0) message = WM_COMMAND;
  if (const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntryInChain(GetMessageMap(), message, code, nID))
    return AfxDispatchCmdMsg(this, nID, static_cast<int>(code), entry->pfn, pExtra, entry->nSig, pHandlerInfo);
  return FALSE;
}
