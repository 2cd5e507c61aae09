// Files of the plug-in in the host's plug-in folder, and the text form of them
// that holds one line per setting.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/tc_base.h"
#include "framework/tc_string.h"
#include "settings/plugin_folder.h"

class TCStrings;

class __TCBaseStream : public __TCBase {
 public:
  const char* ClassName() const override { return "__TCBaseStream"; }
};

class TCFileStream : public __TCBaseStream {
 public:
  // folderBuffer: kPluginFolderBufferSize bytes as the host returned them
  // (null stands for an empty folder).
  TCFileStream(const uint8_t* folderBuffer, const TCString* fileName);
  ~TCFileStream() override;

  const char* ClassName() const override { return "TCFileStream"; }
  virtual bool OpenRead() = 0;
  virtual bool OpenWrite() = 0;

  // Opens folder + "\" + file name with a C library mode; a file still open is
  // closed first. False when the folder is empty, the path does not fit in
  // 8-bit text, or the file does not open.
  bool Open(const char* mode);
  // False when closing reported an error (data not written).
  bool Close();
  FILE* GetFile() const { return file_; }
  bool IsOpen() const { return file_ != nullptr; }
  bool BuildPath(std::string* path) const;

 private:
  uint8_t folderBuffer_[kPluginFolderBufferSize];
  TCString fileName_;
  FILE* file_ = nullptr;
};

// Lines of 8-bit text, one byte per character. A line ends at LF, at CR, or
// at CR LF, so files written on Windows read the same whether or not the C
// library translated their line ends. Files are read as bytes: in Windows
// text mode a stray byte 0x1A would end the read early without a word.
class TCTextFileStream : public TCFileStream {
 public:
  TCTextFileStream(const uint8_t* folderBuffer, const TCString* fileName);

  const char* ClassName() const override { return "TCTextFileStream"; }
  bool OpenRead() override;   // mode "rb"
  bool OpenWrite() override;  // mode "w+": created or emptied
  // The next line without its line end, owned by the caller; null at the end
  // of the file, when no file is open, or once a read has failed.
  virtual TCString* ReadLine();

  // Every remaining line in order, each trimmed of line breaks; owned by the
  // caller. Null when no file is open or a read failed before the end.
  TCStrings* ReadAllLines();
  // True when the C library reported an error while reading: what was read
  // is not the whole file.
  bool ReadFailed() const { return readFailed_; }
  // True when the last OpenRead failed because there is no such file.
  bool IsMissing() const { return missing_; }

 private:
  int ReadByte();
  void SkipLineFeedAfterCarriageReturn();

  bool readFailed_ = false;
  bool missing_ = false;
};
