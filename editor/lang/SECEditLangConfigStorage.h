// The storage forms of a language configuration: INI files (read and written), the application's
// registry profile (read and written), archive files and the built-in resource (read).
#pragma once

#include "editor/lang/SECEditLangConfig.h"

// The resource type and id of the built-in C/C++ configuration (an archive stream).
constexpr LPCTSTR SECEDIT_LANGCONFIG_RESTYPE = "SECEditLangConfig";
constexpr UINT SECEDIT_LANGCONFIG_RESID = 145;

// Resets the configuration, then reads colour groups, parser and tags, font, keywords and editor
// options from the INI file; a missing file or key takes its default.
class SECEditLangConfigIniReader : public SECEditLangConfigRefCounted<SECEditLangConfig::Reader> {
 public:
  explicit SECEditLangConfigIniReader(LPCTSTR path) : m_strPath(path) {}
  BOOL Read(SECEditLangConfig* config) override;

 private:
  BOOL ReadColorGroups(SECEditLangConfig* config);
  BOOL ReadParser(SECEditLangConfig* config);
  BOOL ReadFont(SECEditLangConfig* config);
  BOOL ReadKeywords(SECEditLangConfig* config);
  BOOL ReadEditor(SECEditLangConfig* config);

  CString m_strPath;
  BOOL m_bReset = TRUE;
};

// Writes the same five parts to the INI file; FALSE at the first write that fails.
class SECEditLangConfigIniWriter : public SECEditLangConfigRefCounted<SECEditLangConfig::Writer> {
 public:
  explicit SECEditLangConfigIniWriter(LPCTSTR path) : m_strPath(path) {}
  BOOL Write(SECEditLangConfig* config) override;

 private:
  BOOL WriteColorGroups(SECEditLangConfig* config);
  BOOL WriteParser(SECEditLangConfig* config);
  BOOL WriteFont(SECEditLangConfig* config);
  BOOL WriteKeywords(SECEditLangConfig* config);
  BOOL WriteEditor(SECEditLangConfig* config);

  CString m_strPath;
};

// Resets the configuration and loads an archive file. A file that cannot be opened, or a stream
// that is truncated or corrupt, leaves the defaults and reads FALSE.
class SECEditLangConfigBinReader : public SECEditLangConfigRefCounted<SECEditLangConfig::Reader> {
 public:
  explicit SECEditLangConfigBinReader(LPCTSTR path) : m_strPath(path) {}
  BOOL Read(SECEditLangConfig* config) override;

 private:
  BOOL m_bReset = TRUE;
  CString m_strPath;
};

// Loads the archive stream of a "SECEditLangConfig" resource of the program, as the file reader.
class SECEditLangConfigResReader : public SECEditLangConfigRefCounted<SECEditLangConfig::Reader> {
 public:
  explicit SECEditLangConfigResReader(UINT resourceId) : m_nResourceId(resourceId) {}
  BOOL Read(SECEditLangConfig* config) override;

 private:
  BOOL m_bReset = TRUE;
  UINT m_nResourceId;
};

// The user-adjustable part (editor options, colour groups, font) in the application's profile,
// in the sections "<key>\Editor", "<key>\Color Groups\<group>" and "<key>\Font". Only groups the
// configuration already has are visited, so the registry never adds one.
class SECEditLangConfigRegReader : public SECEditLangConfigRefCounted<SECEditLangConfig::Reader> {
 public:
  explicit SECEditLangConfigRegReader(LPCTSTR keyName);
  BOOL Read(SECEditLangConfig* config) override;

 private:
  BOOL m_bReset = FALSE;
  CString m_strKey;
};

class SECEditLangConfigRegWriter : public SECEditLangConfigRefCounted<SECEditLangConfig::Writer> {
 public:
  explicit SECEditLangConfigRegWriter(LPCTSTR keyName);
  BOOL Write(SECEditLangConfig* config) override;

 private:
  CString m_strKey;
};
