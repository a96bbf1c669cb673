#pragma once

#include "location/MapViewController.h"
#include "platform/ui/NavigationController.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <memory>

// A map screen shown in a navigation stack of its own, with or without a tile source
// (a loopback address nothing is asked from: the tests never paint imagery).
class MapScreenFixture : public ::testing::Test {
protected:
    void SetUp() override {
        hadTileUrl_ = qEnvironmentVariableIsSet("ORMEL_TILE_URL");
        savedTileUrl_ = qgetenv("ORMEL_TILE_URL");
        qunsetenv("ORMEL_TILE_URL");
    }
    void TearDown() override {
        stack.reset();
        if (hadTileUrl_) {
            qputenv("ORMEL_TILE_URL", savedTileUrl_);
        } else {
            qunsetenv("ORMEL_TILE_URL");
        }
    }
    static void setTileSource() { qputenv("ORMEL_TILE_URL", "http://127.0.0.1:9/{z}/{x}/{y}.png"); }

    MapViewController* show(double latitude, double longitude) {
        screen = new MapViewController(latitude, longitude);
        stack = std::make_unique<ui::NavigationController>(screen);
        stack->view()->show();
        stack->beginAppearanceTransition(true, false);
        stack->endAppearanceTransition();
        return screen;
    }

    std::unique_ptr<ui::NavigationController> stack;
    MapViewController* screen = nullptr;

private:
    bool hadTileUrl_ = false;
    QByteArray savedTileUrl_;
};
