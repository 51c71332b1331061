#include "viewfinder.h"

#include <QPainter>

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
    currentMessage = text;
    setAccessibleDescription(text);
    update();
}

Qt::TransformationMode ViewFinder::transformationMode() const
{
    if (scaling == Scaling::AlwaysSmooth || (width() <= 1280 && height() <= 720))
        return Qt::SmoothTransformation;
    return Qt::FastTransformation;
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
    const QSize shown = currentOrientation.apply(currentFrame.size());
    QRect target(QPoint(), shown.scaled(size(), Qt::KeepAspectRatio));
    target.moveCenter(rect().center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          transformationMode() == Qt::SmoothTransformation);
    if (currentOrientation.isIdentity()) {
        painter.drawImage(target, currentFrame);
        return;
    }
    // Mirrored first, then rotated about the middle, as Orientation::apply turns a frame.
    painter.translate(QRectF(target).center());
    painter.rotate(currentOrientation.angle);
    painter.scale(currentOrientation.mirrored ? -1.0 : 1.0, 1.0);
    const QSizeF drawn =
        shown == currentFrame.size() ? QSizeF(target.size()) : QSizeF(target.size()).transposed();
    painter.drawImage(QRectF(QPointF(-drawn.width() / 2, -drawn.height() / 2), drawn),
                      currentFrame);
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

void ViewFinder::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit sizeChanged();
}
