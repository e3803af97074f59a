#include <QFile>
#include <QSaveFile>
#include <QString>

#include "files/data_file.h"
#include "files/file_texts.h"

namespace korimet {

namespace {

QString qPath(const std::string& path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

std::string withReason(const char* what, const QString& systemReason) {
    std::string text = what;
    if (!systemReason.isEmpty()) text += "（" + systemReason.toStdString() + "）";
    return text;
}

// The whole file, or a message naming it.
std::optional<std::string> readWholeFile(const std::string& path, std::string& error) {
    QFile file(qPath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        error = std::string(filetexts::kReadFailed) + path + "\n" +
                withReason(filetexts::kCannotOpen, file.errorString());
        return std::nullopt;
    }
    // Read one byte past the limit so a device or an endless file cannot hold us.
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxDataFileBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        error = std::string(filetexts::kReadFailed) + path + "\n" +
                withReason(filetexts::kCannotOpen, file.errorString());
        return std::nullopt;
    }
    if (static_cast<std::size_t>(bytes.size()) > kMaxDataFileBytes) {
        error = std::string(filetexts::kReadFailed) + path + "\n" + filetexts::kTooLarge;
        return std::nullopt;
    }
    return bytes.toStdString();
}

}  // namespace

DataFileReadResult loadDataFile(const std::string& path) {
    DataFileReadResult result;
    const auto bytes = readWholeFile(path, result.error);
    if (!bytes) return result;
    return readDataFileBytes(*bytes, path);
}

DataFileReadResult loadTemplateFile(const std::string& path, const LapData& base) {
    DataFileReadResult result;
    const auto bytes = readWholeFile(path, result.error);
    if (!bytes) return result;
    return readTemplate(*bytes, path, base);
}

SaveResult saveDataFile(const std::string& path, const LapData& data, std::string_view memo) {
    SaveResult result;
    const std::string head = std::string(filetexts::kSaveFailed) + path + "\n";
    const DataFileWriteResult bytes = writeDataFileBytes(data, memo);
    if (!bytes) {
        result.error = head + bytes.error;
        return result;
    }

    // Written beside the target and renamed over it on commit: a failure on the way
    // leaves the previous file as it was.
    QSaveFile file(qPath(path));
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = head + withReason(filetexts::kCannotCreate, file.errorString());
        return result;
    }
    const qint64 size = static_cast<qint64>(bytes.bytes->size());
    if (file.write(bytes.bytes->data(), size) != size) {
        result.error = head + withReason(filetexts::kCannotWrite, file.errorString());
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.error = head + withReason(filetexts::kCannotWrite, file.errorString());
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace korimet
