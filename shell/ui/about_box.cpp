#include "shell/ui/about_box.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

#include "common/text_mark.h"
#include "common/ui/icon_resources.h"
#include "common/ui/ui_text.h"

namespace korimet {
namespace {

constexpr const char* kAboutCaption = KORIMET_TR("Korimet", "ﾊﾞｰｼﾞｮﾝ情報 Korimet");
constexpr const char* kApplicationTitle = "Korimet";

// The layout is drawn in twips; 1440 to the inch.
class Twips {
  public:
    explicit Twips(double dotsPerInch) : dpi_(dotsPerInch > 0 ? dotsPerInch : 96.0) {}
    int operator()(int twips) const { return qRound(twips * dpi_ / 1440.0); }
    QRect rect(int left, int top, int width, int height) const {
        return QRect((*this)(left), (*this)(top), (*this)(width), (*this)(height));
    }

  private:
    double dpi_;
};

QFont titleFont(double pointSize) {
    QFont font(QStringLiteral("Arial Black"));
    font.setStyleHint(QFont::SansSerif);  // a heavy sans where that face is missing
    font.setWeight(QFont::Black);
    font.setPointSizeF(pointSize);
    font.setItalic(true);
    return font;
}

QLabel* addLabel(QWidget* box, const char* name, const QRect& place, const QFont& font) {
    auto* label = new QLabel(box);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(place);
    label->setFont(font);
    return label;
}

void setTextColor(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

}  // namespace

QString aboutVersionText() {
    return QStringLiteral("Version %1.%2.%3")
        .arg(KORIMET_VERSION_MAJOR)
        .arg(KORIMET_VERSION_MINOR)
        .arg(KORIMET_VERSION_PATCH);
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setFixedText(this, kAboutCaption, TextRole::WindowTitle);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const Twips twips(screen ? screen->logicalDotsPerInch() : 96.0);
    setFixedSize(twips(5295), twips(1020));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setGeometry(twips.rect(240, 240, 540, 540));
    icon->setPixmap(applicationIcon().pixmap(icon->size()));
    icon->setAlignment(Qt::AlignCenter);

    // Index 0 is the grey shadow; index 1 is made later so that it sits on top.
    const QString title = QString::fromUtf8(kApplicationTitle);
    QLabel* shadow =
        addLabel(this, "lblTitle_0", twips.rect(1050, 120, 4095, 480), titleFont(20.25));
    setTextColor(shadow, QColor(0x80, 0x80, 0x80));
    shadow->setText(title);
    QLabel* front =
        addLabel(this, "lblTitle_1", twips.rect(1000, 100, 4095, 480), titleFont(20.25));
    setTextColor(front, QColor(0x80, 0x80, 0xFF));
    front->setText(title);
    front->raise();

    QLabel* version = addLabel(this, "lblVersion", twips.rect(1050, 600, 2295, 345), titleFont(12));
    version->setText(aboutVersionText());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(twips.rect(3600, 600, 1467, 345));
    ok->setDefault(true);
    ok->setFocus();
    // Esc already rejects a QDialog, which closes it just the same.
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void showAboutBox(QWidget* parent) {
    AboutBox box(parent);
    box.exec();
}

}  // namespace korimet
