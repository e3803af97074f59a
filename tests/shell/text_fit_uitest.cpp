#include <gtest/gtest.h>

#include <QFile>
#include <QTextEdit>

#include "files/data_file.h"
#include "shell/ui/about_box.h"
#include "shell/ui/main_window.h"
#include "support/fake_dialogs.h"
#include "support/frames.h"
#include "support/pty.h"
#include "support/text_fit.h"
#include "support/window_fixture.h"
#include "tools/ui/analysis_commands.h"

namespace korimet {
namespace {

std::string listed(const std::vector<std::string>& cuts) {
    std::string all;
    for (const std::string& c : cuts) all += c + "\n";
    return all;
}

class TextFit : public test::WindowInTempFolder {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(WindowInTempFolder::SetUp());
        makeWindow();
        window->show();
        test::settle();
    }
};

// The window at its fixed size, as it starts and with every label filled by the widest
// values a run gives: 60 laps, car 255, a comparison and a long race.
TEST_F(TextFit, EveryTextOfTheWindowFits) {
    EXPECT_EQ(listed(test::cutTexts(*window)), "") << "as it starts";

    LapData run = test::runOfLaps(60, 61.5, 99);
    run.carId = 255;
    window->deviceLink().feedBytes(test::frameFor(run));
    const QString other = dir.filePath(QStringLiteral("比較用のラン.krt"));
    ASSERT_TRUE(saveDataFile(QFile::encodeName(other).toStdString(), test::runOfLaps(58), "memo"));
    dialogs->answers.push_back(other);
    window->analysisCommands().compareData();
    dialogs->answers.push_back(QStringLiteral("999"));
    window->analysisCommands().simulateRace();
    test::settle();
    ASSERT_TRUE(window->findChild<QLabel*>("Label7")->text().startsWith("999"));
    ASSERT_FALSE(window->findChild<QLabel*>("Label25")->text().isEmpty());
    EXPECT_EQ(listed(test::cutTexts(*window)), "") << "with a run, a comparison and a race";
}

TEST_F(TextFit, TheAboutBoxFits) {
    AboutBox box(window.get());
    box.show();
    test::settle();
    EXPECT_EQ(listed(test::cutTexts(box)), "");
}

// The measure itself: each kind of control with a text too wide for it is found, and the same
// controls given room are not.
TEST(TextFitMeasure, FindsEachKindOfCutTextAndOnlyThose) {
    QWidget host;
    host.resize(600, 400);
    auto* label = new QLabel(QStringLiteral("ベストラップ 01m00s00"), &host);
    auto* button = new QPushButton(QStringLiteral("ファイルを開く(&O)"), &host);
    auto* combo = new QComboBox(&host);
    combo->addItems({QStringLiteral("全車"), QStringLiteral("CarID 255 のラン")});
    auto* check = new QCheckBox(QStringLiteral("起動時に接続する"), &host);
    auto* table = new QTableWidget(1, 2, &host);
    table->setHorizontalHeaderLabels({QStringLiteral("ワースト"), QStringLiteral("安定度(%)")});
    table->setGeometry(0, 200, 400, 150);
    host.show();
    test::settle();

    const std::vector<QWidget*> controls = {label, button, combo, check};
    for (QWidget* w : controls) w->setGeometry(0, 0, 30, 30);
    table->horizontalHeader()->resizeSection(1, 20);
    std::vector<std::string> cuts = test::cutTexts(host);
    const std::string all = listed(cuts);
    for (const char* text : {"ベストラップ 01m00s00", "ファイルを開く", "CarID 255 のラン",
                             "起動時に接続する", "安定度(%)"}) {
        EXPECT_NE(all.find(text), std::string::npos) << text << " not found in\n" << all;
    }
    EXPECT_EQ(all.find("ワースト"), std::string::npos) << all;

    for (QWidget* w : controls) w->setGeometry(0, 0, 400, 40);
    table->horizontalHeader()->resizeSection(1, 150);
    EXPECT_EQ(listed(test::cutTexts(host)), "");
}

}  // namespace
}  // namespace korimet
