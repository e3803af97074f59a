#pragma once

#include <QString>
#include <deque>
#include <vector>

#include "session/dialogs.h"

namespace korimet::test {

// Records every question and answers from a script; an empty script answers as Cancel.
class FakeDialogs : public Dialogs {
  public:
    enum class Kind { OpenPath, SavePath, Message, Input, Question };
    struct Call {
        Kind kind;
        QString text;  // message text or input prompt
        QString title;
        QString filter;
        MessageIcon icon = MessageIcon::None;
        QString defaultText;
    };

    std::vector<Call> calls;
    std::deque<QString> answers;
    // Answers to yes/no questions, in order; none left answers No.
    std::deque<bool> yesNoAnswers;

    QString askOpenPath(const QString& title, const QString& filter) override {
        calls.push_back({Kind::OpenPath, {}, title, filter, MessageIcon::None, {}});
        return next();
    }
    QString askSavePath(const QString& title, const QString& filter) override {
        calls.push_back({Kind::SavePath, {}, title, filter, MessageIcon::None, {}});
        return next();
    }
    // The suggestion is recorded as the call's default text.
    QString askSavePathFrom(const QString& title, const QString& filter,
                            const QString& suggested) override {
        calls.push_back({Kind::SavePath, {}, title, filter, MessageIcon::None, suggested});
        return next();
    }
    void message(const QString& text, const QString& title, MessageIcon icon) override {
        calls.push_back({Kind::Message, text, title, {}, icon, {}});
    }
    QString inputText(const QString& prompt, const QString& title,
                      const QString& defaultText) override {
        calls.push_back({Kind::Input, prompt, title, {}, MessageIcon::None, defaultText});
        return next();
    }
    // Notices do not wait for an answer: kept apart from the calls that do.
    struct Notice {
        QString text;
        QString title;
        QString name;
    };
    std::vector<Notice> notices;
    void notice(const QString& text, const QString& title, const QString& name) override {
        notices.push_back({text, title, name});
    }
    bool ask(const QString& question, const QString& title) override {
        calls.push_back({Kind::Question, question, title, {}, MessageIcon::None, {}});
        if (yesNoAnswers.empty()) return false;
        const bool yes = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return yes;
    }

  private:
    QString next() {
        if (answers.empty()) return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace korimet::test
