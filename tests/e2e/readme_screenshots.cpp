#include "readme_screenshots.h"

#include <QDir>
#include <iostream>

namespace {

bool saveInto(const QString& folder, const QString& name, const QImage& picture) {
    const QString file = folder + '/' + name + ".png";
    if (QDir().mkpath(folder) && picture.save(file, "PNG"))
        return true;
    std::cerr << "cannot write the screenshot " << file.toStdString() << std::endl;
    return false;
}

} // namespace

bool keepReadmeScreenshot(const QString& name, const QImage& screenshot, QRect area) {
    const QImage picture = screenshot.copy(area.intersected(screenshot.rect()));
    bool kept = saveInto(SKRIBANDO_SCREENSHOT_DIR, name, picture);
    if (qEnvironmentVariable("SKRIBANDO_UPDATE_SCREENSHOTS") == "1")
        kept = saveInto(SKRIBANDO_README_SCREENSHOT_DIR, name, picture) && kept;
    return kept;
}
