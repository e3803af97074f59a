#pragma once

// Marks a text the user reads so that the translation tools collect it: lupdate reads this
// as QT_TRANSLATE_NOOP. The text stays the Japanese one, the language the window was written
// in; the window looks up its translation where it shows it, the core never does. The context
// is always "Korimet".
#define KORIMET_TR(context, text) text
