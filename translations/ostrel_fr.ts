<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
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
        <source>Stop recording after this many seconds.</source>
        <translation>Arrêter l&apos;enregistrement après ce nombre de secondes.</translation>
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
        <source>Choose only one of --list-cameras, --list-formats, --record and --snapshot.</source>
        <translation>Choisissez une seule option parmi --list-cameras, --list-formats, --record et --snapshot.</translation>
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
        <source>--duration needs --record.</source>
        <translation>--duration nécessite --record.</translation>
    </message>
    <message>
        <source>The file name is empty.</source>
        <translation>Le nom de fichier est vide.</translation>
    </message>
</context>
<context>
    <name>CommandLineSession</name>
    <message>
        <source>The camera delivered no picture.</source>
        <translation>La caméra n&apos;a fourni aucune image.</translation>
    </message>
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
        <source>ostrel: cannot write %1: %2</source>
        <translation>ostrel : impossible d&apos;écrire %1 : %2</translation>
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
        <source>No camera frame available</source>
        <translation>Aucune image de la caméra disponible</translation>
    </message>
    <message>
        <source>Recording start failed</source>
        <translation>Impossible de démarrer l&apos;enregistrement</translation>
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
        <source>Video Files (*.avi)</source>
        <translation>Fichiers vidéo (*.avi)</translation>
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
</context>
<context>
    <name>RecordingReport</name>
    <message>
        <source>%1 frames written (%2 repeated); camera frames lost: %3 at the camera, %4 in the program</source>
        <translation>%1 images écrites (%2 répétées) ; images de la caméra perdues : %3 à la caméra, %4 dans le programme</translation>
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
</context>
<context>
    <name>main</name>
    <message>
        <source>ostrel: cannot open a window: no display (DISPLAY and WAYLAND_DISPLAY are not set)</source>
        <translation>ostrel : impossible d&apos;ouvrir une fenêtre : pas d&apos;affichage (DISPLAY et WAYLAND_DISPLAY ne sont pas définis)</translation>
    </message>
</context>
</TS>
