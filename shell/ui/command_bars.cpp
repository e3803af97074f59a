#include "shell/ui/command_bars.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QTextEdit>
#include <QToolBar>
#include <exception>

#include "common/text_mark.h"
#include "common/ui/ui_text.h"
#include "device/settings/port_paths.h"
#include "device/ui/device_link.h"
#include "files/ui/file_commands.h"
#include "files/ui/memo_panel.h"
#include "session/command_guard.h"
#include "session/dialogs.h"
#include "shell/ui/about_box.h"
#include "shell/ui/additions_menu.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_texts.h"
#include "tools/ui/analysis_commands.h"

namespace korimet {

namespace {

// QTextEdit claims Ctrl+X/C/V for its own clipboard handling before any shortcut is looked
// at, so with the memo focused the menu's commands would never run and the formatting
// would not travel. Refusing the claim for the menu's keys lets the menu's actions win.
class MenuKeysFirst : public QObject {
  public:
    MenuKeysFirst(QList<QKeySequence> keys, QObject* parent)
        : QObject(parent), keys_(std::move(keys)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QKeySequence pressed(key->keyCombination());
            if (keys_.contains(pressed)) {
                event->ignore();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QList<QKeySequence> keys_;
};

QAction* addSeparator(QMenu& menu, const char* name) {
    QAction* bar = menu.addSeparator();
    bar->setObjectName(QString::fromUtf8(name));
    return bar;
}

// The submenu and the item that opens it both carry the layout name.
QMenu* named(QMenu* menu, const char* name, const char* title) {
    setFixedText(menu, title);
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
    return menu;
}

}  // namespace

std::vector<ToolbarCommand> toolbarCommands(MainWindow& window) {
    FileCommands* files = &window.fileCommands();
    MemoPanel* memo = &window.memoPanel();
    AnalysisCommands* analysis = &window.analysisCommands();
    Dialogs* dialogs = &window.dialogs();
    // Each under the one guard every command runs under, named by its key.
    auto guarded = [dialogs](const char* key, std::function<void()> command) {
        const QString name = QString::fromUtf8(key);
        return ToolbarCommand{name, [dialogs, name, command = std::move(command)] {
                                  runGuarded(*dialogs, name, command);
                              }};
    };
    return {
        guarded(kKeyOpen, [files] { files->openDataFile(); }),
        guarded(kKeySave, [files] { files->saveDataFile(); }),
        guarded(kKeyCut, [memo] { memo->cut(); }),
        guarded(kKeyCopy, [memo] { memo->copy(); }),
        guarded(kKeyPaste, [memo] { memo->paste(); }),
        guarded(kKeyRace, [analysis] { analysis->simulateRace(); }),
        guarded(kKeyCompare, [analysis] { analysis->compareData(); }),
    };
}

QMenu& MainWindow::additionsMenu() {
    if (!additionsMenu_) additionsMenu_ = korimet::additionsMenu(*this);
    return *additionsMenu_;
}

void MainWindow::setupCommandBars() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("frmMainMenuBar"));

    auto addItem = [this](QMenu* menu, const char* name, const char* caption,
                          const QKeySequence& shortcut, const std::function<void()>& command) {
        QAction* item = menu->addAction(QString());
        setFixedText(item, caption);
        item->setObjectName(QString::fromUtf8(name));
        item->setShortcut(shortcut);
        // Named as the menu shows it when it runs, in the language of the moment.
        connect(item, &QAction::triggered, this, [this, item, command] {
            runGuarded(dialogs(), commandName(item->text()), command);
        });
        return item;
    };
    auto placeholder = [this](const char* name) {
        return [this, handler = QString::fromUtf8(name)] {
            dialogs().message(uiText(texts::kPlaceholderMessage).arg(handler),
                              uiText(texts::kAppTitle), MessageIcon::None);
        };
    };

    QMenu* file = named(bar->addMenu(QString()), "mnuFile", KORIMET_TR("Korimet", "ﾌｧｲﾙ(&F)"));
    FileCommands* files = fileCommands_;
    addItem(file, "mnuFileOpen", KORIMET_TR("Korimet", "開く(&O)..."), {},
            [files] { files->openDataFile(); });
    addItem(file, "mnuFileClose", KORIMET_TR("Korimet", "閉じる(&C)"), {},
            placeholder("mnuFileClose"));
    addSeparator(*file, "mnuFileBar0");
    addItem(file, "mnuFileSave", KORIMET_TR("Korimet", "上書き保存(&S)"), {},
            [files] { files->saveDataFile(); });
    addItem(file, "mnuFileSaveAs", KORIMET_TR("Korimet", "名前を付けて保存(&A)..."), {},
            [files] { files->saveDataFileAs(); });
    addSeparator(*file, "mnuFileBar1");
    addItem(file, "mnuFileExit", KORIMET_TR("Korimet", "終了(&X)"), {}, [this] { close(); });

    const QKeySequence cutKey(Qt::CTRL | Qt::Key_X);
    const QKeySequence copyKey(Qt::CTRL | Qt::Key_C);
    const QKeySequence pasteKey(Qt::CTRL | Qt::Key_V);
    QMenu* edit = named(bar->addMenu(QString()), "mnuEdit", KORIMET_TR("Korimet", "編集(&E)"));
    addItem(edit, "mnuEditUndo", KORIMET_TR("Korimet", "元に戻す(&U)"), {},
            placeholder("mnuEditUndo"));
    addSeparator(*edit, "mnuEditBar0");
    MemoPanel* memo = memoPanel_;
    addItem(edit, "mnuEditCut", KORIMET_TR("Korimet", "切り取り(&T)"), cutKey,
            [memo] { memo->cut(); });
    addItem(edit, "mnuEditCopy", KORIMET_TR("Korimet", "ｺﾋﾟｰ(&C)"), copyKey,
            [memo] { memo->copy(); });
    addItem(edit, "mnuEditPaste", KORIMET_TR("Korimet", "貼り付け(&P)"), pasteKey,
            [memo] { memo->paste(); });
    addItem(edit, "mnuEditPasteSpecial", KORIMET_TR("Korimet", "形式を選択して貼り付け(&S)..."), {},
            placeholder("mnuEditPasteSpecial"));
    QTextEdit* memoBox = &memo->box();
    memoBox->installEventFilter(new MenuKeysFirst({cutKey, copyKey, pasteKey}, memoBox));

    QMenu* settings = named(bar->addMenu(QString()), "mnuID_SET", KORIMET_TR("Korimet", "設定"));
    QMenu* ports =
        named(settings->addMenu(QString()), "mnuID_PORT", KORIMET_TR("Korimet", "通信ポート"));
    ports->setToolTipsVisible(true);
    QList<QAction*> portItems;
    static constexpr Qt::Key kPortKeys[] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4,
                                            Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8};
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const QByteArray name = QStringLiteral("mnuID_SET_COM%1").arg(n).toUtf8();
        const QByteArray caption = portName(n).toUtf8();
        portItems.append(addItem(ports, name.constData(), caption.constData(),
                                 QKeySequence(kPortKeys[n - kFirstPort]),
                                 [link = deviceLink_, n] { link->openPortFromMenu(n); }));
    }
    // The device behind a port is a setting that may change while the program runs.
    auto showDevices = [portItems] {
        for (int i = 0; i < portItems.size(); ++i) {
            portItems[i]->setToolTip(portDevicePath(kFirstPort + i));
        }
    };
    showDevices();
    connect(ports, &QMenu::aboutToShow, this, showDevices);

    QMenu* help = named(bar->addMenu(QString()), "mnuHelp", KORIMET_TR("Korimet", "ﾍﾙﾌﾟ(&H)"));
    addItem(help, "mnuHelpAbout", KORIMET_TR("Korimet", "ﾊﾞｰｼﾞｮﾝ情報(&A)"), {},
            [this] { showAboutBox(this); });

    addToolbarButtons(*commandToolBar, [this](const QString& key) {
        dispatchToolbarKey(key, toolbarCommands(*this));
    });
}

}  // namespace korimet
