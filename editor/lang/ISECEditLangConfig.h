// What the editor model asks of a language configuration: colour groups, tags, character sets,
// keywords and editor options, and the lookup of a configuration by language name.
#pragma once

#include "core/CArray.h"
#include "core/CString.h"
#include "editor/mvc/MvcInterfaces.h"

// A fixed number of bits in 32-bit words; an index outside the array reads bit 0 and writes nothing.
template <int N>
class SECBitArray {
 public:
  BOOL Get(UINT index) const {
    if (index >= static_cast<UINT>(N)) index = 0;
    return (m_words[index / 32] >> (index % 32)) & 1U;
  }
  void Set(UINT index, BOOL value) {
    if (index >= static_cast<UINT>(N)) return;
    if (value)
      m_words[index / 32] |= 1U << (index % 32);
    else
      m_words[index / 32] &= ~(1U << (index % 32));
  }
  void SetAll(BOOL value) {
    for (DWORD& w : m_words) w = value ? ~0U : 0U;
  }
  bool IsEmpty() const {
    for (DWORD w : m_words)
      if (w != 0) return false;
    return true;
  }

 private:
  DWORD m_words[(N + 31) / 32] = {};
};

// One colour group.
class SECEditColorInfo {
 public:
  COLORREF m_clrFore = 0;
  COLORREF m_clrBack = 0;
  BOOL m_bForeAuto = TRUE;
  BOOL m_bBackAuto = TRUE;
  WORD m_wReserved = 0;
  CString m_strName;
  BOOL m_bConfigurable = TRUE;
};

// One tag: a begin string, an end string (may be empty: the tag runs to the end of the line), an
// escape string, its colour group and whether it may span lines.
class SECEditKeywordInfo {
 public:
  virtual ~SECEditKeywordInfo() = default;
  CString m_strBegin;
  CString m_strEnd;
  CString m_strEscape;
  WORD m_wGroup = 0;
  BOOL m_bMultiLine = FALSE;
};

typedef CArray<SECEditKeywordInfo*, SECEditKeywordInfo*> SECEditKeywordInfoList;
typedef CArray<SECEditColorInfo*, SECEditColorInfo*> SECEditColorInfoArray;

// Character sets of IsInCharSet and SetCharSet.
enum SECEditCharSet { kKeywordStart = 0, kKeywordMiddle = 1, kKeywordEnd = 2, kDelimiters = 3, kOperators = 4 };
// Standard groups of GetStandardGroupIndex.
enum SECEditStandardGroup { kGroupText = 0, kGroupSelection = 1, kGroupNumber = 2, kGroupOperator = 3 };

// A language configuration is a subject (its observers hear 22583 when it changes) that counts
// references. Character codes: a byte's value, or lead × 256 + trail for a double-byte character.
class ISECEditLangConfig : public kelpwood::foundation::ISubject {
 public:
  virtual BOOL GetAutoIndent() = 0;
  virtual SECEditColorInfo* GetColorInfo(int index) = 0;
  virtual int GetColorGroupCount() = 0;
  virtual SECEditColorInfo* GetStandardColorInfo(int which) = 0;
  virtual WORD GetStandardGroupIndex(int which) = 0;
  virtual SECEditColorInfoArray* GetColorInfoArray() = 0;
  virtual BOOL GetFontBold() = 0;
  virtual CString GetFontFaceName() = 0;
  virtual BOOL GetFontItalic() = 0;
  virtual int GetFontSize() = 0;
  virtual CString GetName() = 0;
  virtual BOOL GetMatchCase() = 0;
  virtual BOOL GetReplaceTabs() = 0;
  virtual BOOL GetShowWhitespace() = 0;
  // The tag whose begin string starts `text` (the shortest), at most maxLen bytes long; with
  // beginLen not 0 its begin string must have that length; kind 0 single-line, 1 multi-line, 2 any.
  virtual SECEditKeywordInfo* FindTag(LPCTSTR text, int maxLen, int beginLen, int kind) = 0;
  virtual void GetTags(SECEditKeywordInfoList& list, int kind) = 0;
  virtual int GetTabSize() = 0;
  virtual BOOL GetVirtualWhitespace() = 0;
  // len when the word is a keyword (or a number), with its group; else 0.
  virtual int ClassifyWord(LPCTSTR text, int len, WORD* group) = 0;
  virtual BOOL IsInCharSet(UINT code, int set) = 0;
  virtual void SetAutoIndent(BOOL on) = 0;
  virtual void SetFontBold(BOOL on) = 0;
  virtual void SetFontFaceName(LPCTSTR name) = 0;
  virtual void SetFontItalic(BOOL on) = 0;
  virtual void SetFontSize(int points) = 0;
  virtual void SetCharSet(LPCTSTR text, int set, BOOL bClearFirst) = 0;
  virtual void SetName(LPCTSTR name) = 0;
  virtual void SetMatchCase(BOOL on) = 0;
  virtual void SetReplaceTabs(BOOL on) = 0;
  virtual void SetShowWhitespace(BOOL on) = 0;
  virtual void SetTabSize(int size) = 0;
  virtual void SetVirtualWhitespace(BOOL on) = 0;

 protected:
  ~ISECEditLangConfig() = default;
};

namespace kelpwood::editor {

// A name's configuration (null when unknown): the language manager's, made on first use, unless
// a lookup was set in its place (tests set their own languages; null puts the manager back).
using LanguageLookup = ISECEditLangConfig* (*)(LPCTSTR name);
LanguageLookup SetLanguageLookup(LanguageLookup lookup);
ISECEditLangConfig* FindLanguage(LPCTSTR name);

}  // namespace kelpwood::editor
