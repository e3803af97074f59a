#include "shell/ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace korimet {

QList<QTranslator*> installQtTranslations(QCoreApplication& app) {
    QList<QTranslator*> installed;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : {"qtbase_ja", "qtserialport_ja"}) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(QString::fromLatin1(catalogue), folder)) continue;
        if (!QCoreApplication::installTranslator(translator.get())) continue;
        translator->setParent(&app);
        installed.append(translator.release());  // owned by the application
    }
    return installed;
}

}  // namespace korimet
