#include "files/ui/memo_panel.h"

#include <QTextEdit>

#include "common/ui/ui_fonts.h"
#include "files/ui/edit_commands.h"
#include "files/ui/file_command_texts.h"
#include "session/run_session.h"

namespace korimet {

MemoPanel::MemoPanel(RunSession& session, QWidget& host) : QObject(&host), session_(session) {
    memoBox = new QTextEdit(&host);  // owned by the host
    memoBox->setObjectName("RichTextBox1");
    memoBox->setFont(japaneseGothicFont(9));
    memoBox->setAcceptRichText(true);
    memoBox->setPlainText(QString::fromUtf8(texts::kMemoInitialText));
    session_.setMemo(memoBox->toPlainText());

    connect(memoBox, &QTextEdit::textChanged, this,
            [this] { session_.setMemo(memoBox->toPlainText()); });
    // Only a memo that differs from the box is put in, so the user's formatting and cursor
    // stay while typing.
    connect(&session_, &RunSession::memoChanged, this, [this](const QString& memo) {
        if (memoBox->toPlainText() != memo) memoBox->setPlainText(memo);
    });
}

void MemoPanel::cut() { cutSelection(*memoBox); }
void MemoPanel::copy() { copySelection(*memoBox); }
void MemoPanel::paste() { pasteClipboard(*memoBox); }

}  // namespace korimet
