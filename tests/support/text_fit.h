#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTableView>
#include <QTableWidget>
#include <QWidget>
#include <string>
#include <vector>

// Finds texts that would be cut: each visible control's text measured against the room its
// control gives it, as the style draws it. A window whose size and layout are fixed must fit
// every text of every language it speaks.
namespace korimet::test {

namespace textfit {

inline QString shown(QString text) {
    // An access key's ampersand takes no room; "&&" is one ampersand.
    text.replace(QLatin1String("&&"), QString(QChar(0x1)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0x1), QLatin1Char('&'));
    return text;
}

inline int widestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

inline std::string where(const QWidget& w) {
    QString path;
    for (const QWidget* p = &w; p; p = p->parentWidget()) {
        const QString name = p->objectName().isEmpty()
                                 ? QString::fromLatin1(p->metaObject()->className())
                                 : p->objectName();
        path = path.isEmpty() ? name : name + QLatin1Char('/') + path;
    }
    return path.toStdString();
}

inline std::string cut(const QWidget& w, const QString& text, int need, int room) {
    return where(w) + ": \"" + text.toStdString() + "\" needs " + std::to_string(need) +
           " px, has " + std::to_string(room);
}

inline void label(const QLabel& l, std::vector<std::string>& out) {
    if (l.text().isEmpty() || !l.pixmap().isNull()) return;
    const QRect room = l.contentsRect().adjusted(l.margin(), l.margin(), -l.margin(), -l.margin());
    if (l.wordWrap()) {
        const int height = l.heightForWidth(l.width());
        if (height > l.height()) out.push_back(cut(l, l.text(), height, l.height()) + " (height)");
        return;
    }
    const bool rich = l.textFormat() == Qt::RichText ||
                      (l.textFormat() == Qt::AutoText && Qt::mightBeRichText(l.text()));
    if (rich) {
        const QSize need = l.sizeHint() - (l.size() - room.size());
        if (need.width() > room.width())
            out.push_back(cut(l, l.text(), need.width(), room.width()));
        return;
    }
    // As the label lays its text out, the access key's ampersand only where it has a buddy.
    const int flags = Qt::AlignLeft | Qt::AlignTop | (l.buddy() ? Qt::TextShowMnemonic : 0);
    const QRect need = l.fontMetrics().boundingRect(QRect(0, 0, 100000, 100000), flags, l.text());
    const int width = need.width() + std::max(0, l.indent());
    if (width > room.width()) out.push_back(cut(l, l.text(), width, room.width()));
    // The line box holds the font's whole descent; a pixel of it is no cut text (the fixed
    // layout's labels are a line box less one pixel high).
    if (need.height() > room.height() + 1)
        out.push_back(cut(l, l.text(), need.height(), room.height()) + " (height)");
}

inline void button(const QAbstractButton& b, std::vector<std::string>& out) {
    if (b.text().isEmpty()) return;
    const QString text = shown(b.text());
    const QStyle& style = *b.style();
    if (qobject_cast<const QCheckBox*>(&b) || qobject_cast<const QRadioButton*>(&b)) {
        // The indicator and its spacing take room before the text.
        if (b.sizeHint().width() > b.width())
            out.push_back(cut(b, text, b.sizeHint().width(), b.width()));
        return;
    }
    if (!qobject_cast<const QPushButton*>(&b)) return;
    QStyleOptionButton option;
    option.initFrom(&b);
    const int frame = style.pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &b) * 2;
    const int margin = style.pixelMetric(QStyle::PM_ButtonMargin, &option, &b);
    int need = widestLine(b.fontMetrics(), text) + frame + margin;
    if (!b.icon().isNull()) need += b.iconSize().width() + 4;
    if (need > b.width()) out.push_back(cut(b, text, need, b.width()));
}

inline void comboBox(const QComboBox& c, std::vector<std::string>& out) {
    QStyleOptionComboBox option;
    option.initFrom(&c);
    option.editable = c.isEditable();
    option.frame = c.hasFrame();
    const int room =
        c.style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &c)
            .width();
    for (int i = 0; i < c.count(); ++i) {
        const int need = c.fontMetrics().horizontalAdvance(c.itemText(i));
        if (need > room) out.push_back(cut(c, c.itemText(i), need, room));
    }
}

inline void groupBox(const QGroupBox& g, std::vector<std::string>& out) {
    if (g.title().isEmpty()) return;
    const QString text = shown(g.title());
    const int need = g.fontMetrics().horizontalAdvance(text) + g.fontMetrics().height();
    if (need > g.width()) out.push_back(cut(g, text, need, g.width()));
}

inline void header(const QHeaderView& h, std::vector<std::string>& out) {
    // Row numbers size themselves; the columns are what a fixed layout sets.
    if (!h.isVisible() || !h.model() || h.orientation() != Qt::Horizontal) return;
    for (int section = 0; section < h.count(); ++section) {
        if (h.isSectionHidden(section)) continue;
        const QString text = h.model()->headerData(section, h.orientation()).toString();
        if (text.isEmpty()) continue;
        // What the style itself asks for the section: margins and the sort mark included.
        QStyleOptionHeader option;
        option.initFrom(&h);
        option.fontMetrics = QFontMetrics(h.font());
        option.section = section;
        option.text = text;
        option.orientation = h.orientation();
        if (h.isSortIndicatorShown() && h.sortIndicatorSection() == section) {
            option.sortIndicator = h.sortIndicatorOrder() == Qt::AscendingOrder
                                       ? QStyleOptionHeader::SortDown
                                       : QStyleOptionHeader::SortUp;
        }
        const int need =
            h.style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), &h).width();
        const int room = h.sectionSize(section);
        if (need > room) out.push_back(cut(h, text, need, room));
    }
}

// Every top-level menu stands in the bar itself, none pushed out behind its overflow button.
inline void menuBar(const QMenuBar& bar, std::vector<std::string>& out) {
    for (QAction* action : bar.actions()) {
        if (!action->isVisible()) continue;
        const QRect at = bar.actionGeometry(action);
        if (at.isEmpty() || !bar.rect().contains(at))
            out.push_back(where(bar) + ": menu \"" + action->text().toStdString() +
                          "\" is not in the bar");
    }
}

}  // namespace textfit

// The texts under `root` (itself included) that would be cut, each as "where: text needs N px,
// has M"; visible controls only.
inline std::vector<std::string> cutTexts(QWidget& root) {
    std::vector<std::string> out;
    QList<QWidget*> all = root.findChildren<QWidget*>();
    all.prepend(&root);
    for (QWidget* w : all) {
        if (!w->isVisible() || w->width() <= 0) continue;
        if (auto* l = qobject_cast<QLabel*>(w))
            textfit::label(*l, out);
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            textfit::button(*b, out);
        else if (auto* c = qobject_cast<QComboBox*>(w))
            textfit::comboBox(*c, out);
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            textfit::groupBox(*g, out);
        else if (auto* h = qobject_cast<QHeaderView*>(w))
            textfit::header(*h, out);
        else if (auto* m = qobject_cast<QMenuBar*>(w))
            textfit::menuBar(*m, out);
    }
    return out;
}

}  // namespace korimet::test
