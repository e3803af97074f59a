#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <utility>

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
    // The same, starting from a suggested name or path; without a way to suggest, asks plainly.
    virtual QString askSavePathFrom(const QString& title, const QString& filter,
                                    const QString& suggested) {
        (void)suggested;
        return askSavePath(title, filter);
    }
    // One OK button; an empty title means the application's title.
    virtual void message(const QString& text, const QString& title, MessageIcon icon) = 0;
    // Empty text on cancel; an empty title means the application's title.
    virtual QString inputText(const QString& prompt, const QString& title,
                              const QString& defaultText) = 0;
    // A yes/no question, No by default; true only for Yes.
    virtual bool ask(const QString& question, const QString& title) = 0;
    // A warning that does not wait: the window goes on (a download arrives) while it is shown.
    // `name` names the box, so that one kind of notice can be told from another.
    virtual void notice(const QString& text, const QString& title, const QString& name) = 0;
};

// "Korimet DATAﾌｧｲﾙ (*.krt)|*.krt|All (*.*)|*.*" -> "Korimet DATAﾌｧｲﾙ (*.krt);;All (*.*)".
QString qtFileFilter(const QString& programFilter);

// Where a file dialog starts: the folder of the file the window shows, else the user's
// documents folder, else the home folder; never the working directory, which for a program
// started from the desktop is nothing the user chose.
QString dialogStartFolder(const QString& currentFile);

// The real dialogs, modal over `parent`. `currentFile` tells the file dialogs which file
// the window shows now.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent, std::function<QString()> currentFile = {})
        : parent_(parent), currentFile_(std::move(currentFile)) {}
    QString startFolder() const;
    QString askOpenPath(const QString& title, const QString& filter) override;
    QString askSavePath(const QString& title, const QString& filter) override;
    QString askSavePathFrom(const QString& title, const QString& filter,
                            const QString& suggested) override;
    void message(const QString& text, const QString& title, MessageIcon icon) override;
    QString inputText(const QString& prompt, const QString& title,
                      const QString& defaultText) override;
    bool ask(const QString& question, const QString& title) override;
    void notice(const QString& text, const QString& title, const QString& name) override;

  private:
    QWidget* parent_;
    std::function<QString()> currentFile_;
};

// The dialogs a window and its parts ask through: one object for the window's life, so the
// parts may keep a reference, while what answers can be replaced (tests answer with a
// script).
class WindowDialogs : public Dialogs {
  public:
    explicit WindowDialogs(std::unique_ptr<Dialogs> answering) : answering_(std::move(answering)) {}
    void replace(std::unique_ptr<Dialogs> answering) {
        if (answering) answering_ = std::move(answering);
    }
    Dialogs& answering() const { return *answering_; }

    QString askOpenPath(const QString& title, const QString& filter) override {
        return answering_->askOpenPath(title, filter);
    }
    QString askSavePath(const QString& title, const QString& filter) override {
        return answering_->askSavePath(title, filter);
    }
    QString askSavePathFrom(const QString& title, const QString& filter,
                            const QString& suggested) override {
        return answering_->askSavePathFrom(title, filter, suggested);
    }
    void message(const QString& text, const QString& title, MessageIcon icon) override {
        answering_->message(text, title, icon);
    }
    QString inputText(const QString& prompt, const QString& title,
                      const QString& defaultText) override {
        return answering_->inputText(prompt, title, defaultText);
    }
    bool ask(const QString& question, const QString& title) override {
        return answering_->ask(question, title);
    }
    void notice(const QString& text, const QString& title, const QString& name) override {
        answering_->notice(text, title, name);
    }

  private:
    std::unique_ptr<Dialogs> answering_;
};

}  // namespace korimet
