#include "fullscreenview.h"

#include "levelmeter.h"
#include "notificationlabel.h"

#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPropertyAnimation>
#include <QScreen>

namespace {

QLabel *overlayLabel(const QString &text, const QString &colour, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("QLabel { background-color: rgba(0, 0, 0, 160); color: "
                                        "%1; padding: 8px 14px; border-radius: 6px; "
                                        "font-weight: bold; font-size: 16px; }")
                             .arg(colour));
    label->adjustSize();
    label->hide();
    return label;
}

} // namespace

FullscreenView::FullscreenView(QWidget *parent)
    : ViewFinder(QString(), parent)
    , hint(overlayLabel(tr("Press Esc to leave fullscreen"), QStringLiteral("white"), this))
    , recordingMark(overlayLabel(tr("\u25CF REC"), QStringLiteral("red"), this))
    , soundMeter(new LevelMeter(this))
    , notices(new NotificationLabel(this))
    , hintFade(new QPropertyAnimation(this))
{
    setObjectName(QStringLiteral("fullscreenLabel"));
    hint->setObjectName(QStringLiteral("fullscreenHint"));
    recordingMark->setObjectName(QStringLiteral("fullscreenRecordingMark"));
    recordingMark->setAccessibleName(tr("Recording"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setBackground(Qt::black);
    setScaling(Scaling::AlwaysSmooth);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Fullscreen camera view"));
    connect(this, &ViewFinder::doubleClicked, this, &QWidget::hide);

    auto *opacity = new QGraphicsOpacityEffect(hint);
    hint->setGraphicsEffect(opacity);
    hintFade->setTargetObject(opacity);
    hintFade->setPropertyName("opacity");
    // Readable for two seconds, then gone within one.
    hintFade->setDuration(3000);
    hintFade->setKeyValueAt(0.0, 1.0);
    hintFade->setKeyValueAt(0.67, 1.0);
    hintFade->setKeyValueAt(1.0, 0.0);
    connect(hintFade, &QPropertyAnimation::finished, hint, &QWidget::hide);
}

void FullscreenView::enter(const QImage &picture)
{
    // Always the primary screen, whichever screen the main window is on.
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    setGeometry(screen->geometry());
    if (!picture.isNull())
        setFrame(picture);
    showFullScreen();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void FullscreenView::setRecording(bool recording)
{
    recordingMark->move(20, 20);
    recordingMark->setVisible(recording);
    if (!recording)
        soundMeter->hide();
}

void FullscreenView::setSoundLevel(double peak)
{
    if (soundMeter->isHidden()) {
        soundMeter->setGeometry(
            QRect(QPoint(20, 20 + recordingMark->height() + 6), soundMeter->sizeHint()));
        soundMeter->show();
    }
    soundMeter->setLevel(peak);
}

void FullscreenView::setRecordingTime(const QString &time)
{
    recordingMark->setText(tr("\u25CF REC") + QLatin1Char(' ') + time);
    recordingMark->adjustSize();
}

void FullscreenView::showNotification(const QString &message, bool success, const QString &folder)
{
    notices->showMessage(message, success, rect(), folder);
}

void FullscreenView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        hide();
    // Every other key is swallowed too; the shortcuts of this view still work.
    event->accept();
}

void FullscreenView::showEvent(QShowEvent *event)
{
    ViewFinder::showEvent(event);
    hint->adjustSize();
    hint->move((width() - hint->width()) / 2, height() / 8);
    hint->show();
    hint->raise();
    hintFade->stop();
    hintFade->start();
    emit visibilityChanged(true);
}

void FullscreenView::hideEvent(QHideEvent *event)
{
    ViewFinder::hideEvent(event);
    emit visibilityChanged(false);
}
