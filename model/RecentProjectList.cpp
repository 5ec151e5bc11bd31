// Joining and splitting the recent-project text.
#include "model/RecentProjectList.h"

int JoinRecentProjectList(CString& strText, const CStringList& list) {
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    strText += list.GetNext(pos);
    strText += ';';
  }
  return static_cast<int>(list.GetCount());
}

int SplitRecentProjectList(CStringList& list, CString strText) {
  auto addEntry = [&list](const CString& strEntry) {
    if (list.Find(strEntry) == nullptr) list.AddTail(strEntry);
  };
  int nStart = 0;
  for (int nSemi; (nSemi = strText.Find(';', nStart)) >= 0; nStart = nSemi + 1)
    addEntry(strText.Mid(nStart, nSemi - nStart));
  CString strLast = strText.Mid(nStart);
  if (!strLast.IsEmpty()) addEntry(strLast);
  return static_cast<int>(list.GetCount());
}
