#pragma once

#include <QLabel>

// Transparent overlay that draws two vertical range markers (red left, blue right)
// over a histogram chart. Its own text or picture is never painted.
class LineLabel : public QLabel {
  public:
    explicit LineLabel(QWidget* parent = nullptr);

    // Stores the marker positions in pixels of the label; the next repaint shows them.
    void setLinePos(int left, int right);
    // Switches the markers on or off and schedules a repaint.
    void setShowLine(bool show);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int leftPos;
    int rightPos;
    bool showLine;
};
