// A scripted session of the stand-in host, for tests and screenshots: the
// steps a person would take (invoke a plug-in, press its buttons, answer its
// message boxes, undo, save, close), one per line, and a log of what was seen.
//
//   invoke [ENTRY]                 the Plug-ins menu entry (default 0)
//   click "TITLE" ID               a button of the dialog with this title
//   check "TITLE" LIST ITEM on|off a list-view check box, as a click sets it
//   select-row "TITLE" LIST ITEM   a list-view row becomes the selected one
//   choose "TITLE" COMBO ENTRY     a combo box entry (0-based), as a user picks it
//   answer yes|no|ok|cancel        the button that answers the next message box
//   close "TITLE"                  the dialog's close box
//   select all | select FIRST LAST the score's selection (measures)
//   minimize                       the host's window, which hides the plug-ins' dialogs
//   undo | save [PATH] | terminate | quit
//   dump-menu                      the plug-ins' menu records, as hex
//   dump-list "TITLE" LIST         the rows of a list view, column texts by "|"
//   dump-text "TITLE" ID           the text of a dialog item
//   count "TITLE"                  how many top-level windows have this title
//   screenshot "TITLE" PATH        a BMP picture of the window
//   move "TITLE" X Y               the window to this screen position
//   column-width "TITLE" LIST COLUMN WIDTH   a list-view column dragged to this width
//   dump-rect "TITLE"              the window's screen rectangle
//
// Message boxes are logged as: box "TITLE" "TEXT".
#pragma once

#include <fstream>
#include <string>
#include <vector>

namespace tavrel {

class HostProgram;

class HostScript {
 public:
  HostScript(HostProgram* program, const std::string& logPath);
  ~HostScript();
  HostScript(const HostScript&) = delete;
  HostScript& operator=(const HostScript&) = delete;

  bool LoadFile(const std::string& path, std::string* error);
  // Runs the steps from the message loop, one by one; the last step ends the program.
  void Start();
  bool Failed() const { return failed_; }

  void Log(const std::string& line);

 private:
  static void __stdcall OnTimer(void* window, unsigned message, uintptr_t timer, unsigned long time);
  void RunNextStep();
  bool RunStep(const std::vector<std::string>& words);
  bool RunWindowStep(const std::vector<std::string>& words);
  bool RunDumpStep(const std::vector<std::string>& words);

  HostProgram* program_;
  std::ofstream log_;
  std::vector<std::vector<std::string>> steps_;
  size_t nextStep_ = 0;
  bool failed_ = false;
  bool finished_ = false;
  uintptr_t timer_ = 0;
};

}  // namespace tavrel
