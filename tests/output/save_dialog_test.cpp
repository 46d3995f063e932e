#include "controls/modal.h"
#include "output/save_dialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(SaveDialog, BarSeparatedFilterBecomesQtNameFilters) {
    EXPECT_EQ(
        qtNameFilters(kSaveDialogRunTimeFilter),
        (QStringList{"PNG (*.png)", "JPEG (*.jpg)", "Bitmap (*.bmp)", "Tous les fichiers (*.*)"}));
    EXPECT_EQ(qtNameFilters("Pictures|*.png;*.jpg|Odd"), QStringList{"Pictures (*.png *.jpg)"});
}

TEST(SaveDialog, PlatformDialogShowsTheRequestAndReturnsTheChoice) {
    QTemporaryDir folder;
    SaveDialogRequest request;
    request.title = kSaveDialogRunTimeTitle;
    request.filter = kSaveDialogRunTimeFilter;
    request.filterIndex = 2;
    request.fileName = folder.filePath("last.jpg");
    request.defaultSuffix = "jpg";

    QString seenTitle, seenFilter, seenSuffix;
    QStringList seenFiles;
    bool asksBeforeOverwriting = false, saves = false;
    setModalHandler([&](QDialog& dialog) {
        auto& files = dynamic_cast<QFileDialog&>(dialog);
        seenTitle = files.windowTitle();
        seenFilter = files.selectedNameFilter();
        seenSuffix = files.defaultSuffix();
        seenFiles = files.selectedFiles();
        saves = files.acceptMode() == QFileDialog::AcceptSave;
        asksBeforeOverwriting = !files.testOption(QFileDialog::DontConfirmOverwrite);
        files.selectNameFilter("Bitmap (*.bmp)");
        files.selectFile(folder.filePath("new.bmp"));
        return int(QDialog::Accepted);
    });
    std::optional<SaveDialogAnswer> answer = runFileSaveDialog(request, nullptr);
    setModalHandler({});

    EXPECT_EQ(seenTitle, "Enregistrer l'ecran");
    EXPECT_EQ(seenFilter, "JPEG (*.jpg)");
    EXPECT_EQ(seenSuffix, "jpg");
    EXPECT_EQ(seenFiles, QStringList{folder.filePath("last.jpg")});
    EXPECT_TRUE(saves);
    EXPECT_TRUE(asksBeforeOverwriting);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->fileName, folder.filePath("new.bmp"));
    EXPECT_EQ(answer->filterIndex, 3);

    setModalHandler([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_FALSE(runFileSaveDialog(request, nullptr));
    setModalHandler({});
}

TEST(SaveDialog, EveryFileKeepsTheTypedNameAndIsRememberedAsTheFourthEntry) {
    QTemporaryDir folder;
    SaveDialogRequest request;
    request.filter = kSaveDialogRunTimeFilter;
    request.filterIndex = 3;
    request.fileName = folder.filePath("old.bmp");
    request.defaultSuffix = "jpg";

    QStringList shownFilters;
    setModalHandler([&](QDialog& dialog) {
        auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
        auto* filters = dialog.findChild<QComboBox*>("fileTypeCombo");
        if (!name || !filters)
            return int(QDialog::Rejected);
        for (int i = 0; i < filters->count(); ++i)
            shownFilters << filters->itemText(i);
        name->setText("shot.png");
        filters->setFocus();
        QTest::keyClick(filters, Qt::Key_Down); // from Bitmap to every file, as a user picks it
        return int(QDialog::Accepted);
    });
    std::optional<SaveDialogAnswer> answer = runFileSaveDialog(request, nullptr);
    setModalHandler({});

    EXPECT_EQ(shownFilters, qtNameFilters(kSaveDialogRunTimeFilter));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->fileName, folder.filePath("shot.png"));
    EXPECT_EQ(answer->filterIndex, 4);
}
