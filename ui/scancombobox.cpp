#include "scancombobox.h"

ScanComboBox::ScanComboBox(QWidget *parent)
    : QComboBox(parent)
{}

void ScanComboBox::showPopup()
{
    emit aboutToShowPopup();
    QComboBox::showPopup();
}
