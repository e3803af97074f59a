#pragma once

#include <QString>

class QWidget;

namespace korimet {

enum class MessageIcon { None, Critical };

// The modal questions the program asks, behind one interface so that tests can answer them.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Filters in the program's "Description (*.krt)|*.krt" form. Empty text on cancel.
    virtual QString askOpenPath(const QString& title, const QString& filter) = 0;
    // Never asks about overwriting: the caller decides what an existing file means.
    virtual QString askSavePath(const QString& title, const QString& filter) = 0;
    // One OK button; an empty title means the application's title.
    virtual void message(const QString& text, const QString& title, MessageIcon icon) = 0;
    // Empty text on cancel; an empty title means the application's title.
    virtual QString inputText(const QString& prompt, const QString& title,
                              const QString& defaultText) = 0;
    // A yes/no question, No by default; true only for Yes.
    virtual bool ask(const QString& question, const QString& title) = 0;
};

// "Korimet DATAﾌｧｲﾙ (*.krt)|*.krt|All (*.*)|*.*" -> "Korimet DATAﾌｧｲﾙ (*.krt);;All (*.*)".
QString qtFileFilter(const QString& programFilter);

// The real dialogs, modal over `parent`.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}
    QString askOpenPath(const QString& title, const QString& filter) override;
    QString askSavePath(const QString& title, const QString& filter) override;
    void message(const QString& text, const QString& title, MessageIcon icon) override;
    QString inputText(const QString& prompt, const QString& title,
                      const QString& defaultText) override;
    bool ask(const QString& question, const QString& title) override;

  private:
    QWidget* parent_;
};

}  // namespace korimet
