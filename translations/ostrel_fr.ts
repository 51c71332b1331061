<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AudioSourceList</name>
    <message>
        <source>the sound client could not be started</source>
        <translation>le client audio n’a pas pu être démarré</translation>
    </message>
    <message>
        <source>the sound server did not answer</source>
        <translation>le serveur de son n’a pas répondu</translation>
    </message>
</context>
<context>
    <name>BandwidthEstimate</name>
    <message>
        <source>Choose a smaller size or a lower frame rate.</source>
        <translation>Choisissez une taille plus petite ou une fréquence d’images plus basse.</translation>
    </message>
    <message>
        <source>Choose Motion-JPEG or a lower frame rate.</source>
        <translation>Choisissez Motion-JPEG ou une fréquence d’images plus basse.</translation>
    </message>
    <message>
        <source>At this size, at most %1 fps fits.</source>
        <translation>À cette taille, %1 i/s au plus passent.</translation>
    </message>
    <message>
        <source>%1x%2 at %3 fps (%4) needs about %5 MB/s, more than the camera&apos;s %6 link carries (about %7 MB/s).</source>
        <translation>%1x%2 à %3 i/s (%4) demande environ %5 Mo/s, plus que ne porte la liaison %6 de la caméra (environ %7 Mo/s).</translation>
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
        <translation>%1 mm par pixel, %2 pixels par mm</translation>
    </message>
    <message>
        <source>Click two points a known distance apart, then enter it.</source>
        <translation>Cliquez deux points à une distance connue, puis saisissez-la.</translation>
    </message>
</context>
<context>
    <name>BenchToolsWindow</name>
    <message>
        <source>Bench Tools</source>
        <translation>Outils de banc</translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <translation>Diagnostic</translation>
    </message>
    <message>
        <source>Focus</source>
        <translation>Mise au point</translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation>Exposition</translation>
    </message>
    <message>
        <source>Overlays</source>
        <translation>Repères</translation>
    </message>
    <message>
        <source>Start the camera to see what it delivers.</source>
        <translation>Démarrez la caméra pour voir ce qu’elle fournit.</translation>
    </message>
    <message>
        <source>Reset best</source>
        <translation>Réinitialiser le meilleur</translation>
    </message>
    <message>
        <source>Mark sharp edges (focus peaking)</source>
        <translation>Marquer les bords nets (focus peaking)</translation>
    </message>
    <message>
        <source>Sharpness:</source>
        <translation>Netteté :</translation>
    </message>
    <message>
        <source>Best so far:</source>
        <translation>Meilleure jusqu’ici :</translation>
    </message>
    <message>
        <source>Region (around the crosshair):</source>
        <translation>Zone (autour du réticule) :</translation>
    </message>
    <message>
        <source>Crosshair (drag it, or Alt+arrow keys)</source>
        <translation>Réticule (glissez-le, ou Alt+flèches)</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Grille</translation>
    </message>
    <message>
        <source>Grid columns</source>
        <translation>Colonnes de la grille</translation>
    </message>
    <message>
        <source>Grid rows</source>
        <translation>Lignes de la grille</translation>
    </message>
    <message>
        <source>Ruler</source>
        <translation>Règle</translation>
    </message>
    <message>
        <source>Click two points…</source>
        <translation>Cliquez deux points…</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>Distance between the two points</source>
        <translation>Distance entre les deux points</translation>
    </message>
    <message>
        <source>Burn the marks into snapshots</source>
        <translation>Incruster les repères dans les instantanés</translation>
    </message>
    <message>
        <source>Distance between the points:</source>
        <translation>Distance entre les points :</translation>
    </message>
</context>
<context>
    <name>CameraChoice</name>
    <message>
        <source>ostrel: no camera found</source>
        <translation>ostrel: aucune caméra trouvée</translation>
    </message>
    <message>
        <source>ostrel: no such camera: %1</source>
        <translation>ostrel: caméra introuvable&#xa0;: %1</translation>
    </message>
    <message>
        <source>ostrel: cannot open camera %1</source>
        <translation>ostrel: impossible d&apos;ouvrir la caméra %1</translation>
    </message>
    <message>
        <source>ostrel: %1 has no format %2x%3@%4%5</source>
        <translation>ostrel: %1 ne propose pas le format %2x%3@%4%5</translation>
    </message>
    <message>
        <source>ostrel: cannot write %1: %2</source>
        <translation>ostrel: impossible d&apos;écrire %1 : %2</translation>
    </message>
</context>
<context>
    <name>CameraControlsPanel</name>
    <message>
        <source>Camera Controls</source>
        <translation>Réglages de la caméra</translation>
    </message>
    <message>
        <source>Show or hide the camera&apos;s own controls</source>
        <translation>Afficher/masquer les réglages propres à la caméra</translation>
    </message>
    <message>
        <source>Start the camera to see its controls.</source>
        <translation>Démarrez la caméra pour voir ses réglages.</translation>
    </message>
    <message>
        <source>Reset all</source>
        <translation>Tout réinitialiser</translation>
    </message>
    <message>
        <source>Return every control of this section to the camera&apos;s default</source>
        <translation>Rétablir tous les réglages de cette section aux valeurs par défaut de la caméra</translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation>Exposition</translation>
    </message>
    <message>
        <source>Focus</source>
        <translation>Mise au point</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>White balance</source>
        <translation>Balance des blancs</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Luminosité</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contraste</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Teinte</translation>
    </message>
    <message>
        <source>Sharpness</source>
        <translation>Netteté</translation>
    </message>
    <message>
        <source>Backlight compensation</source>
        <translation>Compensation du contre-jour</translation>
    </message>
    <message>
        <source>Power-line frequency</source>
        <translation>Fréquence du secteur</translation>
    </message>
    <message>
        <source>%1:</source>
        <translation>%1&#xa0;:</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Désactivé</translation>
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
        <translation>Automatique</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Automatic %1</source>
        <translation>%1 automatique</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>The camera&apos;s saved control values</source>
        <translation>Les valeurs de réglage enregistrées de la caméra</translation>
    </message>
    <message>
        <source>&amp;Profile:</source>
        <translation>&amp;Profil :</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Enregistrer...</translation>
    </message>
    <message>
        <source>Save the camera&apos;s control values as a profile</source>
        <translation>Enregistrer les valeurs de réglage de la caméra comme profil</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Charger</translation>
    </message>
    <message>
        <source>Give the camera the profile&apos;s values</source>
        <translation>Donner à la caméra les valeurs du profil</translation>
    </message>
    <message>
        <source>Rename...</source>
        <translation>Renommer...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Apply on start</source>
        <translation>Appliquer au démarrage</translation>
    </message>
    <message>
        <source>Apply this profile whenever the camera starts or returns</source>
        <translation>Appliquer ce profil chaque fois que la caméra démarre ou revient</translation>
    </message>
    <message>
        <source>Keep my values</source>
        <translation>Garder mes valeurs</translation>
    </message>
    <message>
        <source>Put back values that another program changes</source>
        <translation>Rétablir les valeurs qu&apos;un autre programme modifie</translation>
    </message>
    <message>
        <source>Save Profile</source>
        <translation>Enregistrer le profil</translation>
    </message>
    <message>
        <source>Profile name:</source>
        <translation>Nom du profil :</translation>
    </message>
    <message>
        <source>Profile %1</source>
        <translation>Profil %1</translation>
    </message>
    <message>
        <source>The profile could not be saved. Use a name that is not empty; at most %1 profiles are kept.</source>
        <translation>Le profil n&apos;a pas pu être enregistré. Utilisez un nom non vide ; au plus %1 profils sont conservés.</translation>
    </message>
    <message>
        <source>Rename Profile</source>
        <translation>Renommer le profil</translation>
    </message>
    <message>
        <source>New name:</source>
        <translation>Nouveau nom :</translation>
    </message>
    <message>
        <source>The profile could not be renamed. Use a name that is not empty and not taken.</source>
        <translation>Le profil n&apos;a pas pu être renommé. Utilisez un nom non vide et pas encore pris.</translation>
    </message>
</context>
<context>
    <name>CameraMessages</name>
    <message>
        <source>The camera is no longer connected. Check its cable and plug it in again; it starts again by itself when it comes back.</source>
        <translation>La caméra n&apos;est plus connectée. Vérifiez son câble et rebranchez-la&#xa0;; elle redémarrera d&apos;elle-même dès qu&apos;elle sera de nouveau disponible.</translation>
    </message>
    <message>
        <source>Another program is using the camera. Close it (a video call, another camera viewer) and try again.</source>
        <translation>Un autre programme utilise la caméra. Fermez-le (un appel vidéo, une autre application de caméra) et réessayez.</translation>
    </message>
    <message>
        <source>You are not allowed to use the camera. Your user must be a member of the &quot;video&quot; group; log out and in again after adding it.</source>
        <translation>Vous n&apos;êtes pas autorisé à utiliser la caméra. Votre compte utilisateur doit être membre du groupe «&#xa0;video&#xa0;»&#xa0;; après l&apos;y avoir ajouté, fermez votre session puis rouvrez-la.</translation>
    </message>
    <message>
        <source>The chosen format is too large for the camera or its USB connection. Choose a smaller size or a lower frame rate, or use another USB port.</source>
        <translation>Le format choisi est trop exigeant pour la caméra ou sa connexion USB. Choisissez une résolution plus petite ou une fréquence d&apos;images plus basse, ou utilisez un autre port USB.</translation>
    </message>
    <message>
        <source>The camera refused the chosen format. Details are in the program&apos;s log.</source>
        <translation>La caméra a refusé le format choisi. Les détails se trouvent dans le journal du programme.</translation>
    </message>
    <message>
        <source>No cameras found.

Check that the camera is plugged in (try another cable or USB port),
that your user may use it (member of the &quot;video&quot; group),
and that no other program holds it.</source>
        <translation>Aucune caméra trouvée.

Vérifiez que la caméra est branchée (essayez un autre câble ou un autre port USB),
que votre compte utilisateur peut l&apos;utiliser (membre du groupe «&#xa0;video&#xa0;»)
et qu&apos;aucun autre programme ne l&apos;occupe.</translation>
    </message>
    <message>
        <source>Camera Error</source>
        <translation>Erreur de caméra</translation>
    </message>
    <message>
        <source>Frames of %1x%2 are larger than this program can hold (%3 MB each at most). Choose a smaller size.</source>
        <translation>Les images de %1x%2 sont plus grandes que ce que ce programme peut contenir (%3 Mo chacune au plus). Choisissez une taille plus petite.</translation>
    </message>
    <message>
        <source>Failed to start camera. Please check if another application is using it.</source>
        <translation>Impossible de démarrer la caméra. Vérifiez si une autre application l&apos;utilise.</translation>
    </message>
    <message>
        <source>Failed to start camera.</source>
        <translation>Impossible de démarrer la caméra.</translation>
    </message>
</context>
<context>
    <name>CameraSelection</name>
    <message>
        <source>Scanning for cameras...</source>
        <translation>Recherche de caméras...</translation>
    </message>
    <message>
        <source>No cameras found</source>
        <translation>Aucune caméra trouvée</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Look at, photograph and record the picture of a camera.</source>
        <translation>Afficher l&apos;image d&apos;une caméra, en prendre des instantanés et l&apos;enregistrer.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Afficher cette aide et quitter.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Afficher la version et quitter.</translation>
    </message>
    <message>
        <source>Print the cameras, one per line, and exit.</source>
        <translation>Afficher les caméras, une par ligne, et quitter.</translation>
    </message>
    <message>
        <source>Print the formats of CAMERA, one per line, and exit.</source>
        <translation>Afficher les formats de CAMÉRA, un par ligne, et quitter.</translation>
    </message>
    <message>
        <source>CAMERA</source>
        <translation>CAMÉRA</translation>
    </message>
    <message>
        <source>Use the camera with this name or position (from 0).</source>
        <translation>Utiliser la caméra portant ce nom ou à cette position (à partir de 0).</translation>
    </message>
    <message>
        <source>NAME|INDEX</source>
        <translation>NOM|INDEX</translation>
    </message>
    <message>
        <source>Use this format, e.g. 1280x720@30:MJPG.</source>
        <translation>Utiliser ce format, p. ex. 1280x720@30:MJPG.</translation>
    </message>
    <message>
        <source>WxH@FPS[:FOURCC]</source>
        <translation>LxH@FPS[:FOURCC]</translation>
    </message>
    <message>
        <source>Start the camera at once.</source>
        <translation>Démarrer la caméra immédiatement.</translation>
    </message>
    <message>
        <source>Show the picture on the whole screen.</source>
        <translation>Afficher l&apos;image en plein écran.</translation>
    </message>
    <message>
        <source>Record to FILE without a window, until the duration is over or the program is interrupted.</source>
        <translation>Enregistrer dans FICHIER sans fenêtre, jusqu&apos;à la fin de la durée ou l&apos;interruption du programme.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>FICHIER</translation>
    </message>
    <message>
        <source>SECONDS</source>
        <translation>SECONDES</translation>
    </message>
    <message>
        <source>Save one picture to FILE without a window and exit.</source>
        <translation>Sauvegarder une image dans FICHIER sans fenêtre et quitter.</translation>
    </message>
    <message>
        <source>Record and save the picture unmirrored and unrotated, whatever the settings say.</source>
        <translation>Enregistrer la vidéo et sauvegarder l&apos;image sans miroir ni rotation, quels que soient les paramètres.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Argument inattendu&#xa0;: %1</translation>
    </message>
    <message>
        <source>Not a format: %1 (expected WIDTHxHEIGHT@FPS[:FOURCC])</source>
        <translation>Format invalide&#xa0;: %1 (attendu&#xa0;: LARGEURxHAUTEUR@FPS[:FOURCC])</translation>
    </message>
    <message>
        <source>Not a duration in seconds: %1</source>
        <translation>Durée en secondes invalide&#xa0;: %1</translation>
    </message>
    <message>
        <source>The file name is empty.</source>
        <translation>Le nom de fichier est vide.</translation>
    </message>
    <message>
        <source>Record Motion-JPEG (into .avi) or H.264 (into .mkv or .mp4). Default: H.264 for .mkv and .mp4, Motion-JPEG otherwise.</source>
        <translation>Enregistrer en Motion-JPEG (dans .avi) ou en H.264 (dans .mkv ou .mp4). Par défaut : H.264 pour .mkv et .mp4, Motion-JPEG sinon.</translation>
    </message>
    <message>
        <source>Start a new numbered file every SECONDS of recording.</source>
        <translation>Commencer un nouveau fichier numéroté toutes les SECONDES d’enregistrement.</translation>
    </message>
    <message>
        <source>Record a time-lapse: one frame every SECONDS.</source>
        <translation>Enregistrer un accéléré : une image toutes les SECONDES.</translation>
    </message>
    <message>
        <source>Play the time-lapse at FPS (default 30).</source>
        <translation>Lire l’accéléré à FPS (30 par défaut).</translation>
    </message>
    <message>
        <source>FPS</source>
        <translation>FPS</translation>
    </message>
    <message>
        <source>Stop recording once the files hold MB megabytes.</source>
        <translation>Arrêter l’enregistrement dès que les fichiers contiennent MO mégaoctets.</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>MO</translation>
    </message>
    <message>
        <source>Stop recording before the free space falls below MB megabytes; 0 for never (default: the settings&apos;, 1024).</source>
        <translation>Arrêter l’enregistrement avant que l’espace libre ne descende sous MO mégaoctets ; 0 pour jamais (par défaut : celui des réglages, 1024).</translation>
    </message>
    <message>
        <source>Watch the camera for the duration (10 seconds unless given) without a window and print what it really delivers.</source>
        <translation>Observer la caméra pendant la durée (10 secondes sauf indication) sans fenêtre et afficher ce qu’elle fournit vraiment.</translation>
    </message>
    <message>
        <source>Not a positive number for --%1: %2</source>
        <translation>Pas un nombre positif pour --%1 : %2</translation>
    </message>
    <message>
        <source>--%1 needs --record.</source>
        <translation>--%1 nécessite --record.</translation>
    </message>
    <message>
        <source>--timelapse-rate needs --timelapse.</source>
        <translation>--timelapse-rate nécessite --timelapse.</translation>
    </message>
    <message>
        <source>--codec needs --record.</source>
        <translation>--codec nécessite --record.</translation>
    </message>
    <message>
        <source>Not a codec: %1 (expected mjpeg or h264)</source>
        <translation>Pas un codec : %1 (attendu : mjpeg ou h264)</translation>
    </message>
    <message>
        <source>H.264 is recorded into .mkv or .mp4 files, not %1</source>
        <translation>Le H.264 s’enregistre dans des fichiers .mkv ou .mp4, pas dans %1</translation>
    </message>
    <message>
        <source>Motion-JPEG is recorded into .avi files, not %1</source>
        <translation>Le Motion-JPEG s’enregistre dans des fichiers .avi, pas dans %1</translation>
    </message>
    <message>
        <source>Send the picture to a media server at URL (rtmp://, rtsp:// or srt://) without a window, with or without --record.</source>
        <translation>Envoyer l’image à un serveur multimédia à l’adresse URL (rtmp://, rtsp:// ou srt://) sans fenêtre, avec ou sans --record.</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>Stop recording or publishing, or watching with --diagnose, after this many seconds.</source>
        <translation>Arrêter l’enregistrement ou la diffusion, ou l’observation avec --diagnose, après ce nombre de secondes.</translation>
    </message>
    <message>
        <source>Print the sound sources, one per line, the camera&apos;s microphone first, and exit.</source>
        <translation>Afficher les sources sonores, une par ligne, le microphone de la caméra en premier, et quitter.</translation>
    </message>
    <message>
        <source>Record sound from SOURCE (a name from --list-audio), the default source, the camera&apos;s microphone or none. Default: the camera&apos;s microphone if it has one.</source>
        <translation>Enregistrer le son depuis SOURCE (un nom donné par --list-audio), la source par défaut, le microphone de la caméra ou aucun. Par défaut : le microphone de la caméra si elle en a un.</translation>
    </message>
    <message>
        <source>The sound&apos;s codec in .mkv and .mp4 files (default: the settings&apos;, AAC); .avi files hold PCM.</source>
        <translation>Le codec du son dans les fichiers .mkv et .mp4 (par défaut : celui des réglages, AAC) ; les fichiers .avi contiennent du PCM.</translation>
    </message>
    <message>
        <source>Serve the live picture (/stream.mjpg, /snapshot.jpg) and the remote control (/api/) over HTTP on PORT, on 127.0.0.1 unless ADDRESS is given; without a window, alone or while recording.</source>
        <translation>Servir l’image en direct (/stream.mjpg, /snapshot.jpg) et la commande à distance (/api/) en HTTP sur PORT, sur 127.0.0.1 sauf si ADRESSE est indiquée ; sans fenêtre, seul ou pendant un enregistrement.</translation>
    </message>
    <message>
        <source>[ADDRESS:]PORT</source>
        <translation>[ADRESSE:]PORT</translation>
    </message>
    <message>
        <source>The token every request to --serve must carry (Authorization: Bearer TOKEN); needed off 127.0.0.1.</source>
        <translation>Le jeton que chaque requête vers --serve doit porter (Authorization: Bearer JETON) ; nécessaire hors de 127.0.0.1.</translation>
    </message>
    <message>
        <source>TOKEN</source>
        <translation>JETON</translation>
    </message>
    <message>
        <source>Choose only one of --list-cameras, --list-formats, --list-audio, --record, --snapshot and --diagnose.</source>
        <translation>Choisissez une seule des options --list-cameras, --list-formats, --list-audio, --record, --snapshot et --diagnose.</translation>
    </message>
    <message>
        <source>--publish goes alone or with --record.</source>
        <translation>--publish s’emploie seul ou avec --record.</translation>
    </message>
    <message>
        <source>--duration needs --record, --publish, --serve or --diagnose.</source>
        <translation>--duration nécessite --record, --publish, --serve ou --diagnose.</translation>
    </message>
    <message>
        <source>The sound source is empty.</source>
        <translation>La source sonore est vide.</translation>
    </message>
    <message>
        <source>Not a sound codec: %1 (expected aac or opus)</source>
        <translation>Pas un codec audio : %1 (attendu : aac ou opus)</translation>
    </message>
    <message>
        <source>--serve goes alone or with --record.</source>
        <translation>--serve s’emploie seul ou avec --record.</translation>
    </message>
    <message>
        <source>Not an address and port to serve on: %1 (expected [ADDRESS:]PORT)</source>
        <translation>Pas une adresse et un port où servir : %1 (attendu : [ADRESSE:]PORT)</translation>
    </message>
    <message>
        <source>--token needs --serve.</source>
        <translation>--token nécessite --serve.</translation>
    </message>
    <message>
        <source>The token is empty.</source>
        <translation>Le jeton est vide.</translation>
    </message>
</context>
<context>
    <name>CommandLineSession</name>
    <message>
        <source>The camera delivered no picture.</source>
        <translation>La caméra n&apos;a fourni aucune image.</translation>
    </message>
    <message>
        <source>ostrel: the camera offers no format</source>
        <translation>ostrel: la caméra ne propose aucun format</translation>
    </message>
    <message>
        <source>the camera was disconnected (%1)</source>
        <translation>la caméra a été déconnectée (%1)</translation>
    </message>
    <message>
        <source>The camera was disconnected: %1</source>
        <translation>La caméra a été déconnectée&#xa0;: %1</translation>
    </message>
    <message>
        <source>Snapshot saved: %1</source>
        <translation>Instantané sauvegardé&#xa0;: %1</translation>
    </message>
    <message>
        <source>The recording could not be started.</source>
        <translation>Impossible de démarrer l&apos;enregistrement.</translation>
    </message>
    <message>
        <source>Interrupted.</source>
        <translation>Interrompu.</translation>
    </message>
    <message>
        <source>Recording error occurred: %1</source>
        <translation>Erreur d&apos;enregistrement&#xa0;: %1</translation>
    </message>
    <message>
        <source>Recording saved: %1</source>
        <translation>Enregistrement sauvegardé&#xa0;: %1</translation>
    </message>
    <message numerus="yes">
        <source>%1 s: %n frame(s) written, %2 dropped</source>
        <translation>
            <numerusform>%1 s&#xa0;: %n image écrite, %2 perdue(s)</numerusform>
            <numerusform>%1 s&#xa0;: %n images écrites, %2 perdue(s)</numerusform>
        </translation>
    </message>
    <message>
        <source>the picture could not be saved to %1: %2</source>
        <translation>l&apos;image n&apos;a pas pu être enregistrée dans %1 : %2</translation>
    </message>
    <message>
        <source>ostrel: the camera could not be started: %1</source>
        <translation>ostrel : la caméra n&apos;a pas pu être démarrée : %1</translation>
    </message>
    <message>
        <source>ostrel: warning: %1</source>
        <translation>ostrel : avertissement : %1</translation>
    </message>
    <message>
        <source>Recording paused</source>
        <translation>Enregistrement en pause</translation>
    </message>
    <message>
        <source>Recording resumed</source>
        <translation>Enregistrement repris</translation>
    </message>
    <message>
        <source>The recording reached its size limit and was stopped.</source>
        <translation>L’enregistrement a atteint sa taille limite et a été arrêté.</translation>
    </message>
    <message>
        <source>The recording was stopped: the disk is nearly full.</source>
        <translation>L’enregistrement a été arrêté : le disque est presque plein.</translation>
    </message>
    <message>
        <source>The camera was disconnected (%1); the time-lapse goes on when it returns.</source>
        <translation>La caméra a été déconnectée (%1) ; l’accéléré reprend à son retour.</translation>
    </message>
    <message>
        <source>The camera is back; the time-lapse goes on.</source>
        <translation>La caméra est revenue ; l’accéléré continue.</translation>
    </message>
    <message>
        <source>Serving on http://%1:%2/</source>
        <translation>À l’écoute sur http://%1:%2/</translation>
    </message>
    <message>
        <source>Stream: %1</source>
        <translation>Flux : %1</translation>
    </message>
    <message>
        <source>Stream: %1 (%2)</source>
        <translation>Flux : %1 (%2)</translation>
    </message>
    <message>
        <source>cannot publish to %1: %2</source>
        <translation>impossible de diffuser vers %1 : %2</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message numerus="yes">
        <source>; stream %1: %n frame(s) sent, %2 dropped</source>
        <translation>
            <numerusform>; flux %1 : %n image envoyée, %2 perdue(s)</numerusform>
            <numerusform>; flux %1 : %n images envoyées, %2 perdue(s)</numerusform>
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
        <translation>stéréo</translation>
    </message>
    <message>
        <source>ostrel: no sound server: %1</source>
        <translation>ostrel: aucun serveur de son : %1</translation>
    </message>
    <message>
        <source>%1	%2 (%3 Hz, %4)</source>
        <translation>%1	%2 (%3 Hz, %4)</translation>
    </message>
    <message>
        <source>the camera&apos;s microphone</source>
        <translation>le microphone de la caméra</translation>
    </message>
    <message>
        <source>default</source>
        <translation>par défaut</translation>
    </message>
    <message>
        <source>ostrel: warning: no sound server (%1); recording without sound</source>
        <translation>ostrel: avertissement : aucun serveur de son (%1) ; enregistrement sans son</translation>
    </message>
    <message>
        <source>ostrel: no such sound source: %1 (see --list-audio)</source>
        <translation>ostrel: source sonore introuvable : %1 (voir --list-audio)</translation>
    </message>
    <message>
        <source>Sound: %1 (%2 Hz, %3)</source>
        <translation>Son : %1 (%2 Hz, %3)</translation>
    </message>
</context>
<context>
    <name>ControlKeeper</name>
    <message>
        <source>Another program changed the camera&apos;s controls. Your values have been put back.</source>
        <translation>Un autre programme a modifié les réglages de la caméra. Vos valeurs ont été rétablies.</translation>
    </message>
</context>
<context>
    <name>ControlPanel</name>
    <message>
        <source>Camera</source>
        <translation>Caméra</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Start Camera</source>
        <translation>Démarrer la caméra</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Configure recording and snapshot directories</source>
        <translation>Configurer les dossiers des enregistrements et des instantanés</translation>
    </message>
    <message>
        <source>Adjust camera brightness (use Up/Down arrow keys)</source>
        <translation>Régler la luminosité de la caméra (touches fléchées Haut/Bas)</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Luminosité</translation>
    </message>
    <message>
        <source>Adjust camera contrast (use Shift+Up/Down arrow keys)</source>
        <translation>Régler le contraste de la caméra (Shift+touches fléchées Haut/Bas)</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contraste</translation>
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
        <translation>Réinitialiser</translation>
    </message>
    <message>
        <source>Reset brightness and contrast to camera defaults</source>
        <translation>Rétablir la luminosité et le contraste par défaut de la caméra</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Miroir</translation>
    </message>
    <message>
        <source>Mirror the camera image horizontally</source>
        <translation>Mettre l&apos;image de la caméra en miroir horizontalement</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Pivoter</translation>
    </message>
    <message>
        <source>Snapshot</source>
        <translation>Instantané</translation>
    </message>
    <message>
        <source>Take a snapshot of the current camera view (Ctrl+S)</source>
        <translation>Prendre un instantané de l&apos;image actuelle de la caméra (Ctrl+S)</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Start/stop recording video from camera (Ctrl+R)</source>
        <translation>Démarrer/arrêter l&apos;enregistrement vidéo de la caméra (Ctrl+R)</translation>
    </message>
    <message>
        <source>v%1</source>
        <translation>v%1</translation>
    </message>
    <message>
        <source>Camera Control</source>
        <translation>Contrôle de la caméra</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>Caméra&#xa0;:</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format&#xa0;:</translation>
    </message>
    <message>
        <source>Image Adjustment</source>
        <translation>Réglages de l&apos;image</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Luminosité&#xa0;:</translation>
    </message>
    <message>
        <source>Contrast:</source>
        <translation>Contraste&#xa0;:</translation>
    </message>
    <message>
        <source>Transform:</source>
        <translation>Orientation&#xa0;:</translation>
    </message>
    <message>
        <source>Capture Controls</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Pause/resume the recording (Ctrl+P)</source>
        <translation>Mettre en pause/reprendre l’enregistrement (Ctrl+P)</translation>
    </message>
    <message>
        <source>Publish</source>
        <translation>Diffuser</translation>
    </message>
</context>
<context>
    <name>DiagnosticsReport</name>
    <message>
        <source>Requested: %1x%2 at %3 fps (%4)</source>
        <translation>Demandé : %1x%2 à %3 i/s (%4)</translation>
    </message>
    <message>
        <source>Delivered: %1 fps</source>
        <translation>Fourni : %1 i/s</translation>
    </message>
    <message>
        <source>Frame interval: median %1 ms, 95%: %2 ms, 99%: %3 ms, max %4 ms</source>
        <translation>Intervalle entre images : médiane %1 ms, 95 % : %2 ms, 99 % : %3 ms, max. %4 ms</translation>
    </message>
    <message>
        <source>Frames made by the camera: %1, taken: %2</source>
        <translation>Images produites par la caméra : %1, prises : %2</translation>
    </message>
    <message>
        <source>Lost in the driver or on the bus: %1</source>
        <translation>Perdues dans le pilote ou sur le bus : %1</translation>
    </message>
    <message>
        <source>Refused as damaged: %1</source>
        <translation>Refusées car endommagées : %1</translation>
    </message>
    <message>
        <source>Missed by the program: %1</source>
        <translation>Manquées par le programme : %1</translation>
    </message>
    <message>
        <source>Not shown (a newer frame came first): %1</source>
        <translation>Non affichées (une image plus récente est arrivée) : %1</translation>
    </message>
    <message>
        <source>Not recorded: %1</source>
        <translation>Non enregistrées : %1</translation>
    </message>
    <message>
        <source>Compressed frames: %1 KB each on average, %2 Mbit/s</source>
        <translation>Images compressées : %1 Ko chacune en moyenne, %2 Mbit/s</translation>
    </message>
    <message>
        <source>USB port %1, %2; this mode needs about %3 MB/s of about %4 MB/s</source>
        <translation>Port USB %1, %2 ; ce mode demande environ %3 Mo/s sur environ %4 Mo/s</translation>
    </message>
    <message>
        <source>USB: not a USB camera, or its port could not be found</source>
        <translation>USB : pas une caméra USB, ou son port est introuvable</translation>
    </message>
</context>
<context>
    <name>FullscreenView</name>
    <message>
        <source>Press Esc to leave fullscreen</source>
        <translation>Appuyez sur Esc pour quitter le plein écran</translation>
    </message>
    <message>
        <source>● REC</source>
        <translation>● REC</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Enregistrement en cours</translation>
    </message>
    <message>
        <source>Fullscreen camera view</source>
        <translation>Image de la caméra en plein écran</translation>
    </message>
</context>
<context>
    <name>H264PassThroughWriter</name>
    <message>
        <source>Error finishing the file: %1</source>
        <translation>Erreur en terminant le fichier : %1</translation>
    </message>
    <message>
        <source>Not enough free space to record: %1 MB left</source>
        <translation>Pas assez d’espace libre pour enregistrer : %1 Mo restants</translation>
    </message>
    <message>
        <source>No keyframe came from the camera: nothing was recorded</source>
        <translation>Aucune image clé n’est venue de la caméra : rien n’a été enregistré</translation>
    </message>
    <message>
        <source>Failed to open video writer for: %1 (%2)</source>
        <translation>Impossible d’ouvrir l’enregistreur vidéo pour : %1 (%2)</translation>
    </message>
    <message>
        <source>Error writing frame: %1</source>
        <translation>Erreur d’écriture d’une image : %1</translation>
    </message>
    <message>
        <source>Error writing sound: %1</source>
        <translation>Erreur d’écriture du son : %1</translation>
    </message>
</context>
<context>
    <name>HistogramPlot</name>
    <message>
        <source>Histogram of luma and colours</source>
        <translation>Histogramme de la luminance et des couleurs</translation>
    </message>
    <message>
        <source>Clipped: %1 % dark, %2 % light</source>
        <translation>Écrêté : %1 % sombre, %2 % clair</translation>
    </message>
</context>
<context>
    <name>HttpServer</name>
    <message>
        <source>The request did not arrive in time.</source>
        <translation>La requête n’est pas arrivée à temps.</translation>
    </message>
    <message>
        <source>A valid token is needed (Authorization: Bearer TOKEN).</source>
        <translation>Un jeton valide est nécessaire (Authorization: Bearer JETON).</translation>
    </message>
    <message>
        <source>The request head is too large.</source>
        <translation>L’en-tête de la requête est trop grand.</translation>
    </message>
    <message>
        <source>Not an HTTP request.</source>
        <translation>Pas une requête HTTP.</translation>
    </message>
    <message>
        <source>A malformed header line.</source>
        <translation>Une ligne d’en-tête mal formée.</translation>
    </message>
    <message>
        <source>A body must come with its Content-Length.</source>
        <translation>Un corps doit être accompagné de son Content-Length.</translation>
    </message>
    <message>
        <source>A malformed Content-Length.</source>
        <translation>Un Content-Length mal formé.</translation>
    </message>
    <message>
        <source>The request body is larger than %1 bytes.</source>
        <translation>Le corps de la requête dépasse %1 octets.</translation>
    </message>
</context>
<context>
    <name>IntervalPlot</name>
    <message>
        <source>Frame intervals of the last ten seconds</source>
        <translation>Intervalles entre images des dix dernières secondes</translation>
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
        <translation>il y a %1 s</translation>
    </message>
    <message>
        <source>now</source>
        <translation>maintenant</translation>
    </message>
</context>
<context>
    <name>LevelMeter</name>
    <message>
        <source>Sound level</source>
        <translation>Niveau sonore</translation>
    </message>
    <message>
        <source>Loudness of the sound being recorded</source>
        <translation>Volume du son enregistré</translation>
    </message>
    <message>
        <source>Silent</source>
        <translation>Silence</translation>
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
        <translation>Cliquez pour rechercher des caméras...</translation>
    </message>
    <message>
        <source>No camera feed</source>
        <translation>Aucun flux vidéo</translation>
    </message>
    <message>
        <source>Camera picture</source>
        <translation>Image de la caméra</translation>
    </message>
    <message>
        <source>Failed to switch the camera to %1.</source>
        <translation>Impossible de passer la caméra au format %1.</translation>
    </message>
    <message>
        <source>%1 fps</source>
        <translation>%1 fps</translation>
    </message>
    <message>
        <source>Camera disconnected</source>
        <translation>Caméra déconnectée</translation>
    </message>
    <message>
        <source>Recording Interrupted</source>
        <translation>Enregistrement interrompu</translation>
    </message>
    <message>
        <source>Video recording was interrupted due to camera disconnection.
The partial recording has been saved to:
</source>
        <translation>L&apos;enregistrement vidéo a été interrompu car la caméra a été déconnectée.
L&apos;enregistrement partiel a été sauvegardé dans&#xa0;:
</translation>
    </message>
    <message>
        <source>Camera Disconnected</source>
        <translation>Caméra déconnectée</translation>
    </message>
    <message>
        <source>The camera has been disconnected: </source>
        <translation>La caméra a été déconnectée&#xa0;: </translation>
    </message>
    <message>
        <source>
Please reconnect it and try again.</source>
        <translation>
Veuillez la reconnecter et réessayer.</translation>
    </message>
    <message>
        <source>Stop Camera</source>
        <translation>Arrêter la caméra</translation>
    </message>
    <message>
        <source>Start Camera</source>
        <translation>Démarrer la caméra</translation>
    </message>
    <message>
        <source>Exit fullscreen (ESC)</source>
        <translation>Quitter le plein écran (ESC)</translation>
    </message>
    <message>
        <source>Toggle fullscreen camera view</source>
        <translation>Activer/désactiver la vue plein écran de la caméra</translation>
    </message>
    <message>
        <source>Camera reconnected: %1</source>
        <translation>Caméra reconnectée&#xa0;: %1</translation>
    </message>
    <message>
        <source>Camera disconnected: the time-lapse goes on when it returns</source>
        <translation>Caméra déconnectée : l’accéléré reprend à son retour</translation>
    </message>
</context>
<context>
    <name>NotificationLabel</name>
    <message>
        <source>Open folder</source>
        <translation>Ouvrir le dossier</translation>
    </message>
</context>
<context>
    <name>OpenPNPCamera</name>
    <message>
        <source>Camera %1</source>
        <translation>Caméra %1</translation>
    </message>
    <message>
        <source>%1x%2 @ %3 fps (%4)</source>
        <translation>%1x%2 @ %3 fps (%4)</translation>
    </message>
    <message>
        <source>Failed to access camera properties</source>
        <translation>Impossible d&apos;accéder aux propriétés de la caméra</translation>
    </message>
</context>
<context>
    <name>OrientationControl</name>
    <message>
        <source>Rotate camera image 90° clockwise (currently %1°)</source>
        <translation>Faire pivoter l&apos;image de la caméra de 90° dans le sens horaire (actuellement %1°)</translation>
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
        <translation>Indiquez d’abord l’adresse de diffusion dans les paramètres</translation>
    </message>
    <message>
        <source>Publish</source>
        <translation>Diffuser</translation>
    </message>
    <message>
        <source>Send the picture to the media server set in the settings</source>
        <translation>Envoyer l’image au serveur multimédia indiqué dans les paramètres</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>Connexion…</translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation>Connexion à %1</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>En direct</translation>
    </message>
    <message>
        <source>Live at %1; click to stop</source>
        <translation>En direct sur %1 ; cliquez pour arrêter</translation>
    </message>
    <message>
        <source>Reconnecting…</source>
        <translation>Reconnexion…</translation>
    </message>
    <message>
        <source>The server was lost (%1); trying again every second</source>
        <translation>La connexion au serveur a été perdue (%1) ; nouvel essai chaque seconde</translation>
    </message>
    <message>
        <source>Publishing failed: %1</source>
        <translation>Échec de la diffusion : %1</translation>
    </message>
</context>
<context>
    <name>Publisher</name>
    <message>
        <source>No address to publish to: give an rtmp://, rtsp:// or srt:// address</source>
        <translation>Aucune adresse de diffusion : indiquez une adresse rtmp://, rtsp:// ou srt://</translation>
    </message>
    <message>
        <source>Not a valid address to publish to: %1</source>
        <translation>Adresse de diffusion invalide : %1</translation>
    </message>
    <message>
        <source>Cannot publish to %1: use an rtmp://, rtsp:// or srt:// address</source>
        <translation>Impossible de diffuser vers %1 : utilisez une adresse rtmp://, rtsp:// ou srt://</translation>
    </message>
    <message>
        <source>connecting</source>
        <translation>connexion</translation>
    </message>
    <message>
        <source>live</source>
        <translation>en direct</translation>
    </message>
    <message>
        <source>reconnecting</source>
        <translation>reconnexion</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>échec</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>arrêté</translation>
    </message>
</context>
<context>
    <name>PulseAudioSource</name>
    <message>
        <source>the sound client could not be started</source>
        <translation>le client audio n’a pas pu être démarré</translation>
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
        <translation>Sauvegarder l&apos;enregistrement vidéo</translation>
    </message>
    <message>
        <source>Stop Recording</source>
        <translation>Arrêter l&apos;enregistrement</translation>
    </message>
    <message>
        <source>Finishing…</source>
        <translation>Finalisation…</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>00:00</source>
        <translation>00:00</translation>
    </message>
    <message>
        <source>Recording error occurred</source>
        <translation>Erreur d&apos;enregistrement</translation>
    </message>
    <message>
        <source>Recording saved: %1</source>
        <translation>Enregistrement sauvegardé&#xa0;: %1</translation>
    </message>
    <message>
        <source>Video Files (*.%1)</source>
        <translation>Fichiers vidéo (*.%1)</translation>
    </message>
    <message>
        <source>No camera frame available</source>
        <translation>Aucune image de la caméra disponible</translation>
    </message>
    <message>
        <source>Recording start failed</source>
        <translation>Impossible de démarrer l’enregistrement</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Reprendre</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>En pause</translation>
    </message>
    <message numerus="yes">
        <source>%n frame(s)</source>
        <translation>
            <numerusform>%n image</numerusform>
            <numerusform>%n images</numerusform>
        </translation>
    </message>
    <message>
        <source>waiting for the camera</source>
        <translation>en attente de la caméra</translation>
    </message>
    <message>
        <source>next in %1 s</source>
        <translation>prochaine dans %1 s</translation>
    </message>
    <message>
        <source>over 99 hours left</source>
        <translation>plus de 99 heures restantes</translation>
    </message>
    <message>
        <source>%1:%2 left</source>
        <translation>%1:%2 restantes</translation>
    </message>
    <message>
        <source>The recording reached its size limit and was stopped.</source>
        <translation>L’enregistrement a atteint sa taille limite et a été arrêté.</translation>
    </message>
    <message>
        <source>The recording was stopped: the disk is nearly full.</source>
        <translation>L’enregistrement a été arrêté : le disque est presque plein.</translation>
    </message>
</context>
<context>
    <name>RecordingReport</name>
    <message>
        <source>%1 frames written (%2 repeated); camera frames lost: %3 at the camera, %4 in the program</source>
        <translation>%1 images écrites (%2 répétées) ; images de la caméra perdues : %3 à la caméra, %4 dans le programme</translation>
    </message>
</context>
<context>
    <name>RecordingSettingsGroup</name>
    <message>
        <source>Recording Settings</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>Motion-JPEG keeps the camera&apos;s own pictures and plays everywhere; H.264 files are several times smaller</source>
        <translation>Le Motion-JPEG garde les images de la caméra et se lit partout ; les fichiers H.264 sont plusieurs fois plus petits</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Jamais</translation>
    </message>
    <message>
        <source>Start a new numbered file every so many minutes</source>
        <translation>Commencer un nouveau fichier numéroté toutes les tant de minutes</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>Record a time-lapse: one frame every so many seconds, played at 30 fps</source>
        <translation>Enregistrer un accéléré : une image toutes les tant de secondes, lue à 30 i/s</translation>
    </message>
    <message>
        <source> MB</source>
        <translation> Mo</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Sans limite</translation>
    </message>
    <message>
        <source>Stop the recording once its files hold this much</source>
        <translation>Arrêter l’enregistrement dès que ses fichiers atteignent cette taille</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
    <message>
        <source>Stop the recording before the free space on the disk falls below this</source>
        <translation>Arrêter l’enregistrement avant que l’espace libre du disque ne descende en dessous</translation>
    </message>
    <message>
        <source>Recording format:</source>
        <translation>Format d’enregistrement :</translation>
    </message>
    <message>
        <source>Start a new file every:</source>
        <translation>Nouveau fichier toutes les :</translation>
    </message>
    <message>
        <source>Time-lapse, one frame every:</source>
        <translation>Accéléré, une image toutes les :</translation>
    </message>
    <message>
        <source>Stop at a size of:</source>
        <translation>Arrêter à une taille de :</translation>
    </message>
    <message>
        <source>Keep free on the disk:</source>
        <translation>Garder libre sur le disque :</translation>
    </message>
    <message>
        <source>Motion-JPEG AVI (about %1 MB per minute at 1080p30)</source>
        <translation>Motion-JPEG AVI (environ %1 Mo par minute en 1080p30)</translation>
    </message>
    <message>
        <source>H.264 MKV (about %1 MB per minute at 1080p30)</source>
        <translation>H.264 MKV (environ %1 Mo par minute en 1080p30)</translation>
    </message>
    <message>
        <source>H.264 MP4 (about %1 MB per minute at 1080p30)</source>
        <translation>H.264 MP4 (environ %1 Mo par minute en 1080p30)</translation>
    </message>
</context>
<context>
    <name>RemoteApi</name>
    <message>
        <source>The body is not a JSON object.</source>
        <translation>Le corps n’est pas un objet JSON.</translation>
    </message>
    <message>
        <source>%1 is not allowed here.</source>
        <translation>%1 n’est pas autorisé ici.</translation>
    </message>
    <message>
        <source>No such path: /api/%1</source>
        <translation>Chemin introuvable : /api/%1</translation>
    </message>
    <message>
        <source>No recording is running.</source>
        <translation>Aucun enregistrement n’est en cours.</translation>
    </message>
    <message>
        <source>The camera cannot change while recording.</source>
        <translation>La caméra ne peut pas changer pendant un enregistrement.</translation>
    </message>
    <message>
        <source>No such camera.</source>
        <translation>Caméra introuvable.</translation>
    </message>
    <message>
        <source>The camera could not be opened.</source>
        <translation>La caméra n’a pas pu être ouverte.</translation>
    </message>
    <message>
        <source>No such format.</source>
        <translation>Format introuvable.</translation>
    </message>
    <message>
        <source>The camera is not running.</source>
        <translation>La caméra n’est pas démarrée.</translation>
    </message>
    <message>
        <source>A recording is already running.</source>
        <translation>Un enregistrement est déjà en cours.</translation>
    </message>
    <message>
        <source>The camera has delivered no picture yet.</source>
        <translation>La caméra n’a encore fourni aucune image.</translation>
    </message>
    <message>
        <source>A recording is an .avi, .mkv or .mp4 file.</source>
        <translation>Un enregistrement est un fichier .avi, .mkv ou .mp4.</translation>
    </message>
    <message>
        <source>The recording could not be started.</source>
        <translation>Impossible de démarrer l&apos;enregistrement.</translation>
    </message>
    <message>
        <source>&quot;paused&quot; must be true or false.</source>
        <translation>&quot;paused&quot; doit valoir true ou false.</translation>
    </message>
    <message>
        <source>The camera has no control %1.</source>
        <translation>La caméra n’a pas de réglage %1.</translation>
    </message>
    <message>
        <source>%1 takes a number or &quot;auto&quot;.</source>
        <translation>%1 attend un nombre ou &quot;auto&quot;.</translation>
    </message>
    <message>
        <source>The camera refused %1.</source>
        <translation>La caméra a refusé %1.</translation>
    </message>
    <message>
        <source>No such profile: %1</source>
        <translation>Profil introuvable : %1</translation>
    </message>
</context>
<context>
    <name>RemoteServer</name>
    <message>
        <source>Serving on %1 needs a token (--token or the settings&apos; remote token).</source>
        <translation>Servir sur %1 nécessite un jeton (--token ou le jeton d’accès à distance des paramètres).</translation>
    </message>
    <message>
        <source>Cannot serve on %1 port %2: %3</source>
        <translation>Impossible de servir sur %1 port %2 : %3</translation>
    </message>
    <message>
        <source>Only GET is allowed here.</source>
        <translation>Seul GET est autorisé ici.</translation>
    </message>
    <message>
        <source>No such path: %1</source>
        <translation>Chemin introuvable : %1</translation>
    </message>
    <message>
        <source>The camera is not running.</source>
        <translation>La caméra n’est pas démarrée.</translation>
    </message>
    <message>
        <source>The camera delivered no picture.</source>
        <translation>La caméra n&apos;a fourni aucune image.</translation>
    </message>
    <message>
        <source>Not an address to serve on: %1</source>
        <translation>Pas une adresse où servir : %1</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Reset to Defaults</source>
        <translation>Rétablir les valeurs par défaut</translation>
    </message>
    <message>
        <source>Reset all settings to their default values</source>
        <translation>Rétablir tous les paramètres à leurs valeurs par défaut</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Ostrel Settings</source>
        <translation>Paramètres d&apos;Ostrel</translation>
    </message>
    <message>
        <source>User Interface Settings</source>
        <translation>Interface utilisateur</translation>
    </message>
    <message>
        <source>Show FPS Counter</source>
        <translation>Afficher le compteur FPS</translation>
    </message>
    <message>
        <source>Show/hide the FPS counter overlay on the camera view</source>
        <translation>Afficher/masquer le compteur FPS sur l&apos;image de la caméra</translation>
    </message>
    <message>
        <source>Auto-save with default filename</source>
        <translation>Sauvegarde automatique avec le nom de fichier par défaut</translation>
    </message>
    <message>
        <source>When enabled, snapshots and recordings are saved automatically with default filenames without showing save dialog</source>
        <translation>Si cette option est activée, les instantanés et les enregistrements sont sauvegardés automatiquement avec des noms de fichier par défaut, sans boîte de dialogue</translation>
    </message>
    <message>
        <source>Directory Settings</source>
        <translation>Dossiers</translation>
    </message>
    <message>
        <source>Recording Directory:</source>
        <translation>Dossier des enregistrements&#xa0;:</translation>
    </message>
    <message>
        <source>Select Recording Directory</source>
        <translation>Choisir le dossier des enregistrements</translation>
    </message>
    <message>
        <source>Open recording directory</source>
        <translation>Ouvrir le dossier des enregistrements</translation>
    </message>
    <message>
        <source>Snapshot Directory:</source>
        <translation>Dossier des instantanés&#xa0;:</translation>
    </message>
    <message>
        <source>Select Snapshot Directory</source>
        <translation>Choisir le dossier des instantanés</translation>
    </message>
    <message>
        <source>Open snapshot directory</source>
        <translation>Ouvrir le dossier des instantanés</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Parcourir...</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Version:&lt;/b&gt; %1&lt;/p&gt;&lt;p&gt;&lt;b&gt;Description:&lt;/b&gt; Ostrel camera capture application with video recording capabilities.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Features:&lt;/b&gt;&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Real-time camera preview with adjustable brightness, contrast and transformation&lt;/li&gt;&lt;li&gt;High-resolution snapshot capture&lt;/li&gt;&lt;li&gt;Threaded video recording with frame duplication for consistent timing&lt;/li&gt;&lt;li&gt;Support for multiple camera formats and resolutions&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;&lt;b&gt;Links:&lt;/b&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Version&#xa0;:&lt;/b&gt; %1&lt;/p&gt;&lt;p&gt;&lt;b&gt;Description&#xa0;:&lt;/b&gt; Ostrel, une application de capture pour caméras avec enregistrement vidéo.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Fonctionnalités&#xa0;:&lt;/b&gt;&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Aperçu de la caméra en temps réel, avec luminosité, contraste et orientation réglables&lt;/li&gt;&lt;li&gt;Instantanés en haute résolution&lt;/li&gt;&lt;li&gt;Enregistrement vidéo dans un fil d&apos;exécution dédié, avec duplication d&apos;images pour une cadence régulière&lt;/li&gt;&lt;li&gt;Prise en charge de nombreux formats et résolutions de caméra&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;&lt;b&gt;Liens&#xa0;:&lt;/b&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Contact Support</source>
        <translation>Contacter l&apos;assistance</translation>
    </message>
    <message>
        <source>&lt;p&gt;&amp;copy; %1&lt;/p&gt;</source>
        <translation>&lt;p&gt;&amp;copy; %1&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Ostrel Camera Viewer</source>
        <translation>À propos d&apos;Ostrel Camera Viewer</translation>
    </message>
    <message>
        <source>Start the last camera when Ostrel opens</source>
        <translation>Démarrer la dernière caméra à l&apos;ouverture d&apos;Ostrel</translation>
    </message>
    <message>
        <source>When enabled, the camera used last starts by itself, in its last format</source>
        <translation>Si activé, la dernière caméra utilisée démarre d&apos;elle-même, dans son dernier format</translation>
    </message>
    <message>
        <source>Publish to: rtmp://, rtsp:// or srt:// address</source>
        <translation>Diffuser vers : adresse rtmp://, rtsp:// ou srt://</translation>
    </message>
    <message>
        <source>The media server the Publish button sends the picture to</source>
        <translation>Le serveur multimédia auquel le bouton «&#xa0;Diffuser&#xa0;» envoie l’image</translation>
    </message>
</context>
<context>
    <name>SnapshotSaver</name>
    <message>
        <source>Save Snapshot</source>
        <translation>Sauvegarder l&apos;instantané</translation>
    </message>
    <message>
        <source>Images (*.png *.jpg *.jpeg)</source>
        <translation>Images (*.png *.jpg *.jpeg)</translation>
    </message>
    <message>
        <source>Snapshot saved (%1x%2)
%3</source>
        <translation>Instantané sauvegardé (%1x%2)
%3</translation>
    </message>
    <message>
        <source>Failed to save snapshot</source>
        <translation>Impossible de sauvegarder l&apos;instantané</translation>
    </message>
    <message>
        <source>No camera frame available</source>
        <translation>Aucune image de la caméra disponible</translation>
    </message>
</context>
<context>
    <name>SoundCapture</name>
    <message>
        <source>Sound: no sound server (%1); recordings have no sound</source>
        <translation>Son : aucun serveur de son (%1) ; les enregistrements sont sans son</translation>
    </message>
    <message>
        <source>Sound: %1 could not be recorded (%2); the recording has no sound</source>
        <translation>Son : %1 n’a pas pu être enregistré (%2) ; l’enregistrement est sans son</translation>
    </message>
    <message>
        <source>Sound: %1 was lost (%2); the recording goes on with silence</source>
        <translation>Son : %1 a été perdu (%2) ; l’enregistrement continue en silence</translation>
    </message>
</context>
<context>
    <name>SoundSettingsGroup</name>
    <message>
        <source>Sound</source>
        <translation>Son</translation>
    </message>
    <message>
        <source>Where recordings of this camera take their sound from</source>
        <translation>D’où les enregistrements de cette caméra prennent leur son</translation>
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
        <translation>Le codec du son dans les fichiers MKV et MP4 ; les fichiers AVI le contiennent non compressé</translation>
    </message>
    <message>
        <source>Asking the sound server for its sources…</source>
        <translation>Interrogation du serveur de son sur ses sources…</translation>
    </message>
    <message>
        <source>Sound source:</source>
        <translation>Source sonore :</translation>
    </message>
    <message>
        <source>Sound codec:</source>
        <translation>Codec audio :</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucune</translation>
    </message>
    <message>
        <source>The camera&apos;s microphone (%1)</source>
        <translation>Microphone de la caméra (%1)</translation>
    </message>
    <message>
        <source>The camera&apos;s microphone</source>
        <translation>Microphone de la caméra</translation>
    </message>
    <message>
        <source>The default source</source>
        <translation>Source par défaut</translation>
    </message>
    <message>
        <source>No sound server (%1): recordings have no sound.</source>
        <translation>Aucun serveur de son (%1) : les enregistrements sont sans son.</translation>
    </message>
    <message>
        <source>%1 (not connected)</source>
        <translation>%1 (non connectée)</translation>
    </message>
</context>
<context>
    <name>StillCapture</name>
    <message>
        <source>there is no picture</source>
        <translation>il n&apos;y a pas d&apos;image</translation>
    </message>
    <message>
        <source>the folder cannot be created</source>
        <translation>le dossier ne peut pas être créé</translation>
    </message>
</context>
<context>
    <name>StreamConnection</name>
    <message>
        <source>Connection timed out: no answer within %1 s</source>
        <translation>Délai de connexion dépassé : aucune réponse en %1 s</translation>
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
        <translation>Enregistrement en cours</translation>
    </message>
    <message>
        <source>Toggle fullscreen camera view</source>
        <translation>Activer/désactiver la vue plein écran de la caméra</translation>
    </message>
    <message>
        <source>Fullscreen</source>
        <translation>Plein écran</translation>
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
        <translation>ostrel : impossible d&apos;ouvrir une fenêtre : pas d&apos;affichage (DISPLAY et WAYLAND_DISPLAY ne sont pas définis)</translation>
    </message>
</context>
</TS>
