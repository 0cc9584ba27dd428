// What the widget tests of the shared controls share, on top of the program's widget-test kit.
#pragma once

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QWidget>

namespace quillon::testkit {

using widgetkit::App;

// Keeps a picture of the widget in the test-grabs folder (controls-<name>.png) and answers it.
inline QImage Grab(QWidget& widget, const char* name) {
    const QImage image = widget.grab().toImage();
    EXPECT_TRUE(widgetkit::KeepPicture(image, std::string("controls-") + name)) << name;
    return image;
}

class ControlsQtTest : public ::testing::Test {
protected:
    void SetUp() override { App(); }
};

}  // namespace quillon::testkit
