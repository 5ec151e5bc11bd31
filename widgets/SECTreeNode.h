// The nodes of the toolkit's trees: SECTreeNode (four links), SECTreeNodeX (pre-order walks,
// linking, and navigation that can pass over one level), Node, the item node of the tree
// controls with its own TVITEM, and SECTreeNodeSet, the set of a tree's live nodes.
#pragma once

#include <cstddef>
#include <vector>

#include "afx/afx.h"
#include "controls/CommCtrl.h"
#include "foundation/RecordPool.h"

class SECListItem;

class SECTreeNode {
 public:
  SECTreeNode() = default;
  // Deletes the whole subtree, leaves first, then the node.
  virtual ~SECTreeNode();
  SECTreeNode(const SECTreeNode&) = delete;
  SECTreeNode& operator=(const SECTreeNode&) = delete;

  virtual SECTreeNode* GetParent() const { return m_pParent; }
  virtual SECTreeNode* GetNextSibling() const { return m_pNextSibling; }
  virtual SECTreeNode* GetPrevSibling() const { return m_pPrevSibling; }
  virtual SECTreeNode* GetFirstChild() const { return m_pFirstChild; }
  virtual int OnNodeHook(void* /*pArg*/) { return 0; }
  virtual BOOL IsExpanded() const { return FALSE; }
  virtual void SetExpanded(BOOL) {}

  SECTreeNode* m_pParent = nullptr;
  SECTreeNode* m_pNextSibling = nullptr;
  SECTreeNode* m_pPrevSibling = nullptr;
  SECTreeNode* m_pFirstChild = nullptr;
};

class SECTreeNodeX : public SECTreeNode {
 public:
  SECTreeNodeX() = default;
  ~SECTreeNodeX() override;

  // While the root's level L is not 0, level L is passed over.
  SECTreeNode* GetParent() const override;
  SECTreeNode* GetNextSibling() const override;
  SECTreeNode* GetPrevSibling() const override;
  SECTreeNode* GetFirstChild() const override;

  // Position of AddChild: first, last (1 or 2), or after a given sibling.
  enum : INT_PTR { kAddFirst = 0, kAddLast = 1, kAddLast2 = 2 };

  int GetDepth() const;
  SECTreeNodeX* GetRoot() const;
  SECTreeNodeX* GetLastSibling() const;
  SECTreeNodeX* GetLastChild() const;
  SECTreeNodeX* GetFirstLeaf() const;
  SECTreeNodeX* GetLastDescendant() const;
  void Unlink();
  // pos: kAddFirst, kAddLast, or the child after which the node goes; FALSE when that is not a child.
  BOOL AddChild(SECTreeNodeX* pNode, SECTreeNodeX* pAfter);
  BOOL AddChild(SECTreeNodeX* pNode, INT_PTR nPos);
  void SwapWithPrevSibling();
  SECTreeNodeX* GetNextInPreOrder() const;
  SECTreeNodeX* GetPrevInPreOrder() const;
  BOOL IsAncestorOf(const SECTreeNode* pNode) const;
  void DeleteChildren();

  short m_nLevel = 0;

 private:
  SECTreeNode* RawChild(const SECTreeNode* node) const { return node->m_pFirstChild; }
};

class Node : public SECTreeNodeX {
  // Trees make and free nodes by the ten thousand: they come from a pool, not one by one.
  DECLARE_RECORD_POOL()

 public:
  Node();
  ~Node() override;

  BOOL IsExpanded() const override { return (m_item.state & TVIS_EXPANDED) != 0; }
  void SetExpanded(BOOL bExpanded) override;
  virtual int OnItemHook(void* /*pArg*/) { return 0; }

  Node* Parent() const { return static_cast<Node*>(GetParent()); }
  Node* FirstChild() const { return static_cast<Node*>(GetFirstChild()); }
  Node* NextSibling() const { return static_cast<Node*>(GetNextSibling()); }
  Node* PrevSibling() const { return static_cast<Node*>(GetPrevSibling()); }

  // Replaces the item's text with a copy of pszText (NULL and LPSTR_TEXTCALLBACK are kept as
  // they are). Labels are short as a rule: those that fit are held in the node itself.
  void StoreText(LPCSTR pszText);
  // Frees the item's text; it is NULL afterwards.
  void FreeText();

  TVITEM m_item{};
  CString m_strData1;
  CString m_strData2;
  DWORD m_dwExState = 0;  // 0x100, 0x200 (hidden)
  int m_nRowHeight = 0;
  // The list row that shows the node; NULL while it has none.
  SECListItem* m_pRow = nullptr;

 private:
  static constexpr size_t kInlineText = 32;
  char m_szInlineText[kInlineText];  // the text when it fits, m_item.pszText pointing here
};

// The live nodes of one tree, so that a handle can be checked before it is followed: an
// open-addressing set of pointers in one array (no allocation per node, one probe as a rule).
class SECTreeNodeSet {
 public:
  bool Contains(const Node* pNode) const;
  void Insert(const Node* pNode);
  void Erase(const Node* pNode);
  void Clear();
  size_t Size() const { return m_nSize; }

 private:
  size_t SlotOf(const Node* pNode) const;
  void Rehash(size_t nCapacity);

  std::vector<const Node*> m_slots;  // nullptr: empty; Tomb(): erased
  size_t m_nSize = 0;
  size_t m_nUsed = 0;  // live and erased slots
};
