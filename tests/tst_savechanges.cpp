#include "filelist/filelistmodel.h"
#include "platform/filesystem.h"
#include "properties/savechanges.h"

#include <QTest>

#include <cerrno>
#include <map>
#include <tuple>

using namespace kelvoro;
using namespace kelvoro::platform;

namespace {

using Time = std::optional<std::int64_t>;

// Lists any path it is asked about and records every write; one path can be made to fail.
class RecordingFileSystem : public FileSystem {
public:
    struct Write {
        std::string path;
        FileStatus desired;
    };

    FileStatus readStatus(const std::string&) const override {
        FileStatus s;
        s.ok = true;
        s.created = 100;
        s.modified = 200;
        s.accessed = 300;
        s.attributes = attr::Archive;
        return s;
    }
    FileStatus writeStatus(const std::string& path, const FileStatus& desired) override {
        if (path == failing)
            throw FileError(FileErrorCause::SharingViolation, EBUSY, path);
        writes.push_back({path, desired});
        return readStatus(path);
    }
    bool moveNoReplace(const std::string&, const std::string&,
                       const std::optional<platform::FileIdentity>&) override {
        return false;
    }
    bool isReadableRegularFile(const std::string&) const override { return true; }
    int openForReadingError(const std::string&) const override { return 0; }
    bool isDirectory(const std::string&) const override { return false; }

    std::vector<Write> writes;
    std::string failing;

    std::vector<std::string> paths() const {
        std::vector<std::string> p;
        for (const Write& w : writes)
            p.push_back(w.path);
        return p;
    }
};

using Paths = std::vector<std::string>;

const RowFlags kHiddenOnly{false, true, false, true};

} // namespace

class TestSaveChanges : public QObject {
    Q_OBJECT

    RecordingFileSystem m_fs;
    FileListModel m_model;

    void fill(int n) {
        for (int i = 0; i < n; ++i)
            QVERIFY(m_model.addFile("/d/f" + QByteArray::number(i), m_fs));
    }

private Q_SLOTS:
    void init() {
        m_fs.writes.clear();
        m_fs.failing.clear();
        m_model.clear();
        fill(5);
    }

    void writesStagedRowsInRowOrderWithTheirEditedTimes() {
        m_model.stageEdit(3, std::nullopt, 5000, std::nullopt, kHiddenOnly);
        m_model.stageEdit(1, 4000, 4001, 4002, RowFlags{true, false, true, false});
        m_model.stageEdit(3, std::nullopt, std::nullopt, std::nullopt, kHiddenOnly); // again

        const SaveResult r = saveStagedRows(m_model, m_fs);
        QCOMPARE(r.outcome, SaveResult::Outcome::Saved);
        QCOMPARE(m_fs.paths(), (Paths{"/d/f1", "/d/f3"}));

        const FileStatus& first = m_fs.writes[0].desired;
        QCOMPARE(first.created, Time(4000));
        QCOMPARE(first.modified, Time(4001));
        QCOMPARE(first.accessed, Time(4002));
        QCOMPARE(first.attributes & attr::Managed,
                 attr::ReadOnly | attr::Archive | attr::NotContentIndexed);

        // Times the row only shows from the listing are not handed on.
        const FileStatus& second = m_fs.writes[1].desired;
        QCOMPARE(second.created, Time());
        QCOMPARE(second.modified, Time(5000));
        QCOMPARE(second.accessed, Time());
        QCOMPARE(second.attributes & attr::Managed, attr::Hidden);

        QCOMPARE(m_model.stagedCount(), 0);
        for (int i = 0; i < m_model.rowCount(); ++i)
            QVERIFY(!m_model.row(i).staged);
        m_fs.writes.clear();
        m_model.stageEdit(3, std::nullopt, std::nullopt, std::nullopt, kHiddenOnly);
        QCOMPARE(saveStagedRows(m_model, m_fs).outcome, SaveResult::Outcome::Saved);
        QCOMPARE(m_fs.writes.size(), std::size_t(1));
        QCOMPARE(m_fs.writes[0].desired.modified, Time()); // the last save's edit is done
    }

    void stopsAtAFailureOrWhenProgressSaysSo() {
        for (int r : {0, 2, 3})
            m_model.stageEdit(r, std::nullopt, 7000, std::nullopt, kHiddenOnly);
        m_fs.failing = "/d/f2";
        SaveResult r = saveStagedRows(m_model, m_fs);
        QCOMPARE(r.outcome, SaveResult::Outcome::Failed);
        QCOMPARE(r.row, 2);
        QCOMPARE(r.error->cause(), FileErrorCause::SharingViolation);
        QCOMPARE(m_fs.paths(), (Paths{"/d/f0"}));
        QCOMPARE(m_model.stagedCount(), 3);

        // Stopped before the third row: as if that row had failed.
        m_fs.failing.clear();
        m_fs.writes.clear();
        std::vector<std::tuple<int, int, int>> calls;
        r = saveStagedRows(m_model, m_fs, [&](int done, int total, int row) {
            calls.emplace_back(done, total, row);
            return done < 2;
        });
        QCOMPARE(r.outcome, SaveResult::Outcome::Cancelled);
        QCOMPARE(r.row, 3);
        QVERIFY(!r.error.has_value());
        QCOMPARE(calls, (std::vector<std::tuple<int, int, int>>{{0, 3, 0}, {1, 3, 2}, {2, 3, 3}}));
        QCOMPARE(m_fs.paths(), (Paths{"/d/f0", "/d/f2"}));
        QCOMPARE(m_model.stagedCount(), 3);
    }

    void stagedMarksMoveWithTheirRows() {
        m_model.stageEdit(3, std::nullopt, 7000, std::nullopt, kHiddenOnly);
        m_model.stageEdit(1, std::nullopt, 7000, std::nullopt, kHiddenOnly);
        m_model.removeRowList({0, 1});
        QCOMPARE(m_model.stagedCount(), 1);
        QCOMPARE(saveStagedRows(m_model, m_fs).outcome, SaveResult::Outcome::Saved);
        QCOMPARE(m_fs.paths(), (Paths{"/d/f3"}));

        // Nothing staged: a save touches no file and still completes.
        m_fs.writes.clear();
        QCOMPARE(saveStagedRows(m_model, m_fs).outcome, SaveResult::Outcome::Saved);
        QVERIFY(m_fs.writes.empty());
    }
};

QTEST_GUILESS_MAIN(TestSaveChanges)
#include "tst_savechanges.moc"
