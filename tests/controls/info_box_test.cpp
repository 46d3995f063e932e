#include "controls/info_box.h"

#include "controls/message_box.h"
#include "controls/modal.h"
#include "platform/open_document.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Records what would have been handed to the desktop and which boxes would have shown.
struct Seams {
    std::vector<QUrl> opened;
    std::vector<std::pair<MessageKind, QString>> messages;
    Seams() {
        setDesktopOpener([this](const QUrl& url) {
            opened.push_back(url);
            return true;
        });
        setMessageHandler(
            [this](MessageKind kind, const QString& text) { messages.emplace_back(kind, text); });
    }
    ~Seams() {
        setDesktopOpener({});
        setMessageHandler({});
    }
};

const QString kVersion = QString::fromUtf8("1.2.2007.05.18 (français)");

TEST(InfoBox, HelpButtonOpensTheHelpFileOfAFolderWithBlanksAndAccents) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString helpFolder =
        root.path() + QString::fromUtf8("/Mes Programmes/Skribando été/Hilfe/");
    ASSERT_TRUE(QDir().mkpath(helpFolder));
    QFile help(helpFolder + "hilfe-fr.html");
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();

    Seams seams;
    TInfoBox box(kVersion, helpFolder, "hilfe-fr.html");
    EXPECT_EQ(box.HelpAddress(), "file://" + helpFolder + "hilfe-fr.html");
    box.HilfeBtn->click();
    ASSERT_EQ(seams.opened.size(), 1u);
    EXPECT_EQ(seams.opened[0].toLocalFile(), helpFolder + "hilfe-fr.html");
    EXPECT_TRUE(seams.messages.empty());
}

TEST(InfoBox, HelpThatCannotBeOpenedIsReportedWithTheWholeAddress) {
    Seams seams;
    TInfoBox box(kVersion, QString::fromUtf8("/nulle part/Été/Hilfe/"), "hilfe-fr.html");
    box.show();
    box.HilfeBtnClick();
    EXPECT_TRUE(seams.opened.empty());
    ASSERT_EQ(seams.messages.size(), 1u);
    EXPECT_EQ(seams.messages[0].first, MessageKind::Error);
    EXPECT_EQ(seams.messages[0].second,
              QString::fromUtf8(
                  "file:///nulle part/Été/Hilfe/hilfe-fr.html ne peut être ouvert. Vous devez "
                  "utiliser un navigateur Internet (Internet Explorer ou Firefox par exemple)."));
    EXPECT_TRUE(box.isVisible());
}

TEST(InfoBox, LinksOpenTheirWebPages) {
    Seams seams;
    TInfoBox box(kVersion, "/", "hilfe-fr.html");
    box.show();
    QTest::mouseClick(box.Label1, Qt::LeftButton);
    box.Label3Click();
    ASSERT_EQ(seams.opened.size(), 2u);
    EXPECT_EQ(seams.opened[0].host(), box.Label1->text());
    EXPECT_TRUE(seams.opened[1].query().startsWith("src_id="));
    EXPECT_EQ(seams.opened[1].host(), box.Label3->text());
}

TEST(InfoBox, ClosesWithResultOneByItsButtonAndByEsc) {
    TInfoBox box(kVersion, "/", "hilfe-fr.html");
    QTimer::singleShot(0, box.OkBtn, [&] { box.OkBtn->click(); });
    EXPECT_EQ(box.exec(), 1);
    EXPECT_FALSE(box.isVisible());

    QTimer::singleShot(0, &box,
                       [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
    EXPECT_EQ(box.exec(), 1);
    EXPECT_FALSE(box.isVisible());

    // Esc works wherever the focus is, also in the terms of use.
    QTimer::singleShot(0, &box, [&] {
        box.Memo2->setFocus();
        QTest::keyClick(box.Memo2, Qt::Key_Escape);
    });
    EXPECT_EQ(box.exec(), 1);
}

TEST(InfoBox, SettingsButtonAsksForTheSettingsDialog) {
    TInfoBox box(kVersion, "/", "hilfe-fr.html");
    QSignalSpy asked(&box, &TInfoBox::EinstellBtnClicked);
    box.EinstellBtn->click();
    EXPECT_EQ(asked.count(), 1);
}

TEST(InfoBox, ShowsVersionAndTakesTheFrenchTexts) {
    TInfoBox box(kVersion, "/", "hilfe-fr.html");
    EXPECT_EQ(box.windowTitle(), "Info");
    EXPECT_EQ(box.size(), QSize(412, 552));
    EXPECT_EQ(box.VersionLabel->text(), "Version " + kVersion);
    EXPECT_FALSE(box.Image1->pixmap().isNull());
    EXPECT_EQ(box.HilfeBtn->text(), "Hilfe");
    EXPECT_EQ(box.OkBtn->geometry(), QRect(312, 515, 89, 25));

    box.ApplyRunTimeTexts();
    EXPECT_EQ(box.HilfeBtn->text(), "Aide");
    EXPECT_EQ(box.EinstellBtn->text(), QString::fromUtf8("Réglages..."));
    EXPECT_EQ(box.OkBtn->text(), "Fermer");
    EXPECT_EQ(box.LabSurftipp->text(), "Service gratuit (en allemand):");
    EXPECT_EQ(box.LabOnlinerechner->text(), "Calculateurs de finances");
    EXPECT_TRUE(box.LabUebersetzDanke->text().startsWith(QString::fromUtf8("Merci à ")));
    EXPECT_TRUE(box.LabUebersetzDanke->text().endsWith(
        QString::fromUtf8(" pour la traduction française.")));
    const QString memo1 = box.Memo1->toPlainText(), memo2 = box.Memo2->toPlainText();
    EXPECT_EQ(memo1.count('\n') + 1, 7);
    EXPECT_EQ(memo1.size(), 177);
    EXPECT_EQ(memo2.count('\n') + 1, 19);
    EXPECT_EQ(memo2.size(), 1078);
    EXPECT_TRUE(memo2.endsWith(box.Label1->text()));
}

TEST(InfoBox, ButtonsComeFirstInTheTabOrder) {
    TInfoBox box(kVersion, "/", "hilfe-fr.html");
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    EXPECT_EQ(QApplication::focusWidget(), box.EinstellBtn);
    QTest::keyClick(box.EinstellBtn, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), box.HilfeBtn);
    QTest::keyClick(box.HilfeBtn, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), box.OkBtn);
    EXPECT_FALSE(box.Memo1->isEnabled()); // the notice never takes the focus
}

} // namespace
