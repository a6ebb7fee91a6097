// The connect and hang-up commands, and the two steps the start-up sequence
// shares with them.
#pragma once

namespace tolvane {

inline constexpr char kConnectedText[] = "已经连接";
inline constexpr char kDisconnectedText[] = "连接已断开";

// The click of 按钮2.
void handle_connect_clicked();
// The click of 按钮3.
void handle_hang_up_clicked();

// Writes "已经连接" or "连接已断开" into 标签1; true when a connection is up.
bool show_connection_state();
// Dials the first phonebook entry with the account and password in the
// window, reporting to 标签1.
void dial_with_typed_credentials();

}  // namespace tolvane
