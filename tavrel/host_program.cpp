#include "tavrel/host_program.h"

#include "headless/headless_host.h"
#include "headless/host_dialogs.h"
#include "headless/score_builder.h"
#include "headless/window_access.h"
#include "musicxml/musicxml_exporter.h"
#include "musicxml/musicxml_importer.h"
#include "tavrel/builtin_score.h"

namespace tavrel {

namespace {

constexpr wchar_t kWindowClass[] = L"TavrelStandInHost";
constexpr UINT kSaveCommand = 100;
constexpr UINT kExitCommand = 101;
constexpr UINT kUndoCommand = 200;
constexpr UINT kFirstPluginCommand = 1000;

}  // namespace

HostProgram::HostProgram() = default;

HostProgram::~HostProgram() { UnloadPlugins(); }

bool HostProgram::Start(const std::wstring& pluginFolder, const std::string& scorePath, std::string* error) {
  headless::HeadlessHost& host = headless::HeadlessHost::Instance();
  host.Reset();
  host.Install();
  host.CallLog().SetEnabled(false);
  host.Environment().SetPluginFolder(headless::Utf8Of(pluginFolder));
  if (!LoadScore(scorePath, error)) return false;
  if (!CreateMainWindow()) {
    if (error) *error = "the main window cannot be made";
    return false;
  }
  LoadPlugins(pluginFolder);
  SetMenu(mainWindow_, BuildMenu());
  ShowWindow(mainWindow_, SW_SHOWNORMAL);
  return true;
}

bool HostProgram::LoadScore(const std::string& path, std::string* error) {
  scorePath_ = path;
  builder_ = std::make_unique<headless::ScoreBuilder>(headless::HeadlessHost::Instance());
  if (!ParseSource(&document_, error)) return false;
  if (!musicxml::MusicXmlImporter(builder_.get()).Import(&document_, &imported_, error)) return false;
  headless::HeadlessHost::Instance().Selection().SelectAll();
  return true;
}

bool HostProgram::ParseSource(musicxml::MusicXmlDocument* document, std::string* error) const {
  if (scorePath_.empty()) return document->Parse(BuiltinScoreText(), "built-in score", error);
  return document->Load(scorePath_, error);
}

bool HostProgram::CreateMainWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &HostProgram::WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);
  std::wstring title =
      L"Tavrel - " + (scorePath_.empty() ? std::wstring(L"built-in score") : headless::WideOf(scorePath_));
  mainWindow_ = CreateWindowExW(0, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 900, 700, nullptr, nullptr,
                                GetModuleHandleW(nullptr), this);
  if (!mainWindow_) return false;
  headless::host_dialogs::SetHostWindow(mainWindow_);
  return true;
}

void HostProgram::LoadPlugins(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*.dll").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    auto plugin = std::make_unique<PluginModule>();
    std::string error;
    if (!plugin->Load(folder + L"\\" + found.cFileName, &error)) {
      ReportError(error);
      continue;
    }
    if (!plugin->Start(headless::HeadlessHost::Instance().HostVersion())) continue;
    for (size_t entry = 0; entry < plugin->Entries().size(); ++entry) menuEntries_.emplace_back(plugins_.size(), entry);
    plugins_.push_back(std::move(plugin));
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

HMENU HostProgram::BuildMenu() const {
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kSaveCommand, L"&Save");
  AppendMenuW(file, MF_STRING, kExitCommand, L"E&xit");
  HMENU edit = CreatePopupMenu();
  AppendMenuW(edit, MF_STRING, kUndoCommand, L"&Undo");
  HMENU pluginMenu = CreatePopupMenu();
  for (size_t item = 0; item < menuEntries_.size(); ++item) {
    const PluginMenuEntry& entry = plugins_[menuEntries_[item].first]->Entries()[menuEntries_[item].second];
    AppendMenuW(pluginMenu, MF_STRING, kFirstPluginCommand + item, headless::WideOf(entry.text).c_str());
  }
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(pluginMenu), L"&Plug-ins");
  return bar;
}

bool HostProgram::InvokeEntry(size_t position) {
  if (position >= menuEntries_.size()) return false;
  PluginModule& plugin = *plugins_[menuEntries_[position].first];
  if (!plugin.IsEnabled()) return false;
  plugin.Invoke(mainWindow_);
  return true;
}

bool HostProgram::Save(const std::string& path, std::string* error) {
  std::string target = path.empty() ? scorePath_ : path;
  if (target.empty()) {
    if (error) *error = "the built-in score has no file; give one to save to";
    return false;
  }
  // The accidentals the document shows now go into a fresh copy of the file.
  musicxml::MusicXmlDocument document;
  musicxml::ImportedScore imported = imported_;
  if (!ParseSource(&document, error)) return false;
  if (!imported.MoveToDocument(document_.Score(), document.Score())) {
    if (error) *error = "the score file changed since it was opened";
    return false;
  }
  std::vector<std::string> warnings;
  musicxml::MusicXmlExporter::WriteChangedAccidentals(builder_.get(), imported, &document, &warnings);
  return document.Save(target, error);
}

bool HostProgram::Undo() {
  bool undone = headless::HeadlessHost::Instance().Edits().Undo();
  if (mainWindow_) InvalidateRect(mainWindow_, nullptr, TRUE);
  return undone;
}

void HostProgram::UnloadPlugins() {
  for (auto& plugin : plugins_) plugin->Terminate();
  plugins_.clear();
  menuEntries_.clear();
}

void HostProgram::Quit() {
  UnloadPlugins();
  if (mainWindow_) DestroyWindow(mainWindow_);
}

void HostProgram::ReportError(const std::string& text) const {
  MessageBoxW(mainWindow_, headless::WideOf(text).c_str(), L"Tavrel", MB_ICONERROR | MB_OK);
}

int HostProgram::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    wchar_t className[16] = {0};
    if (root) GetClassNameW(root, className, 16);
    // Keyboard navigation in the plug-ins' modeless dialogs.
    if (root && lstrcmpW(className, L"#32770") == 0 && IsDialogMessageW(root, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

LRESULT CALLBACK HostProgram::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* program = reinterpret_cast<HostProgram*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!program) return DefWindowProcW(window, message, wParam, lParam);
  try {
    if (message == WM_NCDESTROY) program->mainWindow_ = nullptr;
    LRESULT answer = program->HandleMessage(message, wParam, lParam);
    return answer >= 0 ? answer : DefWindowProcW(window, message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

// -1: not handled here.
LRESULT HostProgram::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND: {
      UINT command = LOWORD(wParam);
      std::string error;
      if (command == kSaveCommand && !Save(std::string(), &error)) ReportError(error);
      if (command == kExitCommand) Quit();
      if (command == kUndoCommand) Undo();
      if (command >= kFirstPluginCommand) InvokeEntry(command - kFirstPluginCommand);
      return 0;
    }
    case WM_ENABLE:
      // A modal dialog or message box came or went: the plug-ins' modeless
      // dialogs follow the main window's enabled state.
      headless::host_dialogs::AnnounceEnabledState();
      return 0;
    case WM_CLOSE:
      Quit();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return -1;
  }
}

}  // namespace tavrel
