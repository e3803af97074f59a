#include "shell/ui/window_language.h"

#include <QAction>
#include <QActionGroup>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>

#include "common/text_mark.h"
#include "common/ui/ui_text.h"
#include "messages/language.h"
#include "shell/ui/additions_menu.h"

namespace korimet {

namespace {

constexpr const char* kMenuTitle = KORIMET_TR("Korimet", "言語 (Language)(&N)");
constexpr const char* kSystemChoice = KORIMET_TR("Korimet", "システムの言語(&S)");

// A language's own name, with an access key for the two the program ships.
QString ownName(const QString& code) {
    if (code == QLatin1String("ja")) return QStringLiteral("日本語(&J)");
    if (code == QLatin1String("en")) return QStringLiteral("&English");
    const QLocale locale(code);
    QString name = locale.nativeLanguageName();
    if (!name.isEmpty()) name[0] = name[0].toUpper();
    return name.isEmpty() ? code : name;
}

}  // namespace

LanguageMenu::LanguageMenu(QMainWindow& window) : QObject(&window) {
    setObjectName(QStringLiteral("languageMenu"));
    QMenu* additions = additionsMenu(window);
    additions->addSeparator();
    menu_ = additions->addMenu(QString());
    menu_->setObjectName(QStringLiteral("mnuLanguage"));
    setFixedText(menu_, kMenuTitle);
    choices_ = new QActionGroup(menu_);  // owned by the menu
    for (const QString& code : availableLanguages()) {
        QAction* item = menu_->addAction(ownName(code));
        item->setObjectName(QStringLiteral("mnuLanguage_%1").arg(code));
        item->setData(code);
        item->setCheckable(true);
        choices_->addAction(item);
    }
    menu_->addSeparator();
    QAction* system = menu_->addAction(QString());
    system->setObjectName(QStringLiteral("mnuLanguage_system"));
    setFixedText(system, kSystemChoice);
    system->setData(QString());
    system->setCheckable(true);
    choices_->addAction(system);
    connect(choices_, &QActionGroup::triggered, this,
            [this](QAction* item) { choose(item->data().toString()); });
    showChecked();
}

void LanguageMenu::choose(const QString& choice) {
    saveLanguageChoice(choice);
    applyLanguage(
        resolveLanguage(choice, QString::fromStdString(localeLanguageCodeFromEnvironment())));
    showChecked();
}

void LanguageMenu::showChecked() {
    const QString choice = savedLanguageChoice();
    for (QAction* item : choices_->actions()) {
        item->setChecked(item->data().toString() == choice);
    }
}

}  // namespace korimet
