// SPDX-License-Identifier: MIT
// The language the menu speaks: its fixed texts and the form of the figures it computes and the
// amounts it reads. The content is worked out without Qt, so the program hands it Qt's
// translations of the texts (MenuTranslations, context "Menu"); until it does, and when the
// user's language has none, everything is English.
#pragma once

#include "menu/NumberForm.h"

#include <functional>
#include <string>
#include <string_view>

// The translation of an English text; empty when there is none.
using MenuTranslator = std::function<std::string(const char* english)>;

// From now on the menu speaks `language` ("de") with `translator`; ("en", {}) is English again.
// Called on the main thread before the menu's texts are made.
void SetMenuLanguage(const std::string& language, MenuTranslator translator);

// `english` in the menu's language, with "%1" and "%2" replaced by `first` and `second`.
std::string MenuText(const char* english, std::string_view first = {},
                     std::string_view second = {});

// The form of the menu's language.
const NumberForm& MenuNumberForm();
