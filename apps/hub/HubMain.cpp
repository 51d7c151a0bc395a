// vellmar-hub: keeps viewers in step. Every view a viewer sends goes on to all the other
// programs connected; the window lists them, shows the last view, and points all viewers
// at a station of their streets' axes.
//   vellmar-hub
// It listens where the viewers look (VELLMAR_SYNC_SERVER chooses another socket).

#include <cstdio>
#include <optional>

#include <QApplication>

#include "AppStart.h"
#include "HubForm.h"
#include "HubServer.h"
#include "shell/sync/SyncServerName.h"
#include "shell/ui/Translation.h"

namespace {

constexpr vellmar::TAppStart kApp{
    "vellmar-hub",
    "usage: vellmar-hub\n"
    "Keeps street viewers in step: every view a viewer shows (panned, turned, zoomed, another\n"
    "tab) is passed on to every other viewer connected, so that all show the same place.\n"
    "Its window lists the connected viewers and the last view, and a distance typed into its\n"
    "field (metres along the street's axis) centres every viewer on that point of its\n"
    "street's axis. Viewers find the hub by themselves, also when started before it.\n"
    "It listens on the local socket TSyncHubForm in $XDG_RUNTIME_DIR, or where\n"
    "VELLMAR_SYNC_SERVER names; a second hub says that one is running and ends.\n"
    "  --help     this text\n"
    "  --version  the program's version\n"};

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<int> done = vellmar::StartWindowProgram(kApp, argc, argv)) return *done;
  QApplication application(argc, argv);
  vellmar::WindowProgramStarted();
  if (argc > 1) {
    std::fprintf(stderr, "usage: vellmar-hub\n");
    return 2;
  }
  const vellmar::TTranslation translation;
  vellmar::THubServer server;
  const QString name = vellmar::SyncServerName();
  if (const std::optional<QString> error = server.Listen(name)) {
    std::fprintf(stderr, "vellmar-hub: %s\n", qPrintable(*error));
    return 1;
  }
  vellmar::THubForm form(server, name);
  form.show();
  return QApplication::exec();
}
