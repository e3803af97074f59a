#pragma once

#include <QString>
#include <QStringList>

namespace korimet {

// The language the window and the sheet renderer speak: the locale's (as korimet-cli reads
// it: the first of LC_ALL, LC_MESSAGES, LANG that is set; Japanese for "ja"), or the one the
// racer chose, kept in the settings. Every language is a translation of the Japanese texts; a
// translation is a file korimet_CODE.qm among the program's resources, made from
// translations/korimet_CODE.ts.

// The file of the window's translation into `code` (Japanese has none: it is the source).
QString translationFile(const QString& code);
// Codes with a translation, Japanese first: "ja", "en", then any other, by code.
QStringList availableLanguages();
// The language a choice means: "" (the system's) is the locale's language where it has a
// translation, else English.
QString resolveLanguage(const QString& choice, const QString& localeCode);
// "" for the system's, else a code; as kept in the settings.
QString savedLanguageChoice();
void saveLanguageChoice(const QString& choice);

// Installs the translations of `code` (the window's and Qt's own, for its dialogs) in place
// of the ones installed before. Every window gets QEvent::LanguageChange, and the fixed texts
// of the open windows are shown in the new language at once.
void applyLanguage(const QString& code);

}  // namespace korimet
