// The editor model's files: reading a text file as bytes (refusing NUL bytes, keeping its line
// ends), saving through a mirror file that replaces the old one only when complete, and archiving.
#include <cstring>

#include "afx/CWinApp.h"
#include "core/CMirrorFile.h"
#include "editor/SECEditBlockBuffer.h"
#include "editor/model/SECEdit.h"

namespace {

constexpr UINT kReadPiece = 512000;

// Reads the whole file in pieces into `text`; FALSE when it holds a NUL byte.
BOOL ReadAll(CFile& file, std::string* text) {
  const ULONGLONG length = file.GetLength();
  text->resize(static_cast<size_t>(length));
  size_t total = 0;
  while (total < text->size()) {
    const UINT n = file.Read(text->data() + total, static_cast<UINT>(std::min<size_t>(kReadPiece, text->size() - total)));
    if (n == 0) break;
    total += n;
  }
  text->resize(total);
  return std::memchr(text->data(), 0, text->size()) == nullptr;
}

}  // namespace

void SECEdit::ReportOpenError() { AfxMessageBox("Unable to Open File", MB_OK); }

BOOL SECEdit::OpenFile(LPCTSTR path) {
  CWaitCursor wait;
  CFile file;
  CFileException error;
  if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone, &error)) {
    error.ReportError();
    file.Abort();
    return FALSE;
  }
  NewDocument();
  std::string text;
  BOOL read = FALSE;
  try {
    read = ReadAll(file, &text);
  } catch (CFileException* e) {
    e->ReportError();
    e->Delete();
    file.Abort();
    NewDocument();
    return FALSE;
  }
  file.Close();
  if (!read) {
    // A NUL byte would end the text there: the file is refused rather than loaded truncated.
    NewDocument();
    ReportOpenError();
    return FALSE;
  }
  // Line ends stay as the file has them: CR alone ends lines in a file without LF, and wrapping
  // breaks carry a CR only when the file has CRs.
  const bool hasLF = text.find('\n') != std::string::npos;
  const bool hasCR = text.find('\r') != std::string::npos;
  if (hasCR && !hasLF) {
    m_pBuffer->SetLineEndChar1('\r');
    m_pBuffer->SetLineEndChar2(0);
  }
  m_bBreakWithChar2 = hasCR && hasLF;
  if (auto* block = dynamic_cast<SECEditBlockBuffer*>(m_pBuffer.get())) {
    block->SetText(text.data(), static_cast<int>(text.size()));
  } else {
    SECEditLineColPair where;
    if (!m_pBuffer->InsertText(where, text.c_str(), static_cast<int>(text.size()))) {
      NewDocument();
      ReportOpenError();
      return FALSE;
    }
  }
  ResetLineArrays();
  SECEditMsg msg(SECEDIT_MSG_INIT_CONTROLLER);
  UpdateAllObservers(this, &msg);
  WrapLongLines(TRUE, 0, -1);
  return TRUE;
}

BOOL SECEdit::SaveFile(LPCTSTR path) {
  CWaitCursor wait;
  CFileStatus status;
  if (CFile::GetStatus(path, status)) {
    if (status.m_attribute & CFile::readOnly) {
      CString message;
      AfxFormatString1(message, IDS_SECEDIT_READONLY_FILE, path);
      if (message.IsEmpty()) message.Format("The file '%s' exists and is read-only. Please save to a different filename.", path);
      AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
      return FALSE;
    }
    CFile test;
    CFileException error;
    if (!test.Open(path, CFile::modeWrite | CFile::shareExclusive, &error)) {
      error.ReportError();
      return FALSE;
    }
    test.Close();
  }
  CMirrorFile mirror;
  CFileException error;
  if (!mirror.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &error)) {
    error.ReportError();
    mirror.Abort();
    return FALSE;
  }
  try {
    m_pBuffer->Write(&mirror, FALSE);
    mirror.Close();
  } catch (CFileException* e) {
    e->ReportError();
    e->Delete();
    mirror.Abort();
    return FALSE;
  }
  kelpwood::foundation::CMvcCommand* top = m_undo.Peek();
  m_ulSavedSerial = top != nullptr ? top->GetSerial() : 0;
  m_bModified = FALSE;
  return TRUE;
}

void SECEdit::Serialize(CArchive& ar) {
  SerializeText(ar);
  SerializeLanguage(ar);
}

void SECEdit::SerializeText(CArchive& ar) {
  if (ar.IsStoring()) {
    CString text;
    const SECEditLineCol end = GetEndPosition();
    GetText(&text, 0, 0, end.m_nLine, end.m_nCol);
    ar << text;
  } else {
    CString text;
    ar >> text;
    NewDocument();
    if (!text.IsEmpty()) {
      SECEditLineColPair where;
      m_pBuffer->InsertText(where, text, text.GetLength());
      ResetLineArrays();
      SECEditMsg msg(SECEDIT_MSG_INIT_CONTROLLER);
      UpdateAllObservers(this, &msg);
    }
  }
  ClearUndoHistory();
  m_bModified = FALSE;
  m_ulSavedSerial = 0;
}

void SECEdit::SerializeLanguage(CArchive& ar) {
  if (ar.IsStoring()) {
    CString name;
    GetLanguageName(&name);
    ar << name;
  } else {
    CString name;
    ar >> name;
    SelectLangConfig(name);
  }
}
