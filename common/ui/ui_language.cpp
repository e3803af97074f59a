#include "common/ui/ui_language.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>
#include <QWidget>
#include <memory>

#include "common/ui/ui_text.h"

namespace korimet {

namespace {

constexpr const char* kTranslationFolder = ":/i18n";
constexpr const char* kSettingsKey = "Language/Choice";
// Installed translators are the application's children under this name, so that the next
// switch finds and removes them; nothing else holds them.
constexpr const char* kTranslatorName = "korimetTranslator";

bool install(const QString& file) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file)) return false;
    if (!QCoreApplication::installTranslator(translator.get())) return false;
    translator->setObjectName(QLatin1String(kTranslatorName));
    translator->setParent(QCoreApplication::instance());
    translator.release();  // owned by the application
    return true;
}

}  // namespace

QString translationFile(const QString& code) {
    return QStringLiteral("%1/korimet_%2.qm").arg(QLatin1String(kTranslationFolder), code);
}

QStringList availableLanguages() {
    QStringList codes = {QStringLiteral("ja")};
    const QStringList files =
        QDir(QLatin1String(kTranslationFolder))
            .entryList({QStringLiteral("korimet_*.qm")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        const QString code = file.mid(8, file.size() - 8 - 3);
        if (code != QLatin1String("ja")) codes.append(code);
    }
    // English right after Japanese: the two the window is made for.
    if (codes.removeOne(QStringLiteral("en"))) codes.insert(1, QStringLiteral("en"));
    return codes;
}

QString resolveLanguage(const QString& choice, const QString& localeCode) {
    const QStringList available = availableLanguages();
    if (!choice.isEmpty() && available.contains(choice)) return choice;
    if (available.contains(localeCode)) return localeCode;
    return QStringLiteral("en");
}

QString savedLanguageChoice() { return QSettings().value(QLatin1String(kSettingsKey)).toString(); }

void saveLanguageChoice(const QString& choice) {
    QSettings().setValue(QLatin1String(kSettingsKey), choice);
}

void applyLanguage(const QString& code) {
    QCoreApplication* app = QCoreApplication::instance();
    for (QTranslator* old : app->findChildren<QTranslator*>(QLatin1String(kTranslatorName),
                                                            Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        old->setObjectName(QString());
        old->deleteLater();
    }
    if (code != QLatin1String("ja")) install(translationFile(code));
    // Qt's own words for its dialogs, where Qt has them in this language.
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : {"qtbase", "qtserialport"}) {
        install(QStringLiteral("%1/%2_%3.qm").arg(qtFolder, QLatin1String(catalogue), code));
    }
    // The events Qt posts reach each window later; the fixed texts change now, so that
    // nothing shows two languages in between.
    for (QWidget* window : QApplication::topLevelWidgets()) retranslateFixedTexts(*window);
}

}  // namespace korimet
