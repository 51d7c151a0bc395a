#pragma once
// The shell's pictures, drawn here in code at the screen's device pixel ratio so they
// stay sharp on HiDPI screens: the 24 × 24 view buttons, the 32 × 32 toolbar buttons,
// the 16 × 16 tab marks, the 16 × 16 marks of the 41 item kinds and the 35 custom
// cursors. Numbers are fixed: the button pictures by their image index, cursors 10..44
// (image index + 10).

#include <QCursor>
#include <QPixmap>

namespace vellmar {

// Image indices of the view buttons that have pictures.
enum class TButtonPicture {
  ShiftDown = 0,
  ShiftLeft = 1,
  ShiftRight = 2,
  ShiftUp = 3,
  ShowAll = 4,
  RotCCW = 5,
  RotCW = 6,
  ScaleUp = 7,
  ScaleDown = 8,
  ShiftView = 9,
  SelectArea = 10,
  Zoom = 11,
  Rotate = 12,
  Identify = 13,
  Measure = 14,
  AllStreets = 95,
};
// The layers panel and the view bookmarks come after the original eight pictures.
enum class TToolBarPicture { Open = 1, Print = 4, Layers = 8, Bookmarks = 9, Export = 10, Quantities = 11 };
// Tab marks: an untouched new street, a saved one, one with unsaved changes.
enum class TTabPicture { Pristine = 0, Saved = 1, Modified = 2 };

QPixmap ButtonPicture(TButtonPicture picture, qreal pixelRatio);
QPixmap ToolBarPicture(TToolBarPicture picture, qreal pixelRatio);
QPixmap TabPicture(TTabPicture picture, qreal pixelRatio);
// The kind 0..40 as the layers list shows it: its shape (area, line, point, oriented
// point, or the square of a kind of its own) in a colour of its own.
QPixmap KindPicture(int kind, qreal pixelRatio);

// The cursors of the mouse modes.
enum TCursorNumber { crShiftView = 10, crZoom = 31, crSelectArea = 32, crRotate = 33, crIdentify = 34, crMeasure = 35 };
constexpr int kFirstCursor = 10;
constexpr int kCursorCount = 35;
// The picture of cursor 10..44: the pointer, its tip the hot spot at (0, 0), with the
// cursor's own mark below right. Outside 10..44: the arrow cursor.
QPixmap CursorPicture(int number, qreal pixelRatio);
QCursor CustomCursor(int number, qreal pixelRatio);

}  // namespace vellmar
