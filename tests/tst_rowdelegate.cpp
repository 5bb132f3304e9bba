#include "filelist/trazzleview.h"
#include "presentation/rowdelegate.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"

#include <QDir>
#include <QHeaderView>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

namespace {

const QRgb kSelected = qRgb(140, 223, 253);
const QRgb kRed = qRgb(250, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0);

QList<QRgb> pixelsIn(const QImage& image, const QRect& rect) {
    QList<QRgb> pixels;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            pixels.append(image.pixel(x, y));
    return pixels;
}

// Pixels of the rectangle that differ from the background.
QList<QRgb> inkIn(const QImage& image, const QRect& rect, QRgb background) {
    QList<QRgb> ink;
    for (QRgb p : pixelsIn(image, rect))
        if (p != background)
            ink.append(p);
    return ink;
}

// Columns of the rectangle holding ink, grouped into runs without a blank column between.
struct InkRun {
    int left;
    int right;
    int top;
    int bottom;
};
QList<InkRun> inkRuns(const QImage& image, const QRect& rect, QRgb background) {
    QList<InkRun> runs;
    bool inRun = false;
    for (int x = rect.left(); x <= rect.right(); ++x) {
        int top = -1;
        int bottom = -1;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            if (image.pixel(x, y) == background)
                continue;
            if (top < 0)
                top = y;
            bottom = y;
        }
        if (top < 0) {
            inRun = false;
            continue;
        }
        if (!inRun)
            runs.append({x, x, top, bottom});
        InkRun& run = runs.last();
        run.right = x;
        run.top = std::min(run.top, top);
        run.bottom = std::max(run.bottom, bottom);
        inRun = true;
    }
    return runs;
}

int inkHeight(const QImage& image, const QRect& rect, QRgb background) {
    int top = rect.bottom() + 1;
    int bottom = rect.top() - 1;
    for (const InkRun& run : inkRuns(image, rect, background)) {
        top = std::min(top, run.top);
        bottom = std::max(bottom, run.bottom);
    }
    return bottom - top + 1;
}

// The height of the text's ink drawn with room to spare on every side.
int naturalInkHeight(const QString& text, const QFont& font) {
    QImage image(400, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(10, 50), text);
    }
    return inkHeight(image, image.rect(), qRgb(255, 255, 255));
}

QImage topRows(const QString& file, int side) {
    QImage picture(file);
    return picture.copy(0, 0, side, side).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestRowDelegate : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;
    std::unique_ptr<test::TestServices> m_services;
    std::unique_ptr<CTrazzleView> m_view;

    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }
    FileListModel& rows() { return m_view->rows(); }
    QRect cell(int row, int column) const {
        return m_view->visualRect(m_view->model()->index(row, column));
    }
    QImage shot() const {
        return m_view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QRgb base() const { return m_view->palette().color(QPalette::Base).rgb(); }

    void addFiles(const QList<QByteArray>& names) {
        for (const QByteArray& name : names)
            m_view->AddFile(test::makeFile(dir(), name));
    }

    void showView() {
        m_view->resize(900, 200);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

private Q_SLOTS:
    void init() {
        m_services = std::make_unique<test::TestServices>();
        m_view =
            std::make_unique<CTrazzleView>(m_services->prompt, m_services->services.fileSystem);
    }

    void cleanup() {
        m_view.reset();
        m_services.reset();
        QFile::remove(u"quib.ini"_s);
    }

    void selectedRowsAreFilledInEveryCellAndKeepTheirTextColour() {
        addFiles({"a.txt", "b.txt", "c.txt"});
        showView();
        m_view->selectRow(1);
        const QImage image = shot();
        for (int c = 0; c < ColumnCount; ++c) {
            for (int r = 0; r < 3; ++r) {
                const QRect rect = cell(r, c);
                const QRgb fill = r == 1 ? kSelected : base();
                QCOMPARE(image.pixel(rect.topLeft()), fill);
                QCOMPARE(image.pixel(rect.bottomRight()), fill);
                QCOMPARE(image.pixel(rect.bottomLeft()), fill);
            }
        }
        // Selection does not turn the text white.
        QVERIFY(pixelsIn(image, cell(1, ColName)).contains(kBlack));
    }

    // The same name as a file and as a folder: only the folder's ends in "/".
    void folderNamesEndInTheSeparator() {
        QVERIFY(QDir().mkdir(m_dir.filePath(u"files"_s)));
        QVERIFY(QDir().mkdir(m_dir.filePath(u"same"_s)));
        m_view->AddFile(test::makeFile(dir() + "/files", "same"));
        m_view->AddFile(dir() + "/same");
        showView();
        QVERIFY(rows().row(1).folder && !rows().row(0).folder);
        const QImage image = shot();
        const QList<InkRun> file = inkRuns(image, cell(0, ColName), base());
        const QList<InkRun> folder = inkRuns(image, cell(1, ColName), base());
        QVERIFY(!file.isEmpty() && !folder.isEmpty());
        QCOMPARE(folder.first().left, file.first().left);
        // The separator's ink goes on past the end of the name.
        QVERIFY(folder.last().right >= file.last().right + 3);
    }

    void stagedRowsAreRedInTheTextColumnsOthersBlack() {
        addFiles({"plain.txt", "staged.txt", "selected.txt"});
        rows().stageEdit(1, 1'700'000'000, std::nullopt, std::nullopt, RowFlags{});
        rows().stageEdit(2, std::nullopt, std::nullopt, std::nullopt, RowFlags{});
        showView();
        m_view->selectRow(2);
        const QImage image = shot();
        for (int c = ColDirectory; c <= ColAccessed; ++c) {
            const QList<QRgb> plain = inkIn(image, cell(0, c), base());
            QVERIFY(plain.contains(kBlack));
            for (QRgb p : plain)
                QVERIFY2(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p), "black text only");

            const QList<QRgb> staged = inkIn(image, cell(1, c), base());
            QVERIFY(staged.contains(kRed));
            for (QRgb p : staged)
                QVERIFY2(qRed(p) >= 250 && qGreen(p) == qBlue(p), "red text only");

            // Still red when selected.
            QVERIFY(inkIn(image, cell(2, c), kSelected).contains(kRed));
        }
    }

    void flagColumnsShowTheTopOfTheCheckBoxPicture() {
        addFiles({"disk.txt", "edited.txt"});
        // A new file: writable, not hidden, not archived, may be indexed.
        rows().stageEdit(1, std::nullopt, std::nullopt, std::nullopt,
                         RowFlags{true, true, false, false});
        showView();
        m_view->selectRow(1);
        const QImage image = shot();
        const QImage checked = topRows(u":/art/checkbox-checked.png"_s, 12);
        const QImage unchecked = topRows(u":/art/checkbox-unchecked.png"_s, 12);
        QVERIFY(checked != unchecked);
        const bool expected[2][4] = {{false, false, false, true}, {true, true, false, false}};
        for (int r = 0; r < 2; ++r) {
            for (int c = ColReadOnly; c <= ColIndex; ++c) {
                const QRect rect = cell(r, c);
                const QImage box = image.copy(rect.left() + 4, rect.top() + 1, 12, 12);
                QCOMPARE(box, expected[r][c - ColReadOnly] ? checked : unchecked);
                // The picture's 13th row and the cell's remaining rows show the fill.
                const QRgb fill = r == 1 ? kSelected : base();
                for (int x = rect.left(); x <= rect.right(); ++x)
                    QCOMPARE(image.pixel(x, rect.top() + 13), fill);
                QCOMPARE(image.pixel(rect.left() + 3, rect.top() + 5), fill);
                QCOMPARE(image.pixel(rect.left() + 16, rect.top() + 5), fill);
            }
        }
    }

    void checkBoxesUseTheDoubleSizePictureOnHighDensityScreens() {
        addFiles({"a.txt"});
        QStyleOptionViewItem option;
        option.initFrom(m_view.get());
        option.rect = QRect(0, 0, 40, RowDelegate::kRowHeight);
        QImage image(80, 30, QImage::Format_RGB32);
        image.setDevicePixelRatio(2);
        image.fill(Qt::black);
        {
            QPainter painter(&image);
            m_view->itemDelegate()->paint(&painter, option, rows().index(0, ColIndex));
        }
        QCOMPARE(image.copy(8, 2, 24, 24).convertToFormat(QImage::Format_RGB32),
                 topRows(u":/art/checkbox-checked@2x.png"_s, 24));
    }

    void rowsAreFifteenPixelsHighWhateverTheFont() {
        addFiles({"a.txt", "b.txt", "c.txt"});
        QFont big = m_view->font();
        big.setPixelSize(22);
        m_view->setFont(big);
        showView();
        m_view->selectRow(1);
        const QImage image = shot();
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(m_view->rowHeight(r), 15);
            QCOMPARE(cell(r, ColCreated).height(), 15);
        }
        const int x = cell(1, ColIndex).right();
        QCOMPARE(image.pixel(x, 14), base());
        QCOMPARE(image.pixel(x, 15), kSelected);
        QCOMPARE(image.pixel(x, 29), kSelected);
        QCOMPARE(image.pixel(x, 30), base());
    }

    void textWiderThanItsCellEndsInAnEllipsis() {
        addFiles({"長いファイル名のサンプル画像データ一覧表.jpg", "short.jpg"});
        showView();
        m_view->horizontalHeader()->resizeSection(ColDirectory, 70);
        m_view->horizontalHeader()->resizeSection(ColName, 90);
        const QImage image = shot();
        // The last glyph's worth of ink: three dots on one line, inside the cell.
        auto tail = [&](int row, int column) {
            const QRect rect = cell(row, column);
            const int last = inkRuns(image, rect, base()).last().right;
            return inkRuns(image, QRect(last - 10, rect.top(), 11, rect.height()), base());
        };
        for (int c : {ColDirectory, ColName}) {
            const QList<InkRun> dots = tail(0, c);
            QCOMPARE(dots.size(), 3);
            for (const InkRun& dot : dots) {
                QVERIFY2(dot.bottom - dot.top <= 2, "a dot, not a letter");
                QCOMPARE(dot.top, dots.first().top);
            }
            QVERIFY(dots.last().right < cell(0, c).right());
        }
        // A name that fits ends in its own letters.
        const QList<InkRun> letters = tail(1, ColName);
        QVERIFY(std::any_of(letters.begin(), letters.end(),
                            [](const InkRun& run) { return run.bottom - run.top > 2; }));
    }

    void textLinesAreWholeInTheirRow() {
        const QList<QByteArray> names{"写真_北海道.jpg", "写真 北海道.jpg", "北海道写真",
                                      "Typography gjpq_y.txt"};
        addFiles(names);
        showView();
        const QImage image = shot();
        QVERIFY2(image.copy(cell(0, ColName)) != image.copy(cell(1, ColName)),
                 "the underscore shows");
        // Japanese text falls back to a font whose line is taller than the row: its glyphs
        // must still show from top to bottom.
        for (int r = 0; r < names.size(); ++r) {
            const QString text = QString::fromUtf8(names[r]);
            QCOMPARE(inkHeight(image, cell(r, ColName), base()),
                     naturalInkHeight(text, m_view->font()));
        }
    }

    void theFocusedRowLooksLikeAnyUnselectedRow() {
        addFiles({"a.txt", "b.txt", "c.txt"});
        showView();
        m_view->setFocus();
        const QModelIndex first = rows().index(0, ColName);
        m_view->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        QVERIFY(!m_view->selectionModel()->isSelected(first));
        const QRect row = cell(0, ColDirectory).united(cell(0, ColIndex));
        const QImage focused = shot().copy(row);
        m_view->selectionModel()->setCurrentIndex(rows().index(2, ColName),
                                                  QItemSelectionModel::NoUpdate);
        QCOMPARE(shot().copy(row), focused);
    }

    // Rows differ only in their names here, so equal flag cells mean equal frames.
    void theKeyboardFramesTheCurrentRowUntilTheNextClick() {
        addFiles({"a.txt", "b.txt", "c.txt"});
        showView();
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        m_view->setFocus();
        m_view->selectionModel()->setCurrentIndex(rows().index(0, ColName),
                                                  QItemSelectionModel::NoUpdate);
        const auto flags = [this](int row) {
            return shot().copy(cell(row, ColReadOnly).united(cell(row, ColIndex)));
        };
        QCOMPARE(flags(0), flags(1));

        QTest::keyClick(m_view.get(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(m_view->currentIndex().row(), 1);
        QVERIFY(!m_view->selectionModel()->isRowSelected(1));
        QVERIFY(flags(1) != flags(0));
        QCOMPARE(flags(0), flags(2));

        m_view->clearFocus();
        QCOMPARE(flags(1), flags(0));
        m_view->setFocus();
        QVERIFY(flags(1) != flags(0));

        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, cell(2, ColName).center());
        QCOMPARE(m_view->currentIndex().row(), 2);
        m_view->selectionModel()->select(rows().index(0, ColName),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(flags(2), flags(0));
        QCOMPARE(flags(1).pixel(0, 0), base());
    }
};

QTEST_MAIN(TestRowDelegate)
#include "tst_rowdelegate.moc"
