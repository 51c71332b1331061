#pragma once

#include "orientation.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

// Paints the newest picture itself, scaled into the widget keeping its aspect ratio, on a plain
// background; without a picture it shows a message instead. Painting straight from the image
// saves the per-frame conversion to a pixmap. GUI thread only.
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

    // The picture as it is shown.
    QImage frame() const { return currentOrientation.apply(currentFrame); }
    QString message() const { return currentMessage; }
    Qt::TransformationMode transformationMode() const;
    // The size of the widget in device pixels: the most picture it can show.
    QSize devicePixelSize() const;

signals:
    void doubleClicked();
    void sizeChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QImage currentFrame;
    Orientation currentOrientation;
    QString currentMessage;
    QColor background{0x22, 0x22, 0x22};
    Scaling scaling = Scaling::BySize;
};
