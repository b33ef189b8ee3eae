<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutBox</name>
    <message>
        <source>About Ormund</source>
        <translation>Über Ormund</translation>
    </message>
    <message>
        <source>Ormund Version %1</source>
        <translation>Ormund Version %1</translation>
    </message>
    <message>
        <source>A companion of Quillon: it describes the table that Quillon fills.</source>
        <translation>Ein Begleiter von Quillon: Er beschreibt die Tabelle, die Quillon füllt.</translation>
    </message>
</context>
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
    <name>DataSourceDialog</name>
    <message>
        <source>Select Data Source</source>
        <translation>Datenquelle auswählen</translation>
    </message>
    <message>
        <source>Machine Data Source</source>
        <translation>Computerdatenquelle</translation>
    </message>
    <message>
        <source>File Data Source</source>
        <translation>Dateidatenquelle</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Anmeldung</translation>
    </message>
    <message>
        <source>User name:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Data Source Name</source>
        <translation>Name der Datenquelle</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Driver</source>
        <translation>Treiber</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>DSN Name:</source>
        <translation>DSN-Name:</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Select File Data Source</source>
        <translation>Dateidatenquelle auswählen</translation>
    </message>
    <message>
        <source>File Data Sources (*.dsn);;All Files (*)</source>
        <translation>Dateidatenquellen (*.dsn);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>No data source is set up on this computer yet.

Add one with your desktop&apos;s ODBC tool (such as the ODBC Data Source Administrator), or on the command line:

    odbcinst -i -s -h -f mydata.ini

where mydata.ini names the data source, its driver and its database, for example

    [MyData]
    Driver = SQLite3
    Database = /home/me/mydata.db

&quot;odbcinst -q -d&quot; lists the installed drivers. Then specify the data source again.</source>
        <translation>Auf diesem Computer ist noch keine Datenquelle eingerichtet.

Richten Sie eine mit dem ODBC-Werkzeug Ihres Desktops ein (etwa dem ODBC Data Source Administrator) oder auf der Befehlszeile:

    odbcinst -i -s -h -f mydata.ini

Dabei nennt mydata.ini die Datenquelle, ihren Treiber und ihre Datenbank, zum Beispiel

    [MyData]
    Driver = SQLite3
    Database = /home/me/mydata.db

„odbcinst -q -d“ listet die installierten Treiber auf. Geben Sie die Datenquelle danach noch einmal an.</translation>
    </message>
    <message>
        <source>Select the data source: user data sources are yours alone, system data sources are shared by every user of this computer.</source>
        <translation>Wählen Sie die Datenquelle: Benutzerdatenquellen gehören nur Ihnen, Systemdatenquellen teilen sich alle Benutzer dieses Computers.</translation>
    </message>
    <message>
        <source>Look in: %1</source>
        <translation>Suchen in: %1</translation>
    </message>
</context>
<context>
    <name>DataSourcePage</name>
    <message>
        <source>Please Specify a Data Source</source>
        <translation>Bitte geben Sie eine Datenquelle an</translation>
    </message>
    <message>
        <source>Inform</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Specify Data Source</source>
        <translation>Datenquelle angeben</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>    A Data Source is your Database with a name given by you. Press the button above to specify or re-specify your Data Source.</source>
        <translation>    Eine Datenquelle ist Ihre Datenbank unter einem Namen, den Sie ihr geben. Drücken Sie die Schaltfläche oben, um Ihre Datenquelle anzugeben oder neu anzugeben.</translation>
    </message>
    <message>
        <source>ormund: Specify Data Source</source>
        <translation>ormund: Datenquelle angeben</translation>
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
    <name>DescriptionWizard</name>
    <message>
        <source>The help page %1 cannot be shown.
%2</source>
        <translation>Die Hilfeseite %1 kann nicht angezeigt werden.
%2</translation>
    </message>
    <message>
        <source>Quillon cannot be started: %1
%2</source>
        <translation>Quillon kann nicht gestartet werden: %1
%2</translation>
    </message>
    <message>
        <source>Database table information has been saved.
Do you want to start Quillon now ?</source>
        <translation>Die Informationen zur Datenbanktabelle wurden gespeichert.
Möchten Sie Quillon jetzt starten?</translation>
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
    <name>FieldEditDialog</name>
    <message>
        <source>Note: Default value is optional for this field. You may leave it blank</source>
        <translation>Hinweis: Ein Vorgabewert ist für dieses Feld freiwillig. Sie können ihn leer lassen</translation>
    </message>
    <message>
        <source>Note: This is a required field. Default value is recommended.</source>
        <translation>Hinweis: Dies ist ein Pflichtfeld. Ein Vorgabewert wird empfohlen.</translation>
    </message>
    <message>
        <source>Field Name:</source>
        <translation>Feldname:</translation>
    </message>
    <message>
        <source>Field Title:</source>
        <translation>Feldtitel:</translation>
    </message>
    <message>
        <source>(Limited 7 characters)</source>
        <translation>(Höchstens 7 Zeichen)</translation>
    </message>
    <message>
        <source>Use the actual Date / Time (When the table is being filled up)</source>
        <translation>Aktuelles Datum / aktuelle Uhrzeit verwenden (beim Füllen der Tabelle)</translation>
    </message>
    <message>
        <source>Field Type:</source>
        <translation>Feldtyp:</translation>
    </message>
    <message>
        <source>Field Default Value:</source>
        <translation>Vorgabewert des Felds:</translation>
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
        <source>Field Title cannot be empty.</source>
        <translation>Der Feldtitel darf nicht leer sein.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Default Value Not Valid.</source>
        <translation>Vorgabewert ungültig.</translation>
    </message>
    <message>
        <source>Edit Field Title &amp; Default Value</source>
        <translation>Feldtitel und Vorgabewert bearbeiten</translation>
    </message>
</context>
<context>
    <name>FieldPage</name>
    <message>
        <source>Field Name</source>
        <translation>Feldname</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Required</source>
        <translation>Pflicht</translation>
    </message>
    <message>
        <source>SQL Type</source>
        <translation>SQL-Typ</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Default Value</source>
        <translation>Vorgabewert</translation>
    </message>
    <message>
        <source>Inform</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Bereich</translation>
    </message>
    <message>
        <source>    Right arrow button to select. Left arrow button to unselect.</source>
        <translation>    Pfeil nach rechts wählt aus, Pfeil nach links nimmt die Auswahl zurück.</translation>
    </message>
    <message>
        <source>    Double click on the field item to edit its title and/or its default value.</source>
        <translation>    Doppelklicken Sie auf ein Feld, um seinen Titel und/oder Vorgabewert zu bearbeiten.</translation>
    </message>
    <message>
        <source>Selected Field(s)</source>
        <translation>Ausgewählte Felder</translation>
    </message>
    <message>
        <source>Fields In Table %1</source>
        <translation>Felder in Tabelle %1</translation>
    </message>
    <message>
        <source>The driver of this data source does not list the fields of a table.
No field can be selected.</source>
        <translation>Der Treiber dieser Datenquelle listet die Felder einer Tabelle nicht auf.
Es kann kein Feld ausgewählt werden.</translation>
    </message>
    <message>
        <source>A Field of type &quot;COUNTER&quot; will be automatically filled up.</source>
        <translation>Ein Feld vom Typ „COUNTER“ wird automatisch gefüllt.</translation>
    </message>
    <message>
        <source>Quillon cannot fill up a field of type binary.
Skip this field.</source>
        <translation>Quillon kann kein Feld vom Typ binary füllen.
Lassen Sie dieses Feld aus.</translation>
    </message>
    <message>
        <source>The driver gives no SQL type for the field &quot;%1&quot;.
Quillon needs the type to check the field&apos;s values.
Skip this field.</source>
        <translation>Der Treiber nennt keinen SQL-Typ für das Feld „%1“.
Quillon braucht den Typ, um die Werte des Felds zu prüfen.
Lassen Sie dieses Feld aus.</translation>
    </message>
    <message>
        <source>The driver gives no length for the field &quot;%1&quot;.
Quillon needs a length of at least 1 to fill up a field.
Skip this field.</source>
        <translation>Der Treiber nennt keine Länge für das Feld „%1“.
Quillon braucht eine Länge von mindestens 1, um ein Feld zu füllen.
Lassen Sie dieses Feld aus.</translation>
    </message>
    <message>
        <source>The field &quot;%1&quot; has a length of %2.
Quillon needs a length of at least 1 to fill up a field.
Skip this field.</source>
        <translation>Das Feld „%1“ hat die Länge %2.
Quillon braucht eine Länge von mindestens 1, um ein Feld zu füllen.
Lassen Sie dieses Feld aus.</translation>
    </message>
    <message>
        <source>You have selected %1 fields.
No more field can be added.</source>
        <translation>Sie haben %1 Felder ausgewählt.
Es kann kein weiteres Feld hinzukommen.</translation>
    </message>
    <message>
        <source>The field &quot;%1&quot; is required has type of &quot;binary&quot;.
Quillon can NOT work with this table

[Solution]: Go to MS Access, change this field to another type
or make it not required.</source>
        <translation>Das Feld „%1“ ist ein Pflichtfeld vom Typ „binary“.
Quillon kann mit dieser Tabelle NICHT arbeiten

[Lösung]: Geben Sie diesem Feld in Ihrer Datenbank einen anderen Typ
oder machen Sie es zu einem freiwilligen Feld.</translation>
    </message>
    <message>
        <source>The field &quot;%1&quot; is required and has no SQL type that Quillon can use.
Quillon can NOT work with this table

[Solution]: give this field a type
or make it not required.</source>
        <translation>Das Feld „%1“ ist ein Pflichtfeld und hat keinen SQL-Typ, den Quillon verwenden kann.
Quillon kann mit dieser Tabelle NICHT arbeiten

[Lösung]: Geben Sie diesem Feld einen Typ
oder machen Sie es zu einem freiwilligen Feld.</translation>
    </message>
    <message>
        <source>The field &quot;%1&quot; is required and has no length that Quillon can use.
Quillon can NOT work with this table

[Solution]: change this field to a type with a length
or make it not required.</source>
        <translation>Das Feld „%1“ ist ein Pflichtfeld und hat keine Länge, die Quillon verwenden kann.
Quillon kann mit dieser Tabelle NICHT arbeiten

[Lösung]: Geben Sie diesem Feld einen Typ mit Länge
oder machen Sie es zu einem freiwilligen Feld.</translation>
    </message>
    <message>
        <source>The field &quot;%1&quot; is required.
Please select it.</source>
        <translation>Das Feld „%1“ ist ein Pflichtfeld.
Bitte wählen Sie es aus.</translation>
    </message>
    <message>
        <source>The field &quot;%1&quot; is required, and its name differs from the field &quot;%2&quot; in case alone: Quillon lists only &quot;%2&quot;.
Quillon can NOT work with this table

[Solution]: rename one of the two fields
or make &quot;%1&quot; not required.</source>
        <translation>Das Feld „%1“ ist ein Pflichtfeld, und sein Name unterscheidet sich vom Feld „%2“ nur in der Groß- und Kleinschreibung: Quillon listet nur „%2“ auf.
Quillon kann mit dieser Tabelle NICHT arbeiten

[Lösung]: Benennen Sie eines der beiden Felder um
oder machen Sie „%1“ zu einem freiwilligen Feld.</translation>
    </message>
    <message>
        <source>Please select fields to be filled up</source>
        <translation>Bitte wählen Sie die zu füllenden Felder aus</translation>
    </message>
    <message>
        <source>ormund: Select Fields From A Table To Be Filled Up With Quillon</source>
        <translation>ormund: Felder der Tabelle wählen, die Quillon füllen soll</translation>
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
    <name>Session</name>
    <message>
        <source>Data Source Name:  %1
Data Base:  %2
Data Base Type:  %3
Description:  %4</source>
        <translation>Name der Datenquelle:  %1
Datenbank:  %2
Datenbanktyp:  %3
Beschreibung:  %4</translation>
    </message>
    <message>
        <source>You may have used &quot;File Data Source&quot; tab.
Please use &quot;Machine Data Source&quot; tab to specify your Data Source Name.</source>
        <translation>Sie haben vielleicht die Registerkarte „Dateidatenquelle“ verwendet.
Bitte geben Sie den Namen Ihrer Datenquelle auf der Registerkarte „Computerdatenquelle“ an.</translation>
    </message>
    <message>
        <source>Inform</source>
        <translation>Hinweis</translation>
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
<context>
    <name>TablePage</name>
    <message>
        <source>Please select a table.</source>
        <translation>Bitte wählen Sie eine Tabelle aus.</translation>
    </message>
    <message>
        <source>Inform</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Table Selected</source>
        <translation>Ausgewählte Tabelle</translation>
    </message>
    <message>
        <source>    Click on the table name to select. Quillon will populate (fill up) the selected table.</source>
        <translation>    Klicken Sie auf einen Tabellennamen, um die Tabelle auszuwählen. Quillon füllt die ausgewählte Tabelle.</translation>
    </message>
    <message>
        <source>%1 [Tables]</source>
        <translation>%1 [Tabellen]</translation>
    </message>
    <message>
        <source>ormund: Select A Table To Be Filled Up With Quillon</source>
        <translation>ormund: Tabelle wählen, die Quillon füllen soll</translation>
    </message>
</context>
</TS>
