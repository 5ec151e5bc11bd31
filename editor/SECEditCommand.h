// Undoable edits: one insert or delete of a range that can reverse itself, and a group of
// commands that undo and redo as one step.
#pragma once

#include <unordered_set>
#include <vector>

#include "editor/ISECEditBuffer.h"
#include "editor/SECEditLineCol.h"
#include "editor/mvc/MvcModel.h"

class SECEdit;

constexpr UINT SECEDIT_MSG_COMMAND = 22586;
constexpr UINT SECEDIT_MSG_COMPOSITE = 22587;
constexpr UINT SECEDIT_MSG_REPLACE_SET = 22588;

// The range is the insertion point and, once inserted, the end of the text; or the range to
// delete. The deleted text is captured on the first Execute.
class SECEditCommand : public kelpwood::foundation::CMvcCommand, public SECEditLineColPair {
 public:
  SECEditCommand(SECEdit* pModel, BOOL bInsert) : m_pModel(pModel), m_bInsert(bInsert) {}

  UINT GetTypeID() const override { return SECEDIT_MSG_COMMAND; }
  void GetDescription(CString& out) const override;
  BOOL IsEffective() override { return m_bSuccess; }
  BOOL Execute() override;
  BOOL Unexecute() override;
  virtual BOOL DoDelete();
  virtual BOOL DoInsert();

  BOOL IsInsert() const { return m_bInsert; }
  // Whether the command's last run removed text (a delete executed or an insert undone).
  BOOL LastActionDeleted() const { return m_bLastDeleted; }
  void SetLastActionDeleted(BOOL bDeleted) { m_bLastDeleted = bDeleted; }

  CString m_strText;

 private:
  BOOL Run(BOOL bInsert);

  SECEdit* m_pModel;
  BOOL m_bInsert;
  BOOL m_bSuccess = TRUE;
  BOOL m_bLastDeleted = FALSE;
};

// Visits the commands of a composite.
class ISECEditCommandVisitor {
 public:
  virtual ~ISECEditCommandVisitor() = default;
  virtual void Begin() {}
  virtual void Visit(void* arg, kelpwood::foundation::CMvcCommand* cmd) = 0;
};

// Owns its commands; a command can be in a group only once, counting nested groups.
class SECEditCompositeCommand : public kelpwood::foundation::CMvcCommand {
 public:
  ~SECEditCompositeCommand() override;

  UINT GetTypeID() const override { return SECEDIT_MSG_COMPOSITE; }
  void GetDescription(CString& out) const override { out = "SECEditCompositeCommand"; }
  // Runs the commands first to last; stops at the first failure (the ones already run stay run).
  BOOL Execute() override;
  BOOL Unexecute() override;
  virtual int GetCount() { return static_cast<int>(m_commands.size()); }
  virtual BOOL AreAllEffective();
  virtual void ForEach(void* arg, ISECEditCommandVisitor* visitor);
  // Appends the command when CanAdd; FALSE leaves it with the caller.
  virtual BOOL AddCommand(kelpwood::foundation::CMvcCommand* cmd);
  virtual BOOL CanAdd(kelpwood::foundation::CMvcCommand* cmd);

  const std::vector<kelpwood::foundation::CMvcCommand*>& Commands() const { return m_commands; }

 private:
  std::vector<kelpwood::foundation::CMvcCommand*> m_commands;
  // The same commands as a set, and the nested groups among them, so that CanAdd costs no walk
  // over a group of thousands (a Replace All).
  std::unordered_set<kelpwood::foundation::CMvcCommand*> m_held;
  std::vector<SECEditCompositeCommand*> m_nested;
};

// Many replacements made, undone and redone as one edit (a Replace All), each time in one pass
// over the text and with one notice to the model's observers.
class SECEditReplaceCommand : public kelpwood::foundation::CMvcCommand {
 public:
  // `edits` in ascending order of offset, none overlapping the next, `texts` their new bytes;
  // the bytes they replace are kept from the model's text as it is now.
  SECEditReplaceCommand(SECEdit* pModel, std::vector<SECEditReplacement> edits, std::string texts);

  UINT GetTypeID() const override { return SECEDIT_MSG_REPLACE_SET; }
  void GetDescription(CString& out) const override;
  BOOL IsEffective() override { return m_bSuccess; }
  BOOL Execute() override;
  BOOL Unexecute() override;

  int GetCount() const { return static_cast<int>(m_forward.size()); }
  // Where the first replacement starts: the same offset before and after the command.
  int GetFirstOffset() const { return m_forward.empty() ? 0 : m_forward.front().offset; }

 private:
  SECEdit* m_pModel;
  std::vector<SECEditReplacement> m_forward;   // over the text before, with the new bytes
  std::vector<SECEditReplacement> m_backward;  // over the text after, with the old bytes
  std::string m_newTexts;
  std::string m_oldTexts;
  BOOL m_bSuccess = TRUE;
};
