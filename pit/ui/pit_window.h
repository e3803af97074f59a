#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;

namespace korimet {

// The pit view's own small window: where phones find the page (by IP and port, as text and
// as a QR code), the access code, and that they join the laptop's Wi-Fi first. It only shows
// what it is given.
class PitWindow : public QWidget {
    Q_OBJECT
  public:
    explicit PitWindow(QWidget* parent);

    // The page's addresses, the first one also as the QR code, each carrying the code.
    void showAddresses(const QStringList& urls, const QString& accessCode);
    void showPages(int count);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void showTexts();

    QStringList urls_;
    QString accessCode_;
    int pages_ = 0;
    bool addressesShown_ = false;
    QLabel* qrLabel_;
    QLabel* addressLabel_;
    QLabel* codeLabel_;
    QLabel* pagesLabel_;
};

}  // namespace korimet
