#include "controls/message_box.h"
#include "output/clipboard.h"
#include "support/picture_diff.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <gtest/gtest.h>

TEST(Clipboard, CopyPutsThePictureWithItsAnnotationsOnTheClipboard) {
    QImage picture(64, 40, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::red, 3));
    painter.drawLine(5, 5, 50, 30);
    painter.end();

    ASSERT_TRUE(CopyPictureToClipboard(picture));
    QImage pasted = QGuiApplication::clipboard()->image();
    EXPECT_TRUE(testsupport::samePixels(picture, pasted));
}

TEST(Clipboard, EmptyPictureIsExplainedAndLeavesTheClipboardAlone) {
    QGuiApplication::clipboard()->setText("kept");
    std::vector<std::pair<MessageKind, QString>> shown;
    setMessageHandler(
        [&](MessageKind kind, const QString& text) { shown.emplace_back(kind, text); });
    EXPECT_FALSE(CopyPictureToClipboard(QImage()));
    setMessageHandler({});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, MessageKind::Information);
    EXPECT_TRUE(shown[0].second.contains("Lancer"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
}
