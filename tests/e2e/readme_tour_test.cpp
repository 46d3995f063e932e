// The README's short tour on the real program: the idle palette, a drawing phase with every
// kind of annotation, the info box and the settings dialog over it. Each state is checked,
// then kept as the README's screenshot of it.
#include "readme_screenshots.h"
#include "support/picture_diff.h"
#include "support/test_support.h"
#include "x11_session.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A page of a document in a window, the kind of screen a user annotates.
QImage DocumentScreen(QSize size) {
    QImage screen(size, QImage::Format_RGB32);
    screen.fill(Qt::white);
    QPainter painter(&screen);
    QLinearGradient titleBar(0, 0, 0, 44);
    titleBar.setColorAt(0, QColor(0x3c, 0x6e, 0xb4));
    titleBar.setColorAt(1, QColor(0x9c, 0xbc, 0xe4));
    painter.fillRect(0, 0, size.width(), 44, titleBar);
    painter.fillRect(0, 44, size.width(), 16, QColor(0xe4, 0xe4, 0xe4));
    QFont font("Liberation Sans");
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QStringList paragraphs = {
        "Compte rendu de la réunion du mardi",
        "",
        "Présents : l'équipe de développement au complet, la responsable produit et deux",
        "personnes du support. La réunion a commencé à neuf heures et demie.",
        "",
        "1. La nouvelle version est prête pour les essais. Les retours des premiers",
        "utilisateurs sont bons ; ils demandent surtout un raccourci pour imprimer et une",
        "couleur de surligneur plus douce pour les longs textes.",
        "",
        "2. Le manuel doit montrer chaque étape avec une image de l'écran. Les images",
        "seront faites par les tests, pour rester à jour sans travail à la main.",
        "",
        "3. La documentation en ligne sera relue avant la fin du mois. Chacun signale",
        "les passages peu clairs dans le suivi des tâches, avec une capture annotée.",
        "",
        "4. Questions diverses : la salle du troisième étage sera fermée la semaine",
        "prochaine ; les réunions auront lieu au rez-de-chaussée.",
        "",
        "Prochaine réunion : mardi prochain, même heure, même ordre du jour.",
    };
    int y = 100;
    for (const QString& line : paragraphs) {
        painter.drawText(60, y, line);
        y += 24;
    }
    return screen;
}

// A window's frame with a little of the screen around it, as a person would crop it.
QRect AroundFrame(const X11Session& session, unsigned long window, int margin) {
    return session.frameGeometry(window).adjusted(-margin, -margin, margin, margin);
}

TEST(ReadmeTour, PaletteDrawingPhaseInfoBoxAndSettings) {
    X11Session session;
    REQUIRE_OUTSIDE_WORLD(session.ok(), session.error());
    ASSERT_TRUE(session.setBackground(DocumentScreen(session.size())));

    ProgramRun program(session);
    const unsigned long palette = session.waitForWindow("Skribando");
    ASSERT_NE(palette, 0u) << program.output();
    const QRect idle = session.windowGeometry(palette);
    ASSERT_EQ(idle.size(), QSize(52, 23)) << "the palette starts collapsed";
    ASSERT_TRUE(waitForPaletteInTopRightCorner(session, palette)) << "and has run its start-up";
    keepReadmeScreenshot("palette-idle", session.steadyScreenshot(),
                         AroundFrame(session, palette, 8));

    session.click(idle.topLeft() + kLancerInPalette);
    const unsigned long surface = session.waitForWindow("ScreenForm");
    ASSERT_NE(surface, 0u);
    ASSERT_TRUE(
        X11Session::waitUntil([&] { return session.windowGeometry(palette).height() > 300; }));
    session.activate(surface);

    session.key("alt+h");
    session.click(QPoint(150, 130));
    session.key("alt+k");
    session.click(QPoint(250, 130));
    session.key("ctrl+3 alt+2 alt+p"); // transparent yellow arrow across the text
    session.drag(QPoint(200, 500), QPoint(500, 300));
    session.key("alt+shift+1 alt+e"); // opaque red ellipse and rectangle
    session.drag(QPoint(700, 200), QPoint(950, 320));
    session.key("alt+r");
    session.drag(QPoint(760, 430), QPoint(1060, 580));
    session.key("alt+shift+3 alt+s"); // opaque green pen
    QList<QPoint> zigzag;
    for (int i = 0; i <= 10; ++i)
        zigzag << QPoint(400 + 30 * i, i % 2 ? 610 : 650);
    session.stroke(zigzag);
    session.key("alt+shift+4 alt+t"); // opaque blue text
    session.click(QPoint(560, 720));
    session.type("Bonjour");
    session.key("Return");
    session.run("xdotool", {"mousemove", "--sync", "1100", "600"});

    QImage shot;
    auto allDrawn = [&] {
        shot = session.steadyScreenshot();
        return testsupport::countColour(shot, 0x00C400, QRect(140, 70, 70, 90)) > 100 &&
               testsupport::countColour(shot, 0xDC0000, QRect(220, 70, 70, 90)) > 100 &&
               testsupport::countColour(shot, 0xFFFF00, QRect(300, 330, 100, 100)) > 200 &&
               testsupport::countColour(shot, 0xFF0000, QRect(690, 190, 270, 20)) > 500 &&
               testsupport::countColour(shot, 0xFF0000, QRect(750, 420, 320, 20)) > 1500 &&
               testsupport::countColour(shot, 0x00FF00, QRect(390, 600, 320, 60)) > 1000 &&
               testsupport::countColour(shot, 0x0000FF, QRect(560, 650, 300, 75)) > 100;
    };
    ASSERT_TRUE(X11Session::waitUntil(allDrawn))
        << "stamps, arrow, ellipse, rectangle, pen and text all show";
    keepReadmeScreenshot("drawing-phase", shot);
    keepReadmeScreenshot("palette", shot, session.frameGeometry(palette));

    session.key("F1");
    const unsigned long info = session.waitForWindow("Info");
    ASSERT_NE(info, 0u);
    session.activate(info);
    keepReadmeScreenshot("info-box", session.steadyScreenshot(), session.frameGeometry(info));

    session.key("space"); // "Réglages..." has the focus
    const unsigned long settings = session.waitForWindow(QString::fromUtf8("Réglages"));
    ASSERT_NE(settings, 0u);
    session.activate(settings);
    keepReadmeScreenshot("settings-dialog", session.steadyScreenshot(),
                         session.frameGeometry(settings));

    session.key("Escape");
    ASSERT_TRUE(session.waitForWindowGone(QString::fromUtf8("Réglages")));
    session.activate(info);
    session.key("Escape");
    ASSERT_TRUE(session.waitForWindowGone("Info"));
    session.activate(surface);
    session.key("F9");
    EXPECT_TRUE(session.waitForWindowGone("ScreenForm"));
}

} // namespace
