#include "app/library_language.h"
#include "controls/message_box.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

QStringList buttonTexts(const QWidget& window) {
    QStringList texts;
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        texts << button->text();
    return texts;
}

TEST(LibraryLanguage, TheFileDialogSpeaksTheUsersLanguageWhileTheProgramsTextsStay) {
    QTranslator* french = UseLibraryTextsIn(QLocale(QLocale::French, QLocale::France), *qApp);
    ASSERT_NE(french, nullptr) << "Qt's French texts are missing (qt6-translations-l10n)";

    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList dialogButtons = buttonTexts(dialog);

    QString caption;
    QStringList boxButtons;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        boxButtons = buttonTexts(*box);
        static_cast<QMessageBox*>(box)->done(0);
    });
    showMessage(MessageKind::Error, "x");
    QCoreApplication::removeTranslator(french);
    delete french;

    EXPECT_TRUE(dialogButtons.contains("&Enregistrer")) << dialogButtons.join(", ").toStdString();
    EXPECT_EQ(caption, "Fehler");
    EXPECT_EQ(boxButtons, QStringList{"OK"});
}

} // namespace
