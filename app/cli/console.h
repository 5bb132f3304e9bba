#pragma once

#include "platform/filestatus.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace kelvoro::cli {

// The three standard streams of one run.
struct Console {
    std::FILE* in;
    std::FILE* out;
    std::FILE* err;

    void print(const QByteArray& bytes) const;
    // "kelvoro-cli: " and the message on standard error.
    void error(const QString& message) const;
    // A message whose "%1" is the path, kept byte for byte even where it is not valid UTF-8.
    void fileError(const QString& textWithPath, const QByteArray& path) const;
    void fileError(platform::FileErrorCause cause, const QByteArray& path) const;
    QByteArray readAllInput() const;
};

} // namespace kelvoro::cli
