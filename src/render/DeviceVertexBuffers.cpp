#include "render/DeviceVertexBuffers.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <mutex>
#include <string>

#include "platform/Error.h"

namespace vellmar {

namespace {

// Collections may be made and dropped on a loading thread; their buffers only where they
// are drawn. The lock keeps the registry whole either way.
std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}

std::vector<TDeviceVertexBuffers*>& Registry() {
  static std::vector<TDeviceVertexBuffers*> instances;
  return instances;
}

void Check(HRESULT result, const char* call) {
  if (result != D3D_OK) {
    throw EVellmarError(std::string("TDxPrimCollection.Draw: ") + call + " failed (" + std::to_string(result) +
                        ")");
  }
}

}  // namespace

TDeviceVertexBuffers::~TDeviceVertexBuffers() {
  if (!registered_) return;
  const std::lock_guard guard(RegistryLock());
  std::erase(Registry(), this);
}

void TDeviceVertexBuffers::Invalidate(size_t firstPrim) {
  for (TLink& link : links_) {
    if (firstPrim >= link.Written.size()) continue;
    std::fill(link.Written.begin() + static_cast<ptrdiff_t>(firstPrim), link.Written.end(), uint8_t{0});
    link.HoldsHandedOver = false;
    if (firstPrim == 0)
      link.Discard = true;
    else
      link.StaleFrom = std::min(link.StaleFrom, firstPrim);
  }
}

size_t TDeviceVertexBuffers::DeviceBytes() const {
  size_t bytes = 0;
  for (const TLink& link : links_) bytes += link.Bytes;
  return bytes;
}

void TDeviceVertexBuffers::ForgetDevice(const IGpuDevice* device) {
  std::erase_if(links_, [device](const TLink& link) { return link.Device == device; });
}

void TDeviceVertexBuffers::ForgetDeviceEverywhere(const IGpuDevice* device) {
  const std::lock_guard guard(RegistryLock());
  for (TDeviceVertexBuffers* instance : Registry()) instance->ForgetDevice(device);
}

bool TDeviceVertexBuffers::Holds(const IGpuDevice* device, size_t prims) const {
  return std::any_of(links_.begin(), links_.end(), [&](const TLink& link) {
    return link.Device == device && link.HoldsHandedOver && link.CapacityPrims >= prims;
  });
}

TDeviceVertexBuffers::TLink& TDeviceVertexBuffers::LinkFor(IGpuDevice& device, size_t prims,
                                                         size_t verticesPerPrim, bool spare) {
  auto it = std::find_if(links_.begin(), links_.end(), [&](const TLink& link) { return link.Device == &device; });
  if (it != links_.end() && it->CapacityPrims >= prims) {
    it->Written.resize(prims);
    return *it;
  }
  // A first buffer holds just the primitives there are: a street seldom grows much
  // after it has been opened. One that grew gets a quarter more room, so that items
  // edited one by one do not make a new buffer for every primitive they add.
  size_t capacity = it == links_.end() ? prims : prims + prims / 4;
  if (it == links_.end() && spare) capacity += prims / 16 + 64;
  capacity = std::max<size_t>(capacity, 1);
  const size_t bytes = capacity * verticesPerPrim * sizeof(TDxVertex);
  if (bytes > std::numeric_limits<uint32_t>::max()) {
    throw EVellmarError("TDxPrimCollection.Draw: " + std::to_string(prims) +
                        " primitives are more than one vertex buffer holds");
  }
  std::unique_ptr<IGpuVertexBuffer> buffer;
  Check(device.CreateVertexBuffer(static_cast<uint32_t>(bytes), D3DUSAGE_WRITEONLY, DxVertexFVF, D3DPOOL_DEFAULT,
                                  buffer),
        "CreateVertexBuffer");
  if (!registered_) {
    const std::lock_guard guard(RegistryLock());
    Registry().push_back(this);
    registered_ = true;
  }
  if (it == links_.end()) it = links_.insert(links_.end(), TLink{&device, nullptr, 0, 0, {}, true});
  it->Buffer = std::move(buffer);
  it->CapacityPrims = capacity;
  it->Bytes = bytes;
  it->Written.assign(prims, 0);
  it->Discard = true;
  it->StaleFrom = SIZE_MAX;
  it->HoldsHandedOver = false;
  return *it;
}

void TDeviceVertexBuffers::Write(TLink& link, std::span<const TDxVertex> arena, size_t verticesPerPrim,
                                 size_t first, size_t count) {
  const size_t vertexBytes = verticesPerPrim * sizeof(TDxVertex);
  // Bytes not yet written are in no draw, so only the first write after the contents
  // went stale has to tell the device that the old ones may go, and only places that
  // held other primitives make it wait.
  uint32_t flags = D3DLOCK_NOOVERWRITE;
  if (link.Discard)
    flags = D3DLOCK_DISCARD;
  else if (first + count > link.StaleFrom)
    flags = 0;
  void* data = nullptr;
  Check(link.Buffer->Lock(static_cast<uint32_t>(first * vertexBytes), static_cast<uint32_t>(count * vertexBytes),
                          &data, flags),
        "Lock");
  std::memcpy(data, &arena[first * verticesPerPrim], count * vertexBytes);
  Check(link.Buffer->Unlock(), "Unlock");
  if (link.Discard) link.StaleFrom = SIZE_MAX;
  link.Discard = false;
  std::fill_n(link.Written.begin() + static_cast<ptrdiff_t>(first), count, uint8_t{1});
}

void TDeviceVertexBuffers::HandOver(IGpuDevice& device, TPodArray<TDxVertex>& arena, size_t verticesPerPrim,
                                    size_t firstPrim) {
  const size_t prims = arena.size() / verticesPerPrim;
  if (firstPrim > 0 && !Holds(&device, prims)) {
    throw EVellmarError("TDxPrimCollection.Draw: the device lacks vertices handed over before");
  }
  TLink& link = LinkFor(device, prims, verticesPerPrim, /*spare=*/true);
  // Written a slice at a time, each slice's memory given back before the next is written.
  constexpr size_t kSlicePrims = size_t{1} << 15;
  size_t discardFrom = firstPrim * verticesPerPrim;
  for (size_t first = firstPrim; first < prims; first += kSlicePrims) {
    const size_t end = std::min(prims, first + kSlicePrims);
    size_t i = first;
    while (i < end) {
      if (link.Written[i]) {
        ++i;
        continue;
      }
      size_t j = i + 1;
      while (j < end && !link.Written[j]) ++j;
      Write(link, arena, verticesPerPrim, i, j - i);
      i = j;
    }
    discardFrom = arena.DiscardRecords(discardFrom, end * verticesPerPrim - discardFrom);
  }
  link.HoldsHandedOver = true;
}

IGpuVertexBuffer& TDeviceVertexBuffers::Prepare(IGpuDevice& device, std::span<const TDxVertex> arena,
                                                size_t verticesPerPrim, std::span<const TDxPrimRun> runs) {
  TLink& link = LinkFor(device, arena.size() / verticesPerPrim, verticesPerPrim);
  for (const TDxPrimRun& run : runs) {
    size_t i = run.First;
    const size_t end = size_t{run.First} + run.Count;
    while (i < end) {
      if (link.Written[i]) {
        ++i;
        continue;
      }
      size_t j = i + 1;
      while (j < end && !link.Written[j]) ++j;
      Write(link, arena, verticesPerPrim, i, j - i);
      i = j;
    }
  }
  return *link.Buffer;
}

}  // namespace vellmar
