<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AudioSourceList</name>
    <message>
        <source>the sound client could not be started</source>
        <translation>der Ton-Client konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>the sound server did not answer</source>
        <translation>der Tonserver hat nicht geantwortet</translation>
    </message>
</context>
<context>
    <name>BandwidthEstimate</name>
    <message>
        <source>Choose a smaller size or a lower frame rate.</source>
        <translation>Wählen Sie eine kleinere Größe oder eine niedrigere Bildrate.</translation>
    </message>
    <message>
        <source>Choose Motion-JPEG or a lower frame rate.</source>
        <translation>Wählen Sie Motion-JPEG oder eine niedrigere Bildrate.</translation>
    </message>
    <message>
        <source>At this size, at most %1 fps fits.</source>
        <translation>In dieser Größe passen höchstens %1 fps.</translation>
    </message>
    <message>
        <source>%1x%2 at %3 fps (%4) needs about %5 MB/s, more than the camera&apos;s %6 link carries (about %7 MB/s).</source>
        <translation>%1x%2 mit %3 fps (%4) braucht etwa %5 MB/s, mehr als die %6-Verbindung der Kamera trägt (etwa %7 MB/s).</translation>
    </message>
</context>
<context>
    <name>BenchToolsController</name>
    <message>
        <source>Ctrl+D</source>
        <translation>Ctrl+D</translation>
    </message>
    <message>
        <source>Ctrl+F</source>
        <translation>Ctrl+F</translation>
    </message>
    <message>
        <source>Ctrl+H</source>
        <translation>Ctrl+H</translation>
    </message>
    <message>
        <source>Ctrl+G</source>
        <translation>Ctrl+G</translation>
    </message>
    <message>
        <source>Ctrl++</source>
        <translation>Ctrl++</translation>
    </message>
    <message>
        <source>Ctrl+=</source>
        <translation>Ctrl+=</translation>
    </message>
    <message>
        <source>Ctrl+-</source>
        <translation>Ctrl+-</translation>
    </message>
    <message>
        <source>Ctrl+1</source>
        <translation>Ctrl+1</translation>
    </message>
    <message>
        <source>Ctrl+0</source>
        <translation>Ctrl+0</translation>
    </message>
    <message>
        <source>Alt+Left</source>
        <translation>Alt+Left</translation>
    </message>
    <message>
        <source>Alt+Right</source>
        <translation>Alt+Right</translation>
    </message>
    <message>
        <source>Alt+Up</source>
        <translation>Alt+Up</translation>
    </message>
    <message>
        <source>Alt+Down</source>
        <translation>Alt+Down</translation>
    </message>
    <message>
        <source>Alt+Shift+Left</source>
        <translation>Alt+Shift+Left</translation>
    </message>
    <message>
        <source>Alt+Shift+Right</source>
        <translation>Alt+Shift+Right</translation>
    </message>
    <message>
        <source>Alt+Shift+Up</source>
        <translation>Alt+Shift+Up</translation>
    </message>
    <message>
        <source>Alt+Shift+Down</source>
        <translation>Alt+Shift+Down</translation>
    </message>
    <message>
        <source>%1 mm per pixel, %2 pixels per mm</source>
        <translation>%1 mm pro Pixel, %2 Pixel pro mm</translation>
    </message>
    <message>
        <source>Click two points a known distance apart, then enter it.</source>
        <translation>Klicken Sie zwei Punkte in bekanntem Abstand an und geben Sie ihn dann ein.</translation>
    </message>
</context>
<context>
    <name>BenchToolsWindow</name>
    <message>
        <source>Bench Tools</source>
        <translation>Messwerkzeuge</translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <translation>Diagnose</translation>
    </message>
    <message>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation>Belichtung</translation>
    </message>
    <message>
        <source>Overlays</source>
        <translation>Einblendungen</translation>
    </message>
    <message>
        <source>Start the camera to see what it delivers.</source>
        <translation>Starten Sie die Kamera, um zu sehen, was sie liefert.</translation>
    </message>
    <message>
        <source>Reset best</source>
        <translation>Bestwert zurücksetzen</translation>
    </message>
    <message>
        <source>Mark sharp edges (focus peaking)</source>
        <translation>Scharfe Kanten markieren (Fokus-Peaking)</translation>
    </message>
    <message>
        <source>Sharpness:</source>
        <translation>Schärfe:</translation>
    </message>
    <message>
        <source>Best so far:</source>
        <translation>Bisher bester Wert:</translation>
    </message>
    <message>
        <source>Region (around the crosshair):</source>
        <translation>Bereich (um das Fadenkreuz):</translation>
    </message>
    <message>
        <source>Crosshair (drag it, or Alt+arrow keys)</source>
        <translation>Fadenkreuz (ziehen oder Alt+Pfeiltasten)</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Raster</translation>
    </message>
    <message>
        <source>Grid columns</source>
        <translation>Rasterspalten</translation>
    </message>
    <message>
        <source>Grid rows</source>
        <translation>Rasterzeilen</translation>
    </message>
    <message>
        <source>Ruler</source>
        <translation>Lineal</translation>
    </message>
    <message>
        <source>Click two points…</source>
        <translation>Zwei Punkte anklicken…</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>Distance between the two points</source>
        <translation>Abstand zwischen den beiden Punkten</translation>
    </message>
    <message>
        <source>Burn the marks into snapshots</source>
        <translation>Markierungen in Schnappschüsse einbrennen</translation>
    </message>
    <message>
        <source>Distance between the points:</source>
        <translation>Abstand der Punkte:</translation>
    </message>
</context>
<context>
    <name>CameraChoice</name>
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
        <source>ostrel: cannot write %1: %2</source>
        <translation>ostrel: %1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
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
        <source>Not a format: %1 (expected WIDTHxHEIGHT@FPS[:FOURCC])</source>
        <translation>Kein gültiges Format: %1 (erwartet: BREITExHÖHE@FPS[:FOURCC])</translation>
    </message>
    <message>
        <source>Not a duration in seconds: %1</source>
        <translation>Keine gültige Dauer in Sekunden: %1</translation>
    </message>
    <message>
        <source>The file name is empty.</source>
        <translation>Der Dateiname ist leer.</translation>
    </message>
    <message>
        <source>Record Motion-JPEG (into .avi) or H.264 (into .mkv or .mp4). Default: H.264 for .mkv and .mp4, Motion-JPEG otherwise.</source>
        <translation>Motion-JPEG (in .avi) oder H.264 (in .mkv oder .mp4) aufnehmen. Standard: H.264 für .mkv und .mp4, sonst Motion-JPEG.</translation>
    </message>
    <message>
        <source>Start a new numbered file every SECONDS of recording.</source>
        <translation>Alle SEKUNDEN Aufnahme eine neue, nummerierte Datei beginnen.</translation>
    </message>
    <message>
        <source>Record a time-lapse: one frame every SECONDS.</source>
        <translation>Einen Zeitraffer aufnehmen: ein Bild alle SEKUNDEN.</translation>
    </message>
    <message>
        <source>Play the time-lapse at FPS (default 30).</source>
        <translation>Den Zeitraffer mit FPS abspielen (Standard 30).</translation>
    </message>
    <message>
        <source>FPS</source>
        <translation>FPS</translation>
    </message>
    <message>
        <source>Stop recording once the files hold MB megabytes.</source>
        <translation>Die Aufnahme beenden, sobald die Dateien MB Megabyte enthalten.</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>MB</translation>
    </message>
    <message>
        <source>Stop recording before the free space falls below MB megabytes; 0 for never (default: the settings&apos;, 1024).</source>
        <translation>Die Aufnahme beenden, bevor der freie Speicher unter MB Megabyte fällt; 0 für nie (Standard: der Wert der Einstellungen, 1024).</translation>
    </message>
    <message>
        <source>Watch the camera for the duration (10 seconds unless given) without a window and print what it really delivers.</source>
        <translation>Die Kamera für die Dauer (sofern nicht angegeben 10 Sekunden) ohne Fenster beobachten und ausgeben, was sie wirklich liefert.</translation>
    </message>
    <message>
        <source>Not a positive number for --%1: %2</source>
        <translation>Keine positive Zahl für --%1: %2</translation>
    </message>
    <message>
        <source>--%1 needs --record.</source>
        <translation>--%1 erfordert --record.</translation>
    </message>
    <message>
        <source>--timelapse-rate needs --timelapse.</source>
        <translation>--timelapse-rate erfordert --timelapse.</translation>
    </message>
    <message>
        <source>--codec needs --record.</source>
        <translation>--codec erfordert --record.</translation>
    </message>
    <message>
        <source>Not a codec: %1 (expected mjpeg or h264)</source>
        <translation>Kein Codec: %1 (erwartet: mjpeg oder h264)</translation>
    </message>
    <message>
        <source>H.264 is recorded into .mkv or .mp4 files, not %1</source>
        <translation>H.264 wird in .mkv- oder .mp4-Dateien aufgenommen, nicht in %1</translation>
    </message>
    <message>
        <source>Motion-JPEG is recorded into .avi files, not %1</source>
        <translation>Motion-JPEG wird in .avi-Dateien aufgenommen, nicht in %1</translation>
    </message>
    <message>
        <source>Send the picture to a media server at URL (rtmp://, rtsp:// or srt://) without a window, with or without --record.</source>
        <translation>Das Bild ohne Fenster an einen Medienserver unter URL senden (rtmp://, rtsp:// oder srt://), mit oder ohne --record.</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>Stop recording or publishing, or watching with --diagnose, after this many seconds.</source>
        <translation>Die Aufnahme oder Übertragung, oder das Beobachten mit --diagnose, nach so vielen Sekunden beenden.</translation>
    </message>
    <message>
        <source>Print the sound sources, one per line, the camera&apos;s microphone first, and exit.</source>
        <translation>Die Tonquellen ausgeben, eine pro Zeile, das Mikrofon der Kamera zuerst, und beenden.</translation>
    </message>
    <message>
        <source>Record sound from SOURCE (a name from --list-audio), the default source, the camera&apos;s microphone or none. Default: the camera&apos;s microphone if it has one.</source>
        <translation>Ton von SOURCE (ein Name aus --list-audio), von der Standardquelle, vom Mikrofon der Kamera oder keinen aufnehmen. Standard: das Mikrofon der Kamera, falls sie eines hat.</translation>
    </message>
    <message>
        <source>The sound&apos;s codec in .mkv and .mp4 files (default: the settings&apos;, AAC); .avi files hold PCM.</source>
        <translation>Der Codec des Tons in .mkv- und .mp4-Dateien (Standard: der Wert der Einstellungen, AAC); .avi-Dateien enthalten PCM.</translation>
    </message>
    <message>
        <source>Serve the live picture (/stream.mjpg, /snapshot.jpg) and the remote control (/api/) over HTTP on PORT, on 127.0.0.1 unless ADDRESS is given; without a window, alone or while recording.</source>
        <translation>Das Livebild (/stream.mjpg, /snapshot.jpg) und die Fernsteuerung (/api/) per HTTP an PORT bereitstellen, auf 127.0.0.1, sofern keine ADRESSE angegeben ist; ohne Fenster, allein oder während einer Aufnahme.</translation>
    </message>
    <message>
        <source>[ADDRESS:]PORT</source>
        <translation>[ADRESSE:]PORT</translation>
    </message>
    <message>
        <source>The token every request to --serve must carry (Authorization: Bearer TOKEN); needed off 127.0.0.1.</source>
        <translation>Das Token, das jede Anfrage an --serve mitführen muss (Authorization: Bearer TOKEN); nötig außerhalb von 127.0.0.1.</translation>
    </message>
    <message>
        <source>TOKEN</source>
        <translation>TOKEN</translation>
    </message>
    <message>
        <source>Choose only one of --list-cameras, --list-formats, --list-audio, --record, --snapshot and --diagnose.</source>
        <translation>Wählen Sie nur eine der Optionen --list-cameras, --list-formats, --list-audio, --record, --snapshot und --diagnose.</translation>
    </message>
    <message>
        <source>--publish goes alone or with --record.</source>
        <translation>--publish ist nur allein oder mit --record möglich.</translation>
    </message>
    <message>
        <source>--duration needs --record, --publish, --serve or --diagnose.</source>
        <translation>--duration erfordert --record, --publish, --serve oder --diagnose.</translation>
    </message>
    <message>
        <source>The sound source is empty.</source>
        <translation>Die Tonquelle ist leer.</translation>
    </message>
    <message>
        <source>Not a sound codec: %1 (expected aac or opus)</source>
        <translation>Kein Ton-Codec: %1 (erwartet: aac oder opus)</translation>
    </message>
    <message>
        <source>--serve goes alone or with --record.</source>
        <translation>--serve ist nur allein oder mit --record möglich.</translation>
    </message>
    <message>
        <source>Not an address and port to serve on: %1 (expected [ADDRESS:]PORT)</source>
        <translation>Keine Adresse und kein Port zum Bereitstellen: %1 (erwartet: [ADRESSE:]PORT)</translation>
    </message>
    <message>
        <source>--token needs --serve.</source>
        <translation>--token erfordert --serve.</translation>
    </message>
    <message>
        <source>The token is empty.</source>
        <translation>Das Token ist leer.</translation>
    </message>
</context>
<context>
    <name>CommandLineSession</name>
    <message>
        <source>The camera delivered no picture.</source>
        <translation>Die Kamera hat kein Bild geliefert.</translation>
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
        <source>ostrel: warning: %1</source>
        <translation>ostrel: Warnung: %1</translation>
    </message>
    <message>
        <source>Recording paused</source>
        <translation>Aufnahme angehalten</translation>
    </message>
    <message>
        <source>Recording resumed</source>
        <translation>Aufnahme fortgesetzt</translation>
    </message>
    <message>
        <source>The recording reached its size limit and was stopped.</source>
        <translation>Die Aufnahme hat ihre Größengrenze erreicht und wurde beendet.</translation>
    </message>
    <message>
        <source>The recording was stopped: the disk is nearly full.</source>
        <translation>Die Aufnahme wurde beendet: Der Datenträger ist fast voll.</translation>
    </message>
    <message>
        <source>The camera was disconnected (%1); the time-lapse goes on when it returns.</source>
        <translation>Die Kamera wurde getrennt (%1); der Zeitraffer geht weiter, sobald sie zurückkehrt.</translation>
    </message>
    <message>
        <source>The camera is back; the time-lapse goes on.</source>
        <translation>Die Kamera ist zurück; der Zeitraffer geht weiter.</translation>
    </message>
    <message>
        <source>Serving on http://%1:%2/</source>
        <translation>Bereitstellung unter http://%1:%2/</translation>
    </message>
    <message>
        <source>Stream: %1</source>
        <translation>Stream: %1</translation>
    </message>
    <message>
        <source>Stream: %1 (%2)</source>
        <translation>Stream: %1 (%2)</translation>
    </message>
    <message>
        <source>cannot publish to %1: %2</source>
        <translation>Übertragung an %1 nicht möglich: %2</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message numerus="yes">
        <source>; stream %1: %n frame(s) sent, %2 dropped</source>
        <translation>
            <numerusform>; Stream %1: %n Bild gesendet, %2 verworfen</numerusform>
            <numerusform>; Stream %1: %n Bilder gesendet, %2 verworfen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CommandLineSound</name>
    <message>
        <source>mono</source>
        <translation>mono</translation>
    </message>
    <message>
        <source>stereo</source>
        <translation>stereo</translation>
    </message>
    <message>
        <source>ostrel: no sound server: %1</source>
        <translation>ostrel: kein Tonserver: %1</translation>
    </message>
    <message>
        <source>%1	%2 (%3 Hz, %4)</source>
        <translation>%1	%2 (%3 Hz, %4)</translation>
    </message>
    <message>
        <source>the camera&apos;s microphone</source>
        <translation>das Mikrofon der Kamera</translation>
    </message>
    <message>
        <source>default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>ostrel: warning: no sound server (%1); recording without sound</source>
        <translation>ostrel: Warnung: kein Tonserver (%1); Aufnahme ohne Ton</translation>
    </message>
    <message>
        <source>ostrel: no such sound source: %1 (see --list-audio)</source>
        <translation>ostrel: Tonquelle nicht vorhanden: %1 (siehe --list-audio)</translation>
    </message>
    <message>
        <source>Sound: %1 (%2 Hz, %3)</source>
        <translation>Ton: %1 (%2 Hz, %3)</translation>
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
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Pause/resume the recording (Ctrl+P)</source>
        <translation>Aufnahme anhalten/fortsetzen (Ctrl+P)</translation>
    </message>
    <message>
        <source>Publish</source>
        <translation>Übertragen</translation>
    </message>
</context>
<context>
    <name>DiagnosticsReport</name>
    <message>
        <source>Requested: %1x%2 at %3 fps (%4)</source>
        <translation>Angefordert: %1x%2 mit %3 fps (%4)</translation>
    </message>
    <message>
        <source>Delivered: %1 fps</source>
        <translation>Geliefert: %1 fps</translation>
    </message>
    <message>
        <source>Frame interval: median %1 ms, 95%: %2 ms, 99%: %3 ms, max %4 ms</source>
        <translation>Bildabstand: Median %1 ms, 95 %: %2 ms, 99 %: %3 ms, Maximum %4 ms</translation>
    </message>
    <message>
        <source>Frames made by the camera: %1, taken: %2</source>
        <translation>Von der Kamera erzeugte Bilder: %1, übernommen: %2</translation>
    </message>
    <message>
        <source>Lost in the driver or on the bus: %1</source>
        <translation>Im Treiber oder auf dem Bus verloren: %1</translation>
    </message>
    <message>
        <source>Refused as damaged: %1</source>
        <translation>Als beschädigt verworfen: %1</translation>
    </message>
    <message>
        <source>Missed by the program: %1</source>
        <translation>Vom Programm verpasst: %1</translation>
    </message>
    <message>
        <source>Not shown (a newer frame came first): %1</source>
        <translation>Nicht angezeigt (ein neueres Bild kam zuerst): %1</translation>
    </message>
    <message>
        <source>Not recorded: %1</source>
        <translation>Nicht aufgenommen: %1</translation>
    </message>
    <message>
        <source>Compressed frames: %1 KB each on average, %2 Mbit/s</source>
        <translation>Komprimierte Bilder: im Mittel je %1 KB, %2 Mbit/s</translation>
    </message>
    <message>
        <source>USB port %1, %2; this mode needs about %3 MB/s of about %4 MB/s</source>
        <translation>USB-Anschluss %1, %2; dieser Modus braucht etwa %3 MB/s von etwa %4 MB/s</translation>
    </message>
    <message>
        <source>USB: not a USB camera, or its port could not be found</source>
        <translation>USB: keine USB-Kamera, oder ihr Anschluss wurde nicht gefunden</translation>
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
    <name>H264PassThroughWriter</name>
    <message>
        <source>Error finishing the file: %1</source>
        <translation>Fehler beim Abschließen der Datei: %1</translation>
    </message>
    <message>
        <source>Not enough free space to record: %1 MB left</source>
        <translation>Nicht genug freier Speicher für die Aufnahme: %1 MB frei</translation>
    </message>
    <message>
        <source>No keyframe came from the camera: nothing was recorded</source>
        <translation>Von der Kamera kam kein Schlüsselbild: Es wurde nichts aufgenommen</translation>
    </message>
    <message>
        <source>Failed to open video writer for: %1 (%2)</source>
        <translation>Videoschreiber konnte nicht geöffnet werden für: %1 (%2)</translation>
    </message>
    <message>
        <source>Error writing frame: %1</source>
        <translation>Fehler beim Schreiben eines Bildes: %1</translation>
    </message>
    <message>
        <source>Error writing sound: %1</source>
        <translation>Fehler beim Schreiben des Tons: %1</translation>
    </message>
</context>
<context>
    <name>HistogramPlot</name>
    <message>
        <source>Histogram of luma and colours</source>
        <translation>Histogramm von Helligkeit und Farben</translation>
    </message>
    <message>
        <source>Clipped: %1 % dark, %2 % light</source>
        <translation>Beschnitten: %1 % dunkel, %2 % hell</translation>
    </message>
</context>
<context>
    <name>HttpServer</name>
    <message>
        <source>The request did not arrive in time.</source>
        <translation>Die Anfrage kam nicht rechtzeitig an.</translation>
    </message>
    <message>
        <source>A valid token is needed (Authorization: Bearer TOKEN).</source>
        <translation>Ein gültiges Token ist erforderlich (Authorization: Bearer TOKEN).</translation>
    </message>
    <message>
        <source>The request head is too large.</source>
        <translation>Der Kopf der Anfrage ist zu groß.</translation>
    </message>
    <message>
        <source>Not an HTTP request.</source>
        <translation>Keine HTTP-Anfrage.</translation>
    </message>
    <message>
        <source>A malformed header line.</source>
        <translation>Eine fehlerhafte Kopfzeile.</translation>
    </message>
    <message>
        <source>A body must come with its Content-Length.</source>
        <translation>Zu einem Rumpf gehört seine Content-Length.</translation>
    </message>
    <message>
        <source>A malformed Content-Length.</source>
        <translation>Eine fehlerhafte Content-Length.</translation>
    </message>
    <message>
        <source>The request body is larger than %1 bytes.</source>
        <translation>Der Rumpf der Anfrage ist größer als %1 Bytes.</translation>
    </message>
</context>
<context>
    <name>IntervalPlot</name>
    <message>
        <source>Frame intervals of the last ten seconds</source>
        <translation>Bildabstände der letzten zehn Sekunden</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>0 ms</source>
        <translation>0 ms</translation>
    </message>
    <message>
        <source>%1 s ago</source>
        <translation>vor %1 s</translation>
    </message>
    <message>
        <source>now</source>
        <translation>jetzt</translation>
    </message>
</context>
<context>
    <name>LevelMeter</name>
    <message>
        <source>Sound level</source>
        <translation>Tonpegel</translation>
    </message>
    <message>
        <source>Loudness of the sound being recorded</source>
        <translation>Lautstärke des aufgenommenen Tons</translation>
    </message>
    <message>
        <source>Silent</source>
        <translation>Stille</translation>
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
    <message>
        <source>Camera disconnected: the time-lapse goes on when it returns</source>
        <translation>Kamera getrennt: Der Zeitraffer geht weiter, sobald sie zurückkehrt</translation>
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
    <name>OverlayPainter</name>
    <message>
        <source>%1 mm</source>
        <translation>%1 mm</translation>
    </message>
</context>
<context>
    <name>PublishController</name>
    <message>
        <source>Set the address to publish to in the settings first</source>
        <translation>Legen Sie zuerst in den Einstellungen die Adresse für die Übertragung fest</translation>
    </message>
    <message>
        <source>Publish</source>
        <translation>Übertragen</translation>
    </message>
    <message>
        <source>Send the picture to the media server set in the settings</source>
        <translation>Das Bild an den in den Einstellungen festgelegten Medienserver senden</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>Verbindet…</translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation>Verbindung mit %1 wird hergestellt</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>Live at %1; click to stop</source>
        <translation>Live unter %1; zum Beenden klicken</translation>
    </message>
    <message>
        <source>Reconnecting…</source>
        <translation>Verbindet erneut…</translation>
    </message>
    <message>
        <source>The server was lost (%1); trying again every second</source>
        <translation>Die Verbindung zum Server ist verloren (%1); neuer Versuch jede Sekunde</translation>
    </message>
    <message>
        <source>Publishing failed: %1</source>
        <translation>Übertragung fehlgeschlagen: %1</translation>
    </message>
</context>
<context>
    <name>Publisher</name>
    <message>
        <source>No address to publish to: give an rtmp://, rtsp:// or srt:// address</source>
        <translation>Keine Adresse für die Übertragung: Geben Sie eine rtmp://-, rtsp://- oder srt://-Adresse an</translation>
    </message>
    <message>
        <source>Not a valid address to publish to: %1</source>
        <translation>Keine gültige Adresse für die Übertragung: %1</translation>
    </message>
    <message>
        <source>Cannot publish to %1: use an rtmp://, rtsp:// or srt:// address</source>
        <translation>Übertragung an %1 nicht möglich: Verwenden Sie eine rtmp://-, rtsp://- oder srt://-Adresse</translation>
    </message>
    <message>
        <source>connecting</source>
        <translation>verbindet</translation>
    </message>
    <message>
        <source>live</source>
        <translation>live</translation>
    </message>
    <message>
        <source>reconnecting</source>
        <translation>verbindet erneut</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>beendet</translation>
    </message>
</context>
<context>
    <name>PulseAudioSource</name>
    <message>
        <source>the sound client could not be started</source>
        <translation>der Ton-Client konnte nicht gestartet werden</translation>
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
    <message>
        <source>Video Files (*.%1)</source>
        <translation>Videodateien (*.%1)</translation>
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
        <source>Resume</source>
        <translation>Fortsetzen</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Angehalten</translation>
    </message>
    <message numerus="yes">
        <source>%n frame(s)</source>
        <translation>
            <numerusform>%n Bild</numerusform>
            <numerusform>%n Bilder</numerusform>
        </translation>
    </message>
    <message>
        <source>waiting for the camera</source>
        <translation>wartet auf die Kamera</translation>
    </message>
    <message>
        <source>next in %1 s</source>
        <translation>nächstes in %1 s</translation>
    </message>
    <message>
        <source>over 99 hours left</source>
        <translation>über 99 Stunden übrig</translation>
    </message>
    <message>
        <source>%1:%2 left</source>
        <translation>%1:%2 übrig</translation>
    </message>
    <message>
        <source>The recording reached its size limit and was stopped.</source>
        <translation>Die Aufnahme hat ihre Größengrenze erreicht und wurde beendet.</translation>
    </message>
    <message>
        <source>The recording was stopped: the disk is nearly full.</source>
        <translation>Die Aufnahme wurde beendet: Der Datenträger ist fast voll.</translation>
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
    <name>RecordingSettingsGroup</name>
    <message>
        <source>Recording Settings</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Motion-JPEG keeps the camera&apos;s own pictures and plays everywhere; H.264 files are several times smaller</source>
        <translation>Motion-JPEG behält die Bilder der Kamera und lässt sich überall abspielen; H.264-Dateien sind um ein Vielfaches kleiner</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>Start a new numbered file every so many minutes</source>
        <translation>Alle so viele Minuten eine neue, nummerierte Datei beginnen</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Record a time-lapse: one frame every so many seconds, played at 30 fps</source>
        <translation>Einen Zeitraffer aufnehmen: ein Bild alle so viele Sekunden, abgespielt mit 30 fps</translation>
    </message>
    <message>
        <source> MB</source>
        <translation> MB</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Keine Grenze</translation>
    </message>
    <message>
        <source>Stop the recording once its files hold this much</source>
        <translation>Die Aufnahme beenden, sobald ihre Dateien so viel enthalten</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Stop the recording before the free space on the disk falls below this</source>
        <translation>Die Aufnahme beenden, bevor der freie Speicher auf dem Datenträger darunter fällt</translation>
    </message>
    <message>
        <source>Recording format:</source>
        <translation>Aufnahmeformat:</translation>
    </message>
    <message>
        <source>Start a new file every:</source>
        <translation>Neue Datei beginnen alle:</translation>
    </message>
    <message>
        <source>Time-lapse, one frame every:</source>
        <translation>Zeitraffer, ein Bild alle:</translation>
    </message>
    <message>
        <source>Stop at a size of:</source>
        <translation>Beenden bei einer Größe von:</translation>
    </message>
    <message>
        <source>Keep free on the disk:</source>
        <translation>Auf dem Datenträger frei lassen:</translation>
    </message>
    <message>
        <source>Motion-JPEG AVI (about %1 MB per minute at 1080p30)</source>
        <translation>Motion-JPEG AVI (etwa %1 MB pro Minute bei 1080p30)</translation>
    </message>
    <message>
        <source>H.264 MKV (about %1 MB per minute at 1080p30)</source>
        <translation>H.264 MKV (etwa %1 MB pro Minute bei 1080p30)</translation>
    </message>
    <message>
        <source>H.264 MP4 (about %1 MB per minute at 1080p30)</source>
        <translation>H.264 MP4 (etwa %1 MB pro Minute bei 1080p30)</translation>
    </message>
</context>
<context>
    <name>RemoteApi</name>
    <message>
        <source>The body is not a JSON object.</source>
        <translation>Der Rumpf ist kein JSON-Objekt.</translation>
    </message>
    <message>
        <source>%1 is not allowed here.</source>
        <translation>%1 ist hier nicht erlaubt.</translation>
    </message>
    <message>
        <source>No such path: /api/%1</source>
        <translation>Pfad nicht vorhanden: /api/%1</translation>
    </message>
    <message>
        <source>No recording is running.</source>
        <translation>Es läuft keine Aufnahme.</translation>
    </message>
    <message>
        <source>The camera cannot change while recording.</source>
        <translation>Die Kamera kann während einer Aufnahme nicht gewechselt werden.</translation>
    </message>
    <message>
        <source>No such camera.</source>
        <translation>Kamera nicht vorhanden.</translation>
    </message>
    <message>
        <source>The camera could not be opened.</source>
        <translation>Die Kamera konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>No such format.</source>
        <translation>Format nicht vorhanden.</translation>
    </message>
    <message>
        <source>The camera is not running.</source>
        <translation>Die Kamera läuft nicht.</translation>
    </message>
    <message>
        <source>A recording is already running.</source>
        <translation>Es läuft bereits eine Aufnahme.</translation>
    </message>
    <message>
        <source>The camera has delivered no picture yet.</source>
        <translation>Die Kamera hat noch kein Bild geliefert.</translation>
    </message>
    <message>
        <source>A recording is an .avi, .mkv or .mp4 file.</source>
        <translation>Eine Aufnahme ist eine .avi-, .mkv- oder .mp4-Datei.</translation>
    </message>
    <message>
        <source>The recording could not be started.</source>
        <translation>Die Aufnahme konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>&quot;paused&quot; must be true or false.</source>
        <translation>&quot;paused&quot; muss true oder false sein.</translation>
    </message>
    <message>
        <source>The camera has no control %1.</source>
        <translation>Die Kamera hat keine Einstellung %1.</translation>
    </message>
    <message>
        <source>%1 takes a number or &quot;auto&quot;.</source>
        <translation>%1 erwartet eine Zahl oder &quot;auto&quot;.</translation>
    </message>
    <message>
        <source>The camera refused %1.</source>
        <translation>Die Kamera hat %1 abgelehnt.</translation>
    </message>
    <message>
        <source>No such profile: %1</source>
        <translation>Profil nicht vorhanden: %1</translation>
    </message>
</context>
<context>
    <name>RemoteServer</name>
    <message>
        <source>Serving on %1 needs a token (--token or the settings&apos; remote token).</source>
        <translation>Die Bereitstellung auf %1 erfordert ein Token (--token oder das Fernsteuerungs-Token der Einstellungen).</translation>
    </message>
    <message>
        <source>Cannot serve on %1 port %2: %3</source>
        <translation>Bereitstellung auf %1 Port %2 nicht möglich: %3</translation>
    </message>
    <message>
        <source>Only GET is allowed here.</source>
        <translation>Hier ist nur GET erlaubt.</translation>
    </message>
    <message>
        <source>No such path: %1</source>
        <translation>Pfad nicht vorhanden: %1</translation>
    </message>
    <message>
        <source>The camera is not running.</source>
        <translation>Die Kamera läuft nicht.</translation>
    </message>
    <message>
        <source>The camera delivered no picture.</source>
        <translation>Die Kamera hat kein Bild geliefert.</translation>
    </message>
    <message>
        <source>Not an address to serve on: %1</source>
        <translation>Keine Adresse zum Bereitstellen: %1</translation>
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
    <message>
        <source>Publish to: rtmp://, rtsp:// or srt:// address</source>
        <translation>Übertragen an: rtmp://-, rtsp://- oder srt://-Adresse</translation>
    </message>
    <message>
        <source>The media server the Publish button sends the picture to</source>
        <translation>Der Medienserver, an den die Schaltfläche „Übertragen“ das Bild sendet</translation>
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
    <name>SoundCapture</name>
    <message>
        <source>Sound: no sound server (%1); recordings have no sound</source>
        <translation>Ton: kein Tonserver (%1); Aufnahmen haben keinen Ton</translation>
    </message>
    <message>
        <source>Sound: %1 could not be recorded (%2); the recording has no sound</source>
        <translation>Ton: %1 konnte nicht aufgenommen werden (%2); die Aufnahme hat keinen Ton</translation>
    </message>
    <message>
        <source>Sound: %1 was lost (%2); the recording goes on with silence</source>
        <translation>Ton: %1 ist verloren gegangen (%2); die Aufnahme läuft mit Stille weiter</translation>
    </message>
</context>
<context>
    <name>SoundSettingsGroup</name>
    <message>
        <source>Sound</source>
        <translation>Ton</translation>
    </message>
    <message>
        <source>Where recordings of this camera take their sound from</source>
        <translation>Woher Aufnahmen dieser Kamera ihren Ton nehmen</translation>
    </message>
    <message>
        <source>AAC</source>
        <translation>AAC</translation>
    </message>
    <message>
        <source>Opus</source>
        <translation>Opus</translation>
    </message>
    <message>
        <source>The sound&apos;s codec in MKV and MP4 files; AVI files hold it uncompressed</source>
        <translation>Der Codec des Tons in MKV- und MP4-Dateien; AVI-Dateien enthalten ihn unkomprimiert</translation>
    </message>
    <message>
        <source>Asking the sound server for its sources…</source>
        <translation>Tonquellen werden beim Tonserver abgefragt…</translation>
    </message>
    <message>
        <source>Sound source:</source>
        <translation>Tonquelle:</translation>
    </message>
    <message>
        <source>Sound codec:</source>
        <translation>Ton-Codec:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>The camera&apos;s microphone (%1)</source>
        <translation>Mikrofon der Kamera (%1)</translation>
    </message>
    <message>
        <source>The camera&apos;s microphone</source>
        <translation>Mikrofon der Kamera</translation>
    </message>
    <message>
        <source>The default source</source>
        <translation>Standardquelle</translation>
    </message>
    <message>
        <source>No sound server (%1): recordings have no sound.</source>
        <translation>Kein Tonserver (%1): Aufnahmen haben keinen Ton.</translation>
    </message>
    <message>
        <source>%1 (not connected)</source>
        <translation>%1 (nicht angeschlossen)</translation>
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
    <name>StreamConnection</name>
    <message>
        <source>Connection timed out: no answer within %1 s</source>
        <translation>Zeitüberschreitung der Verbindung: keine Antwort innerhalb von %1 s</translation>
    </message>
</context>
<context>
    <name>UsbLink</name>
    <message>
        <source>%1 Gbit/s</source>
        <translation>%1 Gbit/s</translation>
    </message>
    <message>
        <source>%1 Mbit/s</source>
        <translation>%1 Mbit/s</translation>
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
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
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
