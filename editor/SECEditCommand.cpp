// Edit commands: running an insert or a delete through the model, and groups of commands.
#include "editor/SECEditCommand.h"

#include <algorithm>

#include "editor/model/SECEdit.h"

using kelpwood::foundation::CMvcCommand;

void SECEditCommand::GetDescription(CString& out) const {
  if (m_bInsert)
    out.Format("Insert text having length %d at line %d, column %d", m_strText.GetLength(), m_start.m_nLine, m_start.m_nCol);
  else
    out.Format("Delete text from line %d, column %d to line %d, column %d", m_start.m_nLine, m_start.m_nCol, m_end.m_nLine,
               m_end.m_nCol);
}

BOOL SECEditCommand::Run(BOOL bInsert) {
  SECEdit::ExecutingCommand running(m_pModel, this);
  m_bLastDeleted = !bInsert;
  return bInsert ? DoInsert() : DoDelete();
}

BOOL SECEditCommand::Execute() { return Run(m_bInsert); }

BOOL SECEditCommand::Unexecute() { return Run(!m_bInsert); }

BOOL SECEditCommand::DoDelete() {
  if (m_strText.IsEmpty() &&
      !m_pModel->GetText(&m_strText, m_start.m_nLine, m_start.m_nCol, m_end.m_nLine, m_end.m_nCol))
    m_bSuccess = FALSE;
  const BOOL result = m_pModel->DeleteText(m_start.m_nLine, m_start.m_nCol, m_end.m_nLine, m_end.m_nCol);
  m_bSuccess = m_bSuccess && result;
  return result;
}

BOOL SECEditCommand::DoInsert() {
  const SECEditLineColPair before = *this;
  BOOL result = m_pModel->InsertText(*this, m_strText, -1);
  // A wrapping break added to the text becomes part of it.
  if (result && *static_cast<SECEditLineColPair*>(this) != before)
    result = m_pModel->GetText(&m_strText, m_start.m_nLine, m_start.m_nCol, m_end.m_nLine, m_end.m_nCol);
  m_bSuccess = m_bSuccess && result;
  return result;
}

SECEditCompositeCommand::~SECEditCompositeCommand() {
  for (CMvcCommand* cmd : m_commands) delete cmd;
}

BOOL SECEditCompositeCommand::Execute() {
  for (CMvcCommand* cmd : m_commands)
    if (!cmd->Execute()) return FALSE;
  return TRUE;
}

BOOL SECEditCompositeCommand::Unexecute() {
  for (auto it = m_commands.rbegin(); it != m_commands.rend(); ++it)
    if (!(*it)->Unexecute()) return FALSE;
  return TRUE;
}

BOOL SECEditCompositeCommand::AreAllEffective() {
  return std::all_of(m_commands.begin(), m_commands.end(), [](CMvcCommand* cmd) { return cmd->IsEffective(); });
}

void SECEditCompositeCommand::ForEach(void* arg, ISECEditCommandVisitor* visitor) {
  for (CMvcCommand* cmd : m_commands) visitor->Visit(arg, cmd);
}

BOOL SECEditCompositeCommand::AddCommand(CMvcCommand* cmd) {
  if (!CanAdd(cmd)) return FALSE;
  m_commands.push_back(cmd);
  m_held.insert(cmd);
  if (cmd->GetTypeID() == GetTypeID()) m_nested.push_back(static_cast<SECEditCompositeCommand*>(cmd));
  return TRUE;
}

BOOL SECEditCompositeCommand::CanAdd(CMvcCommand* cmd) {
  if (m_held.count(cmd) != 0) return FALSE;
  return std::all_of(m_nested.begin(), m_nested.end(), [cmd](SECEditCompositeCommand* group) { return group->CanAdd(cmd); });
}

SECEditReplaceCommand::SECEditReplaceCommand(SECEdit* pModel, std::vector<SECEditReplacement> edits, std::string texts)
    : m_pModel(pModel), m_forward(std::move(edits)), m_newTexts(std::move(texts)) {
  ISECEditBuffer* buffer = m_pModel->GetBuffer();
  const SECEditLineCol end = m_pModel->GetEndPosition();
  LPTSTR text = nullptr;
  const int length = buffer != nullptr ? buffer->GetPointer(&text, 0, 0, end.m_nLine, end.m_nCol) : 0;
  m_backward.reserve(m_forward.size());
  long long shift = 0;
  for (const SECEditReplacement& e : m_forward) {
    if (e.offset < 0 || e.length < 0 || e.offset > length - e.length) {
      m_bSuccess = FALSE;
      break;
    }
    const int at = static_cast<int>(m_oldTexts.size());
    m_oldTexts.append(text + e.offset, static_cast<size_t>(e.length));
    m_backward.push_back({static_cast<int>(e.offset + shift), e.size, at, e.length});
    shift += e.size - e.length;
  }
}

void SECEditReplaceCommand::GetDescription(CString& out) const { out.Format("Replace %d ranges", GetCount()); }

BOOL SECEditReplaceCommand::Execute() {
  m_bSuccess = m_bSuccess && m_pModel->ApplyReplacements(m_forward, m_newTexts, this);
  return m_bSuccess;
}

BOOL SECEditReplaceCommand::Unexecute() {
  m_bSuccess = m_bSuccess && m_pModel->ApplyReplacements(m_backward, m_oldTexts, this);
  return m_bSuccess;
}
