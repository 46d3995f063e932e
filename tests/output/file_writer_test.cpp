#include "folder_permissions.h"
#include "output/file_writer.h"
#include "read_back.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeText(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList entries(const QTemporaryDir& folder) {
    return QDir(folder.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

Outcome writeNew(ByteSink& sink) {
    sink.write("new", 3);
    return sink.status();
}

} // namespace

TEST(FileWriter, ReplacesTheTargetOnlyWhenTheWholeFileIsWritten) {
    QTemporaryDir folder;
    QString target = folder.filePath("shot.png");
    writeText(target, "old contents");

    Outcome status = writeFileReplacing(target, [](ByteSink& sink) {
        sink.write("half a fi", 9);
        return Outcome::failed("encoder gave up");
    });
    EXPECT_EQ(status.message(), "encoder gave up");
    EXPECT_EQ(readText(target), "old contents");
    EXPECT_EQ(entries(folder), QStringList{"shot.png"}) << "a partial file was left";

    EXPECT_TRUE(writeFileReplacing(target, writeNew));
    EXPECT_EQ(readText(target), "new");
    EXPECT_EQ(entries(folder), QStringList{"shot.png"});
}

TEST(FileWriter, FileThatCannotBeCreatedIsNamedInTheMessage) {
    QTemporaryDir folder;
    QString target = folder.filePath("no such folder/shot.png");
    Outcome status = writeFileReplacing(target, writeNew);
    EXPECT_EQ(status.message(), "Datei " + target + " kann nicht erstellt werden.");
    EXPECT_TRUE(entries(folder).isEmpty());
}

TEST(FileWriter, UnwritableFolderLeavesAnExistingTargetUnchanged) {
    QTemporaryDir folder;
    QString target = folder.filePath("shot.jpg");
    writeText(target, "old contents");
    Outcome status = Outcome::ok();
    {
        ReadOnlyFolder readOnly(folder.path());
        if (!readOnly.active())
            GTEST_SKIP() << "this process writes into read-only folders";
        status = writeFileReplacing(target, writeNew);
    }
    EXPECT_EQ(status.message(), "Datei " + target + " kann nicht erstellt werden.");
    EXPECT_EQ(readText(target), "old contents");
    EXPECT_EQ(entries(folder), QStringList{"shot.jpg"});
}
