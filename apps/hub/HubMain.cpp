// vellmar-hub: keeps viewers in step. Every view a viewer sends goes on to all the other
// programs connected; the window lists them, shows the last view, and points all viewers
// at a station of their streets' axes.
//   vellmar-hub
// It listens where the viewers look (VELLMAR_SYNC_SERVER chooses another socket).

#include <cstdio>

#include <QApplication>

#include "HubForm.h"
#include "HubServer.h"
#include "shell/sync/SyncServerName.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc > 1) {
    std::fprintf(stderr, "usage: vellmar-hub\n");
    return 2;
  }
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
