#pragma once
// The streets open when the window closed, with their views and the current tab, kept in
// the settings (section "Session") so that the next start opens them again. "Restore=0"
// in that section turns the reopening off. Streets that were never saved to a file are
// not kept.

#include <vector>

#include <QString>

#include "document/ViewState.h"

namespace vellmar {

class TStreetsHolderModule;

struct TSessionStreet {
  QString FileName;
  TViewState View;
};

struct TSession {
  std::vector<TSessionStreet> Streets;
  // Into Streets; -1 when no kept street was current.
  int Current = -1;
};

TSession SessionOf(TStreetsHolderModule& streets);
void WriteSession(const TSession& session);
// Entries whose view cannot be read keep the view stored in their file (scale 0).
TSession ReadSession();
bool SessionRestoreEnabled();

}  // namespace vellmar
