#pragma once

#include <QByteArray>

#include <map>
#include <string>

namespace kelvoro::test {

using ExifTags = std::map<std::string, std::string>;

// A real image written by Qt in the given format ("JPEG", "PNG"), with the Exif tags written
// into it by exiv2; returns its native path. Any name bytes work.
QByteArray makeImage(const QByteArray& directory, const QByteArray& name, const char* format,
                     const ExifTags& tags);

} // namespace kelvoro::test
