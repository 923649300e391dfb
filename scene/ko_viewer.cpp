#include "ko_viewer.h"

#include "ko_graphics_view.h"
#include "ko_scene_log.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGraphicsScene>
#include <QIcon>
#include <QKeySequence>
#include <QShortcut>
#include <QSize>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QTransform>

#include <cmath>

namespace {

constexpr int RepeatIntervalMs = 33;

QToolButton* MakeButton(QWidget* parent, const QString& icon_path, int icon_size)
{
    auto* button = new QToolButton(parent);
    button->setAutoRepeat(true);
    button->setAutoRepeatInterval(RepeatIntervalMs);
    button->setAutoRepeatDelay(0);
    // Without the compiled-in images the icon is null and the button empty,
    // which is all the tests need.
    button->setIcon(QIcon(icon_path));
    button->setIconSize(QSize(icon_size, icon_size));
    return button;
}

} // namespace

KoViewer::KoViewer(QWidget* parent) : QWidget(parent)
{
    resetValue = ZoomStart;

    // Placed in the layout below, which makes this viewer its parent.
    view = new KoGraphicsView(nullptr, this);
    view->setMouseTracking(true);
    view->viewport()->setMouseTracking(true);
    view->setRenderHint(QPainter::Antialiasing, false);
    view->setOptimizationFlags(QGraphicsView::DontSavePainterState);
    view->setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
    view->setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    // A picture smaller than the viewport sits in its top-left corner; the
    // mouse mapping relies on that.
    view->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const int icon_size = style()->pixelMetric(QStyle::PM_ToolBarIconSize);

    zoomInButton = MakeButton(this, QStringLiteral(":/zoomin.png"), icon_size);
    zoomOutButton = MakeButton(this, QStringLiteral(":/zoomout.png"), icon_size);

    zoomSlider = new QSlider(this);
    zoomSlider->setMinimum(ZoomMinimum);
    zoomSlider->setMaximum(ZoomMaximum);
    zoomSlider->setValue(ZoomStart);
    zoomSlider->setTickPosition(QSlider::TicksBelow);

    resetButton = MakeButton(this, QStringLiteral(":/Refresh.png"), icon_size);
    resetButton->setEnabled(false);

    auto* controls = new QVBoxLayout;
    controls->addWidget(zoomInButton);
    controls->addWidget(zoomSlider);
    controls->addWidget(zoomOutButton);
    controls->addWidget(resetButton);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addLayout(controls);
    top->addWidget(view);
    setLayout(top);

    connect(resetButton, &QToolButton::clicked, this, &KoViewer::sResetView);
    connect(zoomSlider, &QSlider::valueChanged, this, &KoViewer::sSetupMatrix);
    connect(zoomSlider, &QSlider::valueChanged, this, [this] {
        if (!fitting)
            operatorZoom = true;
    });
    view->installEventFilter(this);
    auto* fit = new QShortcut(fitKey(), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(fit, &QShortcut::activated, this, &KoViewer::sFit);
    // clicked(bool) must not reach the level argument.
    connect(zoomInButton, &QToolButton::clicked, this, [this] { sZoomIn(); });
    connect(zoomOutButton, &QToolButton::clicked, this, [this] { sZoomOut(); });
    connect(view, &KoGraphicsView::mouseMoveEv, this, &KoViewer::eMouseMoveEv);
    connect(view, &KoGraphicsView::mousePressEv, this, &KoViewer::eMousePressEv);
    connect(view, &KoGraphicsView::mouseRightPressEv, this, &KoViewer::eMouseRightPressEv);
    connect(view, &KoGraphicsView::mouseReleaseEv, this, &KoViewer::eMouseReleaseEv);

    sSetupMatrix();
}

double KoViewer::zoomScale(int value)
{
    return value * 19.75 / 500.0 + 0.25;
}

double KoViewer::currentScale() const
{
    return zoomScale(zoomSlider->value());
}

void KoViewer::sZoomIn(int level)
{
    zoomSlider->setValue(zoomSlider->value() + level);
}

void KoViewer::sZoomOut(int level)
{
    zoomSlider->setValue(zoomSlider->value() - level);
}

QKeySequence KoViewer::fitKey()
{
    return QKeySequence(Qt::CTRL + Qt::Key_0);
}

void KoViewer::setFittedZoom(int value)
{
    fitting = true;
    zoomSlider->setValue(value);
    fitting = false;
    operatorZoom = false;
}

void KoViewer::sResetView()
{
    setFittedZoom(resetValue);
    sSetupMatrix();
    // Brings the top-left corner of the picture into view.
    view->ensureVisible(QRectF(0, 0, 0, 0), 50, 50);
    resetButton->setEnabled(false);
}

void KoViewer::sSetResetButtonEnabled()
{
    resetButton->setEnabled(true);
}

void KoViewer::sSetupMatrix()
{
    applyScale();
    resetButton->setEnabled(true);
}

void KoViewer::applyScale()
{
    double scale = currentScale();
    // A picture too big for its place even at the slider's smallest zoom (a
    // 1280x720 picture in a quarter of a small window) is still fitted whole
    // rather than left to scroll bars, until the operator zooms.
    if ((fitting || !operatorZoom) && zoomSlider->value() == ZoomMinimum && fittedScale > 0 &&
        fittedScale < scale)
        scale = fittedScale;
    view->setTransform(QTransform::fromScale(scale, scale), false);
}

void KoViewer::setImageSize(const QSize& size)
{
    // Into the room inside the view's frame, without scroll bars.
    const QSize room = view->maximumViewportSize();
    const double fx = double(size.width()) / room.width();
    const double fy = double(size.height()) / room.height();
    const double f = qMax(fx, fy);
    if (QGraphicsScene* s = view->scene())
        s->setSceneRect(0, 0, size.width(), size.height());
    if (!size.isEmpty())
        imageSize = size; // a view without size yet fits it when it gets one
    // An empty picture (or a view without size) changes no zoom.
    if (!(f > 0) || !std::isfinite(f))
        return;
    const double v = std::trunc((1.0 / f - 0.25) * 500.0 / 19.75);
    // The slider would clamp anyway; bounding first keeps the conversion to
    // int defined for the tiniest pictures.
    resetValue = int(qBound(double(ZoomMinimum), v, double(ZoomMaximum)));
    // Rounded down to a thousandth: an exact fit rounds to a pixel more
    // than the view has and brings up a scroll bar.
    fittedScale = std::floor(1000.0 / f) / 1000.0;
    qCDebug(lcScene) << "fit" << size << "into" << view->size() << "zoom value" << resetValue;
    setFittedZoom(resetValue);
    applyScale(); // the slider may not have moved, the place has
}

void KoViewer::sFit()
{
    if (imageSize.isValid())
        setImageSize(imageSize);
    sResetView();
}

bool KoViewer::eventFilter(QObject* watched, QEvent* event)
{
    // A bigger or smaller window: the picture fills the view again, unless
    // the operator has chosen a zoom of their own.
    if (watched == view && event->type() == QEvent::Resize && !operatorZoom &&
        imageSize.isValid())
        setImageSize(imageSize);
    return QWidget::eventFilter(watched, event);
}

void KoViewer::setScene(QGraphicsScene* scene)
{
    if (view)
        view->setScene(scene);
}

void KoViewer::setControlsHidden(bool hidden)
{
    zoomInButton->setHidden(hidden);
    zoomSlider->setHidden(hidden);
    zoomOutButton->setHidden(hidden);
    resetButton->setHidden(hidden);
}
