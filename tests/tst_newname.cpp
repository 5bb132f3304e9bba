#include "rename/newname.h"

#include <QTest>

#include <limits>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(kelvoro::RenameOptions)

namespace {

// Options read as the user would set them, one setter per control.
struct Options {
    RenameOptions o;
    Options& extension(const QByteArray& text) {
        o.mode |= renamemode::Extension;
        o.extension = text;
        return *this;
    }
    Options& replace(const QByteArray& find, const QByteArray& with) {
        o.mode |= renamemode::Replace;
        o.find = find;
        o.replacement = with;
        return *this;
    }
    Options& front(const QByteArray& text) {
        o.mode |= renamemode::Front;
        o.front = text;
        return *this;
    }
    Options& end(const QByteArray& text) {
        o.mode |= renamemode::End;
        o.end = text;
        return *this;
    }
    Options& pattern() {
        o.regularExpression = true;
        return *this;
    }
    Options& anyCase() {
        o.ignoreCase = true;
        return *this;
    }
    Options& number(NumberPosition at, int digits, const QByteArray& separator = {},
                    qint64 start = 1, qint64 step = 1, const QByteArray& base = {}) {
        o.numbering = {true, start, step, digits, at, separator, base};
        return *this;
    }
    Options& letters(LetterCase c) {
        o.letterCase = c;
        return *this;
    }
    operator RenameOptions() const { return o; }
};

} // namespace

class TestNewName : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void steps_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<RenameOptions>("options");
        QTest::addColumn<int>("position");
        QTest::addColumn<QByteArray>("expected"); // null: no step applies

        using P = NumberPosition;
        using C = LetterCase;
        const QByteArray sjis = "\x95\x5c\x83\x41.TXT"_ba; // 表ア in Shift_JIS; ア ends in 'A'
        auto row = [](const char* tag, const QByteArray& name, const RenameOptions& options,
                      int position, const QByteArray& expected) {
            QTest::newRow(tag) << name << options << position << expected;
        };

        row("nothing chosen", "a.jpg", Options(), 0, {});
        // Numbering: the position in the list, start, step, padding, where it goes.
        row("number after the name", "IMG_7.jpg", Options().number(P::AfterName, 3, "_"), 0,
            "IMG_7_001.jpg");
        row("number of the 300th row", "IMG_7.jpg", Options().number(P::AfterName, 3, "_"), 299,
            "IMG_7_300.jpg");
        row("number wider than its digits", "a.jpg", Options().number(P::AfterName, 2, "-"), 123,
            "a-124.jpg");
        row("number before the name", "a.jpg", Options().number(P::BeforeName, 4, " "), 2,
            "0003 a.jpg");
        row("start and step", "a.jpg", Options().number(P::AfterName, 1, "", 10, 5), 3, "a25.jpg");
        row("numbers past the ends of their range do not wrap", "a.jpg",
            Options().number(P::AfterName, 1, "_", std::numeric_limits<qint64>::max(), 1), 1,
            "a_9223372036854775808.jpg");
        row("lowest start", "a.jpg",
            Options().number(P::AfterName, 1, "_", std::numeric_limits<qint64>::min(), -1), 0,
            "a_-9223372036854775808.jpg");
        row("number instead of the name", "IMG_0042.JPG",
            Options().number(P::InsteadOfName, 3, "_", 1, 1, "trip"), 41, "trip_042.JPG");
        row("number instead, no base", "IMG.jpg", Options().number(P::InsteadOfName, 2, "_"), 0,
            "01.jpg");
        row("number, name without extension", "README", Options().number(P::AfterName, 2, "_"), 0,
            "README_01");
        row("number instead, name without extension", "README",
            Options().number(P::InsteadOfName, 2, "", 1, 1, "doc"), 0, "doc01");
        row("number of a dot file", ".profile", Options().number(P::AfterName, 1, "_"), 0,
            "_1.profile");
        // Letter case: Unicode for UTF-8, bytes kept otherwise.
        row("lower", "ÄBC.JPG", Options().letters(C::Lower), 0, "äbc.jpg");
        row("upper", "straße.txt", Options().letters(C::Upper), 0, "STRASSE.TXT");
        row("extension lower", "Photo.JPG", Options().letters(C::ExtensionLower), 0, "Photo.jpg");
        row("extension lower, no extension", "README", Options().letters(C::ExtensionLower), 0,
            "README");
        row("lower leaves Shift_JIS alone", sjis, Options().letters(C::Lower), 0, sjis);
        row("extension lower leaves Shift_JIS alone", sjis, Options().letters(C::ExtensionLower), 0,
            sjis);
        // Patterns and case-insensitive finding.
        row("pattern with \\1", "IMG_1234.jpg",
            Options().replace("IMG_(\\d+)", "photo-\\1").pattern(), 0, "photo-1234.jpg");
        row("pattern with $1 and $2", "2024-05-06.txt",
            Options().replace("(\\d+)-(\\d+)-(\\d+)", "$3.$2.$1").pattern(), 0, "06.05.2024.txt");
        row("pattern, escaped $ and \\", "a.txt", Options().replace("a", "$$\\\\").pattern(), 0,
            "$\\.txt");
        row("pattern matches every occurrence", "banana", Options().replace("an", "AN").pattern(),
            0, "bANANa");
        row("pattern, empty matches", "ab", Options().replace("x*", "-").pattern(), 0, "-a-b-");
        row("pattern over the whole name", "IMG_1.jpg", Options().replace(".*", "x").pattern(), 0,
            "xx");
        row("pattern, case-insensitive", "Img_1.JPG",
            Options().replace("img_", "").pattern().anyCase(), 0, "1.JPG");
        row("pattern, non-ASCII letters ignore case", "ÄRGER.txt",
            Options().replace("ä", "ae").pattern().anyCase(), 0, "aeRGER.txt");
        row("plain, case-insensitive", "Copy of COPY.txt", Options().replace("copy", "c").anyCase(),
            0, "c of c.txt");
        row("plain, case-insensitive, pattern characters are text", "a.b.txt",
            Options().replace(".", "_").anyCase(), 0, "a_b_txt");
        row("plain keeps $1 as text", "a.txt", Options().replace("a", "$1").anyCase(), 0, "$1.txt");
        row("pattern on a Shift_JIS name", sjis, Options().replace("\\.TXT$", ".txt").pattern(), 0,
            "\x95\x5c\x83\x41.txt"_ba);
        row("pattern: one byte of Shift_JIS is one character", sjis,
            Options().replace("^..", "").pattern(), 0, "\x83\x41.TXT"_ba);
        row("invalid pattern leaves the name", "a.txt", Options().replace("(", "x").pattern(), 0,
            "a.txt");
        // Steps in their order: extension, replace or insert, number, case.
        row("all steps", "IMG_5.JPEG",
            Options()
                .extension("JPG")
                .replace("IMG_", "Trip ")
                .number(P::AfterName, 3, "-")
                .letters(C::Lower),
            4, "trip 5-005.jpg");
        row("insert, then number before it", "a.txt",
            Options().front("x_").number(P::BeforeName, 2, "_"), 0, "01_x_a.txt");
        row("insert at the end, then number after it", "a.txt",
            Options().end("_x").number(P::AfterName, 2, "_"), 0, "a_x_01.txt");
        row("extension, then case of the extension", "a.txt",
            Options().extension("LOG").letters(C::ExtensionLower), 0, "a.log");
        row("replace sees the number not yet", "a.txt",
            Options().replace("1", "one").number(P::AfterName, 1), 0, "a1.txt");
        row("case after the pattern", "abc.txt",
            Options().replace("b", "B").pattern().letters(C::Lower), 0, "abc.txt");
        row("number makes an emptied name usable", "memo",
            Options().replace("memo", "").number(P::AfterName, 2), 0, "01");
    }
    void steps() {
        QFETCH(QByteArray, name);
        QFETCH(RenameOptions, options);
        QFETCH(int, position);
        QFETCH(QByteArray, expected);
        const std::optional<QByteArray> result = computeNewName(name, options, position);
        if (expected.isNull())
            QCOMPARE(result, std::nullopt);
        else
            QCOMPARE(result, std::optional<QByteArray>(expected));
    }

    void patternErrors_data() {
        QTest::addColumn<QByteArray>("find");
        QTest::addColumn<bool>("pattern");
        QTest::addColumn<bool>("error");
        QTest::newRow("valid") << "(a+)b"_ba << true << false;
        QTest::newRow("open group") << "(a"_ba << true << true;
        QTest::newRow("bad repeat") << "*a"_ba << true << true;
        QTest::newRow("plain text is no pattern") << "(a"_ba << false << false;
    }
    void patternErrors() {
        QFETCH(QByteArray, find);
        QFETCH(bool, pattern);
        QFETCH(bool, error);
        RenameOptions options = Options().replace(find, "x");
        options.regularExpression = pattern;
        QCOMPARE(!patternError(options).isEmpty(), error);
        // Whatever was compiled before, an error is for this pattern.
        options.find = "ok";
        QVERIFY(patternError(options).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestNewName)
#include "tst_newname.moc"
