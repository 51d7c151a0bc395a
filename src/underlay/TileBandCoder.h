#pragma once
// Codes bands of tiles (one tile row of a level, 256 pixel rows) on worker threads,
// a tile at a time, so every core codes while the caller reads and resamples the
// next band. Each worker owns its encoder; a tile's bytes depend only on its pixels,
// so the result is the same with any number of threads. With one thread the caller
// codes each band as it is submitted. The coder never owns the band's pixels: the
// caller keeps them unchanged until Take has returned that band's tiles.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "underlay/KolvexEncoder.h"

namespace vellmar {

class TTileBandCoder {
 public:
  using TTiles = std::vector<std::vector<uint8_t>>;
  struct TBand;

  // threads ≤ 1 codes on the caller's thread.
  explicit TTileBandCoder(int threads);
  // Stops the workers after the tiles they are coding; tiles not begun are dropped.
  ~TTileBandCoder();
  TTileBandCoder(const TTileBandCoder&) = delete;
  TTileBandCoder& operator=(const TTileBandCoder&) = delete;

  // Starts coding the band's `columns` tiles; tile c's pixels start at pixels + 768·c,
  // rows `stride` bytes apart.
  std::shared_ptr<TBand> Submit(const uint8_t* pixels, std::ptrdiff_t stride, int columns);
  // Waits for the band and hands over its tiles' bytes in column order; a tile that
  // failed to code raises here.
  TTiles Take(TBand& band);

 private:
  struct TTask {
    std::shared_ptr<TBand> band;
    int column;
  };
  void Work();
  static void Code(TKolvexEncoder& encoder, TBand& band, int column);

  std::mutex mutex_;
  std::condition_variable wake_;  // workers: a task or the stop
  std::condition_variable done_;  // Take: a band finished
  std::deque<TTask> tasks_;
  bool stopping_ = false;
  std::unique_ptr<TKolvexEncoder> callerEncoder_;
  std::vector<std::thread> workers_;
};

struct TTileBandCoder::TBand {
  const uint8_t* pixels;
  std::ptrdiff_t stride;
  TTiles tiles;
  int remaining;
  std::exception_ptr error;
};

}  // namespace vellmar
