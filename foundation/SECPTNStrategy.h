// Storage strategies of the persistent trees: one INI section per node, or one registry key per
// node. A strategy holds no open file or key between calls.
#pragma once

#include "base/base.h"
#include "core/CString.h"
#include "core/Lists.h"
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
};

// A node is the section named by the path from the root down, joined by "." ("Layout.Bar1");
// its children are listed as "ptn_Child1", "ptn_Child2"... in that section.
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

 protected:
  CString SectionName(const CStringList& path) const;

  CString m_strIniFileName;
  CString m_strChildKeyPrefix;
  CString m_strSectionSeparator;
};

// A node is the key base + the names from the root down, each followed by "\"; its pairs are
// REG_SZ values and its children are its subkeys.
class SECPTNStrategyRegistry : public SECPTNStrategy {
 public:
  SECPTNStrategyRegistry(const CString& baseKey, HKEY hRootKey);

  // A node that was never stored counts as deleted.
  BOOL DeleteNode(const CStringList& path) override;
  BOOL WriteKeyValue(const CStringList& path, const CString& key, const CString& value) override;
  BOOL WriteChildList(const CStringList& path, const CStringList& childNames) override;
  BOOL ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys, CStringList& values) override;

  virtual void GetNodeKeyPath(CString& out, const CStringList& path);

 protected:
  CString m_strBaseKey;
  HKEY m_hRootKey;
};
