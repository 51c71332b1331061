#pragma once

#include <QComboBox>

// A combo box that announces that its popup is about to open, so the list can be refilled first.
class ScanComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ScanComboBox(QWidget *parent = nullptr);

    // Emits aboutToShowPopup() and waits for its slots (direct connection) before opening.
    void showPopup() override;

signals:
    void aboutToShowPopup();
};
