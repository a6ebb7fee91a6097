// The main window built in process on the fake service, with a clean dial
// state and a status label holding a known text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/control_access.h"
#include "dialup/dial_manager.h"
#include "tests/dialup/fake_ras.h"
#include "tests/support/gui.h"
#include "tests/support/settings_files.h"

namespace tolvane::testing {

class DialFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        remove_settings_file();
        ASSERT_TRUE(main_.built());
        reset_fake_ras();
        dial_state.connection = nullptr;
        dial_state.status_window = nullptr;
        fake_ras().entries = {"宽带连接"};
        set_control_text(Control::标签1, "before");
    }

    void TearDown() override {
        dial_state.connection = nullptr;
        dial_state.status_window = nullptr;
    }

    std::string status_text() const {
        char text[128] = {};
        GetWindowTextA(main_.control(Control::标签1), text, sizeof text);
        return text;
    }

    ScopedMainWindow main_;
};

}  // namespace tolvane::testing
