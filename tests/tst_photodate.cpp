#include "platform/photodate.h"
#include "support/photofiles.h"
#include "support/testfiles.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <sys/stat.h>

using namespace kelvoro;

namespace {

using OptTime = std::optional<std::int64_t>;
using Tags = test::ExifTags;

constexpr auto at = test::secondsAt;

// A movie header as QuickTime and MP4 files carry it, created at the given second after
// 1904-01-01 UTC.
QByteArray movie(const QByteArray& brand, quint32 created) {
    auto be32 = [](quint32 v) {
        QByteArray b(4, '\0');
        for (int i = 0; i < 4; ++i)
            b[i] = char(v >> (24 - 8 * i));
        return b;
    };
    auto box = [&](const QByteArray& type, const QByteArray& payload) {
        return be32(quint32(8 + payload.size())) + type + payload;
    };
    QByteArray mvhd = be32(0) + be32(created) + be32(created) + be32(1000) + be32(5000) +
                      be32(0x00010000) + QByteArray("\x01\x00", 2) + QByteArray(10, '\0');
    for (quint32 m : {0x10000u, 0u, 0u, 0u, 0x10000u, 0u, 0u, 0u, 0x40000000u})
        mvhd += be32(m);
    mvhd += QByteArray(24, '\0') + be32(2);
    return box("ftyp", brand + be32(0) + brand) + box("moov", box("mvhd", mvhd));
}

constexpr quint32 kFrom1904 = 2082844800;

} // namespace

class TestPhotoDate : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { test::setTimeZone("Asia/Tokyo"); }

    void exifDates_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<Tags>("tags");
        QTest::addColumn<OptTime>("expected");
        const std::string when = "2024:01:02 03:04:05";
        const OptTime local = at("Asia/Tokyo", 2024, 1, 2, 3, 4, 5);
        QTest::newRow("original, local")
            << QByteArray("JPEG") << Tags{{"Exif.Photo.DateTimeOriginal", when}} << local;
        QTest::newRow("original with its offset")
            << QByteArray("JPEG")
            << Tags{{"Exif.Photo.DateTimeOriginal", when},
                    {"Exif.Photo.OffsetTimeOriginal", "+02:00"}}
            << OptTime(at("UTC", 2024, 1, 2, 1, 4, 5));
        QTest::newRow("original before digitized and image date")
            << QByteArray("JPEG")
            << Tags{{"Exif.Photo.DateTimeOriginal", when},
                    {"Exif.Photo.DateTimeDigitized", "2025:01:01 00:00:00"},
                    {"Exif.Image.DateTime", "2026:01:01 00:00:00"}}
            << local;
        QTest::newRow("digitized, when original is empty")
            << QByteArray("JPEG")
            << Tags{{"Exif.Photo.DateTimeOriginal", "0000:00:00 00:00:00"},
                    {"Exif.Photo.DateTimeDigitized", when},
                    {"Exif.Image.DateTime", "2026:01:01 00:00:00"}}
            << local;
        QTest::newRow("image date with its own offset")
            << QByteArray("JPEG")
            << Tags{{"Exif.Image.DateTime", when},
                    {"Exif.Photo.OffsetTime", "-05:00"},
                    {"Exif.Photo.OffsetTimeOriginal", "+09:00"}}
            << OptTime(at("UTC", 2024, 1, 2, 8, 4, 5));
        QTest::newRow("malformed offset reads as local")
            << QByteArray("JPEG")
            << Tags{{"Exif.Photo.DateTimeOriginal", when},
                    {"Exif.Photo.OffsetTimeOriginal", "9 hours"}}
            << local;
        QTest::newRow("Exif without a date")
            << QByteArray("JPEG") << Tags{{"Exif.Image.Make", "Kelvoro"}} << OptTime();
        QTest::newRow("JPEG without Exif") << QByteArray("JPEG") << Tags{} << OptTime();
        QTest::newRow("PNG without Exif") << QByteArray("PNG") << Tags{} << OptTime();
    }
    void exifDates() {
        QFETCH(QByteArray, format);
        QFETCH(Tags, tags);
        QFETCH(OptTime, expected);
        QTemporaryDir dir;
        const QByteArray path = test::makeImage(dir.path().toLocal8Bit(), "photo", format, tags);
        QCOMPARE(platform::readPhotoDate(path.toStdString()), expected);
    }

    void localExifDateFollowsTheZone() {
        test::setTimeZone("Europe/Berlin");
        QTemporaryDir dir;
        const QByteArray path =
            test::makeImage(dir.path().toLocal8Bit(), "summer.jpg", "JPEG",
                            {{"Exif.Photo.DateTimeOriginal", "2024:07:01 12:00:00"}});
        QCOMPARE(platform::readPhotoDate(path.toStdString()),
                 OptTime(at("Europe/Berlin", 2024, 7, 1, 12, 0, 0)));
    }

    void nameThatIsNotUtf8() {
        QTemporaryDir dir;
        const QByteArray path =
            test::makeImage(dir.path().toLocal8Bit(), "\x93\xfa\x95t.jpg", "JPEG",
                            {{"Exif.Photo.DateTimeOriginal", "2024:01:02 03:04:05"}});
        QCOMPARE(platform::readPhotoDate(path.toStdString()),
                 OptTime(at("Asia/Tokyo", 2024, 1, 2, 3, 4, 5)));
    }

    void filesWithoutADate_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text") << QByteArray("2024:01:02 03:04:05 is not a photo\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("JPEG cut short") << QByteArray("\xFF\xD8\xFF\xE1\x00\x40"
                                                      "Exif\0\0II*\0",
                                                      16);
        QTest::newRow("movie header unset") << movie("qt  ", 0);
    }
    void filesWithoutADate() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QByteArray path = test::makeFile(dir.path().toLocal8Bit(), "file", content);
        QCOMPARE(platform::readPhotoDate(path.toStdString()), OptTime());
    }

    void movieCreationTime_data() {
        QTest::addColumn<QByteArray>("brand");
        QTest::newRow("QuickTime") << QByteArray("qt  ");
        QTest::newRow("MP4") << QByteArray("mp42");
    }
    void movieCreationTime() {
        QFETCH(QByteArray, brand);
        QTemporaryDir dir;
        const std::int64_t when = at("UTC", 2024, 1, 2, 3, 4, 5);
        const QByteArray path = test::makeFile(dir.path().toLocal8Bit(), "clip",
                                               movie(brand, quint32(when + kFrom1904)));
        QCOMPARE(platform::readPhotoDate(path.toStdString()), OptTime(when));
    }

    void notARegularFile() {
        QTemporaryDir dir;
        const QByteArray fifo = dir.path().toLocal8Bit() + "/pipe.jpg";
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        // Opening it for reading would wait for a writer forever.
        QCOMPARE(platform::readPhotoDate(fifo.toStdString()), OptTime());
        QCOMPARE(platform::readPhotoDate(dir.path().toStdString()), OptTime());
        QCOMPARE(platform::readPhotoDate(fifo.toStdString() + ".missing"), OptTime());
    }
};

QTEST_MAIN(TestPhotoDate)
#include "tst_photodate.moc"
