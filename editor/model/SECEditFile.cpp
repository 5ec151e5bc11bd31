// The editor model's files: reading a text file (refusing NUL bytes, keeping its line ends and
// its encoding), saving through a mirror file that replaces the old one only when complete, and
// archiving.
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "afx/CWinApp.h"
#include "base/Convert.h"
#include "core/CMemFile.h"
#include "core/CMirrorFile.h"
#include "editor/SECEditBlockBuffer.h"
#include "editor/model/SECEdit.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A file's text as the editor holds it (the ANSI code page) and the encoding it is kept in.
struct FileText {
  std::string text;
  UINT codePage = CP_ACP;
  bool bom = false;
  // UTF-8 text with characters the code page cannot hold: held as its bytes and not to be edited,
  // since a character typed in the code page would leave the file in two encodings.
  bool unfit = false;
};

// Valid UTF-8 with bytes beyond ASCII (or a byte order mark) is UTF-8 text; ASCII alone is taken
// in the locale's charset, so what is typed into it is written as other programs of the desktop
// read it; anything else is text of the code page (or of another), kept as its bytes.
FileText ReadAsText(std::string bytes) {
  FileText out;
  std::string_view view(bytes);
  const bool bom = view.substr(0, kUtf8Bom.size()) == kUtf8Bom;
  if (bom) view.remove_prefix(kUtf8Bom.size());
  if (!bom && brambolt::IsAsciiText(view)) {
    out.codePage = brambolt::GetSystemNameCodePage();
    out.text = std::move(bytes);
    return out;
  }
  if (GetACP() != CP_UTF8 && brambolt::IsUtf8Text(view)) {
    std::string converted;
    if (brambolt::ConvertExactly(view, CP_UTF8, CP_ACP, converted)) {
      out.text = std::move(converted);
      out.codePage = CP_UTF8;
      out.bom = bom;
      return out;
    }
    out.unfit = true;
  }
  out.text = std::move(bytes);
  return out;
}

// The held text in UTF-8. A line whose bytes are no text of the code page (bytes pasted from
// another file, say) is written as those bytes: nothing is turned into another character.
std::string TextAsUtf8(const std::string& text) {
  std::string utf8;
  if (brambolt::ConvertExactly(text, CP_ACP, CP_UTF8, utf8)) return utf8;
  utf8.clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string_view line(text.data() + start, end - start);
    std::string converted;
    utf8 += brambolt::ConvertExactly(line, CP_ACP, CP_UTF8, converted) ? std::string_view(converted) : line;
    start = end;
  }
  return utf8;
}

}  // namespace

void SECEdit::ReportOpenError() {
  if (m_strOpenRefusal.IsEmpty()) {
    AfxMessageBox("Unable to Open File", MB_OK);
    return;
  }
  AfxMessageBox("Unable to Open File: " + m_strOpenRefusal, MB_OK);
}

void SECEdit::ReportWrappedLines(LPCTSTR path) {
  CString message;
  message.Format("%s\n\nLines longer than %d columns were broken into several lines to fit the editor. "
                 "Saving the file keeps these line breaks.",
                 path, m_nMaxLineLength);
  AfxMessageBox(message, MB_OK | MB_ICONINFORMATION);
}

BOOL SECEdit::OpenFile(LPCTSTR path) { return LoadFile(path, nullptr); }

BOOL SECEdit::ReloadFile(LPCTSTR path, CString& failure) {
  failure.Empty();
  return LoadFile(path, &failure);
}

BOOL SECEdit::LoadFile(LPCTSTR path, CString* failure) {
  CWaitCursor wait;
  // A failure is shown at once, or handed to the caller as text when it asked for it.
  auto fail = [failure](CException* e, LPCTSTR text) {
    if (failure == nullptr) {
      if (e != nullptr) e->ReportError();
      return;
    }
    char message[1024] = {};
    if (e != nullptr && e->GetErrorMessage(message, sizeof message) && message[0] != '\0')
      *failure = message;
    else
      *failure = text;
  };
  // Only a file: a device, pipe or socket never ends (or never begins) and would hold the window.
  auto notAFile = [&](const brambolt::FileIdentity& identity) {
    if (identity.kind != brambolt::FileIdentity::Kind::special && identity.kind != brambolt::FileIdentity::Kind::folder)
      return false;
    CString message;
    message.Format("%s\n\nThis is not a file of text but %s: the editor opens files only.", path,
                   identity.kind == brambolt::FileIdentity::Kind::folder ? "a folder" : "a device, a pipe or a socket");
    if (failure == nullptr)
      AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    else
      *failure = identity.kind == brambolt::FileIdentity::Kind::folder ? "it is a folder" : "it is a device, a pipe or a socket";
    return true;
  };
  if (notAFile(brambolt::QueryFileIdentity(path))) return FALSE;
  CFile file;
  CFileException error;
  if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone, &error)) {
    fail(&error, "Unable to Open File");
    file.Abort();
    return FALSE;
  }
  // The file read, as it was when the read began: a change made while it is read or after it
  // makes the file on disk differ from this, and a save asks before writing over it.
  const brambolt::FileIdentity identity = brambolt::QueryFileIdentity(file.m_hFile);
  if (notAFile(identity)) {
    file.Abort();
    return FALSE;
  }
  // The file is read into a buffer of its own: the text the model holds stays until the whole
  // file has been read, so a read that fails (a reload among them) loses nothing.
  std::unique_ptr<ISECEditBuffer> fresh(CreateBuffer());
  fresh->InitEmpty();
  auto* block = dynamic_cast<SECEditBlockBuffer*>(fresh.get());
  BOOL read = FALSE;
  FileText content;
  try {
    const ULONGLONG length = file.GetLength();
    if (length >= static_cast<ULONGLONG>(INT_MAX)) AfxThrowMemoryException();
    std::string bytes(static_cast<size_t>(length), '\0');
    size_t total = 0;
    while (total < bytes.size()) {
      const UINT n = file.Read(bytes.data() + total, static_cast<UINT>(std::min<size_t>(512000, bytes.size() - total)));
      if (n == 0) break;
      total += n;
    }
    bytes.resize(total);
    content = ReadAsText(std::move(bytes));
    if (block != nullptr) {
      CMemFile memory(reinterpret_cast<BYTE*>(content.text.data()), static_cast<UINT>(content.text.size()));
      read = block->LoadFrom(&memory);
    } else {
      // Another buffer takes the text through its insert.
      const std::string& text = content.text;
      SECEditLineColPair where;
      read = text.find('\0') == std::string::npos && fresh->InsertText(where, text.c_str(), static_cast<int>(text.size()));
    }
  } catch (CFileException* e) {
    fail(e, "Unable to Open File");
    e->Delete();
    file.Abort();
    return FALSE;
  }
  file.Close();
  if (!read) {
    // A NUL byte would end the text there: the file is refused rather than loaded truncated, and
    // the user is told why (a picture or a program is no text).
    if (failure == nullptr) {
      m_strOpenRefusal.Format("%s\n\nIt holds NUL bytes, so it is not a file of text (a picture or a program, "
                              "perhaps), and the editor cannot show it.",
                              path);
      ReportOpenError();
      m_strOpenRefusal.Empty();
    } else {
      fail(nullptr, "The file holds a NUL byte, which the editor cannot show.");
    }
    return FALSE;
  }
  NewDocument();
  m_fileIdentity = identity;
  m_pBuffer = std::move(fresh);
  m_nFileCodePage = content.codePage;
  m_bFileBom = content.bom ? TRUE : FALSE;
  if (content.unfit) {
    // Read-only: kept as the file's bytes, which a save writes back unchanged.
    m_nReservedState = 1;
    if (failure == nullptr) {
      CString message;
      message.Format("%s\n\nThis file is UTF-8 text with characters that code page %u cannot show. It is shown as "
                     "its bytes and opened read-only, so that no edit leaves it in two encodings.",
                     path, GetACP());
      AfxMessageBox(message, MB_OK | MB_ICONINFORMATION);
    }
  }
  auto* buffer = dynamic_cast<SECEditBlockBuffer*>(m_pBuffer.get());
  // Line ends stay as the file has them: CR alone ends lines in a file without LF, and the line
  // ends the editor inserts (wrapping breaks, Enter, pasted text) carry a CR only when the file's
  // lines end in CR LF.
  CString first;
  m_pBuffer->CopyRange(&first, 0, 0, -1, -1);
  const int firstLength = first.GetLength();
  if (m_pBuffer->GetLineCount() == 1 && first.Find('\r') >= 0) {
    m_pBuffer->SetLineEndChar1('\r');
    m_pBuffer->SetLineEndChar2(0);
  }
  // A file whose first line ends in LF alone keeps LF; one with CR LF, or without any line end,
  // takes CR LF as a new text does.
  const bool lfAlone = firstLength >= 1 && first[firstLength - 1] == '\n' && (firstLength < 2 || first[firstLength - 2] != '\r');
  m_bBreakWithChar2 = !lfAlone;
  ResetLineArrays();
  SECEditMsg msg(SECEDIT_MSG_INIT_CONTROLLER);
  UpdateAllObservers(this, &msg);
  // A text whose longest line fits in the limit even with every byte a tab needs no look.
  if (buffer == nullptr || static_cast<long long>(buffer->GetLongestLoadedLine()) * TabSize() > m_nMaxLineLength) {
    WrapLongLines(TRUE, 0, -1);
    // The breaks are in the text now and go to the file with the next save: the user is told.
    if (IsModified()) ReportWrappedLines(path);
  }
  return TRUE;
}

BOOL SECEdit::SaveFile(LPCTSTR path) {
  if (!m_pBuffer) return FALSE;
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
    if (m_nFileCodePage == CP_UTF8) {
      // Text read as UTF-8 (or new under a UTF-8 locale) goes back as UTF-8, with what was typed.
      CMemFile memory;
      m_pBuffer->Write(&memory, FALSE);
      std::string text(static_cast<size_t>(memory.GetLength()), '\0');
      memory.SeekToBegin();
      text.resize(memory.Read(text.data(), static_cast<UINT>(text.size())));
      std::string utf8 = TextAsUtf8(text);
      if (m_bFileBom) utf8.insert(0, kUtf8Bom);
      mirror.Write(utf8.data(), static_cast<UINT>(utf8.size()));
    } else {
      m_pBuffer->Write(&mirror, FALSE);
    }
    mirror.Close();
  } catch (CFileException* e) {
    e->ReportError();
    e->Delete();
    mirror.Abort();
    return FALSE;
  }
  // The file as this save left it (through a link, the file the link names).
  m_fileIdentity = brambolt::QueryFileIdentity(path);
  kelpwood::foundation::CMvcCommand* top = m_undo.Peek();
  m_ulSavedSerial = top != nullptr ? top->GetSerial() : 0;
  ChangeModified(FALSE);
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
  ChangeModified(FALSE);
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
