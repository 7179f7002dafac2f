// A lab at full load: fifteen copies of the program appending to one report, ten storing
// settings keys into one test.ini, and copies killed while they write. Nothing reported
// saved is lost, nothing is torn or fused, and no copy waits in vain.

#include "platform/profile_file.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>

#include <map>

namespace {
const QString kWorker = QStringLiteral(PROVERON_FILE_WORKER);
constexpr int kAppenders = 15;
constexpr int kRecords = 200;
constexpr int kStorers = 10;
constexpr int kStores = 30;
} // namespace

TEST(Lab, FifteenCopiesAppendAndTenStoreWithoutLosingOrTearingAnything) {
    QTemporaryDir dir;
    const QString report = dir.filePath("s/oth.txt");
    const QString ini = dir.filePath("test.ini");
    putBytes(ini, "[test]\r\nre=rus\r\n");
    std::vector<QStringList> copies;
    for (int id = 1; id <= kAppenders; ++id) {
        // Exam records are a few hundred bytes; a long test report block is a few thousand.
        const int size = 50 + (id * 397) % 3000;
        copies.push_back({"append", report, QString::number(id), QString::number(kRecords),
                          QString::number(size)});
    }
    for (int id = 1; id <= kStorers; ++id)
        copies.push_back({"store", ini, QString::number(id), QString::number(kStores)});

    QElapsedTimer timer;
    timer.start();
    const auto outputs = runWorkers(kWorker, copies);
    std::cout << "lab run: " << timer.elapsed() << " ms\n";

    const WorkerReport written = readWorkerReport(report);
    EXPECT_EQ(lostOrGhostRecords(outputs, written), QStringList());
    EXPECT_EQ(written.damaged, QStringList());
    EXPECT_EQ(written.duplicates, 0);
    EXPECT_EQ(written.records.size(), std::size_t(kAppenders * kRecords)) << "none waited in vain";

    for (int id = 1; id <= kStorers; ++id) {
        const QString copy = QString::number(id);
        EXPECT_EQ(platform::readProfileString(ini, "test", "c" + copy), QString::number(kStores));
        for (int n = 1; n <= kStores; ++n)
            EXPECT_EQ(
                platform::readProfileString(ini, "test", "k" + copy + "_" + QString::number(n)),
                QString::number(n));
    }
    EXPECT_EQ(platform::readProfileString(ini, "test", "re"), "rus");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"test.ini"}));
}

TEST(Lab, CopiesKilledWhileWritingLeaveNothingTheOthersCannotRead) {
    QTemporaryDir dir;
    const QString report = dir.filePath("s/lzm.txt");
    // Three copies appending long records are killed at random moments, perhaps holding
    // the lock, perhaps half-way through a record; two copies go on appending short ones.
    std::vector<std::unique_ptr<QProcess>> copies;
    for (int id = 1; id <= 5; ++id) {
        const bool killed = id <= 3;
        copies.push_back(std::make_unique<QProcess>());
        copies.back()->start(kWorker, {"append", report, QString::number(id), "300",
                                       QString::number(killed ? 200000 + id : 300 + id)});
    }
    for (int id = 1; id <= 3; ++id) {
        QThread::msleep(100 + QRandomGenerator::global()->bounded(200u));
        copies[std::size_t(id - 1)]->kill();
    }
    std::vector<QStringList> outputs;
    for (auto& copy : copies) {
        copy->waitForFinished(600000);
        outputs.push_back(
            QString::fromLocal8Bit(copy->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts));
    }
    // Every record reported saved is there, the survivors' all of them; a killed copy's
    // record may be torn, but only the record it was writing, and the next one starts on
    // a line of its own.
    const WorkerReport written = readWorkerReport(report);
    EXPECT_EQ(lostOrGhostRecords(outputs, written), QStringList());
    for (int id = 4; id <= 5; ++id)
        for (int n = 1; n <= 300; ++n)
            EXPECT_TRUE(written.records.count({id, n})) << id << ":" << n;
    for (const QString& torn : written.damaged)
        EXPECT_TRUE(torn.startsWith("1:") || torn.startsWith("2:") || torn.startsWith("3:"))
            << torn.toStdString();
    EXPECT_LE(written.damaged.size(), 3);
}
