#pragma once
// The point lists that use one shared point, once per use, in the order they took it up.
// Nearly every point of a street has one or two users (an item's vertex, or a vertex two
// neighbouring areas share), so those are held in place and only a third user moves the
// list to the heap: a table of a million points then costs no allocation per point.

#include <cstddef>
#include <cstdint>

namespace vellmar {

class TPointList;

class TPointUsers {
 public:
  static constexpr std::uint32_t kInPlace = 2;

  TPointUsers() = default;
  ~TPointUsers() {
    if (OnHeap()) delete[] heap_;
  }
  TPointUsers(const TPointUsers&) = delete;
  TPointUsers& operator=(const TPointUsers&) = delete;
  TPointUsers(TPointUsers&& other) noexcept;
  TPointUsers& operator=(TPointUsers&& other) noexcept;

  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }
  TPointList* const* begin() const { return Data(); }
  TPointList* const* end() const { return Data() + size_; }
  TPointList* operator[](std::size_t i) const { return Data()[i]; }

  void push_back(TPointList* list);
  // Removes the first use by the list, if any; the others keep their order.
  void Remove(const TPointList* list);

 private:
  bool OnHeap() const { return capacity_ > kInPlace; }
  TPointList* const* Data() const { return OnHeap() ? heap_ : inPlace_; }
  TPointList** Data() { return OnHeap() ? heap_ : inPlace_; }
  void Release();
  void TakeFrom(TPointUsers& other) noexcept;

  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = kInPlace;
  union {
    TPointList* inPlace_[kInPlace] = {};
    TPointList** heap_;
  };
};

}  // namespace vellmar
