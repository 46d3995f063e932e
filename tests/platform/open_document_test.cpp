#include "platform/open_document.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Replaces the desktop's handler for one test and records what it is given.
class RecordingOpener {
public:
    explicit RecordingOpener(bool answer = true) {
        setDesktopOpener([this, answer](const QUrl& url) {
            opened.push_back(url);
            return answer;
        });
    }
    ~RecordingOpener() { setDesktopOpener({}); }
    std::vector<QUrl> opened;
};

TEST(DocumentUrl, FileAddressesKeepEveryCharacterOfTheirPath) {
    const char* paths[] = {"/opt/Mes Programmes/Skribando/Hilfe/hilfe-fr.html",
                           "/home/zoé/Été 2007/a.html", "/srv/C#/100% sûr/x.html",
                           "/tmp/a?b/c.html"};
    for (const char* path : paths) {
        const QString local = QString::fromUtf8(path);
        const QUrl url = DocumentUrl("file://" + local);
        EXPECT_TRUE(url.isLocalFile()) << path;
        EXPECT_EQ(url.toLocalFile(), local) << path;
    }
    EXPECT_EQ(DocumentUrl("https://www.skribando.example.org/").host(),
              "www.skribando.example.org");
    EXPECT_EQ(DocumentUrl("https://rechner.example.net/?src_id=skb").query(), "src_id=skb");
}

TEST(OpenDocumentAddress, HandsAnExistingFileToTheDesktop) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString folder = root.path() + QString::fromUtf8("/Dossier à moi/Hilfe/");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + "hilfe-fr.html");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    RecordingOpener opener;
    EXPECT_TRUE(OpenDocumentAddress("file://" + folder + "hilfe-fr.html"));
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0].toLocalFile(), folder + "hilfe-fr.html");
}

TEST(OpenDocumentAddress, FailsForAMissingFileOrARefusingDesktop) {
    RecordingOpener opener;
    EXPECT_FALSE(OpenDocumentAddress("file:///nowhere/at all/Hilfe/hilfe-fr.html"));
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_FALSE(OpenDocumentAddress(""));

    RecordingOpener refusing(false);
    EXPECT_FALSE(OpenDocumentAddress("https://www.skribando.example.org/"));
    EXPECT_EQ(refusing.opened.size(), 1u);
}

} // namespace
