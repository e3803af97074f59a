#include "messages/ui/window_messages.h"

#include "common/ui/ui_text.h"
#include "messages/correction_messages.h"
#include "messages/file_messages.h"
#include "messages/tool_messages.h"

namespace korimet {

QString windowMessage(const FileError& error) {
    return QString::fromStdString(fileMessage(error, uiWording()));
}

QString windowMessage(const ToolRefusal& refusal) {
    return QString::fromStdString(toolRefusalMessage(refusal, uiWording()));
}

QString windowTitle(const ToolRefusal& refusal) {
    return QString::fromStdString(toolRefusalTitle(refusal, uiWording()));
}

QString windowMessage(const CorrectionFileError& error) {
    return QString::fromStdString(correctionFileMessage(error, uiWording()));
}

}  // namespace korimet
