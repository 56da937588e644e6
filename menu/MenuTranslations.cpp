// SPDX-License-Identifier: MIT
#include "menu/MenuTranslations.h"

#include "menu/MenuLanguage.h"

MenuTranslations::MenuTranslations() : translations_("menu") {
    SetMenuLanguage(translations_.language(), [this](const char* english) {
        return translations_.translate("Menu", english).toStdString();
    });
}

MenuTranslations::~MenuTranslations() {
    SetMenuLanguage("en", {});
}
