#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

class QWidget;

// Mouse input through the window system, as the platform delivers it: to the widget under the
// point, or to the widget holding the implicit grab while a button is down. Points are in
// pWidget's coordinates.
void PressAt(QWidget *pWidget, QPoint pt);
void MoveTo(QWidget *pWidget, QPoint pt);
void ReleaseAt(QWidget *pWidget, QPoint pt);
void DoubleClickAt(QWidget *pWidget, QPoint pt);
// Press at ptFrom, move through ptVia to ptTo, release there.
void DragFromTo(QWidget *pWidget, QPoint ptFrom, QPoint ptVia, QPoint ptTo);

// Saves the image, three times enlarged, as NAME.png in the folder named by PELLIX_SHOT_DIR,
// when it is set, so a developer can look at what a test drew.
void SaveShot(const QImage &image, const char *pszName);

// The pixels of `area` whose colour is rgb1 or rgb2, as their bounding box (empty when none).
QRect FindColour(const QImage &image, const QRect &area, QRgb rgb1, QRgb rgb2);
// The width of the run from the first to the last pixel of row y within [left, right] whose
// colour is rgb1 or rgb2 (0 when none).
int SpanInRow(const QImage &image, int y, int left, int right, QRgb rgb1, QRgb rgb2);
// The bounding box of the dark pixels (text) in `area` (empty when none).
QRect FindInk(const QImage &image, const QRect &area);
