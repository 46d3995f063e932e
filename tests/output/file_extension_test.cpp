#include "output/file_extension.h"

#include <gtest/gtest.h>

TEST(FileExtension, IsTheLowerCasedTextFromTheLastDotAfterEveryFolderMark) {
    struct Case {
        const char* name;
        const char* extension;
        bool saveable;
    };
    for (Case c : {
             Case{"notes.PNG", ".png", true},
             Case{"/home/ann/a.Jpg", ".jpg", true},
             Case{"C:\\Bilder\\shot.bmp", ".bmp", true},
             Case{"archive.tar.png", ".png", true},
             Case{"shot.jpeg", ".jpeg", false},
             Case{"shot.jpe", ".jpe", false},
             Case{"shot.tif", ".tif", false},
             Case{"a.", ".", false},
             Case{"noextension", "", false},
             Case{"/tmp/dir.png/file", "", false},
             Case{"C:\\dir.png\\file", "", false},
             Case{"C:file", "", false},
             Case{"dir.d:file", "", false},
             Case{"", "", false},
         }) {
        EXPECT_EQ(lowerCaseExtension(c.name), c.extension) << c.name;
        EXPECT_EQ(isSaveableExtension(lowerCaseExtension(c.name)), c.saveable) << c.name;
    }
}
