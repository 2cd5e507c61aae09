// What the host answers about its surroundings (the plug-in folder, the
// current window) and the menu commands the plug-in had it run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "headless/selection_record.h"

namespace headless {

constexpr int32_t kNoteSpacingCommand = 12106;
// Folder kinds the host answers TX_GetTavrelPath for: 7 before 0x10000000, 15 after.
constexpr int32_t kOldPluginFolderKind = 7;
constexpr int32_t kPluginFolderKind = 15;

// A note-spacing command (menu command 12106) as the host ran it.
struct SpacingCommand {
  int16_t document = 0;
  int16_t part = 0;
  SelectionRecord selection;
};

class HostEnvironment {
 public:
  // What TX_GetTavrelPath answers (UTF-8 here; 8-bit text below host 0x11000000, UTF-16 from it on).
  void SetPluginFolder(const std::string& path) { pluginFolder_ = path; }
  const std::string& PluginFolder() const { return pluginFolder_; }

  // The window information's page-view field (bytes 528-529, 0 when the
  // window shows no page view) and zoom field (bytes 530-531); answer false
  // makes the call fail.
  void SetWindowInfo(int16_t pageView, int16_t zoom, bool answer = true);
  int16_t PageView() const { return pageView_; }
  int16_t Zoom() const { return zoom_; }
  bool WindowInfoAnswers() const { return windowInfoAnswers_; }

  // Every TX_ExecuteMenuItem command, in order.
  const std::vector<int32_t>& MenuCommands() const { return menuCommands_; }
  const std::vector<SpacingCommand>& SpacingCommands() const { return spacingCommands_; }
  void AddMenuCommand(int32_t command) { menuCommands_.push_back(command); }
  void AddSpacingCommand(const SpacingCommand& command) { spacingCommands_.push_back(command); }

  // No plug-in folder, window info answering (1, 200), no commands.
  void Reset();

 private:
  std::string pluginFolder_;
  int16_t pageView_ = 1;
  int16_t zoom_ = 200;
  bool windowInfoAnswers_ = true;
  std::vector<SpacingCommand> spacingCommands_;
  std::vector<int32_t> menuCommands_;
};

}  // namespace headless
