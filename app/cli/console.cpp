#include "app/cli/console.h"

#include "common/fileerrortext.h"

namespace kelvoro::cli {

namespace {

constexpr char kProgram[] = "kelvoro-cli: ";

} // namespace

void Console::print(const QByteArray& bytes) const {
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out);
}

void Console::error(const QString& message) const {
    const QByteArray line = kProgram + message.toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), err);
}

void Console::fileError(const QString& textWithPath, const QByteArray& path) const {
    // A private-use character stands in for the path while the text is translated and
    // encoded, then the path's own bytes take its place.
    const QString marker(QChar(0xE000));
    QByteArray line = kProgram + textWithPath.arg(marker).toLocal8Bit() + '\n';
    line.replace(marker.toLocal8Bit(), path);
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), err);
}

void Console::fileError(platform::FileErrorCause cause, const QByteArray& path) const {
    fileError(fileErrorText(cause, QStringLiteral("%1")), path);
}

QByteArray Console::readAllInput() const {
    QByteArray all;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        all.append(buffer, static_cast<qsizetype>(n));
    return all;
}

} // namespace kelvoro::cli
