// What the widget tests of the shared controls share: the application and pictures to look at.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QWidget>

namespace quillon::testkit {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's input devices, made by the synthetic events, outlive the statics.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Saves a picture of the widget under the build folder's grabs/controls and answers it.
inline QImage Grab(QWidget& widget, const char* name) {
    const QString folder = QString(QUILLON_BINARY_DIR) + "/grabs/controls";
    QDir().mkpath(folder);
    const QImage image = widget.grab().toImage();
    EXPECT_TRUE(image.save(folder + "/" + name + ".png")) << name;
    return image;
}

class ControlsQtTest : public ::testing::Test {
protected:
    void SetUp() override { App(); }
};

}  // namespace quillon::testkit
