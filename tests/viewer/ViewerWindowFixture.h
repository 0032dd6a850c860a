#pragma once

#include "ViewerFiles.h"
#include "logging/SystemClock.h"
#include "viewer/ViewerWindow.h"

#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace quorvane::viewertest {

// Records 0-9 off, 10-14 heated at level 120, 15-19 off, a gap of 30 s, 50-54 off.
inline std::string runWithHeaterAndGap() {
    std::string text = header();
    for (int i = 0; i < 20; ++i) {
        text += rawLine(i, i >= 10 && i < 15 ? 120 : 0);
    }
    for (int i = 50; i < 55; ++i) {
        text += rawLine(i);
    }
    return text;
}

inline bool waitFor(const std::function<bool()>& condition, int ms = 3000) {
    return QTest::qWaitFor(condition, ms);
}

class ViewerWindowTest : public ::testing::Test {
protected:
    TempFolder folder{"window"};
    SystemClock clock;
    ViewerWindow window{clock};
};

} // namespace quorvane::viewertest
