#pragma once

#include <QObject>

class QTextEdit;
class QWidget;

namespace korimet {

class RunSession;

// The memo box and its Cut, Copy and Paste. The box and the session's memo follow each
// other: what the user types reaches the session, and a memo that comes with a run reaches
// the box.
class MemoPanel : public QObject {
    Q_OBJECT
  public:
    // Builds the box as a child of `host`; where it sits is the host's business.
    MemoPanel(RunSession& session, QWidget& host);

    QTextEdit& box() const { return *memoBox; }

    void cut();
    void copy();
    void paste();

  private:
    RunSession& session_;
    QTextEdit* memoBox = nullptr;  // RichTextBox1
};

}  // namespace korimet
