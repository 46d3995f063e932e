// The start of the program: a second instance is refused with the words the user reads.
#include "app/program.h"
#include "controls/message_box.h"
#include "platform/single_instance.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ProgramStart, ASecondInstanceIsToldTheFirstRunsAndDoesNotStart) {
    QTemporaryDir folder;
    QStringList shown;
    setMessageHandler([&](MessageKind kind, const QString& text) {
        EXPECT_EQ(kind, MessageKind::Information);
        shown << text;
    });
    SingleInstanceGuard first(folder.path());
    EXPECT_TRUE(MayStart(first));
    EXPECT_TRUE(shown.isEmpty());
    SingleInstanceGuard second(folder.path());
    EXPECT_FALSE(MayStart(second));
    setMessageHandler({});
    EXPECT_EQ(shown,
              QStringList{QString::fromUtf8("L'application est déjà en cours d'exécution.")});
}
