// CList<TYPE, ARG_TYPE>: the framework's doubly linked list with POSITION iteration; nodes come from
// blocks of nBlockSize, so a POSITION stays valid while other elements are added or removed.
#pragma once

#include "core/CObject.h"
#include "core/CollectionArchive.h"
#include "core/CollectionBase.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
 protected:
  struct CNode {
    template <class... ARGS>
    CNode(CNode* prev, CNode* next, ARGS&&... args)
        : pNext(next), pPrev(prev), data(std::forward<ARGS>(args)...) {}
    CNode* pNext;
    CNode* pPrev;
    TYPE data;
  };

 public:
  explicit CList(INT_PTR nBlockSize = 10) : m_pool(nBlockSize) {}
  ~CList() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() { return NonEmpty(m_pNodeHead)->data; }
  const TYPE& GetHead() const { return NonEmpty(m_pNodeHead)->data; }
  TYPE& GetTail() { return NonEmpty(m_pNodeTail)->data; }
  const TYPE& GetTail() const { return NonEmpty(m_pNodeTail)->data; }

  TYPE RemoveHead() { return Unlink(NonEmpty(m_pNodeHead)); }
  TYPE RemoveTail() { return Unlink(NonEmpty(m_pNodeTail)); }

  POSITION AddHead(ARG_TYPE newElement) { return Link(nullptr, m_pNodeHead, newElement); }
  POSITION AddTail(ARG_TYPE newElement) { return Link(m_pNodeTail, nullptr, newElement); }

  // The whole-list forms keep the added elements in their order; a list may add itself.
  void AddHead(CList* pNewList) {
    CNode* node = NotNull(pNewList)->m_pNodeTail;
    for (INT_PTR n = pNewList->m_nCount; n > 0; --n, node = node->pPrev) AddHead(node->data);
  }
  void AddTail(CList* pNewList) {
    CNode* node = NotNull(pNewList)->m_pNodeHead;
    for (INT_PTR n = pNewList->m_nCount; n > 0; --n, node = node->pNext) AddTail(node->data);
  }

  void RemoveAll() {
    for (CNode* node = m_pNodeHead; node != nullptr;) {
      CNode* next = node->pNext;
      m_pool.Delete(node);
      node = next;
    }
    m_pool.FreeAll();
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
  }

  POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
  POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }

  // Return the element at rPosition and move rPosition on; the element returned may then be removed.
  TYPE& GetNext(POSITION& rPosition) { return Step(rPosition, &CNode::pNext)->data; }
  const TYPE& GetNext(POSITION& rPosition) const { return Step(rPosition, &CNode::pNext)->data; }
  TYPE& GetPrev(POSITION& rPosition) { return Step(rPosition, &CNode::pPrev)->data; }
  const TYPE& GetPrev(POSITION& rPosition) const { return Step(rPosition, &CNode::pPrev)->data; }

  TYPE& GetAt(POSITION position) { return ToNode(position)->data; }
  const TYPE& GetAt(POSITION position) const { return ToNode(position)->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { ToNode(pos)->data = newElement; }
  void RemoveAt(POSITION position) { FreeNode(ToNode(position)); }

  // A NULL position inserts at the head (InsertBefore) or the tail (InsertAfter).
  POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
    if (position == nullptr) return AddHead(newElement);
    CNode* node = ToNode(position);
    return Link(node->pPrev, node, newElement);
  }
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
    if (position == nullptr) return AddTail(newElement);
    CNode* node = ToNode(position);
    return Link(node, node->pNext, newElement);
  }

  // Searches after startAfter (from the head when NULL); NULL when not found.
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
    CNode* node = startAfter == nullptr ? m_pNodeHead : ToNode(startAfter)->pNext;
    for (; node != nullptr; node = node->pNext) {
      if (CompareElements<TYPE>(&node->data, &searchValue)) return ToPosition(node);
    }
    return nullptr;
  }

  // NULL when nIndex is negative or not below the count.
  POSITION FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    CNode* node;
    if (nIndex <= m_nCount / 2) {
      node = m_pNodeHead;
      for (; nIndex > 0; --nIndex) node = node->pNext;
    } else {
      node = m_pNodeTail;
      for (nIndex = m_nCount - 1 - nIndex; nIndex > 0; --nIndex) node = node->pPrev;
    }
    return ToPosition(node);
  }

  // A count, then each element through SerializeElements.
  void Serialize(CArchive& ar) override {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
      ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
      for (CNode* node = m_pNodeHead; node != nullptr; node = node->pNext)
        SerializeElements<TYPE>(ar, &node->data, 1);
    } else {
      for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) {
        TYPE newData{};
        SerializeElements<TYPE>(ar, &newData, 1);
        AddTail(newData);
      }
    }
  }

 protected:
  static POSITION ToPosition(CNode* node) { return reinterpret_cast<POSITION>(node); }
  static CNode* ToNode(POSITION position) {
    if (position == nullptr) CollectionUsageFault("CList: NULL POSITION");
    return reinterpret_cast<CNode*>(position);
  }
  static CNode* Step(POSITION& rPosition, CNode* CNode::*link) {
    CNode* node = ToNode(rPosition);
    rPosition = ToPosition(node->*link);
    return node;
  }
  static CNode* NonEmpty(CNode* node) {
    if (node == nullptr) CollectionUsageFault("CList: the list is empty");
    return node;
  }
  static CList* NotNull(CList* list) {
    if (list == nullptr) CollectionUsageFault("CList: NULL list");
    return list;
  }

  POSITION Link(CNode* prev, CNode* next, ARG_TYPE newElement) {
    CNode* node = m_pool.New(prev, next, newElement);
    (prev != nullptr ? prev->pNext : m_pNodeHead) = node;
    (next != nullptr ? next->pPrev : m_pNodeTail) = node;
    ++m_nCount;
    return ToPosition(node);
  }

  TYPE Unlink(CNode* node) {
    TYPE value(std::move(node->data));
    FreeNode(node);
    return value;
  }

  void FreeNode(CNode* node) {
    (node->pPrev != nullptr ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
    (node->pNext != nullptr ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
    m_pool.Delete(node);
    if (--m_nCount == 0) RemoveAll();
  }

  CNode* m_pNodeHead = nullptr;
  CNode* m_pNodeTail = nullptr;
  INT_PTR m_nCount = 0;
  CollectionNodePool<CNode> m_pool;
};
