<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-License-Identifier: MIT -->
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>Host</name>
    <message>
        <source>Loading the exchange rates…</source>
        <translation>Chargement des taux de change…</translation>
    </message>
    <message>
        <source>Loading</source>
        <translation>Chargement</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>The settings could not be saved: %1</source>
        <translation>Les réglages n’ont pas pu être enregistrés : %1</translation>
    </message>
    <message>
        <source>The exchange rates could not be loaded: %1</source>
        <translation>Les taux de change n’ont pas pu être chargés : %1</translation>
    </message>
    <message>
        <source>Try Again</source>
        <translation>Réessayer</translation>
    </message>
</context>
</TS>
