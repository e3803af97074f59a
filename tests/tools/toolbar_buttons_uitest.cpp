#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QImage>
#include <QToolBar>
#include <QToolButton>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/ui/toolbar_buttons.h"

namespace korimet {
namespace {

TEST(ToolbarButtons, ButtonsInOrderWithSeparatorsTooltipsAndIcons) {
    QToolBar toolBar;
    std::vector<QString> clicked;
    addToolbarButtons(toolBar, [&](const QString& key) { clicked.push_back(key); });

    struct Expected {
        const char* key;  // nullptr: a separator
        const char* toolTip;
        const char* icon;
    };
    const Expected expected[] = {
        {"開く", "開く", ":/icons/Open.png"},
        {"上書き保存", "上書き保存", ":/icons/Save.png"},
        {nullptr, nullptr, nullptr},
        {"切り取り", "切り取り", ":/icons/Cut.png"},
        {"ｺﾋﾟｰ", "ｺﾋﾟｰ", ":/icons/Copy.png"},
        {"貼り付け", "貼り付け", ":/icons/Paste.png"},
        {nullptr, nullptr, nullptr},
        {"レース模擬", "レース模擬結果表示", ":/icons/Race.png"},
        {"データ比較", "データ比較", ":/icons/hikaku.png"},
    };
    const QList<QAction*> actions = toolBar.actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(expected)));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const Expected& e = expected[i];
        QAction* action = actions[i];
        if (!e.key) {
            EXPECT_TRUE(action->isSeparator()) << i;
            continue;
        }
        ASSERT_FALSE(action->isSeparator()) << i;
        EXPECT_EQ(action->data().toString(), QString::fromUtf8(e.key));
        EXPECT_EQ(action->toolTip(), QString::fromUtf8(e.toolTip));

        const QImage image(QString::fromUtf8(e.icon));
        EXPECT_EQ(image.size(), QSize(16, 16)) << e.icon;
        EXPECT_FALSE(action->icon().isNull()) << e.key;
        EXPECT_FALSE(action->icon().pixmap(16, 16).isNull()) << e.key;

        auto* button = qobject_cast<QToolButton*>(toolBar.widgetForAction(action));
        ASSERT_NE(button, nullptr) << e.key;
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);

        clicked.clear();
        action->trigger();
        EXPECT_EQ(clicked, std::vector<QString>{QString::fromUtf8(e.key)});
    }
    for (int size : {16, 32, 48, 256}) {
        const QImage appIcon(QStringLiteral(":/icons/korimet-%1.png").arg(size));
        EXPECT_EQ(appIcon.size(), QSize(size, size));
    }
}

TEST(ToolbarButtons, DispatchRunsTheFirstExactMatchOnly) {
    std::vector<std::string> ran;
    std::vector<ToolbarCommand> table;
    for (const ToolbarButton& b : kToolbarButtons) {
        const std::string key = b.key;
        table.push_back({QString::fromUtf8(b.key), [&ran, key] { ran.push_back(key); }});
    }
    table.push_back({QString::fromUtf8("開く"), [&ran] { ran.push_back("second 開く"); }});

    struct Case {
        const char* key;
        ToolbarDispatch result;
        std::vector<std::string> ran;
    };
    const Case cases[] = {
        {"開く", ToolbarDispatch::Done, {"開く"}},
        {"上書き保存", ToolbarDispatch::Done, {"上書き保存"}},
        {"切り取り", ToolbarDispatch::Done, {"切り取り"}},
        {"ｺﾋﾟｰ", ToolbarDispatch::Done, {"ｺﾋﾟｰ"}},
        {"貼り付け", ToolbarDispatch::Done, {"貼り付け"}},
        {"レース模擬", ToolbarDispatch::Done, {"レース模擬"}},
        {"データ比較", ToolbarDispatch::Done, {"データ比較"}},
        {"コピー", ToolbarDispatch::NoMatch, {}},  // full-width kana, not the key
        {"開く ", ToolbarDispatch::NoMatch, {}},
        {"レース模擬結果表示", ToolbarDispatch::NoMatch, {}},  // the tooltip
        {"Open", ToolbarDispatch::NoMatch, {}},                // the icon name
        {"", ToolbarDispatch::NoMatch, {}},
    };
    for (const auto& c : cases) {
        ran.clear();
        EXPECT_EQ(dispatchToolbarKey(QString::fromUtf8(c.key), table), c.result) << c.key;
        EXPECT_EQ(ran, c.ran) << c.key;
    }
}

TEST(ToolbarButtons, DispatchIsCaseSensitive) {
    int runs = 0;
    const std::vector<ToolbarCommand> table = {{QStringLiteral("Key"), [&runs] { ++runs; }}};
    EXPECT_EQ(dispatchToolbarKey(QStringLiteral("key"), table), ToolbarDispatch::NoMatch);
    EXPECT_EQ(dispatchToolbarKey(QStringLiteral("KEY"), table), ToolbarDispatch::NoMatch);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(dispatchToolbarKey(QStringLiteral("Key"), table), ToolbarDispatch::Done);
    EXPECT_EQ(runs, 1);
}

TEST(ToolbarButtons, ThrowingCommandEndsQuietlyAndLaterClicksStillWork) {
    std::vector<std::string> steps;
    const std::vector<ToolbarCommand> table = {
        {QString::fromUtf8("データ比較"),
         [&steps] {
             steps.push_back("before");
             throw std::runtime_error("file vanished");
             steps.push_back("after");  // never reached
         }},
        {QString::fromUtf8("レース模擬"), [] { throw 42; }},  // not even an exception class
        {QString::fromUtf8("開く"), [&steps] { steps.push_back("open"); }},
        {QString::fromUtf8("上書き保存"), {}},  // no command bound
    };
    EXPECT_EQ(dispatchToolbarKey(QString::fromUtf8("データ比較"), table),
              ToolbarDispatch::Abandoned);
    EXPECT_EQ(dispatchToolbarKey(QString::fromUtf8("レース模擬"), table),
              ToolbarDispatch::Abandoned);
    EXPECT_EQ(dispatchToolbarKey(QString::fromUtf8("上書き保存"), table),
              ToolbarDispatch::Abandoned);
    EXPECT_EQ(dispatchToolbarKey(QString::fromUtf8("開く"), table), ToolbarDispatch::Done);
    EXPECT_EQ(steps, (std::vector<std::string>{"before", "open"}));
}

TEST(ToolbarButtons, ClickThroughTheToolbarReachesTheDispatch) {
    QToolBar toolBar;
    std::vector<std::string> ran;
    const std::vector<ToolbarCommand> table = {
        {QString::fromUtf8("データ比較"), [] { throw std::runtime_error("bad file"); }},
        {QString::fromUtf8("レース模擬"), [&ran] { ran.push_back("race"); }},
    };
    std::vector<ToolbarDispatch> results;
    addToolbarButtons(
        toolBar, [&](const QString& key) { results.push_back(dispatchToolbarKey(key, table)); });
    for (QAction* action : toolBar.actions()) {
        if (action->data().toString() == QString::fromUtf8("データ比較") ||
            action->data().toString() == QString::fromUtf8("レース模擬")) {
            action->trigger();
        }
    }
    EXPECT_EQ(results,
              (std::vector<ToolbarDispatch>{ToolbarDispatch::Done, ToolbarDispatch::Abandoned}));
    EXPECT_EQ(ran, std::vector<std::string>{"race"});
}

}  // namespace
}  // namespace korimet
