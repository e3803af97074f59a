#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "shell/ui/about_box.h"

namespace korimet {
namespace {

QLabel* label(QWidget* box, const char* name) {
    return box->findChild<QLabel*>(QString::fromUtf8(name));
}

// Inspects the open box once the modal loop runs, then closes it with `closeKey`.
void inspectOnceOpen(QWidget* owner, int closeKey, std::function<void(QDialog*)> inspect) {
    QTimer::singleShot(0, owner, [owner, closeKey, inspect] {
        auto* box = owner->findChild<QDialog*>(QStringLiteral("frmAbout"));
        if (!box) {
            ADD_FAILURE() << "no frmAbout owned by the window";
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            return;
        }
        inspect(box);
        QKeyEvent press(QEvent::KeyPress, closeKey, Qt::NoModifier);
        QApplication::sendEvent(box, &press);
        if (box->isVisible()) {
            ADD_FAILURE() << "key " << closeKey << " left the box open";
            box->reject();
        }
    });
}

TEST(AboutBox, ShowsTitleIconAndVersionModalAndTheSameEachTime) {
    QWidget owner;
    owner.setObjectName("frmMain");
    owner.show();
    const double dpi = owner.screen()->logicalDotsPerInch();
    const auto px = [dpi](int twips) { return qRound(twips * dpi / 1440.0); };

    int inspected = 0;
    for (int closeKey : {Qt::Key_Escape, Qt::Key_Return}) {
        inspectOnceOpen(&owner, closeKey, [&](QDialog* box) {
            ++inspected;
            EXPECT_EQ(QApplication::activeModalWidget(), box);
            EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
            EXPECT_EQ(box->parentWidget(), &owner);
            EXPECT_EQ(box->windowTitle(), QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ情報 Korimet"));

            const Qt::WindowFlags flags = box->windowFlags();
            EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
            EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
            EXPECT_EQ(box->minimumSize(), box->maximumSize());
            EXPECT_EQ(box->size(), QSize(px(5295), px(1020)));
            if (dpi == 96.0) {
                EXPECT_EQ(box->size(), QSize(353, 68));
            }

            QLabel* shadow = label(box, "lblTitle_0");
            QLabel* front = label(box, "lblTitle_1");
            QLabel* version = label(box, "lblVersion");
            QLabel* icon = label(box, "picIcon");
            ASSERT_TRUE(shadow && front && version && icon);
            EXPECT_EQ(shadow->text(), "Korimet");
            EXPECT_EQ(front->text(), "Korimet");
            EXPECT_EQ(version->text(), "Version " KORIMET_VERSION_TEXT);
            EXPECT_EQ(version->text(), "Version 1.3.0");
            EXPECT_EQ(shadow->pos(), QPoint(px(1050), px(120)));
            EXPECT_EQ(front->pos(), QPoint(px(1000), px(100)));
            EXPECT_EQ(shadow->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0x80));
            EXPECT_EQ(front->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0xFF));
            EXPECT_TRUE(front->font().italic());
            EXPECT_DOUBLE_EQ(front->font().pointSizeF(), 20.25);
            // The later sibling paints over the earlier one: the light blue title on top.
            EXPECT_GT(box->children().indexOf(front), box->children().indexOf(shadow));
            EXPECT_FALSE(icon->pixmap().isNull());

            auto* ok = box->findChild<QPushButton*>("cmdOK");
            ASSERT_NE(ok, nullptr);
            EXPECT_EQ(ok->text(), "OK");
            EXPECT_TRUE(ok->isDefault());
        });
        showAboutBox(&owner);
        // Closed and gone: nothing of it is left with the owner.
        EXPECT_EQ(owner.findChild<QDialog*>(QStringLiteral("frmAbout")), nullptr);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_EQ(inspected, 2);
}

TEST(AboutBox, OkButtonCloses) {
    QWidget owner;
    owner.show();
    QTimer::singleShot(0, &owner, [&owner] {
        auto* ok = owner.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        if (ok) {
            ok->click();
        } else {
            ADD_FAILURE() << "no cmdOK";
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        }
    });
    AboutBox box(&owner);
    EXPECT_EQ(box.exec(), QDialog::Accepted);
}

}  // namespace
}  // namespace korimet
