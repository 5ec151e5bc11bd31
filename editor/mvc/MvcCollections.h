// The foundation's collection templates: the ring stack of the undo history, an array collection
// with index positions, and a cursor over a collection with an acceptance hook.
#pragma once

#include "core/CArray.h"

namespace kelpwood::foundation {

template <class T>
class IStack_T {
 public:
  virtual T Push(T x) = 0;
  virtual T Peek() = 0;
  virtual T Pop() = 0;
  virtual void SetCapacity(int n) = 0;
  virtual ~IStack_T() = default;
};

// A ring of `capacity` slots: a push onto a full ring overwrites the oldest entry and hands it
// back so that the owner can free it.
template <class T>
class CCStack_T : public CArray<T, T>, public IStack_T<T> {
 public:
  T Push(T x) override {
    if (m_nCapacity <= 0) return x;  // no storage: the entry is handed straight back
    m_nTop = (m_nTop + 1) % m_nCapacity;
    T old = this->GetAt(m_nTop);
    this->SetAt(m_nTop, x);
    m_nCount = std::min(m_nCount + 1, m_nCapacity);
    return old;
  }
  T Peek() override { return m_nTop >= 0 && m_nTop < m_nCapacity ? this->GetAt(m_nTop) : T(); }
  T Pop() override {
    if (m_nCount <= 0) return T();
    T x = this->GetAt(m_nTop);
    this->SetAt(m_nTop, T());
    m_nTop = (m_nTop - 1) % m_nCapacity;
    if (m_nTop < 0) m_nTop = m_nCapacity - 1;
    m_nCount = std::max(m_nCount - 1, 0);
    return x;
  }
  // A capacity below 1 is refused. The ring must be empty when its size changes (the owner
  // empties it first): entries would otherwise sit outside the new ring.
  void SetCapacity(int n) override {
    if (n <= 0) return;
    m_nCapacity = n;
    m_nTop = -1;
    m_nCount = 0;
    this->RemoveAll();
    this->SetSize(n);
  }
  int GetCapacity() const { return m_nCapacity; }
  int GetCount() const { return m_nCount; }

 private:
  int m_nTop = -1;
  int m_nCapacity = -1;
  int m_nCount = 0;
};

// A position in an indexed collection; collections make them and iterators delete them.
class CCIterPos {
 public:
  virtual ~CCIterPos() = default;
};

template <class I>
class CCIterPos_T : public CCIterPos {
 public:
  explicit CCIterPos_T(I index = I()) : m_index(index) {}
  I m_index;
};

template <class T>
class ICollection_T {
 public:
  virtual CCIterPos* NewPosition() = 0;
  virtual T* First(CCIterPos& pos) = 0;
  virtual T* Next(CCIterPos& pos) = 0;
  virtual T* Prev(CCIterPos& pos) = 0;
  virtual T* Last(CCIterPos& pos) = 0;
  virtual void RemoveAt(CCIterPos& pos) = 0;
  virtual T GetAt(const CCIterPos& pos) = 0;
  virtual T* ElementAt(const CCIterPos& pos) = 0;
  // The address of the entry, or the array's base when the position is past the end.
  virtual T* ElementAtOrBase(const CCIterPos& pos) = 0;
  virtual void SetAt(const CCIterPos& pos, T value) = 0;
  virtual void InsertAt(const CCIterPos& pos, T value) = 0;
  virtual void InsertBefore(const CCIterPos& pos, T value) = 0;
  virtual void InsertAfter(const CCIterPos& pos, T value) = 0;
  virtual int GetCount() = 0;
  virtual void RemoveAll() = 0;
  virtual bool IsPastEnd(const CCIterPos& pos) = 0;
  virtual ~ICollection_T() = default;
};

template <class T>
class CCArray_T : public CArray<T, T>, public ICollection_T<T> {
  using Base = CArray<T, T>;
  static int& Index(CCIterPos& pos) { return static_cast<CCIterPos_T<int>&>(pos).m_index; }
  static int Index(const CCIterPos& pos) { return static_cast<const CCIterPos_T<int>&>(pos).m_index; }

 public:
  CCIterPos* NewPosition() override { return new CCIterPos_T<int>(0); }
  T* First(CCIterPos& pos) override { return At(Index(pos) = 0); }
  T* Next(CCIterPos& pos) override { return At(++Index(pos)); }
  T* Prev(CCIterPos& pos) override { return At(--Index(pos)); }
  T* Last(CCIterPos& pos) override { return At(Index(pos) = GetCount() - 1); }
  void RemoveAt(CCIterPos& pos) override {
    if (!IsPastEnd(pos)) Base::RemoveAt(Index(pos));
  }
  T GetAt(const CCIterPos& pos) override { return IsPastEnd(pos) ? T() : Base::GetAt(Index(pos)); }
  T* ElementAt(const CCIterPos& pos) override { return At(Index(pos)); }
  T* ElementAtOrBase(const CCIterPos& pos) override { return IsPastEnd(pos) ? Base::GetData() : At(Index(pos)); }
  void SetAt(const CCIterPos& pos, T value) override {
    if (!IsPastEnd(pos)) Base::SetAt(Index(pos), value);
  }
  void InsertAt(const CCIterPos& pos, T value) override { Base::InsertAt(Clamp(Index(pos)), value); }
  void InsertBefore(const CCIterPos& pos, T value) override { Base::InsertAt(Clamp(Index(pos)), value); }
  void InsertAfter(const CCIterPos& pos, T value) override { Base::InsertAt(Clamp(Index(pos) + 1), value); }
  int GetCount() override { return static_cast<int>(Base::GetSize()); }
  void RemoveAll() override { Base::RemoveAll(); }
  bool IsPastEnd(const CCIterPos& pos) override { return Index(pos) < 0 || Index(pos) >= GetCount(); }

  // Removes every entry equal to value, from the last down.
  void RemoveValue(T value) {
    for (int i = GetCount() - 1; i >= 0; --i)
      if (Base::GetAt(i) == value) Base::RemoveAt(i);
  }
  // The next entry equal to value after `from`, wrapping to the start; -1 when none.
  int FindForward(T value, int from) {
    const int n = GetCount();
    for (int k = 1; k <= n; ++k) {
      const int i = (from + k) % n;
      if (Base::GetAt(i) == value) return i;
    }
    return -1;
  }
  // The previous entry equal to value before `from`, wrapping from the end; -1 when none.
  int FindBackward(T value, int from) {
    const int n = GetCount();
    for (int k = 1; k <= n; ++k) {
      const int i = ((from - k) % n + n) % n;
      if (Base::GetAt(i) == value) return i;
    }
    return -1;
  }
  int IndexOf(T value) {
    for (int i = 0; i < GetCount(); ++i)
      if (Base::GetAt(i) == value) return i;
    return -1;
  }

 private:
  T* At(int i) { return i >= 0 && i < GetCount() ? &Base::ElementAt(i) : nullptr; }
  int Clamp(int i) { return std::clamp(i, 0, GetCount()); }
};

// A cursor over one collection (or a reading and a writing one); Accept may refuse entries,
// which the moves then skip.
template <class T>
class Iterator_T {
 public:
  explicit Iterator_T(ICollection_T<T>* collection = nullptr) { SetCollection(collection); }
  virtual ~Iterator_T() { delete m_pPos; }
  Iterator_T(const Iterator_T&) = delete;
  Iterator_T& operator=(const Iterator_T&) = delete;

  void SetCollection(ICollection_T<T>* collection) {
    m_pRead = m_pWrite = collection;
    Reposition();
  }
  void SetReadCollection(ICollection_T<T>* collection) {
    m_pRead = collection;
    Reposition();
  }
  void SetWriteCollection(ICollection_T<T>* collection) { m_pWrite = collection; }

  virtual bool Accept(const T&) { return true; }

  T* First() { return m_pRead ? Skip(m_pRead->First(*m_pPos), true) : nullptr; }
  T* Next() { return m_pRead ? Skip(m_pRead->Next(*m_pPos), true) : nullptr; }
  T* Prev() { return m_pRead ? Skip(m_pRead->Prev(*m_pPos), false) : nullptr; }
  T* Last() { return m_pRead ? Skip(m_pRead->Last(*m_pPos), false) : nullptr; }
  T Get() { return m_pRead ? m_pRead->GetAt(*m_pPos) : T(); }
  void Set(T value) {
    if (m_pWrite) m_pWrite->SetAt(*m_pPos, value);
  }
  void Insert(T value) {
    if (m_pWrite) m_pWrite->InsertAt(*m_pPos, value);
  }
  void Remove() {
    if (m_pWrite) m_pWrite->RemoveAt(*m_pPos);
  }
  T GetFirst() { return First() ? Get() : T(); }
  T GetNext() { return Next() ? Get() : T(); }
  T GetPrev() { return Prev() ? Get() : T(); }
  T GetLast() { return Last() ? Get() : T(); }

 private:
  void Reposition() {
    delete m_pPos;
    m_pPos = m_pRead ? m_pRead->NewPosition() : nullptr;
  }
  T* Skip(T* entry, bool forward) {
    while (entry && !Accept(*entry)) entry = forward ? m_pRead->Next(*m_pPos) : m_pRead->Prev(*m_pPos);
    return entry;
  }

  ICollection_T<T>* m_pRead = nullptr;
  ICollection_T<T>* m_pWrite = nullptr;
  CCIterPos* m_pPos = nullptr;
};

}  // namespace kelpwood::foundation
