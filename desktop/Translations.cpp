// SPDX-License-Identifier: MIT
#include "desktop/Translations.h"

#include "base/Identity.h"
#include "base/UserLanguages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <filesystem>

namespace fs = std::filesystem;

std::vector<std::string> TranslationFolders() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    // bin/corvanta-menu below the prefix; menu/corvanta-menu below the build folder.
    const fs::path prefix = program.parent_path().parent_path();
    return {(prefix / "share" / CORVANTA_TRANSLATIONS_FOLDER).string(),
            (prefix / "translations").string()};
}

Translations::Translations(std::string_view program) {
    const std::string prefix = "corvanta-" + std::string(program) + "_";
    const std::vector<std::string> folders = TranslationFolders();
    for (const std::string& language : PreferredLanguages()) {
        // English is what the texts are written in: a language after it is not wanted.
        if (language == "en") break;
        // Only the very file: QTranslator would also take de.qm for de_CH, and the language
        // found must be the one the texts are in.
        bool loaded = false;
        for (const std::string& folder : folders) {
            const fs::path file = fs::path(folder) / (prefix + language + ".qm");
            std::error_code error;
            if (fs::is_regular_file(file, error) &&
                (loaded = program_.load(QString::fromStdString(file.string()))))
                break;
        }
        if (!loaded) continue;
        language_ = language;
        // Missing for a language Qt has no translation for; our own texts still are translated.
        const bool haveQtTexts =
            qt_.load(QStringLiteral("qtbase_") + QString::fromStdString(language),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        if (QCoreApplication::instance()) {
            if (haveQtTexts) QCoreApplication::installTranslator(&qt_);
            QCoreApplication::installTranslator(&program_);
            installed_ = true;
        }
        break;
    }
}

Translations::~Translations() {
    if (!installed_ || !QCoreApplication::instance()) return;
    QCoreApplication::removeTranslator(&program_);
    QCoreApplication::removeTranslator(&qt_);
}

QString Translations::translate(const char* context, const char* text) const {
    const QString translated = program_.isEmpty() ? QString() : program_.translate(context, text);
    return translated.isEmpty() ? QString::fromUtf8(text) : translated;
}
