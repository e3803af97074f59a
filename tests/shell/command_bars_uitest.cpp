#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <memory>
#include <stdexcept>

#include "device/ui/serial_port.h"
#include "files/ui/edit_commands.h"
#include "session/command_guard.h"
#include "shell/ui/command_bars.h"
#include "shell/ui/main_window.h"
#include "support/fake_dialogs.h"
#include "support/window_fixture.h"
#include "tools/ui/toolbar_buttons.h"

namespace korimet {
namespace {

using test::FakeDialogs;

constexpr const char* kSeparator = "";  // caption column of a separator row

struct MenuRow {
    const char* name;
    const char* caption;  // kSeparator for a separator
    const char* shortcut;
};

struct MenuTable {
    const char* menu;
    const char* caption;
    std::vector<MenuRow> rows;
};

const std::vector<MenuTable>& menuTree() {
    static const std::vector<MenuTable> tree = {
        {"mnuFile",
         "ﾌｧｲﾙ(&F)",
         {{"mnuFileOpen", "開く(&O)...", ""},
          {"mnuFileClose", "閉じる(&C)", ""},
          {"mnuFileBar0", kSeparator, ""},
          {"mnuFileSave", "上書き保存(&S)", ""},
          {"mnuFileSaveAs", "名前を付けて保存(&A)...", ""},
          {"mnuFileBar1", kSeparator, ""},
          {"mnuFileExit", "終了(&X)", ""}}},
        {"mnuEdit",
         "編集(&E)",
         {{"mnuEditUndo", "元に戻す(&U)", ""},
          {"mnuEditBar0", kSeparator, ""},
          {"mnuEditCut", "切り取り(&T)", "Ctrl+X"},
          {"mnuEditCopy", "ｺﾋﾟｰ(&C)", "Ctrl+C"},
          {"mnuEditPaste", "貼り付け(&P)", "Ctrl+V"},
          {"mnuEditPasteSpecial", "形式を選択して貼り付け(&S)...", ""}}},
        {"mnuID_SET", "設定", {{"mnuID_PORT", "通信ポート", ""}}},
        {"mnuID_PORT",
         "通信ポート",
         {{"mnuID_SET_COM1", "COM1", "F1"},
          {"mnuID_SET_COM2", "COM2", "F2"},
          {"mnuID_SET_COM3", "COM3", "F3"},
          {"mnuID_SET_COM4", "COM4", "F4"},
          {"mnuID_SET_COM5", "COM5", "F5"},
          {"mnuID_SET_COM6", "COM6", "F6"},
          {"mnuID_SET_COM7", "COM7", "F7"},
          {"mnuID_SET_COM8", "COM8", "F8"}}},
        {"mnuHelp", "ﾍﾙﾌﾟ(&H)", {{"mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", ""}}},
    };
    return tree;
}

QClipboard* clipboard() { return QGuiApplication::clipboard(); }

void select(QTextEdit& memo, int from, int to) {
    QTextCursor cursor(memo.document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    memo.setTextCursor(cursor);
}

bool boldAt(QTextEdit& memo, int position) {
    QTextCursor cursor(memo.document());
    cursor.setPosition(position + 1);  // a cursor reports the format of the char before it
    return cursor.charFormat().fontWeight() >= QFont::Bold;
}

class CommandBarsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().clear();
        clipboard()->clear();
        makeWindow();
    }
    void TearDown() override {
        window.reset();
        QSettings().clear();
    }

    void makeWindow() {
        window.reset();
        window = test::windowWithFakeDialogs(fake);
    }

    // Shown, active and with the memo focused, so that keys go where a user's would.
    void showWithMemoFocused() {
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        memo().setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(memo().hasFocus());
    }

    QAction* item(const char* name) const {
        auto* found = window->findChild<QAction*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTextEdit& memo() const { return *window->findChild<QTextEdit*>("RichTextBox1"); }
    QToolBar& toolBar() const { return *window->findChild<QToolBar*>("tbToolBar"); }
    QAction* toolbarButton(const char* key) const {
        for (QAction* action : toolBar().actions()) {
            if (action->data().toString() == QString::fromUtf8(key)) return action;
        }
        ADD_FAILURE() << "no toolbar button " << key;
        return nullptr;
    }
    std::vector<FakeDialogs::Call> messages() const {
        std::vector<FakeDialogs::Call> found;
        for (const auto& call : fake->calls) {
            if (call.kind == FakeDialogs::Kind::Message) found.push_back(call);
        }
        return found;
    }

    std::unique_ptr<MainWindow> window;
    FakeDialogs* fake = nullptr;  // owned by the window
};

TEST_F(CommandBarsTest, MenuBarHoldsTheMenusInOrder) {
    QStringList names;
    for (QAction* action : window->menuBar()->actions()) names << action->objectName();
    EXPECT_EQ(names, QStringList({"mnuFile", "mnuEdit", "mnuID_SET", "mnuHelp"}));
}

TEST_F(CommandBarsTest, EveryMenuItemHasItsCaptionAndShortcutInOrder) {
    for (const MenuTable& table : menuTree()) {
        SCOPED_TRACE(table.menu);
        const auto* menu = window->findChild<QMenu*>(table.menu);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title(), QString::fromUtf8(table.caption));
        EXPECT_EQ(menu->menuAction()->objectName(), table.menu);
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(table.rows.size()));
        for (std::size_t i = 0; i < table.rows.size(); ++i) {
            const MenuRow& row = table.rows[i];
            const QAction* action = actions[static_cast<qsizetype>(i)];
            SCOPED_TRACE(row.name);
            EXPECT_EQ(action->objectName(), row.name);
            if (*row.caption == '\0') {
                EXPECT_TRUE(action->isSeparator());
                continue;
            }
            EXPECT_FALSE(action->isSeparator());
            EXPECT_EQ(action->text(), QString::fromUtf8(row.caption));
            EXPECT_EQ(action->shortcut(),
                      QKeySequence::fromString(row.shortcut, QKeySequence::PortableText));
            EXPECT_FALSE(action->isCheckable());
            EXPECT_FALSE(action->isChecked());
            EXPECT_TRUE(action->isEnabled());
            EXPECT_TRUE(action->isVisible());
        }
    }
}

TEST_F(CommandBarsTest, PortItemsShowTheirDeviceAsToolTip) {
    QSettings().setValue("Ports/COM3", "/nonexistent/korimet-com3");
    makeWindow();
    const auto* ports = window->findChild<QMenu*>("mnuID_PORT");
    ASSERT_NE(ports, nullptr);
    EXPECT_TRUE(ports->toolTipsVisible());
    EXPECT_EQ(item("mnuID_SET_COM3")->toolTip(), "/nonexistent/korimet-com3");
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const QByteArray name = QStringLiteral("mnuID_SET_COM%1").arg(n).toUtf8();
        EXPECT_EQ(item(name.constData())->toolTip(), portDevicePath(n)) << n;
    }

    // A device changed while the program runs shows the next time the menu opens.
    QSettings().setValue("Ports/COM5", "/nonexistent/korimet-com5");
    emit window->findChild<QMenu*>("mnuID_PORT")->aboutToShow();
    EXPECT_EQ(item("mnuID_SET_COM5")->toolTip(), "/nonexistent/korimet-com5");
}

TEST_F(CommandBarsTest, PlaceholderItemsOnlyShowTheirMessage) {
    const struct {
        const char* item;
        const char* text;
    } cases[] = {
        {"mnuFileClose", " 'mnuFileClose_Click' のｺｰﾄﾞを追加します。"},
        {"mnuEditUndo", " 'mnuEditUndo_Click' のｺｰﾄﾞを追加します。"},
        {"mnuEditPasteSpecial", " 'mnuEditPasteSpecial_Click' のｺｰﾄﾞを追加します。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        fake->calls.clear();
        memo().setPlainText("memo stays");
        item(c.item)->trigger();
        ASSERT_EQ(fake->calls.size(), 1u);
        EXPECT_EQ(fake->calls[0].kind, FakeDialogs::Kind::Message);
        EXPECT_EQ(fake->calls[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(fake->calls[0].title, "Korimet");
        EXPECT_EQ(fake->calls[0].icon, MessageIcon::None);
        EXPECT_EQ(memo().toPlainText(), "memo stays");
        EXPECT_TRUE(window->currentFileName().isEmpty());
        EXPECT_EQ(window->currentData(), LapData{});
    }
}

TEST_F(CommandBarsTest, ExitClosesTheWindowAndStoresItsPlacement) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_FALSE(QSettings().contains("Settings/MainLeft"));
    item("mnuFileExit")->trigger();
    EXPECT_FALSE(window->isVisible());
    QSettings settings;
    for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
        EXPECT_TRUE(settings.contains(QStringLiteral("Settings/") + key)) << key;
    }
}

TEST_F(CommandBarsTest, AboutOpensTheVersionBoxModalOverTheWindow) {
    window->show();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        QString seenName;
        QString seenTitle;
        QWidget* seenParent = nullptr;
        bool seenModal = false;
        QTimer::singleShot(0, window.get(), [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            seenName = modal->objectName();
            seenTitle = modal->windowTitle();
            seenParent = modal->parentWidget();
            seenModal = modal->isModal();
            modal->close();
        });
        item("mnuHelpAbout")->trigger();
        EXPECT_EQ(seenName, "frmAbout");
        EXPECT_EQ(seenTitle, "ﾊﾞｰｼﾞｮﾝ情報 Korimet");
        EXPECT_EQ(seenParent, window.get());
        EXPECT_TRUE(seenModal);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(fake->calls.empty());
    }
}

TEST_F(CommandBarsTest, CopyAndPasteKeysRunTheMemoCommandsAndKeepBold) {
    showWithMemoFocused();
    memo().setHtml("plain <b>bold</b> end");
    select(memo(), 6, 10);  // "bold"
    QTest::keyClick(&memo(), Qt::Key_C, Qt::ControlModifier);
    // The memo's own copy would put the bare characters there; the menu's puts markup.
    EXPECT_TRUE(isMemoMarkup(clipboard()->text())) << clipboard()->text().toStdString();

    QTextCursor end = memo().textCursor();
    end.movePosition(QTextCursor::End);
    memo().setTextCursor(end);
    QTest::keyClick(&memo(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(memo().toPlainText(), "plain bold endbold");
    for (int i = 14; i < 18; ++i) EXPECT_TRUE(boldAt(memo(), i)) << i;
    EXPECT_FALSE(boldAt(memo(), 11));
    EXPECT_TRUE(fake->calls.empty());
}

TEST_F(CommandBarsTest, CutKeyMovesTheSelectionThroughTheClipboardAsMarkup) {
    showWithMemoFocused();
    memo().setHtml("a <i>slanted</i> word");
    select(memo(), 2, 9);  // "slanted"
    QTest::keyClick(&memo(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(memo().toPlainText(), "a  word");
    EXPECT_TRUE(isMemoMarkup(clipboard()->text())) << clipboard()->text().toStdString();
}

TEST_F(CommandBarsTest, EditShortcutsTriggerTheirMenuItemsOnce) {
    showWithMemoFocused();
    memo().setPlainText("text");
    const struct {
        Qt::Key key;
        const char* item;
    } cases[] = {
        {Qt::Key_C, "mnuEditCopy"},
        {Qt::Key_V, "mnuEditPaste"},
        {Qt::Key_X, "mnuEditCut"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        QSignalSpy triggered(item(c.item), &QAction::triggered);
        select(memo(), 0, 2);
        QTest::keyClick(&memo(), c.key, Qt::ControlModifier);
        EXPECT_EQ(triggered.count(), 1);
    }
}

TEST_F(CommandBarsTest, FunctionKeysTriggerTheirPortItems) {
    showWithMemoFocused();
    const Qt::Key keys[] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4,
                            Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8};
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        SCOPED_TRACE(n);
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (int m = kFirstPort; m <= kLastPort; ++m) {
            const QByteArray name = QStringLiteral("mnuID_SET_COM%1").arg(m).toUtf8();
            spies.push_back(
                std::make_unique<QSignalSpy>(item(name.constData()), &QAction::triggered));
        }
        QTest::keyClick(window.get(), keys[n - kFirstPort]);
        for (int m = kFirstPort; m <= kLastPort; ++m) {
            EXPECT_EQ(spies[static_cast<std::size_t>(m - kFirstPort)]->count(), m == n ? 1 : 0)
                << "COM" << m;
        }
    }
}

const QString kCannotOpenCom3 =
    QString::fromUtf8("ポートが開けません(COM3)\r\n他のポートをお試しください");

TEST_F(CommandBarsTest, F3OpensCom3AndReportsAPortThatCannotBeOpened) {
    QSettings().setValue("Ports/COM3", "/nonexistent/korimet-com3");
    makeWindow();
    showWithMemoFocused();
    QTest::keyClick(window.get(), Qt::Key_F3);
    auto shown = messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kCannotOpenCom3);
    EXPECT_EQ(shown[0].title, "Korimet");

    fake->calls.clear();
    item("mnuID_SET_COM3")->trigger();
    shown = messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kCannotOpenCom3);
}

// The fake answers every file question with Cancel, so nothing is read or written.
TEST_F(CommandBarsTest, FileItemsAskForTheirFile) {
    const struct {
        const char* item;
        FakeDialogs::Kind kind;
        const char* title;
    } cases[] = {
        {"mnuFileOpen", FakeDialogs::Kind::OpenPath, "開く"},
        {"mnuFileSave", FakeDialogs::Kind::SavePath, "保存"},  // no file yet: asks
        {"mnuFileSaveAs", FakeDialogs::Kind::SavePath, "保存"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        fake->calls.clear();
        item(c.item)->trigger();
        ASSERT_EQ(fake->calls.size(), 1u);
        EXPECT_EQ(fake->calls[0].kind, c.kind);
        EXPECT_EQ(fake->calls[0].title, QString::fromUtf8(c.title));
        EXPECT_TRUE(window->currentFileName().isEmpty());
    }
}

TEST_F(CommandBarsTest, ToolbarHoldsTheButtonsInOrderWithTheirSeparators) {
    QStringList seen;
    for (QAction* action : toolBar().actions()) {
        seen << (action->isSeparator() ? QStringLiteral("|") : action->data().toString());
    }
    EXPECT_EQ(seen, QStringList({"開く", "上書き保存", "|", "切り取り", "ｺﾋﾟｰ", "貼り付け", "|",
                                 "レース模擬", "データ比較"}));

    QStringList dispatched;
    for (const ToolbarCommand& command : toolbarCommands(*window)) dispatched << command.key;
    EXPECT_EQ(dispatched, QStringList({"開く", "上書き保存", "切り取り", "ｺﾋﾟｰ", "貼り付け",
                                       "レース模擬", "データ比較"}));
}

TEST_F(CommandBarsTest, ToolbarButtonsStayLeftOfThePortCombo) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const auto* combo = window->findChild<QComboBox*>("Combo1");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->parentWidget(), &toolBar());
    EXPECT_TRUE(combo->isVisible());
    for (QAction* action : toolBar().actions()) {
        QWidget* button = toolBar().widgetForAction(action);
        ASSERT_NE(button, nullptr) << action->objectName().toStdString();
        EXPECT_TRUE(button->isVisible()) << action->objectName().toStdString();
        EXPECT_LT(button->geometry().right(), combo->geometry().left())
            << action->objectName().toStdString();
    }
}

TEST_F(CommandBarsTest, ToolbarEditButtonsWorkOnTheMemo) {
    memo().setHtml("one <b>two</b> three");
    select(memo(), 4, 7);  // "two"
    toolbarButton("ｺﾋﾟｰ")->trigger();
    EXPECT_TRUE(isMemoMarkup(clipboard()->text()));

    select(memo(), 0, 4);  // "one "
    toolbarButton("切り取り")->trigger();
    EXPECT_EQ(memo().toPlainText(), "two three");
    EXPECT_TRUE(isMemoMarkup(clipboard()->text()));

    select(memo(), 0, 0);
    toolbarButton("貼り付け")->trigger();
    EXPECT_EQ(memo().toPlainText(), "one two three");
    EXPECT_TRUE(fake->calls.empty());
}

// With no run loaded the tools refuse; the fake cancels every file question.
TEST_F(CommandBarsTest, ToolbarButtonsRunTheirCommands) {
    const struct {
        const char* key;
        FakeDialogs::Kind kind;
        const char* text;
        const char* title;
    } cases[] = {
        {"開く", FakeDialogs::Kind::OpenPath, "", "開く"},
        {"上書き保存", FakeDialogs::Kind::SavePath, "", "保存"},
        {"レース模擬", FakeDialogs::Kind::Message, "データ未読込み", "レース模擬"},
        {"データ比較", FakeDialogs::Kind::Message, "比較元データ未読込み", "データ比較"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        fake->calls.clear();
        toolbarButton(c.key)->trigger();
        ASSERT_EQ(fake->calls.size(), 1u);
        EXPECT_EQ(fake->calls[0].kind, c.kind);
        EXPECT_EQ(fake->calls[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(fake->calls[0].title, QString::fromUtf8(c.title));
    }
}

TEST_F(CommandBarsTest, AThrowingToolbarCommandLeavesTheWindowUsable) {
    window->show();
    std::vector<ToolbarCommand> table = toolbarCommands(*window);
    int reached = 0;
    for (ToolbarCommand& command : table) {
        if (command.key != QString::fromUtf8("データ比較")) continue;
        command.run = [&reached] {
            ++reached;
            throw std::runtime_error("comparison failed half way");
        };
    }
    EXPECT_EQ(dispatchToolbarKey(QString::fromUtf8("データ比較"), table),
              ToolbarDispatch::Abandoned);
    EXPECT_EQ(reached, 1);
    EXPECT_TRUE(fake->calls.empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The next command runs as usual.
    memo().setHtml("<b>still</b> works");
    select(memo(), 0, 5);
    EXPECT_EQ(dispatchToolbarKey(QString::fromUtf8("ｺﾋﾟｰ"), table), ToolbarDispatch::Done);
    EXPECT_TRUE(isMemoMarkup(clipboard()->text()));
    item("mnuFileClose")->trigger();
    EXPECT_EQ(messages().size(), 1u);
}

// Answers every message by throwing, as a broken dialog would.
class ThrowingDialogs : public FakeDialogs {
  public:
    void message(const QString&, const QString&, MessageIcon) override {
        throw std::runtime_error("no dialog");
    }
};

TEST(RunGuarded, TellsWhichCommandFailedAndWhy) {
    const struct {
        const char* name;
        std::function<void()> command;
        bool shows;
        const char* text;
    } cases[] = {
        {"開く", [] {}, false, ""},
        {"開く", [] { throw std::runtime_error("disk gone"); }, true,
         "「開く」を実行できませんでした\r\ndisk gone"},
        {"COM3", [] { throw 42; }, true, "「COM3」を実行できませんでした"},
        {"上書き保存", [] { throw std::runtime_error(""); }, true,
         "「上書き保存」を実行できませんでした"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        FakeDialogs dialogs;
        EXPECT_NO_THROW(runGuarded(dialogs, QString::fromUtf8(c.name), c.command));
        ASSERT_EQ(dialogs.calls.size(), c.shows ? 1u : 0u);
        if (!c.shows) continue;
        EXPECT_EQ(dialogs.calls[0].kind, FakeDialogs::Kind::Message);
        EXPECT_EQ(dialogs.calls[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(dialogs.calls[0].title, "Korimet");
        EXPECT_EQ(dialogs.calls[0].icon, MessageIcon::None);
    }
}

TEST(RunGuarded, NothingEscapesEvenWhenTheMessageFails) {
    ThrowingDialogs dialogs;
    EXPECT_NO_THROW(runGuarded(dialogs, "開く", [] { throw std::runtime_error("disk gone"); }));
}

TEST_F(CommandBarsTest, WindowCarriesTheApplicationIcon) {
    const QList<QSize> sizes = window->windowIcon().availableSizes();
    for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)}) {
        EXPECT_TRUE(sizes.contains(size)) << size.width();
    }
}

}  // namespace
}  // namespace korimet
