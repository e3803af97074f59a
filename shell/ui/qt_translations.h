#pragma once

#include <QList>

class QCoreApplication;
class QTranslator;

namespace korimet {

// Qt's own words in Japanese like the rest of the window, whatever the locale: the file
// dialog, the message and input boxes, the memo's context menu and the serial port's
// error texts. Returns the translators installed (owned by app); none when Qt's Japanese
// translations are not installed, and the window then shows Qt's English words.
QList<QTranslator*> installQtTranslations(QCoreApplication& app);

}  // namespace korimet
