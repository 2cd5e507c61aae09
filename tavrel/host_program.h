// TAVREL.EXE, the stand-in host: the headless host with a main window of its
// own. It opens a MusicXML score (or a small score of its own), loads the
// plug-ins of its plug-in folder, lists them in a "Plug-ins" menu, invokes
// them, and offers Edit > Undo and File > Save.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "musicxml/imported_score.h"
#include "musicxml/musicxml_document.h"
#include "tavrel/plugin_module.h"

namespace headless {
class ScoreBuilder;
}

namespace tavrel {

class HostProgram {
 public:
  HostProgram();
  ~HostProgram();
  HostProgram(const HostProgram&) = delete;
  HostProgram& operator=(const HostProgram&) = delete;

  // The folder whose .dll files are the plug-ins, and where they keep their files.
  bool Start(const std::wstring& pluginFolder, const std::string& scorePath, std::string* error);
  HWND MainWindow() const { return mainWindow_; }
  // Runs the message loop until the main window is gone; answers the exit code.
  int Run();

  std::vector<std::unique_ptr<PluginModule>>& Plugins() { return plugins_; }
  // Invokes the menu entry at this position of the "Plug-ins" menu.
  bool InvokeEntry(size_t position);
  bool Save(const std::string& path, std::string* error);
  bool Undo();
  // Terminates and unloads every plug-in.
  void UnloadPlugins();
  void Quit();
  const std::string& ScorePath() const { return scorePath_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool LoadScore(const std::string& path, std::string* error);
  // The score's text as it was read, parsed afresh: every save starts from it.
  bool ParseSource(musicxml::MusicXmlDocument* document, std::string* error) const;
  bool CreateMainWindow();
  void LoadPlugins(const std::wstring& folder);
  HMENU BuildMenu() const;
  void ReportError(const std::string& text) const;

  HWND mainWindow_ = nullptr;
  std::string scorePath_;
  std::unique_ptr<headless::ScoreBuilder> builder_;
  // The score as imported; never changed, so that each save starts from the file.
  musicxml::MusicXmlDocument document_;
  musicxml::ImportedScore imported_;
  std::vector<std::unique_ptr<PluginModule>> plugins_;
  // (plug-in, entry) of each item of the "Plug-ins" menu, in order.
  std::vector<std::pair<size_t, size_t>> menuEntries_;
};

}  // namespace tavrel
