// Persistent trees: named nodes with ordered string key/value pairs and ordered children, saved
// to and loaded from a storage strategy, and the factory that creates and owns nodes.
#pragma once

#include "base/base.h"
#include "core/CObject.h"
#include "core/CString.h"
#include "core/Lists.h"

class SECPersistentTreeNode;
class SECPTNStrategy;

// Result bits of the node operations (0 is success).
constexpr UINT PTN_ALREADY_CREATED = 1;
constexpr UINT PTN_NOT_CREATED = 2;
constexpr UINT PTN_INVALID_NAME = 4;
constexpr UINT PTN_INVALID_KEY = 8;
constexpr UINT PTN_KEY_EXISTS = 16;
constexpr UINT PTN_CHILD_EXISTS = 32;
constexpr UINT PTN_KEY_NOT_FOUND = 64;
constexpr UINT PTN_NULL_DATA = 128;
constexpr UINT PTN_ENCODE_FAILED = 256;
constexpr UINT PTN_FAILED = 65535;

// Creates nodes and owns them: its destructor deletes, in order of creation, every node it made
// and still holds.
class SECPTNFactory {
 public:
  SECPTNFactory() = default;
  virtual ~SECPTNFactory();
  SECPTNFactory(const SECPTNFactory&) = delete;
  SECPTNFactory& operator=(const SECPTNFactory&) = delete;

  // A new SECPersistentTreeNode created with `name` under `parent` (NULL: a root); NULL when its
  // Create fails.
  SECPersistentTreeNode* AddChild(const CString& name, SECPersistentTreeNode* parent);
  // The same with a node of the given class (derived from SECPersistentTreeNode).
  SECPersistentTreeNode* AddChild(CRuntimeClass* pNodeClass, const CString& name, SECPersistentTreeNode* parent);
  // Deletes an object this factory made; FALSE when it is NULL or not one of them.
  BOOL Destroy(CObject* pObject);

 protected:
  CPtrList m_objects;
};

class SECPersistentTreeNode : public CObject {
  DECLARE_DYNCREATE(SECPersistentTreeNode)

 public:
  class SECPersTreeNodeKeyValuePair : public CObject {
   public:
    SECPersTreeNodeKeyValuePair(const CString& key, const CString& value) : m_strKey(key), m_strValue(value) {}
    CString m_strKey;
    CString m_strValue;
  };

  SECPersistentTreeNode();
  // Leaves the parent's child list; the children it made go with it, other children become roots.
  ~SECPersistentTreeNode() override;

  void Serialize(CArchive& ar) override;

  virtual UINT Create(const CString& name, SECPersistentTreeNode* parent);
  virtual UINT AddKeyValueInt(const CString& key, int value, BOOL overwrite);
  virtual UINT AddKeyValueString(const CString& key, const CString& value, BOOL overwrite);
  virtual UINT AddKeyValueBool(const CString& key, BOOL value, BOOL overwrite);
  // Two letters "A".."P" per byte, low nibble first; text longer than 250 characters is kept in
  // pieces key + "_BinVal0", "_BinVal1"... counted by key + "_BinCount".
  virtual UINT AddKeyValueBinary(const CString& key, const BYTE* data, UINT size, BOOL overwrite);
  virtual UINT RemoveKeyValue(const CString& key);
  // Sets `value` to the default first; PTN_KEY_NOT_FOUND when the key is absent.
  virtual UINT GetKeyValueString(const CString& key, CString& value, CString defaultValue = CString());
  virtual UINT GetKeyValueInt(const CString& key, int* value, int defaultValue = 0);
  virtual UINT GetKeyValueUInt(const CString& key, UINT* value, UINT defaultValue = 0);
  virtual UINT GetKeyValueLong(const CString& key, long* value, long defaultValue = 0);
  virtual UINT GetKeyValueDWord(const CString& key, DWORD* value, DWORD defaultValue = 0);
  virtual UINT GetKeyValueBool(const CString& key, BOOL* value, BOOL defaultValue = FALSE);
  // A new block (freed by the caller with delete[]) and its size.
  virtual UINT GetKeyValueBinary(const CString& key, BYTE** data, UINT* size);
  virtual BOOL Save(SECPTNStrategy* strategy);
  virtual BOOL Load(SECPTNStrategy* strategy);
  virtual UINT AttachChild(SECPersistentTreeNode* child);

  // A child of `name` made by this node's factory under `parent` (this node when NULL).
  SECPersistentTreeNode* AddChild(const CString& name, SECPersistentTreeNode* parent = nullptr);
  CString GetNodeName() const { return m_strName; }
  SECPersistentTreeNode* FindChild(const CString& name) const;
  SECPersTreeNodeKeyValuePair* FindKeyValue(const CString& key) const;
  // This node's name, then its parent's, up to the root's.
  void GetPath(CStringList& path) const;
  void GetChildNames(CStringList& names) const;

 protected:
  CString m_strName;
  SECPersistentTreeNode* m_pParent;
  SECPTNFactory m_factory;
  CPtrList m_children;
  CPtrList m_pairs;
  BOOL m_bCreated;

 private:
  void DetachChild(SECPersistentTreeNode* child);
  // Whether the strategy can hold this node and every node below it as they are.
  BOOL CanStoreTree(SECPTNStrategy* strategy) const;
  void RemovePair(const CString& key);
};
