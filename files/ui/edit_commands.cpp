#include "files/ui/edit_commands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace korimet {

bool isMemoMarkup(const QString& text) {
    const QString head = text.trimmed().left(14);
    return head.startsWith(QStringLiteral("<!DOCTYPE HTML"), Qt::CaseInsensitive) ||
           head.startsWith(QStringLiteral("<html"), Qt::CaseInsensitive);
}

void copySelection(QTextEdit& memo) {
    const QTextCursor cursor = memo.textCursor();
    if (!cursor.hasSelection()) return;
    QGuiApplication::clipboard()->setText(cursor.selection().toHtml());
}

void cutSelection(QTextEdit& memo) {
    QTextCursor cursor = memo.textCursor();
    if (!cursor.hasSelection()) return;
    QGuiApplication::clipboard()->setText(cursor.selection().toHtml());
    cursor.removeSelectedText();
    memo.setTextCursor(cursor);
}

void pasteClipboard(QTextEdit& memo) {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) return;
    QTextCursor cursor = memo.textCursor();
    cursor.beginEditBlock();
    if (isMemoMarkup(text)) {
        cursor.insertFragment(QTextDocumentFragment::fromHtml(text, memo.document()));
    } else {
        cursor.insertText(text);
    }
    cursor.endEditBlock();
    memo.setTextCursor(cursor);
}

}  // namespace korimet
