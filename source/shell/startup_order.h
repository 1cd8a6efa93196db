// The start-up sequence as data: the windows in the order they are created and the progress
// texts the splash shows while the word-battle window and the content store are made. The
// program's entry creates the windows from this list, and tests hold it to the order.
#pragma once

#include <string_view>
#include <vector>

namespace duvelin {

// "TForm1", "TForm_exit", "TForm_chinese", "TForm_pop", "TData2", "TForm_set", "TForm_create_read".
const std::vector<std::string_view>& StartupWindowClasses();

// The splash's first progress text.
inline constexpr std::string_view kSplashFirstProgress = "加载组件……";

// The steps of the word-battle window's creation, in order; the settings are loaded at the
// step kSettingsLoadProgress.
const std::vector<std::string_view>& BattleWindowProgressTexts();
inline constexpr std::string_view kSettingsLoadProgress = "加载配置信息……20%";
inline constexpr std::string_view kShortcutProgress = "注册快捷键……35%";

// Shown by the content store's creation only while online pronunciation is on.
inline constexpr std::string_view kHostLookupProgress = "解释域名…90% 有时较慢，请等待";

}  // namespace duvelin
