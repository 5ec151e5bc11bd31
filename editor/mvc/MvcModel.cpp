// The model base, the transaction model and its undo and redo rings.
#include "editor/mvc/MvcModel.h"

#include <algorithm>

namespace kelpwood::foundation {

bool CMvcModel::QueryGuid(REFGUID id, void** out) {
  *out = nullptr;
  return AnswerGuid(id, IID_ISubject, static_cast<ISubject*>(this), out) ||
         AnswerGuid(id, IID_IQueryGuid, static_cast<IQueryGuid*>(this), out) ||
         AnswerGuid(id, IID_IRefCount, static_cast<IRefCount*>(this), out);
}

void CMvcModel::AddObserver(IObserver* obs) {
  if (obs == nullptr) return;
  obs->AddRef();
  m_observers.push_back(obs);
}

void CMvcModel::RemoveObserver(IObserver* obs) {
  for (auto it = m_observers.begin(); it != m_observers.end();) {
    if (*it == obs) {
      obs->Release();
      it = m_observers.erase(it);
    } else {
      ++it;
    }
  }
}

void CMvcModel::UpdateAllObservers(IObserver* except, IMessage* msg) {
  // An observer may register or remove observers while it is told: walk a copy.
  const std::vector<IObserver*> observers = m_observers;
  for (IObserver* obs : observers)
    if (obs != except) obs->OnUpdate(this, msg);
}

CMvcModel::~CMvcModel() {
  while (!m_observers.empty()) {
    IObserver* obs = m_observers.back();
    m_observers.pop_back();
    obs->Release();
  }
}

MvcTransactionModel::MvcTransactionModel() { SetHistorySize(256); }

MvcTransactionModel::~MvcTransactionModel() { ClearHistory(); }

void MvcTransactionModel::Destroy(CMvcCommand* cmd) { delete cmd; }

void MvcTransactionModel::DeleteRedo() {
  while (CMvcCommand* cmd = m_redo.Pop()) Destroy(cmd);
}

void MvcTransactionModel::ClearHistory() {
  while (CMvcCommand* cmd = m_undo.Pop()) Destroy(cmd);
  DeleteRedo();
}

BOOL MvcTransactionModel::RecordCommand(CMvcCommand* cmd) {
  static ULONG s_ulNextSerial = 0;
  if (cmd->m_ulSerial == 0) cmd->m_ulSerial = ++s_ulNextSerial;
  if (CMvcCommand* dropped = m_undo.Push(cmd)) {
    OnHistoryOverflow(dropped);
    Destroy(dropped);
  }
  DeleteRedo();
  return TRUE;
}

BOOL MvcTransactionModel::DoCommand(CMvcCommand* cmd) {
  if (!cmd->Execute()) return FALSE;
  return RecordCommand(cmd);
}

CMvcCommand* MvcTransactionModel::Undo() { return Shift(m_undo, m_redo, false); }

CMvcCommand* MvcTransactionModel::Redo() { return Shift(m_redo, m_undo, true); }

CMvcCommand* MvcTransactionModel::Shift(CCStack_T<CMvcCommand*>& from, CCStack_T<CMvcCommand*>& to, bool bExecute) {
  // Commands that are not effective move across without running; the loop goes on until one
  // effective command has run or the ring is empty.
  while (CMvcCommand* cmd = from.Pop()) {
    if (cmd->IsEffective()) bExecute ? cmd->Execute() : cmd->Unexecute();
    Destroy(to.Push(cmd));
    if (cmd->IsEffective()) return cmd;
  }
  return nullptr;
}

void MvcTransactionModel::SetHistorySize(int n) {
  if (n <= 0) return;
  ClearHistory();
  m_undo.SetCapacity(n);
  m_redo.SetCapacity(n);
}

}  // namespace kelpwood::foundation
