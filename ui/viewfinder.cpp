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

void ViewFinder::setFrame(const QImage &frame)
{
    currentFrame = frame;
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
    QRect target(QPoint(), currentFrame.size().scaled(size(), Qt::KeepAspectRatio));
    target.moveCenter(rect().center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          transformationMode() == Qt::SmoothTransformation);
    painter.drawImage(target, currentFrame);
}

void ViewFinder::mouseDoubleClickEvent(QMouseEvent *event)
{
    QWidget::mouseDoubleClickEvent(event);
    emit doubleClicked();
}
