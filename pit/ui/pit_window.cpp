#include "pit/ui/pit_window.h"

#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

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
    setWindowTitle(QString::fromUtf8(pittexts::kWindowTitle));
    qrLabel_->setObjectName(QStringLiteral("pitQrCode"));
    addressLabel_->setObjectName(QStringLiteral("pitAddress"));
    codeLabel_->setObjectName(QStringLiteral("pitAccessCode"));
    pagesLabel_->setObjectName(QStringLiteral("pitPages"));
    auto* wifi = new QLabel(QString::fromUtf8(pittexts::kJoinWifiFirst), this);
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
    addressLabel_->setText(QString::fromUtf8(pittexts::kAddress) + "\n" + urls.join('\n'));
    codeLabel_->setText(QString::fromUtf8(pittexts::kAccessCode) + ": " + accessCode);
}

void PitWindow::showPages(int count) {
    pagesLabel_->setText(QString::fromUtf8(pittexts::kPages).arg(count));
}

}  // namespace korimet
