#include "shell/StreetLoadJob.h"

#include <exception>

#include <QThread>

#include "document/KindRebuild.h"
#include "document/LoadControl.h"
#include "document/StreetStructure.h"
#include "items/signs/SignLibraries.h"
#include "shell/ShellText.h"

namespace vellmar {

TStreetLoadJob::TStreetLoadJob(const QString& fileName, QObject* parent)
    : QObject(parent), fileName_(fileName), thread_(QThread::create([this] { Load(); })) {
  // Sign items take their pictures from the program-wide libraries while they load; those
  // are built on first use, which may ask the user for their folder in a dialog: that
  // happens here, on the window's thread, never on the worker's.
  ProgramSignLibraries();
  // Emitted by the ending thread; delivered here, on the job's own thread.
  connect(thread_.get(), &QThread::finished, this, &TStreetLoadJob::Finished);
  thread_->start(QThread::LowPriority);
}

TStreetLoadJob::~TStreetLoadJob() {
  stop_ = true;
  thread_->wait();
}

void TStreetLoadJob::Load() {
  TLoadControl control;
  control.Stop = &stop_;
  control.Progress = [this](std::int64_t read, std::int64_t total) {
    total_.store(total, std::memory_order_relaxed);
    read_.store(read, std::memory_order_relaxed);
  };
  try {
    auto street = std::make_unique<TStreetStructure>();
    street->LoadFromFile(LocalPath(fileName_), control);
    // The plain kinds are built here as well: a large street's first frame then has only
    // the others left to build, and the window does not stand still for them.
    street->RebuildKinds(KindsRebuiltAlongside());
    street_ = std::move(street);
  } catch (const ELoadCancelled&) {
    cancelled_ = true;
  } catch (const std::exception& error) {
    error_ = ErrorText(error);
  }
}

std::unique_ptr<TStreetStructure> TStreetLoadJob::TakeStreet() {
  if (Cancelled()) return nullptr;
  return std::move(street_);
}

}  // namespace vellmar
