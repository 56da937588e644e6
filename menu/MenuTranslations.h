// SPDX-License-Identifier: MIT
// The menu's texts and figures in the user's language for as long as this lives: Qt's
// translations of the menu (desktop/Translations, context "Menu") handed to the menu's
// content, which is worked out without Qt. Made first thing in main(), before the arguments are
// read, since an amount given there is read in that language too.
#pragma once

#include "desktop/Translations.h"

class MenuTranslations {
public:
    MenuTranslations();
    ~MenuTranslations(); // English again
    MenuTranslations(const MenuTranslations&) = delete;
    MenuTranslations& operator=(const MenuTranslations&) = delete;

private:
    Translations translations_;
};
