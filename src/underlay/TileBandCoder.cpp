#include "underlay/TileBandCoder.h"

#include "underlay/SubLayerFile.h"

namespace vellmar {

TTileBandCoder::TTileBandCoder(int threads) {
  if (threads <= 1) {
    callerEncoder_ = std::make_unique<TKolvexEncoder>(kSubLayerTileSize, kSubLayerTileSize, kSubLayerQuality);
    return;
  }
  for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

TTileBandCoder::~TTileBandCoder() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void TTileBandCoder::Code(TKolvexEncoder& encoder, TBand& band, int column) {
  std::vector<uint8_t>& tile = band.tiles[column];
  encoder.PackImage({band.pixels + std::ptrdiff_t{3} * kSubLayerTileSize * column, band.stride,
                     kSubLayerTileSize, kSubLayerTileSize},
                    tile);
}

std::shared_ptr<TTileBandCoder::TBand> TTileBandCoder::Submit(const uint8_t* pixels, std::ptrdiff_t stride,
                                                              int columns) {
  auto band = std::make_shared<TBand>(TBand{pixels, stride, TTiles(columns), columns, nullptr});
  if (callerEncoder_) {
    for (int c = 0; c < columns; ++c) Code(*callerEncoder_, *band, c);
    band->remaining = 0;
    return band;
  }
  {
    const std::lock_guard lock(mutex_);
    for (int c = 0; c < columns; ++c) tasks_.push_back({band, c});
  }
  wake_.notify_all();
  return band;
}

TTileBandCoder::TTiles TTileBandCoder::Take(TBand& band) {
  std::unique_lock lock(mutex_);
  done_.wait(lock, [&] { return band.remaining == 0; });
  if (band.error) std::rethrow_exception(band.error);
  return std::move(band.tiles);
}

void TTileBandCoder::Work() {
  TKolvexEncoder encoder(kSubLayerTileSize, kSubLayerTileSize, kSubLayerQuality);
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return stopping_ || !tasks_.empty(); });
    if (stopping_) return;
    const TTask task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    std::exception_ptr error;
    try {
      Code(encoder, *task.band, task.column);
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    if (error && !task.band->error) task.band->error = error;
    if (--task.band->remaining == 0) done_.notify_all();
  }
}

}  // namespace vellmar
