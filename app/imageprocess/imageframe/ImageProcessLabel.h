#pragma once

#include <QLabel>
#include <QRect>

// The picture of the image frame. In crop or text mode the user drags a
// rectangle on it with the left button; with Ctrl held the wheel asks for
// zoom. The label reports; the image frame acts.
class ImageProcessLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ImageProcessLabel(QWidget* parent = nullptr);

    bool isCutStatus() const { return cutStatus; }
    bool isLabelStatus() const { return labelStatus; }

  signals:
    // A rectangle is complete: corners inclusive, as dragged (not reordered).
    void cutSelected(QRect rect);
    void labelSelected(QRect rect);
    void zoomIn();
    void zoomOut();

  public slots:
    // Neither repaints; the image frame repaints where the mode's look changes.
    void setCutStatus(bool b);
    void setLabelStatus(bool b);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QRect selectRect() const;
    void startRect(const QPoint& at);

    bool isPressed = false;
    int mouseX = 0;
    int mouseY = 0;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    bool cutStatus = false;
    bool labelStatus = false;
    bool ctrlPressed = false;
};
