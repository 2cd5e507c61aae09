// TAVREL.EXE [--plugins FOLDER] [--script FILE] [--log FILE] [SCORE.musicxml]
//
// Without --plugins the plug-in folder is "Plug-ins" beside the program.
// Without --script the program waits for a person; with it, it runs the
// script's steps and ends (exit status 0 when every step worked, 1 when one
// failed, 2 when it could not start).
#include <windows.h>
// CommandLineToArgvW; it needs the Windows types first.
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>

#include "headless/window_access.h"
#include "tavrel/host_program.h"
#include "tavrel/host_script.h"

namespace {

struct Arguments {
  std::wstring pluginFolder;
  std::string script;
  std::string log;
  std::string score;
};

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {0};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : folder.substr(0, slash);
}

bool ReadArguments(Arguments* arguments) {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!words) return false;
  bool ok = true;
  for (int index = 1; index < count && ok; ++index) {
    std::wstring word = words[index];
    bool hasValue = index + 1 < count;
    if (word == L"--plugins" && hasValue) {
      arguments->pluginFolder = words[++index];
    } else if (word == L"--script" && hasValue) {
      arguments->script = headless::Utf8Of(words[++index]);
    } else if (word == L"--log" && hasValue) {
      arguments->log = headless::Utf8Of(words[++index]);
    } else if (!word.empty() && word[0] != L'-' && arguments->score.empty()) {
      arguments->score = headless::Utf8Of(word);
    } else {
      ok = false;
    }
  }
  LocalFree(words);
  if (arguments->pluginFolder.empty()) arguments->pluginFolder = ProgramFolder() + L"\\Plug-ins";
  return ok;
}

int RunProgram() {
  Arguments arguments;
  if (!ReadArguments(&arguments)) {
    std::fprintf(stderr, "usage: TAVREL.EXE [--plugins FOLDER] [--script FILE] [--log FILE] [SCORE.musicxml]\n");
    return 2;
  }
  tavrel::HostProgram program;
  std::unique_ptr<tavrel::HostScript> script;
  if (!arguments.script.empty()) {
    script = std::make_unique<tavrel::HostScript>(&program, arguments.log);
    std::string error;
    if (!script->LoadFile(arguments.script, &error)) {
      std::fprintf(stderr, "TAVREL.EXE: %s\n", error.c_str());
      return 2;
    }
  }
  std::string error;
  if (!program.Start(arguments.pluginFolder, arguments.score, &error)) {
    std::fprintf(stderr, "TAVREL.EXE: %s\n", error.c_str());
    return 2;
  }
  if (script) script->Start();
  program.Run();
  return script && script->Failed() ? 1 : 0;
}

}  // namespace

int main() {
  try {
    return RunProgram();
  } catch (...) {
    return 2;
  }
}
