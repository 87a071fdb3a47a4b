#pragma once

#include <QString>
#include <QWidget>

class QPainter;
class QPropertyAnimation;

// One scroll-wheel column of the date-time picker. The current value sits in the middle,
// its neighbours fade out above and below; a vertical drag moves the value one step for
// every quarter of the widget's height, and a release snaps back with a short animation.
// The six columns (year to second) differ only in the settings passed by their classes.
class RollingBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int deviation MEMBER deviation WRITE setDeviation)

  public:
    // Sets the range, keeps the value inside it and repaints.
    void setRange(int minimum, int maximum);
    // Moves the value to the present moment's field; the range is not applied.
    void setToNow();

    int rangeMinimum() const { return minimum; }
    int rangeMaximum() const { return maximum; }

    // Offset in pixels of the drawn values from their rest position; writing repaints.
    void setDeviation(int deviation);

  signals:
    void currentValueChanged(int value);
    void deviationChange(float deviation);

  protected:
    struct Column {
        int minimum;
        int maximum;
        QString fieldPattern;  // QDateTime format of the start value, e.g. "MM"
        QString suffix;        // written right after the number
        int fixedPixelSize;    // text size in pixels, 0 for a size that follows the offset
        bool emitsDeviation;   // whether a drag reports deviationChange
    };

    RollingBox(QWidget* parent, const Column& column);

    int currentValue() const { return value; }

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    int fieldNow() const;
    void paintValue(QPainter& painter, int number, int offset);
    void snapBack();

    int minimum;
    int maximum;
    int value;
    bool dragging;
    int deviation;
    int pressY;
    int fontDivisor;
    QPropertyAnimation* snapAnimation;

    QString fieldPattern;
    QString suffix;
    int fixedPixelSize;
    bool emitsDeviation;
};

class RollingBoxY : public RollingBox {
    Q_OBJECT

  public:
    explicit RollingBoxY(QWidget* parent = nullptr);

  public slots:
    int readValue() { return currentValue(); }
};

class RollingBoxM : public RollingBox {
    Q_OBJECT

  public:
    explicit RollingBoxM(QWidget* parent = nullptr);

  public slots:
    int readValue() { return currentValue(); }
};

class RollingBoxD : public RollingBox {
    Q_OBJECT

  public:
    explicit RollingBoxD(QWidget* parent = nullptr);

    int value() const { return currentValue(); }
};

class RollingBoxH : public RollingBox {
    Q_OBJECT

  public:
    explicit RollingBoxH(QWidget* parent = nullptr);

  public slots:
    int readValue() { return currentValue(); }
};

class RollingBoxMM : public RollingBox {
    Q_OBJECT

  public:
    explicit RollingBoxMM(QWidget* parent = nullptr);

  public slots:
    int readValue() { return currentValue(); }
};

class RollingBoxS : public RollingBox {
    Q_OBJECT

  public:
    explicit RollingBoxS(QWidget* parent = nullptr);

  public slots:
    int readValue() { return currentValue(); }
};
