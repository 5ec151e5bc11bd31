// The model base with its observer list, the undoable command base, and the transaction model
// that executes commands and keeps undo and redo rings of at most 256 commands each.
#pragma once

#include <vector>

#include "editor/mvc/MvcCollections.h"
#include "editor/mvc/MvcInterfaces.h"

namespace kelpwood::foundation {

// Observers in registration order, duplicates allowed. Models do not count references.
class CMvcModel : public ISubject {
 public:
  CMvcModel() = default;
  CMvcModel(const CMvcModel&) = delete;
  CMvcModel& operator=(const CMvcModel&) = delete;

  bool QueryGuid(REFGUID id, void** out) override;
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  void AddObserver(IObserver* obs) override;
  void RemoveObserver(IObserver* obs) override;
  void UpdateAllObservers(IObserver* except, IMessage* msg) override;
  // Releases the observers from the last to the first.
  virtual ~CMvcModel();
  virtual BOOL IsModified() { return FALSE; }
  virtual void ClearHistory() {}

  int GetObserverCount() const { return static_cast<int>(m_observers.size()); }

 protected:
  std::vector<IObserver*> m_observers;
};

// An undoable operation. A command whose work failed reports IsEffective() FALSE and is then
// passed over by undo and redo.
class CMvcCommand : public CRefCountImpl<IMessage> {
 public:
  UINT GetTypeID() const override = 0;
  void GetDescription(CString& out) const override = 0;
  virtual BOOL IsEffective() { return m_bEffective; }
  virtual void SetEffective(BOOL bEffective) { m_bEffective = bEffective; }
  virtual BOOL Execute() { return TRUE; }
  virtual BOOL Unexecute() { return TRUE; }

  // A number the transaction model gives the command when it first records it, unique within
  // the process; 0 for a command never recorded. Unlike the command's address it is never
  // handed to another command, so a saved state compared by serial cannot be mistaken.
  ULONG GetSerial() const { return m_ulSerial; }

 protected:
  BOOL m_bEffective = TRUE;

 private:
  friend class MvcTransactionModel;
  ULONG m_ulSerial = 0;
};

// Executes commands and owns the ones it holds in its undo and redo rings.
class MvcTransactionModel : public CMvcModel {
 public:
  MvcTransactionModel();
  ~MvcTransactionModel() override;

  BOOL IsModified() override { return TRUE; }
  // Deletes every command of both rings.
  void ClearHistory() override;
  // Pushes cmd (deleting the command a full ring overwrites) and deletes the redo ring.
  virtual BOOL RecordCommand(CMvcCommand* cmd);
  // Executes cmd and records it; when Execute fails nothing is recorded and the caller keeps cmd.
  virtual BOOL DoCommand(CMvcCommand* cmd);
  // Undoes down to the next effective command, moving the others to the redo ring; null when
  // the ring held no effective command.
  virtual CMvcCommand* Undo();
  virtual CMvcCommand* Redo();
  // Empties both rings and gives them capacity n (n below 1 is refused).
  void SetHistorySize(int n);

  CMvcCommand* PeekUndo() { return m_undo.Peek(); }
  CMvcCommand* PeekRedo() { return m_redo.Peek(); }
  int GetUndoCount() const { return m_undo.GetCount(); }
  int GetRedoCount() const { return m_redo.GetCount(); }

 protected:
  CCStack_T<CMvcCommand*> m_undo;
  CCStack_T<CMvcCommand*> m_redo;
  // Called before a full undo ring drops its oldest command to make room: the state before that
  // command can no longer be reached by undoing.
  virtual void OnHistoryOverflow(CMvcCommand*) {}

 private:
  void Destroy(CMvcCommand* cmd);
  // Moves commands from one ring to the other, running them, up to the first effective one.
  CMvcCommand* Shift(CCStack_T<CMvcCommand*>& from, CCStack_T<CMvcCommand*>& to, bool bExecute);
  void DeleteRedo();
};

}  // namespace kelpwood::foundation
