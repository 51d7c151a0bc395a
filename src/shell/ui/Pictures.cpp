#include "shell/ui/Pictures.h"

#include <cmath>
#include <functional>
#include <numbers>

#include <QPainter>
#include <QPainterPath>

#include "document/KindRegistry.h"

namespace vellmar {

namespace {

const QColor kInk(32, 48, 80);
const QColor kAccent(40, 110, 200);
const QColor kPaper(250, 250, 245);
const QColor kAlert(210, 50, 40);

using TDrawing = std::function<void(QPainter&)>;

// A transparent picture of side × side logical pixels; drawings work in a 24-unit box.
QPixmap Paint(int side, qreal ratio, const TDrawing& draw) {
  QPixmap pixmap(static_cast<int>(std::ceil(side * ratio)), static_cast<int>(std::ceil(side * ratio)));
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(side / 24.0, side / 24.0);
  draw(painter);
  return pixmap;
}

QPen Pen(const QColor& colour, qreal width) { return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// An arrow from the centre towards angle (degrees, counter-clockwise from the right).
void Arrow(QPainter& p, qreal angle, qreal length, QPointF centre = {12, 12}) {
  p.save();
  p.translate(centre);
  p.rotate(-angle);
  p.setPen(Pen(kInk, 2.5));
  p.drawLine(QPointF(-length / 2, 0), QPointF(length / 2 - 3, 0));
  QPainterPath head;
  head.moveTo(length / 2 + 1, 0);
  head.lineTo(length / 2 - 6, -5);
  head.lineTo(length / 2 - 6, 5);
  head.closeSubpath();
  p.fillPath(head, kInk);
  p.restore();
}

// A three-quarter arc turning the given way, with its arrowhead.
void TurnArrow(QPainter& p, bool clockwise, QColor colour = kInk) {
  p.setPen(Pen(colour, 2.2));
  const QRectF box(5, 5, 14, 14);
  p.drawArc(box, 90 * 16, (clockwise ? -270 : 270) * 16);
  const qreal end = (90 + (clockwise ? -270 : 270)) * std::numbers::pi / 180;
  const QPointF tip(12 + 7 * std::cos(end), 12 - 7 * std::sin(end));
  const qreal s = clockwise ? -1 : 1;
  QPainterPath head;
  head.moveTo(tip + QPointF(0, -4));
  head.lineTo(tip + QPointF(s * 5, 0));
  head.lineTo(tip + QPointF(0, 4));
  head.closeSubpath();
  p.fillPath(head.translated(0, 0), colour);
}

void Magnifier(QPainter& p, const QString& sign) {
  p.setPen(Pen(kInk, 2.2));
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
  p.setPen(Pen(kInk, 3.5));
  p.drawLine(QPointF(15, 15), QPointF(21, 21));
  p.setPen(Pen(kAccent, 2));
  if (sign.contains(QLatin1Char('-')) || sign.contains(QLatin1Char('+'))) p.drawLine(QPointF(7, 10), QPointF(13, 10));
  if (sign.contains(QLatin1Char('+'))) p.drawLine(QPointF(10, 7), QPointF(10, 13));
  if (sign.contains(QLatin1Char('^'))) {
    p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
    p.drawLine(QPointF(8, 8.5), QPointF(10, 6.5));
    p.drawLine(QPointF(12, 8.5), QPointF(10, 6.5));
    p.drawLine(QPointF(8, 11.5), QPointF(10, 13.5));
    p.drawLine(QPointF(12, 11.5), QPointF(10, 13.5));
  }
}

void MoveCross(QPainter& p) {
  for (int angle = 0; angle < 360; angle += 90) Arrow(p, angle, 10, QPointF(12, 12) + QPointF(5 * std::cos(angle * std::numbers::pi / 180), -5 * std::sin(angle * std::numbers::pi / 180)));
}

void DashedFrame(QPainter& p) {
  QPen pen = Pen(kInk, 1.8);
  pen.setStyle(Qt::DashLine);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(3, 5, 18, 14));
}

void Sheet(QPainter& p, QPointF at, const QColor& fill) {
  p.setPen(Pen(kInk, 1.5));
  p.setBrush(fill);
  p.drawRect(QRectF(at, QSizeF(12, 14)));
}

// An "i" in a blue disc: what is this?
void InfoMark(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(12, 7), 1.8, 1.8);
  p.setPen(Pen(kPaper, 3));
  p.drawLine(QPointF(12, 11), QPointF(12, 17.5));
}

// A ruler lying across the picture, with its ticks.
void Ruler(QPainter& p) {
  p.save();
  p.translate(12, 12);
  p.rotate(-40);
  p.setPen(Pen(kInk, 1.5));
  p.setBrush(QColor(250, 215, 90));
  p.drawRect(QRectF(-11, -4, 22, 8));
  for (int i = -3; i <= 3; ++i) p.drawLine(QPointF(i * 3, -4), QPointF(i * 3, i % 2 == 0 ? 0.5 : -1.5));
  p.restore();
}

void DrawButton(QPainter& p, TButtonPicture picture) {
  switch (picture) {
    case TButtonPicture::ShiftDown: Arrow(p, 270, 16); break;
    case TButtonPicture::ShiftLeft: Arrow(p, 180, 16); break;
    case TButtonPicture::ShiftRight: Arrow(p, 0, 16); break;
    case TButtonPicture::ShiftUp: Arrow(p, 90, 16); break;
    case TButtonPicture::ShowAll:
      p.setPen(Pen(kInk, 1.8));
      p.drawRect(QRectF(3, 3, 18, 18));
      p.setBrush(kAccent);
      p.setPen(Qt::NoPen);
      p.drawPolygon(QPolygonF({QPointF(12, 6), QPointF(18, 12), QPointF(12, 18), QPointF(6, 12)}));
      break;
    case TButtonPicture::RotCCW: TurnArrow(p, false); break;
    case TButtonPicture::RotCW: TurnArrow(p, true); break;
    case TButtonPicture::ScaleUp: Magnifier(p, QStringLiteral("+")); break;
    case TButtonPicture::ScaleDown: Magnifier(p, QStringLiteral("-")); break;
    case TButtonPicture::ShiftView: MoveCross(p); break;
    case TButtonPicture::SelectArea:
      DashedFrame(p);
      p.setBrush(kAccent);
      p.setPen(Qt::NoPen);
      p.drawRect(QRectF(8, 9, 8, 6));
      break;
    case TButtonPicture::Zoom: Magnifier(p, QStringLiteral("^")); break;
    case TButtonPicture::Rotate:
      TurnArrow(p, true, kAccent);
      p.setBrush(kInk);
      p.setPen(Qt::NoPen);
      p.drawEllipse(QPointF(12, 12), 2, 2);
      break;
    case TButtonPicture::Identify: InfoMark(p); break;
    case TButtonPicture::Measure: Ruler(p); break;
    case TButtonPicture::AllStreets:
      Sheet(p, {3, 2}, kPaper);
      Sheet(p, {6, 5}, kPaper);
      Sheet(p, {9, 8}, QColor(196, 196, 255));
      break;
  }
}

// The marks of the other cursors: eight shapes, outlined or filled, in two colours.
void OtherCursorMark(QPainter& p, int index) {
  const int shape = index % 8;
  const bool filled = (index / 8) % 2 == 1;
  const QColor colour = index / 16 == 0 ? kInk : kAccent;
  p.setPen(Pen(colour, 2));
  p.setBrush(filled ? QBrush(colour) : QBrush(Qt::NoBrush));
  const QRectF box(6, 6, 12, 12);
  switch (shape) {
    case 0: p.drawEllipse(box); break;
    case 1: p.drawRect(box); break;
    case 2: p.drawPolygon(QPolygonF({QPointF(12, 5), QPointF(19, 18), QPointF(5, 18)})); break;
    case 3: p.drawPolygon(QPolygonF({QPointF(12, 5), QPointF(19, 12), QPointF(12, 19), QPointF(5, 12)})); break;
    case 4: p.drawLine(QPointF(12, 5), QPointF(12, 19)); p.drawLine(QPointF(5, 12), QPointF(19, 12)); break;
    case 5: p.drawLine(QPointF(6, 6), QPointF(18, 18)); p.drawLine(QPointF(18, 6), QPointF(6, 18)); break;
    case 6: p.drawLine(QPointF(5, 18), QPointF(19, 6)); break;
    default: p.drawEllipse(QPointF(12, 12), 3, 3); break;
  }
  // Lines look the same filled or not; their filled variants get a ring.
  if (filled && shape >= 4 && shape <= 6) {
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12, 12), 8, 8);
  }
}

void DrawCursorMark(QPainter& p, int number) {
  switch (number) {
    case crShiftView: MoveCross(p); break;
    case crZoom: Magnifier(p, QStringLiteral("^")); break;
    case crSelectArea: DashedFrame(p); break;
    case crRotate: TurnArrow(p, true); break;
    case crIdentify: InfoMark(p); break;
    case crMeasure: Ruler(p); break;
    default: {
      // The other numbers in order, skipping the six above.
      int index = number - kFirstCursor;
      if (number > crShiftView) --index;
      if (number > crMeasure) index -= 5;
      OtherCursorMark(p, index);
    }
  }
}

void Pointer(QPainter& p) {
  QPainterPath arrow;
  arrow.moveTo(0.5, 0.5);
  arrow.lineTo(0.5, 15);
  arrow.lineTo(4.2, 11.5);
  arrow.lineTo(7, 17.5);
  arrow.lineTo(9.5, 16.5);
  arrow.lineTo(6.8, 10.6);
  arrow.lineTo(11.5, 10.6);
  arrow.closeSubpath();
  p.setPen(QPen(Qt::white, 1.2));
  p.setBrush(Qt::black);
  p.drawPath(arrow);
}

}  // namespace

QPixmap ButtonPicture(TButtonPicture picture, qreal pixelRatio) {
  return Paint(24, pixelRatio, [&](QPainter& p) { DrawButton(p, picture); });
}

QPixmap ToolBarPicture(TToolBarPicture picture, qreal pixelRatio) {
  return Paint(32, pixelRatio, [&](QPainter& p) {
    if (picture == TToolBarPicture::Open) {
      p.setPen(Pen(kInk, 1.3));
      p.setBrush(QColor(235, 195, 90));
      p.drawPolygon(QPolygonF({QPointF(2, 6), QPointF(9, 6), QPointF(11, 8), QPointF(20, 8), QPointF(20, 19), QPointF(2, 19)}));
      p.setBrush(QColor(250, 220, 120));
      p.drawPolygon(QPolygonF({QPointF(5, 11), QPointF(23, 11), QPointF(20, 19), QPointF(2, 19)}));
      return;
    }
    if (picture == TToolBarPicture::Layers) {
      // Three sheets stacked.
      p.setPen(Pen(kInk, 1.2));
      const QColor sheets[] = {QColor(90, 170, 70), QColor(215, 190, 150), QColor(120, 120, 125)};
      for (int i = 0; i < 3; ++i) {
        const qreal y = 15 - 4.5 * i;
        p.setBrush(sheets[i]);
        p.drawPolygon(QPolygonF({QPointF(12, y - 4.5), QPointF(21, y), QPointF(12, y + 4.5), QPointF(3, y)}));
      }
      return;
    }
    if (picture == TToolBarPicture::Export) {
      // A sheet with an arrow leaving it.
      p.setPen(Pen(kInk, 1.3));
      p.setBrush(kPaper);
      p.drawRect(QRectF(3, 3, 12, 18));
      p.setPen(Pen(kAccent, 2.0));
      p.drawLine(QPointF(9, 12), QPointF(21, 12));
      p.drawLine(QPointF(17, 8), QPointF(21, 12));
      p.drawLine(QPointF(17, 16), QPointF(21, 12));
      return;
    }
    if (picture == TToolBarPicture::Quantities) {
      // A table: a heading row and ruled lines.
      p.setPen(Pen(kInk, 1.2));
      p.setBrush(kPaper);
      p.drawRect(QRectF(3, 3, 18, 18));
      p.setBrush(QColor(170, 175, 185));
      p.drawRect(QRectF(3, 3, 18, 4.5));
      for (qreal y = 11; y < 21; y += 4) p.drawLine(QPointF(3, y), QPointF(21, y));
      p.drawLine(QPointF(11, 3), QPointF(11, 21));
      return;
    }
    if (picture == TToolBarPicture::Bookmarks) {
      p.setPen(Pen(kInk, 1.3));
      p.setBrush(kAlert);
      p.drawPolygon(QPolygonF({QPointF(6, 3), QPointF(18, 3), QPointF(18, 21), QPointF(12, 16), QPointF(6, 21)}));
      return;
    }
    p.setPen(Pen(kInk, 1.3));
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 3, 10, 7));
    p.setBrush(QColor(170, 175, 185));
    p.drawRoundedRect(QRectF(3, 9, 18, 8), 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 14, 10, 7));
  });
}

QPixmap TabPicture(TTabPicture picture, qreal pixelRatio) {
  return Paint(16, pixelRatio, [&](QPainter& p) {
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawRect(QRectF(5, 2, 14, 20));
    if (picture == TTabPicture::Pristine) return;
    p.setPen(Pen(kAccent, 1.5));
    for (qreal y = 7; y < 19; y += 4) p.drawLine(QPointF(8, y), QPointF(16, y));
    if (picture == TTabPicture::Modified) {
      p.setPen(Qt::NoPen);
      p.setBrush(kAlert);
      p.drawEllipse(QPointF(17, 18), 5, 5);
    }
  });
}

QPixmap KindPicture(int kind, qreal pixelRatio) {
  // One colour a kind, near the one it has on the plan; the markings' white is outlined.
  static constexpr QRgb kColours[kKindCount] = {
      0xc8c8d2, 0x96be78, 0x78787d, 0xd7be96, 0x5aaa46, 0xb9a578, 0xbe785a, 0xc896dc, 0x3c3c3c, 0xaa6428,
      0xf0f0f0, 0xebebeb, 0xf5f5f5, 0xfad228, 0xfafafa, 0xe6e6e6, 0xe0e0e0, 0x6496dc, 0x825a3c, 0xb464c8,
      0xa050be, 0x1e1e1e, 0xdc2828, 0xe65a3c, 0x2878c8, 0xc83ca0, 0x3ca0c8, 0x5a5a6e, 0x6e6e5a, 0x28aa3c,
      0x2828c8, 0x7878c8, 0xf0aa00, 0x964628, 0xfa7878, 0xdc0000, 0x646464, 0xe63c8c, 0xe664aa, 0x148c8c,
      0x146ea0};
  const QColor colour = kind >= 0 && kind < kKindCount ? QColor(kColours[kind]) : QColor(kInk);
  const TKindBase base = TKindRegistry::IsRegistered(kind) ? TKindRegistry::Kind(kind).Base : TKindBase::Abstract;
  return Paint(16, pixelRatio, [&](QPainter& p) {
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(colour);
    switch (base) {
      case TKindBase::Polygon:
        p.drawPolygon(QPolygonF({QPointF(3, 6), QPointF(14, 2), QPointF(21, 9), QPointF(17, 21), QPointF(4, 18)}));
        break;
      case TKindBase::Line: {
        const QPolygonF line({QPointF(2, 19), QPointF(9, 8), QPointF(15, 15), QPointF(22, 4)});
        p.setBrush(Qt::NoBrush);
        p.setPen(Pen(kInk, 6));
        p.drawPolyline(line);
        p.setPen(Pen(colour, 3.5));
        p.drawPolyline(line);
        break;
      }
      case TKindBase::Point:
        p.drawEllipse(QPointF(12, 12), 8, 8);
        break;
      case TKindBase::OrientPoint:
        p.drawEllipse(QPointF(10, 14), 7, 7);
        p.drawLine(QPointF(13, 11), QPointF(22, 2));
        break;
      case TKindBase::Abstract:
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 3, 3);
        p.setBrush(kInk);
        p.drawEllipse(QPointF(12, 12), 2.5, 2.5);
        break;
    }
  });
}

QPixmap CursorPicture(int number, qreal pixelRatio) {
  return Paint(32, pixelRatio, [&](QPainter& p) {
    // Paint works in a 24-unit box; the pointer is drawn in 32-pixel units.
    p.save();
    p.scale(24.0 / 32, 24.0 / 32);
    Pointer(p);
    p.restore();
    if (number < kFirstCursor || number >= kFirstCursor + kCursorCount) return;
    p.translate(10, 10);
    p.scale(0.58, 0.58);
    DrawCursorMark(p, number);
  });
}

QCursor CustomCursor(int number, qreal pixelRatio) {
  if (number < kFirstCursor || number >= kFirstCursor + kCursorCount) return QCursor(Qt::ArrowCursor);
  return QCursor(CursorPicture(number, pixelRatio), 0, 0);
}

}  // namespace vellmar
