<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-License-Identifier: MIT -->
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>Menu</name>
    <message>
        <source>Loading…</source>
        <translation>Chargement…</translation>
    </message>
    <message>
        <source>The exchange rates could not be loaded.</source>
        <translation>Les taux de change n’ont pas pu être chargés.</translation>
    </message>
    <message>
        <source>Rates per %1:</source>
        <translation>Cours par %1 :</translation>
    </message>
    <message>
        <source>%1 %2 in:</source>
        <translation>%1 %2 en :</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>%1: not on the rate page</source>
        <translation>%1 : absente de la page des cours</translation>
    </message>
    <message>
        <source>%1: no rate</source>
        <translation>%1 : pas de cours</translation>
    </message>
    <message>
        <source>%1: the amount is too large</source>
        <translation>%1 : le montant est trop grand</translation>
    </message>
    <message>
        <source>No currencies chosen</source>
        <translation>Aucune devise choisie</translation>
    </message>
    <message>
        <source>The rate menu is switched off.</source>
        <translation>Le menu des cours est désactivé.</translation>
    </message>
    <message>
        <source>Rates per</source>
        <translation>Cours par</translation>
    </message>
    <message>
        <source>Chart…</source>
        <translation>Graphique…</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Réglages…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Corvanta exchange rates</source>
        <translation>Taux de change Corvanta</translation>
    </message>
    <message>
        <source>The settings could not be opened.</source>
        <translation>Les réglages n’ont pas pu être ouverts.</translation>
    </message>
    <message>
        <source>Corvanta: rates per %1</source>
        <translation>Corvanta : cours par %1</translation>
    </message>
    <message>
        <source>None of the chosen currencies is in the rate history.</source>
        <translation>Aucune des devises choisies n’est dans l’historique des cours.</translation>
    </message>
    <message>
        <source>The rate history could not be loaded.</source>
        <translation>L’historique des cours n’a pas pu être chargé.</translation>
    </message>
    <message>
        <source>no rate</source>
        <translation>pas de cours</translation>
    </message>
</context>
</TS>
