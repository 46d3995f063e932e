// A disk that fills up while a picture is written: the save fails and the old file stays.
#include "output/file_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(FileWriterDiskFull, AFullDiskFailsTheSaveAndKeepsTheOldFile) {
    QTemporaryDir folder;
    const QString target = folder.filePath("shot.png");
    const QByteArray old(1000, 'o');
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    // The file-size limit stands in for a full disk; it is set in a child process so the
    // test program keeps its own limits.
    pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{12000, 12000};
        setrlimit(RLIMIT_FSIZE, &limit);
        Outcome status = writeFileReplacing(target, [](ByteSink& sink) {
            // The second block stays in the file's buffer until the very end: the disk
            // fills up only as the save completes.
            const std::vector<char> block(9000, 'n');
            for (int i = 0; i < 2; ++i)
                if (!sink.write(block.data(), block.size()))
                    break;
            return Outcome::ok(); // the sink's own status says whether the bytes arrived
        });
        _exit(status ? 1 : 0);
    }
    int exitStatus = 0;
    waitpid(child, &exitStatus, 0);
    ASSERT_TRUE(WIFEXITED(exitStatus));
    EXPECT_EQ(WEXITSTATUS(exitStatus), 0) << "the save reported success on a full disk";
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old) << "the old file is untouched";
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"shot.png"})
        << "no temporary file is left";
}
