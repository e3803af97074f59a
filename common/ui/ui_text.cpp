#include "common/ui/ui_text.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QVariant>
#include <QWidget>
#include <array>

namespace korimet {

namespace {

// Where a control keeps the Japanese text of each role, to look it up again after a switch.
constexpr std::array<const char*, 5> kSourceProperty = {"korimetText", "korimetWindowTitle",
                                                        "korimetToolTip", "korimetAccessibleName",
                                                        "korimetPlaceholder"};

const char* sourceProperty(TextRole role) { return kSourceProperty[static_cast<int>(role)]; }

void show(QObject* control, TextRole role, const QString& text) {
    auto* widget = qobject_cast<QWidget*>(control);
    switch (role) {
        case TextRole::Text:
            if (auto* menu = qobject_cast<QMenu*>(control)) {
                menu->setTitle(text);
            } else if (auto* action = qobject_cast<QAction*>(control)) {
                action->setText(text);
            } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
                button->setText(text);
            } else if (auto* label = qobject_cast<QLabel*>(control)) {
                label->setText(text);
            } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
                group->setTitle(text);
            } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
                line->setText(text);
            }
            return;
        case TextRole::WindowTitle:
            if (widget) widget->setWindowTitle(text);
            return;
        case TextRole::ToolTip:
            if (auto* action = qobject_cast<QAction*>(control)) {
                action->setToolTip(text);
            } else if (widget) {
                widget->setToolTip(text);
            }
            return;
        case TextRole::AccessibleName:
            if (widget) widget->setAccessibleName(text);
            return;
        case TextRole::Placeholder:
            if (auto* line = qobject_cast<QLineEdit*>(control)) line->setPlaceholderText(text);
            return;
    }
}

void retranslateOne(QObject* control) {
    for (int role = 0; role < static_cast<int>(kSourceProperty.size()); ++role) {
        const QVariant source = control->property(kSourceProperty[role]);
        if (!source.isValid()) continue;
        show(control, static_cast<TextRole>(role), uiText(source.toByteArray().constData()));
    }
}

}  // namespace

QString uiText(const char* japanese) { return QCoreApplication::translate(kTextContext, japanese); }

QString uiLanguageCode() {
    return QCoreApplication::translate("Korimet", "ja", "the code of this translation's language");
}

Wording uiWording() {
    return [](const char* japanese) { return uiText(japanese).toStdString(); };
}

void setFixedText(QObject* control, const char* japanese, TextRole role) {
    control->setProperty(sourceProperty(role), QByteArray(japanese));
    show(control, role, uiText(japanese));
}

void retranslateFixedTexts(QObject& root) {
    retranslateOne(&root);
    for (QObject* child : root.findChildren<QObject*>()) retranslateOne(child);
}

}  // namespace korimet
