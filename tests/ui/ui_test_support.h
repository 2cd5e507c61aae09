// Driving real dialogs under Wine the way a user's actions reach them, and
// answering the message boxes they show.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "headless/host_dialogs.h"
#include "headless/window_access.h"
#include "tests/headless/host_fixture.h"
#include "ui/windows_ui.h"

namespace ui_test {

enum class BoxIcon { None, Error, Information, Other };

// One message box as the user saw it.
struct ShownBox {
  std::string title;
  std::string text;
  BoxIcon icon = BoxIcon::None;
  bool idleWhileShown = true;  // the plug-in's message-box-idle flag during the box
};

std::string Utf8(const std::wstring& text);
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);

// Answers every message box shown on this thread with the scripted buttons,
// in order (IDOK when the script has run out), and records each box.
class MessageBoxAnswers {
 public:
  MessageBoxAnswers();
  ~MessageBoxAnswers();
  MessageBoxAnswers(const MessageBoxAnswers&) = delete;
  MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

  void Answer(int button) { answers_.push_back(button); }
  const std::vector<ShownBox>& Boxes() const { return boxes_; }
  void Clear() { boxes_.clear(); }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  void Record(HWND box);

  HHOOK hook_ = nullptr;
  std::deque<int> answers_;
  std::vector<ShownBox> boxes_;
};

// Handles what is waiting in this thread's queue, as the host's message loop
// would (dialog keys through IsDialogMessage).
void PumpMessages();
// The key press, as it arrives from the keyboard at the focused item.
void PressKey(HWND dialog, WPARAM key);
void Click(HWND dialog, int id);

RECT ClientRectOfItem(HWND dialog, int id);
// A rectangle of the template in dialog units, in the dialog's client pixels.
RECT DialogUnitsToPixels(HWND dialog, int left, int top, int width, int height);

// List views, read back as the user sees them.
using headless::IsListItemChecked;
using headless::ListItemText;
using headless::SelectListItem;
using headless::SetListItemChecked;
int ListColumnWidth(HWND list, int column);
std::string ListColumnTitle(HWND list, int column);

// When RZ_SCREENSHOT_DIR is set, saves the window there under the name.
void SaveScreenshotIfAsked(HWND window, const std::string& name);

// Imports one of our example scores into a new document of the host and
// selects all of it.
bool ImportExample(const std::string& name, std::string* error);

// Runs the script on the dialog with this title as soon as it is on screen,
// from inside whatever modal loop shows it. The script ends the dialog.
void WhenDialogAppears(const std::wstring& title, std::function<void(HWND)> script);

// A fresh host for each test, whose dialogs come from this program's resources.
class DialogFixture : public headless::HostFixture {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace ui_test
