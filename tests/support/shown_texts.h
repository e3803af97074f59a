#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/text_fit.h"

// Every text a user can read in a window: its title, the texts and tooltips of its visible
// controls, the items of its combo boxes, the headings and cells of its tables, and every item
// of its menus, open or not. Used to check a window speaks one language throughout.
namespace korimet::test {

struct ShownText {
    std::string where;
    QString text;
};

namespace shown {

inline void add(std::vector<ShownText>& out, const std::string& where, const QString& text) {
    if (!text.trimmed().isEmpty()) out.push_back({where, text});
}

inline void menu(const QMenu& m, const std::string& where, std::vector<ShownText>& out) {
    for (QAction* action : m.actions()) {
        if (!action->isVisible() || action->isSeparator()) continue;
        const std::string at = where + " > " + action->text().toStdString();
        add(out, at, action->text());
        if (action->toolTip() != textfit::shown(action->text())) add(out, at, action->toolTip());
        if (action->menu()) menu(*action->menu(), at, out);
    }
}

inline void view(const QAbstractItemView& v, const std::string& where,
                 std::vector<ShownText>& out) {
    const QAbstractItemModel* model = v.model();
    if (!model) return;
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            add(out, where, index.data(Qt::DisplayRole).toString());
            add(out, where, index.data(Qt::ToolTipRole).toString());
        }
    }
}

}  // namespace shown

inline std::vector<ShownText> shownTexts(QWidget& root) {
    std::vector<ShownText> out;
    QList<QWidget*> all = root.findChildren<QWidget*>();
    all.prepend(&root);
    for (QWidget* w : all) {
        if (w->isWindow() && w != &root) continue;  // its own window, walked on its own
        if (!w->isVisibleTo(&root) && w != &root) continue;
        const std::string at = textfit::where(*w);
        if (w->isWindow()) shown::add(out, at, w->windowTitle());
        shown::add(out, at, w->toolTip());
        if (auto* l = qobject_cast<QLabel*>(w)) {
            shown::add(out, at, l->text());
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            shown::add(out, at, b->text());
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < c->count(); ++i) shown::add(out, at, c->itemText(i));
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            shown::add(out, at, g->title());
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            shown::add(out, at, e->text());
            shown::add(out, at, e->placeholderText());
        } else if (auto* h = qobject_cast<QHeaderView*>(w)) {
            if (!h->model()) continue;
            for (int s = 0; s < h->count(); ++s) {
                shown::add(out, at, h->model()->headerData(s, h->orientation()).toString());
                shown::add(out, at,
                           h->model()->headerData(s, h->orientation(), Qt::ToolTipRole).toString());
            }
        } else if (auto* v = qobject_cast<QAbstractItemView*>(w)) {
            shown::view(*v, at, out);
        } else if (auto* t = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < t->count(); ++i) shown::add(out, at, t->tabText(i));
        } else if (auto* s = qobject_cast<QStatusBar*>(w)) {
            shown::add(out, at, s->currentMessage());
        } else if (auto* m = qobject_cast<QMenuBar*>(w)) {
            for (QAction* action : m->actions()) {
                if (!action->isVisible()) continue;
                const std::string top = at + " > " + action->text().toStdString();
                shown::add(out, top, action->text());
                if (action->menu()) shown::menu(*action->menu(), top, out);
            }
        }
    }
    return out;
}

// A character of Japanese script: kana (full and half width), kanji, Japanese punctuation
// and full-width forms.
inline bool isJapanese(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x4DBF) ||
           (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
           (u >= 0xFF00 && u <= 0xFFEF);
}

inline bool holdsJapanese(const QString& text) {
    return std::any_of(text.begin(), text.end(), isJapanese);
}

// The shown texts under `root` that hold a Japanese character, as "where: text"; `allowed`
// lets through what is meant to stay so (a language's own name in the language menu).
inline std::vector<std::string> japaneseTexts(
    QWidget& root, const std::function<bool(const QString&)>& allowed = {}) {
    std::vector<std::string> out;
    for (const ShownText& t : shownTexts(root)) {
        if (!holdsJapanese(t.text) || (allowed && allowed(t.text))) continue;
        out.push_back(t.where + ": \"" + t.text.toStdString() + "\"");
    }
    return out;
}

// The shown texts alone, in the walk's order: what a switch of language and back must keep.
inline std::vector<QString> textsOf(QWidget& root) {
    std::vector<QString> texts;
    for (const ShownText& shown : shownTexts(root)) texts.push_back(shown.text);
    return texts;
}

// Findings one per line, for a failure's message.
inline std::string listed(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
}

}  // namespace korimet::test
