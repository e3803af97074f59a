#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "session/dialogs.h"
#include "shell/ui/shell_texts.h"

namespace korimet {
namespace {

TEST(FileFilter, ProgramFormBecomesQtForm) {
    const struct {
        const char* program;
        const char* qt;
    } cases[] = {
        {texts::kDataFileFilter, "Korimet DATAﾌｧｲﾙ (*.krt)"},
        {"Korimet DATAﾌｧｲﾙ (*.krt)|*.krt|All (*.*)|*.*", "Korimet DATAﾌｧｲﾙ (*.krt);;All (*.*)"},
        {"Data|*.krt", "Data (*.krt)"},
        {"Text (*.txt)|*.txt;*.log", "Text (*.txt *.log)"},
        {"Old label (*.dat)|*.krt", "Old label (*.krt)"},
        {"Lonely", "Lonely (*)"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(qtFileFilter(c.program), QString(c.qt)) << c.program;
}

// Runs `check` on the modal dialog the call opens, once it is up.
void whenModal(std::function<void(QWidget*)> check) {
    QTimer::singleShot(0, [check] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        check(modal);
    });
}

TEST(QtDialogs, MessageHasItsIconTitleAndOneOkButton) {
    QWidget owner;
    QtDialogs dialogs(&owner);
    const struct {
        MessageIcon icon;
        QMessageBox::Icon shown;
        const char* title;
        const char* expectedTitle;
    } cases[] = {{MessageIcon::Critical, QMessageBox::Critical, "レース模擬", "レース模擬"},
                 {MessageIcon::None, QMessageBox::NoIcon, "", texts::kAppTitle}};
    for (const auto& c : cases) {
        bool seen = false;
        whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            seen = true;
            EXPECT_EQ(box->icon(), c.shown);
            EXPECT_EQ(box->windowTitle(), QString(c.expectedTitle));
            EXPECT_EQ(box->text(), "ポートが開けません\n他のポートをお試しください");
            ASSERT_EQ(box->buttons().size(), 1);
            EXPECT_EQ(box->standardButton(box->buttons()[0]), QMessageBox::Ok);
            box->accept();
        });
        dialogs.message("ポートが開けません\r\n他のポートをお試しください", c.title, c.icon);
        EXPECT_TRUE(seen);
    }
}

TEST(QtDialogs, InputTextGivesTheAnswerOrEmptyOnCancel) {
    QWidget owner;
    QtDialogs dialogs(&owner);
    whenModal([](QWidget* modal) {
        auto* input = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->labelText(), "最大値:");
        EXPECT_EQ(input->windowTitle(), "軸設定");
        EXPECT_EQ(input->textValue(), "120");
        input->setTextValue("95.5");
        input->accept();
    });
    EXPECT_EQ(dialogs.inputText("最大値:", "軸設定", "120"), "95.5");

    whenModal([](QWidget* modal) {
        auto* input = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle(), texts::kAppTitle);
        input->setTextValue("typed, then cancelled");
        input->reject();
    });
    EXPECT_EQ(dialogs.inputText("グラフプロットのみ変更可能:", "", "61.23"), "");
}

TEST(QtDialogs, SaveDialogNeverAsksAboutOverwriting) {
    QWidget owner;
    QtDialogs dialogs(&owner);
    whenModal([](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(files, nullptr);
        EXPECT_TRUE(files->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(files->nameFilters(), QStringList{"Korimet DATAﾌｧｲﾙ (*.krt)"});
        EXPECT_EQ(files->windowTitle(), "名前を付けて保存");
        files->reject();
    });
    EXPECT_EQ(dialogs.askSavePath("名前を付けて保存", texts::kDataFileFilter), "");
}

TEST(QtDialogs, OpenDialogTakesTheFilterAndCancelGivesEmpty) {
    QWidget owner;
    QtDialogs dialogs(&owner);
    whenModal([](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(files->nameFilters(), QStringList{"Korimet DATAﾌｧｲﾙ (*.krt)"});
        files->reject();
    });
    EXPECT_EQ(dialogs.askOpenPath("開く", texts::kDataFileFilter), "");
}

}  // namespace
}  // namespace korimet
