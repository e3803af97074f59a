#pragma once

#include <QString>

#include "common/wording.h"

class QObject;

// The window's words in the language it speaks now. Every text is written in Japanese and
// looked up here; with no translation installed the Japanese text is shown as written.
namespace korimet {

inline constexpr const char* kTextContext = "Korimet";

// A text marked with KORIMET_TR (or a literal lupdate finds under the same context), in the
// window's language.
QString uiText(const char* japanese);

// The language code the window speaks: "ja" without a translation, else the translation's.
QString uiLanguageCode();
// uiText for the core: what the core composes from marked texts, in the window's language.
Wording uiWording();

// A fixed text of a control that follows a change of language: set now, and set again in
// the new language by retranslateFixedTexts. Texts that change with the run are not fixed:
// their owner shows them again on QEvent::LanguageChange.
enum class TextRole { Text, WindowTitle, ToolTip, AccessibleName, Placeholder };
void setFixedText(QObject* control, const char* japanese, TextRole role = TextRole::Text);
// Every fixed text of `root` and of its children, in the window's language now.
void retranslateFixedTexts(QObject& root);

}  // namespace korimet
