#include "lossbox.h"

#include <QMessageBox>

LossBox::LossBox(QWidget *parent)
    : QObject(parent)
    , parentWidget(parent)
{}

void LossBox::show(const QString &title, const QString &cause, const QString &text)
{
    if (!box) {
        box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parentWidget);
        connect(box, &QDialog::finished, box, &QObject::deleteLater);
        box->open();
    }
    box->setWindowTitle(title);
    box->setText(text);
    box->setInformativeText(cause);
}
