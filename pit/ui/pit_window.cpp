#include "pit/ui/pit_window.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "common/ui/ui_text.h"
#include "pit/ui/pit_texts.h"
#include "pit/ui/qr_image.h"

namespace korimet {

namespace {

constexpr int kQrScale = 6;  // pixels a module: readable from a phone held at arm's length

}  // namespace

PitWindow::PitWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      qrLabel_(new QLabel(this)),
      addressLabel_(new QLabel(this)),
      codeLabel_(new QLabel(this)),
      pagesLabel_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmPitView"));
    setFixedText(this, pittexts::kWindowTitle, TextRole::WindowTitle);
    qrLabel_->setObjectName(QStringLiteral("pitQrCode"));
    addressLabel_->setObjectName(QStringLiteral("pitAddress"));
    codeLabel_->setObjectName(QStringLiteral("pitAccessCode"));
    pagesLabel_->setObjectName(QStringLiteral("pitPages"));
    auto* wifi = new QLabel(this);
    setFixedText(wifi, pittexts::kJoinWifiFirst);
    wifi->setObjectName(QStringLiteral("pitJoinWifi"));
    wifi->setWordWrap(true);
    addressLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont big = codeLabel_->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    codeLabel_->setFont(big);
    codeLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    qrLabel_->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wifi);
    layout->addWidget(qrLabel_);
    layout->addWidget(addressLabel_);
    layout->addWidget(codeLabel_);
    layout->addWidget(pagesLabel_);
    showPages(0);
}

void PitWindow::showAddresses(const QStringList& urls, const QString& accessCode) {
    const QImage qr = urls.isEmpty() ? QImage() : qrImage(urls.first(), kQrScale);
    qrLabel_->setPixmap(QPixmap::fromImage(qr));
    qrLabel_->setToolTip(urls.isEmpty() ? QString() : urls.first());
    urls_ = urls;
    accessCode_ = accessCode;
    addressesShown_ = true;
    showTexts();
}

void PitWindow::showPages(int count) {
    pages_ = count;
    showTexts();
}

void PitWindow::showTexts() {
    if (addressesShown_) {
        addressLabel_->setText(uiText(pittexts::kAddress) + "\n" + urls_.join('\n'));
        codeLabel_->setText(uiText(pittexts::kAccessCode) + ": " + accessCode_);
    }
    pagesLabel_->setText(uiText(pittexts::kPages).arg(pages_));
}

void PitWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) showTexts();
    QWidget::changeEvent(event);
}

}  // namespace korimet
