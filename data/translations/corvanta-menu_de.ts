<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-License-Identifier: MIT -->
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>Menu</name>
    <message>
        <source>Loading…</source>
        <translation>Wird geladen…</translation>
    </message>
    <message>
        <source>The exchange rates could not be loaded.</source>
        <translation>Die Wechselkurse konnten nicht geladen werden.</translation>
    </message>
    <message>
        <source>Rates per %1:</source>
        <translation>Kurse pro %1:</translation>
    </message>
    <message>
        <source>%1 %2 in:</source>
        <translation>%1 %2 in:</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: not on the rate page</source>
        <translation>%1: nicht auf der Kursseite</translation>
    </message>
    <message>
        <source>%1: no rate</source>
        <translation>%1: kein Kurs</translation>
    </message>
    <message>
        <source>%1: the amount is too large</source>
        <translation>%1: der Betrag ist zu groß</translation>
    </message>
    <message>
        <source>No currencies chosen</source>
        <translation>Keine Währungen ausgewählt</translation>
    </message>
    <message>
        <source>The rate menu is switched off.</source>
        <translation>Das Kursmenü ist ausgeschaltet.</translation>
    </message>
    <message>
        <source>Rates per</source>
        <translation>Kurse pro</translation>
    </message>
    <message>
        <source>Chart…</source>
        <translation>Diagramm…</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Corvanta exchange rates</source>
        <translation>Corvanta-Wechselkurse</translation>
    </message>
    <message>
        <source>The settings could not be opened.</source>
        <translation>Die Einstellungen konnten nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Corvanta: rates per %1</source>
        <translation>Corvanta: Kurse pro %1</translation>
    </message>
    <message>
        <source>None of the chosen currencies is in the rate history.</source>
        <translation>Keine der ausgewählten Währungen ist im Kursverlauf.</translation>
    </message>
    <message>
        <source>The rate history could not be loaded.</source>
        <translation>Der Kursverlauf konnte nicht geladen werden.</translation>
    </message>
    <message>
        <source>no rate</source>
        <translation>kein Kurs</translation>
    </message>
</context>
</TS>
