// Reading and rewriting the groups and source files of a Visual C++ 6 project file.
#include "model/EBMsDspProjectObj.h"

#include <utility>
#include <vector>

#include "core/TextStream.h"
#include "os/FileApi.h"

IMPLEMENT_DYNCREATE(EBMsDspProjectObj, EBProjectBaseObj)

using namespace project_import;

namespace {

// The quoted name of a "# Begin Group" line.
CString GroupName(const CString& strLine) { return Unquote(strLine.Mid(13)); }

constexpr DWORD kModified = 1;

}  // namespace

BOOL EBMsDspProjectObj::Open(LPCTSTR lpszPathName) {
  if (!ReadDspFile(nullptr, lpszPathName, CString())) return FALSE;
  m_strPath = lpszPathName;
  return TRUE;
}

BOOL EBMsDspProjectObj::ReadDspFile(EBProjectBaseObjItem* pParent, LPCTSTR lpszPathName, const CString& strFolder) {
  LineReader reader;
  if (!reader.Open(lpszPathName)) return FALSE;
  CString strLine;
  for (;;) {
    if (!reader.Next(strLine) || StartsWith(strLine, "# End Project")) return FALSE;
    if (StartsWith(strLine, "# Begin Project")) break;
  }

  // The open groups; the parent stays at the bottom even when the file closes more groups
  // than it opened.
  std::vector<EBProjectBaseObjItem*> groups;
  if (pParent != nullptr) groups.push_back(pParent);
  const size_t nBottom = groups.size();
  auto current = [&]() { return groups.empty() ? nullptr : groups.back(); };
  auto endGroup = [&]() {
    if (groups.size() > nBottom) groups.pop_back();
  };

  bool bEnd = false;
  while (!bEnd && reader.Next(strLine)) {
    if (StartsWith(strLine, "# End Project")) {
      bEnd = true;
    } else if (StartsWith(strLine, "# End Group")) {
      endGroup();
    } else if (StartsWith(strLine, "# Begin Group")) {
      EBProjectBaseObjItem* pParentGroup = current();
      const int nKind = pParentGroup != nullptr ? EBITEM_GROUP : EBITEM_GROUP | EBITEM_TOPLEVEL;
      groups.push_back(AddItem(pParentGroup, GroupName(strLine), strFolder, nKind));
    } else if (StartsWith(strLine, "# Begin Source File")) {
      // The block's other lines are build settings and custom build steps.
      while (reader.Next(strLine)) {
        if (StartsWith(strLine, "# End Source File")) break;
        if (StartsWith(strLine, "# End Project")) {
          bEnd = true;
          break;
        }
        if (StartsWith(strLine, "# End Group")) {
          endGroup();
          break;
        }
        if (StartsWith(strLine, "SOURCE=")) {
          const CString strValue = SourceValue(strLine);
          if (strValue.IsEmpty()) continue;
          if (IsMacroReference(strValue)) {
            m_NotRead.push_back({strValue, "it names a folder by a build macro, which is not known here"});
            continue;
          }
          EBProjectBaseObjItem* pGroup = current();
          AddItem(pGroup, strValue, strFolder, pGroup != nullptr ? EBITEM_FILE : EBITEM_FILE | EBITEM_TOPLEVEL);
        }
      }
    }
  }
  return TRUE;
}

BOOL EBMsDspProjectObj::Write(LPCTSTR lpszPathName) {
  m_Lines.RemoveAll();
  m_nFirstGroupLine = 0;
  m_dwFlags &= ~kModified;
  LineReader reader;
  if (!reader.Open(lpszPathName)) return FALSE;
  for (CString strLine; reader.Next(strLine);) {
    m_Lines.Add(strLine);
    CString strTrimmed = strLine;
    strTrimmed.Trim();
    if (m_nFirstGroupLine == 0 && strTrimmed.Left(13) == "# Begin Group")
      m_nFirstGroupLine = static_cast<int>(m_Lines.GetSize());
  }
  if (m_nFirstGroupLine == 0) {
    m_Lines.RemoveAll();
    return FALSE;
  }

  // Written beside the project and renamed over it, so a failed write keeps the old file.
  CString strFolder = FolderPart(lpszPathName);
  if (strFolder.IsEmpty()) strFolder = ".";
  char szTemp[MAX_PATH];
  BOOL bDone = GetTempFileName(strFolder, "dsp", 0, szTemp) != 0;
  if (bDone) {
    TextOutStream out(szTemp);
    for (int i = 0; i < m_nFirstGroupLine - 1; ++i) out << m_Lines[i] << "\n";
    bDone = WriteEnd(out) && out.close() && MoveFileEx(szTemp, lpszPathName, MOVEFILE_REPLACE_EXISTING);
    if (!bDone) DeleteFile(szTemp);
  }
  m_Lines.RemoveAll();
  return bDone;
}

BOOL EBMsDspProjectObj::WriteEnd(TextOutStream& out) {
  for (POSITION pos = m_Items.GetHeadPosition(); pos != nullptr;) {
    const EBProjectBaseObjItem* pItem = m_Items.GetNext(pos);
    if (pItem->IsTopLevel()) WriteGroup(pItem, out);
  }
  out << "# End Target\n"
      << "# End Project\n";
  return out.good();
}

// Writes an item and everything below it. Open groups are kept on a stack of our own, so
// groups nested to any depth cost no call stack.
void EBMsDspProjectObj::WriteGroup(const EBProjectBaseObjItem* pTop, TextOutStream& out) {
  std::vector<std::pair<const EBProjectBaseObjItem*, POSITION>> open;
  auto enter = [&](const EBProjectBaseObjItem* pItem) {
    if (pItem->IsFile()) {
      WriteSourceFile(pItem, out);
      return;
    }
    out << "# Begin Group \"" << (pItem->IsTopLevel() ? pItem->m_strFolder + pItem->m_strName : pItem->m_strName)
        << "\"\n"
        << "\n"
        << "# PROP Default_Filter \"h;hpp;hxx;hm;inl;cpp;c;cxx;rc;def;r;odl;idl;hpj;bat\"\n";
    open.emplace_back(pItem, pItem->m_Children.GetHeadPosition());
  };
  enter(pTop);
  while (!open.empty()) {
    POSITION& pos = open.back().second;
    if (pos == nullptr) {
      out << "# End Group\n"
          << "\n";
      open.pop_back();
      continue;
    }
    enter(static_cast<const EBProjectBaseObjItem*>(open.back().first->m_Children.GetNext(pos)));
  }
}

void EBMsDspProjectObj::WriteSourceFile(const EBProjectBaseObjItem* pItem, TextOutStream& out) {
  out << "# Begin Source File\n"
      << "\n";
  CString strPath = pItem->m_strFolder + pItem->m_strName;
  const CString strProjectFolder = FolderPart(m_strPath);
  if (!strProjectFolder.IsEmpty() && strPath.Left(strProjectFolder.GetLength()).CompareNoCase(strProjectFolder) == 0)
    strPath = strPath.Mid(strProjectFolder.GetLength());
  if (strPath == "stdafx.cpp") {
    out << "SOURCE=.\\" << strPath << "\n"
        << "# ADD CPP /Yc\"stdafx.h\"\n";
  } else {
    // Relative paths are written from ".", absolute ones as they are; a path with a blank is
    // quoted, as the reader expects.
    if (!IsAbsolutePath(strPath) && strPath[0] != '.') strPath = ".\\" + strPath;
    if (strPath.Find(' ') >= 0) strPath = "\"" + strPath + "\"";
    out << "SOURCE=" << strPath << "\n";
  }
  out << "# End Source File\n";
}
