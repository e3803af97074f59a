#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "device/ui/device_link.h"
#include "files/ui/file_commands.h"
#include "files/ui/memo_panel.h"
#include "lapdata/ui/lap_panel.h"
#include "shell/ui/main_window.h"
#include "support/fake_dialogs.h"
#include "tools/ui/analysis_commands.h"

namespace korimet::test {

// Gives `window` a fresh FakeDialogs and returns it; the window owns it.
inline FakeDialogs& fakeDialogsFor(MainWindow& window) {
    auto owned = std::make_unique<FakeDialogs>();
    FakeDialogs& fake = *owned;
    window.setDialogs(std::move(owned));
    return fake;
}

// A window answered by a fresh FakeDialogs; `fake` points at it.
inline std::unique_ptr<MainWindow> windowWithFakeDialogs(FakeDialogs*& fake) {
    auto window = std::make_unique<MainWindow>();
    fake = &fakeDialogsFor(*window);
    return window;
}

// Settings cleared and a fresh temporary folder as the working folder, so that no template
// or setting from wherever the tests run slips into the window; the window is made by the
// test or its fixture, with makeWindow() when it is to be answered by fake dialogs.
class WindowInTempFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().clear();
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
    }
    void TearDown() override { QDir::setCurrent(previous); }

    void makeWindow() { window = windowWithFakeDialogs(dialogs); }

    QTemporaryDir dir;
    QString previous;
    std::unique_ptr<MainWindow> window;
    FakeDialogs* dialogs = nullptr;
};

}  // namespace korimet::test
