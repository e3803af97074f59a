#pragma once

#include <QString>

class QTextEdit;

namespace korimet {

// True for text that the memo itself put on the clipboard: an HTML document as Qt writes
// one (leading "<!DOCTYPE HTML" or "<html", case aside, blanks before it allowed). Any
// other text, tags or not, pastes as the characters it is.
bool isMemoMarkup(const QString& text);

// The memo's Cut, Copy and Paste. The selection travels as its HTML fragment, put on the
// clipboard as plain text, so formatting survives a copy within the memo. Nothing
// selected or an empty clipboard: nothing happens, nothing is said.
void cutSelection(QTextEdit& memo);
void copySelection(QTextEdit& memo);
void pasteClipboard(QTextEdit& memo);

}  // namespace korimet
