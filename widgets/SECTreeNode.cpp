// Tree nodes: links, pre-order walks, linking and unlinking, and navigation over a skipped level.
#include "widgets/SECTreeNode.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "widgets/SECListItem.h"

SECTreeNode::~SECTreeNode() {
  // Leaves first: follow first-child links down, unlink that node, delete it, again.
  while (m_pFirstChild != nullptr) {
    SECTreeNode* leaf = m_pFirstChild;
    while (leaf->m_pFirstChild != nullptr) leaf = leaf->m_pFirstChild;
    SECTreeNode* parent = leaf->m_pParent;
    if (parent->m_pFirstChild == leaf) parent->m_pFirstChild = leaf->m_pNextSibling;
    if (leaf->m_pPrevSibling != nullptr) leaf->m_pPrevSibling->m_pNextSibling = leaf->m_pNextSibling;
    if (leaf->m_pNextSibling != nullptr) leaf->m_pNextSibling->m_pPrevSibling = leaf->m_pPrevSibling;
    leaf->m_pParent = leaf->m_pNextSibling = leaf->m_pPrevSibling = nullptr;
    delete leaf;
  }
}

SECTreeNodeX::~SECTreeNodeX() { m_nLevel = 0; }

namespace {

int RawDepth(const SECTreeNode* node) {
  int depth = 0;
  for (const SECTreeNode* up = node->m_pParent; up != nullptr; up = up->m_pParent) ++depth;
  return depth;
}

const SECTreeNodeX* RawRoot(const SECTreeNode* node) {
  while (node->m_pParent != nullptr) node = node->m_pParent;
  return static_cast<const SECTreeNodeX*>(node);
}

SECTreeNode* RawLastChild(const SECTreeNode* node) {
  SECTreeNode* child = node->m_pFirstChild;
  while (child != nullptr && child->m_pNextSibling != nullptr) child = child->m_pNextSibling;
  return child;
}

}  // namespace

SECTreeNode* SECTreeNodeX::GetParent() const {
  int level = RawRoot(this)->m_nLevel;
  if (level != 0 && RawDepth(this) == level + 1 && m_pParent != nullptr) return m_pParent->m_pParent;
  return m_pParent;
}

SECTreeNode* SECTreeNodeX::GetFirstChild() const {
  int level = RawRoot(this)->m_nLevel;
  if (level != 0 && RawDepth(this) == level - 1 && m_pFirstChild != nullptr) return m_pFirstChild->m_pFirstChild;
  return m_pFirstChild;
}

SECTreeNode* SECTreeNodeX::GetNextSibling() const {
  int level = RawRoot(this)->m_nLevel;
  if (level != 0 && RawDepth(this) == level + 1 && m_pNextSibling == nullptr && m_pParent != nullptr) {
    for (SECTreeNode* uncle = m_pParent->m_pNextSibling; uncle != nullptr; uncle = uncle->m_pNextSibling) {
      if (uncle->m_pFirstChild != nullptr) return uncle->m_pFirstChild;
    }
    return nullptr;
  }
  return m_pNextSibling;
}

SECTreeNode* SECTreeNodeX::GetPrevSibling() const {
  int level = RawRoot(this)->m_nLevel;
  if (level != 0 && RawDepth(this) == level + 1 && m_pPrevSibling == nullptr && m_pParent != nullptr) {
    for (SECTreeNode* uncle = m_pParent->m_pPrevSibling; uncle != nullptr; uncle = uncle->m_pPrevSibling) {
      if (SECTreeNode* last = RawLastChild(uncle)) return last;
    }
    return nullptr;
  }
  return m_pPrevSibling;
}

int SECTreeNodeX::GetDepth() const {
  int depth = 0;
  for (const SECTreeNode* up = GetParent(); up != nullptr; up = up->GetParent()) ++depth;
  return depth;
}

SECTreeNodeX* SECTreeNodeX::GetRoot() const { return const_cast<SECTreeNodeX*>(RawRoot(this)); }

SECTreeNodeX* SECTreeNodeX::GetLastSibling() const {
  const SECTreeNode* node = this;
  while (node->GetNextSibling() != nullptr) node = node->GetNextSibling();
  return static_cast<SECTreeNodeX*>(const_cast<SECTreeNode*>(node));
}

SECTreeNodeX* SECTreeNodeX::GetLastChild() const {
  SECTreeNode* child = GetFirstChild();
  return child != nullptr ? static_cast<SECTreeNodeX*>(child)->GetLastSibling() : nullptr;
}

SECTreeNodeX* SECTreeNodeX::GetFirstLeaf() const {
  const SECTreeNode* node = this;
  while (node->GetFirstChild() != nullptr) node = node->GetFirstChild();
  return static_cast<SECTreeNodeX*>(const_cast<SECTreeNode*>(node));
}

SECTreeNodeX* SECTreeNodeX::GetLastDescendant() const {
  const SECTreeNodeX* node = this;
  while (SECTreeNodeX* last = node->GetLastChild()) node = last;
  return const_cast<SECTreeNodeX*>(node);
}

void SECTreeNodeX::Unlink() {
  if (m_pParent != nullptr && m_pParent->m_pFirstChild == this) m_pParent->m_pFirstChild = m_pNextSibling;
  if (m_pPrevSibling != nullptr) m_pPrevSibling->m_pNextSibling = m_pNextSibling;
  if (m_pNextSibling != nullptr) m_pNextSibling->m_pPrevSibling = m_pPrevSibling;
  m_pParent = m_pNextSibling = m_pPrevSibling = nullptr;
}

BOOL SECTreeNodeX::AddChild(SECTreeNodeX* pNode, INT_PTR nPos) {
  if (nPos == kAddFirst || nPos == kAddLast || nPos == kAddLast2) {
    if (pNode == nullptr) return FALSE;
    pNode->m_pParent = this;
    if (nPos == kAddFirst || m_pFirstChild == nullptr) {
      pNode->m_pNextSibling = m_pFirstChild;
      pNode->m_pPrevSibling = nullptr;
      if (m_pFirstChild != nullptr) m_pFirstChild->m_pPrevSibling = pNode;
      m_pFirstChild = pNode;
      return TRUE;
    }
    SECTreeNode* last = RawLastChild(this);
    last->m_pNextSibling = pNode;
    pNode->m_pPrevSibling = last;
    pNode->m_pNextSibling = nullptr;
    return TRUE;
  }
  return AddChild(pNode, reinterpret_cast<SECTreeNodeX*>(nPos));
}

BOOL SECTreeNodeX::AddChild(SECTreeNodeX* pNode, SECTreeNodeX* pAfter) {
  if (pNode == nullptr || pAfter == nullptr || pAfter->m_pParent != this) return FALSE;
  pNode->m_pParent = this;
  pNode->m_pPrevSibling = pAfter;
  pNode->m_pNextSibling = pAfter->m_pNextSibling;
  if (pAfter->m_pNextSibling != nullptr) pAfter->m_pNextSibling->m_pPrevSibling = pNode;
  pAfter->m_pNextSibling = pNode;
  return TRUE;
}

void SECTreeNodeX::SwapWithPrevSibling() {
  SECTreeNode* prev = m_pPrevSibling;
  if (prev == nullptr) return;
  SECTreeNode* before = prev->m_pPrevSibling;
  SECTreeNode* after = m_pNextSibling;
  if (m_pParent != nullptr && m_pParent->m_pFirstChild == prev) m_pParent->m_pFirstChild = this;
  if (before != nullptr) before->m_pNextSibling = this;
  if (after != nullptr) after->m_pPrevSibling = prev;
  m_pPrevSibling = before;
  m_pNextSibling = prev;
  prev->m_pPrevSibling = this;
  prev->m_pNextSibling = after;
}

SECTreeNodeX* SECTreeNodeX::GetNextInPreOrder() const {
  if (SECTreeNode* child = GetFirstChild()) return static_cast<SECTreeNodeX*>(child);
  for (const SECTreeNode* node = this; node != nullptr; node = node->GetParent()) {
    if (SECTreeNode* next = node->GetNextSibling()) return static_cast<SECTreeNodeX*>(next);
  }
  return nullptr;
}

SECTreeNodeX* SECTreeNodeX::GetPrevInPreOrder() const {
  if (SECTreeNode* prev = GetPrevSibling()) return static_cast<SECTreeNodeX*>(prev)->GetLastDescendant();
  return static_cast<SECTreeNodeX*>(GetParent());
}

BOOL SECTreeNodeX::IsAncestorOf(const SECTreeNode* pNode) const {
  for (const SECTreeNode* up = pNode != nullptr ? pNode->GetParent() : nullptr; up != nullptr; up = up->GetParent()) {
    if (up == this) return TRUE;
  }
  return FALSE;
}

void SECTreeNodeX::DeleteChildren() {
  while (m_pFirstChild != nullptr) {
    auto* leaf = static_cast<SECTreeNodeX*>(m_pFirstChild);
    while (leaf->m_pFirstChild != nullptr) leaf = static_cast<SECTreeNodeX*>(leaf->m_pFirstChild);
    leaf->Unlink();
    delete leaf;
  }
}

IMPLEMENT_RECORD_POOL(Node)

Node::Node() {
  m_item.hItem = reinterpret_cast<HTREEITEM>(this);
  m_item.iImage = -12;
  m_item.iSelectedImage = -12;
}

Node::~Node() {
  FreeText();
  DeleteChildren();
}

void Node::FreeText() {
  if (m_item.pszText != nullptr && m_item.pszText != LPSTR_TEXTCALLBACK && m_item.pszText != m_szInlineText)
    delete[] m_item.pszText;
  m_item.pszText = nullptr;
}

void Node::StoreText(LPCSTR pszText) {
  if (pszText == nullptr || pszText == LPSTR_TEXTCALLBACK) {
    FreeText();
    m_item.pszText = const_cast<LPSTR>(pszText);
    return;
  }
  // The new text is copied before the old one goes: it may be the old one itself.
  const size_t length = std::strlen(pszText);
  if (length < kInlineText) {
    if (pszText != m_szInlineText) {
      char copy[kInlineText];
      std::memcpy(copy, pszText, length + 1);
      FreeText();
      std::memcpy(m_szInlineText, copy, length + 1);
    }
    m_item.pszText = m_szInlineText;
    return;
  }
  char* copy = new char[length + 1];
  std::memcpy(copy, pszText, length + 1);
  FreeText();
  m_item.pszText = copy;
}

void Node::SetExpanded(BOOL bExpanded) {
  if (bExpanded) m_item.state |= TVIS_EXPANDED;
  else m_item.state &= ~static_cast<UINT>(TVIS_EXPANDED);
}

// ---- SECTreeNodeSet ----

namespace {

const Node* Tomb() { return reinterpret_cast<const Node*>(alignof(Node)); }

}  // namespace

size_t SECTreeNodeSet::SlotOf(const Node* pNode) const {
  // Fibonacci hashing of the address (its low bits are alignment), masked to the table.
  auto key = static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(pNode)) >> 4;
  return static_cast<size_t>((key * 0x9E3779B97F4A7C15ULL) >> 20) & (m_slots.size() - 1);
}

bool SECTreeNodeSet::Contains(const Node* pNode) const {
  if (m_nSize == 0 || pNode == nullptr || pNode == Tomb()) return false;
  const size_t mask = m_slots.size() - 1;
  for (size_t slot = SlotOf(pNode);; slot = (slot + 1) & mask) {
    const Node* held = m_slots[slot];
    if (held == pNode) return true;
    if (held == nullptr) return false;
  }
}

void SECTreeNodeSet::Insert(const Node* pNode) {
  if (pNode == nullptr || pNode == Tomb()) return;
  // At most three quarters of the slots in use, erased ones counted, so probes stay short.
  if ((m_nUsed + 1) * 4 > m_slots.size() * 3) {
    // Doubled when a quarter is live, else rebuilt as large without the erased slots.
    Rehash(std::max<size_t>(64, m_nSize * 4 >= m_slots.size() ? m_slots.size() * 2 : m_slots.size()));
  }
  const size_t mask = m_slots.size() - 1;
  size_t reuse = m_slots.size();
  for (size_t slot = SlotOf(pNode);; slot = (slot + 1) & mask) {
    const Node* held = m_slots[slot];
    if (held == pNode) return;
    if (held == Tomb() && reuse == m_slots.size()) reuse = slot;
    if (held == nullptr) {
      if (reuse == m_slots.size()) {
        reuse = slot;
        ++m_nUsed;
      }
      m_slots[reuse] = pNode;
      ++m_nSize;
      return;
    }
  }
}

void SECTreeNodeSet::Erase(const Node* pNode) {
  if (m_nSize == 0 || pNode == nullptr || pNode == Tomb()) return;
  const size_t mask = m_slots.size() - 1;
  for (size_t slot = SlotOf(pNode);; slot = (slot + 1) & mask) {
    const Node* held = m_slots[slot];
    if (held == nullptr) return;
    if (held == pNode) {
      m_slots[slot] = Tomb();
      --m_nSize;
      return;
    }
  }
}

void SECTreeNodeSet::Clear() {
  // The table keeps its size: a tree emptied is usually filled again as large.
  std::fill(m_slots.begin(), m_slots.end(), nullptr);
  m_nSize = m_nUsed = 0;
}

void SECTreeNodeSet::Rehash(size_t nCapacity) {
  std::vector<const Node*> old(nCapacity, nullptr);
  old.swap(m_slots);
  m_nSize = m_nUsed = 0;
  for (const Node* held : old) {
    if (held != nullptr && held != Tomb()) Insert(held);
  }
}
