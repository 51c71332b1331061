#include "videooverlays.h"

#include "levelmeter.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString overlayStyle = QStringLiteral(
    "QLabel { background-color: rgba(0, 0, 0, 120); color: %1; padding: 5px; border-radius: 3px; "
    "font-weight: bold; font-size: 16px; }");

QLabel *overlayLabel(const QString &text, const char *name, const QString &colour, int width)
{
    auto *label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(overlayStyle.arg(colour));
    label->setFixedWidth(width);
    label->hide();
    return label;
}

} // namespace

VideoOverlays::VideoOverlays(QWidget *videoArea)
{
    fpsLabel = overlayLabel(tr("0.0 fps"), "fpsLabel", QStringLiteral("#00FF00"), 100);
    recordingTimeLabel =
        overlayLabel(tr("00:00"), "recordingTimeLabel", QStringLiteral("#FFFFFF"), 80);

    recordingDetailLabel =
        overlayLabel(QString(), "recordingDetailLabel", QStringLiteral("#FFFFFF"), 0);
    recordingDetailLabel->setMinimumWidth(0);
    recordingDetailLabel->setMaximumWidth(QWIDGETSIZE_MAX);

    recordingIndicator = new QLabel(QStringLiteral("\u25CF"));
    recordingIndicator->setObjectName(QStringLiteral("recordingIndicator"));
    recordingIndicator->setAlignment(Qt::AlignCenter);
    recordingIndicator->setStyleSheet(
        QStringLiteral("QLabel { color: red; font-size: 20px; font-weight: bold; background: "
                       "transparent; font-size: 16px; }"));
    recordingIndicator->setFixedSize(30, 30);
    recordingIndicator->setAccessibleName(tr("Recording"));
    recordingIndicator->hide();

    fullscreenButton = new QPushButton;
    fullscreenButton->setObjectName(QStringLiteral("fullscreenButton"));
    fullscreenButton->setEnabled(false);
    fullscreenButton->setIcon(QIcon::fromTheme(
        QStringLiteral("view-fullscreen"), QIcon(QStringLiteral(":/resources/fullscreen.png"))));
    fullscreenButton->setToolTip(tr("Toggle fullscreen camera view"));
    fullscreenButton->setAccessibleName(tr("Fullscreen"));
    fullscreenButton->setFixedSize(32, 32);
    fullscreenButton->setIconSize(QSize(20, 20));
    fullscreenButton->setStyleSheet(QStringLiteral(
        "QPushButton { background-color: rgba(0, 0, 0, 120); border: none; border-radius: 4px; "
        "color: white; } QPushButton:hover { background-color: rgba(0, 0, 0, 180); } "
        "QPushButton:disabled { background-color: rgba(0, 0, 0, 60); }"));

    auto *layout = new QVBoxLayout(videoArea);
    auto *topRow = new QHBoxLayout;
    auto *topLeft = new QHBoxLayout;
    topLeft->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    topLeft->addWidget(recordingIndicator);
    topLeft->addWidget(recordingTimeLabel);
    topLeft->addWidget(recordingDetailLabel);
    levelMeter = new LevelMeter;
    topLeft->addWidget(levelMeter);
    topLeft->addStretch();
    topRow->addLayout(topLeft);
    auto *topRight = new QHBoxLayout;
    topRight->setAlignment(Qt::AlignRight | Qt::AlignTop);
    topRight->addWidget(fpsLabel);
    topRow->addLayout(topRight);
    layout->addLayout(topRow);
    layout->addStretch();
    auto *bottomRow = new QHBoxLayout;
    bottomRow->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    bottomRow->addWidget(fullscreenButton);
    layout->addLayout(bottomRow);
}
