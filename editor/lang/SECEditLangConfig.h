// A language configuration (colour groups, tags, character sets, keywords, editor options, font)
// and the process-wide manager that builds configurations by language name from their readers.
#pragma once

#include <algorithm>
#include <vector>

#include "core/CMap.h"
#include "core/CObject.h"
#include "core/Maps.h"
#include "editor/lang/ISECEditLangConfig.h"

class CArchive;

DEFINE_GUID(IID_ISECEditLangConfig, 0x3b8e51a4, 0x7c02, 0x4d6e, 0x9a, 0x31, 0x5f, 0x0e, 0x84, 0x2c, 0x6b, 0x17);

typedef CMap<CString, LPCTSTR, SECEditKeywordInfo*, SECEditKeywordInfo*> SECEditTagMap;

class SECEditLangConfig : public CObject, public ISECEditLangConfig {
  DECLARE_SERIAL(SECEditLangConfig)

 public:
  // Where a configuration comes from and where its changes go back to. Both count references
  // (1 after construction) and delete themselves at 0.
  class Reader {
   public:
    virtual BOOL Read(SECEditLangConfig* config) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

   protected:
    virtual ~Reader() = default;
  };
  class Writer {
   public:
    virtual BOOL Write(SECEditLangConfig* config) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

   protected:
    virtual ~Writer() = default;
  };
  class Manager;

  // Sizes of the bit sets: every character code below 65535.
  static constexpr int kCharCodes = 65535;
  // Most colour groups and tags a stored configuration may hold.
  static constexpr int kMaxGroups = 65535;
  static constexpr int kMaxTags = 65535;
  // The tab size, in columns, whatever a stored configuration says.
  static constexpr int kMinTabSize = 1;
  static constexpr int kMaxTabSize = 64;

  SECEditLangConfig();
  ~SECEditLangConfig() override;
  SECEditLangConfig(const SECEditLangConfig&) = delete;
  SECEditLangConfig& operator=(const SECEditLangConfig&) = delete;

  // The manager: a reader (and a writer) per language name; a configuration is built and read
  // the first time its name is asked for; a null name saves every built configuration.
  static BOOL RegisterLanguage(LPCTSTR name, Reader* reader, Writer* writer);
  static SECEditLangConfig* GetLanguage(LPCTSTR name);
  static BOOL SaveLanguage(LPCTSTR name);

  // The archive form (loading clears first; a corrupt stream throws CArchiveException).
  void Serialize(CArchive& ar) override;
  virtual void Clear();
  virtual void SetDefaults();

  // IQueryGuid, IRefCount, ISubject
  bool QueryGuid(REFGUID id, void** out) override;
  ULONG AddRef() override;
  ULONG Release() override;
  void AddObserver(kelpwood::foundation::IObserver* obs) override;
  void RemoveObserver(kelpwood::foundation::IObserver* obs) override;
  void UpdateAllObservers(kelpwood::foundation::IObserver* except, kelpwood::foundation::IMessage* msg) override;

  // ISECEditLangConfig
  BOOL GetAutoIndent() override { return m_bAutoIndent; }
  SECEditColorInfo* GetColorInfo(int index) override;
  int GetColorGroupCount() override { return static_cast<int>(m_colorGroups.GetSize()); }
  SECEditColorInfo* GetStandardColorInfo(int which) override { return GetColorInfo(GetStandardGroupIndex(which)); }
  WORD GetStandardGroupIndex(int which) override;
  SECEditColorInfoArray* GetColorInfoArray() override { return &m_colorGroups; }
  BOOL GetFontBold() override { return m_bFontBold; }
  CString GetFontFaceName() override { return m_strFaceName; }
  BOOL GetFontItalic() override { return m_bFontItalic; }
  int GetFontSize() override { return m_nFontSize; }
  CString GetName() override { return m_strName; }
  BOOL GetMatchCase() override { return m_bMatchCase; }
  BOOL GetReplaceTabs() override { return m_bReplaceTabs; }
  BOOL GetShowWhitespace() override { return m_bShowWhitespace; }
  SECEditKeywordInfo* FindTag(LPCTSTR text, int maxLen, int beginLen, int kind) override;
  void GetTags(SECEditKeywordInfoList& list, int kind) override;
  int GetTabSize() override { return m_nTabSize; }
  BOOL GetVirtualWhitespace() override { return m_bVirtualWhitespace; }
  int ClassifyWord(LPCTSTR text, int len, WORD* group) override;
  BOOL IsInCharSet(UINT code, int set) override;
  void SetAutoIndent(BOOL on) override { m_bAutoIndent = on; }
  void SetFontBold(BOOL on) override { m_bFontBold = on; }
  void SetFontFaceName(LPCTSTR name) override { m_strFaceName = name; }
  void SetFontItalic(BOOL on) override { m_bFontItalic = on; }
  void SetFontSize(int points) override { m_nFontSize = points; }
  void SetCharSet(LPCTSTR text, int set, BOOL bClearFirst) override;
  void SetName(LPCTSTR name) override { m_strName = name; }
  void SetMatchCase(BOOL on) override { m_bMatchCase = on; }
  void SetReplaceTabs(BOOL on) override { m_bReplaceTabs = on; }
  void SetShowWhitespace(BOOL on) override { m_bShowWhitespace = on; }
  void SetTabSize(int size) override { m_nTabSize = std::clamp(size, kMinTabSize, kMaxTabSize); }
  void SetVirtualWhitespace(BOOL on) override { m_bVirtualWhitespace = on; }

  // What the storage forms build a configuration with.
  // Takes the group and enters it under the name; a group of the same name is replaced in place.
  // Returns its index.
  int AddColorGroup(LPCTSTR name, SECEditColorInfo* info);
  // The index of a named group, or -1; the name of a group (empty when the name map lacks it).
  int FindColorGroup(LPCTSTR name) const;
  CString GetColorGroupName(int index) const;
  // Marks every proper prefix of the tag's begin text as a partial match (deleting a tag stored
  // there) and enters the tag under its begin text. Takes the record.
  void RegisterTag(SECEditKeywordInfo* tag);
  // Adds the characters of the text to a set without notifying the observers.
  void AddToCharSet(LPCTSTR text, int set);
  // The members of a set as a string in ascending code order (a double-byte code lead byte first).
  CString GetCharSetString(int set) const;
  void SetKeyword(LPCTSTR keyword, WORD group) { m_keywords.SetAt(keyword, group); }
  void RebuildFoldMap();
  // Points the standard indexes at the groups named "Text", "Text Selection", "Number" and
  // "Operator" (adding a default group for a missing one), forgets group names that point past
  // the groups and sends keyword and tag group indexes past the groups to group 0: whatever a
  // stored form held, the painter then never indexes past the array.
  void RepairGroups();

  const SECEditTagMap& GetTagMap() const { return m_tags; }
  const CMapStringToWord& GetKeywordMap() const { return m_keywords; }
  const CMapStringToWord& GetGroupNameMap() const { return m_groupNames; }

  // The character code at text (a byte, or lead × 256 + trail), and its length in bytes, never
  // reading past avail bytes.
  static UINT CharCodeAt(LPCTSTR text, int avail, int* length);

 private:
  void AddDefaultGroup(LPCTSTR name, int which);
  SECBitArray<kCharCodes>* CharSet(int set);

  CString m_strName;
  ULONG m_nRefs = 1;
  BOOL m_bShowWhitespace = FALSE;
  BOOL m_bReplaceTabs = FALSE;
  BOOL m_bVirtualWhitespace = FALSE;
  int m_nTabSize = 4;
  BOOL m_bAutoIndent = FALSE;
  BOOL m_bMatchCase = TRUE;
  CString m_strFaceName;
  int m_nFontSize = 10;
  BOOL m_bFontItalic = FALSE;
  BOOL m_bFontBold = FALSE;
  CMapStringToWord m_keywords;
  std::vector<kelpwood::foundation::IObserver*> m_observers;
  SECBitArray<kCharCodes> m_charSets[5];
  SECEditTagMap m_tags;
  CMapStringToWord m_groupNames;
  SECEditColorInfoArray m_colorGroups;
  WORD m_standard[4] = {0, 1, 2, 3};
  CMapStringToString m_foldMap;
};

// Reference counting for readers and writers: 1 after construction, deleted at 0.
template <class I>
class SECEditLangConfigRefCounted : public I {
 public:
  ULONG AddRef() override { return ++m_nRefs; }
  ULONG Release() override {
    const ULONG count = --m_nRefs;
    if (count == 0) delete this;
    return count;
  }

 private:
  ULONG m_nRefs = 1;
};

// A list of member readers or writers, each holding one reference.
template <class T>
class SECEditLangConfigCompositeReaderWriterBase {
 public:
  ~SECEditLangConfigCompositeReaderWriterBase() {
    for (T* member : m_members) member->Release();
  }
  void Add(T* member) {
    if (member == nullptr) return;
    member->AddRef();
    m_members.push_back(member);
  }

 protected:
  std::vector<T*> m_members;
};

// Runs every member in order, even after one fails; TRUE when all succeeded.
class SECEditLangConfigCompositeReader : public SECEditLangConfigCompositeReaderWriterBase<SECEditLangConfig::Reader>,
                                         public SECEditLangConfigRefCounted<SECEditLangConfig::Reader> {
 public:
  BOOL Read(SECEditLangConfig* config) override;
};

// Readers whose first member resets the configuration and whose registry reader runs last (the
// user's settings win). Each returns one reference, to pass to RegisterLanguage and release.
SECEditLangConfig::Reader* CreateIniRegLangReader(LPCTSTR iniFile, LPCTSTR registryKey);
SECEditLangConfig::Reader* CreateResRegLangReader(UINT resourceId, LPCTSTR registryKey);
SECEditLangConfig::Reader* CreateBinRegLangReader(LPCTSTR file, LPCTSTR registryKey);
