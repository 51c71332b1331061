#include "notificationlabel.h"

#include <QDesktopServices>
#include <QDir>
#include <QTimer>
#include <QUrl>

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
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(this, &QLabel::linkActivated, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(shownFolder)); });
}

void NotificationLabel::showMessage(const QString &message, bool success, const QRect &area,
                                    const QString &folder)
{
    shownFolder = folder;
    setAttribute(Qt::WA_TransparentForMouseEvents, folder.isEmpty());
    if (folder.isEmpty()) {
        setTextFormat(Qt::PlainText);
        setText(message);
    } else {
        setTextFormat(Qt::RichText);
        setText(message.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
                QStringLiteral("<br><span style=\"font-weight: normal;\">%1</span><br>"
                               "<a href=\"open\" style=\"color: #61AFEF;\">%2</a>")
                    .arg(QDir::toNativeSeparators(folder).toHtmlEscaped(), tr("Open folder")));
    }
    setStyleSheet(
        notificationStyle.arg(success ? QStringLiteral("#98C379") : QStringLiteral("#E06C75")));
    adjustSize();
    const int w = std::clamp(width(), 200, 400);
    // Room for the folder and its link beneath the message.
    const int h = std::clamp(height(), 40, folder.isEmpty() ? 100 : 140);
    setGeometry(area.x() + (area.width() - w) / 2, area.y() + area.height() - 20 - h, w, h);
    show();
    raise();
    notificationTimer->start(3000);
}

// Reading the folder line or reaching for its link must not be cut short by the timer.
void NotificationLabel::enterEvent(QEnterEvent *event)
{
    QLabel::enterEvent(event);
    notificationTimer->stop();
}

void NotificationLabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    if (!isHidden())
        notificationTimer->start(3000);
}
