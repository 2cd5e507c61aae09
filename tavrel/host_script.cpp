#include "tavrel/host_script.h"

#include <windows.h>
// The common controls need the Windows types first.
#include <commctrl.h>

#include <cstdio>
#include <deque>
#include <sstream>

#include "headless/headless_host.h"
#include "headless/window_access.h"
#include "headless/window_picture.h"
#include "tavrel/host_program.h"

namespace tavrel {

namespace {

HostScript* activeScript = nullptr;
HHOOK boxHook = nullptr;
std::deque<int> boxAnswers;
// Words separated by blanks; a word in double quotes may hold blanks.
std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
    if (at >= line.size()) break;
    size_t end;
    if (line[at] == '"') {
      end = line.find('"', at + 1);
      if (end == std::string::npos) end = line.size();
      words.push_back(line.substr(at + 1, end - at - 1));
      at = end + 1;
      continue;
    }
    end = line.find_first_of(" \t\r", at);
    if (end == std::string::npos) end = line.size();
    words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t byte : bytes) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 15]);
  }
  return text;
}

HWND FindTopWindow(const std::string& title) {
  HWND found = FindWindowW(L"#32770", headless::WideOf(title).c_str());
  return found ? found : FindWindowW(nullptr, headless::WideOf(title).c_str());
}

int Number(const std::string& word) { return std::atoi(word.c_str()); }

LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam) {
  HWND box = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && activeScript && headless::IsMessageBox(box)) {
    wchar_t text[4096] = {0};
    GetDlgItemTextW(box, headless::kMessageBoxTextId, text, 4096);
    std::string escaped = headless::Utf8Of(text);
    for (size_t at = escaped.find('\n'); at != std::string::npos; at = escaped.find('\n', at + 2)) {
      escaped.replace(at, 1, "\\n");
    }
    activeScript->Log("box \"" + headless::WindowTextOf(box) + "\" \"" + escaped + "\"");
    int button = IDOK;
    if (!boxAnswers.empty()) {
      button = boxAnswers.front();
      boxAnswers.pop_front();
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string ListRowText(HWND list, int item) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
  std::string row;
  for (int column = 0; column < columns; ++column) {
    if (column > 0) row += "|";
    row += headless::ListItemText(list, item, column);
  }
  return std::string(headless::IsListItemChecked(list, item) ? "[x] " : "[ ] ") + row;
}

struct CountContext {
  std::wstring title;
  int count = 0;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM context) {
  auto* counting = reinterpret_cast<CountContext*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t title[512] = {0};
  GetWindowTextW(window, title, 512);
  if (process == GetCurrentProcessId() && counting->title == title) ++counting->count;
  return TRUE;
}

}  // namespace

HostScript::HostScript(HostProgram* program, const std::string& logPath) : program_(program) {
  if (!logPath.empty()) log_.open(logPath, std::ios::out | std::ios::trunc | std::ios::binary);
  activeScript = this;
  boxHook = SetWindowsHookExW(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
}

HostScript::~HostScript() {
  if (timer_) KillTimer(nullptr, timer_);
  if (boxHook) UnhookWindowsHookEx(boxHook);
  boxHook = nullptr;
  activeScript = nullptr;
}

void HostScript::Log(const std::string& line) {
  if (!log_.is_open()) return;
  log_ << line << "\n";
  log_.flush();
}

bool HostScript::LoadFile(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (error) *error = path + ": the script cannot be read";
    return false;
  }
  std::string line;
  while (std::getline(file, line)) {
    std::vector<std::string> words = SplitWords(line);
    if (!words.empty() && words[0][0] != '#') steps_.push_back(words);
  }
  return true;
}

void HostScript::Start() { timer_ = SetTimer(nullptr, 0, 10, reinterpret_cast<TIMERPROC>(&HostScript::OnTimer)); }

void __stdcall HostScript::OnTimer(void*, unsigned, uintptr_t, unsigned long) {
  if (activeScript) activeScript->RunNextStep();
}

// Steps may open modal loops (a plug-in's modal dialog); the steps after it
// run from inside that loop, until one of them ends it.
void HostScript::RunNextStep() {
  if (finished_) return;
  if (nextStep_ >= steps_.size()) {
    finished_ = true;
    program_->Quit();
    return;
  }
  std::vector<std::string> step = steps_[nextStep_++];
  std::string line;
  for (const std::string& word : step) line += (line.empty() ? "" : " ") + word;
  if (!RunStep(step)) {
    Log("failed: " + line);
    failed_ = true;
    finished_ = true;
    program_->Quit();
  }
}

bool HostScript::RunStep(const std::vector<std::string>& words) {
  const std::string& verb = words[0];
  if (verb == "invoke") return program_->InvokeEntry(words.size() > 1 ? static_cast<size_t>(Number(words[1])) : 0);
  if (verb == "answer" && words.size() == 2) {
    const std::string& answer = words[1];
    boxAnswers.push_back(answer == "yes" ? IDYES : answer == "no" ? IDNO : answer == "cancel" ? IDCANCEL : IDOK);
    return true;
  }
  if (verb == "select" && words.size() == 2 && words[1] == "all")
    return headless::HeadlessHost::Instance().Selection().SelectAll();
  if (verb == "select" && words.size() == 3) {
    headless::HeadlessHost& host = headless::HeadlessHost::Instance();
    std::vector<int16_t> slots = host.SlotOrder(host.CurrentPart());
    if (slots.empty()) return false;
    return host.Selection().Set(slots.front(), static_cast<int16_t>(Number(words[1])), 0, slots.back(),
                                static_cast<int16_t>(Number(words[2])), 0x7FFFFFFF);
  }
  if (verb == "minimize") {
    // Windows hides a window's owned pop-ups while the window is minimized.
    ShowWindow(program_->MainWindow(), SW_MINIMIZE);
    ShowOwnedPopups(program_->MainWindow(), FALSE);
    return true;
  }
  if (verb == "undo") return program_->Undo();
  if (verb == "save") {
    std::string error;
    bool saved = program_->Save(words.size() > 1 ? words[1] : std::string(), &error);
    if (!saved) Log("save failed: " + error);
    return saved;
  }
  if (verb == "terminate") {
    program_->UnloadPlugins();
    return true;
  }
  if (verb == "quit") {
    finished_ = true;
    program_->Quit();
    return true;
  }
  if (verb == "dump-menu" || verb == "dump-list" || verb == "dump-text" || verb == "count") return RunDumpStep(words);
  return RunWindowStep(words);
}

bool HostScript::RunWindowStep(const std::vector<std::string>& words) {
  if (words.size() < 2) return false;
  HWND window = FindTopWindow(words[1]);
  if (!window) return false;
  const std::string& verb = words[0];
  if (verb == "close") {
    SendMessageW(window, WM_CLOSE, 0, 0);
    return true;
  }
  if (verb == "screenshot" && words.size() == 3) return headless::SaveWindowPicture(window, words[2]);
  if (verb == "move" && words.size() == 4) {
    return SetWindowPos(window, nullptr, Number(words[2]), Number(words[3]), 0, 0, SWP_NOSIZE | SWP_NOZORDER) != 0;
  }
  if (verb == "dump-rect") {
    RECT rect{0, 0, 0, 0};
    GetWindowRect(window, &rect);
    Log("rect \"" + words[1] + "\" " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
        std::to_string(rect.right - rect.left) + " " + std::to_string(rect.bottom - rect.top));
    return true;
  }
  HWND item = words.size() > 2 ? GetDlgItem(window, Number(words[2])) : nullptr;
  if (!item) return false;
  if (verb == "click") {
    SendMessageW(item, BM_CLICK, 0, 0);
    return true;
  }
  if (verb == "check" && words.size() == 5) {
    headless::SetListItemChecked(item, Number(words[3]), words[4] == "on");
    return true;
  }
  if (verb == "column-width" && words.size() == 5) {
    return SendMessageW(item, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(Number(words[3])), Number(words[4])) != 0;
  }
  if (verb == "select-row" && words.size() == 4) {
    headless::SelectListItem(item, Number(words[3]));
    return true;
  }
  if (verb == "choose" && words.size() == 4) {
    SendMessageW(item, CB_SETCURSEL, static_cast<WPARAM>(Number(words[3])), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(Number(words[2]), CBN_SELCHANGE), reinterpret_cast<LPARAM>(item));
    return true;
  }
  return false;
}

bool HostScript::RunDumpStep(const std::vector<std::string>& words) {
  const std::string& verb = words[0];
  if (verb == "dump-menu") {
    for (const auto& plugin : program_->Plugins()) {
      Log("plugin " + plugin->Name() + " version " + std::to_string(plugin->Version()) + " flags " +
          std::to_string(plugin->InitFlags()) + " entries " + std::to_string(plugin->Entries().size()));
      for (const PluginMenuEntry& entry : plugin->Entries()) {
        Log("record8 " + Hex(entry.record));
        Log("record16 " + Hex(entry.recordUtf16));
      }
    }
    return true;
  }
  if (verb == "count" && words.size() == 2) {
    CountContext counting{headless::WideOf(words[1]), 0};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&counting));
    Log("count \"" + words[1] + "\" " + std::to_string(counting.count));
    return true;
  }
  if (words.size() != 3) return false;
  HWND window = FindTopWindow(words[1]);
  HWND item = window ? GetDlgItem(window, Number(words[2])) : nullptr;
  if (!item) return false;
  if (verb == "dump-text") {
    Log("text " + words[2] + " " + headless::WindowTextOf(item));
    return true;
  }
  int rows = static_cast<int>(SendMessageW(item, LVM_GETITEMCOUNT, 0, 0));
  Log("list " + words[2] + " " + std::to_string(rows));
  for (int row = 0; row < rows; ++row) Log("row " + ListRowText(item, row));
  return true;
}

}  // namespace tavrel
