// A gap buffer: a vector with a movable hole, so that inserts and deletes near the last edit
// cost time independent of the length.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

namespace kelpwood::editor {

// Invariant: body_ holds [0, part1_) of the elements, then gap_ unused slots, then the rest;
// Length() == size_ - gap_. Storage grows without initialising the slots it adds.
template <class T>
class SplitVector {
  static_assert(std::is_trivially_copyable_v<T>, "elements are moved with memmove");

 public:
  ptrdiff_t Length() const { return size_ - gap_; }

  T ValueAt(ptrdiff_t pos) const { return pos < part1_ ? body_[pos] : body_[pos + gap_]; }
  void SetValueAt(ptrdiff_t pos, T value) { (pos < part1_ ? body_[pos] : body_[pos + gap_]) = value; }
  T& operator[](ptrdiff_t pos) { return pos < part1_ ? body_[pos] : body_[pos + gap_]; }

  void Insert(ptrdiff_t pos, T value) { InsertFromArray(pos, &value, 1); }
  void InsertFromArray(ptrdiff_t pos, const T* values, ptrdiff_t n) {
    if (n <= 0) return;
    RoomFor(n);
    GapTo(pos);
    std::memmove(body_.get() + part1_, values, static_cast<size_t>(n) * sizeof(T));
    part1_ += n;
    gap_ -= n;
  }
  void InsertValue(ptrdiff_t pos, ptrdiff_t n, T value) {
    if (n <= 0) return;
    RoomFor(n);
    GapTo(pos);
    std::fill(body_.get() + part1_, body_.get() + part1_ + n, value);
    part1_ += n;
    gap_ -= n;
  }
  void DeleteRange(ptrdiff_t pos, ptrdiff_t n) {
    if (n <= 0) return;
    if (pos == 0 && n == Length()) {
      Clear();
      return;
    }
    GapTo(pos);
    gap_ += n;
  }
  void Delete(ptrdiff_t pos) { DeleteRange(pos, 1); }
  void Clear() {
    body_.reset();
    size_ = part1_ = gap_ = 0;
  }

  // Replaces the content with n elements whose bytes are all zero (null pointers, zero numbers).
  // Large blocks come from the system as untouched zero pages, so this costs no pass over them.
  void ResetZeroed(ptrdiff_t n) {
    const ptrdiff_t size = n + 16;
    Storage body(static_cast<T*>(std::calloc(static_cast<size_t>(size), sizeof(T))));
    if (!body) throw std::bad_alloc();
    body_ = std::move(body);
    size_ = size;
    part1_ = n;
    gap_ = size - n;
  }

  // Room for n elements at the end, returned uninitialised; Commit(n) makes them part of the
  // content once they are filled.
  T* AppendSpace(ptrdiff_t n) {
    RoomFor(n);
    GapTo(Length());
    return body_.get() + part1_;
  }
  void Commit(ptrdiff_t n) {
    part1_ += n;
    gap_ -= n;
  }

  // Copies n elements from pos.
  void GetRange(T* out, ptrdiff_t pos, ptrdiff_t n) const {
    const ptrdiff_t first = std::clamp<ptrdiff_t>(part1_ - pos, 0, n);
    if (first > 0) std::memcpy(out, body_.get() + pos, static_cast<size_t>(first) * sizeof(T));
    if (n > first) std::memcpy(out + first, body_.get() + pos + first + gap_, static_cast<size_t>(n - first) * sizeof(T));
  }

  // A pointer to n contiguous elements from pos; the gap moves only when it lies inside them.
  T* RangePointer(ptrdiff_t pos, ptrdiff_t n) {
    if (pos < part1_ && pos + n > part1_) GapTo(pos);
    return pos < part1_ ? body_.get() + pos : body_.get() + pos + gap_;
  }
  // The whole content, contiguous and followed by one value-initialised element.
  T* BufferPointer() {
    RoomFor(1);
    GapTo(Length());
    body_[part1_] = T();
    return body_.get();
  }

  // The two contiguous pieces of [pos, pos + n): the part before the gap and the part after.
  void Pieces(ptrdiff_t pos, ptrdiff_t n, const T** a, ptrdiff_t* na, const T** b, ptrdiff_t* nb) const {
    const ptrdiff_t first = std::clamp<ptrdiff_t>(part1_ - pos, 0, n);
    *a = body_.get() + pos;
    *na = first;
    *b = body_.get() + pos + first + gap_;
    *nb = n - first;
  }

  // Adds delta to the n elements from pos.
  void RangeAddDelta(ptrdiff_t pos, ptrdiff_t n, T delta) {
    ptrdiff_t i = pos;
    const ptrdiff_t end = pos + n;
    for (; i < std::min(end, part1_); ++i) body_[i] += delta;
    for (i = std::max(i, part1_); i < end; ++i) body_[i + gap_] += delta;
  }

  ptrdiff_t GapPosition() const { return part1_; }

 private:
  void GapTo(ptrdiff_t pos) {
    if (pos == part1_) return;
    T* data = body_.get();
    if (pos < part1_)
      std::memmove(data + pos + gap_, data + pos, static_cast<size_t>(part1_ - pos) * sizeof(T));
    else
      std::memmove(data + part1_, data + part1_ + gap_, static_cast<size_t>(pos - part1_) * sizeof(T));
    part1_ = pos;
  }
  // Grows the gap to hold n more elements, by at least half the length so that appends
  // cost amortised constant time.
  void RoomFor(ptrdiff_t n) {
    if (gap_ > n) return;
    GapTo(Length());
    const ptrdiff_t length = Length();
    const ptrdiff_t size = length + std::max<ptrdiff_t>(n + 1, length / 2 + 16);
    Storage body(static_cast<T*>(std::malloc(static_cast<size_t>(size) * sizeof(T))));
    if (!body) throw std::bad_alloc();
    if (length > 0) std::memcpy(body.get(), body_.get(), static_cast<size_t>(length) * sizeof(T));
    body_ = std::move(body);
    size_ = size;
    gap_ = size - length;
  }

  struct Free {
    void operator()(T* p) const { std::free(p); }
  };
  using Storage = std::unique_ptr<T[], Free>;
  Storage body_;
  ptrdiff_t size_ = 0;
  ptrdiff_t part1_ = 0;
  ptrdiff_t gap_ = 0;
};

// Line starts kept as partitions of the text. Starts after the step partition still owe the
// step length: an edit moves the step instead of every following start, so inserting text in
// one line of a long file touches only the starts between the old and the new step.
class Partitioning {
 public:
  Partitioning() { Reset(); }

  void Reset() {
    body_.Clear();
    body_.Insert(0, 0);
    body_.Insert(1, 0);
    stepPartition_ = 0;
    stepLength_ = 0;
  }
  ptrdiff_t Partitions() const { return body_.Length() - 1; }

  ptrdiff_t PositionFromPartition(ptrdiff_t partition) const {
    ptrdiff_t pos = body_.ValueAt(partition);
    if (partition > stepPartition_) pos += stepLength_;
    return pos;
  }
  // The partition holding pos (the last one for a position at or past the end).
  ptrdiff_t PartitionFromPosition(ptrdiff_t pos) const {
    if (body_.Length() <= 1) return 0;
    if (pos >= PositionFromPartition(Partitions())) return Partitions() - 1;
    ptrdiff_t lower = 0, upper = Partitions();
    while (lower < upper) {
      const ptrdiff_t middle = (upper + lower + 1) / 2;
      if (pos < PositionFromPartition(middle))
        upper = middle - 1;
      else
        lower = middle;
    }
    return lower;
  }
  // A new partition starting at pos, before the one now at index `partition`.
  void InsertPartition(ptrdiff_t partition, ptrdiff_t pos) {
    if (stepPartition_ < partition) ApplyStep(partition);
    body_.Insert(partition, pos);
    ++stepPartition_;
  }
  void InsertPartitions(ptrdiff_t partition, const ptrdiff_t* positions, ptrdiff_t n) {
    if (stepPartition_ < partition) ApplyStep(partition);
    body_.InsertFromArray(partition, positions, n);
    stepPartition_ += n;
  }
  void RemovePartitions(ptrdiff_t partition, ptrdiff_t n) {
    if (n <= 0) return;
    if (partition + n - 1 > stepPartition_) ApplyStep(partition + n - 1);
    stepPartition_ -= n;
    body_.DeleteRange(partition, n);
  }
  // Text of delta bytes inserted (or removed when negative) in `partition`: every later start moves.
  void InsertText(ptrdiff_t partition, ptrdiff_t delta) {
    if (stepLength_ != 0) {
      if (partition >= stepPartition_) {
        ApplyStep(partition);
        stepLength_ += delta;
      } else if (partition >= stepPartition_ - body_.Length() / 10) {
        BackStep(partition);
        stepLength_ += delta;
      } else {
        ApplyStep(Partitions());
        stepPartition_ = partition;
        stepLength_ = delta;
      }
    } else {
      stepPartition_ = partition;
      stepLength_ = delta;
    }
  }

 private:
  void ApplyStep(ptrdiff_t partitionUpTo) {
    if (stepLength_ != 0) body_.RangeAddDelta(stepPartition_ + 1, partitionUpTo - stepPartition_, stepLength_);
    stepPartition_ = partitionUpTo;
    if (stepPartition_ >= Partitions()) {
      stepPartition_ = Partitions();
      stepLength_ = 0;
    }
  }
  void BackStep(ptrdiff_t partitionDownTo) {
    if (stepLength_ != 0) body_.RangeAddDelta(partitionDownTo + 1, stepPartition_ - partitionDownTo, -stepLength_);
    stepPartition_ = partitionDownTo;
  }

  SplitVector<ptrdiff_t> body_;
  ptrdiff_t stepPartition_ = 0;
  ptrdiff_t stepLength_ = 0;
};

}  // namespace kelpwood::editor
