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
