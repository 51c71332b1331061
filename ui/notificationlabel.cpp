#include "notificationlabel.h"

#include <QTimer>

#include <algorithm>

namespace {

const QString notificationStyle = QStringLiteral(
    "QLabel {background-color: rgba(40, 44, 52, 220);color: white;border: 2px solid %1;"
    "border-radius: 6px;padding: 8px 12px;font-size: 12px;font-weight: bold;}");

} // namespace

NotificationLabel::NotificationLabel(QWidget *parent)
    : QLabel(parent)
    , notificationTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("notificationLabel"));
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setStyleSheet(notificationStyle.arg(QStringLiteral("#61AFEF")));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();

    notificationTimer->setObjectName(QStringLiteral("notificationTimer"));
    notificationTimer->setSingleShot(true);
    connect(notificationTimer, &QTimer::timeout, this, &QLabel::hide);
}

void NotificationLabel::showMessage(const QString &message, bool success, const QRect &area)
{
    setText(message);
    setStyleSheet(
        notificationStyle.arg(success ? QStringLiteral("#98C379") : QStringLiteral("#E06C75")));
    adjustSize();
    const int w = std::clamp(width(), 200, 400);
    const int h = std::clamp(height(), 40, 100);
    setGeometry(area.x() + (area.width() - w) / 2, area.y() + area.height() - 20 - h, w, h);
    show();
    raise();
    notificationTimer->start(3000);
}
