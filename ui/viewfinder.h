#pragma once

#include "orientation.h"
#include "overlaysettings.h"
#include "zoomgeometry.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QTransform>
#include <QWidget>

// Paints the newest picture itself, scaled into the widget keeping its aspect ratio, on a plain
// background; without a picture it shows a message instead. Painting straight from the image
// saves the per-frame conversion to a pixmap. Over the picture it draws the bench marks
// (crosshair, grid, ruler) and focus peaking; the wheel zooms 1x-8x about the cursor and a drag
// pans, moves the crosshair or, when asked, picks the ruler's two points. GUI thread only.
class ViewFinder : public QWidget
{
    Q_OBJECT

public:
    enum class Scaling {
        // Smooth while the view is at most 1280 x 720, fast beyond that, where the difference
        // is hard to see and smooth scaling costs most.
        BySize,
        AlwaysSmooth,
    };

    explicit ViewFinder(const QString &message, QWidget *parent = nullptr);

    void setBackground(const QColor &colour);
    void setScaling(Scaling scaling);

    // The camera's picture and how it is to be shown. The mirroring and rotation happen as it
    // is painted, at no extra cost, rather than in a copy of every frame.
    void setFrame(const QImage &frame, const Orientation &orientation = {});
    // Forgets the picture and shows the text instead.
    void showMessage(const QString &text);
    // The camera's frame size, unturned, when frames come decoded smaller: marks and zoom are in
    // its pixels. Empty: the frames' own size.
    void setPictureSize(QSize size);
    void setOverlays(const OverlaySettings &overlays);
    OverlaySettings overlays() const { return marks; }
    // Edges to mark over the picture, in the pixels of the frames given; empty for none.
    void setPeaking(const QList<QPoint> &edges);
    // A region of the picture (its pixels, as shown) outlined, such as the one the focus figure
    // measures; empty for none.
    void setMeasuredRegion(const QRectF &region);
    // The next two clicks on the picture set the ruler's ends.
    void pickRulerPoints();

    double zoom() const { return zoomState.zoom(); }
    const ZoomGeometry &zoomGeometry() const { return zoomState; }
    // Zooms to factor keeping the picture point under viewPoint (widget pixels) in place.
    void zoomAbout(QPointF viewPoint, double factor);
    void zoomOneToOne();
    void zoomToFit();

    // The picture as it is shown.
    QImage frame() const { return currentOrientation.apply(currentFrame); }
    QString message() const { return currentMessage; }
    Qt::TransformationMode transformationMode() const;
    // The size of the widget in device pixels: the most picture it can show.
    QSize devicePixelSize() const;
    // The picture size worth decoding: the device pixels times the zoom.
    QSize neededPictureSize() const;

signals:
    void doubleClicked();
    // The widget or the zoom changed: neededPictureSize() may have too.
    void sizeChanged();
    void crosshairMoved(QPointF pixel);
    void rulerPicked(QPointF from, QPointF to);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class Drag { None, Pan, Crosshair };

    // The shown (turned) picture's size in the camera's pixels; empty without a picture.
    QSize shownPictureSize() const;
    void refreshZoomSizes();
    // Maps the pixels of the frame given to where the zoom puts the picture, turned.
    QTransform frameToView() const;
    // A widget point as a whole picture pixel, inside the picture.
    QPointF pixelAt(QPointF viewPoint) const;

    QImage currentFrame;
    Orientation currentOrientation;
    QString currentMessage;
    QColor background{0x22, 0x22, 0x22};
    Scaling scaling = Scaling::BySize;
    QSize pictureSize;
    OverlaySettings marks;
    QList<QPoint> peaking;
    QRectF measuredRegion;
    ZoomGeometry zoomState;
    Drag drag = Drag::None;
    QPointF dragFrom;
    int rulerClicksLeft = 0;
    QPointF rulerStart;
};
