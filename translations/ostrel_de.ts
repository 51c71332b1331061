<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CameraControlsPanel</name>
    <message>
        <source>Camera Controls</source>
        <translation>Kameraeinstellungen</translation>
    </message>
    <message>
        <source>Show or hide the camera&apos;s own controls</source>
        <translation>Die eigenen Einstellungen der Kamera ein- oder ausblenden</translation>
    </message>
    <message>
        <source>Start the camera to see its controls.</source>
        <translation>Starten Sie die Kamera, um ihre Einstellungen zu sehen.</translation>
    </message>
    <message>
        <source>Reset all</source>
        <translation>Alle zurücksetzen</translation>
    </message>
    <message>
        <source>Return every control of this section to the camera&apos;s default</source>
        <translation>Alle Einstellungen dieses Abschnitts auf die Standardwerte der Kamera zurücksetzen</translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation>Belichtung</translation>
    </message>
    <message>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>White balance</source>
        <translation>Weißabgleich</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>Verstärkung</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Kontrast</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Sättigung</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Farbton</translation>
    </message>
    <message>
        <source>Sharpness</source>
        <translation>Schärfe</translation>
    </message>
    <message>
        <source>Backlight compensation</source>
        <translation>Gegenlichtkompensation</translation>
    </message>
    <message>
        <source>Power-line frequency</source>
        <translation>Netzfrequenz</translation>
    </message>
    <message>
        <source>%1:</source>
        <translation>%1:</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>50 Hz</source>
        <translation>50 Hz</translation>
    </message>
    <message>
        <source>60 Hz</source>
        <translation>60 Hz</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Automatic %1</source>
        <translation>%1 automatisch</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>The camera&apos;s saved control values</source>
        <translation>Die gespeicherten Einstellwerte der Kamera</translation>
    </message>
    <message>
        <source>&amp;Profile:</source>
        <translation>&amp;Profil:</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Speichern...</translation>
    </message>
    <message>
        <source>Save the camera&apos;s control values as a profile</source>
        <translation>Die Einstellwerte der Kamera als Profil speichern</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Give the camera the profile&apos;s values</source>
        <translation>Der Kamera die Werte des Profils geben</translation>
    </message>
    <message>
        <source>Rename...</source>
        <translation>Umbenennen...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Apply on start</source>
        <translation>Beim Start anwenden</translation>
    </message>
    <message>
        <source>Apply this profile whenever the camera starts or returns</source>
        <translation>Dieses Profil anwenden, wann immer die Kamera startet oder zurückkehrt</translation>
    </message>
    <message>
        <source>Keep my values</source>
        <translation>Meine Werte behalten</translation>
    </message>
    <message>
        <source>Put back values that another program changes</source>
        <translation>Werte zurücksetzen, die ein anderes Programm ändert</translation>
    </message>
    <message>
        <source>Save Profile</source>
        <translation>Profil speichern</translation>
    </message>
    <message>
        <source>Profile name:</source>
        <translation>Name des Profils:</translation>
    </message>
    <message>
        <source>Profile %1</source>
        <translation>Profil %1</translation>
    </message>
    <message>
        <source>The profile could not be saved. Use a name that is not empty; at most %1 profiles are kept.</source>
        <translation>Das Profil konnte nicht gespeichert werden. Verwenden Sie einen nicht leeren Namen; höchstens %1 Profile werden aufbewahrt.</translation>
    </message>
    <message>
        <source>Rename Profile</source>
        <translation>Profil umbenennen</translation>
    </message>
    <message>
        <source>New name:</source>
        <translation>Neuer Name:</translation>
    </message>
    <message>
        <source>The profile could not be renamed. Use a name that is not empty and not taken.</source>
        <translation>Das Profil konnte nicht umbenannt werden. Verwenden Sie einen Namen, der nicht leer und nicht vergeben ist.</translation>
    </message>
</context>
<context>
    <name>CameraMessages</name>
    <message>
        <source>The camera is no longer connected. Check its cable and plug it in again; it starts again by itself when it comes back.</source>
        <translation>Die Kamera ist nicht mehr angeschlossen. Prüfen Sie das Kabel und schließen Sie sie wieder an; sie startet von selbst wieder, sobald sie wieder verfügbar ist.</translation>
    </message>
    <message>
        <source>Another program is using the camera. Close it (a video call, another camera viewer) and try again.</source>
        <translation>Ein anderes Programm verwendet die Kamera. Schließen Sie es (einen Videoanruf, ein anderes Kameraprogramm) und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>You are not allowed to use the camera. Your user must be a member of the &quot;video&quot; group; log out and in again after adding it.</source>
        <translation>Sie dürfen die Kamera nicht verwenden. Ihr Benutzerkonto muss Mitglied der Gruppe „video“ sein; melden Sie sich nach dem Hinzufügen ab und wieder an.</translation>
    </message>
    <message>
        <source>The chosen format is too large for the camera or its USB connection. Choose a smaller size or a lower frame rate, or use another USB port.</source>
        <translation>Das gewählte Format ist zu groß für die Kamera oder ihre USB-Verbindung. Wählen Sie eine kleinere Auflösung oder eine niedrigere Bildrate oder verwenden Sie einen anderen USB-Anschluss.</translation>
    </message>
    <message>
        <source>The camera refused the chosen format. Details are in the program&apos;s log.</source>
        <translation>Die Kamera hat das gewählte Format abgelehnt. Einzelheiten stehen im Protokoll des Programms.</translation>
    </message>
    <message>
        <source>No cameras found.

Check that the camera is plugged in (try another cable or USB port),
that your user may use it (member of the &quot;video&quot; group),
and that no other program holds it.</source>
        <translation>Keine Kameras gefunden.

Prüfen Sie, ob die Kamera angeschlossen ist (versuchen Sie ein anderes Kabel oder einen anderen USB-Anschluss),
ob Ihr Benutzerkonto sie verwenden darf (Mitglied der Gruppe „video“)
und ob kein anderes Programm sie belegt.</translation>
    </message>
    <message>
        <source>Camera Error</source>
        <translation>Kamerafehler</translation>
    </message>
    <message>
        <source>Frames of %1x%2 are larger than this program can hold (%3 MB each at most). Choose a smaller size.</source>
        <translation>Bilder von %1x%2 sind größer, als dieses Programm fassen kann (höchstens %3 MB je Bild). Wählen Sie eine kleinere Größe.</translation>
    </message>
    <message>
        <source>Failed to start camera. Please check if another application is using it.</source>
        <translation>Die Kamera konnte nicht gestartet werden. Bitte prüfen Sie, ob eine andere Anwendung sie verwendet.</translation>
    </message>
    <message>
        <source>Failed to start camera.</source>
        <translation>Die Kamera konnte nicht gestartet werden.</translation>
    </message>
</context>
<context>
    <name>CameraSelection</name>
    <message>
        <source>Scanning for cameras...</source>
        <translation>Kameras werden gesucht...</translation>
    </message>
    <message>
        <source>No cameras found</source>
        <translation>Keine Kameras gefunden</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Look at, photograph and record the picture of a camera.</source>
        <translation>Das Bild einer Kamera anzeigen, als Schnappschuss speichern und aufnehmen.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe anzeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Die Version anzeigen und beenden.</translation>
    </message>
    <message>
        <source>Print the cameras, one per line, and exit.</source>
        <translation>Die Kameras ausgeben, eine pro Zeile, und beenden.</translation>
    </message>
    <message>
        <source>Print the formats of CAMERA, one per line, and exit.</source>
        <translation>Die Formate von KAMERA ausgeben, eines pro Zeile, und beenden.</translation>
    </message>
    <message>
        <source>CAMERA</source>
        <translation>KAMERA</translation>
    </message>
    <message>
        <source>Use the camera with this name or position (from 0).</source>
        <translation>Die Kamera mit diesem Namen oder an dieser Position (ab 0) verwenden.</translation>
    </message>
    <message>
        <source>NAME|INDEX</source>
        <translation>NAME|INDEX</translation>
    </message>
    <message>
        <source>Use this format, e.g. 1280x720@30:MJPG.</source>
        <translation>Dieses Format verwenden, z. B. 1280x720@30:MJPG.</translation>
    </message>
    <message>
        <source>WxH@FPS[:FOURCC]</source>
        <translation>BxH@FPS[:FOURCC]</translation>
    </message>
    <message>
        <source>Start the camera at once.</source>
        <translation>Die Kamera sofort starten.</translation>
    </message>
    <message>
        <source>Show the picture on the whole screen.</source>
        <translation>Das Bild im Vollbild anzeigen.</translation>
    </message>
    <message>
        <source>Record to FILE without a window, until the duration is over or the program is interrupted.</source>
        <translation>Ohne Fenster in DATEI aufnehmen, bis die Dauer abgelaufen ist oder das Programm unterbrochen wird.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>DATEI</translation>
    </message>
    <message>
        <source>Stop recording after this many seconds.</source>
        <translation>Die Aufnahme nach dieser Anzahl Sekunden beenden.</translation>
    </message>
    <message>
        <source>SECONDS</source>
        <translation>SEKUNDEN</translation>
    </message>
    <message>
        <source>Save one picture to FILE without a window and exit.</source>
        <translation>Ohne Fenster ein Bild in DATEI speichern und beenden.</translation>
    </message>
    <message>
        <source>Record and save the picture unmirrored and unrotated, whatever the settings say.</source>
        <translation>Das Bild ungespiegelt und ungedreht aufnehmen und speichern, unabhängig von den Einstellungen.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Unerwartetes Argument: %1</translation>
    </message>
    <message>
        <source>Choose only one of --list-cameras, --list-formats, --record and --snapshot.</source>
        <translation>Wählen Sie nur eine der Optionen --list-cameras, --list-formats, --record oder --snapshot.</translation>
    </message>
    <message>
        <source>Not a format: %1 (expected WIDTHxHEIGHT@FPS[:FOURCC])</source>
        <translation>Kein gültiges Format: %1 (erwartet: BREITExHÖHE@FPS[:FOURCC])</translation>
    </message>
    <message>
        <source>Not a duration in seconds: %1</source>
        <translation>Keine gültige Dauer in Sekunden: %1</translation>
    </message>
    <message>
        <source>--duration needs --record.</source>
        <translation>--duration erfordert --record.</translation>
    </message>
    <message>
        <source>The file name is empty.</source>
        <translation>Der Dateiname ist leer.</translation>
    </message>
</context>
<context>
    <name>CommandLineSession</name>
    <message>
        <source>The camera delivered no picture.</source>
        <translation>Die Kamera hat kein Bild geliefert.</translation>
    </message>
    <message>
        <source>ostrel: no camera found</source>
        <translation>ostrel: keine Kamera gefunden</translation>
    </message>
    <message>
        <source>ostrel: no such camera: %1</source>
        <translation>ostrel: Kamera nicht vorhanden: %1</translation>
    </message>
    <message>
        <source>ostrel: cannot open camera %1</source>
        <translation>ostrel: Kamera %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>ostrel: %1 has no format %2x%3@%4%5</source>
        <translation>ostrel: %1 bietet das Format %2x%3@%4%5 nicht an</translation>
    </message>
    <message>
        <source>ostrel: the camera offers no format</source>
        <translation>ostrel: die Kamera bietet kein Format an</translation>
    </message>
    <message>
        <source>the camera was disconnected (%1)</source>
        <translation>die Kamera wurde getrennt (%1)</translation>
    </message>
    <message>
        <source>The camera was disconnected: %1</source>
        <translation>Die Kamera wurde getrennt: %1</translation>
    </message>
    <message>
        <source>Snapshot saved: %1</source>
        <translation>Schnappschuss gespeichert: %1</translation>
    </message>
    <message>
        <source>The recording could not be started.</source>
        <translation>Die Aufnahme konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Interrupted.</source>
        <translation>Unterbrochen.</translation>
    </message>
    <message>
        <source>Recording error occurred: %1</source>
        <translation>Fehler bei der Aufnahme: %1</translation>
    </message>
    <message>
        <source>Recording saved: %1</source>
        <translation>Aufnahme gespeichert: %1</translation>
    </message>
    <message numerus="yes">
        <source>%1 s: %n frame(s) written, %2 dropped</source>
        <translation>
            <numerusform>%1 s: %n Bild geschrieben, %2 verworfen</numerusform>
            <numerusform>%1 s: %n Bilder geschrieben, %2 verworfen</numerusform>
        </translation>
    </message>
    <message>
        <source>the picture could not be saved to %1: %2</source>
        <translation>das Bild konnte nicht unter %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <source>ostrel: the camera could not be started: %1</source>
        <translation>ostrel: die Kamera konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>ostrel: cannot write %1: %2</source>
        <translation>ostrel: %1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>ControlKeeper</name>
    <message>
        <source>Another program changed the camera&apos;s controls. Your values have been put back.</source>
        <translation>Ein anderes Programm hat die Einstellungen der Kamera geändert. Ihre Werte wurden wiederhergestellt.</translation>
    </message>
</context>
<context>
    <name>ControlPanel</name>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Start Camera</source>
        <translation>Kamera starten</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Configure recording and snapshot directories</source>
        <translation>Ordner für Aufnahmen und Schnappschüsse festlegen</translation>
    </message>
    <message>
        <source>Adjust camera brightness (use Up/Down arrow keys)</source>
        <translation>Helligkeit der Kamera anpassen (mit den Pfeiltasten Auf/Ab)</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Adjust camera contrast (use Shift+Up/Down arrow keys)</source>
        <translation>Kontrast der Kamera anpassen (mit Shift+Pfeiltasten Auf/Ab)</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Kontrast</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>1.00</source>
        <translation>1.00</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Reset brightness and contrast to camera defaults</source>
        <translation>Helligkeit und Kontrast auf die Standardwerte der Kamera zurücksetzen</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Spiegeln</translation>
    </message>
    <message>
        <source>Mirror the camera image horizontally</source>
        <translation>Kamerabild horizontal spiegeln</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Drehen</translation>
    </message>
    <message>
        <source>Snapshot</source>
        <translation>Schnappschuss</translation>
    </message>
    <message>
        <source>Take a snapshot of the current camera view (Ctrl+S)</source>
        <translation>Schnappschuss vom aktuellen Kamerabild machen (Ctrl+S)</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>Start/stop recording video from camera (Ctrl+R)</source>
        <translation>Videoaufnahme der Kamera starten/beenden (Ctrl+R)</translation>
    </message>
    <message>
        <source>v%1</source>
        <translation>v%1</translation>
    </message>
    <message>
        <source>Camera Control</source>
        <translation>Kamerasteuerung</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>Kamera:</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>Image Adjustment</source>
        <translation>Bildanpassung</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Helligkeit:</translation>
    </message>
    <message>
        <source>Contrast:</source>
        <translation>Kontrast:</translation>
    </message>
    <message>
        <source>Transform:</source>
        <translation>Ausrichtung:</translation>
    </message>
    <message>
        <source>Capture Controls</source>
        <translation>Aufnahmesteuerung</translation>
    </message>
</context>
<context>
    <name>FullscreenView</name>
    <message>
        <source>Press Esc to leave fullscreen</source>
        <translation>Drücken Sie Esc, um das Vollbild zu verlassen</translation>
    </message>
    <message>
        <source>● REC</source>
        <translation>● REC</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Aufnahme läuft</translation>
    </message>
    <message>
        <source>Fullscreen camera view</source>
        <translation>Kamerabild im Vollbild</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Ostrel Camera Viewer</source>
        <translation>Ostrel Camera Viewer</translation>
    </message>
    <message>
        <source>Click to scan for cameras...</source>
        <translation>Klicken, um nach Kameras zu suchen...</translation>
    </message>
    <message>
        <source>No camera feed</source>
        <translation>Kein Kamerabild</translation>
    </message>
    <message>
        <source>Camera picture</source>
        <translation>Kamerabild</translation>
    </message>
    <message>
        <source>Failed to switch the camera to %1.</source>
        <translation>Die Kamera konnte nicht auf %1 umgestellt werden.</translation>
    </message>
    <message>
        <source>%1 fps</source>
        <translation>%1 fps</translation>
    </message>
    <message>
        <source>Camera disconnected</source>
        <translation>Kamera getrennt</translation>
    </message>
    <message>
        <source>Recording Interrupted</source>
        <translation>Aufnahme unterbrochen</translation>
    </message>
    <message>
        <source>Video recording was interrupted due to camera disconnection.
The partial recording has been saved to:
</source>
        <translation>Die Videoaufnahme wurde unterbrochen, weil die Kamera getrennt wurde.
Der bis dahin aufgenommene Teil wurde gespeichert unter:
</translation>
    </message>
    <message>
        <source>Camera Disconnected</source>
        <translation>Kamera getrennt</translation>
    </message>
    <message>
        <source>The camera has been disconnected: </source>
        <translation>Die Kamera wurde getrennt: </translation>
    </message>
    <message>
        <source>
Please reconnect it and try again.</source>
        <translation>
Bitte schließen Sie sie wieder an und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Stop Camera</source>
        <translation>Kamera stoppen</translation>
    </message>
    <message>
        <source>Start Camera</source>
        <translation>Kamera starten</translation>
    </message>
    <message>
        <source>No camera frame available</source>
        <translation>Kein Kamerabild verfügbar</translation>
    </message>
    <message>
        <source>Recording start failed</source>
        <translation>Aufnahme konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>Exit fullscreen (ESC)</source>
        <translation>Vollbild verlassen (ESC)</translation>
    </message>
    <message>
        <source>Toggle fullscreen camera view</source>
        <translation>Vollbildansicht der Kamera ein-/ausschalten</translation>
    </message>
    <message>
        <source>Camera reconnected: %1</source>
        <translation>Kamera wieder verbunden: %1</translation>
    </message>
</context>
<context>
    <name>NotificationLabel</name>
    <message>
        <source>Open folder</source>
        <translation>Ordner öffnen</translation>
    </message>
</context>
<context>
    <name>OpenPNPCamera</name>
    <message>
        <source>Camera %1</source>
        <translation>Kamera %1</translation>
    </message>
    <message>
        <source>%1x%2 @ %3 fps (%4)</source>
        <translation>%1x%2 @ %3 fps (%4)</translation>
    </message>
    <message>
        <source>Failed to access camera properties</source>
        <translation>Zugriff auf die Kameraeigenschaften fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>OrientationControl</name>
    <message>
        <source>Rotate camera image 90° clockwise (currently %1°)</source>
        <translation>Kamerabild um 90° im Uhrzeigersinn drehen (derzeit %1°)</translation>
    </message>
</context>
<context>
    <name>RecordingController</name>
    <message>
        <source>%1:%2</source>
        <translation>%1:%2</translation>
    </message>
    <message>
        <source>Save Video Recording</source>
        <translation>Videoaufnahme speichern</translation>
    </message>
    <message>
        <source>Video Files (*.avi)</source>
        <translation>Videodateien (*.avi)</translation>
    </message>
    <message>
        <source>Stop Recording</source>
        <translation>Aufnahme beenden</translation>
    </message>
    <message>
        <source>Finishing…</source>
        <translation>Wird abgeschlossen…</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>00:00</source>
        <translation>00:00</translation>
    </message>
    <message>
        <source>Recording error occurred</source>
        <translation>Fehler bei der Aufnahme</translation>
    </message>
    <message>
        <source>Recording saved: %1</source>
        <translation>Aufnahme gespeichert: %1</translation>
    </message>
</context>
<context>
    <name>RecordingReport</name>
    <message>
        <source>%1 frames written (%2 repeated); camera frames lost: %3 at the camera, %4 in the program</source>
        <translation>%1 Bilder geschrieben (%2 wiederholt); verlorene Kamerabilder: %3 an der Kamera, %4 im Programm</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Reset to Defaults</source>
        <translation>Standardwerte wiederherstellen</translation>
    </message>
    <message>
        <source>Reset all settings to their default values</source>
        <translation>Alle Einstellungen auf ihre Standardwerte zurücksetzen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Ostrel Settings</source>
        <translation>Ostrel-Einstellungen</translation>
    </message>
    <message>
        <source>User Interface Settings</source>
        <translation>Benutzeroberfläche</translation>
    </message>
    <message>
        <source>Show FPS Counter</source>
        <translation>FPS-Anzeige einblenden</translation>
    </message>
    <message>
        <source>Show/hide the FPS counter overlay on the camera view</source>
        <translation>FPS-Anzeige über dem Kamerabild ein- oder ausblenden</translation>
    </message>
    <message>
        <source>Auto-save with default filename</source>
        <translation>Automatisch unter Standard-Dateinamen speichern</translation>
    </message>
    <message>
        <source>When enabled, snapshots and recordings are saved automatically with default filenames without showing save dialog</source>
        <translation>Wenn aktiviert, werden Schnappschüsse und Aufnahmen ohne Speicherdialog automatisch unter Standard-Dateinamen gespeichert</translation>
    </message>
    <message>
        <source>Directory Settings</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Recording Directory:</source>
        <translation>Ordner für Aufnahmen:</translation>
    </message>
    <message>
        <source>Select Recording Directory</source>
        <translation>Ordner für Aufnahmen auswählen</translation>
    </message>
    <message>
        <source>Open recording directory</source>
        <translation>Ordner für Aufnahmen öffnen</translation>
    </message>
    <message>
        <source>Snapshot Directory:</source>
        <translation>Ordner für Schnappschüsse:</translation>
    </message>
    <message>
        <source>Select Snapshot Directory</source>
        <translation>Ordner für Schnappschüsse auswählen</translation>
    </message>
    <message>
        <source>Open snapshot directory</source>
        <translation>Ordner für Schnappschüsse öffnen</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Version:&lt;/b&gt; %1&lt;/p&gt;&lt;p&gt;&lt;b&gt;Description:&lt;/b&gt; Ostrel camera capture application with video recording capabilities.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Features:&lt;/b&gt;&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Real-time camera preview with adjustable brightness, contrast and transformation&lt;/li&gt;&lt;li&gt;High-resolution snapshot capture&lt;/li&gt;&lt;li&gt;Threaded video recording with frame duplication for consistent timing&lt;/li&gt;&lt;li&gt;Support for multiple camera formats and resolutions&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;&lt;b&gt;Links:&lt;/b&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Version:&lt;/b&gt; %1&lt;/p&gt;&lt;p&gt;&lt;b&gt;Beschreibung:&lt;/b&gt; Ostrel, eine Kameraanwendung mit Videoaufnahme.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Funktionen:&lt;/b&gt;&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Kameravorschau in Echtzeit; Helligkeit, Kontrast und Ausrichtung einstellbar&lt;/li&gt;&lt;li&gt;Schnappschüsse in hoher Auflösung&lt;/li&gt;&lt;li&gt;Videoaufnahme in eigenem Thread, mit Bildverdopplung für gleichmäßiges Timing&lt;/li&gt;&lt;li&gt;Unterstützung mehrerer Kameraformate und Auflösungen&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;&lt;b&gt;Links:&lt;/b&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Contact Support</source>
        <translation>Support kontaktieren</translation>
    </message>
    <message>
        <source>&lt;p&gt;&amp;copy; %1&lt;/p&gt;</source>
        <translation>&lt;p&gt;&amp;copy; %1&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Ostrel Camera Viewer</source>
        <translation>Über Ostrel Camera Viewer</translation>
    </message>
    <message>
        <source>Start the last camera when Ostrel opens</source>
        <translation>Die zuletzt verwendete Kamera beim Öffnen von Ostrel starten</translation>
    </message>
    <message>
        <source>When enabled, the camera used last starts by itself, in its last format</source>
        <translation>Wenn aktiviert, startet die zuletzt verwendete Kamera von selbst in ihrem letzten Format</translation>
    </message>
</context>
<context>
    <name>SnapshotSaver</name>
    <message>
        <source>Save Snapshot</source>
        <translation>Schnappschuss speichern</translation>
    </message>
    <message>
        <source>Images (*.png *.jpg *.jpeg)</source>
        <translation>Bilder (*.png *.jpg *.jpeg)</translation>
    </message>
    <message>
        <source>Snapshot saved (%1x%2)
%3</source>
        <translation>Schnappschuss gespeichert (%1x%2)
%3</translation>
    </message>
    <message>
        <source>Failed to save snapshot</source>
        <translation>Schnappschuss konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>No camera frame available</source>
        <translation>Kein Kamerabild verfügbar</translation>
    </message>
</context>
<context>
    <name>StillCapture</name>
    <message>
        <source>there is no picture</source>
        <translation>es gibt kein Bild</translation>
    </message>
    <message>
        <source>the folder cannot be created</source>
        <translation>der Ordner kann nicht angelegt werden</translation>
    </message>
</context>
<context>
    <name>VideoOverlays</name>
    <message>
        <source>0.0 fps</source>
        <translation>0.0 fps</translation>
    </message>
    <message>
        <source>00:00</source>
        <translation>00:00</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Aufnahme läuft</translation>
    </message>
    <message>
        <source>Toggle fullscreen camera view</source>
        <translation>Vollbildansicht der Kamera ein-/ausschalten</translation>
    </message>
    <message>
        <source>Fullscreen</source>
        <translation>Vollbild</translation>
    </message>
</context>
<context>
    <name>WindowShortcuts</name>
    <message>
        <source>Up</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Shift+Up</source>
        <translation>Shift+Up</translation>
    </message>
    <message>
        <source>Shift+Down</source>
        <translation>Shift+Down</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <source>F11</source>
        <translation>F11</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>ostrel: cannot open a window: no display (DISPLAY and WAYLAND_DISPLAY are not set)</source>
        <translation>ostrel: kein Fenster möglich: keine Anzeige (DISPLAY und WAYLAND_DISPLAY sind nicht gesetzt)</translation>
    </message>
</context>
</TS>
