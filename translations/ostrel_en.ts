<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AudioSourceList</name>
    <message>
        <source>the sound client could not be started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the sound server did not answer</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BandwidthEstimate</name>
    <message>
        <source>Choose a smaller size or a lower frame rate.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Motion-JPEG or a lower frame rate.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At this size, at most %1 fps fits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1x%2 at %3 fps (%4) needs about %5 MB/s, more than the camera&apos;s %6 link carries (about %7 MB/s).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BenchToolsController</name>
    <message>
        <source>Ctrl+D</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+F</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+H</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+G</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl++</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+=</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt+Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt+Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt+Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt+Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt+Shift+Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt+Shift+Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt+Shift+Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt+Shift+Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 mm per pixel, %2 pixels per mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click two points a known distance apart, then enter it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BenchToolsWindow</name>
    <message>
        <source>Bench Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overlays</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start the camera to see what it delivers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset best</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark sharp edges (focus peaking)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sharpness:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Best so far:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Region (around the crosshair):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crosshair (drag it, or Alt+arrow keys)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grid columns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grid rows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ruler</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click two points…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distance between the two points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Burn the marks into snapshots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distance between the points:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CameraChoice</name>
    <message>
        <source>ostrel: no camera found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ostrel: no such camera: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ostrel: cannot open camera %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ostrel: %1 has no format %2x%3@%4%5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ostrel: cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CameraControlsPanel</name>
    <message>
        <source>Camera Controls</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show or hide the camera&apos;s own controls</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start the camera to see its controls.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Return every control of this section to the camera&apos;s default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White balance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sharpness</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backlight compensation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power-line frequency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>50 Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>60 Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera&apos;s saved control values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Profile:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the camera&apos;s control values as a profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give the camera the profile&apos;s values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply on start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply this profile whenever the camera starts or returns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep my values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put back values that another program changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The profile could not be saved. Use a name that is not empty; at most %1 profiles are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename Profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The profile could not be renamed. Use a name that is not empty and not taken.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CameraMessages</name>
    <message>
        <source>The camera is no longer connected. Check its cable and plug it in again; it starts again by itself when it comes back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program is using the camera. Close it (a video call, another camera viewer) and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are not allowed to use the camera. Your user must be a member of the &quot;video&quot; group; log out and in again after adding it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chosen format is too large for the camera or its USB connection. Choose a smaller size or a lower frame rate, or use another USB port.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera refused the chosen format. Details are in the program&apos;s log.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No cameras found.

Check that the camera is plugged in (try another cable or USB port),
that your user may use it (member of the &quot;video&quot; group),
and that no other program holds it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames of %1x%2 are larger than this program can hold (%3 MB each at most). Choose a smaller size.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to start camera. Please check if another application is using it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to start camera.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CameraSelection</name>
    <message>
        <source>Scanning for cameras...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No cameras found</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Look at, photograph and record the picture of a camera.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the cameras, one per line, and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the formats of CAMERA, one per line, and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CAMERA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use the camera with this name or position (from 0).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NAME|INDEX</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use this format, e.g. 1280x720@30:MJPG.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WxH@FPS[:FOURCC]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start the camera at once.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the picture on the whole screen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record to FILE without a window, until the duration is over or the program is interrupted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FILE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SECONDS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save one picture to FILE without a window and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record and save the picture unmirrored and unrotated, whatever the settings say.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a format: %1 (expected WIDTHxHEIGHT@FPS[:FOURCC])</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a duration in seconds: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file name is empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record Motion-JPEG (into .avi) or H.264 (into .mkv or .mp4). Default: H.264 for .mkv and .mp4, Motion-JPEG otherwise.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start a new numbered file every SECONDS of recording.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record a time-lapse: one frame every SECONDS.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play the time-lapse at FPS (default 30).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FPS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop recording once the files hold MB megabytes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop recording before the free space falls below MB megabytes; 0 for never (default: the settings&apos;, 1024).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Watch the camera for the duration (10 seconds unless given) without a window and print what it really delivers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a positive number for --%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1 needs --record.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--timelapse-rate needs --timelapse.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--codec needs --record.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a codec: %1 (expected mjpeg or h264)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>H.264 is recorded into .mkv or .mp4 files, not %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motion-JPEG is recorded into .avi files, not %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send the picture to a media server at URL (rtmp://, rtsp:// or srt://) without a window, with or without --record.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop recording or publishing, or watching with --diagnose, after this many seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the sound sources, one per line, the camera&apos;s microphone first, and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record sound from SOURCE (a name from --list-audio), the default source, the camera&apos;s microphone or none. Default: the camera&apos;s microphone if it has one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sound&apos;s codec in .mkv and .mp4 files (default: the settings&apos;, AAC); .avi files hold PCM.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serve the live picture (/stream.mjpg, /snapshot.jpg) and the remote control (/api/) over HTTP on PORT, on 127.0.0.1 unless ADDRESS is given; without a window, alone or while recording.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[ADDRESS:]PORT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The token every request to --serve must carry (Authorization: Bearer TOKEN); needed off 127.0.0.1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TOKEN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose only one of --list-cameras, --list-formats, --list-audio, --record, --snapshot and --diagnose.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--publish goes alone or with --record.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--duration needs --record, --publish, --serve or --diagnose.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sound source is empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a sound codec: %1 (expected aac or opus)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--serve goes alone or with --record.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not an address and port to serve on: %1 (expected [ADDRESS:]PORT)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--token needs --serve.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The token is empty.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLineSession</name>
    <message>
        <source>The camera delivered no picture.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ostrel: the camera offers no format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the camera was disconnected (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera was disconnected: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Snapshot saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recording could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interrupted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording error occurred: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 s: %n frame(s) written, %2 dropped</source>
        <translation>
            <numerusform>%1 s: %n frame written, %2 dropped</numerusform>
            <numerusform>%1 s: %n frames written, %2 dropped</numerusform>
        </translation>
    </message>
    <message>
        <source>the picture could not be saved to %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ostrel: the camera could not be started: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ostrel: warning: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording paused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording resumed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recording reached its size limit and was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recording was stopped: the disk is nearly full.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera was disconnected (%1); the time-lapse goes on when it returns.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera is back; the time-lapse goes on.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serving on http://%1:%2/</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stream: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stream: %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot publish to %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>; stream %1: %n frame(s) sent, %2 dropped</source>
        <translation>
            <numerusform>; stream %1: %n frame sent, %2 dropped</numerusform>
            <numerusform>; stream %1: %n frames sent, %2 dropped</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CommandLineSound</name>
    <message>
        <source>mono</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stereo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ostrel: no sound server: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1	%2 (%3 Hz, %4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the camera&apos;s microphone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ostrel: warning: no sound server (%1); recording without sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ostrel: no such sound source: %1 (see --list-audio)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound: %1 (%2 Hz, %3)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ControlKeeper</name>
    <message>
        <source>Another program changed the camera&apos;s controls. Your values have been put back.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ControlPanel</name>
    <message>
        <source>Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure recording and snapshot directories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adjust camera brightness (use Up/Down arrow keys)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adjust camera contrast (use Shift+Up/Down arrow keys)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1.00</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset brightness and contrast to camera defaults</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mirror the camera image horizontally</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Snapshot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take a snapshot of the current camera view (Ctrl+S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start/stop recording video from camera (Ctrl+R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>v%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image Adjustment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contrast:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transform:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capture Controls</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause/resume the recording (Ctrl+P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Publish</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DiagnosticsReport</name>
    <message>
        <source>Requested: %1x%2 at %3 fps (%4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delivered: %1 fps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame interval: median %1 ms, 95%: %2 ms, 99%: %3 ms, max %4 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames made by the camera: %1, taken: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lost in the driver or on the bus: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refused as damaged: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missed by the program: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not shown (a newer frame came first): %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not recorded: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compressed frames: %1 KB each on average, %2 Mbit/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>USB port %1, %2; this mode needs about %3 MB/s of about %4 MB/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>USB: not a USB camera, or its port could not be found</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FullscreenView</name>
    <message>
        <source>Press Esc to leave fullscreen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>● REC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fullscreen camera view</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H264PassThroughWriter</name>
    <message>
        <source>Error finishing the file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough free space to record: %1 MB left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No keyframe came from the camera: nothing was recorded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to open video writer for: %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error writing frame: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error writing sound: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistogramPlot</name>
    <message>
        <source>Histogram of luma and colours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clipped: %1 % dark, %2 % light</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HttpServer</name>
    <message>
        <source>The request did not arrive in time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A valid token is needed (Authorization: Bearer TOKEN).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The request head is too large.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not an HTTP request.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A malformed header line.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A body must come with its Content-Length.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A malformed Content-Length.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The request body is larger than %1 bytes.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IntervalPlot</name>
    <message>
        <source>Frame intervals of the last ten seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 s ago</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>now</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LevelMeter</name>
    <message>
        <source>Sound level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loudness of the sound being recorded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Silent</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Ostrel Camera Viewer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click to scan for cameras...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No camera feed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to switch the camera to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 fps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera disconnected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording Interrupted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video recording was interrupted due to camera disconnection.
The partial recording has been saved to:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera Disconnected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera has been disconnected: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Please reconnect it and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit fullscreen (ESC)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle fullscreen camera view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera reconnected: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera disconnected: the time-lapse goes on when it returns</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NotificationLabel</name>
    <message>
        <source>Open folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OpenPNPCamera</name>
    <message>
        <source>Camera %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1x%2 @ %3 fps (%4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to access camera properties</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OrientationControl</name>
    <message>
        <source>Rotate camera image 90° clockwise (currently %1°)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OverlayPainter</name>
    <message>
        <source>%1 mm</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PublishController</name>
    <message>
        <source>Set the address to publish to in the settings first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Publish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send the picture to the media server set in the settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live at %1; click to stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reconnecting…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server was lost (%1); trying again every second</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Publishing failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Publisher</name>
    <message>
        <source>No address to publish to: give an rtmp://, rtsp:// or srt:// address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a valid address to publish to: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot publish to %1: use an rtmp://, rtsp:// or srt:// address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>connecting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>live</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>reconnecting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stopped</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PulseAudioSource</name>
    <message>
        <source>the sound client could not be started</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecordingController</name>
    <message>
        <source>%1:%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Video Recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finishing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>00:00</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording error occurred</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video Files (*.%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No camera frame available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording start failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paused</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n frame(s)</source>
        <translation>
            <numerusform>%n frame</numerusform>
            <numerusform>%n frames</numerusform>
        </translation>
    </message>
    <message>
        <source>waiting for the camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>next in %1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>over 99 hours left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1:%2 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recording reached its size limit and was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recording was stopped: the disk is nearly full.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecordingReport</name>
    <message>
        <source>%1 frames written (%2 repeated); camera frames lost: %3 at the camera, %4 in the program</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecordingSettingsGroup</name>
    <message>
        <source>Recording Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motion-JPEG keeps the camera&apos;s own pictures and plays everywhere; H.264 files are several times smaller</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Never</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start a new numbered file every so many minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record a time-lapse: one frame every so many seconds, played at 30 fps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop the recording once its files hold this much</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop the recording before the free space on the disk falls below this</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording format:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start a new file every:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time-lapse, one frame every:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop at a size of:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep free on the disk:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motion-JPEG AVI (about %1 MB per minute at 1080p30)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>H.264 MKV (about %1 MB per minute at 1080p30)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>H.264 MP4 (about %1 MB per minute at 1080p30)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RemoteApi</name>
    <message>
        <source>The body is not a JSON object.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not allowed here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No such path: /api/%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No recording is running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera cannot change while recording.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No such camera.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera could not be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No such format.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera is not running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A recording is already running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera has delivered no picture yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A recording is an .avi, .mkv or .mp4 file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recording could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;paused&quot; must be true or false.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera has no control %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes a number or &quot;auto&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera refused %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No such profile: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RemoteServer</name>
    <message>
        <source>Serving on %1 needs a token (--token or the settings&apos; remote token).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot serve on %1 port %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only GET is allowed here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No such path: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera is not running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera delivered no picture.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not an address to serve on: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Reset to Defaults</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset all settings to their default values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ostrel Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Interface Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show FPS Counter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show/hide the FPS counter overlay on the camera view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-save with default filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When enabled, snapshots and recordings are saved automatically with default filenames without showing save dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Directory Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording Directory:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Recording Directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open recording directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Snapshot Directory:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Snapshot Directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open snapshot directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Version:&lt;/b&gt; %1&lt;/p&gt;&lt;p&gt;&lt;b&gt;Description:&lt;/b&gt; Ostrel camera capture application with video recording capabilities.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Features:&lt;/b&gt;&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Real-time camera preview with adjustable brightness, contrast and transformation&lt;/li&gt;&lt;li&gt;High-resolution snapshot capture&lt;/li&gt;&lt;li&gt;Threaded video recording with frame duplication for consistent timing&lt;/li&gt;&lt;li&gt;Support for multiple camera formats and resolutions&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;&lt;b&gt;Links:&lt;/b&gt;&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contact Support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;&amp;copy; %1&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Ostrel Camera Viewer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start the last camera when Ostrel opens</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When enabled, the camera used last starts by itself, in its last format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Publish to: rtmp://, rtsp:// or srt:// address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The media server the Publish button sends the picture to</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SnapshotSaver</name>
    <message>
        <source>Save Snapshot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images (*.png *.jpg *.jpeg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Snapshot saved (%1x%2)
%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to save snapshot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No camera frame available</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SoundCapture</name>
    <message>
        <source>Sound: no sound server (%1); recordings have no sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound: %1 could not be recorded (%2); the recording has no sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound: %1 was lost (%2); the recording goes on with silence</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SoundSettingsGroup</name>
    <message>
        <source>Sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Where recordings of this camera take their sound from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AAC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sound&apos;s codec in MKV and MP4 files; AVI files hold it uncompressed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asking the sound server for its sources…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound source:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound codec:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera&apos;s microphone (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera&apos;s microphone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The default source</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No sound server (%1): recordings have no sound.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (not connected)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StillCapture</name>
    <message>
        <source>there is no picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder cannot be created</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StreamConnection</name>
    <message>
        <source>Connection timed out: no answer within %1 s</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UsbLink</name>
    <message>
        <source>%1 Gbit/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Mbit/s</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VideoOverlays</name>
    <message>
        <source>0.0 fps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>00:00</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle fullscreen camera view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fullscreen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WindowShortcuts</name>
    <message>
        <source>Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shift+Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shift+Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F11</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>ostrel: cannot open a window: no display (DISPLAY and WAYLAND_DISPLAY are not set)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
