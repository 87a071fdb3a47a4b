// The histogram box of the western-blot capture panels: the chart of a
// captured picture's histogram, the two range sliders, the two number
// fields and the marker lines over the chart. It keeps them in step; the
// panel sends the range it returns on to the picture.
#pragma once

#include <QPair>
#include <QVector>

class LineLabel;
class QLineEdit;
class QSlider;
class SQ_ChartFrame;

class BlotHistogramRange {
  public:
    struct Widgets {
        SQ_ChartFrame* chart;
        QSlider* sliderLeft;
        QSlider* sliderRight;
        QLineEdit* lineEditMin;
        QLineEdit* lineEditMax;
        LineLabel* lines;
    };
    using Range = QPair<int, int>;

    static constexpr int kTopLevel = 65535;

    // Sets the sliders' range 0..65535 and the fields' validator.
    explicit BlotHistogramRange(const Widgets& widgets);

    // The lowest and the highest filled bin; (65535, 0) when none is filled.
    static Range autoRange(const QVector<double>& histogram);
    // Marker positions of `minimum` and `maximum` on a strip `width` pixels
    // wide: trunc(v / 65535 x width), the left one at least 2, a right one
    // at or beyond width - 1 moved to width - 2.
    static Range markerPositions(int minimum, int maximum, int width);

    // Draws the histogram, keeps its automatic range and puts the sliders
    // (silently), the fields and the markers on it; returns the ordered
    // range the picture is to be stretched to. A new picture is stretched
    // even when its range equals the last one.
    Range showHistogram(const QVector<double>& histogram);
    // A slider moved to `moved` while the other stands at `other`: the
    // ordered pair, shown in the fields and by the markers.
    Range sliderMoved(int moved, int other);
    // The fields after editing: a number above 65535 becomes "65535", a
    // crossed pair takes the other field's text; then the sliders follow
    // the numbers read (their handlers stretch the picture).
    void minimumEdited();
    void maximumEdited();
    // Back to the automatic range: sliders (silently), fields and markers;
    // returns it ordered, for the stretch.
    Range automaticRange();

  private:
    // The fields show `range`, the markers follow.
    void showRange(const Range& range);
    // The markers at the numbers of the fields, in order.
    void placeMarkers();
    void moveSliders(int minimum, int maximum);

    Widgets ui;
    Range m_autoRange{kTopLevel, 0};
};
