#include "support/photofiles.h"

#include <QImage>
#include <QString>

#include <exiv2/exiv2.hpp>

#include <cstdio>

namespace kelvoro::test {

// Qt takes names as text, so the image is written under a plain name first and then given
// its bytes.
QByteArray makeImage(const QByteArray& directory, const QByteArray& name, const char* format,
                     const ExifTags& tags) {
    const QByteArray plain = directory + "/image.tmp";
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    if (!image.save(QString::fromLocal8Bit(plain), format))
        qFatal("cannot write the test image");
    if (!tags.empty()) {
        auto file = Exiv2::ImageFactory::open(plain.toStdString());
        file->readMetadata();
        Exiv2::ExifData exif = file->exifData();
        for (const auto& [key, value] : tags)
            exif[key] = value;
        file->setExifData(exif);
        file->writeMetadata();
    }
    const QByteArray path = directory + '/' + name;
    if (std::rename(plain.constData(), path.constData()) != 0)
        qFatal("cannot name the test image");
    return path;
}

} // namespace kelvoro::test
