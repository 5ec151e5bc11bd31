// CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>: the framework's hash map, whose keys hash through HashKey.
#pragma once

#include "core/CObject.h"
#include "core/CollectionArchive.h"
#include "core/CollectionBase.h"

// Walks (GetStartPosition/GetNextAssoc) and Serialize visit the pairs in insertion order, not hash order,
// so what is written from a map (numbered profile entries, archives) repeats from run to run. Setting the
// value of an existing key keeps its place; a removed key that is added again goes to the end.
// InitHashTable gives the starting bucket count (17 by default); the table grows as keys are added so a
// lookup stays constant-time, and GetHashTableSize reports the count in use.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
 protected:
  struct CAssoc {
    template <class K>
    CAssoc(UINT hash, K&& k) : nHashValue(hash), key(std::forward<K>(k)), value() {}
    CAssoc* pNextInBucket = nullptr;
    CAssoc* pPrev = nullptr;
    CAssoc* pNext = nullptr;
    UINT nHashValue;
    KEY key;
    VALUE value;
  };

 public:
  typedef KEY BASE_KEY;
  typedef ARG_KEY BASE_ARG_KEY;
  typedef VALUE BASE_VALUE;
  typedef ARG_VALUE BASE_ARG_VALUE;

  explicit CMap(INT_PTR nBlockSize = 10) : m_pool(nBlockSize) {}
  ~CMap() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
    const CAssoc* assoc = Find(key, HashKey<ARG_KEY>(key));
    if (assoc == nullptr) return FALSE;
    rValue = assoc->value;
    return TRUE;
  }

  // Adds the key with a value-initialised value when it is missing.
  VALUE& operator[](ARG_KEY key) {
    UINT hash = HashKey<ARG_KEY>(key);
    if (CAssoc* assoc = Find(key, hash)) return assoc->value;
    return Insert(hash, key)->value;
  }

  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

  BOOL RemoveKey(ARG_KEY key) {
    CAssoc** link = FindLink(key, HashKey<ARG_KEY>(key));
    if (link == nullptr) return FALSE;
    CAssoc* assoc = *link;
    *link = assoc->pNextInBucket;
    (assoc->pPrev != nullptr ? assoc->pPrev->pNext : m_pHead) = assoc->pNext;
    (assoc->pNext != nullptr ? assoc->pNext->pPrev : m_pTail) = assoc->pPrev;
    m_pool.Delete(assoc);
    if (--m_nCount == 0) RemoveAll();
    return TRUE;
  }

  void RemoveAll() {
    for (CAssoc* assoc = m_pHead; assoc != nullptr;) {
      CAssoc* next = assoc->pNext;
      m_pool.Delete(assoc);
      assoc = next;
    }
    m_pool.FreeAll();
    std::vector<CAssoc*>().swap(m_buckets);
    m_pHead = m_pTail = nullptr;
    m_nCount = 0;
  }

  POSITION GetStartPosition() const { return reinterpret_cast<POSITION>(m_pHead); }

  // Returns the pair at rNextPosition and moves it on; the pair just returned may then be removed.
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
    if (rNextPosition == nullptr) CollectionUsageFault("CMap::GetNextAssoc: NULL POSITION");
    const CAssoc* assoc =
        rNextPosition == BEFORE_START_POSITION ? m_pHead : reinterpret_cast<const CAssoc*>(rNextPosition);
    if (assoc == nullptr) CollectionUsageFault("CMap::GetNextAssoc: the map is empty");
    rNextPosition = reinterpret_cast<POSITION>(assoc->pNext);
    rKey = assoc->key;
    rValue = assoc->value;
  }

  UINT GetHashTableSize() const { return m_nHashTableSize; }

  void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE) {
    if (nHashSize == 0) CollectionUsageFault("CMap::InitHashTable: zero buckets");
    m_nHashTableSize = nHashSize;
    if (bAllocNow || m_nCount > 0)
      Rehash();
    else
      std::vector<CAssoc*>().swap(m_buckets);
  }

  // A count, then key and value of each pair through SerializeElements; loading adds to the map.
  void Serialize(CArchive& ar) override {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
      ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
      for (CAssoc* assoc = m_pHead; assoc != nullptr; assoc = assoc->pNext) {
        SerializeElements<KEY>(ar, &assoc->key, 1);
        SerializeElements<VALUE>(ar, &assoc->value, 1);
      }
    } else {
      for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) {
        KEY newKey{};
        VALUE newValue{};
        SerializeElements<KEY>(ar, &newKey, 1);
        SerializeElements<VALUE>(ar, &newValue, 1);
        SetAt(newKey, newValue);
      }
    }
  }

 protected:
  // The bucket link that holds the key's pair, or NULL when the key is missing.
  CAssoc** FindLink(const ARG_KEY& key, UINT hash) const {
    if (m_buckets.empty()) return nullptr;
    CAssoc** link = const_cast<CAssoc**>(&m_buckets[hash % m_nHashTableSize]);
    for (; *link != nullptr; link = &(*link)->pNextInBucket) {
      if ((*link)->nHashValue == hash && CompareElements(&(*link)->key, &key)) return link;
    }
    return nullptr;
  }

  CAssoc* Find(const ARG_KEY& key, UINT hash) const {
    CAssoc** link = FindLink(key, hash);
    return link != nullptr ? *link : nullptr;
  }

  CAssoc* Insert(UINT hash, ARG_KEY key) {
    if (m_buckets.empty())
      Rehash();
    else if (static_cast<UINT_PTR>(m_nCount) >= 2 * static_cast<UINT_PTR>(m_nHashTableSize))
      Grow();
    CAssoc* assoc = m_pool.New(hash, key);
    CAssoc*& bucket = m_buckets[hash % m_nHashTableSize];
    assoc->pNextInBucket = bucket;
    bucket = assoc;
    assoc->pPrev = m_pTail;
    (m_pTail != nullptr ? m_pTail->pNext : m_pHead) = assoc;
    m_pTail = assoc;
    ++m_nCount;
    return assoc;
  }

  void Grow() {
    UINT nSize = m_nHashTableSize;
    if (nSize > 0x3FFFFFFF) return;
    nSize = nSize * 2 + 1;
    while (!IsPrime(nSize)) nSize += 2;
    m_nHashTableSize = nSize;
    Rehash();
  }

  static bool IsPrime(UINT n) {
    for (UINT d = 3; d * d <= n; d += 2) {
      if (n % d == 0) return false;
    }
    return true;
  }

  void Rehash() {
    std::vector<CAssoc*> buckets(m_nHashTableSize, nullptr);
    for (CAssoc* assoc = m_pHead; assoc != nullptr; assoc = assoc->pNext) {
      CAssoc*& bucket = buckets[assoc->nHashValue % m_nHashTableSize];
      assoc->pNextInBucket = bucket;
      bucket = assoc;
    }
    m_buckets.swap(buckets);
  }

  std::vector<CAssoc*> m_buckets;
  UINT m_nHashTableSize = 17;
  CAssoc* m_pHead = nullptr;
  CAssoc* m_pTail = nullptr;
  INT_PTR m_nCount = 0;
  CollectionNodePool<CAssoc> m_pool;
};
