#include "document/PointUsers.h"

#include <algorithm>
#include <memory>

namespace vellmar {

TPointUsers::TPointUsers(TPointUsers&& other) noexcept {
  TakeFrom(other);
}

TPointUsers& TPointUsers::operator=(TPointUsers&& other) noexcept {
  if (this != &other) {
    Release();
    TakeFrom(other);
  }
  return *this;
}

void TPointUsers::Release() {
  if (OnHeap()) delete[] heap_;
  size_ = 0;
  capacity_ = kInPlace;
  std::fill_n(inPlace_, kInPlace, nullptr);
}

void TPointUsers::TakeFrom(TPointUsers& other) noexcept {
  size_ = other.size_;
  capacity_ = other.capacity_;
  if (other.OnHeap()) {
    heap_ = other.heap_;
  } else {
    std::copy_n(other.inPlace_, kInPlace, inPlace_);
  }
  other.size_ = 0;
  other.capacity_ = kInPlace;
  std::fill_n(other.inPlace_, kInPlace, nullptr);
}

void TPointUsers::push_back(TPointList* list) {
  if (size_ == capacity_) {
    const std::uint32_t capacity = capacity_ * 2;
    auto grown = std::make_unique<TPointList*[]>(capacity);
    std::copy_n(Data(), size_, grown.get());
    if (OnHeap()) delete[] heap_;
    heap_ = grown.release();
    capacity_ = capacity;
  }
  Data()[size_++] = list;
}

void TPointUsers::Remove(const TPointList* list) {
  TPointList** data = Data();
  TPointList** last = data + size_;
  TPointList** found = std::find(data, last, list);
  if (found == last) return;
  std::move(found + 1, last, found);
  --size_;
}

}  // namespace vellmar
