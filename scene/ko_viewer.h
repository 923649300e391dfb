#pragma once

#include <QSize>
#include <QWidget>

class QGraphicsScene;
class QKeySequence;
class QSlider;
class QToolButton;
class KoGraphicsView;

// The zoomable viewer of one camera picture: a KoGraphicsView beside a
// column of zoom controls. Mouse positions come out as whole scene pixels
// through the four e*Ev signals; the host decides what they edit.
class KoViewer : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ZoomMinimum = 0;
    static constexpr int ZoomMaximum = 500;
    static constexpr int ZoomStart = 18;

    explicit KoViewer(QWidget* parent = nullptr);

    // Scale factor of a slider value: 0 -> 0.25, 500 -> 20.0.
    static double zoomScale(int value);
    // Scale factor of the slider's current value; drawing and the mouse
    // mapping both use it.
    double currentScale() const;

    // Fits a picture of this size into the view and makes the fitted zoom
    // the one the reset button returns to. The scene rectangle becomes
    // (0, 0, width, height).
    void setImageSize(const QSize& size);
    void setScene(QGraphicsScene* scene);
    void setControlsHidden(bool hidden);

    // The operator changed the zoom since the picture was last fitted; until
    // then the picture is fitted again whenever the view changes size.
    bool zoomedByOperator() const { return operatorZoom; }
    // The key that fits the picture again while the viewer has the focus.
    static QKeySequence fitKey();

    // Widgets, owned through the widget tree.
    QSlider* zoomSlider = nullptr;
    QToolButton* zoomInButton = nullptr;
    QToolButton* zoomOutButton = nullptr;
    KoGraphicsView* view = nullptr;
    QToolButton* resetButton = nullptr;
    // Slider value restored by sResetView.
    int resetValue = ZoomStart;

signals:
    void eMouseMoveEv(const int x, const int y);
    void eMousePressEv(const int x, const int y);
    void eMouseRightPressEv(const int x, const int y);
    void eMouseReleaseEv(const int x, const int y);

public slots:
    void sZoomIn(int level = 1);
    void sZoomOut(int level = 1);
    void sResetView();
    void sSetResetButtonEnabled();
    void sSetupMatrix();
    // Fits the last picture into the view as it is now and scrolls to its
    // top-left corner (a button, fitKey).
    void sFit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyScale();
    void setFittedZoom(int value);

    QSize imageSize; // of the last fitted picture
    bool operatorZoom = false;
    bool fitting = false;
    double fittedScale = 0; // the scale that shows the whole picture, 0 before one came
};
