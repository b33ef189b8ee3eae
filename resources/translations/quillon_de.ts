<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutBox</name>
    <message>
        <source>About Quillon</source>
        <translation>Über Quillon</translation>
    </message>
    <message>
        <source>Quillon Version 1.01</source>
        <translation>Quillon Version 1.01</translation>
    </message>
    <message>
        <source>Picks field values from other applications</source>
        <translation>Übernimmt Feldwerte aus anderen Anwendungen</translation>
    </message>
    <message>
        <source>into a database table. A companion of Ormund.</source>
        <translation>in eine Datenbanktabelle. Ein Begleiter von Ormund.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
</context>
<context>
    <name>Capture</name>
    <message>
        <source>Picking text from other applications is not available in this session: the windowing system does not let Quillon reach other applications&apos; windows.
Copy the text there by hand (Ctrl+C); it goes into the field you clicked.</source>
        <translation>Text aus anderen Anwendungen aufzunehmen ist in dieser Sitzung nicht möglich: Das Fenstersystem lässt Quillon nicht an die Fenster anderer Anwendungen heran.
Kopieren Sie den Text dort von Hand (Strg+C); er kommt in das Feld, das Sie angeklickt haben.</translation>
    </message>
    <message>
        <source>Nothing is selected: select the text first, then click the field&apos;s button.</source>
        <translation>Nichts ist markiert: Markieren Sie zuerst den Text und klicken Sie dann auf die Schaltfläche des Felds.</translation>
    </message>
    <message>
        <source>The selection holds no text: select some text, then click again.</source>
        <translation>Die Auswahl enthält keinen Text: Markieren Sie Text und klicken Sie dann noch einmal.</translation>
    </message>
    <message>
        <source>Nothing new is selected: select by dragging, double click or Shift+arrows.</source>
        <translation>Nichts Neues ist markiert: Markieren Sie durch Ziehen, Doppelklick oder Umschalt+Pfeiltasten.</translation>
    </message>
    <message>
        <source>Nothing was copied: until another click, the next text you copy goes here.</source>
        <translation>Nichts wurde kopiert: Bis zum nächsten Klick kommt der nächste Text, den Sie kopieren, hierher.</translation>
    </message>
    <message>
        <source>From the selection (nothing was copied): </source>
        <translation>Aus der Auswahl (nichts wurde kopiert): </translation>
    </message>
    <message>
        <source>Quillon: Inform</source>
        <translation>Quillon: Hinweis</translation>
    </message>
    <message>
        <source>Quillon cannot reach that window: copy with Ctrl+C, the text comes here.</source>
        <translation>Quillon erreicht dieses Fenster nicht: Kopieren Sie mit Strg+C, der Text kommt hierher.</translation>
    </message>
</context>
<context>
    <name>CaptureText</name>
    <message>
        <source>quillon   - text you are picking up</source>
        <translation>quillon   - Text, den Sie aufnehmen</translation>
    </message>
    <message>
        <source>quillon   - text you are picking up to &quot;%1&quot;</source>
        <translation>quillon   - Text, den Sie in „%1“ aufnehmen</translation>
    </message>
</context>
<context>
    <name>Insert</name>
    <message>
        <source>Quillon: Warning</source>
        <translation>Quillon: Warnung</translation>
    </message>
    <message>
        <source>The connection was lost while the row was being stored. It may have been stored: check before entering it again.</source>
        <translation>Die Verbindung ist abgerissen, während die Zeile gespeichert wurde. Vielleicht wurde sie gespeichert: Prüfen Sie das, bevor Sie sie noch einmal eintragen.</translation>
    </message>
    <message>
        <source>SQL_SUCCESS_WITH_INFO results</source>
        <translation>SQL_SUCCESS_WITH_INFO-Ergebnisse</translation>
    </message>
    <message>
        <source>SQL_ERROR results</source>
        <translation>SQL_ERROR-Ergebnisse</translation>
    </message>
    <message>
        <source>%1 continued</source>
        <translation>%1 (Fortsetzung)</translation>
    </message>
</context>
<context>
    <name>MiniFrame</name>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Move</source>
        <translation>&amp;Verschieben</translation>
    </message>
    <message>
        <source>&amp;Size</source>
        <translation>&amp;Größe ändern</translation>
    </message>
    <message>
        <source>Mi&amp;nimize</source>
        <translation>Mi&amp;nimieren</translation>
    </message>
    <message>
        <source>Ma&amp;ximize</source>
        <translation>Ma&amp;ximieren</translation>
    </message>
    <message>
        <source>&amp;Close	Alt+F4</source>
        <translation>&amp;Schließen	Alt+F4</translation>
    </message>
</context>
<context>
    <name>NoDescriptionDialog</name>
    <message>
        <source>No Database Table Description File Found !</source>
        <translation>Keine Beschreibungsdatei für eine Datenbanktabelle gefunden!</translation>
    </message>
    <message>
        <source>Create New One</source>
        <translation>Neue erstellen</translation>
    </message>
    <message>
        <source>Load Existing One</source>
        <translation>Vorhandene laden</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>PickedDataView</name>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No </source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Quilloned</source>
        <translation>Aufgenommen</translation>
    </message>
    <message>
        <source>Field Name</source>
        <translation>Feldname</translation>
    </message>
    <message>
        <source>Picked Data</source>
        <translation>Aufgenommene Daten</translation>
    </message>
    <message>
        <source>Valid</source>
        <translation>Gültig</translation>
    </message>
    <message>
        <source>To edit, double click on the item</source>
        <translation>Zum Bearbeiten auf den Eintrag doppelklicken</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>PickerTexts</name>
    <message>
        <source>Every field holds a value: Enter stores the row.</source>
        <translation>Jedes Feld hat einen Wert: Eintragen speichert die Zeile.</translation>
    </message>
    <message>
        <source>The table has no field %1.</source>
        <translation>Die Tabelle hat kein Feld %1.</translation>
    </message>
    <message>
        <source>Not a key combination: </source>
        <translation>Keine Tastenkombination: </translation>
    </message>
    <message>
        <source>quillon   - keys in the settings file</source>
        <translation>quillon   - Tasten in der Einstellungsdatei</translation>
    </message>
    <message>
        <source>Table Name:  %1</source>
        <translation>Tabellenname:  %1</translation>
    </message>
    <message>
        <source>Quillon: Database Table Information</source>
        <translation>Quillon: Informationen zur Datenbanktabelle</translation>
    </message>
    <message>
        <source>Unsaved Text Data will be lost.
Are you sure you want to exit ?</source>
        <translation>Nicht gespeicherte Textdaten gehen verloren.
Möchten Sie Quillon wirklich beenden?</translation>
    </message>
    <message>
        <source>Unsaved Text Data will be lost.
Continue ?</source>
        <translation>Nicht gespeicherte Textdaten gehen verloren.
Fortfahren?</translation>
    </message>
    <message>
        <source>Quillon: Warning</source>
        <translation>Quillon: Warnung</translation>
    </message>
    <message>
        <source>The path of the Table Description file is longer than %1 characters, which Quillon cannot keep:
%2</source>
        <translation>Der Pfad der Tabellenbeschreibungsdatei ist länger als %1 Zeichen; einen so langen Pfad kann Quillon nicht speichern:
%2</translation>
    </message>
    <message>
        <source>Cannot start %1
%2</source>
        <translation>%1 kann nicht gestartet werden
%2</translation>
    </message>
    <message>
        <source>Quillon: Inform</source>
        <translation>Quillon: Hinweis</translation>
    </message>
    <message>
        <source>Out of memory !</source>
        <translation>Nicht genügend Arbeitsspeicher!</translation>
    </message>
    <message>
        <source>quillon   - keys held by another program</source>
        <translation>quillon   - Tasten, die ein anderes Programm belegt</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>Another program holds %1: these keys do nothing here.</source>
        <translation>Ein anderes Programm belegt %1: Diese Tasten bewirken hier nichts.</translation>
    </message>
</context>
<context>
    <name>PickerWindow</name>
    <message>
        <source>&amp;Fill Row From Copied Cells</source>
        <translation>Zeile aus kopierten &amp;Zellen füllen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>&amp;Help	F1</source>
        <translation>&amp;Hilfe	F1</translation>
    </message>
    <message>
        <source>Vie&amp;w Current Data</source>
        <translation>Aktuelle Daten &amp;anzeigen</translation>
    </message>
    <message>
        <source>&amp;Load New Database Table</source>
        <translation>Neue Datenbanktabelle &amp;laden</translation>
    </message>
    <message>
        <source>&amp;Database Table Information</source>
        <translation>&amp;Informationen zur Datenbanktabelle</translation>
    </message>
    <message>
        <source>Start &amp;Over</source>
        <translation>&amp;Neu beginnen</translation>
    </message>
    <message>
        <source>Show what you are picking up</source>
        <translation>Anzeigen, was Sie aufnehmen</translation>
    </message>
    <message>
        <source>Always On &amp;Top</source>
        <translation>Immer im &amp;Vordergrund</translation>
    </message>
    <message>
        <source>Change Orientation</source>
        <translation>Ausrichtung wechseln</translation>
    </message>
    <message>
        <source>%1 when it is the next empty field</source>
        <translation>%1, wenn es das nächste leere Feld ist</translation>
    </message>
    <message>
        <source>%1, or %2 when it is the next empty field</source>
        <translation>%1 oder %2, wenn es das nächste leere Feld ist</translation>
    </message>
</context>
<context>
    <name>RowCells</name>
    <message>
        <source>The copied text has no cells for the fields: copy a row of cells, then press the keys again.</source>
        <translation>Der kopierte Text enthält keine Zellen für die Felder: Kopieren Sie eine Zeile mit Zellen und drücken Sie die Tasten dann noch einmal.</translation>
    </message>
    <message>
        <source>%1 cell left over</source>
        <translation>%1 Zelle übrig</translation>
    </message>
    <message>
        <source>%1 cells left over</source>
        <translation>%1 Zellen übrig</translation>
    </message>
    <message>
        <source>%1 more line not used</source>
        <translation>%1 weitere Zeile nicht verwendet</translation>
    </message>
    <message>
        <source>%1 more lines not used</source>
        <translation>%1 weitere Zeilen nicht verwendet</translation>
    </message>
</context>
<context>
    <name>StatusWindow</name>
    <message>
        <source>quillon: - data you are picking up</source>
        <translation>quillon: - Daten, die Sie aufnehmen</translation>
    </message>
</context>
<context>
    <name>Toolbar</name>
    <message>
        <source>Enter</source>
        <translation>Eintragen</translation>
    </message>
</context>
<context>
    <name>ValueEditor</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>Zurückholen</translation>
    </message>
    <message>
        <source>Valid</source>
        <translation>Gültig</translation>
    </message>
    <message>
        <source>Data Valid</source>
        <translation>Daten gültig</translation>
    </message>
    <message>
        <source>Data NOT Valid</source>
        <translation>Daten NICHT gültig</translation>
    </message>
    <message>
        <source>This field is required, it must be filled up.</source>
        <translation>Dies ist ein Pflichtfeld, es muss ausgefüllt werden.</translation>
    </message>
</context>
</TS>
