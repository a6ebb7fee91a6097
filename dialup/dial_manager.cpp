#include "dialup/dial_manager.h"

namespace tolvane {

DialState dial_state;

DialState::~DialState() {
    clean_up_dial_state();
}

// Not yet built.
bool dial(const char*, const char*, const char*, bool, const Control*) {
    return false;
}
bool is_online() {
    return false;
}
void hang_up_all() {}
void clean_up_dial_state() {}
void WINAPI dial_notifier(UINT, RASCONNSTATE, DWORD) {}

}  // namespace tolvane
