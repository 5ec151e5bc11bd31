// SECControlBarManager: the do-nothing answers of the base manager.
#include "bars/SECControlBarManager.h"

IMPLEMENT_DYNAMIC(SECControlBarManager, CObject)

void SECControlBarManager::LoadState(LPCTSTR) {}
BOOL SECControlBarManager::SaveState(SECPTNFactory*, SECPersistentTreeNode* pNode) { return pNode != nullptr; }
void SECControlBarManager::SaveState(LPCTSTR) {}
DWORD SECControlBarManager::GetBarTypeID(CControlBar*) { return 0; }
SECControlBarInfoEx* SECControlBarManager::CreateBarInfoEx(SECControlBarInfo*) { return nullptr; }
CControlBar* SECControlBarManager::CreateControlBar(SECControlBarInfo*) { return nullptr; }
