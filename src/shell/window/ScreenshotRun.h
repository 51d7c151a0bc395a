#pragma once
// A picture of the window taken once it shows its final state, for the viewer's
// --screenshot: the files asked for have arrived or failed (a file that failed ends the run
// with code 1), the steps have run one a frame, the last frame is drawn and the window's
// layout has settled (a status label grown for a longer text), then the window is saved
// as a PNG. The run is a child of the window and polls it; it ends by calling done with
// the program's exit code.

#include <functional>
#include <vector>

#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace vellmar {

class TMainForm;

struct TScreenshotStep {
  enum TKind { kView, kAction, kClick } Kind;
  QString Action;  // an action's or view button's name
  QPointF World;   // the view's centre or the point clicked, metres
  double Width = 0.0;  // of a view, metres across
};

class TScreenshotRun final : public QObject {
  Q_OBJECT

 public:
  using TDone = std::function<void(int code)>;

  // Files: those named on the command line, which must all be open before the picture.
  TScreenshotRun(TMainForm& form, QString path, QStringList files, std::vector<TScreenshotStep> steps, TDone done);

  // Whether the window is ready for its picture at this poll: nothing to draw, nothing
  // arriving, the same frame as at the last poll, the layouts asked for done and every
  // label of the status line as wide as its text (for two seconds at most).
  bool SettledSinceLastPoll();

 private:
  void Poll();
  // Reports on stderr, and returns false, when a file named is not open.
  bool AllFilesOpen() const;
  // False when the step names no action.
  bool RunStep(const TScreenshotStep& step);

  TMainForm& form_;
  QString path_;
  QStringList files_;
  std::vector<TScreenshotStep> steps_;
  size_t next_ = 0;
  bool filesChecked_ = false;
  int lastFrame_ = -1;
  // Polls that found only a status label short of room.
  int labelWaits_ = 0;
  TDone done_;
  QTimer poll_;
};

}  // namespace vellmar
