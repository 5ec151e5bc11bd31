// CMirrorFile: a safe save. A file opened with modeCreate is written to a temporary file; Close
// makes it durable and puts it in place of the target, Abort (or destruction without Close)
// discards it and leaves the old file as it was. How the temporary file reaches its place when
// the target's folder takes no new file, or the target has other names (hard links) that must
// show the new text too, is told in core/SaveInPlace.h.
#pragma once

#include "core/CFile.h"

class CMirrorFile : public CFile {
  DECLARE_DYNAMIC(CMirrorFile)

 public:
  // A symbolic link at the target's name: a save through it writes the file it names (the link
  // survives), or the save replaces the link by the new file (a file the program owns by name,
  // which a link planted there must not send elsewhere).
  enum LinkRule { followLinks, replaceLinks };

  explicit CMirrorFile(LinkRule rule = followLinks) : m_linkRule(rule) {}
  ~CMirrorFile() override;

  // Without modeCreate, or with modeNoTruncate, the file itself is opened as by CFile.
  BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
  void Abort() override;
  void Close() override;

 protected:
  // Both are the system's paths, resolved once at Open: they go to the file calls that take the
  // system's spelling, never through the path rules again (which would convert their names twice).
  CString m_strMirrorName;      // the temporary file
  CString m_strTargetName;      // the file the mirror replaces (symbolic links resolved by the rule)
  BOOL m_bMirrorInCache = FALSE;  // the temporary file lies in the user's cache folder
  BOOL m_bWriteInPlace = FALSE;   // its text goes into the file in place (a file with other names)
  int m_nMirrorLock = -1;  // holds the temporary file's lock (flock): no other process takes it for a killed save's
  LinkRule m_linkRule;

 private:
  void ReleaseMirrorLock();
};
