#pragma once
// The vertices of one primitive collection as the devices hold them: one vertex buffer
// per device that has drawn the collection, made on its first draw there and laid out
// as the collection's vertex arena (each primitive at the same place), but written only
// with the primitives that have been drawn. So a frame that draws what the last one drew
// writes nothing, and a frame after a pan writes only the primitives that came into view.
// Owns its buffers, never a device. An instance holding a buffer is entered in a
// process-wide registry, so that a renderer that dies can make every instance drop its
// buffer on that device (ForgetDeviceEverywhere), as texture surfaces do.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/PodArray.h"
#include "platform/gpu/DxVertex.h"
#include "platform/gpu/GpuDevice.h"

namespace vellmar {

// Primitives First ... First + Count - 1 of a collection.
struct TDxPrimRun {
  uint32_t First = 0;
  uint32_t Count = 0;
};

class TDeviceVertexBuffers {
 public:
  TDeviceVertexBuffers() = default;
  ~TDeviceVertexBuffers();
  TDeviceVertexBuffers(const TDeviceVertexBuffers&) = delete;
  TDeviceVertexBuffers& operator=(const TDeviceVertexBuffers&) = delete;

  // Primitives from firstPrim on were moved or dropped: what the buffers hold for them
  // is stale; the ones before stay where they are.
  void Invalidate(size_t firstPrim = 0);
  // The buffer on the device, holding at least the runs' primitives of the arena
  // (verticesPerPrim vertices each); the ones it lacks are written first. A failing
  // device call raises EVellmarError.
  IGpuVertexBuffer& Prepare(IGpuDevice& device, std::span<const TDxVertex> arena, size_t verticesPerPrim,
                            std::span<const TDxPrimRun> runs);
  // Hands every primitive of the arena from firstPrim on to the device's buffer, writing
  // those it lacks, and gives back the arena's memory behind them as it goes, so that the
  // vertices are never held twice in full. A first buffer gets room for a sixteenth more
  // primitives, for items edited later. The primitives before firstPrim must have been
  // handed to this device before (Holds); a failing device call raises EVellmarError.
  void HandOver(IGpuDevice& device, TPodArray<TDxVertex>& arena, size_t verticesPerPrim, size_t firstPrim);
  // Whether the device's buffer holds every primitive handed over to it and has room
  // for prims primitives.
  bool Holds(const IGpuDevice* device, size_t prims) const;
  // Drops the buffer made on the device (its renderer is going away).
  void ForgetDevice(const IGpuDevice* device);
  static void ForgetDeviceEverywhere(const IGpuDevice* device);
  // Devices that hold a buffer of these vertices.
  size_t LinkCount() const { return links_.size(); }
  // The bytes of the buffers made on every device.
  size_t DeviceBytes() const;

 private:
  struct TLink {
    const IGpuDevice* Device = nullptr;
    std::unique_ptr<IGpuVertexBuffer> Buffer;
    size_t CapacityPrims = 0;
    size_t Bytes = 0;  // the buffer's length
    std::vector<uint8_t> Written;  // per primitive: its vertices are in the buffer
    bool Discard = true;           // the next write may drop the old contents
    // Primitives from here on may be in a pending draw with their old contents: a write
    // there must let the device wait for it.
    size_t StaleFrom = SIZE_MAX;
    // The buffer holds every primitive handed over (HandOver), which the collection no
    // longer keeps itself.
    bool HoldsHandedOver = false;
  };

  // spare: a first buffer gets room for more primitives than there are.
  TLink& LinkFor(IGpuDevice& device, size_t prims, size_t verticesPerPrim, bool spare = false);
  // Writes primitives first ... first + count - 1 into the link's buffer.
  static void Write(TLink& link, std::span<const TDxVertex> arena, size_t verticesPerPrim, size_t first,
                    size_t count);

  std::vector<TLink> links_;
  bool registered_ = false;
};

}  // namespace vellmar
