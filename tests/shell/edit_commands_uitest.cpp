#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextEdit>

#include "files/ui/edit_commands.h"

namespace korimet {
namespace {

QClipboard* clipboard() { return QGuiApplication::clipboard(); }

void select(QTextEdit& memo, int from, int to) {
    QTextCursor cursor(memo.document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    memo.setTextCursor(cursor);
}

void caretAt(QTextEdit& memo, int position) { select(memo, position, position); }

void caretAtEnd(QTextEdit& memo) {
    QTextCursor cursor = memo.textCursor();
    cursor.movePosition(QTextCursor::End);
    memo.setTextCursor(cursor);
}

// Weight of the character just after `position`.
bool boldAt(QTextEdit& memo, int position) {
    QTextCursor cursor(memo.document());
    cursor.setPosition(position + 1);  // a cursor reports the format of the char before it
    return cursor.charFormat().fontWeight() >= QFont::Bold;
}

TEST(EditCommands, CopyAndPasteKeepBold) {
    QTextEdit memo;
    memo.setHtml("plain <b>bold</b> end");
    ASSERT_EQ(memo.toPlainText(), "plain bold end");
    select(memo, 6, 10);  // "bold"
    copySelection(memo);
    EXPECT_TRUE(isMemoMarkup(clipboard()->text())) << clipboard()->text().toStdString();

    caretAtEnd(memo);
    pasteClipboard(memo);
    EXPECT_EQ(memo.toPlainText(), "plain bold endbold");
    for (int i = 14; i < 18; ++i) EXPECT_TRUE(boldAt(memo, i)) << i;
    EXPECT_FALSE(boldAt(memo, 0));
    EXPECT_FALSE(boldAt(memo, 11));
    EXPECT_EQ(memo.textCursor().position(), 18);  // caret after what was pasted
}

TEST(EditCommands, CutMovesTheSelectionWithItsFormatting) {
    QTextEdit memo;
    memo.setHtml("a <i>slanted</i> word");
    select(memo, 2, 9);  // "slanted"
    cutSelection(memo);
    EXPECT_EQ(memo.toPlainText(), "a  word");
    caretAt(memo, 0);
    pasteClipboard(memo);
    EXPECT_EQ(memo.toPlainText(), "slanteda  word");
    QTextCursor cursor(memo.document());
    cursor.setPosition(3);
    EXPECT_TRUE(cursor.charFormat().fontItalic());
}

TEST(EditCommands, NothingSelectedChangesNothing) {
    QTextEdit memo;
    memo.setHtml("some <b>memo</b> text");
    const QString before = memo.toHtml();
    clipboard()->setText("kept");
    caretAt(memo, 3);
    cutSelection(memo);
    EXPECT_EQ(memo.toHtml(), before);
    EXPECT_EQ(clipboard()->text(), "kept");
    copySelection(memo);
    EXPECT_EQ(clipboard()->text(), "kept");
}

TEST(EditCommands, EmptyClipboardPastesNothing) {
    QTextEdit memo;
    memo.setPlainText("memo");
    select(memo, 0, 2);
    clipboard()->clear();
    pasteClipboard(memo);
    EXPECT_EQ(memo.toPlainText(), "memo");
}

TEST(EditCommands, PlainTextPastesAsTheCharactersItIs) {
    const char* texts[] = {
        "a < b",      "<b>not bold</b>", "x &amp; y",
        "two\nlines", "メモ (+1.23sec)", "  <p>a paragraph tag</p>",
    };
    for (const char* text : texts) {
        QTextEdit memo;
        memo.setPlainText("[]");
        caretAt(memo, 1);
        clipboard()->setText(QString::fromUtf8(text));
        pasteClipboard(memo);
        const QString expected = "[" + QString::fromUtf8(text) + "]";
        EXPECT_EQ(memo.toPlainText(), expected) << text;
        for (int i = 0; i < expected.size(); ++i) EXPECT_FALSE(boldAt(memo, i)) << text;
    }
}

TEST(EditCommands, PasteReplacesTheSelection) {
    QTextEdit memo;
    memo.setPlainText("one two three");
    clipboard()->setText("2");
    select(memo, 4, 7);
    pasteClipboard(memo);
    EXPECT_EQ(memo.toPlainText(), "one 2 three");
}

TEST(EditCommands, WhatCountsAsMemoMarkup) {
    struct Case {
        const char* text;
        bool markup;
    };
    const Case cases[] = {
        {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\n<html><body>x</body></html>", true},
        {"<!doctype html><p>x</p>", true},
        {"<html><body>x</body></html>", true},
        {"  \n<HTML>x</HTML>", true},
        {"<b>x</b>", false},
        {"a < b", false},
        {"text <html>", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isMemoMarkup(QString::fromUtf8(c.text)), c.markup) << c.text;
    }
}

}  // namespace
}  // namespace korimet
