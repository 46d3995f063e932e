// A file replaced as a whole keeps what the user set on the old one.
#include "platform/file_replacement.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(FileReplacement, TheNewFileKeepsTheOldOnesPermissions) {
    QTemporaryDir folder;
    const QString real = folder.filePath("real.reg");
    ASSERT_TRUE(replaceFileContents(real, "first"));
    ASSERT_EQ(chmod(QFile::encodeName(real).constData(), 0640), 0);
    ASSERT_TRUE(replaceFileContents(real, "second"));
    QFile file(real);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "second");
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(real).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}
