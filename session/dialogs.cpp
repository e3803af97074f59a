#include "session/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

namespace korimet {

namespace {

QString titleOrApp(const QString& title) {
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

}  // namespace

QString qtFileFilter(const QString& programFilter) {
    const QStringList parts = programFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        if (description.isEmpty() && patterns.isEmpty()) continue;
        if (patterns.isEmpty()) patterns = QStringLiteral("*");
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns = patterns.simplified();
        // Qt takes the patterns from a trailing "(...)", so the description's own
        // parenthesised copy gives way to the real patterns.
        static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        description.remove(trailingPatterns);
        if (description.isEmpty()) description = patterns;
        filters.append(QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return filters.join(QStringLiteral(";;"));
}

QString dialogStartFolder(const QString& currentFile) {
    if (!currentFile.isEmpty()) {
        const QDir folder = QFileInfo(currentFile).absoluteDir();
        if (folder.exists()) return folder.absolutePath();
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists()) return documents;
    return QDir::homePath();
}

QString QtDialogs::startFolder() const {
    return dialogStartFolder(currentFile_ ? currentFile_() : QString());
}

QString QtDialogs::askOpenPath(const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parent_, titleOrApp(title), startFolder(),
                                        qtFileFilter(filter));
}

QString QtDialogs::askSavePath(const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(parent_, titleOrApp(title), startFolder(),
                                        qtFileFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtDialogs::askSavePathFrom(const QString& title, const QString& filter,
                                   const QString& suggested) {
    return QFileDialog::getSaveFileName(parent_, titleOrApp(title), suggested, qtFileFilter(filter),
                                        nullptr, QFileDialog::DontConfirmOverwrite);
}

void QtDialogs::message(const QString& text, const QString& title, MessageIcon icon) {
    // Messages join their lines with CR LF; a lone CR would show as a stray glyph.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    titleOrApp(title), shown, QMessageBox::Ok, parent_);
    box.exec();
}

void QtDialogs::notice(const QString& text, const QString& title, const QString& name) {
    auto* box = new QMessageBox(QMessageBox::Warning, titleOrApp(title), text, QMessageBox::Ok,
                                parent_);  // owned by the window, deleted when closed
    box->setObjectName(name);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

QString QtDialogs::inputText(const QString& prompt, const QString& title,
                             const QString& defaultText) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, titleOrApp(title), prompt,
                                                 QLineEdit::Normal, defaultText, &ok);
    return ok ? answer : QString();
}

bool QtDialogs::ask(const QString& question, const QString& title) {
    return QMessageBox::question(parent_, titleOrApp(title), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace korimet
