#include "shell/files/StreetLoadJob.h"

#include <exception>

#include "document/KindRebuild.h"
#include "document/LoadControl.h"
#include "document/StreetStructure.h"
#include "items/signs/SignLibraries.h"
#include "shell/ui/ShellText.h"

namespace vellmar {

TStreetLoadJob::TStreetLoadJob(const QString& fileName, QObject* parent)
    : TWorkerJob(parent), fileName_(fileName) {
  // Sign items take their pictures from the program-wide libraries while they load; those
  // are built on first use, which may ask the user for their folder in a dialog: that
  // happens here, on the window's thread, never on the worker's.
  ProgramSignLibraries();
  Start<ELoadCancelled>([this] { Load(); });
}

TStreetLoadJob::~TStreetLoadJob() {
  StopAndWait();
}

void TStreetLoadJob::Load() {
  const auto control = Control<TLoadControl>();
  auto street = std::make_unique<TStreetStructure>();
  street->LoadFromFile(LocalPath(fileName_), control);
  // The plain kinds are built here as well: a large street's first frame then has only
  // the others left to build, and the window does not stand still for them. An item that
  // fails to build does not fail the load: its kind still needs a rebuild, and the first
  // frame tries it again and says what went wrong.
  try {
    street->RebuildKinds(KindsRebuiltAlongside());
  } catch (const std::exception&) {
  }
  street_ = std::move(street);
}

std::unique_ptr<TStreetStructure> TStreetLoadJob::TakeStreet() {
  if (Cancelled()) return nullptr;
  return std::move(street_);
}

}  // namespace vellmar
