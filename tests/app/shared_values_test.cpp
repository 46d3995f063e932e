#include "app/shared_values.h"

#include <gtest/gtest.h>

namespace {

TEST(SharedValues, FollowTheProgramFileWhereverItLies) {
    InitSharedValues("/opt/skribando/bin/skribando");
    EXPECT_EQ(ProgramFolder, "/opt/skribando/bin/");
    EXPECT_EQ(HelpFolder, "/opt/skribando/bin/Hilfe/");
    EXPECT_EQ(HelpFileName, "hilfe-fr.html");
    EXPECT_EQ(VersionText, QString::fromUtf8("1.2.2007.05.18 (français)"));

    // Moving the program moves the help folder with it; blanks and accents stay as they are.
    const QString folder = QString::fromUtf8("/home/zoé/Mes Programmes/Été 2007/");
    InitSharedValues(folder + "skribando");
    EXPECT_EQ(ProgramFolder, folder);
    EXPECT_EQ(HelpAddress(), "file://" + folder + "Hilfe/hilfe-fr.html");

    InitSharedValues("/skribando");
    EXPECT_EQ(HelpFolder, "/Hilfe/");
}

} // namespace
