#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <memory>

#include "common/ui/ui_language.h"
#include "common/ui/ui_text.h"
#include "files/data_file.h"
#include "session/dialogs.h"
#include "session/system_path.h"
#include "shell/ui/given_files.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_texts.h"
#include "support/fake_dialogs.h"
#include "support/frames.h"
#include "support/window_fixture.h"

namespace korimet {
namespace {

using test::FakeDialogs;
using test::runWithLaps;

QString qs(const char* text) { return QString::fromUtf8(text); }

// The window's own dialogs until a test asks for fake ones.
class WindowTest : public test::WindowInTempFolder {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(WindowInTempFolder::SetUp());
        window = std::make_unique<MainWindow>();
    }

    FakeDialogs& fakeDialogs() { return test::fakeDialogsFor(*window); }
    QString saved(const char* name, const LapData& data, const char* memo = "memo") {
        const QString path = dir.filePath(qs(name));
        EXPECT_TRUE(saveDataFile(QFile::encodeName(path).toStdString(), data, memo));
        return path;
    }
    QLabel* label(const char* name) const { return window->findChild<QLabel*>(name); }
};

// ---- Drops ----

// A drag of `urls` entering `target`, then dropped on it; whether the drop was taken.
bool dragAndDrop(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    return drop.isAccepted();
}

TEST_F(WindowTest, DroppingARunFileOpensItAsFileOpenDoes) {
    FakeDialogs& dialogs = fakeDialogs();
    new RunFileDrops(*window, window->fileCommands(), window->dialogs());  // owned by the window
    const QString file = saved("dropped.krt", runWithLaps({64.9, 66.0}), "dropped memo");
    auto* memo = window->findChild<QTextEdit*>("RichTextBox1");
    // On the window's free space and on the memo, which takes text drops of its own.
    for (QWidget* target : {static_cast<QWidget*>(window.get()), memo->viewport()}) {
        memo->setPlainText("before");
        window->runSession().setCurrentFileName({});
        EXPECT_TRUE(dragAndDrop(target, {QUrl::fromLocalFile(file)}))
            << target->objectName().toStdString();
        EXPECT_EQ(window->currentFileName(), file);
        EXPECT_EQ(label("Label17")->text(), "01m04s90");
        EXPECT_EQ(memo->toPlainText(), "dropped memo");
    }
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(WindowTest, OtherDropsAreLeftAlone) {
    FakeDialogs& dialogs = fakeDialogs();
    new RunFileDrops(*window, window->fileCommands(), window->dialogs());  // owned by the window
    const QString other = dir.filePath("notes.txt");
    QFile(other).open(QIODevice::WriteOnly);
    const QList<QList<QUrl>> drops = {
        {QUrl::fromLocalFile(other)},
        {QUrl(QStringLiteral("https://example.org/run.krt"))},
        {},
    };
    for (const QList<QUrl>& urls : drops) {
        EXPECT_FALSE(dragAndDrop(window.get(), urls));
    }
    EXPECT_TRUE(window->currentFileName().isEmpty());
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(WindowTest, ADroppedFileThatCannotBeReadShowsFileOpensMessage) {
    FakeDialogs& dialogs = fakeDialogs();
    new RunFileDrops(*window, window->fileCommands(), window->dialogs());  // owned by the window
    const QString missing = dir.filePath("gone.krt");
    EXPECT_TRUE(dragAndDrop(window.get(), {QUrl::fromLocalFile(missing)}));
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.calls[0].text.contains(missing));
    EXPECT_TRUE(window->currentFileName().isEmpty());
}

TEST(RunFileAmong, TakesTheFirstLocalRunFile) {
    QMimeData data;
    data.setUrls({QUrl(QStringLiteral("https://example.org/a.krt")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/b.txt")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/C.KRT")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/d.krt"))});
    EXPECT_EQ(runFileAmong(&data).path, QStringLiteral("/tmp/C.KRT"));
    data.setUrls({QUrl::fromLocalFile(QString::fromUtf8("/tmp/走行 1.krt"))});
    EXPECT_EQ(runFileAmong(&data).path, QString::fromUtf8("/tmp/走行 1.krt"));
    data.setUrls({QUrl::fromEncoded("file:///tmp/%91%96%8Ds.krt")});  // Shift_JIS bytes
    EXPECT_EQ(systemPath(runFileAmong(&data).path), "/tmp/\x91\x96\x8ds.krt");
    data.setText(QStringLiteral("/tmp/e.krt"));
    data.setUrls({});
    EXPECT_TRUE(runFileAmong(&data).path.isEmpty());
    EXPECT_TRUE(runFileAmong(nullptr).path.isEmpty());
}

// ---- Qt's own words ----

TEST(QtTranslations, QtsDialogsSpeakTheWindowsLanguage) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(folder + QStringLiteral("/qtbase_ja.qm"))) {
        GTEST_SKIP() << "Qt's Japanese translations are not installed in " << folder.toStdString();
    }
    applyLanguage(QStringLiteral("ja"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), qs("キャンセル"));
    // The file dialog and the memo's context menu: no longer Qt's English words.
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), qs("Look in:"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"), qs("File &name:"));
    EXPECT_NE(QCoreApplication::translate("QWidgetTextControl", "&Copy"), qs("&Copy"));
    EXPECT_NE(QCoreApplication::translate("QInputDialog", "Enter a value:"), qs("Enter a value:"));
    // English: Qt's own words and the window's translation, in place of the Japanese ones.
    applyLanguage(QStringLiteral("en"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), qs("Cancel"));
    EXPECT_EQ(uiText("ﾌｧｲﾙ(&F)"), qs("&File"));
    EXPECT_EQ(uiLanguageCode(), qs("en"));
    // Back to the Japanese texts as written, with nothing installed: what the other tests see.
    applyLanguage(QStringLiteral("ja"));
    EXPECT_EQ(uiText("ﾌｧｲﾙ(&F)"), qs("ﾌｧｲﾙ(&F)"));
    applyLanguage(QStringLiteral("ja-none"));  // no such translation: nothing installed
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), qs("Cancel"));
    EXPECT_EQ(uiLanguageCode(), qs("ja"));
}

// ---- Where the file dialogs start ----

TEST(DialogStartFolder, TheCurrentFilesFolderElseDocumentsElseHome) {
    QTemporaryDir dir;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString fallback = QDir(documents).exists() ? documents : QDir::homePath();
    const struct {
        QString currentFile;
        QString folder;
    } cases[] = {
        {dir.filePath("run.krt"), dir.path()},  // need not exist any more
        {dir.filePath("gone/run.krt"), fallback},
        {QString(), fallback},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dialogStartFolder(c.currentFile), c.folder) << c.currentFile.toStdString();
        EXPECT_NE(dialogStartFolder(c.currentFile), QDir::currentPath());
    }
}

// The window's real file dialog, opened by File > Open; answered by closing it.
QString folderFileOpenStartsIn(MainWindow& window) {
    QString folder = QStringLiteral("<no file dialog>");
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            folder = dialog->directory().absolutePath();
            dialog->reject();
        }
    });
    window.fileCommands().openDataFile();
    return folder;
}

TEST_F(WindowTest, FileDialogsStartBesideTheShownFile) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString fallback = QDir(documents).exists() ? documents : QDir::homePath();
    EXPECT_EQ(folderFileOpenStartsIn(*window), fallback);

    ASSERT_TRUE(QDir(dir.path()).mkdir("runs"));
    const QString file = saved("runs/a.krt", runWithLaps({61.0}));
    ASSERT_TRUE(window->fileCommands().openRunFile(file));
    EXPECT_EQ(folderFileOpenStartsIn(*window), dir.filePath("runs"));
}

// ---- Screen readers ----

QString accessibleText(QObject* object, QAccessible::Text which) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(which) : QStringLiteral("<no interface>");
}

TEST_F(WindowTest, ControlsHaveNamesForScreenReaders) {
    const struct {
        const char* objectName;
        const char* name;
    } controls[] = {
        {"MSFlexGrid1", texts::kGridAccessibleName},
        {"MSChart1", texts::kChartAccessibleName},
        {"RichTextBox1", texts::kMemoAccessibleName},
        {"Combo1", texts::kPortComboAccessibleName},
    };
    for (const auto& c : controls) {
        auto* control = window->findChild<QWidget*>(c.objectName);
        ASSERT_NE(control, nullptr) << c.objectName;
        EXPECT_EQ(accessibleText(control, QAccessible::Name), qs(c.name)) << c.objectName;
    }
}

TEST_F(WindowTest, EachValueIsNamedByItsCaptionAndReadsItsValue) {
    fakeDialogs();
    ASSERT_TRUE(window->fileCommands().openRunFile(saved("v.krt", runWithLaps({64.9, 70.0}))));
    const struct {
        const char* value;
        const char* caption;  // null for a value without a caption
        const char* name;
        const char* captionText;
    } values[] = {
        {"Label4", "Label10", texts::kCarIdAccessibleName, texts::kCarIdCaption},
        {"Label5", "Label11", texts::kLapCountAccessibleName, texts::kLapCountCaption},
        {"Label6", "Label1", texts::kTargetAccessibleName, texts::kTargetCaption},
        {"Label17", "Label16", texts::kBestAccessibleName, texts::kBestCaption},
        {"Label21", "Label20", texts::kWorstAccessibleName, texts::kWorstCaption},
        {"Label19", "Label18", texts::kAverageAccessibleName, texts::kAverageCaption},
        {"Label25", nullptr, texts::kBestDiffAccessibleName, nullptr},
        {"Label26", nullptr, texts::kWorstDiffAccessibleName, nullptr},
        {"Label27", nullptr, texts::kAverageDiffAccessibleName, nullptr},
        {"Label7", nullptr, texts::kRaceLineAccessibleName, nullptr},
    };
    for (const auto& v : values) {
        QLabel* value = label(v.value);
        ASSERT_NE(value, nullptr) << v.value;
        EXPECT_EQ(accessibleText(value, QAccessible::Name), qs(v.name)) << v.value;
        EXPECT_EQ(accessibleText(value, QAccessible::Description), value->text()) << v.value;
        if (!v.caption) continue;
        QLabel* caption = label(v.caption);
        EXPECT_EQ(caption->buddy(), value) << v.caption;
        EXPECT_EQ(caption->text(), qs(v.captionText)) << v.caption;  // what is shown stays
    }
    // The description follows the value through a redraw.
    EXPECT_EQ(accessibleText(label("Label17"), QAccessible::Description), "01m04s90");
    ASSERT_TRUE(window->fileCommands().openRunFile(saved("w.krt", runWithLaps({59.5}))));
    EXPECT_EQ(accessibleText(label("Label17"), QAccessible::Description), "00m59s50");
}

}  // namespace
}  // namespace korimet
