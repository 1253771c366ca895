<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>Battle</name>
    <message>
        <source>Beenden</source>
        <translation>Quit?</translation>
    </message>
    <message>
        <source>Scheisse</source>
        <translation>Damn</translation>
    </message>
    <message>
        <source>Konnte nicht starten</source>
        <translation>Could not start</translation>
    </message>
    <message>
        <source>Du</source>
        <translation>You</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>nur eine von --host und --join</source>
        <translation>only one of --host and --join</translation>
    </message>
    <message>
        <source>die Einstellungen im eigenen Datenordner halten:
$XDG_DATA_HOME/kaperfahrt, sonst
~/.local/share/kaperfahrt (so startet es das Menü)</source>
        <translation>keep the settings in the own data folder:
$XDG_DATA_HOME/kaperfahrt, else
~/.local/share/kaperfahrt (the menu starts it so)</translation>
    </message>
    <message>
        <source>ein Netzwerkspiel anbieten (ohne PORT an 47111)</source>
        <translation>offer a network game (without PORT on 47111)</translation>
    </message>
    <message>
        <source>RECHNER[:PORT]</source>
        <translation>HOST[:PORT]</translation>
    </message>
    <message>
        <source>einem Netzwerkspiel beitreten</source>
        <translation>join a network game</translation>
    </message>
    <message>
        <source>DATEI</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>eine Wiederholung ohne Fenster abspielen und prüfen</source>
        <translation>play a replay without a window and check it</translation>
    </message>
    <message>
        <source>diese Hilfe zeigen und enden</source>
        <translation>show this help and end</translation>
    </message>
    <message>
        <source>die Version zeigen und enden</source>
        <translation>show the version and end</translation>
    </message>
    <message>
        <source>unbekannte Option: %1</source>
        <translation>unknown option: %1</translation>
    </message>
    <message>
        <source>unerwartetes Argument: %1</source>
        <translation>unexpected argument: %1</translation>
    </message>
    <message>
        <source>Aufruf: kaperfahrt [OPTION …]
Seeschlachten zwischen Segelkriegsschiffen. Ohne Option beginnt das Spiel
mit dem Startfenster „Kaper-Fahrt“.

</source>
        <translation>Usage: kaperfahrt [OPTION …]
Sea battles between sailing warships. Without an option the game begins
with the start window &quot;Kaper-Fahrt&quot;.

</translation>
    </message>
    <message>
        <source>
Mehr in der Anleitung: man kaperfahrt
</source>
        <translation>
More in the manual: man kaperfahrt
</translation>
    </message>
    <message>
        <source>%1 braucht eine Datei</source>
        <translation>%1 needs a file</translation>
    </message>
    <message>
        <source>nur eine von --verify und --replay</source>
        <translation>only one of --verify and --replay</translation>
    </message>
    <message>
        <source>eine Wiederholung im Schlachtfenster zeigen und enden:
1, 2, 4 das Tempo, P Pause, Pfeil links und rechts
10 Sekunden zurück und vor, Esc beendet</source>
        <translation>show a replay in the battle window and end:
1, 2, 4 the speed, P pause, left and right arrow
10 seconds back and ahead, Esc ends</translation>
    </message>
    <message>
        <source>--host: kein Port: %1</source>
        <translation>--host: not a port: %1</translation>
    </message>
    <message>
        <source>--join braucht RECHNER[:PORT]</source>
        <translation>--join needs HOST[:PORT]</translation>
    </message>
</context>
<context>
    <name>KeyNames</name>
    <message>
        <source>Rücktaste</source>
        <translation>Backspace</translation>
    </message>
    <message>
        <source>Leertaste</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Einfg</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>Pos1</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>Bild auf</source>
        <translation>Page Up</translation>
    </message>
    <message>
        <source>Entf</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Ende</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Bild ab</source>
        <translation>Page Down</translation>
    </message>
    <message>
        <source>Pfeil rechts</source>
        <translation>Right arrow</translation>
    </message>
    <message>
        <source>Pfeil links</source>
        <translation>Left arrow</translation>
    </message>
    <message>
        <source>Pfeil runter</source>
        <translation>Down arrow</translation>
    </message>
    <message>
        <source>Pfeil hoch</source>
        <translation>Up arrow</translation>
    </message>
    <message>
        <source>Ziffernblock /</source>
        <translation>Keypad /</translation>
    </message>
    <message>
        <source>Ziffernblock *</source>
        <translation>Keypad *</translation>
    </message>
    <message>
        <source>Ziffernblock -</source>
        <translation>Keypad -</translation>
    </message>
    <message>
        <source>Ziffernblock +</source>
        <translation>Keypad +</translation>
    </message>
    <message>
        <source>Ziffernblock Enter</source>
        <translation>Keypad Enter</translation>
    </message>
    <message>
        <source>Ziffernblock 1</source>
        <translation>Keypad 1</translation>
    </message>
    <message>
        <source>Ziffernblock 2</source>
        <translation>Keypad 2</translation>
    </message>
    <message>
        <source>Ziffernblock 3</source>
        <translation>Keypad 3</translation>
    </message>
    <message>
        <source>Ziffernblock 4</source>
        <translation>Keypad 4</translation>
    </message>
    <message>
        <source>Ziffernblock 5</source>
        <translation>Keypad 5</translation>
    </message>
    <message>
        <source>Ziffernblock 6</source>
        <translation>Keypad 6</translation>
    </message>
    <message>
        <source>Ziffernblock 7</source>
        <translation>Keypad 7</translation>
    </message>
    <message>
        <source>Ziffernblock 8</source>
        <translation>Keypad 8</translation>
    </message>
    <message>
        <source>Ziffernblock 9</source>
        <translation>Keypad 9</translation>
    </message>
    <message>
        <source>Ziffernblock 0</source>
        <translation>Keypad 0</translation>
    </message>
    <message>
        <source>Ziffernblock ,</source>
        <translation>Keypad ,</translation>
    </message>
    <message>
        <source>Strg</source>
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>Umschalt</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>Strg rechts</source>
        <translation>Right Ctrl</translation>
    </message>
    <message>
        <source>Umschalt rechts</source>
        <translation>Right Shift</translation>
    </message>
    <message>
        <source>Alt Gr</source>
        <translation>AltGr</translation>
    </message>
    <message>
        <source>Taste %1</source>
        <translation>Key %1</translation>
    </message>
</context>
<context>
    <name>KeyWindow</name>
    <message>
        <source>Beschleunigen</source>
        <translation>Accelerate</translation>
    </message>
    <message>
        <source>Bremsen</source>
        <translation>Brake</translation>
    </message>
    <message>
        <source>Links</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Rechts</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Feuer Backbord</source>
        <translation>Fire port</translation>
    </message>
    <message>
        <source>Feuer Steuerbord</source>
        <translation>Fire starboard</translation>
    </message>
    <message>
        <source>Spieler %1</source>
        <translation>Player %1</translation>
    </message>
    <message>
        <source>Tasten</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Die üblichen Tasten.</source>
        <translation>The usual keys.</translation>
    </message>
    <message>
        <source>Zum Ändern auf eine Taste klicken.</source>
        <translation>Click a key to change it.</translation>
    </message>
    <message>
        <source>Taste drücken …</source>
        <translation>Press a key …</translation>
    </message>
    <message>
        <source>%1, %2: neue Taste drücken (Escape: nichts ändern)</source>
        <translation>%1, %2: press the new key (Escape: change nothing)</translation>
    </message>
    <message>
        <source>Diese Taste kennt das Spiel nicht.</source>
        <translation>The game does not know this key.</translation>
    </message>
    <message>
        <source>Nichts geändert.</source>
        <translation>Nothing changed.</translation>
    </message>
    <message>
        <source>%1 gehört dem Spiel.</source>
        <translation>%1 belongs to the game.</translation>
    </message>
    <message>
        <source>%1 ist schon belegt: %2, %3.</source>
        <translation>%1 is taken already: %2, %3.</translation>
    </message>
    <message>
        <source>%1 gewählt.</source>
        <translation>%1 chosen.</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>Einzelspieler</source>
        <translation>Single Player</translation>
    </message>
    <message>
        <source>2 Spieler VS</source>
        <translation>2 Players VS</translation>
    </message>
    <message>
        <source>Schiffe Anpassen</source>
        <translation>Edit Ships</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Spiel Beenden</source>
        <translation>Quit Game</translation>
    </message>
    <message>
        <source>wird als %1 gespeichert</source>
        <translation>is saved as %1</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>&amp;Ja</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;Nein</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>Es fehlt die Erlaubnis, die Datei oder ihren Ordner zu beschreiben.</source>
        <translation>There is no permission to write the file or its folder.</translation>
    </message>
    <message>
        <source>Das Laufwerk ist schreibgeschützt.</source>
        <translation>The drive is read-only.</translation>
    </message>
    <message>
        <source>Der Datenträger ist voll.</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>Die Datei würde zu groß.</source>
        <translation>The file would grow too large.</translation>
    </message>
    <message>
        <source>Die vorhandene Datei lässt sich nicht lesen und wird darum nicht ersetzt.</source>
        <translation>The existing file cannot be read and is therefore not replaced.</translation>
    </message>
    <message>
        <source>Der Arbeitsspeicher reicht nicht aus.</source>
        <translation>There is not enough memory.</translation>
    </message>
    <message>
        <source>Fehlernummer %1.</source>
        <translation>Error number %1.</translation>
    </message>
    <message>
        <source>Die Einstellungen konnten nicht in „%1“ gespeichert werden; die Datei bleibt, wie sie war.</source>
        <translation>The settings could not be saved in &quot;%1&quot;; the file stays as it was.</translation>
    </message>
    <message>
        <source>Nicht gespeichert</source>
        <translation>Not saved</translation>
    </message>
</context>
<context>
    <name>Network</name>
    <message>
        <source>Netzwerk</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>Verbindung</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Netzwerkspiel</source>
        <translation>Network game</translation>
    </message>
    <message>
        <source>Spiel anbieten</source>
        <translation>Offer a game</translation>
    </message>
    <message>
        <source>Rechner:Port</source>
        <translation>Host:Port</translation>
    </message>
    <message>
        <source>Beitreten</source>
        <translation>Join</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Warte auf einen Mitspieler an %1 …</source>
        <translation>Waiting for another player on %1 …</translation>
    </message>
    <message>
        <source>Verbinde mit %1 …</source>
        <translation>Connecting to %1 …</translation>
    </message>
    <message>
        <source>Keine Verbindung zu %1</source>
        <translation>No connection to %1</translation>
    </message>
    <message>
        <source>Suche %1 …</source>
        <translation>Looking up %1 …</translation>
    </message>
    <message>
        <source>Verbunden, einen Augenblick …</source>
        <translation>Connected, one moment …</translation>
    </message>
    <message>
        <source>Der Mitspieler antwortet nicht</source>
        <translation>The other player does not answer</translation>
    </message>
    <message>
        <source>Warte auf die Wahl des Mitspielers …</source>
        <translation>Waiting for the other player&apos;s choice …</translation>
    </message>
    <message>
        <source>Port %1 lässt sich nicht öffnen</source>
        <translation>Port %1 cannot be opened</translation>
    </message>
    <message>
        <source>Rechner %1 nicht gefunden</source>
        <translation>Host %1 not found</translation>
    </message>
    <message>
        <source>Verbindung lässt sich nicht aufbauen</source>
        <translation>The connection cannot be made</translation>
    </message>
    <message>
        <source>Netzwerk nicht verfügbar</source>
        <translation>Network not available</translation>
    </message>
    <message>
        <source>Der andere Spieler hat die Schlacht verlassen</source>
        <translation>The other player has left the battle</translation>
    </message>
    <message>
        <source>Der andere Spieler antwortet nicht mehr</source>
        <translation>The other player no longer answers</translation>
    </message>
    <message>
        <source>Spiel nicht mehr gleich</source>
        <translation>The games are no longer the same</translation>
    </message>
    <message>
        <source>Der Mitspieler hat abgebrochen</source>
        <translation>The other player cancelled</translation>
    </message>
    <message>
        <source>Protokoll %1</source>
        <translation>protocol %1</translation>
    </message>
    <message>
        <source>Der Mitspieler hat eine andere Version des Spiels (dort %1, hier %2)</source>
        <translation>The other player has another version of the game (there %1, here %2)</translation>
    </message>
    <message>
        <source>Der Router lehnt die Weiterleitung ab (%1-Fehler %2)</source>
        <translation>The router refuses the forwarding (%1 error %2)</translation>
    </message>
    <message>
        <source>Der Router hat selbst keine öffentliche Adresse (%1), er hängt hinter einem weiteren Router</source>
        <translation>The router has no public address itself (%1), it sits behind another router</translation>
    </message>
    <message>
        <source>Dieser Computer hat keine Verbindung zu einem Router</source>
        <translation>This computer has no connection to a router</translation>
    </message>
    <message>
        <source>Der Router hat weder auf UPnP noch auf NAT-PMP geantwortet</source>
        <translation>The router answered neither UPnP nor NAT-PMP</translation>
    </message>
    <message>
        <source>Adresse für den Mitspieler: %1</source>
        <translation>Address for the other player: %1</translation>
    </message>
    <message>
        <source>Keine Portweiterleitung: %1. UDP-Port %2 im Router von Hand an diesen Computer weiterleiten.</source>
        <translation>No port forwarding: %1. Forward UDP port %2 to this computer by hand in the router.</translation>
    </message>
    <message>
        <source>Adresse im eigenen Netz: %1</source>
        <translation>Address in the own network: %1</translation>
    </message>
    <message>
        <source>Port %1</source>
        <translation>port %1</translation>
    </message>
    <message>
        <source>Bitte die Adresse des Gastgebers eingeben: RECHNER oder RECHNER:PORT, etwa 192.168.1.20 oder 203.0.113.7:47111</source>
        <translation>Please enter the host&apos;s address: HOST or HOST:PORT, such as 192.168.1.20 or 203.0.113.7:47111</translation>
    </message>
    <message>
        <source>IPv6-Adressen gehen nicht: Debians ENet 1.3, über das das Spiel verbindet, kann nur IPv4. Bitte die IPv4-Adresse des Gastgebers eingeben, etwa 203.0.113.7:47111</source>
        <translation>IPv6 addresses do not work: Debian&apos;s ENet 1.3, through which the game connects, knows only IPv4. Please enter the host&apos;s IPv4 address, such as 203.0.113.7:47111</translation>
    </message>
    <message>
        <source>Der Port hinter dem Doppelpunkt muss eine Zahl von 1 bis 65535 sein, etwa 203.0.113.7:47111</source>
        <translation>The port after the colon must be a number from 1 to 65535, such as 203.0.113.7:47111</translation>
    </message>
    <message>
        <source>Das ist keine Adresse: erwartet wird ein Rechnername oder eine IPv4-Adresse, wahlweise mit :PORT, etwa 192.168.1.20 oder 203.0.113.7:47111</source>
        <translation>That is no address: a host name or an IPv4 address is expected, with :PORT if need be, such as 192.168.1.20 or 203.0.113.7:47111</translation>
    </message>
    <message>
        <source>Der Mitspieler überlegt …</source>
        <translation>The other player is thinking …</translation>
    </message>
    <message>
        <source>Diese Adresse dem Mitspieler schicken:</source>
        <translation>Send this address to the other player:</translation>
    </message>
    <message>
        <source>Adresse im eigenen Netz:</source>
        <translation>Address in the own network:</translation>
    </message>
    <message>
        <source>Der Router wird nicht gefragt; für einen Mitspieler im Internet UDP-Port %1 im Router von Hand an diesen Computer weiterleiten.</source>
        <translation>The router is not asked; for another player on the internet, forward UDP port %1 to this computer by hand in the router.</translation>
    </message>
    <message>
        <source>%1; für einen Mitspieler im Internet UDP-Port %2 im Router von Hand an diesen Computer weiterleiten.</source>
        <translation>%1; for another player on the internet, forward UDP port %2 to this computer by hand in the router.</translation>
    </message>
    <message>
        <source>Der Router wird gefragt …</source>
        <translation>Asking the router …</translation>
    </message>
    <message>
        <source>Kopieren</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Die Adresse des Gastgebers, wie er sie geschickt hat: RECHNER oder RECHNER:PORT (ohne Port %1), etwa 203.0.113.7:%1.
Nur IPv4: Debians ENet 1.3, über das das Spiel verbindet, kann kein IPv6.</source>
        <translation>The host&apos;s address as the host sent it: HOST or HOST:PORT (without a port %1), such as 203.0.113.7:%1.
IPv4 only: Debian&apos;s ENet 1.3, through which the game connects, knows no IPv6.</translation>
    </message>
    <message>
        <source>Zum Beitreten die Adresse eintragen, die der Gastgeber geschickt hat: RECHNER oder RECHNER:PORT, etwa 192.168.1.20 oder 203.0.113.7:47111</source>
        <translation>To join, enter the address the host sent: HOST or HOST:PORT, such as 192.168.1.20 or 203.0.113.7:47111</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>Sound an</source>
        <translation>Sound on</translation>
    </message>
    <message>
        <source>Schuss Lautstärke:</source>
        <translation>Shot volume:</translation>
    </message>
    <message>
        <source>Treffer Lautstärke:</source>
        <translation>Hit volume:</translation>
    </message>
    <message>
        <source>Gegner</source>
        <translation>Enemies</translation>
    </message>
    <message>
        <source>Gegneranzahl:</source>
        <translation>Enemies:</translation>
    </message>
    <message>
        <source>Netzwerk: Verzögerung</source>
        <translation>Network delay:</translation>
    </message>
    <message>
        <source>Gameplay</source>
        <translation>Gameplay</translation>
    </message>
    <message>
        <source>Schussentfernung:</source>
        <translation>Shot range:</translation>
    </message>
    <message>
        <source>Unendlich</source>
        <translation>Unlimited</translation>
    </message>
    <message>
        <source>Begrenzt</source>
        <translation>Limited</translation>
    </message>
    <message>
        <source>Distanz bis Schüsse gelöscht werden:</source>
        <translation>Distance before shots vanish:</translation>
    </message>
    <message>
        <source>Stärke:</source>
        <translation>Skill:</translation>
    </message>
    <message>
        <source>Leicht</source>
        <translation>Easy</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Schwer</source>
        <translation>Hard</translation>
    </message>
    <message>
        <source>Tasten …</source>
        <translation>Keys …</translation>
    </message>
    <message>
        <source>Sprache:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>Automatisch</source>
        <translation>Automatic</translation>
    </message>
</context>
<context>
    <name>Replays</name>
    <message>
        <source>Wiederholung (Pause)</source>
        <translation>Replay (paused)</translation>
    </message>
    <message>
        <source>Wiederholung (Ende)</source>
        <translation>Replay (end)</translation>
    </message>
    <message>
        <source>Wiederholung %1x</source>
        <translation>Replay %1x</translation>
    </message>
    <message>
        <source>Schiff %1</source>
        <translation>Ship %1</translation>
    </message>
    <message>
        <source>Einzelspieler</source>
        <translation>Single Player</translation>
    </message>
    <message>
        <source>2 Spieler VS</source>
        <translation>2 Players VS</translation>
    </message>
    <message>
        <source> gegen </source>
        <translation> against </translation>
    </message>
    <message>
        <source>offen</source>
        <translation>open</translation>
    </message>
    <message>
        <source>Wiederholungen</source>
        <translation>Replays</translation>
    </message>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Art</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Schiffe</source>
        <translation>Ships</translation>
    </message>
    <message>
        <source>Ergebnis</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Länge</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Ansehen</source>
        <translation>Watch</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Ordner öffnen</source>
        <translation>Open folder</translation>
    </message>
    <message>
        <source>dd.MM.yyyy HH:mm</source>
        <translation>yyyy-MM-dd HH:mm</translation>
    </message>
    <message>
        <source>unlesbar</source>
        <translation>unreadable</translation>
    </message>
    <message>
        <source>%1 lässt sich nicht löschen: %2</source>
        <translation>%1 cannot be deleted: %2</translation>
    </message>
    <message>
        <source>Der Ordner %1 lässt sich nicht öffnen.</source>
        <translation>The folder %1 cannot be opened.</translation>
    </message>
    <message>
        <source>Wiederholungen …</source>
        <translation>Replays …</translation>
    </message>
    <message>
        <source>Rechtsklick oder Strg+R: Wiederholungen ansehen</source>
        <translation>Right click or Ctrl+R: watch replays</translation>
    </message>
    <message>
        <source>Die Datei %1 lässt sich nicht lesen.</source>
        <translation>The file %1 cannot be read.</translation>
    </message>
    <message>
        <source>Die Datei ist keine Wiederholung von Kaperfahrt.</source>
        <translation>The file is not a Kaperfahrt replay.</translation>
    </message>
    <message>
        <source>Die Wiederholung ist unvollständig: die Datei bricht vorzeitig ab.</source>
        <translation>The replay is incomplete: the file ends too early.</translation>
    </message>
    <message>
        <source>Die Wiederholung ist beschädigt.</source>
        <translation>The replay is damaged.</translation>
    </message>
    <message>
        <source>Die Wiederholung hat ein Format, das diese Version des Spiels nicht kennt.</source>
        <translation>The replay has a format this version of the game does not know.</translation>
    </message>
    <message>
        <source>Die Wiederholung stammt von einer anderen Version des Spiels (dort %1, hier %2).</source>
        <translation>The replay comes from another version of the game (there %1, here %2).</translation>
    </message>
</context>
<context>
    <name>SettingsFolder</name>
    <message>
        <source>Einstellungsordner</source>
        <translation>Settings folder</translation>
    </message>
    <message>
        <source>Der Ordner für die Einstellungen lässt sich nicht anlegen oder beschreiben:
%1

Das Spiel läuft mit den gespeicherten oder den Grundeinstellungen weiter; Änderungen werden nicht gespeichert.</source>
        <translation>The folder for the settings cannot be made or written:
%1

The game goes on with the stored or the default settings; changes are not saved.</translation>
    </message>
</context>
<context>
    <name>ShipEditor</name>
    <message>
        <source>Beschleunigung:</source>
        <translation>Acceleration:</translation>
    </message>
    <message>
        <source>TopSpeed:</source>
        <translation>Top speed:</translation>
    </message>
    <message>
        <source>Health:</source>
        <translation>Health:</translation>
    </message>
    <message>
        <source>SchussTempo:</source>
        <translation>Shot speed:</translation>
    </message>
    <message>
        <source>Kanonenanzahl:</source>
        <translation>Cannons:</translation>
    </message>
    <message>
        <source>Schaden:</source>
        <translation>Damage:</translation>
    </message>
    <message>
        <source>Manövrierbarkeit:</source>
        <translation>Handling:</translation>
    </message>
    <message>
        <source>Nachladezeit:</source>
        <translation>Reload time:</translation>
    </message>
    <message>
        <source>Schiffe Anpassen</source>
        <translation>Edit Ships</translation>
    </message>
    <message>
        <source>Schiff %1</source>
        <translation>Ship %1</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ShipSelection</name>
    <message>
        <source>Schiff auswählen</source>
        <translation>Choose a ship</translation>
    </message>
    <message>
        <source>Player1 Schiff auswählen</source>
        <translation>Player1 choose a ship</translation>
    </message>
    <message>
        <source>Player2 Schiff auswählen</source>
        <translation>Player2 choose a ship</translation>
    </message>
    <message>
        <source>Schiff</source>
        <translation>Ship</translation>
    </message>
    <message>
        <source>Beschleunigung</source>
        <translation>Acceleration</translation>
    </message>
    <message>
        <source>Health</source>
        <translation>Health</translation>
    </message>
    <message>
        <source>SchussSpeed</source>
        <translation>Shot speed</translation>
    </message>
    <message>
        <source>TopSpeed</source>
        <translation>Top speed</translation>
    </message>
    <message>
        <source>Kanonen</source>
        <translation>Cannons</translation>
    </message>
    <message>
        <source>Schaden</source>
        <translation>Damage</translation>
    </message>
    <message>
        <source>Wendigkeit</source>
        <translation>Handling</translation>
    </message>
    <message>
        <source>Nachladezeit</source>
        <translation>Reload time</translation>
    </message>
    <message>
        <source>Schiff %1</source>
        <translation>Ship %1</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
</context>
</TS>
