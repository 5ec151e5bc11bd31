// Persistent tree nodes, their key/value pairs and binary encoding, and the node factory.
#include "foundation/SECPersistentTreeNode.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "foundation/SECPTNStrategy.h"

IMPLEMENT_DYNCREATE(SECPersistentTreeNode, CObject)

namespace {

// Encoded binary text is stored in pieces of at most this many characters.
constexpr int kBinaryPieceLength = 250;

CString BinaryCountKey(const CString& key) { return key + "_BinCount"; }

CString BinaryPieceKey(const CString& key, int index) {
  CString pieceKey;
  pieceKey.Format("%s%s%d", static_cast<LPCTSTR>(key), "_BinVal", index);
  return pieceKey;
}

bool HasNul(const CString& text) { return std::memchr(static_cast<LPCTSTR>(text), '\0', text.GetLength()) != nullptr; }

template <class Visit>
void ForEachNode(const CPtrList& list, Visit&& visit) {
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
    visit(static_cast<SECPersistentTreeNode*>(list.GetNext(pos)));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// SECPTNFactory

SECPTNFactory::~SECPTNFactory() {
  while (!m_objects.IsEmpty()) delete static_cast<CObject*>(m_objects.RemoveHead());
}

SECPersistentTreeNode* SECPTNFactory::AddChild(const CString& name, SECPersistentTreeNode* parent) {
  return AddChild(RUNTIME_CLASS(SECPersistentTreeNode), name, parent);
}

SECPersistentTreeNode* SECPTNFactory::AddChild(CRuntimeClass* pNodeClass, const CString& name,
                                               SECPersistentTreeNode* parent) {
  CObject* object = pNodeClass != nullptr ? pNodeClass->CreateObject() : nullptr;
  if (object == nullptr) return nullptr;
  if (!object->IsKindOf(RUNTIME_CLASS(SECPersistentTreeNode))) {
    delete object;
    return nullptr;
  }
  auto* node = static_cast<SECPersistentTreeNode*>(object);
  POSITION listed = m_objects.AddTail(object);
  if (node->Create(name, parent) != 0) {
    m_objects.RemoveAt(listed);
    delete node;
    return nullptr;
  }
  return node;
}

BOOL SECPTNFactory::Destroy(CObject* pObject) {
  if (pObject == nullptr) return FALSE;
  POSITION pos = m_objects.Find(pObject);
  if (pos == nullptr) return FALSE;
  m_objects.RemoveAt(pos);
  delete pObject;
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// SECPersistentTreeNode

SECPersistentTreeNode::SECPersistentTreeNode() : m_pParent(nullptr), m_bCreated(FALSE) {}

SECPersistentTreeNode::~SECPersistentTreeNode() {
  if (m_pParent != nullptr) m_pParent->DetachChild(this);
  // Children made elsewhere outlive this node as roots; those of our own factory go with it.
  ForEachNode(m_children, [](SECPersistentTreeNode* child) { child->m_pParent = nullptr; });
  m_children.RemoveAll();
  while (!m_pairs.IsEmpty()) delete static_cast<SECPersTreeNodeKeyValuePair*>(m_pairs.RemoveHead());
}

void SECPersistentTreeNode::Serialize(CArchive&) {}

void SECPersistentTreeNode::DetachChild(SECPersistentTreeNode* child) {
  POSITION pos = m_children.Find(child);
  if (pos != nullptr) m_children.RemoveAt(pos);
}

UINT SECPersistentTreeNode::Create(const CString& name, SECPersistentTreeNode* parent) {
  UINT result = 0;
  if (m_bCreated) result |= PTN_ALREADY_CREATED;
  // A name is text: one holding a NUL would be cut where a store uses it as a name.
  if (name.IsEmpty() || HasNul(name)) result |= PTN_INVALID_NAME;
  if (result != 0) return result;
  m_strName = name;
  m_pParent = parent;
  if (parent != nullptr) {
    const UINT attached = parent->AttachChild(this);
    if (attached & PTN_CHILD_EXISTS) return PTN_CHILD_EXISTS;
    if (attached != 0) return PTN_FAILED;
  }
  m_bCreated = TRUE;
  return 0;
}

UINT SECPersistentTreeNode::AttachChild(SECPersistentTreeNode* child) {
  if (!m_bCreated) return PTN_NOT_CREATED;
  if (child == nullptr) return PTN_INVALID_NAME;
  if (child->m_pParent == this && m_children.Find(child) != nullptr) return PTN_CHILD_EXISTS;
  if (FindChild(child->m_strName) != nullptr) return PTN_CHILD_EXISTS;
  // A node under itself would make every walk of the tree endless.
  for (const SECPersistentTreeNode* node = this; node != nullptr; node = node->m_pParent)
    if (node == child) return PTN_FAILED;
  // The parent link is what lets a child leave the list when it is destroyed, so it always
  // names the one list the child is in.
  if (child->m_pParent != nullptr && child->m_pParent != this) child->m_pParent->DetachChild(child);
  child->m_pParent = this;
  m_children.AddTail(child);
  return 0;
}

SECPersistentTreeNode* SECPersistentTreeNode::AddChild(const CString& name, SECPersistentTreeNode* parent) {
  return m_factory.AddChild(name, parent != nullptr ? parent : this);
}

SECPersistentTreeNode* SECPersistentTreeNode::FindChild(const CString& name) const {
  if (name.IsEmpty()) return nullptr;
  for (POSITION pos = m_children.GetHeadPosition(); pos != nullptr;) {
    auto* child = static_cast<SECPersistentTreeNode*>(m_children.GetNext(pos));
    if (child->m_strName == name) return child;
  }
  return nullptr;
}

SECPersistentTreeNode::SECPersTreeNodeKeyValuePair* SECPersistentTreeNode::FindKeyValue(const CString& key) const {
  if (key.IsEmpty()) return nullptr;
  for (POSITION pos = m_pairs.GetHeadPosition(); pos != nullptr;) {
    auto* pair = static_cast<SECPersTreeNodeKeyValuePair*>(m_pairs.GetNext(pos));
    if (pair->m_strKey == key) return pair;
  }
  return nullptr;
}

void SECPersistentTreeNode::GetPath(CStringList& path) const {
  path.RemoveAll();
  for (const SECPersistentTreeNode* node = this; node != nullptr; node = node->m_pParent) path.AddTail(node->m_strName);
}

void SECPersistentTreeNode::GetChildNames(CStringList& names) const {
  names.RemoveAll();
  ForEachNode(m_children, [&](SECPersistentTreeNode* child) { names.AddTail(child->m_strName); });
}

UINT SECPersistentTreeNode::AddKeyValueString(const CString& key, const CString& value, BOOL overwrite) {
  UINT result = 0;
  if (!m_bCreated) result |= PTN_NOT_CREATED;
  if (key.IsEmpty() || HasNul(key)) result |= PTN_INVALID_KEY;
  SECPersTreeNodeKeyValuePair* pair = FindKeyValue(key);
  if (pair != nullptr && !overwrite) result |= PTN_KEY_EXISTS;
  if (result != 0) return result;
  if (pair == nullptr) {
    pair = new SECPersTreeNodeKeyValuePair(key, CString());
    m_pairs.AddTail(pair);
  }
  pair->m_strValue = value;
  return 0;
}

UINT SECPersistentTreeNode::AddKeyValueInt(const CString& key, int value, BOOL overwrite) {
  CString text;
  text.Format("%d", value);
  return AddKeyValueString(key, text, overwrite);
}

UINT SECPersistentTreeNode::AddKeyValueBool(const CString& key, BOOL value, BOOL overwrite) {
  return AddKeyValueString(key, value ? "True" : "False", overwrite);
}

void SECPersistentTreeNode::RemovePair(const CString& key) {
  for (POSITION pos = m_pairs.GetHeadPosition(); pos != nullptr;) {
    POSITION current = pos;
    auto* pair = static_cast<SECPersTreeNodeKeyValuePair*>(m_pairs.GetNext(pos));
    if (pair->m_strKey == key) {
      m_pairs.RemoveAt(current);
      delete pair;
      return;
    }
  }
}

UINT SECPersistentTreeNode::AddKeyValueBinary(const CString& key, const BYTE* data, UINT size, BOOL overwrite) {
  if (data == nullptr) return PTN_NULL_DATA;
  std::string text;
  try {
    text.resize(static_cast<std::size_t>(size) * 2);
  } catch (const std::exception&) {
    return PTN_ENCODE_FAILED;
  }
  for (UINT i = 0; i < size; ++i) {
    text[2 * i] = static_cast<char>('A' + (data[i] & 15));
    text[2 * i + 1] = static_cast<char>('A' + (data[i] >> 4));
  }

  // The value may be held in either form; a write replaces both, so a read never finds the
  // pieces of an older value.
  const CString countKey = BinaryCountKey(key);
  const SECPersTreeNodeKeyValuePair* oldCount = FindKeyValue(countKey);
  UINT result = 0;
  if (!m_bCreated) result |= PTN_NOT_CREATED;
  if (key.IsEmpty()) result |= PTN_INVALID_KEY;
  if (!overwrite && (FindKeyValue(key) != nullptr || oldCount != nullptr)) result |= PTN_KEY_EXISTS;
  if (result != 0) return result;
  const int oldPieces = oldCount != nullptr ? std::atoi(oldCount->m_strValue) : 0;

  const int length = static_cast<int>(text.size());
  if (length <= kBinaryPieceLength) {
    for (int i = 0; i < oldPieces; ++i) RemovePair(BinaryPieceKey(key, i));
    RemovePair(countKey);
    return AddKeyValueString(key, CString(text.data(), length), overwrite);
  }
  const int pieces = (length + kBinaryPieceLength - 1) / kBinaryPieceLength;
  RemovePair(key);
  for (int i = pieces; i < oldPieces; ++i) RemovePair(BinaryPieceKey(key, i));
  if (UINT counted = AddKeyValueInt(countKey, pieces, TRUE)) return counted;
  for (int i = 0; i < pieces; ++i) {
    const int start = i * kBinaryPieceLength;
    AddKeyValueString(BinaryPieceKey(key, i), CString(text.data() + start, std::min(kBinaryPieceLength, length - start)),
                      TRUE);
  }
  return 0;
}

UINT SECPersistentTreeNode::RemoveKeyValue(const CString& key) {
  if (FindKeyValue(key) == nullptr) return PTN_KEY_NOT_FOUND;
  RemovePair(key);
  return 0;
}

UINT SECPersistentTreeNode::GetKeyValueString(const CString& key, CString& value, CString defaultValue) {
  value = defaultValue;
  const SECPersTreeNodeKeyValuePair* pair = FindKeyValue(key);
  if (pair == nullptr) return PTN_KEY_NOT_FOUND;
  value = pair->m_strValue;
  return 0;
}

namespace {

// The numeric and boolean getters: the default first, then the stored text converted.
template <class T, class Convert>
UINT GetConverted(SECPersistentTreeNode& node, const CString& key, T* value, T defaultValue, Convert&& convert) {
  if (value == nullptr) return PTN_NULL_DATA;
  *value = defaultValue;
  CString text;
  if (UINT result = node.GetKeyValueString(key, text, CString())) return result;
  *value = convert(text);
  return 0;
}

}  // namespace

UINT SECPersistentTreeNode::GetKeyValueInt(const CString& key, int* value, int defaultValue) {
  return GetConverted(*this, key, value, defaultValue, [](const CString& text) { return std::atoi(text); });
}

UINT SECPersistentTreeNode::GetKeyValueUInt(const CString& key, UINT* value, UINT defaultValue) {
  return GetConverted(*this, key, value, defaultValue,
                      [](const CString& text) { return static_cast<UINT>(std::atoi(text)); });
}

UINT SECPersistentTreeNode::GetKeyValueLong(const CString& key, long* value, long defaultValue) {
  return GetConverted(*this, key, value, defaultValue, [](const CString& text) { return std::atol(text); });
}

UINT SECPersistentTreeNode::GetKeyValueDWord(const CString& key, DWORD* value, DWORD defaultValue) {
  return GetConverted(*this, key, value, defaultValue,
                      [](const CString& text) { return static_cast<DWORD>(std::atol(text)); });
}

UINT SECPersistentTreeNode::GetKeyValueBool(const CString& key, BOOL* value, BOOL defaultValue) {
  return GetConverted(*this, key, value, defaultValue, [](CString text) {
    text.MakeUpper();
    return text == "TRUE" ? TRUE : FALSE;
  });
}

UINT SECPersistentTreeNode::GetKeyValueBinary(const CString& key, BYTE** data, UINT* size) {
  if (data == nullptr || size == nullptr) return PTN_NULL_DATA;
  *data = nullptr;
  CString text;
  if (const SECPersTreeNodeKeyValuePair* count = FindKeyValue(BinaryCountKey(key))) {
    const int pieces = std::atoi(count->m_strValue);
    for (int i = 0; i < pieces; ++i) {
      // A missing piece would shift every later byte: the value is unreadable.
      const SECPersTreeNodeKeyValuePair* piece = FindKeyValue(BinaryPieceKey(key, i));
      if (piece == nullptr) return PTN_KEY_NOT_FOUND;
      text += piece->m_strValue;
    }
  } else if (UINT result = GetKeyValueString(key, text, CString())) {
    return result;
  }
  const UINT bytes = static_cast<UINT>(text.GetLength()) / 2;
  if (bytes == 0) return PTN_FAILED;
  BYTE* block = new (std::nothrow) BYTE[bytes];
  if (block == nullptr) return PTN_FAILED;
  for (UINT i = 0; i < bytes; ++i) {
    const int low = text[static_cast<int>(2 * i)] - 'A';
    const int high = text[static_cast<int>(2 * i + 1)] - 'A';
    block[i] = static_cast<BYTE>((high * 16 + low) & 0xFF);
  }
  *data = block;
  *size = bytes;
  return 0;
}

BOOL SECPersistentTreeNode::CanStoreTree(SECPTNStrategy* strategy) const {
  CStringList childNames;
  CStringList keys;
  GetChildNames(childNames);
  for (POSITION pos = m_pairs.GetHeadPosition(); pos != nullptr;)
    keys.AddTail(static_cast<SECPersTreeNodeKeyValuePair*>(m_pairs.GetNext(pos))->m_strKey);
  if (!strategy->CanStoreNode(childNames, keys)) return FALSE;
  BOOL ok = TRUE;
  ForEachNode(m_children, [&](SECPersistentTreeNode* child) { ok = ok && child->CanStoreTree(strategy); });
  return ok;
}

BOOL SECPersistentTreeNode::Save(SECPTNStrategy* strategy) {
  // A tree the store cannot hold as it is is refused before anything is written.
  if (!m_bCreated || strategy == nullptr || !CanStoreTree(strategy)) return FALSE;
  CStringList path;
  CStringList childNames;
  GetPath(path);
  GetChildNames(childNames);
  // The stored tree is replaced in one step when the outermost save ends.
  strategy->BeginSave();
  BOOL ok = strategy->DeleteNode(path);
  for (POSITION pos = m_pairs.GetHeadPosition(); pos != nullptr;) {
    const auto* pair = static_cast<SECPersTreeNodeKeyValuePair*>(m_pairs.GetNext(pos));
    ok = strategy->WriteKeyValue(path, pair->m_strKey, pair->m_strValue) && ok;
  }
  ok = strategy->WriteChildList(path, childNames) && ok;
  ForEachNode(m_children, [&](SECPersistentTreeNode* child) { ok = child->Save(strategy) && ok; });
  ok = strategy->EndSave() && ok;
  return ok ? TRUE : FALSE;
}

BOOL SECPersistentTreeNode::Load(SECPTNStrategy* strategy) {
  if (!m_bCreated || strategy == nullptr) return FALSE;
  CStringList path;
  CStringList childNames;
  CStringList keys;
  CStringList values;
  GetPath(path);
  if (!strategy->ReadNode(path, childNames, keys, values)) return FALSE;
  POSITION valuePos = values.GetHeadPosition();
  for (POSITION keyPos = keys.GetHeadPosition(); keyPos != nullptr && valuePos != nullptr;)
    AddKeyValueString(keys.GetNext(keyPos), values.GetNext(valuePos), TRUE);
  for (POSITION pos = childNames.GetHeadPosition(); pos != nullptr;) {
    // A child of that name that exists already is refused and keeps what it holds.
    if (SECPersistentTreeNode* child = m_factory.AddChild(childNames.GetNext(pos), this)) child->Load(strategy);
  }
  return TRUE;
}
