#include "mainwindow.h"
#include "scancombobox.h"
#include "testsupport/mainwindowaccess.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QStandardPaths>
#include <QTest>
#include <QVBoxLayout>

// The window as built, before any camera exists: its controls, the settings it reads, the logo
// and the embedded images.
class TestMainWindowLayout : public QObject
{
    Q_OBJECT

private:
    template<typename T> static T *child(QWidget &window, const char *name)
    {
        return window.findChild<T *>(QString::fromLatin1(name));
    }

private slots:
    void initTestCase() { prepareWindowTestApplication(); }

    void init() { QSettings(QStringLiteral("Brellway"), QStringLiteral("Ostrel")).clear(); }

    void startsWithEveryCameraControlDisabled()
    {
        MainWindow window;
        for (const char *name :
             {"formatSelector", "startStopButton", "snapshotButton", "recordButton",
              "fullscreenButton", "brightnessSlider", "contrastSlider", "resetButton"}) {
            QWidget *control = child<QWidget>(window, name);
            QVERIFY2(control, name);
            QVERIFY2(!control->isEnabled(), name);
        }
        for (const char *name : {"settingsButton", "flipButton", "rotateButton", "cameraSelector"})
            QVERIFY2(child<QWidget>(window, name)->isEnabled(), name);
        for (const char *name : {"fpsLabel", "recordingTimeLabel", "recordingIndicator"})
            QVERIFY2(child<QWidget>(window, name)->isHidden(), name);
        QVERIFY(TestMainWindowAccess(window).notificationLabel()->isHidden());

        QCOMPARE(child<QLabel>(window, "videoLabel")->text(), QStringLiteral("No camera feed"));
        QCOMPARE(child<QLabel>(window, "versionLabel")->text(), QStringLiteral("v1.1.0"));
    }

    void startsWithPlaceholderListAndNoCamera()
    {
        MainWindow window;
        auto *cameras = child<QComboBox>(window, "cameraSelector");
        QCOMPARE(cameras->count(), 1);
        QCOMPARE(cameras->itemText(0), QStringLiteral("Click to scan for cameras..."));
        QVERIFY(!cameras->itemData(0).isValid());
        QCOMPARE(TestMainWindowAccess(window).camera(), nullptr);
        QCOMPARE(child<QComboBox>(window, "formatSelector")->count(), 0);
    }

    void defaultsFromEmptySettings()
    {
        MainWindow window;
        TestMainWindowAccess access(window);
        QCOMPARE(access.recordingDirectory(),
                 QStandardPaths::writableLocation(QStandardPaths::MoviesLocation));
        QCOMPARE(access.snapshotDirectory(),
                 QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
        QVERIFY(access.showFpsCounter());
        QVERIFY(access.autoSaveWithDefaultName());
        QVERIFY(!access.horizontalFlip());
        QCOMPARE(access.rotationAngle(), 0);
        QVERIFY(!child<QPushButton>(window, "flipButton")->isChecked());
        QCOMPARE(child<QPushButton>(window, "rotateButton")->toolTip(),
                 QStringLiteral("Rotate camera image 90° clockwise (currently 0°)"));
        // Reading the defaults writes nothing.
        QVERIFY(
            QSettings(QStringLiteral("Brellway"), QStringLiteral("Ostrel")).allKeys().isEmpty());
    }

    void storedFlipChecksButtonWithoutWritingBack()
    {
        {
            // Stored as the text "1": a window that wrote the flag back would store "true".
            QSettings store(QStringLiteral("Brellway"), QStringLiteral("Ostrel"));
            store.setValue(QStringLiteral("horizontalFlip"), QStringLiteral("1"));
            store.setValue(QStringLiteral("rotationAngle"), 270);
        }
        MainWindow window;
        QVERIFY(child<QPushButton>(window, "flipButton")->isChecked());
        QVERIFY(TestMainWindowAccess(window).horizontalFlip());
        QCOMPARE(TestMainWindowAccess(window).rotationAngle(), 270);
        QCOMPARE(child<QPushButton>(window, "rotateButton")->toolTip(),
                 QStringLiteral("Rotate camera image 90° clockwise (currently 270°)"));
        const QSettings store(QStringLiteral("Brellway"), QStringLiteral("Ostrel"));
        QCOMPARE(store.value(QStringLiteral("horizontalFlip")).toString(), QStringLiteral("1"));
    }

    void nonNumericRotationReadsAsZero()
    {
        {
            QSettings store(QStringLiteral("Brellway"), QStringLiteral("Ostrel"));
            store.setValue(QStringLiteral("rotationAngle"), QStringLiteral("sideways"));
            store.setValue(QStringLiteral("showFpsCounter"), false);
        }
        MainWindow window;
        QCOMPARE(TestMainWindowAccess(window).rotationAngle(), 0);
        QVERIFY(!TestMainWindowAccess(window).showFpsCounter());
    }

    void iconOnlyButtonsHaveAccessibleNames()
    {
        MainWindow window;
        for (const char *name :
             {"fullscreenButton", "settingsButton", "flipButton", "rotateButton"}) {
            auto *button = child<QPushButton>(window, name);
            QVERIFY2(button->text().isEmpty(), name);
            QVERIFY2(!button->accessibleName().isEmpty(), name);
            QVERIFY2(!button->icon().isNull(), name);
        }
    }

    void logoFitsPanel()
    {
        MainWindow window;
        auto *logo = child<QLabel>(window, "logoLabel");
        QCOMPARE(logo->pixmap().size(), QSize(211, 40));
        QCOMPARE(logo->minimumHeight(), 40);

        // What a resize does for a control panel layout 200 pixels wide: 90 % of it.
        TestMainWindowAccess(window).updateLogo(int(200 * 0.9));
        QCOMPARE(logo->pixmap().size(), QSize(180, 34));
        QCOMPARE(logo->minimumHeight(), 34);
        QCOMPARE(logo->maximumHeight(), 34);

        // A real resize rescales within the panel's layout and fixes the label's height to it.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(1400, 900);
        QTRY_COMPARE(logo->maximumHeight(), logo->pixmap().height());
        QVERIFY(logo->pixmap().height() <= 40);
        const QWidget *panel = TestMainWindowAccess(window).controlPanelLayout()->parentWidget();
        QCOMPARE(logo->pixmap().width(), std::min(211, int(panel->width() * 0.9)));
    }

    void popupAnnouncesItselfBeforeOpening()
    {
        ScanComboBox combo;
        combo.addItem(QStringLiteral("before"));
        int countSeenBySlot = -1;
        connect(&combo, &ScanComboBox::aboutToShowPopup, &combo, [&combo, &countSeenBySlot] {
            countSeenBySlot = combo.count();
            combo.addItem(QStringLiteral("added by the scan"));
        });
        combo.show();
        combo.showPopup();
        QCOMPARE(countSeenBySlot, 1);
        QCOMPARE(combo.count(), 2);
        combo.hidePopup();
    }

    void resourcesLoadWithTheirSizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("icon") << "dunmo-logo.ico" << QSize(256, 255) << QByteArray("ico");
        QTest::newRow("logo") << "logo.png" << QSize(634, 120) << QByteArray("png");
        QTest::newRow("snapshot") << "snapshot.png" << QSize(16, 16) << QByteArray("xpm");
        QTest::newRow("record") << "record.png" << QSize(16, 16) << QByteArray("xpm");
        QTest::newRow("fullscreen") << "fullscreen.png" << QSize(24, 24) << QByteArray("png");
        QTest::newRow("settings") << "settings.png" << QSize(64, 64) << QByteArray("png");
        QTest::newRow("flip") << "flip.png" << QSize(32, 32) << QByteArray("png");
        QTest::newRow("rotate") << "rotate.png" << QSize(32, 32) << QByteArray("png");
        QTest::newRow("folder") << "folder.png" << QSize(48, 48) << QByteArray("png");
    }

    void resourcesLoadWithTheirSizes()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(QByteArray, format);
        QImageReader reader(QStringLiteral(":/resources/") + name);
        QCOMPARE(reader.format(), format);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), size);
        if (format == "xpm") {
            // Transparent, black and one colour.
            QSet<QRgb> colours;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    colours.insert(image.pixel(x, y));
            QCOMPARE(colours.size(), 3);
        }
    }
};

QTEST_MAIN(TestMainWindowLayout)
#include "tst_mainwindow_layout.moc"
