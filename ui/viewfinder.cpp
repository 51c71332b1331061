#include "viewfinder.h"

#include "overlaypainter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace {

// How near the crosshair a press must be to take hold of it, in widget pixels.
constexpr double grabDistance = 10;
// One wheel notch zooms by this factor.
constexpr double wheelStep = 1.25;

} // namespace

ViewFinder::ViewFinder(const QString &message, QWidget *parent)
    : QWidget(parent)
    , currentMessage(message)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont messageFont = font();
    messageFont.setPixelSize(18);
    setFont(messageFont);
}

void ViewFinder::setBackground(const QColor &colour)
{
    background = colour;
    update();
}

void ViewFinder::setScaling(Scaling mode)
{
    scaling = mode;
    update();
}

void ViewFinder::setFrame(const QImage &frame, const Orientation &orientation)
{
    currentFrame = frame;
    currentOrientation = orientation;
    currentMessage.clear();
    update();
}

void ViewFinder::showMessage(const QString &text)
{
    currentFrame = QImage();
    peaking.clear();
    currentMessage = text;
    setAccessibleDescription(text);
    update();
}

void ViewFinder::setPictureSize(QSize size)
{
    pictureSize = size;
    update();
}

void ViewFinder::setOverlays(const OverlaySettings &overlays)
{
    marks = overlays;
    update();
}

void ViewFinder::setPeaking(const QList<QPoint> &edges)
{
    peaking = edges;
    update();
}

void ViewFinder::setMeasuredRegion(const QRectF &region)
{
    if (region == measuredRegion)
        return;
    measuredRegion = region;
    update();
}

void ViewFinder::pickRulerPoints()
{
    rulerClicksLeft = 2;
    setCursor(Qt::CrossCursor);
}

Qt::TransformationMode ViewFinder::transformationMode() const
{
    if (scaling == Scaling::AlwaysSmooth || (width() <= 1280 && height() <= 720))
        return Qt::SmoothTransformation;
    return Qt::FastTransformation;
}

QSize ViewFinder::shownPictureSize() const
{
    const QSize full = pictureSize.isEmpty() ? currentFrame.size() : pictureSize;
    return currentFrame.isNull() ? QSize() : currentOrientation.apply(full);
}

void ViewFinder::refreshZoomSizes()
{
    zoomState.setSizes(QSizeF(size()), QSizeF(shownPictureSize()));
}

void ViewFinder::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), background);
    if (currentFrame.isNull()) {
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, currentMessage);
        return;
    }
    refreshZoomSizes();
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          transformationMode() == Qt::SmoothTransformation);
    painter.setTransform(frameToView());
    painter.drawImage(QRectF(QPointF(), QSizeF(currentFrame.size())), currentFrame);
    if (!peaking.isEmpty()) {
        // Single screen pixels (a cosmetic pen): far cheaper than blending a mask over the view
        // or filling a square per frame pixel.
        painter.setPen(QPen(QColor(255, 40, 200), 0));
        painter.drawPoints(peaking.constData(), int(peaking.size()));
    }
    painter.resetTransform();
    OverlayPainter::paint(painter, marks, QSizeF(shownPictureSize()), zoomState.toView());
    if (!measuredRegion.isEmpty()) {
        painter.setPen(QPen(QColor(255, 255, 0), 1, Qt::DashLine));
        painter.drawRect(zoomState.toView().mapRect(measuredRegion));
    }
}

QTransform ViewFinder::frameToView() const
{
    const QRectF target = zoomState.pictureRect();
    // Mirrored first, then rotated about the middle, as Orientation::apply turns a frame.
    const QSizeF drawn =
        currentOrientation.angle % 180 ? target.size().transposed() : target.size();
    return QTransform::fromScale(drawn.width() / currentFrame.width(),
                                 drawn.height() / currentFrame.height()) *
           QTransform::fromTranslate(-drawn.width() / 2, -drawn.height() / 2) *
           QTransform::fromScale(currentOrientation.mirrored ? -1.0 : 1.0, 1.0) *
           QTransform().rotate(currentOrientation.angle) *
           QTransform::fromTranslate(target.center().x(), target.center().y());
}

void ViewFinder::zoomAbout(QPointF viewPoint, double factor)
{
    refreshZoomSizes();
    zoomState.zoomAbout(viewPoint, factor);
    update();
    emit sizeChanged();
}

void ViewFinder::zoomOneToOne()
{
    refreshZoomSizes();
    zoomState.oneToOne(devicePixelRatioF());
    update();
    emit sizeChanged();
}

void ViewFinder::zoomToFit()
{
    zoomState.fit();
    update();
    emit sizeChanged();
}

QPointF ViewFinder::pixelAt(QPointF viewPoint) const
{
    const QSize shown = shownPictureSize();
    const QPointF point = zoomState.toPicture(viewPoint);
    return QPointF(std::clamp(std::floor(point.x()), 0.0, qMax(0, shown.width() - 1) * 1.0),
                   std::clamp(std::floor(point.y()), 0.0, qMax(0, shown.height() - 1) * 1.0));
}

void ViewFinder::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (currentFrame.isNull() || notches == 0) {
        QWidget::wheelEvent(event);
        return;
    }
    zoomAbout(event->position(), zoomState.zoom() * std::pow(wheelStep, notches));
}

void ViewFinder::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || currentFrame.isNull()) {
        QWidget::mousePressEvent(event);
        return;
    }
    refreshZoomSizes();
    const QPointF pixel = pixelAt(event->position());
    if (rulerClicksLeft > 0) {
        if (--rulerClicksLeft == 1) {
            rulerStart = pixel;
        } else {
            unsetCursor();
            emit rulerPicked(rulerStart, pixel);
        }
        return;
    }
    const QPointF cross = zoomState.toView().map(
        OverlayPainter::crosshairPoint(marks, QSizeF(shownPictureSize())) + QPointF(0.5, 0.5));
    if (marks.crosshair && QLineF(cross, event->position()).length() <= grabDistance)
        drag = Drag::Crosshair;
    else
        drag = zoomState.zoom() > 1 ? Drag::Pan : Drag::None;
    dragFrom = event->position();
}

void ViewFinder::mouseMoveEvent(QMouseEvent *event)
{
    if (drag == Drag::Pan) {
        zoomState.pan(event->position() - dragFrom);
        dragFrom = event->position();
        update();
    } else if (drag == Drag::Crosshair) {
        marks.crosshairAt = pixelAt(event->position());
        update();
        emit crosshairMoved(marks.crosshairAt);
    }
}

void ViewFinder::mouseReleaseEvent(QMouseEvent *event)
{
    drag = Drag::None;
    QWidget::mouseReleaseEvent(event);
}

void ViewFinder::mouseDoubleClickEvent(QMouseEvent *event)
{
    QWidget::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

QSize ViewFinder::devicePixelSize() const
{
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

QSize ViewFinder::neededPictureSize() const
{
    return (QSizeF(size()) * devicePixelRatioF() * zoomState.zoom()).toSize();
}

void ViewFinder::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit sizeChanged();
}
