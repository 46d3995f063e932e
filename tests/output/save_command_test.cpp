#include "controls/message_box.h"
#include "folder_permissions.h"
#include "output/save_bitmap.h"
#include "output/save_command.h"
#include "read_back.h"
#include "support/file_size_limit.h"
#include "support/picture_diff.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

struct Shown {
    MessageKind kind;
    QString text;
    bool busyPointer; // whether the busy pointer was still up when the box came
};

// Answers the dialog with the queued answers (none: cancel) and records boxes and requests.
class SaveCommandTest : public testing::Test {
protected:
    void SetUp() override {
        setMessageHandler([this](MessageKind kind, const QString& text) {
            shown.push_back({kind, text, QGuiApplication::overrideCursor() != nullptr});
        });
    }
    void TearDown() override { setMessageHandler({}); }

    SaveDialogRunner dialog() {
        return
            [this](const SaveDialogRequest& request, QWidget*) -> std::optional<SaveDialogAnswer> {
                requests.push_back(request);
                if (answers.empty())
                    return std::nullopt;
                SaveDialogAnswer answer = answers.front();
                answers.erase(answers.begin());
                return answer;
            };
    }
    QStringList filesInFolder() const { return QDir(folder.path()).entryList(QDir::Files); }

    QTemporaryDir folder;
    QImage picture = readback::noisyPicture(31, 17, 12);
    std::vector<SaveDialogAnswer> answers;
    std::vector<SaveDialogRequest> requests;
    std::vector<Shown> shown;
};

} // namespace

TEST_F(SaveCommandTest, DialogStartsWithTheDesignTextsThePngFilterAndNoName) {
    SaveCommand command(dialog());
    command.run(picture);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "Bildschirminhalt speichern");
    EXPECT_EQ(requests[0].filter,
              "PNG (*.png)|*.png|JPEG (*.jpg)|*.jpg|Bitmap (*.bmp)|*.bmp|Alle Dateien (*.*)|*.*");
    EXPECT_EQ(requests[0].filterIndex, 1);
    EXPECT_EQ(requests[0].fileName, "");
    EXPECT_EQ(requests[0].defaultSuffix, "jpg");

    command.setTexts(kSaveDialogRunTimeTitle, kSaveDialogRunTimeFilter);
    command.run(picture);
    EXPECT_EQ(requests[1].title, "Enregistrer l'ecran");
    EXPECT_TRUE(requests[1].filter.endsWith("|Tous les fichiers (*.*)|*.*"));
}

TEST_F(SaveCommandTest, WritesTheFormatTheExtensionNamesWhateverItsCase) {
    SaveCommand command(dialog());
    answers = {{folder.filePath("notes.PNG"), 1},
               {folder.filePath("a.Jpg"), 2},
               {folder.filePath("b.bmp"), 3}};
    EXPECT_EQ(command.run(picture), SaveCommand::Outcome::Saved);
    EXPECT_EQ(command.run(picture), SaveCommand::Outcome::Saved);
    EXPECT_EQ(command.run(picture), SaveCommand::Outcome::Saved);
    EXPECT_TRUE(shown.empty());

    readback::PngFile png = readback::readPng(readback::fileBytes(folder.filePath("notes.PNG")));
    EXPECT_TRUE(testsupport::samePixels(picture, png.decoded));
    readback::JpegFile jpeg = readback::readJpeg(readback::fileBytes(folder.filePath("a.Jpg")));
    EXPECT_EQ(jpeg.decoded.size(), picture.size());
    std::vector<uint8_t> bmp = readback::fileBytes(folder.filePath("b.bmp"));
    ASSERT_GT(bmp.size(), 2u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(SaveCommandTest, SecondSaveProposesTheFirstNameAndFilter) {
    SaveCommand command(dialog());
    answers = {{folder.filePath("first.jpg"), 2}};
    command.run(picture);
    command.run(picture); // cancelled
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].fileName, folder.filePath("first.jpg"));
    EXPECT_EQ(requests[1].filterIndex, 2);
    EXPECT_EQ(command.dialogState().fileName, folder.filePath("first.jpg"));
}

TEST_F(SaveCommandTest, RefusedExtensionsAreSaidAndWriteNothing) {
    SaveCommand command(dialog());
    for (QString name : {"shot.jpeg", "lone.", "noextension", "dir.png/file"}) {
        SCOPED_TRACE(name.toStdString());
        shown.clear();
        answers = {{folder.filePath(name), 4}};
        EXPECT_EQ(command.run(picture), SaveCommand::Outcome::Refused);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].kind, MessageKind::Error);
        EXPECT_EQ(shown[0].text,
                  "Impossble de sauvegarder le fichier: le format choisi n'est pas reconnu.");
        EXPECT_TRUE(filesInFolder().isEmpty());
        EXPECT_EQ(command.dialogState().fileName, folder.filePath(name))
            << "kept for the next Save";
    }
}

TEST_F(SaveCommandTest, CancelEndsSilently) {
    SaveCommand command(dialog());
    EXPECT_EQ(command.run(picture), SaveCommand::Outcome::Cancelled);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(filesInFolder().isEmpty());
}

TEST_F(SaveCommandTest, EmptyPictureIsExplainedWithoutAskingForAName) {
    SaveCommand command(dialog());
    answers = {{folder.filePath("shot.png"), 1}};
    EXPECT_EQ(command.run(QImage()), SaveCommand::Outcome::NothingToSave);
    EXPECT_TRUE(requests.empty());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, MessageKind::Information);
    EXPECT_TRUE(shown[0].text.contains("Lancer"));
    EXPECT_TRUE(filesInFolder().isEmpty());
}

TEST_F(SaveCommandTest, FileThatCannotBeCreatedIsShownInTheGeneralErrorBoxAfterTheBusyPointer) {
    SaveCommand command(dialog());
    QString target = folder.filePath("missing/shot.png");
    answers = {{target, 1}};
    EXPECT_EQ(command.run(picture), SaveCommand::Outcome::Failed);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, MessageKind::AppError);
    EXPECT_EQ(shown[0].text, "Datei " + target + " kann nicht erstellt werden.");
    EXPECT_FALSE(shown[0].busyPointer);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(SaveCommandTest, SavingIntoAnUnwritableFolderKeepsTheOldFile) {
    QString target = folder.filePath("shot.png");
    ASSERT_TRUE(SaveBitmapToFile(picture, target));
    std::vector<uint8_t> before = readback::fileBytes(target);
    SaveCommand command(dialog());
    answers = {{target, 1}};
    {
        ReadOnlyFolder readOnly(folder.path());
        if (!readOnly.active())
            GTEST_SKIP() << "this process writes into read-only folders";
        EXPECT_EQ(command.run(readback::noisyPicture(8, 8, 1)), SaveCommand::Outcome::Failed);
    }
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Datei " + target + " kann nicht erstellt werden.");
    EXPECT_TRUE(readback::fileBytes(target) == before);
    EXPECT_EQ(filesInFolder(), QStringList{"shot.png"});
}

TEST_F(SaveCommandTest, AFullDiskShowsTheWriteErrorAndKeepsTheOldFile) {
    QString target = folder.filePath("shot.png");
    ASSERT_TRUE(SaveBitmapToFile(picture, target));
    std::vector<uint8_t> before = readback::fileBytes(target);
    SaveCommand command(dialog());
    answers = {{target, 1}};
    const SaveCommand::Outcome outcome =
        withFileSizeLimit(8192, [&] { return command.run(readback::noisyPicture(300, 200, 5)); });

    EXPECT_EQ(outcome, SaveCommand::Outcome::Failed);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, MessageKind::AppError);
    EXPECT_TRUE(shown[0].text.startsWith("Fehler beim Schreiben der Datei " + target + " ("))
        << shown[0].text.toStdString();
    EXPECT_FALSE(shown[0].busyPointer);
    EXPECT_TRUE(readback::fileBytes(target) == before);
    EXPECT_EQ(filesInFolder(), QStringList{"shot.png"});
}
