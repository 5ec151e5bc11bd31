// Storage strategies of the persistent trees: one INI section per node, or one registry key per
// node. A strategy holds no open file or key between calls.
#pragma once

#include "base/base.h"
#include "core/CString.h"
#include "core/Lists.h"
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "os/Profile.h"
#include "os/Registry.h"

// Every operation gets the node's path: its own name first, then its parent's, up to the root's.
class SECPTNStrategy {
 public:
  SECPTNStrategy() = default;
  virtual ~SECPTNStrategy() = default;
  SECPTNStrategy(const SECPTNStrategy&) = delete;
  SECPTNStrategy& operator=(const SECPTNStrategy&) = delete;

  // Removes what is stored for the node.
  virtual BOOL DeleteNode(const CStringList& path) = 0;
  virtual BOOL WriteKeyValue(const CStringList& path, const CString& key, const CString& value) = 0;
  virtual BOOL WriteChildList(const CStringList& path, const CStringList& childNames) = 0;
  virtual BOOL ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys, CStringList& values) = 0;

  // Whether the store can hold a node with these children and keys as they are: each child
  // name names a place of its own (none taken by a sibling). A tree asks before it writes
  // anything, so a save it refuses leaves the store as it was.
  virtual BOOL CanStoreNode(const CStringList& childNames, const CStringList& keys) {
    (void)childNames;
    (void)keys;
    return TRUE;
  }

  // A tree saves itself between these two: what it writes replaces the stored tree in one step
  // when the outermost EndSave comes (the old tree stays whole until then, and the store is
  // written once). EndSave tells whether that write succeeded.
  virtual void BeginSave() {}
  virtual BOOL EndSave() { return TRUE; }
};

// A node is the section named by the path from the root down, joined by "." ("Layout.Bar1");
// its children are listed as "ptn_Child1", "ptn_Child2"... in that section. A value with blanks
// at its ends or in quotes is written in quotes, which the reader removes; a pair the file cannot
// hold as it is (a line end in it, a key the reader would change, take for another or for the
// child list) is written as "ptn_Key_<key in hexadecimal>=<value in hexadecimal>". A child name
// must name a section: no separator, bracket, control character or blank at its ends, and none
// the same as a sibling's ignoring case.
class SECPTNStrategyProfile : public SECPTNStrategy {
 public:
  explicit SECPTNStrategyProfile(const CString& iniFileName);

  // Also removes the sections of the node's descendants, so children removed from a tree leave
  // nothing behind.
  BOOL DeleteNode(const CStringList& path) override;
  BOOL WriteKeyValue(const CStringList& path, const CString& key, const CString& value) override;
  BOOL WriteChildList(const CStringList& path, const CStringList& childNames) override;
  BOOL ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys, CStringList& values) override;

  virtual BOOL GetSectionKeys(const CString& section, CStringList& keys);

  BOOL CanStoreNode(const CStringList& childNames, const CStringList& keys) override;
  void BeginSave() override;
  BOOL EndSave() override;

 protected:
  CString SectionName(const CStringList& path) const;

  CString m_strIniFileName;
  CString m_strChildKeyPrefix;
  CString m_strSectionSeparator;

 private:
  // While a tree saves itself, its values gather here, one "key=value" list per section in the
  // order written, and go into the file section by section at the end: a save costs a few
  // passes over the file, not one per value.
  struct PendingSection {
    CString section;
    std::string entries;            // "key=value" lines, each ending in a NUL
    std::vector<std::string> keys;  // the keys written, to tell those that match another's
  };
  // The line for a pair: as it is, in quotes, or in hexadecimal (`taken` holds the keys written
  // before in the section; NULL outside a save).
  std::string EntryLine(const CString& key, const CString& value, std::vector<std::string>* taken) const;
  BOOL CanNameSection(const CString& name) const;
  PendingSection& Pending(const CString& section);
  // Whether a section of the save's deletions holds this one (nothing of it is left then).
  bool DeletedInSave(const CString& section) const;

  int m_nSaveDepth = 0;
  std::unique_ptr<brambolt::ProfileWriteBatch> m_pBatch;
  std::vector<PendingSection> m_pending;
  std::unordered_map<std::string, size_t> m_pendingIndex;
  std::vector<CString> m_deletedInSave;
};

// A node is the key base + the names from the root down, each followed by "\"; its pairs are
// REG_SZ values (REG_BINARY for a value holding a NUL) and its children are its subkeys, in the
// order the REG_MULTI_SZ value "ptn_ChildOrder" lists (a pair of that name is refused). A pair
// whose key differs only in case from one written before it in the node (value names ignore
// case) or starts with "ptn_Key_" is stored as "ptn_Key_<key in hexadecimal>"; one whose value
// name would be longer than a read gets back (2046 bytes) is refused. A child
// name must name a key: no backslash, control character or lone lead byte at its end, at most
// 255 bytes, and none the same as a sibling's ignoring case.
class SECPTNStrategyRegistry : public SECPTNStrategy {
 public:
  SECPTNStrategyRegistry(const CString& baseKey, HKEY hRootKey);

  // A node that was never stored counts as deleted.
  BOOL DeleteNode(const CStringList& path) override;
  BOOL WriteKeyValue(const CStringList& path, const CString& key, const CString& value) override;
  BOOL WriteChildList(const CStringList& path, const CStringList& childNames) override;
  BOOL ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys, CStringList& values) override;

  virtual void GetNodeKeyPath(CString& out, const CStringList& path);

  BOOL CanStoreNode(const CStringList& childNames, const CStringList& keys) override;
  void BeginSave() override;
  BOOL EndSave() override;

 protected:
  CString m_strBaseKey;
  HKEY m_hRootKey;

 private:
  int m_nSaveDepth = 0;
  std::unique_ptr<brambolt::RegistryWriteBatch> m_pBatch;
};
