// SPDX-License-Identifier: MIT
// A program's texts in the user's language through Qt's translations: the one loader the host
// and the menu share. The language is the first of the user's languages (PreferredLanguages)
// that the program has a translation for; "en", or none of them, means the texts as written.
#pragma once

#include <QString>
#include <QTranslator>
#include <string>
#include <string_view>
#include <vector>

// Where corvanta-<program>_<language>.qm is looked for: installed, the prefix's
// share/<translations folder>; in the build folder, its translations folder. Both relative to
// the running program, so neither depends on where it was built or needs a variable set.
std::vector<std::string> TranslationFolders();

class Translations {
public:
    // Loads corvanta-<program>_<language>.qm ("host", "menu") and Qt's own qtbase_<language>.qm
    // (its standard buttons and dialogs), and installs them into the application when there
    // is one already; without one they serve translate() only.
    explicit Translations(std::string_view program);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // The language the texts are in: the translation's ("de"), or "en".
    const std::string& language() const { return language_; }
    // `text` of `context` in that language; `text` itself when it has no translation.
    QString translate(const char* context, const char* text) const;

private:
    QTranslator program_;
    QTranslator qt_;
    std::string language_ = "en";
    bool installed_ = false;
};
