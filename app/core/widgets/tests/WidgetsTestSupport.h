#pragma once

#include <QPointF>
#include <QWidget>

// Mouse gestures sent straight to a widget, in its own coordinates.
void sendPress(QWidget* widget, QPointF pos);
void sendMove(QWidget* widget, QPointF pos);
void sendRelease(QWidget* widget, QPointF pos);

// Renders the widget, which runs its paintEvent even while it is hidden.
void paintNow(QWidget* widget);

// Press at y0, move to y0 + dy, release there; then lets the snap animation finish.
void dragBy(QWidget* column, int y0, int dy);
// Finishes a running snap animation of a rolling column at once.
void finishSnap(QWidget* column);
