// CCmdTarget: the base of every class that handles commands through a message map; CCmdUI, the
// object that update handlers enable, check and label commands through.
#pragma once

#include "afx/MessageMap.h"
#include "core/CObject.h"
#include "core/CString.h"

// What OnCmdMsg reports instead of calling, when asked for the handler of a command.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  AFX_PMSG pmf;
};

// The extra data of a WM_NOTIFY command.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget() = default;
  ~CCmdTarget() override = default;

  // Looks nID up in the message maps for nCode (CN_COMMAND, CN_UPDATE_COMMAND_UI, or a
  // notification code with the message in its high word) and calls the handler. With
  // pHandlerInfo, only reports the handler. FALSE when this target has no handler, or when an
  // _EX handler declined.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

 protected:
  // The root of every chain: empty, with no base map.
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

// Searches one table (not its base maps); registered-message entries match by their number.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode, UINT nID);

// The first entry of a map or of its base maps that matches, NULL when none does: the entry a
// message, command or notification goes to. Answers are remembered per thread.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntryInChain(const AFX_MSGMAP* pMap, UINT nMsg, UINT nCode, UINT nID);

// Calls a command handler found in a map, as its signature says.
BOOL AfxDispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra, UINT_PTR nSig,
                       AFX_CMDHANDLERINFO* pHandlerInfo);

// Carries one command (a menu item, a toolbar button, a dialog control) to its update handler.
class CCmdUI {
 public:
  UINT m_nID = 0;
  UINT m_nIndex = 0;
  // Set when the command is a menu item: the menu, and the popup the item opens (if any).
  CMenu* m_pMenu = nullptr;
  CMenu* m_pSubMenu = nullptr;
  // Set when the command is a window (a control, a bar).
  CWnd* m_pOther = nullptr;
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;
  UINT m_nIndexMax = 0;
  CMenu* m_pParentMenu = nullptr;

  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  virtual void Enable(BOOL bOn = TRUE);
  // 0 unchecked, 1 checked, 2 indeterminate (for buttons; menus show 2 as checked).
  virtual void SetCheck(int nCheck = 1);
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCTSTR lpszText);
  // Lets the command go on to the next target after this handler.
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Asks pTarget's route for an update handler; when none changes the enabled state and
  // bDisableIfNoHndler is set, disables the command unless some target handles it.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// Runs the update handlers of a popup's items through pTarget (what a frame does on
// WM_INITMENUPOPUP); with bAutoMenuEnable, items without any handler are disabled.
void AfxUpdateMenuPopup(CCmdTarget* pTarget, CMenu* pPopup, BOOL bAutoMenuEnable);
