<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ConnectionPolicy</name>
    <message>
        <source>asks the driver manager to write the connection into a file</source>
        <translation>lässt den Treibermanager die Verbindung in eine Datei schreiben</translation>
    </message>
    <message>
        <source>sets attributes and environment variables of the ODBC driver manager</source>
        <translation>setzt Attribute und Umgebungsvariablen des ODBC-Treibermanagers</translation>
    </message>
    <message>
        <source>sets connection attributes of the ODBC driver manager</source>
        <translation>setzt Verbindungsattribute des ODBC-Treibermanagers</translation>
    </message>
    <message>
        <source>sets statement attributes of the ODBC driver manager</source>
        <translation>setzt Anweisungsattribute des ODBC-Treibermanagers</translation>
    </message>
    <message>
        <source>makes the SQLite driver load libraries</source>
        <translation>lässt den SQLite-Treiber Bibliotheken laden</translation>
    </message>
    <message>
        <source>makes the SQLite driver write into a file</source>
        <translation>lässt den SQLite-Treiber in eine Datei schreiben</translation>
    </message>
    <message>
        <source>makes the PostgreSQL driver write its logs into a folder</source>
        <translation>lässt den PostgreSQL-Treiber seine Protokolle in einen Ordner schreiben</translation>
    </message>
    <message>
        <source>can make the PostgreSQL client library load a library (an OpenSSL engine)</source>
        <translation>kann die Client-Bibliothek von PostgreSQL eine Bibliothek laden lassen (eine OpenSSL-Engine)</translation>
    </message>
    <message>
        <source>makes the MariaDB driver load plug-in libraries from a folder</source>
        <translation>lässt den MariaDB-Treiber Plug-in-Bibliotheken aus einem Ordner laden</translation>
    </message>
    <message>
        <source>A connection string from someone else must not make this program load libraries or write files. Settings like this belong in a data source of your own ODBC configuration, named with DSN=.</source>
        <translation>Eine Verbindungszeichenfolge von jemand anderem darf dieses Programm keine Bibliotheken laden oder Dateien schreiben lassen. Solche Einstellungen gehören in eine Datenquelle Ihrer eigenen ODBC-Konfiguration, die Sie mit DSN= nennen.</translation>
    </message>
    <message>
        <source>Only the drivers of your own ODBC configuration are loaded, so that a connection string from someone else cannot run a library of its choosing. Name an installed driver, or a data source of your configuration with DSN=.</source>
        <translation>Es werden nur die Treiber Ihrer eigenen ODBC-Konfiguration geladen, damit eine Verbindungszeichenfolge von jemand anderem keine Bibliothek ihrer Wahl ausführen kann. Nennen Sie einen installierten Treiber oder mit DSN= eine Datenquelle Ihrer Konfiguration.</translation>
    </message>
    <message>
        <source>Not connected: DRIVER &quot;%1&quot; in %2 is neither an ODBC driver installed on this computer nor the library of one.

%3</source>
        <translation>Nicht verbunden: %2 nennt DRIVER „%1“; das ist weder ein auf diesem Computer installierter ODBC-Treiber noch die Bibliothek eines solchen.

%3</translation>
    </message>
    <message>
        <source>Not connected: %1 has %2, which %3.

%4</source>
        <translation>Nicht verbunden: %1 enthält %2; diese Einstellung %3.

%4</translation>
    </message>
    <message>
        <source>the connection string</source>
        <translation>die Verbindungszeichenfolge</translation>
    </message>
    <message>
        <source>the file data source &quot;%1&quot; that FILEDSN names</source>
        <translation>die Dateidatenquelle „%1“, die FILEDSN nennt,</translation>
    </message>
    <message>
        <source>the connection string joined with the file data source &quot;%1&quot; that FILEDSN names</source>
        <translation>die Verbindungszeichenfolge zusammen mit der Dateidatenquelle „%1“, die FILEDSN nennt,</translation>
    </message>
</context>
<context>
    <name>Database</name>
    <message>
        <source>The ODBC driver manager could not set up an environment.</source>
        <translation>Der ODBC-Treibermanager konnte keine Umgebung einrichten.</translation>
    </message>
</context>
<context>
    <name>DescriptionFiles</name>
    <message>
        <source>Database Table Description Files(*.dtd)|*.dtd|All Files(*.*)|*.*|</source>
        <translation>Beschreibungsdateien für Datenbanktabellen (*.dtd)|*.dtd|Alle Dateien (*.*)|*.*|</translation>
    </message>
    <message>
        <source>Database Table Description (*.dtd)|*.dtd|</source>
        <translation>Beschreibung einer Datenbanktabelle (*.dtd)|*.dtd|</translation>
    </message>
</context>
<context>
    <name>Diagnostics</name>
    <message>
        <source>SQL Error State:%1, Native Error Code: %2, ODBC Error: %3</source>
        <translation>SQL-Fehlerstatus:%1, systemeigener Fehlercode: %2, ODBC-Fehler: %3</translation>
    </message>
</context>
<context>
    <name>FieldTypes</name>
    <message>
        <source>(0 or 1)</source>
        <translation>(0 oder 1)</translation>
    </message>
    <message>
        <source>(No more than %d digits)</source>
        <translation>(Höchstens %d Ziffern)</translation>
    </message>
    <message>
        <source>(One character only)</source>
        <translation>(Nur ein Zeichen)</translation>
    </message>
    <message>
        <source>(No more than %d characters)</source>
        <translation>(Höchstens %d Zeichen)</translation>
    </message>
    <message>
        <source>(Format 55555.55)</source>
        <translation>(Format 55555.55)</translation>
    </message>
    <message>
        <source>(Format: MM/DD/YYYY)</source>
        <translation>(Format: MM/TT/JJJJ)</translation>
    </message>
    <message>
        <source>(Format: hh:mm:ss)</source>
        <translation>(Format: hh:mm:ss)</translation>
    </message>
    <message>
        <source>(&quot;MM/DD/YYYY&quot; or &quot;MM/DD/YYYY-hh:mm:ss&quot;)</source>
        <translation>(„MM/TT/JJJJ“ oder „MM/TT/JJJJ-hh:mm:ss“)</translation>
    </message>
    <message>
        <source>(Valid values: 0 or 1)</source>
        <translation>(Gültige Werte: 0 oder 1)</translation>
    </message>
    <message>
        <source>(Format 55555.555555)</source>
        <translation>(Format 55555.555555)</translation>
    </message>
    <message>
        <source>Invalid format or value.
(Format: MM/DD/YYYY)</source>
        <translation>Ungültiges Format oder ungültiger Wert.
(Format: MM/TT/JJJJ)</translation>
    </message>
    <message>
        <source>Invalid format or value.
(Format: hh:mm:ss)</source>
        <translation>Ungültiges Format oder ungültiger Wert.
(Format: hh:mm:ss)</translation>
    </message>
    <message>
        <source>Invalid format or value.
(Format: &quot;MM/DD/YYYY&quot; OR &quot;MM/DD/YYYY-hh:mm:ss&quot;)</source>
        <translation>Ungültiges Format oder ungültiger Wert.
(Format: „MM/TT/JJJJ“ ODER „MM/TT/JJJJ-hh:mm:ss“)</translation>
    </message>
    <message>
        <source>Unknown format.</source>
        <translation>Unbekanntes Format.</translation>
    </message>
</context>
<context>
    <name>Launch</name>
    <message>
        <source>helpframe.htm</source>
        <translation>helpframe.de.htm</translation>
    </message>
    <message>
        <source>The help page is not installed.</source>
        <translation>Die Hilfeseite ist nicht installiert.</translation>
    </message>
    <message>
        <source>No program to show web pages could be started.</source>
        <translation>Es konnte kein Programm zum Anzeigen von Webseiten gestartet werden.</translation>
    </message>
</context>
<context>
    <name>OdbcError</name>
    <message>
        <source>The ODBC driver reported a failure without giving a reason.</source>
        <translation>Der ODBC-Treiber hat einen Fehler gemeldet, ohne einen Grund zu nennen.</translation>
    </message>
</context>
<context>
    <name>TableDescription</name>
    <message>
        <source>Bad data in &quot;Data Table Description&quot; file.</source>
        <translation>Fehlerhafte Daten in der Tabellenbeschreibungsdatei.</translation>
    </message>
    <message>
        <source>%1 must have %2 to %3 characters.</source>
        <translation>%1 muss %2 bis %3 Zeichen haben.</translation>
    </message>
    <message>
        <source>A description must have 1 to 30 fields.</source>
        <translation>Eine Beschreibung muss 1 bis 30 Felder haben.</translation>
    </message>
    <message>
        <source>The connection string</source>
        <translation>Die Verbindungszeichenfolge</translation>
    </message>
    <message>
        <source>The table name</source>
        <translation>Der Tabellenname</translation>
    </message>
    <message>
        <source>Field %1</source>
        <translation>Feld %1</translation>
    </message>
    <message>
        <source>%1: the name</source>
        <translation>%1: der Name</translation>
    </message>
    <message>
        <source>%1: the title</source>
        <translation>%1: der Titel</translation>
    </message>
    <message>
        <source>%1: the default value</source>
        <translation>%1: der Vorgabewert</translation>
    </message>
    <message>
        <source>%1: the type name</source>
        <translation>%1: der Typname</translation>
    </message>
    <message>
        <source>%1: the length must be at least 1.</source>
        <translation>%1: die Länge muss mindestens 1 sein.</translation>
    </message>
    <message>
        <source>Could not write file %1:
%2.</source>
        <translation>Die Datei %1 konnte nicht geschrieben werden:
%2.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Open file: %1 failed.
%2.</source>
        <translation>Die Datei %1 konnte nicht geöffnet werden.
%2.</translation>
    </message>
    <message>
        <source>Open file %s failed</source>
        <translation>Die Datei %s konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>File %s is not valid.</source>
        <translation>Die Datei %s ist ungültig.</translation>
    </message>
    <message>
        <source>Bad field number in file %s.</source>
        <translation>Ungültige Anzahl von Feldern in der Datei %s.</translation>
    </message>
    <message>
        <source>The description cannot be saved.
%1</source>
        <translation>Die Beschreibung kann nicht gespeichert werden.
%1</translation>
    </message>
</context>
</TS>
