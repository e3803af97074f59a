#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStringList>

#include "common/ui/ui_language.h"
#include "common/ui/ui_text.h"
#include "shell/ui/window_language.h"
#include "support/shown_texts.h"
#include "support/window_fixture.h"

namespace korimet {
namespace {

QString qs(const char* text) { return QString::fromUtf8(text); }

TEST(WindowLanguage, AChoiceWinsThenTheLocaleThenEnglish) {
    ASSERT_EQ(availableLanguages().mid(0, 2), (QStringList{qs("ja"), qs("en")}));
    const struct {
        const char* choice;
        const char* locale;
        const char* language;
    } cases[] = {
        {"", "ja", "ja"},    // the system's: a Japanese locale
        {"", "", "en"},      // C or POSIX, or nothing set
        {"", "de", "en"},    // a language without a translation
        {"", "en", "en"},    //
        {"en", "ja", "en"},  // the racer's choice over the locale
        {"ja", "de", "ja"},  //
        {"xx", "ja", "ja"},  // a choice whose translation is gone: as for the system's
    };
    for (const auto& c : cases) {
        EXPECT_EQ(resolveLanguage(qs(c.choice), qs(c.locale)), qs(c.language))
            << c.choice << " / " << c.locale;
    }
}

class LanguageMenuTest : public test::WindowInTempFolder {
  protected:
    void SetUp() override {
        WindowInTempFolder::SetUp();
        makeWindow();
        menu = new LanguageMenu(*window);  // owned by the window
    }
    // What the other tests expect: nothing installed, the texts as written.
    void TearDown() override {
        applyLanguage(QStringLiteral("none"));
        WindowInTempFolder::TearDown();
    }

    QStringList topMenus() const {
        QStringList titles;
        for (QAction* action : window->menuBar()->actions()) titles.append(action->text());
        return titles;
    }
    QAction* item(const char* name) const {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    }

    LanguageMenu* menu = nullptr;
};

// The menus change at once, both ways, and the choice is kept; back in Japanese every text
// of the window is what it was before.
TEST_F(LanguageMenuTest, SwitchesTheWindowBothWaysAndKeepsTheChoice) {
    const QStringList japaneseMenus = topMenus();
    ASSERT_EQ(japaneseMenus.first(), qs("ﾌｧｲﾙ(&F)"));
    ASSERT_EQ(japaneseMenus.last(), qs("ﾍﾙﾌﾟ(&H)"));
    std::vector<QString> before;
    for (const auto& shown : test::shownTexts(*window)) before.push_back(shown.text);

    item("mnuLanguage_en")->trigger();
    EXPECT_EQ(QSettings().value(QStringLiteral("Language/Choice")).toString(), qs("en"));
    EXPECT_TRUE(item("mnuLanguage_en")->isChecked());
    EXPECT_EQ(uiLanguageCode(), qs("en"));
    const QStringList englishMenus = topMenus();
    EXPECT_EQ(englishMenus.first(), qs("&File"));
    EXPECT_EQ(englishMenus.at(1), qs("&Edit"));
    EXPECT_EQ(englishMenus.last(), qs("&Help"));
    EXPECT_EQ(window->findChild<QMenu*>(QStringLiteral("mnuLanguage"))->title(), qs("La&nguage"));

    item("mnuLanguage_ja")->trigger();
    EXPECT_EQ(QSettings().value(QStringLiteral("Language/Choice")).toString(), qs("ja"));
    EXPECT_EQ(topMenus(), japaneseMenus);
    std::vector<QString> after;
    for (const auto& shown : test::shownTexts(*window)) after.push_back(shown.text);
    EXPECT_EQ(after, before);

    // The system's: kept as no choice at all, so a change of locale is followed next time.
    item("mnuLanguage_system")->trigger();
    EXPECT_EQ(QSettings().value(QStringLiteral("Language/Choice")).toString(), QString());
    EXPECT_TRUE(item("mnuLanguage_system")->isChecked());
}

}  // namespace
}  // namespace korimet
