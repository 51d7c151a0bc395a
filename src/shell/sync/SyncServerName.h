#pragma once
// Where the synchronisation hub listens: the local socket "TSyncHubForm" in the user's
// runtime directory, so that every user of a machine has a hub of their own.
// VELLMAR_SYNC_SERVER names another socket (a full path, or a name that Qt places in the
// temporary directory); tests use it so that parallel runs and a real hub never meet.

#include <QString>

namespace vellmar {

QString SyncServerName();

}  // namespace vellmar
