#include "cameraselection.h"

#include "appsettings.h"
#include "scancombobox.h"

#include <QApplication>

#include <algorithm>

CameraSelection::CameraSelection(ScanComboBox *cameraSelector, QComboBox *formatSelector,
                                 CameraBase *camera, QObject *parent)
    : QObject(parent)
    , cameraSelector(cameraSelector)
    , formatSelector(formatSelector)
    , camera(camera)
{
    connect(cameraSelector, &QComboBox::currentIndexChanged, this, &CameraSelection::selectCamera);
    connect(formatSelector, &QComboBox::currentIndexChanged, this, &CameraSelection::selectFormat);
    connect(camera, &CameraBase::formatChanged, this, &CameraSelection::showFormat);
}

bool CameraSelection::hasCamera() const
{
    return cameraSelector->currentData().isValid() && !camera->supportedFormats().isEmpty();
}

QString CameraSelection::currentCameraId() const
{
    const QVariant index = cameraSelector->currentData();
    return index.isValid() ? camera->cameraId(index.toInt()) : QString();
}

void CameraSelection::scan()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The chosen camera stays chosen across a rescan; otherwise the one started last is chosen.
    const QString chosenId = currentCameraId();
    const QString wantedId = chosenId.isEmpty() ? AppSettings::lastCameraId() : chosenId;
    int preferred = 0;
    {
        const QSignalBlocker blocker(cameraSelector);
        cameraSelector->clear();
        cameraSelector->addItem(tr("Scanning for cameras..."));
        QCoreApplication::processEvents();
        const QStringList names = camera->availableCameras();
        cameraSelector->clear();
        // Cameras carry their list position as data; the placeholders carry none.
        for (int i = 0; i < names.size(); ++i) {
            cameraSelector->addItem(names.at(i), i);
            if (!wantedId.isEmpty() && camera->cameraId(i) == wantedId)
                preferred = i;
        }
        if (names.isEmpty()) {
            cameraSelector->addItem(tr("No cameras found"));
            formatSelector->clear();
        }
        // Going through -1 makes the change to 0 announce itself once the signals flow again.
        cameraSelector->setCurrentIndex(-1);
    }
    cameraSelector->setCurrentIndex(preferred);
    QApplication::restoreOverrideCursor();
    emit scanned(cameraSelector->currentData().isValid());
}

void CameraSelection::selectCamera(int index)
{
    if (index < 0 || !cameraSelector->itemData(index).isValid())
        return;
    emit cameraChanging();
    if (!camera->openCamera(index))
        return;
    const QList<CameraBase::CameraFormat> formats = camera->supportedFormats();
    const auto remembered = AppSettings::cameraFormat(camera->cameraId(index));
    const int chosen = remembered ? std::max(0, int(formats.indexOf(*remembered))) : 0;
    {
        const QSignalBlocker blocker(formatSelector);
        formatSelector->clear();
        for (const CameraBase::CameraFormat &format : formats)
            formatSelector->addItem(format.description);
        formatSelector->setCurrentIndex(formats.isEmpty() ? -1 : chosen);
    }
    selectFormat(chosen);
    emit cameraOpened();
}

void CameraSelection::selectFormat(int index)
{
    const QList<CameraBase::CameraFormat> formats = camera->supportedFormats();
    if (index < 0 || index >= formats.size())
        return;
    const bool wasCapturing = camera->isCapturing();
    if (camera->setFormat(formats.at(index))) {
        // A stopped camera's format is remembered once it has started in it.
        if (wasCapturing)
            AppSettings::storeCameraFormat(currentCameraId(), formats.at(index));
        return;
    }
    if (!wasCapturing)
        return;
    // The camera has stopped; the format it ran in last stays chosen, never the refused one.
    const auto remembered = AppSettings::cameraFormat(currentCameraId());
    const int working = remembered ? int(formats.indexOf(*remembered)) : -1;
    if (working >= 0 && working != index) {
        camera->setFormat(formats.at(working));
        showFormat(formats.at(working));
    }
    emit formatFailed(formats.at(index).description);
}

void CameraSelection::showFormat(const CameraBase::CameraFormat &format)
{
    const QList<CameraBase::CameraFormat> formats = camera->supportedFormats();
    const auto found = std::find_if(formats.begin(), formats.end(), [&](const auto &candidate) {
        return candidate.formatIndex == format.formatIndex;
    });
    if (found == formats.end())
        return;
    const QSignalBlocker blocker(formatSelector);
    formatSelector->setCurrentIndex(int(found - formats.begin()));
}
