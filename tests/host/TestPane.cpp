// SPDX-License-Identifier: MIT
// A pane library for the host's tests: it says on standard output which life-cycle call it gets.
#include "platform/AppKit/AppKit.h"

#include <cstdio>

namespace {

class TestPane : public NSPreferencePane {
public:
    using NSPreferencePane::NSPreferencePane;

    void mainViewDidLoad() override { say("mainViewDidLoad"); }
    void willSelect() override {
        m_field->setStringValue("selected");
        say("willSelect");
    }
    void didUnselect() override { say("didUnselect"); }

protected:
    void connectInterface(NibConnections& nib) override { nib.outlet("m_field", m_field); }

private:
    static void say(const char* call) {
        std::printf("%s\n", call);
        std::fflush(stdout);
    }
    NSTextField* m_field = nullptr;
};

const NSPreferencePaneClass<TestPane> registration("TestPane");

} // namespace
