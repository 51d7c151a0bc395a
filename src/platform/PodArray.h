#pragma once
// A growable array of plain records for the big stores that fill one record at a time
// (the vertices and primitive headers of a street's collections, hundreds of megabytes).
// A vector doubling such a store copies it and touches every page of the copy again;
// here a large array lives in pages of its own and grows by moving those pages
// (mremap), so growing costs neither a copy nor a second round of page faults. Small
// arrays come from the heap as usual.
//
// Records are trivially copyable and all-zero bytes are their value-initialised state:
// resize fills new records with zero bytes.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace vellmar {

template <typename T>
class TPodArray {
  static_assert(std::is_trivially_copyable_v<T>, "TPodArray holds plain records only");

 public:
  // Arrays from this many bytes on are mapped pages of their own, except under the
  // address sanitizer, which checks only heap blocks: there every array stays a heap block.
  static constexpr size_t kMappedFrom = size_t{1} << 20;
#if defined(__SANITIZE_ADDRESS__)
  static constexpr bool kMaps = false;
#elif defined(__has_feature)
  static constexpr bool kMaps = !__has_feature(address_sanitizer);
#else
  static constexpr bool kMaps = true;
#endif

  TPodArray() = default;
  ~TPodArray() { Release(); }
  TPodArray(const TPodArray&) = delete;
  TPodArray& operator=(const TPodArray&) = delete;
  TPodArray(TPodArray&& other) noexcept { Take(other); }
  TPodArray& operator=(TPodArray&& other) noexcept {
    if (this != &other) {
      Release();
      Take(other);
    }
    return *this;
  }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  size_t capacity() const { return capacity_; }
  T* data() { return data_; }
  const T* data() const { return data_; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }

  // Keeps the room already taken, as a vector does.
  void clear() { size_ = 0; }

  void resize(size_t count) {
    if (count > capacity_) Grow(count);
    if (count > size_) std::memset(static_cast<void*>(data_ + size_), 0, (count - size_) * sizeof(T));
    size_ = count;
  }

  // Gives back the memory of records first ... first + count - 1 where whole pages of
  // them can go; those records then read as zero bytes (or keep their values, in an
  // array that is a heap block). For a store whose contents have been copied elsewhere.
  // Returns the first record of the range whose page was kept, where a later call that
  // goes on with the next records should start.
  size_t DiscardRecords(size_t first, size_t count) {
    if (!mapped_ || count == 0) return first;
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto base = reinterpret_cast<uintptr_t>(data_);
    const uintptr_t begin = base + first * sizeof(T);
    const uintptr_t end = base + (first + count) * sizeof(T);
    const uintptr_t from = (begin + page - 1) / page * page;
    const uintptr_t to = end / page * page;
    if (to <= from) return first;
    madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
    return (to - base) / sizeof(T);
  }

  void push_back(const T& record) {
    if (size_ == capacity_) Grow(size_ + 1);
    data_[size_++] = record;
  }

 private:
  static size_t PageRounded(size_t bytes) {
    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
  }

  // Room for at least count records, at least twice the room held before.
  void Grow(size_t count) {
    if (count > SIZE_MAX / sizeof(T) / 2) throw std::bad_alloc();
    size_t bytes = std::max({count, capacity_ * 2, size_t{16}}) * sizeof(T);
    void* grown = nullptr;
    if (bytes < kMappedFrom || !kMaps) {
      grown = std::realloc(data_, bytes);
      if (grown == nullptr) throw std::bad_alloc();
    } else {
      bytes = PageRounded(bytes);
      if (mapped_) {
        grown = mremap(data_, MappedBytes(), bytes, MREMAP_MAYMOVE);
        if (grown == MAP_FAILED) throw std::bad_alloc();
      } else {
        grown = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (grown == MAP_FAILED) throw std::bad_alloc();
        if (size_ > 0) std::memcpy(grown, data_, size_ * sizeof(T));
        std::free(data_);
        mapped_ = true;
      }
    }
    data_ = static_cast<T*>(grown);
    capacity_ = bytes / sizeof(T);
  }

  size_t MappedBytes() const { return PageRounded(capacity_ * sizeof(T)); }

  void Release() {
    if (mapped_)
      munmap(data_, MappedBytes());
    else
      std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
    mapped_ = false;
  }

  void Take(TPodArray& other) {
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    mapped_ = std::exchange(other.mapped_, false);
  }

  T* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
  bool mapped_ = false;
};

}  // namespace vellmar
